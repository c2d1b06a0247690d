// The mixer and filter: the SUM1 multiplexer's source, the inputs of the SUM1
// and SUM2 amplifiers, and the low-pass filter's input, frequency and power.
#include "editors/editor.h"

namespace isd {

namespace {

EditorSet makeMixerFilterEditors()
{
    // Combo3: the three wires into the SUM1 multiplexer.
    const SegmentList anaInToSum1Mux{26, 27};
    const SegmentList arrayToSum1Mux{45, 46, 47};
    const SegmentList filtoToSum1Mux{48, 49, 50};

    // Combo4: the SUM1 amplifier, its two input wires and its output.
    const SegmentList sum1Output{31, 32, 33, 54};
    const SegmentList sum1MuxWire{39, 40, 41};
    const SegmentList inpToSum1{20, 53, 19};
    const SegmentList sum1Outline{69, 70, 71};

    // Combo7: the SUM2 amplifier, its output wires and its two input wires.
    const SegmentList sum2Outline{73, 74, 75};
    const SegmentList sum2Output{76, 77, 78, 79, 80, 81};
    const SegmentList filtoToSum2{72};
    const SegmentList anaInToSum2{29, 30};

    // Check5 and Check6: the filter's two inputs, its box and its output.
    const SegmentList sum1ToFilter{42};
    const SegmentList arrayToFilter{43, 44};
    const SegmentList filterOutput{61, 62, 63, 64};
    const SegmentList filterOutline{65, 66, 67, 68};

    return {
        {
            {FieldId::FLS0, sum1ToFilter, arrayToFilter},
            {FieldId::FLPD, {}, joined({filterOutput, filterOutline})},
        },
        {
            {FieldId::S1S,
             {anaInToSum1Mux,        // "ANA IN"
              arrayToSum1Mux,        // "ARRAY"
              filtoToSum1Mux}},      // "FILTO"
            {FieldId::S1M,
             {joined({sum1Output, sum1MuxWire, inpToSum1, sum1Outline}),   // "SUM1 & INP"
              joined({sum1Output, sum1MuxWire, sum1Outline}),              // "SUM1"
              joined({sum1Output, inpToSum1, sum1Outline}),                // "INP"
              {}}},                                                      // off
            {FieldId::S2M,
             {joined({sum2Outline, sum2Output, filtoToSum2, anaInToSum2}), // "ANA & FILTO"
              joined({sum2Outline, sum2Output, anaInToSum2}),              // "ANA IN"
              joined({sum2Outline, sum2Output, filtoToSum2}),              // "FILTO"
              {}}},                                                      // off
            // The filter frequency recolours nothing.
            {FieldId::FLD, std::vector<SegmentList>(4)},
        },
    };
}

} // namespace

const EditorSet &mixerFilterEditors()
{
    static const EditorSet set = makeMixerFilterEditors();
    return set;
}

} // namespace isd
