#pragma once

#include <QString>

namespace kv::db {
class Connection;
}

namespace kv::production {

// The key of an ORDFABDET order row: the customer order's year, week and
// number, the sub-quote and the production-order slot.
struct OrderRowKey {
    QString year; // ANO
    QString week; // SEMANA
    int orderNumber = 0; // ORDNRO
    int subQuote = 0; // SUBORC
    int slot = 0; // DETAIL
};

// The statements of generation over the production-order tables of the
// application database (ORDFABDET, ORDFABRICO, ORCCONSUMOS, TEMPENCCLIDET,
// ORDFABENC). Each call is one statement or one read; the caller opens the
// transaction that groups them.
class ProductionRepository {
public:
    explicit ProductionRepository(kv::db::Connection& connection);

    bool orderRowExists(const OrderRowKey& key);

private:
    kv::db::Connection& m_db;
};

} // namespace kv::production
