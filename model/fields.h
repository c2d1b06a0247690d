#pragma once

#include "model/registers.h"

#include <QString>
#include <vector>

namespace isd {

// The register fields, each set by exactly one control of the window.
enum class FieldId {
    AIG, AIPD, AXG, AXPD, INS0, AOS, AOPD, OPS, OPA, VLPD,
    VLS, VOL, S1S, S1M, S2M, FLS0, FLD, FLPD, AGPD,
};

// How a one-bit field follows its check box.
enum class BitSense {
    FollowsBox,  // checked writes 1 (the select bits INS0 and FLS0)
    PowerDown,   // checked means powered and writes 0
    NotABox,     // the field is set from a list
};

struct Field {
    FieldId id;
    const char *name;      // the chip's name: the single bit's, or the stem of several
    Register reg;
    int highBit;           // D-number of the most significant bit
    int width;             // number of bits
    const char *editor;    // objectName of the control that writes it
    BitSense sense;
    const char *purpose;   // what the field sets, in the chip's terms
    const char *oneMeans;  // one-bit fields: what the bit at 1 means
};

// All 19 fields, from CFG0 D15 down to CFG1 D0.
const std::vector<Field> &fields();
const Field &field(FieldId id);

// The field a control writes, or nullptr for a control that writes none.
const Field *fieldEditedBy(const QString &control);

// The field that holds a register bit, and the bit's own name ("AIG1", "AIPD").
const Field &fieldOfBit(Register reg, int bit);
QString bitName(Register reg, int bit);

// Bit range as the register headers write it: "D15–D14", or "D13" for one bit.
QString bitRange(const Field &f);

} // namespace isd
