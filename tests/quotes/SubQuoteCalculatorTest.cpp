#include "quotes/CollectingMessages.h"
#include "quotes/QuoteFixture.h"

#include "quotes/core/QuoteTotals.h"
#include "quotes/core/SubQuoteCalculator.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>

using namespace kv::quotes;
using namespace kv::quotes::test;

namespace {

constexpr int kMachine = 1, kInk = 2, kVarnish = 3, kGlue = 4, kFinish = 7, kBoard = 8, kCutting = 9, kFixed = 10,
              kSubcontract = 11, kTransport = 99;

class SubQuoteCalculatorTest : public ::testing::Test {
protected:
    CostTables tables = plantTables();
    CollectingMessages messages;
    SubQuote sq{plantQuoteRow(), {}};

    bool create(const std::vector<ProcedureLine>& lines)
    {
        SubQuoteCalculator calc(tables, messages, 2);
        return calc.createLines(sq, lines);
    }
    bool recalc()
    {
        SubQuoteCalculator calc(tables, messages, 2);
        return calc.recalculate(sq);
    }
    const CostLine& line(int detail)
    {
        const int i = sq.find(detail);
        EXPECT_GE(i, 0) << "no line " << detail;
        return sq.lines[static_cast<std::size_t>(i < 0 ? 0 : i)];
    }
    double row(const char* column) const { return sq.row.number(QString::fromLatin1(column)); }
    void useSecondFormat()
    {
        sq.row.set("PLNCOMPRIM2", 50.0);
        sq.row.set("PLNLARGURA2", 70.0); // 0.35 m²
    }
};

TEST_F(SubQuoteCalculatorTest, procedureLinesBecomeCostLinesInOrderWithTheirValues)
{
    ASSERT_TRUE(create({procedureLine(kInk, 1), procedureLine(kMachine, 1), procedureLine(kMachine, 2),
                        procedureLine(kFixed, 1), procedureLine(kFinish, 1)}));
    EXPECT_TRUE(messages.errors.isEmpty());
    ASSERT_EQ(sq.lines.size(), 6u);
    // The ink comes before the printing machine: priced on counts equal to the quantities.
    EXPECT_DOUBLE_EQ(line(1).consumption[0], 0.0035);
    EXPECT_DOUBLE_EQ(line(1).consumption[1], 0.007);
    // 5 thousand / 4 per sheet = 1250, +5 %, +10 %: 1444 sheets (and 2888 for 10 thousand).
    EXPECT_DOUBLE_EQ(line(2).value[0], 47.33); // 60 x 0.5 + 60 x 1444 / 5000
    EXPECT_DOUBLE_EQ(line(2).value[1], 64.66);
    EXPECT_DOUBLE_EQ(line(2).value[2], 0);
    EXPECT_EQ(line(2).passes, 1);
    EXPECT_DOUBLE_EQ(line(2).makeReadyHm, 0.30);
    EXPECT_EQ(line(2).costClass, "CM");
    // The printing machine added the board line right after itself.
    EXPECT_EQ(line(3).tableType, kBoard);
    EXPECT_EQ(line(3).tableCode, 1);
    EXPECT_DOUBLE_EQ(line(3).consumption[0], 303.24);
    EXPECT_DOUBLE_EQ(line(3).value[0], 242.59);
    EXPECT_DOUBLE_EQ(line(3).value[1], 485.18);
    EXPECT_DOUBLE_EQ(line(4).value[0], 56.1); // 50 x 0.4 + 50 x 1444 / 2000
    EXPECT_DOUBLE_EQ(line(5).value[0], 25);
    EXPECT_EQ(line(5).costClass, "MP");
    EXPECT_DOUBLE_EQ(line(6).value[1], 120);
    EXPECT_EQ(line(6).costClass, "EM");

    EXPECT_DOUBLE_EQ(row("VALORORC1"), 431.06);
    EXPECT_DOUBLE_EQ(row("VALORCLI1"), 431.06);
    EXPECT_DOUBLE_EQ(row("VALORORC2"), 787.11);
    EXPECT_DOUBLE_EQ(row("VALMP1"), 267.63);
    EXPECT_DOUBLE_EQ(row("VALCM1"), 103.43);
    EXPECT_DOUBLE_EQ(row("VALEM1"), 60);
    EXPECT_DOUBLE_EQ(row("PRECOORC1"), 86.21);
    EXPECT_DOUBLE_EQ(row("PRECOORC2"), 78.71);
    EXPECT_DOUBLE_EQ(row("PRECOORC3"), 0);
    EXPECT_DOUBLE_EQ(row("NPLANOS1"), 1444);
    EXPECT_DOUBLE_EQ(row("NPLANOS2"), 2888);
    // A calculated quote must be issued and approved again.
    EXPECT_EQ(sq.row.integer("ENCNRO"), 0);
    EXPECT_EQ(sq.row.text("APROVADO"), "N");
    EXPECT_EQ(sq.row.text("PRINTE"), "N");
    EXPECT_DOUBLE_EQ(row("QTDADJUD"), 0);
}

TEST_F(SubQuoteCalculatorTest, withoutPrintingMachineBoardsAreAddedForBothFormats)
{
    useSecondFormat();
    sq.row.set("MICROCANAL", 2);
    ASSERT_TRUE(create({procedureLine(kFixed, 1)}));
    ASSERT_EQ(sq.lines.size(), 3u);
    // No printing machine: 1250 net sheets + 5 % finishing only.
    const CostLine& cardstock = line(2);
    EXPECT_EQ(cardstock.tableCode, 1);
    EXPECT_DOUBLE_EQ(cardstock.consumption[0], 1313 * 0.7 * 0.3 + 1313 * 0.35 * 0.3);
    const CostLine& perSheet = line(3);
    EXPECT_EQ(perSheet.tableCode, 2);
    EXPECT_DOUBLE_EQ(perSheet.consumption[0], 2 * 1313); // the sheets of both formats
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(SubQuoteCalculatorTest, secondFormatOnlyOnVarnishGlueAndBoardLines)
{
    useSecondFormat();
    ASSERT_TRUE(create(
        {procedureLine(kMachine, 1), procedureLine(kVarnish, 1), procedureLine(kInk, 1), procedureLine(kGlue, 2)}));
    // machine 1, board 2 (format 1 only: added by the machine), varnish 3, ink 4, glue 5.
    EXPECT_DOUBLE_EQ(line(2).consumption[0], 303.24);
    EXPECT_DOUBLE_EQ(line(3).consumption[0], 1444 * 0.7 * 0.005 + 1444 * 0.35 * 0.005);
    EXPECT_DOUBLE_EQ(line(4).consumption[0], 0.5 * 0.7 * 0.002 * 1444);
    EXPECT_DOUBLE_EQ(line(5).consumption[0], 2 * 0.4 * 5); // rule 2 by quantity, counted for each format
    // A recalculation adds the second format to the board added by the machine.
    ASSERT_TRUE(recalc());
    EXPECT_DOUBLE_EQ(line(2).consumption[0], 303.24 + 1444 * 0.35 * 0.3);
    EXPECT_TRUE(messages.errors.isEmpty());
}

TEST_F(SubQuoteCalculatorTest, machineWithGlueAddsItsGlueLineOnceWithTheGlueKindRate)
{
    sq.row.set("C_COLTIPO", 2);
    ASSERT_TRUE(create({procedureLine(kMachine, 3)}));
    ASSERT_EQ(sq.lines.size(), 3u); // gluer, its glue, the board (no printing machine)
    EXPECT_DOUBLE_EQ(line(1).value[0], 40 * (5000.0 / 10000 + 0.25));
    EXPECT_EQ(line(2).tableType, kGlue);
    // CONSUMCOLA2 200 g, on counts still equal to the quantities (no printing machine before it).
    EXPECT_DOUBLE_EQ(line(2).consumption[0], 5 * 0.7 * 0.2);
    // A recalculation prices it with the glue's own consumption and adds no second glue line.
    ASSERT_TRUE(recalc());
    ASSERT_EQ(sq.lines.size(), 3u);
    EXPECT_DOUBLE_EQ(line(2).consumption[0], 1313 * 0.7 * 0.004);
}

TEST_F(SubQuoteCalculatorTest, secondPrintingMachineRecomputesCountsWithItsPasses)
{
    ASSERT_TRUE(create({procedureLine(kMachine, 1), procedureLine(kMachine, 6), procedureLine(kFixed, 1)}));
    // machine 6 prints one colour per pass: 2 passes, +12 % instead of +10 %; no further boards.
    ASSERT_EQ(sq.lines.size(), 4u);
    EXPECT_EQ(line(3).passes, 2);
    EXPECT_DOUBLE_EQ(row("NPLANOS1"), 1470);
    EXPECT_DOUBLE_EQ(line(3).value[0], 83.28); // 60 x 0.8 + 60 x 1470 / 5000 x 2
}

TEST_F(SubQuoteCalculatorTest, missingTableRowsAreReportedAndSkipped)
{
    ASSERT_TRUE(create({procedureLine(kMachine, 77), procedureLine(kInk, 77), procedureLine(kGlue, 77),
                        procedureLine(kTransport, 77), procedureLine(kSubcontract, 77), procedureLine(kFixed, 1)}));
    EXPECT_EQ(messages.errors, QStringList({"Erro Grave, Código da Máquina Inexistente --> 77",
                                            "Erro Grave, Referência da Tinta Inexistente !!!",
                                            "Erro Grave, Referência de Cola Inexistente !!!",
                                            "Erro Grave, Serviço de subcontratação Inexistente !!!"}));
    ASSERT_EQ(sq.lines.size(), 2u); // the fixed cost and the board
    EXPECT_EQ(sq.lines[0].tableType, kFixed);
    EXPECT_EQ(sq.lines[0].detail, 1);
}

TEST_F(SubQuoteCalculatorTest, unknownSubcontractUnitIsReportedTwiceAndPricedAsOneJob)
{
    tables.subcontracts[1].unit = QStringLiteral("CX");
    ASSERT_TRUE(create({procedureLine(kSubcontract, 1)}));
    EXPECT_EQ(messages.notices, QStringList({"Não foi definida Unidade de cálculo para subcontrato Estampagem",
                                             "Vai ser atribuído o custo : 75"}));
    EXPECT_DOUBLE_EQ(line(1).value[0], 75);
    EXPECT_EQ(line(1).costClass, "SB");
    EXPECT_DOUBLE_EQ(row("VALSUB1"), 75);
}

TEST_F(SubQuoteCalculatorTest, fixedCostWithoutClassCountsOnlyUntilTheTotals)
{
    ASSERT_TRUE(create({procedureLine(kFixed, 2), procedureLine(kFinish, 2)}));
    EXPECT_EQ(line(1).costClass, "");
    // The percentage finish takes 3 % of what was calculated before it.
    EXPECT_DOUBLE_EQ(line(2).value[0], 0.3);
    EXPECT_DOUBLE_EQ(line(2).percentage, 3);
    const double withBoard = row("VALORORC1");
    subQuoteTotals(sq.row, 2);
    EXPECT_DOUBLE_EQ(row("VALORORC1"), withBoard - 10);
}

// A stored price stays; a machine line is priced at the machine's current
// rate per hour and shows that rate as its price.
TEST_F(SubQuoteCalculatorTest, recalculationKeepsStoredPricesButFollowsTheMachineCost)
{
    ASSERT_TRUE(create({procedureLine(kMachine, 2), procedureLine(kFixed, 1)}));
    tables.machines[2].costPerHour = 100;
    tables.fixedCosts[1].price = 99;
    ASSERT_TRUE(recalc());
    EXPECT_DOUBLE_EQ(line(1).price, 100);
    EXPECT_DOUBLE_EQ(line(1).value[0], 100 * 0.4 + 100 * 1313 / 2000.0);
    EXPECT_DOUBLE_EQ(line(2).value[0], 25);
}

// A quantity changed after the lines were priced: every line, also one
// before the first printing machine, is priced on the new quantity's sheets.
TEST_F(SubQuoteCalculatorTest, recalculationUsesCountsOfTheCurrentQuantities)
{
    ASSERT_TRUE(create({procedureLine(kFixed, 1), procedureLine(kMachine, 1)}));
    ASSERT_DOUBLE_EQ(row("NPLANOS1"), 1444);
    sq.row.set("QTDORC1", 10.0);
    sq.row.set("QTDORC2", 0.0);
    ASSERT_TRUE(recalc());
    EXPECT_DOUBLE_EQ(row("NPLANOS1"), 2888);
    EXPECT_DOUBLE_EQ(row("NPLANOS2"), 0);
    EXPECT_EQ(line(1).tableType, kFixed);
    EXPECT_DOUBLE_EQ(line(1).value[1], 0); // quantity 2 is no longer quoted
    EXPECT_DOUBLE_EQ(line(3).consumption[0], 2888 * 0.7 * 0.3);
}

TEST_F(SubQuoteCalculatorTest, recalculationWalksLinesInDetailOrder)
{
    ASSERT_TRUE(create({procedureLine(kFixed, 1), procedureLine(kFinish, 2)}));
    std::reverse(sq.lines.begin(), sq.lines.end()); // as a database might return them
    ASSERT_TRUE(recalc());
    // The percentage finish (line 2) still sees the fixed cost (line 1) before it.
    EXPECT_DOUBLE_EQ(line(2).value[0], 0.75);
    EXPECT_EQ(sq.lines.front().detail, 1);
}

TEST_F(SubQuoteCalculatorTest, zeroDivisorsStopTheLineWithAMessageNamingQuoteLineAndRow)
{
    ASSERT_TRUE(create({procedureLine(kMachine, 9), procedureLine(kMachine, 8), procedureLine(kFixed, 1)}));
    ASSERT_EQ(messages.errors.size(), 2);
    EXPECT_EQ(messages.errors[0],
              "Erro Grave, Máquina 9 sem Factor de Produção para o grau 1 (Orçamento nº 7/0, linha 1) !!!");
    EXPECT_EQ(messages.errors[1], "Erro Grave, Máquina 8 sem Nº de Côres por passagem (Orçamento nº 7/0, linha 1) !!!");
    for (const CostLine& l : sq.lines)
        for (double v : l.value)
            EXPECT_TRUE(std::isfinite(v));
    EXPECT_EQ(sq.lines.front().tableType, kFixed);
}

// Values too large for the totals in a cost table stop the calculation
// with a message, as a zero divisor does, instead of an exception that
// would end the program from the worksheet.
TEST_F(SubQuoteCalculatorTest, hugeCostTableValuesStopTheCalculationWithAMessageNamingQuoteLineAndRow)
{
    for (const bool recalculating : {false, true}) {
        SCOPED_TRACE(recalculating ? "recalculation" : "new lines");
        tables = plantTables();
        sq = SubQuote{plantQuoteRow(), {}};
        messages.errors.clear();
        if (recalculating) {
            // A recalculation keeps the stored prices: the huge one is the line's own.
            ASSERT_TRUE(create({procedureLine(kInk, 1), procedureLine(kFixed, 1)}));
            for (CostLine& l : sq.lines)
                if (l.tableType == kFixed)
                    l.price = 5e15; // beyond the totals' fixed point
        } else {
            tables.fixedCosts.at(1).price = 5e15;
        }
        EXPECT_FALSE(recalculating ? recalc() : create({procedureLine(kInk, 1), procedureLine(kFixed, 1)}));
        ASSERT_EQ(messages.errors.size(), 1);
        EXPECT_TRUE(messages.errors[0].startsWith("Erro Grave, Valor fora do intervalo dos totais: "))
            << messages.errors[0].toStdString();
        EXPECT_TRUE(messages.errors[0].endsWith("código 1 (Orçamento nº 7/0, linha 2) !!!"))
            << messages.errors[0].toStdString();
    }
}

TEST_F(SubQuoteCalculatorTest, gradeOutsideOneToThreeStopsTheMachineLine)
{
    sq.row.set("PRDHORACV", 4);
    ASSERT_TRUE(create({procedureLine(kMachine, 2)}));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_TRUE(messages.errors[0].contains("grau 4"));
}

TEST_F(SubQuoteCalculatorTest, zeroUnitsPerSheetRefusesTheCalculation)
{
    sq.row.set("UNDPLANO", 0);
    EXPECT_FALSE(create({procedureLine(kFixed, 1)}));
    EXPECT_TRUE(sq.lines.empty());
    EXPECT_EQ(messages.errors, QStringList({"Erro Grave, Unidades por Plano Inválidas (0) no Orçamento nº 7/0 !!!"}));
}

// One calculator for two sub-quotes: nothing of the first calculation leaks
// into the second (its stage, passes and sheet counts).
TEST_F(SubQuoteCalculatorTest, contextStartsAfreshForEveryCalculation)
{
    SubQuoteCalculator calc(tables, messages, 2);
    ASSERT_TRUE(calc.createLines(sq, {procedureLine(kMachine, 6)})); // 2 passes
    SubQuote other{plantQuoteRow(), {}};
    other.row.set("SUBCODIGO", 1);
    ASSERT_TRUE(calc.createLines(other, {procedureLine(kFixed, 1)}));
    EXPECT_EQ(other.lines.size(), 2u); // the fixed cost and its board line
    EXPECT_DOUBLE_EQ(other.row.number("NPLANOS1"), 1313); // no printing waste
    EXPECT_EQ(other.lines[1].subQuote, 1);
}

TEST_F(SubQuoteCalculatorTest, transportLineFromProcedureIsWorthNothingUntilKilometres)
{
    ASSERT_TRUE(create({procedureLine(kFixed, 1), procedureLine(kTransport, 1)}));
    EXPECT_EQ(line(2).designation, "Custo de Transporte");
    EXPECT_DOUBLE_EQ(line(2).value[0], 0);
    sq.lines[1].kilometres = 120;
    ASSERT_TRUE(recalc());
    EXPECT_DOUBLE_EQ(line(2).value[0], 180);
    EXPECT_DOUBLE_EQ(line(2).kilometres, 120);
    EXPECT_DOUBLE_EQ(row("VALTR1"), 180);
}

TEST_F(SubQuoteCalculatorTest, cuttingOperationPerSheetOnThousandsQuote)
{
    ASSERT_TRUE(create({procedureLine(kCutting, 1)}));
    ASSERT_TRUE(recalc());
    EXPECT_DOUBLE_EQ(line(1).value[0], 13.13); // 1313 sheets x 0.01, not per thousand
}

} // namespace
