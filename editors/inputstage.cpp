// The input stage: the power switches of the AGC, AUX IN and ANA IN
// amplifiers, the input source, and the two input gains.
#include "editors/editor.h"

namespace isd {

namespace {

// Line17, the input source multiplexer's output wire, is in use while either
// amplifier that feeds the multiplexer (AGC or AUX IN) is powered.
constexpr SharedSegment kInputMuxOutput{17, {FieldId::AGPD, FieldId::AXPD}};

EditorSet makeInputStageEditors()
{
    return {
        {
            // AGC amplifier outline.
            {FieldId::AGPD, {}, {1, 2, 3}, &kInputMuxOutput},
            // AUX IN amplifier outline.
            {FieldId::AXPD, {}, {4, 5, 6}, &kInputMuxOutput},
            // ANA IN amplifier outline and its output wire.
            {FieldId::AIPD, {}, {8, 9, 10, 25}},
            // MIC IN wire, or the AUX IN wire, into the input source multiplexer.
            {FieldId::INS0, {7}, {11, 12, 13}},
        },
        {
            // The gains recolour nothing.
            {FieldId::AXG, std::vector<SegmentList>(4)},
            {FieldId::AIG, std::vector<SegmentList>(4)},
        },
    };
}

} // namespace

const EditorSet &inputStageEditors()
{
    static const EditorSet set = makeInputStageEditors();
    return set;
}

} // namespace isd
