#pragma once

#include "production/core/RequirementsCalculation.h"
#include "production/core/SupplierDocuments.h"

#include "quotes/CollectingMessages.h"
#include "support/Scenario.h"

#include <QStringList>

namespace kv::production::test {

using RecordedMessages = kv::quotes::test::CollectingMessages;

// The plain company (user "ANA", working date Friday 15-03-2024) with one
// open customer order: order 100 of customer 10 ("QNOVA"), line 1 of 1000
// boxes "CX-A" for delivery on the working date, generated into slot 1 of
// production order 100 (week 11, sub-quote 0, 1000 to produce), whose
// planned consumption is 500 of board "MP-1" (approved quantity 1000).
// Board "MP-1" has no stock, supplier orders or requisitions; the calendar
// holds 15-03 (working), 16-03 (Saturday) and 18-03 (working).
class RequirementsFixture {
public:
    explicit RequirementsFixture(kv::test::Engine engine);

    static const QDate WorkingDate;
    kv::db::Connection& app() { return *m_application; }
    kv::db::Connection& inv() { return *m_invoicing; }
    RequirementLimits limits() const { return RequirementLimits::initial(WorkingDate); }
    RequirementsCalculation calculation(RequirementVariant variant);
    SupplierDocuments documents();

    // A customer-order line and the order row generation recorded for it.
    void addOrderLine(int order, int line, const QString& article, double outstanding, int slot, int customer = 10);
    // A production-order row (week 11) of `order`'s slot and sub-quote.
    void addProductionRow(int order, int slot, int subQuote, double toProduce, double produced = 0,
                          const QString& produce = QStringLiteral("N"));
    // A planned-consumption row of that row.
    void addConsumption(int order, int slot, int subQuote, int detail, const QString& article, QVariant consumption,
                        QVariant approved, QVariant consumed = {}, int tableType = 8);
    // A proposal row of the user, ticked.
    void addProposal(const QString& article, double quantity, int supplier, const QString& name, double price,
                     double discount = 0, const QDate& delivery = QDate(2024, 3, 18));
    void addSupplier(int code, const QString& name);

    // One value of LOGARTIGOS for the user's article (invalid when absent).
    QVariant requirement(const QString& article, const QString& column);
    int count(kv::db::Connection& db, const QString& sql) { return db.scalar(sql).toInt(); }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    RecordedMessages messages;

private:
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
};

} // namespace kv::production::test
