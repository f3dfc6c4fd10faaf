#pragma once

#include "quotes/core/CalculationContext.h"
#include "quotes/core/CostTables.h"
#include "platform/notify/MessageSink.h"
#include "quotes/core/SubQuote.h"

#include <functional>
#include <vector>

namespace kv::text {
class Fixed4Error;
}

namespace kv::quotes {

struct MachineRow;

// The cost-line calculation of one sub-quote, in memory: creates the lines
// of a new sub-quote from its procedures or recalculates the lines it has,
// pricing each line by the routine of its table type and adding it into the
// sub-quote row's running totals. Messages go to the sink; a line whose table
// row is missing, or whose machine has no usable factor, is not written and
// the calculation goes on.
class SubQuoteCalculator {
public:
    SubQuoteCalculator(const CostTables& tables, notify::MessageSink& messages, int priceDecimals);

    // Creates and calculates the lines of a sub-quote that has none, from the
    // chosen procedures' lines in order. False (nothing changed) when the
    // sub-quote cannot be calculated.
    bool createLines(SubQuote& subQuote, const std::vector<ProcedureLine>& procedureLines);

    // Recalculates every line with the sub-quote's current quantities, in
    // DETAIL order, from fresh sheet counts. False (nothing changed) when the
    // sub-quote cannot be calculated.
    bool recalculate(SubQuote& subQuote);

    // The line being entered or changed by hand, at `index` of the lines (a
    // line just added is there already under its own DETAIL): priced with
    // the price, percentage, kilometres and machine choices it holds, both
    // sheet formats for varnish, glue and board lines of a quote with a
    // second format, written over itself (never appended, in any worksheet
    // mode) and added into the row's running totals. It adds no line of its
    // own. False (nothing changed) when it cannot be calculated.
    bool calculateEnteredLine(SubQuote& subQuote, int index);

    const CalculationContext& context() const { return m_ctx; }

    // Told the line being recalculated ("orçamento nº 7Impressão"), and an
    // empty text once the recalculation is over.
    void setStatus(std::function<void(const QString&)> status) { m_status = std::move(status); }

private:
    bool createLinesOf(SubQuote& sq, const std::vector<ProcedureLine>& procedureLines);
    bool recalculateLines(SubQuote& sq);
    void recalculateLineAt(SubQuote& sq, int index);
    bool overflowStops(const kv::text::Fixed4Error& error);
    bool begin(const SubQuote& subQuote);
    void computeSheets(int passes);
    void startLine(int tableType, int tableCode, const QString& designation, int detail, bool create);
    void runRoutine(SubQuote& sq, int tableType);
    void machineLine(SubQuote& sq);
    bool machineCheck(const MachineRow& machine);
    void boardLine(SubQuote& sq);
    void materialLine(SubQuote& sq, int tableType);
    void transportLine(SubQuote& sq);
    void boardLinesAfterProcedures(SubQuote& sq);
    void writeLine(SubQuote& sq);
    void writeFirstPass(SubQuote& sq);
    void writeSecondPass(SubQuote& sq);
    void addToRow(SubQuote& sq);
    int lastPrintingPasses(const SubQuote& sq) const;
    QString where() const;

    const CostTables& m_tables;
    notify::MessageSink& m_messages;
    int m_priceDecimals;
    CalculationContext m_ctx;
    int m_recalcIndex = -1; // line being recalculated
    int m_linesWritten = 0;
    std::function<void(const QString&)> m_status;
};

} // namespace kv::quotes
