#pragma once

#include "production/core/SelectedOrder.h"

#include <QDate>
#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
class Params;
struct QueryResult;
}

namespace kv::production {

// How the filling form takes a column of the order row.
enum class FillKind {
    Text, // free text
    Flag, // "S" or "N", upper case only
    Char, // one free character
    Number, // a decimal number
    Integer, // a whole number
    Date, // the production date, a working day of the calendar
};

struct FilledColumn {
    const char* column;
    FillKind kind;
};

// The columns of an ORDFABDET row the filling form edits, in the order the
// user goes through them.
const std::vector<FilledColumn>& filledColumns();

// What the quote row gives the filling: quantities in thousands ("M") or
// units ("U"), and the window weight the PVC lines use.
struct FillingQuote {
    QString unit;
    double windowWeight = 0;
};

// A refused value: its message, whether it beeps, and the column whose field
// takes the focus.
struct FillRefusal {
    QString message;
    QString focus;
    bool beep = true;
};

// A day of the calendar: its week as two digits, or why it is refused.
struct ProductionDay {
    std::optional<FillRefusal> refusal;
    QString week;
};

// The first row of a keyed read, column by upper-case name; nothing when none.
std::optional<QHash<QString, QVariant>> firstRowOf(const kv::db::QueryResult& result);

// Writes the columns `sets` ("COL = :COL") of the order row `where` finds,
// in one transaction; a refusal when the row is no longer there.
std::optional<FillRefusal> writeOrderRow(kv::db::Connection& application, const QString& table,
                                         const QStringList& sets, const QString& where, const kv::db::Params& params,
                                         int orderNumber);

// The filling of one production order row of the model other than "T": the
// row read by its key, the rules of its fields and of its packing plan, and
// its save in one transaction.
class OrderFilling {
public:
    OrderFilling(kv::db::Connection& application, kv::db::Connection& invoicing, SelectedOrder order);

    const SelectedOrder& order() const { return m_order; }

    // The order row, column by upper-case name; nothing when it is gone.
    std::optional<QHash<QString, QVariant>> readOrder() const;
    // The quote row of the order; nothing when it was deleted.
    std::optional<FillingQuote> readQuote() const;
    static QString quoteDeletedMessage(int quote, int subQuote);
    // The same reads for either model's filling.
    static std::optional<FillingQuote> quoteRow(kv::db::Connection& application, int quote, int subQuote);
    static ProductionDay calendarDay(kv::db::Connection& invoicing, const QString& text);
    static QString articleDesignation(kv::db::Connection& invoicing, const QString& article);
    static QString customerName(kv::db::Connection& invoicing, int customer);
    // The article's designation and the customer's name for the header.
    QString articleDesignation(const QString& article) const;
    QString customerName(int customer) const;

    // A production date typed as text, checked against the calendar.
    ProductionDay productionDay(const QString& text) const;
    // The rule of one field on leaving it (no calendar: see productionDay).
    static std::optional<FillRefusal> fieldRefusal(const QString& column, const QString& text);
    // Units packed by the four outer-package and four pallet rows.
    static double packedTotal(const QHash<QString, QString>& texts);
    // The quantity to produce in units: thousands for a quote in "M".
    static double unitsToProduce(double quantity, const QString& quoteUnit);
    // The packed total differs from the quantity to produce (none packed passes).
    static std::optional<FillRefusal> packedTotalRefusal(const QHash<QString, QString>& texts,
                                                         const QString& quoteUnit);
    // Square metres of the sheet formats (cm): format 1, plus format 2 when
    // its length is not 0.
    static double sheetArea(double length1, double width1, double length2, double width2);

    // Every field rule and the packed-total rule over the texts of the
    // fields, in the order of the form; the first refusal.
    std::optional<FillRefusal> firstRefusal(const QHash<QString, QString>& texts, const QString& quoteUnit) const;
    // Checks the texts and writes them into the order row in one
    // transaction; the refusal when a rule or the row's absence stops it.
    std::optional<FillRefusal> save(const QHash<QString, QString>& texts, const QString& quoteUnit);

private:
    kv::db::Connection& m_application;
    kv::db::Connection& m_invoicing;
    SelectedOrder m_order;
};

} // namespace kv::production
