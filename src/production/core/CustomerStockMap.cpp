#include "production/core/CustomerStockMap.h"

#include "platform/db/SqlDialect.h"
#include "production/core/StockMapRows.h"

#include <QSet>

namespace kv::production {

CustomerStockMap::CustomerStockMap(kv::db::Connection& application, kv::db::Connection& invoicing)
    : m_application(application), m_invoicing(invoicing)
{
}

int CustomerStockMap::build(const QString& user, const StockMapLimits& limits, const Progress& progress)
{
    using kv::db::sql::likePattern;
    const kv::db::Dialect dialect = m_application.dialect();
    if (progress)
        progress(0);
    const kv::db::QueryResult sheets = m_application.query(
        QStringLiteral("SELECT CLIENTE, ARTIGO, COALESCE(MATPRIMA, '') FROM PLN_FICTEC"
                       " WHERE CLIENTE >= :C1 AND CLIENTE <= :C2 AND ARTIGO >= :A1 AND ARTIGO <= :A2"
                       " AND %1 AND %2")
            .arg(likePattern(dialect, QStringLiteral("DESIGNACAO"), QStringLiteral("PDESIGN")),
                 likePattern(dialect, QStringLiteral("NOME"), QStringLiteral("PNOME"))),
        {{QStringLiteral("C1"), limits.firstCustomer},
         {QStringLiteral("C2"), limits.lastCustomer},
         {QStringLiteral("A1"), limits.firstArticle},
         {QStringLiteral("A2"), limits.lastArticle},
         {QStringLiteral("PDESIGN"), limits.designation},
         {QStringLiteral("PNOME"), limits.customerName}});
    QSet<QString> seen;
    QStringList stockCodes;
    for (const auto& row : sheets.rows) {
        for (int c : {1, 2}) {
            const QString code = row.at(static_cast<std::size_t>(c)).toString();
            if (!code.isEmpty() && !seen.contains(articleKey(code))) {
                seen.insert(articleKey(code));
                stockCodes << code;
            }
        }
    }
    if (progress)
        progress(30);
    const QHash<QString, double> stock = figuresByArticle(
        m_invoicing, QStringLiteral("SELECT CODIGO, COALESCE(EXIQTD, 0) FROM ARTIGOSCLS WHERE CODIGO IN (%1)"),
        stockCodes);
    if (progress)
        progress(60);
    // One grouped read over the customer range (its index) rather than one
    // per batch of articles, which would scan the order lines each time.
    QHash<QString, double> ordered;
    addFigures(
        ordered,
        m_invoicing.query(QStringLiteral("SELECT CLINRO, ARTIGO, SUM(COALESCE(QTDCAR, 0)) FROM ENCCLIDET"
                                         " WHERE CLINRO >= :C1 AND CLINRO <= :C2 GROUP BY CLINRO, ARTIGO"),
                          {{QStringLiteral("C1"), limits.firstCustomer}, {QStringLiteral("C2"), limits.lastCustomer}}));

    std::vector<std::vector<QVariant>> rows;
    rows.reserve(sheets.rows.size());
    for (const auto& row : sheets.rows) {
        const int customer = row.at(0).toInt();
        const QString article = row.at(1).toString();
        const QString material = row.at(2).toString();
        const double product = stock.value(articleKey(article), 0.0);
        const double raw = material.isEmpty() ? 0.0 : stock.value(articleKey(material), 0.0);
        const double quantity = ordered.value(stockMapKey({QString::number(customer), article}), 0.0);
        rows.push_back({user, customer, article, material, product, raw, quantity, (raw + product) - quantity});
    }
    kv::db::Transaction transaction(m_application);
    m_application.exec(QStringLiteral("DELETE FROM WORKRELCXA WHERE UTIL = :U"), {{QStringLiteral("U"), user}});
    insertRowBatches(m_application, QStringLiteral("WORKRELCXA"),
                     {QStringLiteral("UTIL"), QStringLiteral("CLIENTE"), QStringLiteral("ARTIGO"),
                      QStringLiteral("MATPRM"), QStringLiteral("EXIQTD_PRD"), QStringLiteral("EXIQTD_MTP"),
                      QStringLiteral("QTDENC"), QStringLiteral("QTD_DIF")},
                     rows);
    transaction.commit();
    if (progress)
        progress(100);
    return static_cast<int>(rows.size());
}

QString CustomerStockMap::customersSql()
{
    return QStringLiteral("SELECT W.CLIENTE, MAX(P.NOME) AS NOME FROM WORKRELCXA W"
                          " LEFT JOIN PLN_FICTEC P ON P.CLIENTE = W.CLIENTE AND P.ARTIGO = W.ARTIGO"
                          " WHERE W.UTIL = :WUTIL GROUP BY W.CLIENTE ORDER BY W.CLIENTE");
}

QString CustomerStockMap::articlesSql()
{
    return QStringLiteral("SELECT W.ARTIGO, P.DESIGNACAO, W.MATPRM, P.MATDESCRI, W.EXIQTD_PRD, W.EXIQTD_MTP, W.QTDENC,"
                          " W.QTD_DIF FROM WORKRELCXA W"
                          " LEFT JOIN PLN_FICTEC P ON P.CLIENTE = W.CLIENTE AND P.ARTIGO = W.ARTIGO"
                          " WHERE W.UTIL = :WUTIL AND W.CLIENTE = :CLIENTE ORDER BY W.ARTIGO");
}

kv::db::QueryResult CustomerStockMap::customers(const QString& user)
{
    return m_application.query(customersSql(), {{QStringLiteral("WUTIL"), user}});
}

kv::db::QueryResult CustomerStockMap::articles(const QString& user, int customer)
{
    return m_application.query(articlesSql(), {{QStringLiteral("WUTIL"), user}, {QStringLiteral("CLIENTE"), customer}});
}

kv::db::QueryResult CustomerStockMap::reportRows(const QString& user)
{
    return m_application.query(
        QStringLiteral("SELECT W.CLIENTE, P.NOME, W.ARTIGO, P.DESIGNACAO, W.EXIQTD_PRD, W.EXIQTD_MTP, W.QTDENC,"
                       " W.QTD_DIF FROM WORKRELCXA W"
                       " LEFT JOIN PLN_FICTEC P ON P.CLIENTE = W.CLIENTE AND P.ARTIGO = W.ARTIGO"
                       " WHERE W.UTIL = :U ORDER BY W.CLIENTE, W.ARTIGO"),
        {{QStringLiteral("U"), user}});
}

} // namespace kv::production
