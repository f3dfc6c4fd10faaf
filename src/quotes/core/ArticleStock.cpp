#include "quotes/core/ArticleStock.h"

#include "platform/db/Connection.h"

namespace kv::quotes {

ArticleStock ArticleStock::read(kv::db::Connection& invoicing, const QString& article, const QString& year)
{
    ArticleStock stock;
    if (article.trimmed().isEmpty())
        return stock;
    const auto row = invoicing.query(QStringLiteral("SELECT EXIQTD, UNVENDA FROM ARTIGOSCLS WHERE CODIGO = :Artigo"),
                                     {{QStringLiteral("Artigo"), article}});
    if (row.isEmpty())
        return stock;
    stock.found = true;
    stock.quantity = row.rows[0][0].toDouble();
    stock.unit = row.rows[0][1].toString();
    const auto rows =
        invoicing.query(QStringLiteral("SELECT CODIGO, EXIQTD, EXIVAL FROM STKARTGARMZ WHERE ARTIGO = :Artigo AND "
                                       "ANO = :WAno ORDER BY ARTIGO, CODIGO"),
                        {{QStringLiteral("Artigo"), article}, {QStringLiteral("WAno"), year}});
    for (const auto& r : rows.rows)
        stock.warehouses.push_back({r[0].toInt(), r[1].toDouble(), r[2].toDouble()});
    return stock;
}

} // namespace kv::quotes
