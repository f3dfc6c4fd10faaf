#include "quotes/core/ArticleClassification.h"

#include "platform/db/Connection.h"

namespace kv::quotes {

ArticleClassification::ArticleClassification(kv::db::Connection& invoicing) : m_db(invoicing) {}

bool ArticleClassification::readGroups()
{
    QString columns;
    for (int type = 1; type <= 10; ++type)
        columns += (type > 1 ? QStringLiteral(", GRUPOTIPO") : QStringLiteral("GRUPOTIPO")) + QString::number(type);
    const auto result =
        m_db.query(QStringLiteral("SELECT %1 FROM PARCUSTOM WHERE CODIGO = :Codigo").arg(columns), {{"Codigo", "1"}});
    if (result.isEmpty()) {
        m_groups.reset();
        return false;
    }
    std::array<QString, 10> groups;
    for (std::size_t i = 0; i < groups.size(); ++i)
        groups[i] = result.rows[0][i].toString();
    m_groups = groups;
    return true;
}

ClassifiedArticle ArticleClassification::article(const QString& code)
{
    ClassifiedArticle a;
    a.code = code;
    if (code.isEmpty())
        return a;
    const auto row = m_db.query(QStringLiteral("SELECT TIPOARTIGO, CUSTOPADRAO, PRECO1, PESO, FAMILIA, CUSTOM1, "
                                               "CUSTOM2, CUSTOM3, CUSTOM4, CUSTOM5, CUSTOM6, CUSTOM7, CUSTOM8, CUSTOM9 "
                                               "FROM ARTIGOSCLS WHERE CODIGO = :NosRef"),
                                {{"NosRef", code}});
    if (row.isEmpty())
        return a;
    const auto& r = row.rows[0];
    a.found = true;
    a.standardCost = r[1].toDouble();
    a.price = r[2].toDouble();
    a.weight = r[3].toDouble();
    a.family = r[4].toString();
    for (int n = 0; n < 9; ++n)
        a.codes[n] = r[5 + n].toInt();

    bool typeOk = false;
    const int type = r[0].toString().trimmed().toInt(&typeOk);
    if (!typeOk || type < 1 || type > 10 || !m_groups)
        return a;
    a.group = (*m_groups)[type - 1];

    const auto tables = m_db.query(QStringLiteral("SELECT TABCOD, TABNOM FROM PARGRUPOS WHERE TABGRUPO = :WtabGrupo "
                                                  "ORDER BY TABGRUPO, TABCOD"),
                                   {{"WtabGrupo", a.group}});
    for (const auto& t : tables.rows) {
        bool digit = false;
        const int n = t[0].toString().toInt(&digit);
        if (digit && n >= 1 && n <= 9 && t[0].toString().size() == 1)
            a.tableNames[n - 1] = t[1].toString();
    }
    const auto values =
        m_db.query(QStringLiteral("SELECT TABCOD, CODIGO, DESIGNACAO FROM CUSTARTG WHERE TABGRUPO = :WtabGrupo "
                                  "AND PAIS = :Pais ORDER BY TABGRUPO, TABCOD, CODIGO"),
                   {{"WtabGrupo", a.group}, {"Pais", QStringLiteral("PORTUGAL")}});
    for (int n = 1; n <= 9; ++n) {
        const int wanted = a.codes[n - 1];
        if (wanted == 0)
            continue;
        for (const auto& v : values.rows)
            if (v[0].toString() == QString::number(n) && v[1].toInt() == wanted) {
                a.valueNames[n - 1] = v[2].toString();
                break;
            }
    }
    return a;
}

} // namespace kv::quotes
