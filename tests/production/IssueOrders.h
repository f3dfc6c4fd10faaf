#pragma once

#include "platform/db/Connection.h"

#include <QDate>

namespace kv::production::test {

// The day every order of the fixture is delivered and produced on.
inline const QDate issueDay(2024, 3, 15);

// ORDFABDET orders of 2024, week 11, with their quote rows, customer
// orders, a postal code and consumption: 100 slot 1 (sub-quotes 0 and 3)
// listed by default; 100 slot 2 produced the next day; 101 issued already;
// 102 produced; 103 (customer 20) listed. Only 100/1/0 has consumption,
// finishing flags, later deliveries and packing.
void issueStoreOrders(kv::db::Connection& application, kv::db::Connection& invoicing);

// The user's queue rows in REGISTO order: REGISTO, ORDNRO, DETAIL, SUBORC,
// VIA, ORDFABRICO, ANO, SEMANA.
kv::db::QueryResult issueQueueRows(kv::db::Connection& application, const QString& user);

} // namespace kv::production::test
