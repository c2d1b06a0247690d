#pragma once

#include "model/registers.h"

#include <QString>
#include <array>

namespace isd {

// The register fields, each set by exactly one control of the window.
enum class FieldId {
    AIG, AIPD, AXG, AXPD, INS0, AOS, AOPD, OPS, OPA, VLPD,
    VLS, VOL, S1S, S1M, S2M, FLS0, FLD, FLPD, AGPD,
};
constexpr int kFieldCount = 19;

// The kind of control that sets a field, and so how the field's value is
// read from it.
enum class EditedBy {
    PowerSwitch,  // a check box: checked means powered, written as 0
    SelectBox,    // a check box: checked writes 1 (the select bits INS0 and FLS0)
    List,         // a list: the picked item's index is the value
};

struct Field {
    FieldId id;
    const char *name;      // the chip's name: the single bit's, or the stem of several
    Register reg;
    int highBit;           // D-number of the most significant bit
    int width;             // number of bits
    EditedBy editedBy;
    const char *purpose;   // what the field sets, in the chip's terms
    const char *oneMeans;  // one-bit fields: what the bit at 1 means

    constexpr int lowBit() const { return highBit - width + 1; }
    constexpr bool holds(Register r, int bit) const { return r == reg && bit >= lowBit() && bit <= highBit; }
    constexpr bool isCheckBox() const { return editedBy != EditedBy::List; }
};

// All 19 fields, from CFG0 D15 down to CFG1 D0; fields()[int(id)] is id's.
const std::array<Field, kFieldCount> &fields();
const Field &field(FieldId id);

// The field that holds a register bit, and the bit's own name ("AIG1", "AIPD").
const Field &fieldOfBit(Register reg, int bit);
QString bitName(Register reg, int bit);

// Bit range as the register headers write it: "D15–D14", or "D13" for one bit.
QString bitRange(const Field &f);

} // namespace isd
