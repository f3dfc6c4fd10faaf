#include "costing/core/MachineRules.h"

namespace kv::costing {

bool usesGlue(int type) { return type >= domain::typeCode(domain::MachineType::Gluing); }

bool validFactor(const QVariant& factor) { return !factor.isNull() && factor.toDouble() > 0.0; }

bool validColoursPerPass(const QVariant& type, const QVariant& colours)
{
    return !domain::isMachineType(type.toInt(), domain::MachineType::Printing)
           || (!colours.isNull() && colours.toInt() >= 1);
}

bool validProductionUnit(const QString& text) { return text == QLatin1String("U") || text == QLatin1String("M"); }

QString invalidMachineTypeMessage() { return QStringLiteral("Tipo de Máquina Inválida !!!"); }

QString productionUnitMessage() { return QStringLiteral("INSIRA A UNIDADE DE PRODUÇÃO - UND - MIL !!"); }

QString unknownCostCentreMessage() { return QStringLiteral("C.Custo Inexistente"); }

QString unknownGlueMessage() { return QStringLiteral("Código de Cola Inexistente"); }

QString invalidFactorMessage() { return QStringLiteral("Factor Inválido !!!"); }

QString invalidColoursMessage() { return QStringLiteral("Nº de Côres Inválido !!!"); }

CostCentres::CostCentres(std::shared_ptr<kv::db::Connection> accounting)
    : m_list(std::make_unique<kv::db::Dataset>(QStringLiteral("CCUSTO")))
{
    m_list->setConnection(std::move(accounting));
    m_list->setMode(kv::db::DatasetMode::ReadOnly);
    m_list->setSql(QStringLiteral("SELECT ANO, CODIGO, DESIGN FROM CCUSTO WHERE ANO = :WAno ORDER BY ANO, CODIGO"));
}

CostCentres::~CostCentres() = default;

void CostCentres::open(const QString& year)
{
    m_year = year;
    m_list->close();
    m_list->setParam(QStringLiteral("WAno"), year);
    m_list->open();
}

void CostCentres::close() { m_list->close(); }

bool CostCentres::isOpen() const { return m_list->isOpen(); }

std::optional<QString> CostCentres::name(const QString& code)
{
    if (!m_list->isOpen() || code.isEmpty())
        return std::nullopt;
    if (!m_list->locate({QStringLiteral("ANO"), QStringLiteral("CODIGO")}, {m_year, code}))
        return std::nullopt;
    return m_list->value(QStringLiteral("DESIGN")).toString();
}

} // namespace kv::costing
