#include "customers/coding/core/ArticleCountries.h"

#include "platform/db/Connection.h"

namespace kv::customers {

QString ArticleCountries::rowsSql()
{
    return QStringLiteral("SELECT ARTIGO, PAIS, DESIGNACAO, PRECO1, PRECO2, PRECO3, PRECO4 FROM ARTIGOSPAIS WHERE "
                          "ARTIGO = :WMoeArtigo ORDER BY ARTIGO, PAIS");
}

std::optional<long long> ArticleCountries::addMissing(kv::db::Connection& invoicing, const QString& article)
{
    kv::db::Transaction transaction(invoicing);
    if (invoicing.query(QStringLiteral("SELECT 1 FROM PAISES LIMIT 1")).isEmpty())
        return std::nullopt;
    const long long added = invoicing.exec(
        QStringLiteral("INSERT INTO ARTIGOSPAIS (ARTIGO, PAIS, DESIGNACAO) SELECT CAST(:Artigo AS VARCHAR(16)), "
                       "P.PAIS, '' FROM PAISES P "
                       "WHERE NOT EXISTS (SELECT 1 FROM ARTIGOSPAIS A WHERE A.ARTIGO = :Artigo AND A.PAIS = P.PAIS)"),
        {{QStringLiteral("Artigo"), article}});
    transaction.commit();
    return added;
}

} // namespace kv::customers
