#include "commercial/core/SalesObjectives.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QStringList>

namespace kv::commercial {

namespace {

std::size_t slot(int tier, int month)
{
    Q_ASSERT(tier >= 1 && tier <= ObjectiveTiers && month >= 1 && month <= ObjectiveMonths);
    return static_cast<std::size_t>((month - 1) * ObjectiveTiers + (tier - 1));
}

// The 96 pair columns in the table's order: month by month, tier by tier.
QStringList pairColumns()
{
    QStringList columns;
    for (int month = 1; month <= ObjectiveMonths; ++month)
        for (int tier = 1; tier <= ObjectiveTiers; ++tier)
            columns << objectiveValueColumn(tier, month) << objectiveRateColumn(tier, month);
    return columns;
}

bool hasValue(const ObjectiveTier& t) { return t.value && *t.value != 0.0; }

QVariant bound(const std::optional<double>& v) { return v ? QVariant(*v) : QVariant(); }
QVariant bound(const std::optional<qint64>& v) { return v ? QVariant(*v) : QVariant(); }

} // namespace

ObjectiveTier& ObjectiveRow::at(int tier, int month) { return tiers[slot(tier, month)]; }

const ObjectiveTier& ObjectiveRow::at(int tier, int month) const { return tiers[slot(tier, month)]; }

void ObjectiveRow::clearFrom(int tier, int month)
{
    for (int k = tier; k <= ObjectiveTiers; ++k)
        at(k, month) = ObjectiveTier{0.0, 0};
}

void ObjectiveRow::repeatMonth(int from, int to)
{
    for (int k = 1; k <= ObjectiveTiers; ++k)
        at(k, to) = at(k, from);
}

void ObjectiveRow::takePairs(const ObjectiveRow& other) { tiers = other.tiers; }

int followingMonth(int month) { return month % ObjectiveMonths + 1; }

QString objectiveValueColumn(int tier, int month) { return QStringLiteral("VAL%1MES%2").arg(tier).arg(month); }

QString objectiveRateColumn(int tier, int month) { return QStringLiteral("COM%1MES%2").arg(tier).arg(month); }

bool objectiveRises(const ObjectiveRow& row, int tier, int month)
{
    const double value = row.at(tier, month).value.value_or(0.0);
    const double below = tier > 1 ? row.at(tier - 1, month).value.value_or(0.0) : 0.0;
    return value > below;
}

QString ObjectiveFault::message() const
{
    switch (kind) {
    case Kind::NotRising: return QStringLiteral("O VALOR DO OBJECTIVO TERÁ DE SER SUPERIOR AO ANTERIOR");
    case Kind::NoRate: return QStringLiteral("Insira o Código de Comissão para este Objectivo de Vendas");
    case Kind::UnknownRate: return QStringLiteral("Código de Comissão Inexistente !!!");
    }
    return {};
}

std::optional<ObjectiveFault> firstObjectiveFault(const ObjectiveRow& row,
                                                  const std::function<bool(qint64)>& rateExists)
{
    for (int month = 1; month <= ObjectiveMonths; ++month) {
        std::optional<double> below;
        for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
            const ObjectiveTier& t = row.at(tier, month);
            if (!hasValue(t))
                continue;
            if (below && *t.value <= *below)
                return ObjectiveFault{ObjectiveFault::Kind::NotRising, tier, month};
            below = t.value;
            if (!t.rate || *t.rate == 0)
                return ObjectiveFault{ObjectiveFault::Kind::NoRate, tier, month};
            if (!rateExists(*t.rate))
                return ObjectiveFault{ObjectiveFault::Kind::UnknownRate, tier, month};
        }
    }
    return std::nullopt;
}

std::optional<ObjectiveRow> SalesObjectives::read(const QString& year, int salesman) const
{
    const kv::db::QueryResult rows =
        m_db->query(QStringLiteral("SELECT * FROM VNDQUOTAS WHERE ANO = :ANO AND CODIGO = :CODIGO"),
                    {{QStringLiteral("ANO"), year}, {QStringLiteral("CODIGO"), salesman}});
    if (rows.isEmpty())
        return std::nullopt;
    ObjectiveRow row;
    row.year = year;
    row.salesman = salesman;
    row.name = rows.value(0, QStringLiteral("NOME")).toString();
    for (int month = 1; month <= ObjectiveMonths; ++month)
        for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
            const QVariant value = rows.value(0, objectiveValueColumn(tier, month));
            const QVariant rate = rows.value(0, objectiveRateColumn(tier, month));
            ObjectiveTier& t = row.at(tier, month);
            if (!value.isNull())
                t.value = value.toDouble();
            if (!rate.isNull())
                t.rate = rate.toLongLong();
        }
    return row;
}

void SalesObjectives::save(const ObjectiveRow& row)
{
    const QStringList columns = pairColumns();
    kv::db::Params params{{QStringLiteral("ANO"), row.year},
                          {QStringLiteral("CODIGO"), row.salesman},
                          {QStringLiteral("NOME"), row.name}};
    QStringList assignments;
    for (int month = 1; month <= ObjectiveMonths; ++month)
        for (int tier = 1; tier <= ObjectiveTiers; ++tier) {
            params.set(objectiveValueColumn(tier, month), bound(row.at(tier, month).value));
            params.set(objectiveRateColumn(tier, month), bound(row.at(tier, month).rate));
        }
    for (const QString& column : columns)
        assignments << column + QStringLiteral(" = :") + column;
    kv::db::Transaction transaction(*m_db);
    const long long changed =
        m_db->exec(QStringLiteral("UPDATE VNDQUOTAS SET NOME = :NOME, %1 WHERE ANO = :ANO AND CODIGO = :CODIGO")
                       .arg(assignments.join(QStringLiteral(", "))),
                   params);
    if (changed == 0)
        m_db->exec(QStringLiteral("INSERT INTO VNDQUOTAS (ANO, CODIGO, NOME, %1) VALUES (:ANO, :CODIGO, :NOME, :%2)")
                       .arg(columns.join(QStringLiteral(", ")), columns.join(QStringLiteral(", :"))),
                   params);
    transaction.commit();
}

void SalesObjectives::remove(const QString& year, int salesman)
{
    kv::db::Transaction transaction(*m_db);
    m_db->exec(QStringLiteral("DELETE FROM VNDQUOTAS WHERE ANO = :ANO AND CODIGO = :CODIGO"),
               {{QStringLiteral("ANO"), year}, {QStringLiteral("CODIGO"), salesman}});
    transaction.commit();
}

std::unique_ptr<kv::db::Dataset> SalesObjectives::otherSalesmen(const QString& year, int salesman) const
{
    auto list = std::make_unique<kv::db::Dataset>(QStringLiteral("VNDQUOTA1"));
    list->setConnection(m_db);
    list->setMode(kv::db::DatasetMode::ReadOnly);
    list->setSql(QStringLiteral("SELECT CODIGO, NOME FROM VNDQUOTAS WHERE ANO = :WANO AND CODIGO <> :WComVendedor "
                                "ORDER BY ANO, CODIGO"));
    list->setParam(QStringLiteral("WANO"), year);
    list->setParam(QStringLiteral("WComVendedor"), salesman);
    list->open();
    return list;
}

} // namespace kv::commercial
