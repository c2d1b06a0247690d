#pragma once

#include <QString>

namespace isd {

// The chip's two 16-bit configuration registers.
enum class Register { CFG0, CFG1 };

constexpr int kBitsPerRegister = 16;
constexpr Register kRegisters[] = {Register::CFG0, Register::CFG1};

QString registerName(Register reg);

// Every register bit is shown by one bit cell, a label numbered so that the
// numbers rise from D15 (left) to D0 (right): Label3..Label18 for CFG0 and
// Label19..Label34 for CFG1.
constexpr int cellLabelNumber(Register reg, int bit)
{
    return (reg == Register::CFG0 ? 18 : 34) - bit;
}

// The label name of the cell of a bit, e.g. "Label5" for CFG0 D13.
QString cellName(Register reg, int bit);

} // namespace isd
