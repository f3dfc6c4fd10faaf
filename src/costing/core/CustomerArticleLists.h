#pragma once

#include "costing/core/ArticleLists.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <memory>

namespace kv::costing {

// The read-only lists of the invoicing database that the raw material per
// customer article keeps while it is open: the products (article type 1),
// the raw materials (types above 5) and the customers, each by code and by
// name.
class CustomerArticleLists {
public:
    explicit CustomerArticleLists(std::shared_ptr<kv::db::Connection> invoicing);
    ~CustomerArticleLists();

    void open();
    void close();

    ArticleLists& products() { return m_products; }
    ArticleLists& materials() { return m_materials; }
    kv::db::Dataset& customers() { return *m_customers; }
    kv::db::Dataset& customersByName() { return *m_customersByName; }

    // Moves the customer list to the customer; false when there is none.
    bool locateCustomer(qint64 number);

private:
    ArticleLists m_products;
    ArticleLists m_materials;
    std::unique_ptr<kv::db::Dataset> m_customers;
    std::unique_ptr<kv::db::Dataset> m_customersByName;
};

// Whether the rows of PLN_FICTEC held by `table` already name the product for
// the customer; the new row being inserted does not count.
bool customerHasArticle(kv::db::Dataset& table, qint64 customer, const QString& article);

} // namespace kv::costing
