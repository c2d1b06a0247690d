#include "model/fields.h"

#include <stdexcept>

namespace isd {

namespace {

using R = Register;
using E = EditedBy;

// The purposes and meanings are translated where they are shown (see
// descriptions.cpp), in the context "isd::Field".
constexpr std::array<Field, kFieldCount> kFields{{
    {FieldId::AIG,  "AIG",  R::CFG0, 15, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "gain of the ANA IN amplifier"), nullptr},
    {FieldId::AIPD, "AIPD", R::CFG0, 13, 1, E::PowerSwitch,
     QT_TRANSLATE_NOOP("isd::Field", "ANA IN amplifier power"), QT_TRANSLATE_NOOP("isd::Field", "powered down")},
    {FieldId::AXG,  "AXG",  R::CFG0, 12, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "gain of the AUX IN amplifier"), nullptr},
    {FieldId::AXPD, "AXPD", R::CFG0, 10, 1, E::PowerSwitch,
     QT_TRANSLATE_NOOP("isd::Field", "AUX IN amplifier power"), QT_TRANSLATE_NOOP("isd::Field", "powered down")},
    {FieldId::INS0, "INS0", R::CFG0,  9, 1, E::SelectBox,
     QT_TRANSLATE_NOOP("isd::Field", "input source"), QT_TRANSLATE_NOOP("isd::Field", "AUX IN instead of MIC IN")},
    {FieldId::AOS,  "AOS",  R::CFG0,  8, 3, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "source of the analog output multiplexer"), nullptr},
    {FieldId::AOPD, "AOPD", R::CFG0,  5, 1, E::PowerSwitch,
     QT_TRANSLATE_NOOP("isd::Field", "analog output amplifier power"), QT_TRANSLATE_NOOP("isd::Field", "powered down")},
    {FieldId::OPS,  "OPS",  R::CFG0,  4, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "source of the output multiplexer"), nullptr},
    {FieldId::OPA,  "OPA",  R::CFG0,  2, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "output amplifier: off, speaker or AUX OUT"), nullptr},
    {FieldId::VLPD, "VLPD", R::CFG0,  0, 1, E::PowerSwitch,
     QT_TRANSLATE_NOOP("isd::Field", "volume control power"), QT_TRANSLATE_NOOP("isd::Field", "powered down")},
    {FieldId::VLS,  "VLS",  R::CFG1, 15, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "source of the volume multiplexer"), nullptr},
    {FieldId::VOL,  "VOL",  R::CFG1, 13, 3, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "volume step"), nullptr},
    {FieldId::S1S,  "S1S",  R::CFG1, 10, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "source of the SUM1 multiplexer"), nullptr},
    {FieldId::S1M,  "S1M",  R::CFG1,  8, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "inputs mixed by the SUM1 amplifier"), nullptr},
    {FieldId::S2M,  "S2M",  R::CFG1,  6, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "inputs mixed by the SUM2 amplifier"), nullptr},
    {FieldId::FLS0, "FLS0", R::CFG1,  4, 1, E::SelectBox,
     QT_TRANSLATE_NOOP("isd::Field", "filter input"), QT_TRANSLATE_NOOP("isd::Field", "ARRAY instead of SUM1")},
    {FieldId::FLD,  "FLD",  R::CFG1,  3, 2, E::List,
     QT_TRANSLATE_NOOP("isd::Field", "frequency of the low-pass filter"), nullptr},
    {FieldId::FLPD, "FLPD", R::CFG1,  1, 1, E::PowerSwitch,
     QT_TRANSLATE_NOOP("isd::Field", "low-pass filter power"), QT_TRANSLATE_NOOP("isd::Field", "powered down")},
    {FieldId::AGPD, "AGPD", R::CFG1,  0, 1, E::PowerSwitch,
     QT_TRANSLATE_NOOP("isd::Field", "AGC amplifier power"), QT_TRANSLATE_NOOP("isd::Field", "powered down")},
}};

// Every row sits at its id's place, every register bit lies in exactly one
// field, and a check box sets one bit.
constexpr bool wellFormed()
{
    for (int i = 0; i < kFieldCount; ++i) {
        const Field &f = kFields[size_t(i)];
        if (int(f.id) != i || f.lowBit() < 0 || f.highBit >= kBitsPerRegister || (f.isCheckBox() && f.width != 1))
            return false;
    }
    for (Register reg : kRegisters) {
        for (int bit = 0; bit < kBitsPerRegister; ++bit) {
            int holders = 0;
            for (const Field &f : kFields)
                holders += f.holds(reg, bit) ? 1 : 0;
            if (holders != 1)
                return false;
        }
    }
    return true;
}
static_assert(wellFormed(), "the field table must cover each register bit exactly once, in FieldId order");

} // namespace

const std::array<Field, kFieldCount> &fields()
{
    return kFields;
}

const Field &field(FieldId id)
{
    return kFields.at(size_t(id));
}

const Field &fieldOfBit(Register reg, int bit)
{
    for (const Field &f : kFields) {
        if (f.holds(reg, bit))
            return f;
    }
    throw std::out_of_range("register bit out of range");
}

QString bitName(Register reg, int bit)
{
    const Field &f = fieldOfBit(reg, bit);
    const QString stem = QString::fromLatin1(f.name);
    if (f.width == 1)
        return stem;
    return stem + QString::number(bit - f.lowBit());
}

QString bitRange(const Field &f)
{
    if (f.width == 1)
        return QStringLiteral("D%1").arg(f.highBit);
    return QStringLiteral("D%1\u2013D%2").arg(f.highBit).arg(f.lowBit());
}

} // namespace isd
