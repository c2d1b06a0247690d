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
    switch (f.editedBy) {
    case EditedBy::PowerSwitch:
        return purpose + QStringLiteral(": checked means powered") + where(f);
    case EditedBy::SelectBox:
        return purpose + QStringLiteral(": checked selects ") + QString::fromLatin1(f.oneMeans) + where(f);
    case EditedBy::List:
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
    return QStringLiteral("%1, bit %2 of %3: %4").arg(bitName(reg, bit)).arg(bit - f.lowBit()).arg(controlName(f), purpose);
}

QString wordAccessibleName(Register reg)
{
    return QStringLiteral("%1 hexadecimal word").arg(registerName(reg));
}

QString wordDescription(Register reg)
{
    return QStringLiteral("%1 as a hexadecimal word, D15-D0").arg(registerName(reg));
}

QString headerAccessibleName(Register reg)
{
    return QStringLiteral("%1 register header").arg(registerName(reg));
}

QString headerDescription(Register reg)
{
    return QStringLiteral("Field names and bit numbers of %1, D15 to D0").arg(registerName(reg));
}

QString diagramAccessibleName()
{
    return QStringLiteral("Signal-path diagram");
}

QString diagramDescription()
{
    return QStringLiteral("Block diagram of the chip's analog path; paths in use are drawn in red");
}

} // namespace isd
