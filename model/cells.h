#pragma once

#include <QString>
#include <QStringList>
#include <cstdint>

namespace isd {

// The text a bit cell is written with: "0" or "1", nothing else.
QString cellText(int bit);

// A cell's text read as a number: its leading decimal digits (after any
// blanks), and 0 for text that does not begin with a number.
int cellValue(const QString &text);

// The value of a register from its 16 cell texts, D15 first: each cell's
// value weighted by 2^k for bit Dk.
std::int64_t wordValue(const QStringList &cellTextsHighFirst);

// A register word as the window shows it: upper-case hexadecimal, no
// prefix, no leading zeros ("0", "A4", "8000", "FFFF").
QString wordText(std::int64_t value);

} // namespace isd
