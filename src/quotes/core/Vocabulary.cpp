#include "quotes/core/Vocabulary.h"

namespace kv::quotes {

bool usesBothSheetFormats(TableType type)
{
    return type == TableType::Varnish || type == TableType::Glue || type == TableType::Board;
}

QString classTotalColumn(CostClass costClass, int quantity)
{
    QString prefix;
    switch (costClass) {
    case CostClass::None: return {};
    case CostClass::RawMaterial: prefix = QStringLiteral("VALMP"); break;
    case CostClass::Labour: prefix = QStringLiteral("VALMO"); break;
    case CostClass::Subsidiary: prefix = QStringLiteral("VALPS"); break;
    case CostClass::Machines: prefix = QStringLiteral("VALCM"); break;
    case CostClass::Packaging: prefix = QStringLiteral("VALEM"); break;
    case CostClass::Subcontract: prefix = QStringLiteral("VALSUB"); break;
    case CostClass::Transport: prefix = QStringLiteral("VALTR"); break;
    }
    return prefix + QString::number(quantity);
}

QString costClassLabel(CostClass costClass)
{
    switch (costClass) {
    case CostClass::None: return {};
    case CostClass::RawMaterial: return QStringLiteral("Matéria Prima : ");
    case CostClass::Labour: return QStringLiteral("Mão de Obra : ");
    case CostClass::Subsidiary: return QStringLiteral("Mat. Subs. : ");
    case CostClass::Machines: return QStringLiteral("Máquinas : ");
    case CostClass::Packaging: return QStringLiteral("Embalagem : ");
    case CostClass::Subcontract: return QStringLiteral("Subcontratos : ");
    case CostClass::Transport: return QStringLiteral("Transporte : ");
    }
    return {};
}

} // namespace kv::quotes
