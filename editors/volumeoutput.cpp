// The volume control and the output stage: the volume source, step and power,
// the sources of the two output multiplexers, and the output amplifiers.
#include "editors/editor.h"

namespace isd {

namespace {

EditorSet makeVolumeOutputEditors()
{
    // Combo5: the four source wires into the volume multiplexer.
    const SegmentList anaInToVolume{28, 56};
    const SegmentList sum2ToVolume{57, 58, 59, 60};
    const SegmentList sum1ToVolume{34, 36, 37, 38};
    const SegmentList inpToVolume{18, 21};

    // Check7: the volume control block, its input link and its output wire.
    const SegmentList volumeBlock{83, 84, 85, 86, 87, 88, 89};

    // Combo9: the six inputs of the analog output multiplexer.
    const SegmentList fthruToAnaOut{14, 15, 16};
    const SegmentList inpToAnaOut{22, 23, 24, 55};
    const SegmentList volToAnaOut{90, 91};
    const SegmentList filtoToAnaOut{92};
    const SegmentList sum1ToAnaOut{35};
    const SegmentList sum2ToAnaOut{93};

    // Check8: the analog output amplifier and the link into it.
    const SegmentList anaOutAmplifier{99, 100, 101, 102};

    // Combo10: the four inputs of the output multiplexer.
    const SegmentList volToOutput{94};
    const SegmentList anaInToOutput{95};
    const SegmentList filtoToOutput{96, 97};
    const SegmentList sum2ToOutput{98};

    // Combo11: the speaker amplifier and the AUX OUT amplifier with their wires.
    const SegmentList speaker{104, 105, 106, 107};
    const SegmentList auxOut{108, 109, 110, 111, 112};

    return {
        {
            {FieldId::VLPD, {}, volumeBlock},
            {FieldId::AOPD, {}, anaOutAmplifier},
        },
        {
            {FieldId::VLS,
             {anaInToVolume, sum2ToVolume, sum1ToVolume, inpToVolume}},
            // The volume step recolours nothing: eight steps, 4 dB apart.
            {FieldId::VOL, std::vector<SegmentList>(8)},
            {FieldId::AOS,
             {fthruToAnaOut, inpToAnaOut, volToAnaOut, filtoToAnaOut, sum1ToAnaOut, sum2ToAnaOut}},
            {FieldId::OPS,
             {volToOutput, anaInToOutput, filtoToOutput, sum2ToOutput}},
            {FieldId::OPA,
             {{},          // off
              speaker,     // speaker, 150 ohm load
              speaker,     // speaker, 8 ohm load
              auxOut}},
        },
    };
}

} // namespace

const EditorSet &volumeOutputEditors()
{
    static const EditorSet set = makeVolumeOutputEditors();
    return set;
}

} // namespace isd
