#include "domain/TableType.h"

namespace kv::domain {

std::optional<TableType> tableTypeFromCode(int storedCode)
{
    if ((storedCode >= typeCode(TableType::Machine) && storedCode <= typeCode(TableType::Subcontract))
        || storedCode == typeCode(TableType::Transport))
        return static_cast<TableType>(storedCode);
    return std::nullopt;
}

bool isMaterialType(int storedCode)
{
    return storedCode >= typeCode(TableType::Ink) && storedCode <= typeCode(TableType::Subcontract);
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

} // namespace kv::domain
