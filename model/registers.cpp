#include "model/registers.h"

namespace isd {

QString registerName(Register reg)
{
    return reg == Register::CFG0 ? QStringLiteral("CFG0") : QStringLiteral("CFG1");
}

} // namespace isd
