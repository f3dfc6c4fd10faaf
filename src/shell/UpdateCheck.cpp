#include "shell/UpdateCheck.h"

namespace kv::shell {

QString UpdateCheck::infoFileFor(const QString& workstationType)
{
    return workstationType == QLatin1String("S") ? QStringLiteral("UKavorimetas.txt")
                                                 : QStringLiteral("UKavorimetas_MP.txt");
}

} // namespace kv::shell
