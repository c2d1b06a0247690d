#pragma once

#include <QString>

namespace isd {

// The chip's two 16-bit configuration registers.
enum class Register { CFG0, CFG1 };

constexpr int kRegisterCount = 2;
constexpr int kBitsPerRegister = 16;
constexpr Register kRegisters[kRegisterCount] = {Register::CFG0, Register::CFG1};

QString registerName(Register reg);

} // namespace isd
