#pragma once

#include "quotes/core/CommercialPricing.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/core/SubQuote.h"

#include <QString>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
struct QueryResult;
} // namespace kv::db

namespace kv::quotes {

// The statements over the quote tables (`ORCMAS`, `ORCDET`, `PROCMASTEMP`,
// `PROCDET`, `ORCPARGER`) of the application database. Each call is one
// statement or one read; the caller opens the transaction that groups them.
class QuoteRepository {
public:
    explicit QuoteRepository(kv::db::Connection& connection);

    // --- quote rows ---
    std::optional<QuoteRow> row(int quoteNumber, int subQuote);
    // Only the columns named; the others stay null.
    std::optional<QuoteRow> row(int quoteNumber, int subQuote, const QStringList& columns);
    bool rowExists(int quoteNumber, int subQuote);
    // Sub-quote rows 0 to 9 of a quote in SUBCODIGO order (the summary row excluded).
    std::vector<QuoteRow> subQuoteRows(int quoteNumber);
    void insertRow(const QuoteRow& row);
    // Updates the row of the same CODIGO and SUBCODIGO; false when there is none.
    bool updateRow(const QuoteRow& row);
    void saveRow(const QuoteRow& row); // update, or insert when new
    void deleteSummaryRow(int quoteNumber);
    // Every row of a quote, the summary row included, in SUBCODIGO order.
    std::vector<QuoteRow> quoteRows(int quoteNumber);
    bool quoteExists(int quoteNumber);
    // Every row and cost line of a quote.
    void deleteQuote(int quoteNumber);
    // Nulls of the second sheet format become 0 in the rows of a quote.
    void zeroMissingSecondFormat(int quoteNumber);

    // --- numbering (series 1 to 5: ORCNRO1..5 of ORCPARGER row 1) ---
    // The series counter; empty when the parameters row is missing.
    std::optional<long long> seriesCounter(int series);
    // The number a new quote is stored under, inside the caller's
    // transaction: `wanted` when no quote holds it (the counter raised to it
    // when lower), otherwise the series' next free number.
    int claimQuoteNumber(int series, int wanted);
    // The counter raised to `number` when lower; false when the parameters
    // row is missing.
    bool raiseSeriesCounter(int series, int number);

    // --- cost lines ---
    std::vector<CostLine> lines(int quoteNumber, int subQuote); // DETAIL order
    // Every line of a quote in one read, in SUBCODIGO and DETAIL order.
    std::vector<CostLine> quoteLines(int quoteNumber);
    void replaceLines(int quoteNumber, int subQuote, const std::vector<CostLine>& lines);

    // --- procedures ---
    bool procedureExists(int code);
    QString procedureName(int code);
    // The user's chosen procedures (`PROCMASTEMP`) in code order.
    std::vector<int> chosenProcedures(const QString& user);
    void addChosenProcedure(const QString& user, int code, const QString& designation);
    void removeChosenProcedure(const QString& user, int code);
    void clearChosenProcedures(const QString& user);
    // Lines of the user's chosen procedures: procedures in code order, each
    // procedure's lines in DETAIL order.
    std::vector<ProcedureLine> chosenProcedureLines(const QString& user);

    // --- parameters ---
    // The commercial costs of `ORCPARGER` row 1; empty when the row is missing.
    std::optional<CommercialParameters> commercialParameters();

private:
    static std::vector<CostLine> toLines(const kv::db::QueryResult& result);
    kv::db::Connection& m_db;
};

} // namespace kv::quotes
