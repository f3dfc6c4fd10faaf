#pragma once

#include "quotes/approval/core/ApprovalCalculator.h"
#include "quotes/approval/core/ApprovalContext.h"
#include "quotes/approval/core/DeliveryPlan.h"

#include "platform/db/TwoDatabaseWork.h"

#include <QDate>
#include <QString>
#include <QVariantList>
#include <QVariantMap>
#include <optional>

namespace kv::db {
class Connection;
}
namespace kv::notify {
class MessageSink;
}

namespace kv::quotes::approval {

// The name under which the approval's two-database work is registered.
QString approvalKindName();
// The approval's two-database kind: the quote's approval marks in the
// application database, then the order (its number claimed against the
// series' counter) in the invoicing database; a refused order puts the quote
// rows back as they were.
kv::db::TwoDatabaseKind approvalKind();

// The login values an approval writes with.
struct ApprovalSettings {
    QString user; // WUtil
    QDate workingDate; // WData
    QString workingYear; // WAno: the year of the order counters
    int moneyDecimals = 2;
};

struct DeliveryAddress {
    QString line1; // Edit_Morada1
    QString line2; // Edit_Morada2
    QString postalCode; // Edit_CodPostal
    QString locality; // Edit_LDLocalidade
};

// Everything the user gave for one approval, after the article and customer
// hand-over.
struct OrderRequest {
    int quoteNumber = 0;
    int customer = 0;
    QString article;
    QString series = QStringLiteral("1");
    int orderNumber = 0;
    QString customerReference; // V/Encom.
    QDate orderDate;
    Deliveries deliveries;
    DeliveryAddress address;
    ApprovalInput input;
};

// An approval checked and worked out, ready to be written.
struct PreparedApproval {
    OrderRequest request;
    ApprovalResult result;
    QString orderYear; // of the order date
    QString orderWeek; // of the order date, 2 digits
    QVariantMap header; // ENCCLIMAS columns
    QVariantList lines; // ENCCLIDET rows
};

struct ApprovalSave {
    enum class Status {
        Approved, // the order and the quote marks are written
        NumberTaken, // another workstation stored the number meanwhile: nothing written
        Refused, // the invoicing database refused the order: nothing written
        Pending // the order is not written yet; a later recovery finishes it
    };
    Status status = Status::Approved;
    QString message;
    int nextNumber = 0; // the number to propose after NumberTaken
};

// The approval of one quote as a customer order: the series' proposal, the
// checks of every value before anything is written, and the write through
// the two-database work.
class QuoteApproval {
public:
    QuoteApproval(kv::db::Connection& application, kv::db::Connection& invoicing, kv::notify::MessageSink& messages,
                  ApprovalSettings settings);

    // Whether the working year has its order counters (ENCPARGER).
    bool countersExist();
    // The proposed order number of a series "1" to "5": its counter + 1, or
    // the first number above it that no order holds; 0 for any other series.
    int proposeNumber(const QString& series);
    bool orderExists(int orderNumber);
    // Whether the working year has its commercial parameters (PARGER).
    bool commercialParametersExist();
    // The locality of a delivery postal code; nothing when the code is unknown.
    std::optional<QString> locality(const QString& postalCode);

    // Checks every value and works the quote out again; nothing when a check
    // fails (its message told). Nothing is written.
    std::optional<PreparedApproval> prepare(const OrderRequest& request, const CostTables& tables);

    // Writes the prepared approval through the two-database work.
    ApprovalSave save(kv::db::TwoDatabaseWork& work, const PreparedApproval& prepared);

private:
    bool fail(const QString& text);

    kv::db::Connection& m_application;
    kv::db::Connection& m_invoicing;
    kv::notify::MessageSink& m_messages;
    ApprovalSettings m_settings;
};

// The earlier order lines of a customer for an article (parameters
// WCLINRO, WARTNRO), latest last.
QString previousOrdersSql();

// One order line's value: price x quantity in the 4-decimal fixed point,
// rounded to the money decimals.
double orderLineValue(double price, double quantity, int moneyDecimals);

} // namespace kv::quotes::approval
