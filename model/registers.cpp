#include "model/registers.h"

namespace isd {

QString registerName(Register reg)
{
    return reg == Register::CFG0 ? QStringLiteral("CFG0") : QStringLiteral("CFG1");
}

QString cellName(Register reg, int bit)
{
    return QStringLiteral("Label%1").arg(cellLabelNumber(reg, bit));
}

} // namespace isd
