#include "model/descriptions.h"

namespace isd {

namespace {

QString where(const Field &f)
{
    return QStringLiteral(" (%1 %2)").arg(registerName(f.reg), bitRange(f));
}

} // namespace

QString controlName(const Field &f)
{
    return QString::fromLatin1(f.name);
}

QString controlDescription(const Field &f)
{
    const QString purpose = QString::fromLatin1(f.purpose);
    switch (f.sense) {
    case BitSense::PowerDown:
        return purpose + QStringLiteral(": checked means powered") + where(f);
    case BitSense::FollowsBox:
        return purpose + QStringLiteral(": checked selects ") + QString::fromLatin1(f.oneMeans) + where(f);
    case BitSense::NotABox:
        break;
    }
    return controlName(f) + QStringLiteral(": ") + purpose + where(f);
}

QString cellAccessibleName(Register reg, int bit)
{
    return QStringLiteral("%1 D%2 %3").arg(registerName(reg)).arg(bit).arg(bitName(reg, bit));
}

QString cellDescription(Register reg, int bit)
{
    const Field &f = fieldOfBit(reg, bit);
    const QString purpose = QString::fromLatin1(f.purpose);
    if (f.width == 1)
        return QStringLiteral("%1, %2: 1 means %3").arg(bitName(reg, bit), purpose, QString::fromLatin1(f.oneMeans));
    const int position = bit - (f.highBit - f.width + 1);
    return QStringLiteral("%1, bit %2 of %3: %4").arg(bitName(reg, bit)).arg(position).arg(controlName(f), purpose);
}

bool bitOfCell(int labelNumber, Register *reg, int *bit)
{
    for (Register r : kRegisters) {
        const int b = cellLabelNumber(r, 0) - labelNumber;
        if (b >= 0 && b < kBitsPerRegister) {
            *reg = r;
            *bit = b;
            return true;
        }
    }
    return false;
}

} // namespace isd
