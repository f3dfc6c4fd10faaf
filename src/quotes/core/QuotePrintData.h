#pragma once

#include "quotes/core/CostLine.h"
#include "quotes/core/QuoteRow.h"

#include "platform/text/Fixed4.h"

#include <QHash>
#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// What the internal print needs of a machine a line names.
struct PrintedMachine {
    int type = 0; // TIPOMAQUINA
    QString productionUnit; // UNDPROD: "U" units, "M" thousands
};

// The sections of the cost lines page, in the order they print.
enum class PrintSection { RawMaterials, Subsidiary, Machines, Labour, Subcontracts, Accessories, Packaging };

struct SectionLines {
    PrintSection section = PrintSection::RawMaterials;
    std::vector<CostLine> lines;
    std::array<kv::text::Fixed4, 3> total{}; // running totals of VALQTD1..3
};

// The times of one machine line of a sub-quote, as text ("hh:mm"); an empty
// text where the time cannot be given.
struct MachineTimeRow {
    QString designation;
    QString makeReady;
    std::array<QString, 3> production;
    std::array<QString, 3> total;
};

// One sub-quote as the internal print shows it.
struct PrintedSubQuote {
    QuoteRow row;
    QString locality; // LOCALIDADE of its postal code; empty when not found
    QString salesman; // NOME of its salesman; empty when not found
    std::vector<CostLine> consumptions; // inks, varnishes, glues, boards and papers
    std::vector<SectionLines> sections; // the sections that have lines, in print order
    std::vector<MachineTimeRow> machineTimes;
};

// Everything the three pages of the internal quote print show of one quote,
// read by key: the sub-quote rows, their lines in one read, the machines and
// subcontracts the lines name, the summary row and the commission names.
struct QuotePrintData {
    int quoteNumber = 0;
    std::vector<PrintedSubQuote> subQuotes;
    std::optional<QuoteRow> summary;
    std::array<QString, 3> commissionName; // DESIGNCOM1..3 of ORCPARGER row 1

    // `invoicing` holds the postal codes and salesmen; without it their
    // texts stay empty.
    static QuotePrintData load(kv::db::Connection& application, kv::db::Connection* invoicing, int quoteNumber);

    // The print's view of one sub-quote's lines (in DETAIL order): the
    // consumption lines, the sections and the machine times. A subcontract
    // line without an accessory mark (or whose subcontract is gone) counts
    // as a subcontract, never as nothing.
    static void arrange(PrintedSubQuote& sub, const std::vector<CostLine>& lines,
                        const QHash<int, PrintedMachine>& machines, const QHash<int, bool>& accessorySubcontracts);
};

// A row of the totals page: its caption, the commission's percentage text
// and, per quantity, either a stored column (`column`) or a computed money
// value (`money`); null where the row shows nothing.
struct TotalsLine {
    QString caption;
    QString percentage;
    std::array<QVariant, 3> column;
    std::array<QVariant, 3> money;
};

// The totals page's rows for the summary row (all empty without one): the
// cost classes, the base cost, transport, the commissions under their
// names, the commercial cost, the quote's and the client's prices, and the
// approved price left empty.
std::vector<TotalsLine> totalsTable(const QuotePrintData& data);

// Section titles as the page prints them ("MATÉRIAS PRIMAS", ...).
QString sectionTitle(PrintSection section);

// Caption of a sub-quote: "(ORÇAMENTO BASE)" for 0, "(ACESSÓRIOS)" otherwise.
QString subQuoteCaption(int subQuote);
// Caption of a quote unit: "MILHEIRO" for "M", "UNIDADES" otherwise.
QString unitCaption(const QString& unit);

// The production and total times of a machine line (`TIPOTABELA` 1) of a
// sub-quote; `machine` null when the line's machine is gone.
MachineTimeRow machineTimes(const QuoteRow& sub, const CostLine& line, const PrintedMachine* machine);

} // namespace kv::quotes
