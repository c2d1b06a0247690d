#include "model/fields.h"

#include <stdexcept>

namespace isd {

const std::vector<Field> &fields()
{
    using R = Register;
    using S = BitSense;
    static const std::vector<Field> table = {
        {FieldId::AIG,  "AIG",  R::CFG0, 15, 2, "Combo2",  S::NotABox,   "gain of the ANA IN amplifier", nullptr},
        {FieldId::AIPD, "AIPD", R::CFG0, 13, 1, "Check3",  S::PowerDown, "ANA IN amplifier power", "powered down"},
        {FieldId::AXG,  "AXG",  R::CFG0, 12, 2, "Combo1",  S::NotABox,   "gain of the AUX IN amplifier", nullptr},
        {FieldId::AXPD, "AXPD", R::CFG0, 10, 1, "Check2",  S::PowerDown, "AUX IN amplifier power", "powered down"},
        {FieldId::INS0, "INS0", R::CFG0,  9, 1, "Check4",  S::FollowsBox, "input source", "AUX IN instead of MIC IN"},
        {FieldId::AOS,  "AOS",  R::CFG0,  8, 3, "Combo9",  S::NotABox,   "source of the analog output multiplexer", nullptr},
        {FieldId::AOPD, "AOPD", R::CFG0,  5, 1, "Check8",  S::PowerDown, "analog output amplifier power", "powered down"},
        {FieldId::OPS,  "OPS",  R::CFG0,  4, 2, "Combo10", S::NotABox,   "source of the output multiplexer", nullptr},
        {FieldId::OPA,  "OPA",  R::CFG0,  2, 2, "Combo11", S::NotABox,   "output amplifier: off, speaker or AUX OUT", nullptr},
        {FieldId::VLPD, "VLPD", R::CFG0,  0, 1, "Check7",  S::PowerDown, "volume control power", "powered down"},
        {FieldId::VLS,  "VLS",  R::CFG1, 15, 2, "Combo5",  S::NotABox,   "source of the volume multiplexer", nullptr},
        {FieldId::VOL,  "VOL",  R::CFG1, 13, 3, "Combo8",  S::NotABox,   "volume step", nullptr},
        {FieldId::S1S,  "S1S",  R::CFG1, 10, 2, "Combo3",  S::NotABox,   "source of the SUM1 multiplexer", nullptr},
        {FieldId::S1M,  "S1M",  R::CFG1,  8, 2, "Combo4",  S::NotABox,   "inputs mixed by the SUM1 amplifier", nullptr},
        {FieldId::S2M,  "S2M",  R::CFG1,  6, 2, "Combo7",  S::NotABox,   "inputs mixed by the SUM2 amplifier", nullptr},
        {FieldId::FLS0, "FLS0", R::CFG1,  4, 1, "Check5",  S::FollowsBox, "filter input", "ARRAY instead of SUM1"},
        {FieldId::FLD,  "FLD",  R::CFG1,  3, 2, "Combo6",  S::NotABox,   "frequency of the low-pass filter", nullptr},
        {FieldId::FLPD, "FLPD", R::CFG1,  1, 1, "Check6",  S::PowerDown, "low-pass filter power", "powered down"},
        {FieldId::AGPD, "AGPD", R::CFG1,  0, 1, "Check1",  S::PowerDown, "AGC amplifier power", "powered down"},
    };
    return table;
}

const Field &field(FieldId id)
{
    for (const Field &f : fields()) {
        if (f.id == id)
            return f;
    }
    throw std::out_of_range("unknown register field");
}

const Field *fieldEditedBy(const QString &control)
{
    for (const Field &f : fields()) {
        if (control == QLatin1String(f.editor))
            return &f;
    }
    return nullptr;
}

const Field &fieldOfBit(Register reg, int bit)
{
    for (const Field &f : fields()) {
        if (f.reg == reg && bit <= f.highBit && bit > f.highBit - f.width)
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
    return stem + QString::number(bit - (f.highBit - f.width + 1));
}

QString bitRange(const Field &f)
{
    const int lowBit = f.highBit - f.width + 1;
    if (f.width == 1)
        return QStringLiteral("D%1").arg(f.highBit);
    return QStringLiteral("D%1\u2013D%2").arg(f.highBit).arg(lowBit);
}

} // namespace isd
