#pragma once

#include "production/core/SelectedOrder.h"

namespace kv::db {
class Connection;
}

namespace kv::test {

// The order a filling test works on: order 501 of 2024, week 10, slot 1 of
// quote 515 (unit "M", window weight 0.002), 5 thousand to produce on 1000
// sheets of 70 x 100 cm, delivered on 29-03-2024.
kv::production::SelectedOrder fillOrder();
// Order 601 of 2024, line 1, of quote 515: a model-"T" order never filled.
kv::production::SelectedOrder modelTOrder();

// The order row, its quote row, a calendar (14-02-2024 a working day of
// week 7, 17-02-2024 a pause, 15-03-2024 a working day of week 11), the
// customer and article of the header, and cost-table rows of every type
// (codes 701 onward; the first of each the numbers of a worked example);
// order 601 of model "T" of the same quote (see modelTOrder).
void insertFillRows(kv::db::Connection& application, kv::db::Connection& invoicing);

} // namespace kv::test
