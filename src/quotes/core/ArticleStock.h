#pragma once

#include <QString>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

struct WarehouseStock {
    int warehouse = 0; // CODIGO
    double quantity = 0; // EXIQTD
    double value = 0; // EXIVAL
};

// The stock of an article as the approval list shows it: the article's own
// quantity and sales unit, and its quantity and value per warehouse of the
// working year, read by key.
struct ArticleStock {
    bool found = false;
    double quantity = 0; // ARTIGOSCLS.EXIQTD
    QString unit; // UNVENDA
    std::vector<WarehouseStock> warehouses;

    // Nothing for an empty code or an article that is not in the file.
    static ArticleStock read(kv::db::Connection& invoicing, const QString& article, const QString& year);
};

} // namespace kv::quotes
