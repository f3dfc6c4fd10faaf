#pragma once

#include "quotes/core/CommercialPricing.h"
#include "quotes/core/CostTables.h"
#include "platform/notify/MessageSink.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/core/SubQuote.h"
#include "quotes/core/SubQuoteCalculator.h"

#include <QString>
#include <functional>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// What the worksheet works with: the application database, the cost tables
// read when it opened, the logged-in user and the working year's price
// decimals. Nothing is read from globals.
struct QuoteSession {
    kv::db::Connection* application = nullptr;
    const CostTables* tables = nullptr;
    notify::MessageSink* messages = nullptr;
    QString user; // WUtil
    int priceDecimals = 2; // PRC_DECIMAIS of the working year
    // Where a recalculation says which line it is on (status panel 0); an
    // empty text when it is over. May be empty.
    std::function<void(const QString&)> status;
};

// The quote calculation as the worksheet (and later the approval and
// production steps) drive it: inputs in, cost lines and totals out, every
// write sequence in one transaction.
class QuoteEngine {
public:
    static const QString kChartProgram; // "ORCP021"

    explicit QuoteEngine(QuoteSession session);

    // "&Iniciar": stores the sub-quote row as edited, then creates its cost
    // lines from the user's chosen procedures when it has none, or
    // recalculates the lines it has. A procedure code other than 0 is added
    // to the choice first; one that does not exist stops everything
    // ("Procedimento Inexistente"). Returns the sub-quote as stored, or empty
    // when nothing was calculated.
    std::optional<SubQuote> start(const QuoteRow& row, int procedureCode = 0);
    // "&Iniciar" on a new quote, whose row is not stored yet: in the same
    // transaction the row is inserted (never written over another) under
    // its number, or under the series' next free number when another
    // workstation stored a quote under it meanwhile (said to the user, and
    // `row` takes it); the series counter is raised to it when lower. A
    // refused start consumes no number.
    std::optional<SubQuote> startNew(QuoteRow& row, int series, int procedureCode = 0);

    // Recalculates the stored lines of a sub-quote (after a line was changed
    // or deleted); empty when the sub-quote does not exist or could not be
    // calculated.
    std::optional<SubQuote> recalculate(int quoteNumber, int subQuote);

    // The line being entered by hand (`DETAIL` 0: added after the last line)
    // or changed (its `DETAIL`), as the line fields hold it: calculated and
    // written in place with the sub-quote row, in one transaction. A changed
    // line's old values were in the running totals, so the sub-quote is
    // recalculated with it and its totals count every line once. The other
    // lines stay as stored, a copied quote's too. Empty when the sub-quote or
    // the changed line does not exist, or nothing could be calculated.
    std::optional<SubQuote> enterLine(int quoteNumber, int subQuote, const CostLine& line);

    // Deletes the line `detail` of a sub-quote and recalculates the
    // sub-quote without it, in one transaction: the stored totals never count
    // a deleted line. Empty, nothing changed, when the line or the sub-quote
    // does not exist or the sub-quote could not be calculated.
    std::optional<SubQuote> deleteLine(int quoteNumber, int subQuote, int detail);

    // Opening the totals page: the sub-quote's totals and the quote's summary
    // row rebuilt, replaced in one transaction (a failure keeps the previous
    // summary row). Returns the new summary row, empty when the quote has no
    // sub-quote rows (and so no summary row any more).
    std::optional<QuoteRow> totals(int quoteNumber, int subQuote, const QVariant& vatCode);

    // The chart rows of a summary row, rebuilt in one transaction.
    void showChart(const QuoteRow& summary);

    // The closing: the summary row's closing computations, its percentages
    // and client prices copied into the sub-quote row, both stored, the
    // missing second formats set to 0 and the chart rebuilt, in one
    // transaction. Returns the summary row as stored.
    QuoteRow close(QuoteRow summary, int subQuote);

private:
    std::optional<SubQuote> startRow(QuoteRow& row, int procedureCode, int newQuoteSeries);
    void writeChart(const QuoteRow& summary);
    SubQuoteCalculator calculator();
    QuoteSession m_s;
};

} // namespace kv::quotes
