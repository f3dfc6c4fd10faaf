#pragma once

#include "support/CompanySession.h"

#include <QDate>
#include <memory>

namespace kv::production {
struct ProductionSessionState;
}

namespace kv::production::test {

// The plain company (user "ANA", working date 15-03-2024) with the orders
// the consultation shows:
// - order 11 of 2024 (week "11"), customer 10, article "ART-1": slot 1 with
//   sub-quotes 0 (1000) and 1 (500) made in production week "12", slot 2
//   (300) in week "13"; generated from lines 1 and 2 of customer order 11;
// - order 12 of 2024 (week "12"), customer 20, article "ART-2", 200, week
//   "12", already issued (IMPR "S");
// - order 11 of 2023 (week "40"), customer 10, 700 in week "12": the same
//   number in another year;
// - order 13 of 2024, produced: never listed.
// Planned consumption: raw material "PAP-1" 100 + 50 (order 11/2024 slot 1),
// 20 (order 12), 70 (2023); "PAP-2" 30 (slot 2); ink without article 5;
// machine times 1.30 (order 11/2024), 0.45 (order 12) and 2.15 (2023) in
// hours.minutes. The calendar holds the default limit dates and the weeks of
// March 2024.
class ConsultationFixture : public kv::test::CompanySession {
public:
    ConsultationFixture(kv::test::Scenario& scenario, kv::test::Engine engine);
    ~ConsultationFixture() override;

    // The whole schema's model-"T" orders: order 11 of 2024 lines 1 and 2,
    // order 11 of 2023 line 1, each with a detail line.
    void addModelTOrders();

    // What the consultation hands the forms it opens.
    std::shared_ptr<ProductionSessionState> shared;

    int count(kv::db::Connection& db, const QString& sql) { return db.scalar(sql).toInt(); }
};

} // namespace kv::production::test
