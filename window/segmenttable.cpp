#include "window/segmenttable.h"

#include <iterator>
#include <stdexcept>
#include <string>

namespace isd {

namespace {

constexpr SegmentColour Highlight = SegmentColour::Highlight;
constexpr SegmentColour Idle = SegmentColour::Idle;
constexpr SegmentColour Default = SegmentColour::Default;

// The diagram's segments, Line1..Line112. Each row is
// {number, x1, y1, x2, y2 (twips), width (pixels), initial colour}; the
// comment names the wire or block edge of the picture that the segment
// retraces. Highlight rows are the paths in use with both registers at zero,
// Idle rows the paths not in use, Default rows keep the window-text colour
// until their editor first runs.
constexpr Segment kRows[] = {
    {  1,  1320, 1395,  1750, 1680, 2, Highlight}, // AGC amplifier, upper edge
    {  2,  1320, 1950,  1750, 1680, 2, Highlight}, // AGC amplifier, lower edge
    {  3,  1300, 1395,  1300, 1950, 2, Highlight}, // AGC amplifier, left edge
    {  4,   960, 2280,  2040, 3030, 2, Highlight}, // AUX IN amplifier, upper edge
    {  5,   960, 3840,  2040, 3050, 2, Highlight}, // AUX IN amplifier, lower edge
    {  6,   960, 2280,   960, 3840, 2, Highlight}, // AUX IN amplifier, left edge
    {  7,  1800, 1680,  2280, 1680, 2, Highlight}, // MIC IN wire, AGC output into the input source MUX
    {  8,   960, 4900,   960, 6480, 2, Highlight}, // ANA IN amplifier, left edge
    {  9,   960, 4900,  2040, 5660, 2, Highlight}, // ANA IN amplifier, upper edge
    { 10,  2040, 5640,   960, 6470, 2, Highlight}, // ANA IN amplifier, lower edge
    { 11,  2020, 3060,  2140, 3060, 2, Default},   // AUX IN wire, from the AUX IN amplifier output
    { 12,  2150, 2150,  2150, 3060, 2, Default},   // AUX IN wire, rising
    { 13,  2160, 2150,  2280, 2150, 2, Default},   // AUX IN wire, into the lower input of the input source MUX
    { 14,  1750,  300, 10750,  300, 2, Highlight}, // FTHRU wire, from the 6 dB amplifier along the top
    { 15, 10760,  280, 10770, 1000, 2, Highlight}, // FTHRU wire, descending
    { 16, 10770, 1000, 11520, 1000, 2, Highlight}, // FTHRU wire, into the FTHRU input
    { 17,  2595, 1920,  2880, 1920, 2, Highlight}, // INP wire, input source MUX to the INP branch point (two owners)
    { 18,  2880, 1920,  2895, 6345, 2, Idle},      // INP wire, descending from the INP branch point
    { 19,  3360, 1920,  3360, 1200, 2, Highlight}, // INP wire, rising
    { 20,  3360, 1220,  4560, 1220, 2, Highlight}, // INP wire, into the upper (INP) input
    { 21,  2880, 6360,  6600, 6360, 2, Idle},      // INP wire, into the volume multiplexer
    { 22,  2880,  460, 10620,  460, 2, Idle},      // INP wire, along the top
    { 23, 10620,  480, 10620, 1200, 2, Idle},      // INP wire, descending
    { 24, 10620, 1220, 11520, 1220, 2, Idle},      // INP wire, into the INP input
    { 25,  2040, 5655,  5280, 5655, 2, Highlight}, // ANA IN wire, amplifier output to the ANA IN branch point
    { 26,  2670, 2670,  2670, 5640, 2, Highlight}, // ANA IN wire, rising from the ANA IN wire
    { 27,  2640, 2670,  3840, 2670, 2, Highlight}, // ANA IN wire, into the SUM1 multiplexer
    { 28,  2670, 6580,  6600, 6580, 2, Highlight}, // ANA IN wire, into the volume multiplexer
    { 29,  5260, 5640,  5260, 2520, 2, Highlight}, // ANA IN wire, rising from the ANA IN branch point
    { 30,  8760, 2520,  5280, 2520, 2, Highlight}, // ANA IN wire, into the lower (ANA IN) input
    { 31,  5640, 1605,  6000, 1605, 2, Highlight}, // SUM1 output wire, from the apex
    { 32,  5960, 1640,  5960,  760, 2, Highlight}, // SUM1 output wire, rising
    { 33, 10440,  780,  5960,  780, 2, Highlight}, // SUM1 output wire, along the top
    { 34, 10460, 5820, 10480, 1680, 2, Idle},      // SUM1 wire, descending from the SUM1 output wire
    { 35, 11520, 1680, 10440, 1680, 2, Idle},      // SUM1 input stub
    { 36,  6120, 5820, 10440, 5820, 2, Idle},      // SUM1 wire, leftwards
    { 37,  6120, 5800,  6120, 6120, 2, Idle},      // SUM1 wire, descending
    { 38,  6600, 6120,  6120, 6120, 2, Idle},      // SUM1 wire, into the volume multiplexer
    { 39,  4040, 2680,  4200, 2680, 2, Highlight}, // SUM1 MUX wire, from the SUM1 multiplexer output
    { 40,  4200, 2640,  4200, 2000, 2, Highlight}, // SUM1 MUX wire, rising
    { 41,  4200, 2000,  4560, 2000, 2, Highlight}, // SUM1 MUX wire, into the lower input
    { 42,  6000, 1600,  6600, 1600, 2, Highlight}, // SUM1 wire into the filter multiplexer
    { 43,  5520, 1920,  6600, 1920, 2, Default},   // ARRAY wire, into the filter multiplexer
    { 44,  5490, 5360,  5490, 1920, 2, Default},   // ARRAY wire, rising from the array output wire
    { 45,  3840, 2980,  3120, 2980, 2, Default},   // ARRAY wire, into the SUM1 multiplexer
    { 46,  3120, 5360,  3120, 3000, 2, Default},   // ARRAY wire, rising
    { 47,  3120, 5360,  5520, 5360, 2, Default},   // ARRAY wire, from the array output wire
    { 48,  8160,  600,  3120,  600, 2, Default},   // FILTO wire, from the filter output wire along the top
    { 49,  3120, 2400,  3120,  600, 2, Default},   // FILTO wire, descending
    { 50,  3840, 2380,  3120, 2380, 2, Default},   // FILTO wire, into the SUM1 multiplexer
    { 51,  5520, 5360,  7560, 5360, 2, Highlight}, // array output wire, leftwards to the ARRAY branch point
    { 52,  7560, 5160,  7560, 5360, 2, Highlight}, // array output, down from the array output multiplexer
    { 53,  3360, 1920,  2880, 1920, 2, Highlight}, // INP wire, from the INP branch point
    { 54, 10480,  760, 10480, 1680, 2, Highlight}, // SUM1 output wire, down to the analog output MUX's SUM1 input
    { 55,  2890,  480,  2890, 1920, 2, Idle},      // INP wire, rising from the INP branch point
    { 56,  2660, 5640,  2660, 6600, 2, Highlight}, // ANA IN wire, descending from the ANA IN wire
    { 57,  6120, 6810,  6600, 6810, 2, Default},   // SUM2 wire, into the volume multiplexer
    { 58,  6120, 6800,  6120, 7280, 1, Default},   // SUM2 wire, rising
    { 59,  6120, 7280, 10620, 7280, 2, Default},   // SUM2 wire, leftwards
    { 60, 10620, 5200, 10620, 7260, 2, Default},   // SUM2 wire, descending from the SUM2 output wire
    { 61,  7940, 1760,  8120, 1760, 2, Highlight}, // FILTO wire, from the filter output
    { 62,  8120,  600,  8120, 1780, 2, Highlight}, // FILTO wire, rising
    { 63,  8160,  600, 10320,  600, 2, Highlight}, // FILTO wire, along the top
    { 64, 10320, 1440, 10320,  600, 2, Highlight}, // FILTO wire, down to the analog output MUX's FILTO input
    { 65,  7020, 1530,  7940, 1530, 2, Highlight}, // filter box, top
    { 66,  7020, 2000,  7940, 2000, 2, Highlight}, // filter box, bottom
    { 67,  7040, 1520,  7040, 2020, 1, Highlight}, // filter box, left side
    { 68,  7960, 1520,  7960, 2020, 2, Highlight}, // filter box, right side
    { 69,  4560,  840,  5640, 1590, 2, Highlight}, // SUM1 amplifier, upper edge
    { 70,  4560, 2160,  4560,  840, 2, Highlight}, // SUM1 amplifier, left edge
    { 71,  5640, 1600,  4920, 2120, 2, Highlight}, // SUM1 amplifier, lower edge (apex to short of the corner)
    { 72,  8720, 1760,  8120, 1760, 2, Highlight}, // FILTO wire into the upper input
    { 73,  8680, 1340,  9800, 2160, 2, Highlight}, // SUM2 amplifier, upper edge
    { 74,  8720, 1380,  8720, 2880, 2, Highlight}, // SUM2 amplifier, left edge
    { 75,  8760, 2860,  9800, 2120, 2, Highlight}, // SUM2 amplifier, lower edge
    { 76, 10660, 2140,  9820, 2140, 2, Highlight}, // SUM2 output wire, from the apex
    { 77, 10620, 5160, 10620, 2160, 2, Highlight}, // SUM2 output wire, down to the output MUX's SUM2 input
    { 78, 10000, 2160, 10000, 3200, 2, Highlight}, // SUM2 wire to the array, descending
    { 79,  5740, 3210, 10000, 3210, 2, Highlight}, // SUM2 wire to the array, leftwards
    { 80,  5730, 4440,  5730, 3240, 2, Highlight}, // SUM2 wire to the array, descending
    { 81,  6360, 4440,  5760, 4440, 2, Highlight}, // SUM2 wire into the array input MUX (SUM2 analog)
    { 82,  6800, 1760,  6990, 1760, 2, Highlight}, // filter multiplexer output into the low-pass filter
    { 83,  7320, 6240,  8400, 6240, 2, Highlight}, // volume control box, top
    { 84,  6960, 6450,  7320, 6450, 2, Highlight}, // volume multiplexer output into the volume control block
    { 85,  7340, 6700,  7340, 6220, 2, Highlight}, // volume control box, left side
    { 86,  8400, 6700,  7320, 6700, 2, Highlight}, // volume control box, bottom
    { 87,  8400, 6700,  8400, 6240, 2, Highlight}, // volume control box, right side
    { 88, 10780, 6420,  8400, 6420, 2, Highlight}, // VOL output wire, rightwards
    { 89, 10780, 5400, 10780, 6440, 2, Highlight}, // VOL output wire, rising to the volume branch point
    { 90, 11520, 1900, 10770, 1900, 2, Default},   // VOL wire, into the VOL input
    { 91, 10770, 1920, 10770, 5400, 2, Default},   // VOL wire, rising from the volume branch point
    { 92, 11520, 1440, 10300, 1440, 1, Default},   // FILTO input stub
    { 93, 11520, 2130, 10640, 2130, 2, Default},   // SUM2 input stub
    { 94, 11460, 5430, 10800, 5430, 2, Highlight}, // VOL input stub
    { 95, 11480, 5650,  5280, 5650, 2, Default},   // ANA IN wire, branch point into the output MUX's ANA IN input
    { 96, 11440, 4980, 10320, 4980, 2, Default},   // FILTO wire, into the FILTO input
    { 97, 10320, 4960, 10320, 1440, 2, Default},   // FILTO wire, descending from the FILTO wire
    { 98, 11460, 5200, 10640, 5200, 2, Default},   // SUM2 input stub
    { 99, 11860, 1560, 12120, 1560, 2, Highlight}, // analog output multiplexer output into the amplifier
    {100, 12150,  840, 12150, 2360, 2, Highlight}, // analog output amplifier, left edge
    {101, 12120,  800, 13200, 1560, 2, Highlight}, // analog output amplifier, upper edge
    {102, 13200, 1580, 12150, 2380, 2, Highlight}, // analog output amplifier, lower edge
    {103, 12000, 5780, 11760, 5780, 2, Highlight}, // output multiplexer output to the output branch point
    {104, 12360, 5780, 12000, 5780, 2, Default},   // output branch point into the speaker amplifier
    {105, 12360, 5040, 12360, 6560, 1, Default},   // speaker amplifier, left edge
    {106, 12360, 5000, 13440, 5760, 2, Default},   // speaker amplifier, upper edge
    {107, 13440, 5780, 12360, 6560, 2, Default},   // speaker amplifier, lower edge
    {108, 12000, 4000, 12000, 5760, 1, Default},   // wire rising from the output branch point
    {109, 12000, 4000, 12360, 4000, 2, Default},   // wire into the AUX OUT amplifier
    {110, 12370, 3240, 12370, 4800, 2, Default},   // AUX OUT amplifier, left edge
    {111, 12360, 4800, 13440, 4020, 2, Default},   // AUX OUT amplifier, lower edge
    {112, 12360, 3240, 13440, 4020, 2, Default},   // AUX OUT amplifier, upper edge
};

static_assert(static_cast<int>(std::size(kRows)) == kSegmentCount, "one row per diagram segment");

} // namespace

const std::vector<Segment> &segments()
{
    static const std::vector<Segment> table(std::begin(kRows), std::end(kRows));
    return table;
}

const Segment &segment(int number)
{
    if (number < 1 || number > kSegmentCount)
        throw std::out_of_range("no diagram segment Line" + std::to_string(number));
    return segments()[static_cast<std::size_t>(number - 1)];
}

QString segmentName(int number)
{
    return QStringLiteral("Line%1").arg(number);
}

} // namespace isd
