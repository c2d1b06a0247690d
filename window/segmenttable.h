#pragma once

#include <QString>
#include <vector>

namespace isd {

constexpr int kSegmentCount = 112;

// The colours a diagram segment can show. Default is the window-text colour a
// segment has until its editor first runs; editors make a segment Highlight
// (pure red) when its path is in use and Idle (black) when it is not.
enum class SegmentColour { Default, Idle, Highlight };

// One straight segment laid over the diagram picture. End points are in
// twips in the picture box's inner coordinates (15 twips per pixel).
struct Segment {
    int number;               // N of LineN
    int x1, y1, x2, y2;       // twips
    int width;                // pixels: 2, or 1 for five thin segments
    SegmentColour initial;    // colour before any editor has run
};

// Line1..Line112 in number order: segments()[n - 1] is LineN.
const std::vector<Segment> &segments();
const Segment &segment(int number);

// "Line17" for 17.
QString segmentName(int number);

} // namespace isd
