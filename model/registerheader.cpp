#include "model/registerheader.h"

#include "model/fields.h"

#include <array>

namespace isd {

namespace {

// Spaces before each word: the register name, D15..D0, then the HEX column.
using Runs = std::array<int, kBitsPerRegister + 2>;

constexpr Runs kCfg0NameRuns{0, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 5, 10};
constexpr Runs kCfg1NameRuns{0, 5, 4, 4, 5, 5, 6, 5, 5, 5, 5, 5, 6, 7, 5, 6, 5, 10};
// The bit-number line has no first word: its first run leads D15.
constexpr std::array<int, kBitsPerRegister> kBitNumberRuns{15, 6, 7, 7, 8, 7, 8, 9, 10, 10, 10, 9, 11, 10, 10, 9};

QString spaces(int n)
{
    return QString(n, QLatin1Char(' '));
}

} // namespace

QString registerHeader(Register reg)
{
    const bool cfg0 = reg == Register::CFG0;
    const Runs &nameRuns = cfg0 ? kCfg0NameRuns : kCfg1NameRuns;

    QString names = registerName(reg);
    QString numbers;
    for (int i = 0; i < kBitsPerRegister; ++i) {
        const int bit = kBitsPerRegister - 1 - i;
        names += spaces(nameRuns[size_t(i) + 1]) + bitName(reg, bit);
        numbers += spaces(kBitNumberRuns[size_t(i)]) + QStringLiteral("D%1").arg(bit);
    }
    names += spaces(nameRuns.back()) + QStringLiteral("HEX");
    numbers += spaces(cfg0 ? 10 : 11) + QStringLiteral("D15-D0");
    return names + QLatin1Char('\n') + numbers;
}

} // namespace isd
