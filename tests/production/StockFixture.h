#pragma once

#include "production/core/ProductionClosing.h"
#include "production/core/StockPosting.h"

#include "quotes/CollectingMessages.h"
#include "support/Scenario.h"

namespace kv::production::test {

using StockMessages = kv::quotes::test::CollectingMessages;

// The plain company (user "ANA", working year 2024) with what a posting
// needs: the user's stock document counter at 900, average-cost method "1",
// warehouses 1 (raw materials) and 2 (finished goods), the transactions
//   10 issue priced at standard cost, a consumption
//   20 entry priced at average cost, updating the last entry price
//   30 return, not priced
// and the articles "CART-1" (a board: 100 in stock worth 250, average cost
// 2.5, standard cost 2) and "CAIXA-1" (a finished box, empty, standard
// cost 0.5).
class StockFixture {
public:
    explicit StockFixture(kv::test::Engine engine);

    static constexpr int FirstDocument = 901;
    static const QDate Day; // 20-03-2024

    kv::db::Connection& application() { return *m_application; }
    kv::db::Connection& invoicing() { return *m_invoicing; }
    std::shared_ptr<kv::db::Connection> applicationShared() { return m_application; }
    std::shared_ptr<kv::db::Connection> invoicingShared() { return m_invoicing; }

    StockPosting posting();
    ProductionClosing closing(ClosingModel model);
    // A closing over connections of its own, as a second workstation's.
    ProductionClosing otherWorkstation(ClosingModel model);

    // An open model-"T" order of the working year (ORDFABRICO).
    void addWholeOrder(int number);
    // An open ORDFABDET order with one board line (detail 1, "CART-1").
    void addSlotOrder(int number, double quantity, double produced);

    QVariant value(kv::db::Connection& db, const QString& sql) { return db.scalar(sql); }
    int counter();

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    StockMessages messages;
    kv::db::TwoDatabaseKinds kinds;

private:
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
    std::vector<std::shared_ptr<kv::db::Connection>> m_others;
};

} // namespace kv::production::test
