#pragma once

#include "model/registers.h"

#include <QString>

namespace isd {

// The two-line header above a register's cells: the register's name and the
// name of every bit, then the bit numbers, each word preceded by the run of
// spaces that lines it up, roughly, with its cell.
QString registerHeader(Register reg);

} // namespace isd
