#include "domain/CostClass.h"

namespace kv::domain {

QString costClassCode(CostClass costClass)
{
    switch (costClass) {
    case CostClass::None: return {};
    case CostClass::RawMaterial: return QStringLiteral("MP");
    case CostClass::Labour: return QStringLiteral("MO");
    case CostClass::Subsidiary: return QStringLiteral("PS");
    case CostClass::Machines: return QStringLiteral("CM");
    case CostClass::Packaging: return QStringLiteral("EM");
    case CostClass::Subcontract: return QStringLiteral("SB");
    case CostClass::Transport: return QStringLiteral("TR");
    }
    return {};
}

CostClass costClassFromCode(const QString& code)
{
    for (CostClass c : kCostClasses)
        if (costClassCode(c) == code.trimmed())
            return c;
    return CostClass::None;
}

CostClass finishCostClass(const QString& finishCostType)
{
    return finishCostType == QLatin1String("1") ? CostClass::Labour : CostClass::Packaging;
}

} // namespace kv::domain
