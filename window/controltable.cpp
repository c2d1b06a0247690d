#include "window/controltable.h"

#include "model/registers.h"
#include "window/registerheader.h"

#include <array>
#include <stdexcept>

namespace isd {

namespace {

// Left edge of each bit column, D15 first; both registers share the columns.
constexpr std::array<int, kBitsPerRegister> kCellLefts{
    720, 1320, 1920, 2520, 3120, 3840, 4440, 5040, 5640, 6360, 6960, 7680, 8400, 9000, 9600, 10320};
constexpr int kCellWidth = 135;
constexpr int kCellHeight = 255;
constexpr int kListHeight = 315;

std::vector<ControlSpec> makeControlTable()
{
    using K = ControlKind;
    using C = Container;
    std::vector<ControlSpec> t = {
        {"Label1", K::Label, C::Window, 0, 0, 11895, 375, 0, registerHeader(Register::CFG0)},
        {"Label2", K::Label, C::Window, 0, 840, 12015, 375, 1, registerHeader(Register::CFG1)},
        {"Picture1", K::Picture, C::Window, 0, 1560, 15225, 9555, 2, {}},
        {"Label35", K::ValueLabel, C::Window, 10920, 480, 615, 255, 35, "0x0000"},
        {"Label36", K::ValueLabel, C::Window, 10920, 1320, 615, 255, 36, "0x0000"},
        {"Label37", K::LinkLabel, C::Window, 11760, 120, 3615, 375, 56, linkText()},

        {"Check1", K::CheckBox, C::Picture, 1560, 1920, 255, 195, 37, {}, true},
        {"Check2", K::CheckBox, C::Picture, 1920, 3240, 255, 195, 39, {}, true},
        {"Check3", K::CheckBox, C::Picture, 1920, 5880, 255, 255, 40, {}, true},
        {"Check4", K::CheckBox, C::Picture, 2400, 2520, 255, 255, 42, {}, false},
        {"Check5", K::CheckBox, C::Picture, 6600, 2280, 255, 195, 45, {}, false},
        {"Check6", K::CheckBox, C::Picture, 7320, 2160, 255, 255, 48, {}, true},
        {"Check7", K::CheckBox, C::Picture, 7440, 6840, 255, 255, 50, {}, true},
        {"Check8", K::CheckBox, C::Picture, 12120, 2400, 255, 255, 54, {}, true},
    };

    struct ListRow {
        const char *name;
        int left, top, width, tabIndex;
        QStringList items;
    };
    const ListRow lists[] = {
        {"Combo1", 1080, 3840, 855, 38, {"1.0", "1.41", "2.0", "2.82"}},
        {"Combo2", 1080, 6480, 855, 41, {"0.625", "0.883", "1.250", "1.767"}},
        {"Combo3", 3480, 3240, 975, 43, {"ANA IN", "ARRAY", "FILTO"}},
        {"Combo4", 4200, 2160, 1335, 44, {"SUM1 & INP", "SUM1", "INP", "Выкл"}},
        {"Combo5", 6240, 6960, 975, 46, {"ANA IN", "SUM2", "SUM1", "INP"}},
        {"Combo6", 6240, 3960, 1095, 47, {"8кГц", "6,4кГц", "5,3кГц", "4кГц"}},
        {"Combo7", 8640, 2880, 1335, 49, {"ANA & FILTO", "ANA IN", "FILTO", "Выкл"}},
        {"Combo8", 7800, 6840, 975, 51,
         {"0-дб", "4-дб", "8-дб", "12-дб", "16-дб", "20-дб", "24-дб", "28-дб"}},
        {"Combo9", 10800, 2520, 1095, 52, {"FTHRU", "INP", "VOL", "FILTO", "SUM1", "SUM2"}},
        {"Combo10", 10920, 6000, 975, 53, {"VOL", "ANA IN", "FILTO", "SUM2"}},
        {"Combo11", 12120, 6720, 1575, 55, {"Выкл", "SP/3,6V/150ом", "SP/23,5mW/8ом", "AUX OUT"}},
    };
    for (const ListRow &l : lists) {
        t.push_back({l.name, K::List, C::Picture, l.left, l.top, l.width, kListHeight, l.tabIndex,
                     l.items.first(), false, l.items});
    }

    // The bit cells: Label3..Label18 for CFG0 at top 480, Label19..Label34
    // for CFG1 at top 1320; a cell's tab index is its label number.
    for (Register reg : kRegisters) {
        const int top = reg == Register::CFG0 ? 480 : 1320;
        for (int i = 0; i < kBitsPerRegister; ++i) {
            const int bit = kBitsPerRegister - 1 - i;
            const int number = cellLabelNumber(reg, bit);
            t.push_back({cellName(reg, bit), K::ValueLabel, C::Window, kCellLefts[size_t(i)], top,
                         kCellWidth, kCellHeight, number, QStringLiteral("0")});
        }
    }
    return t;
}

} // namespace

const std::vector<ControlSpec> &controlTable()
{
    static const std::vector<ControlSpec> table = makeControlTable();
    return table;
}

const ControlSpec &control(const QString &name)
{
    for (const ControlSpec &c : controlTable()) {
        if (c.name == name)
            return c;
    }
    throw std::out_of_range("unknown control");
}

QString linkText()
{
    return QStringLiteral("ISD5116 register composer");
}

} // namespace isd
