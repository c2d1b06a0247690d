// The input stage: the power switches of the AGC, AUX IN and ANA IN
// amplifiers, the input source, and the two input gains.
#include "editors/editor.h"

namespace isd {

namespace {

// Line17, the input source multiplexer's output wire, is in use while either
// amplifier that feeds the multiplexer (AGC or AUX IN) is powered.
void inputMuxOutputStep(EditorTarget &target)
{
    const bool agcPowered = target.isChecked(QStringLiteral("Check1"));
    const bool auxPowered = target.isChecked(QStringLiteral("Check2"));
    target.setSegmentColour(17, agcPowered || auxPowered ? SegmentColour::Highlight
                                                         : SegmentColour::Idle);
}

EditorSet makeInputStageEditors()
{
    return {
        {
            // AGC amplifier outline.
            {FieldId::AGPD, {1, 2, 3}, {1, 2, 3}, {}, inputMuxOutputStep},
            // AUX IN amplifier outline.
            {FieldId::AXPD, {4, 5, 6}, {4, 5, 6}, {}, inputMuxOutputStep},
            // ANA IN amplifier outline and its output wire.
            {FieldId::AIPD, {8, 9, 10, 25}, {8, 9, 10, 25}, {}},
            // MIC IN wire, or the AUX IN wire, into the input source multiplexer.
            {FieldId::INS0, {7, 11, 12, 13}, {11, 12, 13}, {7}},
        },
        {
            // The gains recolour nothing.
            {FieldId::AXG, {}, {{}, {}, {}, {}}},
            {FieldId::AIG, {}, {{}, {}, {}, {}}},
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
