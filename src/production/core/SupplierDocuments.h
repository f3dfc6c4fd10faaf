#pragma once

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}
namespace kv::notify {
class MessageSink;
}

namespace kv::production {

// Who writes and when: the user (`WUtil`), the working year and date.
struct DocumentContext {
    QString user;
    QString year;
    QDate workingDate;
};

// The purchase orders of one run, numbered from `first` to `last`.
struct PurchaseOrderRun {
    std::vector<int> numbers;
    bool empty() const { return numbers.empty(); }
    int first() const { return numbers.empty() ? 0 : numbers.front(); }
    int last() const { return numbers.empty() ? 0 : numbers.back(); }
};

// The documents the requirements screen writes from the user's ticked
// proposal rows (LOGARTGFORN with a price and a supplier name) into the
// invoicing database: an internal requisition, or one purchase order per
// supplier. A document is written whole or not at all: every ticked row
// needs an existing supplier and article and a delivery date that passes
// the date check, otherwise a message names the row and nothing is written.
class SupplierDocuments {
public:
    SupplierDocuments(kv::db::Connection& application, kv::db::Connection& invoicing, kv::notify::MessageSink& messages,
                      DocumentContext context);

    // What stops the requirement forms from opening: the working year's
    // commercial parameters, general parameters row 1 and its purchasing
    // department; empty when nothing does.
    QString parametersProblem() const;

    // The user's numbering series in the invoicing applications (requisitions
    // or purchase orders); nothing when the user has no row there.
    std::optional<QString> userSeries(bool purchaseOrders) const;

    // The check of a typed delivery date (also the grid's on leaving the
    // cell): empty when it passes, else the message.
    QString deliveryDateProblem(const QVariant& date) const;

    // One requisition of every ticked row, lines by supplier then article,
    // numbered the user's highest number + 1 inside its transaction. Nothing
    // ticked: "Não Existem Artigos a Requisitar !!" and nothing written.
    std::optional<int> writeRequisition();

    // One purchase order per supplier of the ticked rows, numbered in the
    // user's series of the year's counters, in one transaction: nothing
    // ticked writes nothing and says nothing.
    PurchaseOrderRun writePurchaseOrders();

    // The print queue of a requisition (copies REQVIA1-REQVIA8) and its
    // PRINTE mark, in one transaction; returns the number of copies queued
    // per document (0 without the year's parameters, after the message).
    int queueRequisition(int number);
    // The same for the user's unprinted orders of the run (EFVIA1-EFVIA8).
    int queuePurchaseOrders(const PurchaseOrderRun& run);
    // Empties the user's print queue after the preview.
    void emptyQueue();

private:
    struct Line;
    std::optional<std::vector<Line>> tickedLines();
    QStringList copyNames(const QString& prefix);

    kv::db::Connection& m_app;
    kv::db::Connection& m_inv;
    kv::notify::MessageSink& m_messages;
    DocumentContext m_context;
};

// The discount as the documents show it: two decimals and " %", empty
// without a discount.
QString discountText(double discount);

} // namespace kv::production
