#include "model/descriptions.h"

#include <QCoreApplication>

namespace isd {

// Every text here that holds words goes through Qt's translation system, in
// the context "isd::Descriptions"; the chip's names (fields, registers, bit
// numbers) stay as they are in every language.

namespace {

QString name(const Field &f)
{
    return QString::fromLatin1(f.name);
}

QString purpose(const Field &f)
{
    return QCoreApplication::translate("isd::Field", f.purpose);
}

QString oneMeans(const Field &f)
{
    return QCoreApplication::translate("isd::Field", f.oneMeans);
}

} // namespace

QString controlName(const Field &f)
{
    if (f.isCheckBox())
        return name(f);
    return QStringLiteral("%1, %2").arg(name(f), purpose(f));
}

QString controlDescription(const Field &f)
{
    const QString reg = registerName(f.reg);
    const QString bits = bitRange(f);
    switch (f.editedBy) {
    case EditedBy::PowerSwitch:
        return QCoreApplication::translate("isd::Descriptions", "%1: checked means powered (%2 %3)")
            .arg(purpose(f), reg, bits);
    case EditedBy::SelectBox:
        return QCoreApplication::translate("isd::Descriptions", "%1: checked selects %2 (%3 %4)")
            .arg(purpose(f), oneMeans(f), reg, bits);
    case EditedBy::List:
        break;
    }
    return QStringLiteral("%1: %2 (%3 %4)").arg(name(f), purpose(f), reg, bits);
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
    if (f.width == 1) {
        return QCoreApplication::translate("isd::Descriptions", "%1, %2: 1 means %3")
            .arg(bitName(reg, bit), purpose(f), oneMeans(f));
    }
    return QCoreApplication::translate("isd::Descriptions", "%1, bit %2 of %3: %4")
        .arg(bitName(reg, bit))
        .arg(bit - f.lowBit())
        .arg(name(f), purpose(f));
}

QString wordAccessibleName(Register reg)
{
    return QCoreApplication::translate("isd::Descriptions", "%1 hexadecimal word").arg(registerName(reg));
}

QString wordSpokenName(Register reg, const QString &shown)
{
    return QCoreApplication::translate("isd::Descriptions", "%1 hex %2").arg(registerName(reg), shown);
}

QString wordDescription(Register reg)
{
    return QCoreApplication::translate("isd::Descriptions", "%1 as a hexadecimal word, D15-D0")
        .arg(registerName(reg));
}

QString headerAccessibleName(Register reg)
{
    return QCoreApplication::translate("isd::Descriptions", "%1 register header").arg(registerName(reg));
}

QString headerDescription(Register reg)
{
    return QCoreApplication::translate("isd::Descriptions", "Field names and bit numbers of %1, D15 to D0")
        .arg(registerName(reg));
}

QString diagramAccessibleName()
{
    return QCoreApplication::translate("isd::Descriptions", "Signal-path diagram");
}

QString diagramDescription()
{
    return QCoreApplication::translate("isd::Descriptions",
                                       "Block diagram of the chip's analog path; paths in use are drawn in red");
}

} // namespace isd
