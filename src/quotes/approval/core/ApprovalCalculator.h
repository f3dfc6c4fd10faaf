#pragma once

#include "quotes/core/CostTables.h"
#include "quotes/core/Vocabulary.h"

#include <QString>
#include <array>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}
namespace kv::notify {
class MessageSink;
}

namespace kv::quotes::approval {

// A stored cost line as the approval prices it again.
struct ApprovalLine {
    int detail = 0; // DETAIL
    int tableType = 0; // TIPOTABELA
    int tableCode = 0; // CODTAB
    double price = 0; // PRECO
    double percentage = 0; // PERC
    double distance = 0; // QUANTID, km of a transport line
    int passes = 0; // NROPASSAGENS
    int grade = 0; // CODPRDHOR, speed level
    int makeReadyChoice = 0; // CODACERTO
};

// A sub-quote row (SUBCODIGO 0 to 9) with its lines in DETAIL order.
struct ApprovalSubQuote {
    int subQuote = 0;
    QString unit; // UNIDADE: "U" units, else thousands
    int unitsPerSheet = 0; // UNDPLANO
    int colours = 0; // NROCORES
    QString normalFinishing; // ACABNORMAL
    bool embossed = false; // RELEVO "S"
    double printedSurface = 0; // SUPERFIMPR, percent
    double windowWeight = 0; // PESOJANELAS
    std::array<double, 2> formatLength{}; // PLNCOMPRIM1/2, cm
    std::array<double, 2> formatWidth{}; // PLNLARGURA1/2, cm
    double factor = 1; // f: its QTDORC1 over sub-quote 0's (1 for sub-quote 0 or when that is 0)
    std::vector<ApprovalLine> lines;

    double area(int format) const { return formatLength[format] / 100.0 * formatWidth[format] / 100.0; }
};

// What the approval recalculates: every sub-quote of the quote, the summary
// row's commissions and how the general parameters apply them.
struct ApprovalQuote {
    int number = 0;
    std::vector<ApprovalSubQuote> subQuotes; // in SUBCODIGO order
    std::array<double, 2> commission{}; // PRCCOM1, PRCCOM2 of the summary row, percent
    std::array<QString, 2> incidence; // TIPINCID1, TIPINCID2 of ORCPARGER 1: "P" on the sale, else on cost
    bool parametersFound = false; // ORCPARGER row 1 exists

    static ApprovalQuote read(kv::db::Connection& application, int quoteNumber);
};

// The values the user typed that the recalculation takes.
struct ApprovalInput {
    double quantity = 0; // Q, in the quote's unit of sale
    double price = 0; // P, per unit of Q
    bool repeatOrder = false; // "Reaprov." "S"
    bool unchangedRepeat = true; // "S/ Alteração " (else "C/ Alteração ")
};

struct ApprovalResult {
    std::array<double, 7> classTotals{}; // by kCostClasses, each rounded to the money decimals
    double costBase = 0; // B: the seven totals, through the 4-decimal fixed point
    double saleValue = 0; // S = Q x P, rounded to the money decimals
    double commission1 = 0;
    double commission2 = 0;
    double costs = 0; // C = CM + EM + MP + MO + PS + SB
    double commercialCosts = 0; // K = TR + both commissions
    double marginValue = 0; // M = S - (K + C), rounded to the money decimals
    double marginPercent = 0; // M x 100 / S, rounded to 2 decimals

    double classTotal(CostClass costClass) const;
};

// Works a quote out again for one approved quantity and price, over the cost
// tables as they are today, with the worksheet's formulas and the approval's
// own rules (one quantity, the sheet count always from the approved
// quantity, today's glue and subcontract prices, finishes, gluers and
// unit-priced subcontracts on the quantity without the sub-quote factor,
// printing make-ready over every pass, fixed costs of gross profit left out
// of an unchanged repeat order). Nothing is written.
class ApprovalCalculator {
public:
    ApprovalCalculator(const CostTables& tables, kv::notify::MessageSink& messages, int moneyDecimals);

    // The result, or nothing when the quote cannot be worked out for this
    // quantity (a sheet count in no waste band, no units per sheet, a machine
    // without speed factor or make-ready level, no general parameters, a
    // quantity or price of 0 or less); the message names the sub-quote and
    // line. A line whose table row is missing is told and adds nothing.
    std::optional<ApprovalResult> calculate(const ApprovalQuote& quote, const ApprovalInput& input);

private:
    struct Walk;
    bool sheetCount(Walk& walk, const ApprovalSubQuote& subQuote, int passes);
    bool evaluate(Walk& walk, const ApprovalSubQuote& subQuote, const ApprovalLine& line, int format);
    void add(Walk& walk, CostClass costClass, double value);

    const CostTables& m_tables;
    kv::notify::MessageSink& m_messages;
    int m_moneyDecimals;
};

} // namespace kv::quotes::approval
