#pragma once

#include "quotes/CollectingMessages.h"
#include "quotes/approval/core/QuoteApproval.h"

#include "support/Scenario.h"

namespace kv::quotes::approval::test {

// The plain company with what one approval needs: a waste band and a board,
// quote 700 of one sub-quote (12 thousand, 4 per sheet of 100 x 70 cm, one
// board line) for customer 10 and article "ART-1", the commercial
// parameters and order counters of the working year 2024 (series 1 at 10),
// the customer's postal code and a few calendar days of March 2024.
//
// Approved at 12 for 150: N 3060, board 514.08, sale 1800.00, commissions
// 90.00 (5 % on the sale) and 10.2816 (2 % on cost), margin 1185.64, 65.87 %.
class ApprovalFixture {
public:
    explicit ApprovalFixture(kv::test::Engine engine);

    static constexpr int Quote = 700;
    static const QDate OrderDate; // Friday 15-03-2024, week 11

    // fixtureRequest(): quote 700 at 12 for 150 as order 11.
    OrderRequest request() const;
    ApprovalSettings settings() const;
    QuoteApproval approval(kv::db::Connection& application, kv::db::Connection& invoicing);
    // Prepares and saves the request through the session's connections.
    ApprovalSave approve(const OrderRequest& request);

    kv::db::Connection& application() { return *m_application; }
    kv::db::Connection& invoicing() { return *m_invoicing; }
    kv::db::TwoDatabaseWork work();
    kv::db::QueryResult rows(kv::db::Connection& db, const QString& sql, const kv::db::Params& params = {});
    int count(kv::db::Connection& db, const QString& sql) { return db.scalar(sql).toInt(); }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    kv::quotes::test::CollectingMessages messages;
    CostTables tables;

private:
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
    kv::db::TwoDatabaseKinds m_kinds;
};

} // namespace kv::quotes::approval::test
