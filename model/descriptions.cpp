#include "model/descriptions.h"

namespace isd {

namespace {

QString latin1(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

QString controlName(const Field &f)
{
    if (f.isCheckBox())
        return latin1(f.name);
    return QStringLiteral("%1, %2").arg(latin1(f.name), latin1(f.purpose));
}

QString controlDescription(const Field &f)
{
    const QString reg = registerName(f.reg);
    const QString bits = bitRange(f);
    switch (f.editedBy) {
    case EditedBy::PowerSwitch:
        return QStringLiteral("%1: checked means powered (%2 %3)").arg(latin1(f.purpose), reg, bits);
    case EditedBy::SelectBox:
        return QStringLiteral("%1: checked selects %2 (%3 %4)").arg(latin1(f.purpose), latin1(f.oneMeans), reg, bits);
    case EditedBy::List:
        break;
    }
    return QStringLiteral("%1: %2 (%3 %4)").arg(latin1(f.name), latin1(f.purpose), reg, bits);
}

QString cellAccessibleName(Register reg, int bit)
{
    return QStringLiteral("%1 D%2 %3").arg(registerName(reg)).arg(bit).arg(bitName(reg, bit));
}

QString cellSpokenName(Register reg, int bit, const QString &shown)
{
    return QStringLiteral("%1, %2 D%3: %4").arg(bitName(reg, bit), registerName(reg)).arg(bit).arg(shown);
}

QString cellDescription(Register reg, int bit)
{
    const Field &f = fieldOfBit(reg, bit);
    if (f.width == 1)
        return QStringLiteral("%1, %2: 1 means %3").arg(bitName(reg, bit), latin1(f.purpose), latin1(f.oneMeans));
    return QStringLiteral("%1, bit %2 of %3: %4").arg(bitName(reg, bit)).arg(bit - f.lowBit()).arg(latin1(f.name), latin1(f.purpose));
}

QString wordAccessibleName(Register reg)
{
    return QStringLiteral("%1 hexadecimal word").arg(registerName(reg));
}

QString wordSpokenName(Register reg, const QString &shown)
{
    return QStringLiteral("%1 hex %2").arg(registerName(reg), shown);
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
