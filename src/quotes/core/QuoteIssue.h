#pragma once

#include "platform/db/Params.h"
#include "platform/db/PrintQueue.h"

#include <QDate>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// The letter layout of the installation (ORCPARGER.TIPOORCAM).
enum class LetterLayout { Quality, Micro, Carton };

// "1", "M" and "T"; nothing for any other value, which no letter prints.
std::optional<LetterLayout> letterLayout(const QString& tipoOrcam);

// The quotes a run issues: numbers and issue dates (both ends included),
// one customer (0: every customer), and the issued ones too on a reprint.
struct IssueSelection {
    qint64 customer = 0;
    qint64 fromNumber = 1;
    qint64 toNumber = 999999999;
    QDate fromDate;
    QDate toDate;
    bool reprint = false;
};

// What a letter prints besides the quote: the texts of the general costing
// parameters, the price decimals of the working year.
struct LetterTexts {
    QStringList paymentConditions; // CNDPGT1..5
    QString transport;
    QString deliveryTerm;
    QStringList saleConditions; // ORCPARGER.OBSERV1..4
    int priceDecimals = 2;
};

// The pages of a letter run: one row per queued copy of a quote, with every
// text the page prints by name.
struct LetterPages {
    QStringList fields;
    std::vector<QVariantList> rows;

    QVariant value(std::size_t row, const QString& field) const { return rows[row].value(fields.indexOf(field)); }
};

// The issue of the customer quote letters: the selection of summary rows,
// the print queue ORCAMIMPR filled and the quotes marked issued in one
// transaction, and the letter pages read from the queue.
class QuoteIssue {
public:
    static const kv::db::PrintQueueTable& queueTable();

    QuoteIssue(kv::db::Connection& application, QString user);

    // The grid's statement: the summary rows of the selection, only the
    // grid's columns, ordered by number; every limit is a bound value.
    static QString selectionSql(const IssueSelection& selection);
    static kv::db::Params selectionParams(const IssueSelection& selection);

    std::vector<qint64> selectedQuotes(const IssueSelection& selection) const;

    // Queues every selected quote in every copy and marks it issued (only
    // PRINTE, so another user's change since the selection stays), all in
    // one transaction; a database error leaves nothing queued or marked.
    // Returns the quotes queued.
    std::vector<qint64> queue(const IssueSelection& selection, const QStringList& copies,
                              const std::function<void(int done, int total, qint64 quote)>& progress = {});

    // The letter pages of the user's queue between the numbers.
    LetterPages pages(const IssueSelection& selection, const QStringList& copies, const LetterTexts& texts,
                      LetterLayout layout, kv::db::Connection& invoicing) const;

    // Empties the user's queue (after the preview, printed or not).
    void emptyQueue();

    // The letter texts of ORCPARGER row 1 and the year's price decimals;
    // nothing when the parameter row is missing.
    static std::optional<LetterTexts> readTexts(kv::db::Connection& application, int priceDecimals);
    // The copy names ORCVIA1..8 of ORCPARGER row 1; nothing when the row is missing.
    static std::optional<QStringList> copyNames(kv::db::Connection& application);

    // The customer's name by key ("" for a number not in the file), and the
    // statement of the alphabetic customer lookup.
    static QString customerName(kv::db::Connection& invoicing, qint64 customer);
    static QString customersByNameSql();

private:
    kv::db::Connection& m_db;
    QString m_user;
};

} // namespace kv::quotes
