#include "support/TableRows.h"

#include <stdexcept>
#include <string>

namespace kv::test {

void insertRows(kv::db::Connection& db, const QString& table, const QStringList& columns,
                const std::vector<QVariantList>& rows)
{
    QStringList placeholders;
    for (int i = 0; i < columns.size(); ++i)
        placeholders << QStringLiteral(":V%1").arg(i);
    const QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                            .arg(table, columns.join(QStringLiteral(", ")), placeholders.join(QStringLiteral(", ")));
    kv::db::Transaction transaction(db);
    for (const QVariantList& row : rows) {
        if (row.size() != columns.size())
            throw std::logic_error("insertRows: a row of " + table.toStdString() + " has " + std::to_string(row.size())
                                   + " values for " + std::to_string(columns.size()) + " columns");
        kv::db::Params params;
        for (int i = 0; i < columns.size(); ++i)
            params.set(QStringLiteral("V%1").arg(i), row[i]);
        db.exec(sql, params);
    }
    transaction.commit();
}

void addArticles(kv::db::Connection& invoicing, const std::vector<Article>& articles)
{
    std::vector<QVariantList> rows;
    for (const Article& a : articles)
        rows.push_back({a.code, a.designation, a.type, a.averageCost, a.standardCost,
                        a.length ? QVariant(*a.length) : QVariant(), a.width ? QVariant(*a.width) : QVariant()});
    insertRows(invoicing, QStringLiteral("ARTIGOSCLS"),
               {QStringLiteral("CODIGO"), QStringLiteral("DESIGNACAO"), QStringLiteral("TIPOARTIGO"),
                QStringLiteral("PMCUSTO"), QStringLiteral("CUSTOPADRAO"), QStringLiteral("COMPRIM"),
                QStringLiteral("LARGURA")},
               rows);
}

void addCustomers(kv::db::Connection& invoicing, const std::vector<Customer>& customers)
{
    std::vector<QVariantList> rows;
    for (const Customer& c : customers)
        rows.push_back({c.code, c.name});
    insertRows(invoicing, QStringLiteral("CLIENTES"), {QStringLiteral("CODIGO"), QStringLiteral("NOME")}, rows);
}

} // namespace kv::test
