#pragma once

#include <QDate>
#include <QString>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// One automatic-invoicing line of a customer (`CLIFACAUTO`): DETAIL is the
// invoice within the customer, POSICAO the line within the invoice.
struct InvoicingLine {
    int customer = 0;
    int invoice = 0; // DETAIL
    int position = 0; // POSICAO
    QString article; // empty for a free-text line
    QString designation;
    double quantity = 0.0;
    double price = 0.0;
    QString period; // M, B, T, S, A
    int day = 0;
    QDate lastInvoice, contractStart, contractEnd;
};

// The settings an invoice's lines share, taken over by a new line typed for
// an invoice that has lines already.
struct InvoiceSettings {
    QString period;
    int day = 0;
    QDate lastInvoice, contractStart, contractEnd;
};

// A field's check on leaving it: empty when the value is good, else the
// message shown (after a beep).
namespace lineChecks {
QString invoice(const QString& typed);
QString period(const QString& typed);
QString day(const QString& typed);
// Quantity or price against the line's article: `price` picks the wording.
QString amount(const QString& typed, bool hasArticle, bool price);
QString contract(const QDate& start, const QDate& end);
} // namespace lineChecks

// The lines' reads and writes, each write in one transaction.
class InvoicingLines {
public:
    explicit InvoicingLines(std::shared_ptr<kv::db::Connection> invoicing) : m_db(std::move(invoicing)) {}

    // The first line's settings of an invoice; empty settings (no period, day
    // 0, no dates) for an invoice without lines.
    InvoiceSettings invoiceSettings(int customer, int invoice);

    // The article's designation and first sale price; nullopt when missing.
    std::optional<std::pair<QString, double>> article(const QString& code);

    // A new line: its position is the highest of the invoice plus one, read
    // in the transaction that inserts it (1 for the invoice's first line).
    // Returns the position given.
    int insert(InvoicingLine line);
    // A changed line, found by the key it was read with; keeps its position.
    void update(const InvoicingLine& line, const QString& oldArticle);
    void remove(int customer, int invoice, int position, const QString& article);

private:
    std::shared_ptr<kv::db::Connection> m_db;
};

} // namespace kv::customers
