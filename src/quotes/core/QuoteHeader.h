#pragma once

#include "quotes/core/QuoteRow.h"
#include "quotes/core/WorksheetMode.h"

#include "platform/notify/MessageSink.h"

#include <QDate>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::quotes {

// Where a refused header field sends the focus.
enum class HeaderFocus { Stay, Number, Series };

// The result of leaving the sub-quote field.
struct SubQuoteOpening {
    enum class Kind { Refused, NewQuote, StoredSubQuote, CreatedSubQuote };
    Kind kind = Kind::Refused;
    QuoteRow row; // the row the worksheet works on
    WorksheetMode mode = WorksheetMode::Settled;
    HeaderFocus focus = HeaderFocus::Stay; // of a refusal
};

// The header of the quote worksheet without widgets: series and numbers,
// opening and creating sub-quotes, the copy of a base quote, the save's
// counter raise and the deletion of a quote. Each write is one transaction;
// what the user must hear goes to the message sink.
//
// A quote number is taken when the quote's first row is stored: the number
// shown is only a proposal, and when another workstation stored a quote
// under it meanwhile the quote takes the series' next free number.
class QuoteHeader {
public:
    QuoteHeader(kv::db::Connection& application, notify::MessageSink& messages);

    // A series as typed: "1" to "5", or empty.
    static std::optional<int> series(const QString& text);
    // A whole number as typed (surrounding blanks ignored), or empty.
    static std::optional<int> wholeNumber(const QString& text);
    // APROVADO "S"; a row without the mark is not approved.
    static bool isApproved(const QuoteRow& row);

    // The number proposed for a series: its counter plus one. Empty when the
    // general parameters row is missing.
    std::optional<int> proposedNumber(int series);

    // Leaving the sub-quote field: the checks in their order, then a new
    // sub-quote 0 (not stored), a sub-quote 1-9 created from the summary row
    // (stored at once), or a stored sub-quote (1-9 re-taking the header of
    // the summary row). Refusals are told to the message sink.
    SubQuoteOpening openSubQuote(int quoteNumber, int subQuote, const QDate& workingDate, bool mayInsert);

    // The defaults of a new row (new quote and new sub-quote).
    static void applyNewRowDefaults(QuoteRow& row);

    // Copies every row and cost line of `baseQuote` into a new quote, in one
    // transaction together with the series counter's raise. The number is
    // `wanted` unless a quote already holds it (then the series' next free
    // one, said to the user). `status` receives the progress texts. Empty
    // with "Orçamento Base Inexistente !!!" when the base has no rows; a
    // failure midway (thrown) leaves nothing of the new quote.
    std::optional<int> copy(int wanted, int baseQuote, int series, const QDate& workingDate,
                            const std::function<void(const QString&)>& status = {});

    // The save: the series counter raised to the quote's number when lower
    // (never lowered; the higher value wins when another workstation raised
    // it). False, with the message, when the general parameters are missing.
    bool save(int quoteNumber, int series);

    // Deletes every row and cost line of a quote in one transaction. Refused
    // (false, with the message) when its summary row is approved or has a
    // customer order.
    bool remove(int quoteNumber);

    // PRC_DECIMAIS of the working year's commercial parameters (`PARGER` of
    // the invoicing database); empty when the year has no row.
    static std::optional<int> priceDecimals(kv::db::Connection& invoicing, const QString& year);
    // The commission names (`DESIGNCOM1`..3) of the general parameters.
    std::optional<QStringList> commissionNames();

private:
    // False when the summary row is missing; true when created, or opened
    // as stored when another workstation created it meanwhile.
    bool createSubQuote(SubQuoteOpening& opening, int quoteNumber, int subQuote);
    void refuse(SubQuoteOpening& opening, const QString& text, HeaderFocus focus);

    kv::db::Connection& m_db;
    notify::MessageSink& m_messages;
};

} // namespace kv::quotes
