// What the internal quote print shows of a quote, without a database: the
// machine times, the lines each section and the consumptions take, and the
// totals page's computed rows.
#include "quotes/core/QuotePrintData.h"

#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

QuoteRow subQuote(const QString& unit, double sheets1, double sheets2 = 0)
{
    QuoteRow row;
    row.set("CODIGO", 7);
    row.set("SUBCODIGO", 0);
    row.set("UNIDADE", unit);
    row.set("QTDORC1", 5.0);
    row.set("QTDORC2", 12.0);
    row.set("NPLANOS1", sheets1);
    row.set("NPLANOS2", sheets2);
    return row;
}

CostLine machineLine(int passes, double perHour, double makeReady, double makeReadyHm)
{
    CostLine line;
    line.tableType = 1;
    line.tableCode = 3;
    line.designation = "Offset 4 Cores";
    line.costClass = "CM";
    line.passes = passes;
    line.factor = perHour;
    line.makeReady = makeReady;
    line.makeReadyHm = makeReadyHm;
    return line;
}

struct TimeCase {
    const char* label;
    QString unit;
    double sheets1;
    CostLine line;
    std::optional<PrintedMachine> machine;
    QString makeReady;
    QString production1;
    QString total1;
};

class MachineTimesTest : public ::testing::TestWithParam<TimeCase> {};

TEST_P(MachineTimesTest, givesTheTimesOfOneLine)
{
    const TimeCase& c = GetParam();
    const MachineTimeRow row = machineTimes(subQuote(c.unit, c.sheets1), c.line, c.machine ? &*c.machine : nullptr);
    EXPECT_EQ(row.makeReady, c.makeReady);
    EXPECT_EQ(row.production[0], c.production1);
    EXPECT_EQ(row.total[0], c.total1);
    // The second quantity has no sheets here: its columns stay empty.
    EXPECT_EQ(row.production[1], QString());
    EXPECT_EQ(row.total[1], QString());
}

const PrintedMachine Printer{1, "U"};

INSTANTIATE_TEST_SUITE_P(
    Cases, MachineTimesTest,
    ::testing::Values(
        // 3000 sheets at 6000 an hour: 30 minutes a pass.
        TimeCase{"onePass", "U", 3000, machineLine(1, 6000, 0.5, 0.30), Printer, "00:30", "00:30", "01:00"},
        TimeCase{"noPassesCountAsOne", "U", 3000, machineLine(0, 6000, 0.5, 0.30), Printer, "00:30", "00:30", "01:00"},
        TimeCase{"twoPasses", "U", 3000, machineLine(2, 6000, 0.25, 0.15), Printer, "00:15", "01:00", "01:15"},
        TimeCase{"noMakeReady", "U", 3000, machineLine(1, 6000, 0, 0), Printer, "00:00", "00:30", "00:30"},
        TimeCase{"underTenMinutes", "U", 500, machineLine(1, 6000, 0, 0), Printer, "00:00", "00:05", "00:05"},
        TimeCase{"wholeHour", "U", 6000, machineLine(1, 6000, 0, 0), Printer, "00:00", "01:00", "01:00"},
        TimeCase{"overAnHour", "U", 9000, machineLine(1, 6000, 0, 0), Printer, "00:00", "01:30", "01:30"},
        // h.mm values the binary cannot hold exactly: 0.29 is 0.28999..., 1.15 is 1.1499...
        TimeCase{"storedTimeRounded", "U", 0, machineLine(1, 6000, 0.4833, 0.29), Printer, "00:29", "", ""},
        TimeCase{"storedTimeOverAnHour", "U", 0, machineLine(1, 6000, 1.25, 1.15), Printer, "01:15", "", ""},
        TimeCase{"missingMachineShowsMakeReadyOnly", "U", 3000, machineLine(1, 6000, 0.5, 0.30), std::nullopt, "00:30",
                 "", ""},
        TimeCase{"nothingPerHourHasNoTimes", "U", 3000, machineLine(1, 0, 0.5, 0.30), Printer, "00:30", "", ""},
        // A gluer works on the quantity: 5 thousand at 10000 units an hour is 30 minutes...
        TimeCase{"gluerInUnitsOnThousands", "M", 3000, machineLine(1, 10000, 0, 0), PrintedMachine{3, "U"}, "00:00",
                 "00:30", "00:30"},
        // ... and 5 units are 0.005 thousand: at 0.01 thousand an hour, 30 minutes.
        TimeCase{"gluerInThousandsOnUnits", "U", 3000, machineLine(1, 0.01, 0, 0), PrintedMachine{3, "M"}, "00:00",
                 "00:30", "00:30"},
        TimeCase{"gluerOnItsOwnUnit", "M", 3000, machineLine(1, 10, 0, 0), PrintedMachine{3, "M"}, "00:00", "00:30",
                 "00:30"}),
    [](const auto& testCase) { return std::string(testCase.param.label); });

CostLine line(int detail, int type, int code, const char* costClass, double value1, double percentage = 0)
{
    CostLine l;
    l.detail = detail;
    l.tableType = type;
    l.tableCode = code;
    l.designation = QStringLiteral("Linha %1").arg(detail);
    l.costClass = costClass;
    l.value = {value1, 0, 0};
    l.percentage = percentage;
    return l;
}

std::vector<int> details(const std::vector<CostLine>& lines)
{
    std::vector<int> out;
    for (const CostLine& l : lines)
        out.push_back(l.detail);
    return out;
}

const SectionLines* section(const PrintedSubQuote& sub, PrintSection which)
{
    for (const SectionLines& s : sub.sections)
        if (s.section == which)
            return &s;
    return nullptr;
}

TEST(QuotePrintArrangement, linesGoToTheirSectionsAndTheConsumptionsToPageOne)
{
    PrintedSubQuote sub{subQuote("U", 1000), {}, {}, {}, {}, {}};
    const std::vector<CostLine> lines{line(1, 8, 6, "MP", 10),   line(2, 1, 1, "CM", 20),     line(3, 2, 1, "MP", 3),
                                      line(4, 9, 2, "CM", 4),    line(5, 99, 1, "TR", 50, 5), line(6, 7, 9, "EM", 7),
                                      line(7, 7, 2, "EM", 8),    line(8, 10, 4, "EM", 9),     line(9, 11, 1, "SB", 11),
                                      line(10, 11, 2, "SB", 12), line(11, 11, 3, "SB", 13),   line(12, 4, 4, "MP", 0),
                                      line(13, 5, 2, "MP", 1),   line(14, 10, 1, "PS", 180),  line(15, 10, 5, "", 2)};
    // Subcontract 1 is an accessory, 2 is not, 3 is gone.
    const QHash<int, bool> accessories{{1, true}, {2, false}};
    QuotePrintData::arrange(sub, lines, {{1, Printer}}, accessories);

    // Inks, varnishes, glues and boards only, by table type.
    EXPECT_EQ(details(sub.consumptions), (std::vector<int>{3, 12, 1}));
    std::vector<PrintSection> order;
    for (const SectionLines& s : sub.sections)
        order.push_back(s.section);
    EXPECT_EQ(order, (std::vector<PrintSection>{PrintSection::RawMaterials, PrintSection::Subsidiary,
                                                PrintSection::Machines, PrintSection::Subcontracts,
                                                PrintSection::Accessories, PrintSection::Packaging}));
    EXPECT_EQ(details(section(sub, PrintSection::RawMaterials)->lines), (std::vector<int>{1, 3, 12, 13}));
    EXPECT_EQ(section(sub, PrintSection::RawMaterials)->total[0].toDouble(), 14);
    // A cutting operation is a machine line but has no machine times.
    EXPECT_EQ(details(section(sub, PrintSection::Machines)->lines), (std::vector<int>{2, 4}));
    ASSERT_EQ(sub.machineTimes.size(), 1u);
    EXPECT_EQ(sub.machineTimes[0].designation, "Linha 2");
    // A subcontract without accessory mark, or whose row is gone, is still a subcontract.
    EXPECT_EQ(details(section(sub, PrintSection::Subcontracts)->lines), (std::vector<int>{10, 11}));
    EXPECT_EQ(details(section(sub, PrintSection::Accessories)->lines), (std::vector<int>{9}));
    // Finishes only, by their code; transport, other packaging and lines without class print nowhere.
    EXPECT_EQ(details(section(sub, PrintSection::Packaging)->lines), (std::vector<int>{7, 6}));
}

TEST(QuotePrintTotals, computedRowsAndCommissionCaptions)
{
    QuotePrintData data;
    data.commissionName = {"Custos de Estrutura", "", "Margem"};
    QuoteRow s;
    s.set("CODIGO", 7);
    s.set("SUBCODIGO", 99);
    const std::pair<const char*, double> values[] = {
        {"VALMP1", 100.1}, {"VALPS1", 20.2},     {"VALCM1", 30.3},   {"VALMO1", 4.4},
        {"VALEM1", 5.5},   {"VALSUB1", 6.6},     {"VALTR1", 9},      {"VALCOM1A", 10.05},
        {"VALCOM2A", 2.2}, {"VALCOM3A", 33.3},   {"PRCCOM1", 5},     {"PRCCOM2", 1.5},
        {"PRCCOM3", 12},   {"PRECOORC1", 1.234}, {"PRECOCLI1", 1.3}, {"VALMP2", 200}};
    for (const auto& [column, value] : values)
        s.set(column, value);
    data.summary = s;
    const std::vector<TotalsLine> table = totalsTable(data);
    QStringList captions;
    for (const TotalsLine& l : table)
        captions << l.caption;
    EXPECT_EQ(captions, (QStringList{"MATÉRIAS PRIMAS", "MATÉRIAS SUBSIDIÁRIAS ", "MÁQUINAS", "MÃO DE OBRA",
                                     "EMBALAGEM", "SUBCONTRATOS", "CUSTO BASE :", "TRANSPORTE :", "Custos de Estrutura",
                                     "", "CUSTO COMERCIAL :", "Margem",
                                     "CÁLCULO DO ORÇAMENTO : ", "PREÇO CLIENTE :", "PREÇO APROVADO :"}));
    EXPECT_DOUBLE_EQ(table[6].money[0].toDouble(), 167.1); // 100.1 + 20.2 + 30.3 + 4.4 + 5.5 + 6.6
    EXPECT_DOUBLE_EQ(table[6].money[1].toDouble(), 200);
    EXPECT_DOUBLE_EQ(table[10].money[0].toDouble(), 12.25); // transport is not in it
    EXPECT_EQ(table[9].percentage, "1,5 %");
    EXPECT_DOUBLE_EQ(table[12].money[0].toDouble(), 1.234);
    EXPECT_TRUE(table[14].money[0].isNull());
    EXPECT_TRUE(table[14].column[0].isNull());

    data.summary.reset();
    for (const TotalsLine& l : totalsTable(data)) {
        for (std::size_t n = 0; n < 3; ++n)
            EXPECT_TRUE(l.column[n].isNull() && l.money[n].isNull()) << l.caption.toStdString();
        EXPECT_TRUE(l.percentage.isEmpty());
    }
}

} // namespace
