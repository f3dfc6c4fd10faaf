#include "costing/core/ListStatement.h"

#include "costing/core/SqlName.h"

namespace kv::costing {

QString tableStatement(const QString& table, const QStringList& order)
{
    return QStringLiteral("Select * From %1 Order By %2").arg(sqlName(table), sqlNames(order).join(QLatin1Char(',')));
}

ListQuery articleRangeStatement(const QString& table, ListOrder order, const QString& from, const QString& to)
{
    ListQuery query;
    query.sql =
        QStringLiteral("Select * From %1 Where ARTIGO >= :ArtigoDe and ARTIGO <= :ArtigoAte Order By %2")
            .arg(sqlName(table), order == ListOrder::Numeric ? QStringLiteral("ARTIGO") : QStringLiteral("DESIGNACAO"));
    query.params.set(QStringLiteral("ArtigoDe"), from);
    query.params.set(QStringLiteral("ArtigoAte"), to);
    return query;
}

ListQuery orderStatement(const QString& table, ListOrder order, const QStringList& numericOrder,
                         const QStringList& alphabeticOrder)
{
    return {tableStatement(table, order == ListOrder::Numeric ? numericOrder : alphabeticOrder), {}};
}

QString orderText(ListOrder order)
{
    return order == ListOrder::Numeric ? QStringLiteral("Ord.Numérica") : QStringLiteral("Ord.Alfabética");
}

QString lastArticleCode() { return QString(16, QLatin1Char('Z')); }

} // namespace kv::costing
