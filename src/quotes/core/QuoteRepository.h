#pragma once

#include "quotes/core/CommercialPricing.h"
#include "quotes/core/QuoteRow.h"
#include "quotes/core/SubQuote.h"

#include <QString>
#include <optional>
#include <vector>

namespace kv::db { class Connection; }

namespace kv::quotes {

// The statements over the quote tables (`ORCMAS`, `ORCDET`, `PROCMASTEMP`,
// `PROCDET`, `ORCPARGER`) of the application database. Each call is one
// statement or one read; the caller opens the transaction that groups them.
class QuoteRepository {
public:
    explicit QuoteRepository(kv::db::Connection& connection);

    // --- quote rows ---
    std::optional<QuoteRow> row(int quoteNumber, int subQuote);
    // Sub-quote rows 0 to 9 of a quote in SUBCODIGO order (the summary row excluded).
    std::vector<QuoteRow> subQuoteRows(int quoteNumber);
    void insertRow(const QuoteRow& row);
    // Updates the row of the same CODIGO and SUBCODIGO; false when there is none.
    bool updateRow(const QuoteRow& row);
    void saveRow(const QuoteRow& row);          // update, or insert when new
    void deleteSummaryRow(int quoteNumber);
    // Nulls of the second sheet format become 0 in every quote row.
    void zeroMissingSecondFormat();

    // --- cost lines ---
    std::vector<CostLine> lines(int quoteNumber, int subQuote);   // DETAIL order
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
    kv::db::Connection& m_db;
};

} // namespace kv::quotes
