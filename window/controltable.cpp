#include "window/controltable.h"

#include "model/registerheader.h"

#include <QCoreApplication>
#include <algorithm>
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

// The cells are numbered so that the numbers rise from D15 (left) to D0
// (right): Label3..Label18 for CFG0 and Label19..Label34 for CFG1. A cell's
// tab index is its number.
int cellNumber(Register reg, int bit)
{
    return (reg == Register::CFG0 ? 18 : 34) - bit;
}

ControlSpec labelRow(const char *name, ControlKind kind, int left, int top, int width, int height,
                     int tabIndex, const QString &text, Register reg = Register::CFG0)
{
    ControlSpec c{name, kind, Container::Window, left, top, width, height, tabIndex, text};
    c.reg = reg;
    return c;
}

ControlSpec checkBoxRow(const char *name, FieldId field, int left, int top, int height, int tabIndex,
                        bool checked)
{
    ControlSpec c{name, ControlKind::CheckBox, Container::Picture, left, top, 255, height, tabIndex, {}, checked};
    c.field = field;
    return c;
}

ControlSpec listRow(const char *name, FieldId field, int left, int top, int width, int tabIndex,
                    const QStringList &items)
{
    ControlSpec c{name, ControlKind::List, Container::Picture, left, top, width, kListHeight, tabIndex,
                  items.first(), false, items};
    c.field = field;
    return c;
}

std::vector<ControlSpec> makeControlTable()
{
    using K = ControlKind;
    using R = Register;
    using F = FieldId;
    std::vector<ControlSpec> t = {
        labelRow("Label1", K::Header, 0, 0, 11895, 375, 0, registerHeader(R::CFG0), R::CFG0),
        labelRow("Label2", K::Header, 0, 840, 12015, 375, 1, registerHeader(R::CFG1), R::CFG1),
        labelRow("Label35", K::Word, 10920, 480, 615, 255, 35, "0x0000", R::CFG0),
        labelRow("Label36", K::Word, 10920, 1320, 615, 255, 36, "0x0000", R::CFG1),
        labelRow("Label37", K::Link, 11760, 120, 3615, 375, 56, linkText()),
        {"Picture1", K::Picture, Container::Window, 0, 1560, 15225, 9555, 2, {}},

        checkBoxRow("Check1", F::AGPD, 1560, 1920, 195, 37, true),
        checkBoxRow("Check2", F::AXPD, 1920, 3240, 195, 39, true),
        checkBoxRow("Check3", F::AIPD, 1920, 5880, 255, 40, true),
        checkBoxRow("Check4", F::INS0, 2400, 2520, 255, 42, false),
        checkBoxRow("Check5", F::FLS0, 6600, 2280, 195, 45, false),
        checkBoxRow("Check6", F::FLPD, 7320, 2160, 255, 48, true),
        checkBoxRow("Check7", F::VLPD, 7440, 6840, 255, 50, true),
        checkBoxRow("Check8", F::AOPD, 12120, 2400, 255, 54, true),

        listRow("Combo1", F::AXG, 1080, 3840, 855, 38, {"1.0", "1.41", "2.0", "2.82"}),
        listRow("Combo2", F::AIG, 1080, 6480, 855, 41, {"0.625", "0.883", "1.250", "1.767"}),
        listRow("Combo3", F::S1S, 3480, 3240, 975, 43, {"ANA IN", "ARRAY", "FILTO"}),
        listRow("Combo4", F::S1M, 4200, 2160, 1335, 44, {"SUM1 & INP", "SUM1", "INP", "Выкл"}),
        listRow("Combo5", F::VLS, 6240, 6960, 975, 46, {"ANA IN", "SUM2", "SUM1", "INP"}),
        listRow("Combo6", F::FLD, 6240, 3960, 1095, 47, {"8кГц", "6,4кГц", "5,3кГц", "4кГц"}),
        listRow("Combo7", F::S2M, 8640, 2880, 1335, 49, {"ANA & FILTO", "ANA IN", "FILTO", "Выкл"}),
        listRow("Combo8", F::VOL, 7800, 6840, 975, 51,
                {"0-дб", "4-дб", "8-дб", "12-дб", "16-дб", "20-дб", "24-дб", "28-дб"}),
        listRow("Combo9", F::AOS, 10800, 2520, 1095, 52, {"FTHRU", "INP", "VOL", "FILTO", "SUM1", "SUM2"}),
        listRow("Combo10", F::OPS, 10920, 6000, 975, 53, {"VOL", "ANA IN", "FILTO", "SUM2"}),
        listRow("Combo11", F::OPA, 12120, 6720, 1575, 55, {"Выкл", "SP/3,6V/150ом", "SP/23,5mW/8ом", "AUX OUT"}),
    };

    // The bit cells: CFG0 at top 480, CFG1 at top 1320.
    for (Register reg : kRegisters) {
        const int top = reg == R::CFG0 ? 480 : 1320;
        for (int i = 0; i < kBitsPerRegister; ++i) {
            const int bit = kBitsPerRegister - 1 - i;
            const int number = cellNumber(reg, bit);
            ControlSpec cell{QStringLiteral("Label%1").arg(number), K::Cell, Container::Window,
                             kCellLefts[size_t(i)], top, kCellWidth, kCellHeight, number, QStringLiteral("0")};
            cell.reg = reg;
            cell.bit = bit;
            t.push_back(cell);
        }
    }
    return t;
}

template <typename Pred>
const ControlSpec &find(Pred pred)
{
    const std::vector<ControlSpec> &t = controlTable();
    const auto it = std::find_if(t.begin(), t.end(), pred);
    if (it == t.end())
        throw std::out_of_range("no such control");
    return *it;
}

} // namespace

const std::vector<ControlSpec> &controlTable()
{
    static const std::vector<ControlSpec> table = makeControlTable();
    return table;
}

const ControlSpec &cellControl(Register reg, int bit)
{
    return find([&](const ControlSpec &c) { return c.kind == ControlKind::Cell && c.reg == reg && c.bit == bit; });
}

const ControlSpec &wordControl(Register reg)
{
    return find([&](const ControlSpec &c) { return c.kind == ControlKind::Word && c.reg == reg; });
}

const ControlSpec &fieldControl(FieldId field)
{
    return find([&](const ControlSpec &c) {
        return (c.kind == ControlKind::CheckBox || c.kind == ControlKind::List) && c.field == field;
    });
}

QString linkText()
{
    return QCoreApplication::translate("isd::ControlTable", "ISD5116 register composer");
}

} // namespace isd
