#pragma once

#include "platform/db/Connection.h"

#include <QStringList>
#include <QVariant>
#include <optional>
#include <vector>

namespace kv::test {

// Rows a test puts in a table: the columns it names, every value bound (a
// null QVariant writes NULL); the other columns keep their defaults. The cost
// tables (PAPEIS, COLAS, MAQUINAS, ACABAMENTO, OPERCORTE, CUSTRANSP, ...) are
// filled through it, so a test names the rows it needs, not how to write them.
void insertRows(kv::db::Connection& db, const QString& table, const QStringList& columns,
                const std::vector<QVariantList>& rows);

// A stock article (ARTIGOSCLS, in the invoicing database); measures left
// null unless given.
struct Article {
    QString code;
    QString designation;
    QString type; // TIPOARTIGO: "1" product, "3" service, "6" and up materials
    double averageCost = 0; // PMCUSTO
    double standardCost = 0; // CUSTOPADRAO
    std::optional<double> length = {}; // COMPRIM
    std::optional<double> width = {}; // LARGURA
};
void addArticles(kv::db::Connection& invoicing, const std::vector<Article>& articles);

// A customer (CLIENTES, in the invoicing database).
struct Customer {
    int code = 0;
    QString name;
};
void addCustomers(kv::db::Connection& invoicing, const std::vector<Customer>& customers);

} // namespace kv::test
