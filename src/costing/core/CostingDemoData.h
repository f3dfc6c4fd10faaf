#pragma once

#include <Connection.h>

namespace kv::costing {

// The costing tables of the demo company, a plant that prints cardstock and
// micro-flute boxes: its inks, with the stock articles they are bought as,
// and its general costing parameters with the warehouses, stock transactions
// and purchasing department they name. Rows that already exist are left as
// they are, so running it twice adds nothing. Each database is written in
// one transaction.
void addCostingDemoData(kv::db::Connection& application, kv::db::Connection& invoicing);

} // namespace kv::costing
