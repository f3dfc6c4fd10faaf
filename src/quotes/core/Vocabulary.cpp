#include "quotes/core/Vocabulary.h"

namespace kv::quotes {

bool tableTypeFromCode(int code, TableType& type)
{
    if ((code >= 1 && code <= 11) || code == 99) {
        type = static_cast<TableType>(code);
        return true;
    }
    return false;
}

QString tableName(TableType type)
{
    switch (type) {
    case TableType::Machine: return QStringLiteral("MAQUINAS");
    case TableType::Ink: return QStringLiteral("TINTAS");
    case TableType::Varnish: return QStringLiteral("VERNIZES");
    case TableType::Glue: return QStringLiteral("COLAS");
    case TableType::LaminatingFilm: return QStringLiteral("FILMEPLAS");
    case TableType::WindowPvc: return QStringLiteral("PVC");
    case TableType::Finish: return QStringLiteral("ACABAMENTO");
    case TableType::Board: return QStringLiteral("PAPEIS");
    case TableType::CuttingOperation: return QStringLiteral("OPERCORTE");
    case TableType::FixedCost: return QStringLiteral("CUSTFIXOS");
    case TableType::Subcontract: return QStringLiteral("SUBCONTRATO");
    case TableType::Transport: return QStringLiteral("CUSTRANSP");
    }
    return {};
}

bool usesBothSheetFormats(TableType type)
{
    return type == TableType::Varnish || type == TableType::Glue || type == TableType::Board;
}

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
