#pragma once

#include "quotes/core/CostLine.h"

#include <QString>
#include <vector>

namespace kv::notify {
class MessageSink;
}
namespace kv::quotes {
class CostTables;
class QuoteRow;
} // namespace kv::quotes

namespace kv::production {

// One planned-consumption row of an order item (ORCCONSUMOS without its key
// prefix, delivery date and entry).
struct ConsumptionRow {
    int detail = 0; // DETAIL of the quote cost line
    int tableType = 0; // TIPOTABELA
    int tableCode = 0; // CODTAB
    QString designation; // DESIGN
    QString unit; // UNIDADE: "KGS", "" or "UND"
    QString costClass; // TIPOCUSTO
    double quantity = 0; // QTDAPROV
    int passes = 0; // NROPASSAGENS
    double factor = 0; // PRDHOR
    double makeReady = 0; // ACERTO, hours
    double consumption = 0; // CONSUMO; machine time as h.mm
    double printedSurface = 0; // SUPIMPRESS
    QString article; // ARTIGO
};

// What one sub-quote's production needs for one quantity.
struct ConsumptionPlan {
    double sheets = 0; // NPLANOS
    int passes = 0; // NROENT: the passes of the sub-quote's first printing line
    std::vector<ConsumptionRow> rows; // one per costed line, in the lines' order
};

// The planned consumption of a production-order item: the quote engine's
// cost-line formulas applied to one quantity, quantities only. The sheet
// count is made once per sub-quote, before its first line, with the passes
// of its first printing line. A missing cost-table row, a count in no waste
// band and a zero productivity or units per sheet are told through the sink
// and give zero, never an infinite value or another line's leftovers.
class PlannedConsumption {
public:
    PlannedConsumption(const kv::quotes::CostTables& tables, kv::notify::MessageSink& messages);

    ConsumptionPlan compute(const kv::quotes::QuoteRow& quote, const std::vector<kv::quotes::CostLine>& lines,
                            double quantity) const;

private:
    double sheetCount(const kv::quotes::QuoteRow& quote, int passes, double quantity) const;
    int firstPrintingPasses(const std::vector<kv::quotes::CostLine>& lines) const;

    const kv::quotes::CostTables& m_tables;
    kv::notify::MessageSink& m_messages;
};

} // namespace kv::production
