#include "production/core/ConsumptionForecast.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "production/core/StockMapRows.h"

namespace kv::production {
namespace {

// The lines of the range that are materials: the article's total and its
// first line's designation in order-number order, one row per article as the
// text collation tells articles apart (a function's result loses the
// column's collation on SQLite, so it is named again).
QString forecastArticlesSql(kv::db::Dialect dialect)
{
    const QString article = QStringLiteral("COALESCE(ARTIGO, '') COLLATE %1").arg(kv::db::sql::textCollation(dialect));
    return QStringLiteral("SELECT ARTIGO, DESIGN, TOTAL, ULTIMA FROM ("
                          " SELECT COALESCE(ARTIGO, '') AS ARTIGO, DESIGN,"
                          "  SUM(COALESCE(CONSUMO, 0)) OVER (PARTITION BY %1) AS TOTAL,"
                          "  ROW_NUMBER() OVER (PARTITION BY %1"
                          "                     ORDER BY CODIGO, SUBCODIGO, ANO, ENCDETAIL, DETAIL) AS N,"
                          "  MAX(CODIGO) OVER () AS ULTIMA"
                          " FROM ORCCONSUMOS"
                          " WHERE DATAENT >= :DE1 AND DATAENT < :DE2"
                          "   AND COALESCE(TIPOTABELA, 0) NOT IN (1, 7, 9, 10)) W"
                          " WHERE N = 1")
        .arg(article);
}

} // namespace

ConsumptionForecast::ConsumptionForecast(kv::db::Connection& application, kv::db::Connection& invoicing)
    : m_application(application), m_invoicing(invoicing)
{
}

ConsumptionForecast::Outcome ConsumptionForecast::build(const QString& user, const QDate& first, const QDate& last,
                                                        const Progress& progress)
{
    const kv::db::Params range{{QStringLiteral("DE1"), first.startOfDay()},
                               {QStringLiteral("DE2"), last.addDays(1).startOfDay()}};
    Outcome outcome;
    if (progress)
        progress(0, 0);
    const kv::db::QueryResult articles = m_application.query(forecastArticlesSql(m_application.dialect()), range);
    QStringList codes;
    for (const auto& row : articles.rows)
        codes << row.at(0).toString();
    const int lastOrder = articles.rows.empty() ? 0 : articles.rows.front().at(3).toInt();
    if (progress)
        progress(50, lastOrder);

    const QHash<QString, double> stock = figuresByArticle(
        m_invoicing, QStringLiteral("SELECT CODIGO, COALESCE(EXIQTD, 0) FROM ARTIGOSCLS WHERE CODIGO IN (%1)"), codes);
    // The open supplier lines of the range in one grouped read.
    QHash<QString, double> onOrder;
    addFigures(onOrder, m_invoicing.query(QStringLiteral("SELECT ARTIGO, SUM(COALESCE(QTDCAR, 0)) FROM FRNENCDET"
                                                         " WHERE DATAENTRG >= :DE1 AND DATAENTRG < :DE2"
                                                         " AND TOTENT = 'N' GROUP BY ARTIGO"),
                                          range));

    std::vector<std::vector<QVariant>> rows;
    rows.reserve(articles.rows.size());
    for (const auto& row : articles.rows) {
        const QString key = articleKey(row.at(0).toString());
        rows.push_back({user, program(), row.at(0).toString(), row.at(1).toString(), row.at(2).toDouble(),
                        stock.value(key, 0.0), QStringLiteral("Kgs"), onOrder.value(key, 0.0)});
    }
    kv::db::Transaction transaction(m_application);
    m_application.exec(QStringLiteral("DELETE FROM IMPCONSUMOS WHERE UTIL = :U AND PROGRAMA = :P"),
                       {{QStringLiteral("U"), user}, {QStringLiteral("P"), program()}});
    insertRowBatches(m_application, QStringLiteral("IMPCONSUMOS"),
                     {QStringLiteral("UTIL"), QStringLiteral("PROGRAMA"), QStringLiteral("ARTIGO"),
                      QStringLiteral("DESIGNACAO"), QStringLiteral("CONSUMO"), QStringLiteral("EXIQTD"),
                      QStringLiteral("UNIDADE"), QStringLiteral("QTDENC")},
                     rows);
    transaction.commit();
    outcome.articles = static_cast<int>(rows.size());
    if (progress)
        progress(100, lastOrder);
    return outcome;
}

kv::db::QueryResult ConsumptionForecast::rows(const QString& user)
{
    return m_application.query(
        QStringLiteral("SELECT ARTIGO, DESIGNACAO, UNIDADE, CONSUMO, EXIQTD, QTDENC FROM IMPCONSUMOS"
                       " WHERE UTIL = :U AND PROGRAMA = :P ORDER BY UTIL, PROGRAMA, ARTIGO"),
        {{QStringLiteral("U"), user}, {QStringLiteral("P"), program()}});
}

std::optional<ConsumptionForecast::CalendarDay> ConsumptionForecast::calendarDay(kv::db::Connection& invoicing,
                                                                                 const QDate& date)
{
    const kv::db::QueryResult day =
        invoicing.query(QStringLiteral("SELECT SEMANA, DIASEM FROM CALENDARIO WHERE DATA = :D"),
                        {{QStringLiteral("D"), date.startOfDay()}});
    if (day.rows.empty())
        return std::nullopt;
    return CalendarDay{QStringLiteral("%1").arg(day.rows.front().at(0).toInt(), 2, 10, QLatin1Char('0')),
                       day.rows.front().at(1).toString()};
}

} // namespace kv::production
