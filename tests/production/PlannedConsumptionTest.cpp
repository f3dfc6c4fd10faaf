// The planned consumption of one order item: each cost-table type, the glue
// rules, the machine kinds, the sheet count's waste steps, h.mm and the rows
// the tables lack.
#include "production/core/PlannedConsumption.h"

#include "platform/notify/MessageSink.h"
#include "quotes/core/CostTables.h"
#include "quotes/core/MachineFormulas.h"
#include "quotes/core/QuoteRow.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

using kv::production::ConsumptionPlan;
using kv::production::PlannedConsumption;
using kv::quotes::CostLine;

class PlanMessages : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { texts << text; }
    void information(const QString& text) override { texts << text; }
    // Exactly the message that starts with `start`, or none when it is null.
    void expectOnly(const char* start) const
    {
        if (!start) {
            EXPECT_TRUE(texts.isEmpty()) << texts.join('\n').toStdString();
            return;
        }
        ASSERT_EQ(texts.size(), 1);
        EXPECT_TRUE(texts[0].startsWith(QString::fromUtf8(start))) << texts[0].toStdString();
    }
    QStringList texts;
};

kv::quotes::CostTables planTables()
{
    using namespace kv::quotes;
    CostTables t;
    MachineRow printer;
    printer.code = 1;
    printer.designation = "Impressora 4 cores";
    printer.machineType = 1;
    printer.factor[0] = 1000;
    printer.passMin[0] = 0.5;
    printer.passMin[1] = 0.75;
    printer.passMin[2] = 1.0;
    printer.passMin[3] = 1.25;
    t.machines[1] = printer;
    MachineRow cutter;
    cutter.code = 2;
    cutter.designation = "Cortante";
    cutter.machineType = 2;
    cutter.factor[1] = 2000;
    cutter.dieMin[1] = 0.5;
    t.machines[2] = cutter;
    MachineRow gluer;
    gluer.code = 3;
    gluer.designation = "Coladeira";
    gluer.machineType = 3;
    gluer.productionUnit = "U";
    gluer.factor[0] = 6000;
    gluer.sideSeamMin = 0.5;
    t.machines[3] = gluer;
    gluer.code = 5;
    gluer.productionUnit = "M";
    t.machines[5] = gluer;
    MachineRow counter;
    counter.code = 4;
    counter.designation = "Contracoladeira";
    counter.machineType = 4;
    counter.factor[0] = 5500;
    counter.sideSeamMin = 0.4;
    t.machines[4] = counter;
    t.wasteBands = {{1, 0, 100000, 10, 5, {2, 4, 6, 8}}};
    t.inks[1] = {1, "Tinta Azul", 2, 0, "TINTA01"};
    t.varnishes[1] = {1, "Verniz Brilho", 5, 0, "VERN01"};
    t.films[1] = {1, "Filme Mate", 20, 0, "FILME01"};
    t.pvcs[1] = {1, "PVC Janela", 0, 0, "PVC01"};
    t.glues[1] = {1, "Cola Área", 10, 0, 0, "1", "COLA01"};
    t.glues[2] = {2, "Cola Unidade", 8, 0, 0, "2", "COLA02"};
    t.glues[3] = {3, "Cola Percentagem", 8, 2, 0, "3", "COLA03"};
    t.boards[1] = {1, "Cartolina 300g", 300, 0, "1", "CART300"};
    t.boards[2] = {2, "Cartolina por folha", 300, 0, "2", "CARTFL"};
    FinishRow labour;
    labour.code = 1;
    labour.designation = "Escolha manual";
    labour.costType = "1";
    t.finishes[1] = labour;
    FinishRow packing = labour;
    packing.code = 2;
    packing.designation = "Caixa de cartão";
    packing.costType = "2";
    t.finishes[2] = packing;
    CuttingRow cutting;
    cutting.code = 1;
    cutting.designation = "Guilhotina";
    t.cuttings[1] = cutting;
    FixedCostRow fixed;
    fixed.code = 1;
    fixed.designation = "Transporte interno";
    fixed.packaging = true;
    fixed.labour = true;
    t.fixedCosts[1] = fixed;
    return t;
}

// 10 thousand units, 4 per sheet of 100 x 70 cm: 2500 net sheets.
kv::quotes::QuoteRow planQuote()
{
    kv::quotes::QuoteRow q;
    q.set("CODIGO", 500);
    q.set("SUBCODIGO", 0);
    q.set("UNIDADE", "M");
    q.set("UNDPLANO", 4);
    q.set("NROCORES", 4);
    q.set("ACABNORMAL", "S");
    q.set("PLNCOMPRIM1", 100.0);
    q.set("PLNLARGURA1", 70.0);
    q.set("PLNCOMPRIM2", 0.0);
    q.set("PLNLARGURA2", 0.0);
    q.set("SUPERFIMPR", 50.0);
    q.set("PESOJANELAS", 0.002);
    q.set("RELEVO", "N");
    return q;
}

CostLine planLine(int type, int code, const char* costClass, int passes = 0, int grade = 1, int choice = 1)
{
    CostLine l;
    l.detail = 1;
    l.tableType = type;
    l.tableCode = code;
    l.designation = "Linha do orçamento";
    l.costClass = costClass;
    l.passes = passes;
    l.grade = grade;
    l.makeReadyChoice = choice;
    return l;
}

struct LineCase {
    const char* label;
    CostLine line;
    double secondFormatLength; // PLNCOMPRIM2 (x 40 cm) or 0
    const char* embossed;
    const char* costClass;
    const char* unit;
    const char* designation;
    const char* article;
    double consumption;
    int passes;
    const char* message; // nullptr: none
};

// With no printing line the count has the finishing waste only: 2750 sheets.
const LineCase LineCases[] = {
    {"ink", planLine(2, 1, "MP"), 0, "N", "MP", "KGS", "Tinta Azul", "TINTA01", 2.75, 0, nullptr},
    {"varnish", planLine(3, 1, "MP"), 0, "N", "MP", "KGS", "Verniz Brilho", "VERN01", 9.625, 0, nullptr},
    {"varnish_second_format", planLine(3, 1, "MP"), 50, "N", "MP", "KGS", "Verniz Brilho", "VERN01", 2.75, 0, nullptr},
    {"glue_by_area", planLine(4, 1, "MP"), 0, "N", "MP", "KGS", "Cola Área", "COLA01", 19.25, 0, nullptr},
    {"glue_second_format", planLine(4, 1, "MP"), 50, "N", "MP", "KGS", "Cola Área", "COLA01", 5.5, 0, nullptr},
    {"glue_by_quantity", planLine(4, 2, "MP"), 0, "N", "MP", "KGS", "Cola Unidade", "COLA02", 0.08, 0, nullptr},
    {"glue_by_percentage", planLine(4, 3, "MP"), 0, "N", "MP", "KGS", "Cola Percentagem", "COLA03", 0.16, 0, nullptr},
    {"film_keeps_first_format", planLine(5, 1, "MP"), 50, "N", "MP", "KGS", "Filme Mate", "FILME01", 38.5, 0, nullptr},
    {"window_pvc", planLine(6, 1, "MP"), 0, "N", "MP", "KGS", "PVC Janela", "PVC01", 0.02, 0, nullptr},
    {"board_by_weight", planLine(8, 1, "MP"), 0, "N", "MP", "KGS", "Cartolina 300g", "CART300", 577.5, 0, nullptr},
    {"board_second_format", planLine(8, 1, "MP"), 50, "N", "MP", "KGS", "Cartolina 300g", "CART300", 165, 0, nullptr},
    {"board_per_sheet", planLine(8, 2, "MP"), 0, "N", "MP", "KGS", "Cartolina por folha", "CARTFL", 2750, 0, nullptr},
    {"finish_labour", planLine(7, 1, "EM"), 0, "N", "MO", "UND", "Escolha manual", "", 0, 0, nullptr},
    {"finish_packaging", planLine(7, 2, "MO"), 0, "N", "EM", "UND", "Caixa de cartão", "", 0, 0, nullptr},
    {"cutting_operation", planLine(9, 1, "CM"), 0, "N", "CM", "", "Guilhotina", "", 0, 1, nullptr},
    {"fixed_cost_last_flag_wins", planLine(10, 1, "PS"), 0, "N", "MO", "UND", "Transporte interno", "", 0, 0, nullptr},
    // Machines: P x run minutes + set-up minutes, as h.mm.
    {"cutter", planLine(1, 2, "CM", 0, 2, 2), 0, "N", "CM", "", "Cortante", "", 1.52, 1, nullptr},
    {"cutter_embossed", planLine(1, 2, "CM", 0, 2, 2), 0, "S", "CM", "", "Cortante", "", 2.22, 1, nullptr},
    {"gluer_in_units", planLine(1, 3, "CM"), 0, "N", "CM", "", "Coladeira", "", 2.10, 1, nullptr},
    {"gluer_in_thousands", planLine(1, 5, "CM"), 0, "N", "CM", "", "Coladeira", "", 0.30, 1, nullptr},
    {"counter_gluer", planLine(1, 4, "CM"), 0, "N", "CM", "", "Contracoladeira", "", 0.54, 1, nullptr},
    {"zero_productivity_keeps_set_up", planLine(1, 3, "CM", 0, 0), 0, "N", "CM", "", "Coladeira", "", 0.30, 1,
     "Produtividade da máquina 3 a zero"},
    // Rows the tables lack keep their cost line's class and designation.
    {"missing_machine", planLine(1, 77, "CM"), 0, "N", "CM", "", "Linha do orçamento", "", 0, 1,
     "Erro Grave, Código da Máquina Inexistente --> 77"},
    {"missing_ink", planLine(2, 9, "MP"), 0, "N", "MP", "KGS", "Linha do orçamento", "", 0, 0,
     "Erro Grave, Referência da Tinta Inexistente !!!"},
    {"missing_board", planLine(8, 9, "MP"), 0, "N", "MP", "KGS", "Linha do orçamento", "", 0, 0,
     "Erro Grave, Tipo de Papel Inexistente !!!"},
    {"missing_cutting", planLine(9, 9, "CM"), 0, "N", "CM", "", "Linha do orçamento", "", 0, 1,
     "Erro Grave, codigo - Oper.Corte - Inexistente !!!"},
    {"missing_finish", planLine(7, 9, "EM"), 0, "N", "EM", "UND", "Linha do orçamento", "", 0, 0, nullptr},
};

class PlanLines : public ::testing::TestWithParam<LineCase> {};

TEST_P(PlanLines, GiveTheirRow)
{
    const LineCase& c = GetParam();
    const kv::quotes::CostTables tables = planTables();
    PlanMessages messages;
    kv::quotes::QuoteRow quote = planQuote();
    quote.set("PLNCOMPRIM2", c.secondFormatLength);
    quote.set("PLNLARGURA2", c.secondFormatLength == 0 ? 0.0 : 40.0);
    quote.set("RELEVO", c.embossed);
    const ConsumptionPlan plan = PlannedConsumption(tables, messages).compute(quote, {c.line}, 10);
    ASSERT_EQ(plan.rows.size(), 1u);
    const kv::production::ConsumptionRow& row = plan.rows[0];
    EXPECT_EQ(plan.sheets, 2750);
    EXPECT_EQ(row.costClass, c.costClass);
    EXPECT_EQ(row.unit, c.unit);
    EXPECT_EQ(row.designation, QString::fromUtf8(c.designation));
    EXPECT_EQ(row.article, c.article);
    EXPECT_NEAR(row.consumption, c.consumption, 1e-9);
    EXPECT_EQ(row.passes, c.passes);
    EXPECT_EQ(row.quantity, 10);
    EXPECT_EQ(row.printedSurface, 50);
    messages.expectOnly(c.message);
}

INSTANTIATE_TEST_SUITE_P(Consumption, PlanLines, ::testing::ValuesIn(LineCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(PlanLinesOfOtherClasses, GetNoRow)
{
    const kv::quotes::CostTables tables = planTables();
    PlanMessages messages;
    const ConsumptionPlan plan = PlannedConsumption(tables, messages)
                                     .compute(planQuote(), {planLine(11, 1, "SB"), planLine(99, 1, "TR")}, 10);
    EXPECT_TRUE(plan.rows.empty());
}

// The first printing line sets the passes of the whole sub-quote: the count,
// NROENT, and the machine time of a cost line met before it.
TEST(PlanPrinting, FirstPrintingLineCountsForTheWholeSubQuote)
{
    const kv::quotes::CostTables tables = planTables();
    PlanMessages messages;
    CostLine board = planLine(8, 1, "MP");
    CostLine printing = planLine(1, 1, "CM", 2);
    printing.detail = 2;
    const ConsumptionPlan plan = PlannedConsumption(tables, messages).compute(planQuote(), {board, printing}, 10);
    // 2500 + 10 % + 4 % for two passes.
    EXPECT_EQ(plan.sheets, 2860);
    EXPECT_EQ(plan.passes, 2);
    ASSERT_EQ(plan.rows.size(), 2u);
    EXPECT_NEAR(plan.rows[0].consumption, 2860 * 0.7 * 0.3, 1e-9);
    // 2 x 171.6 run minutes + 45 set-up minutes = 388 minutes.
    EXPECT_NEAR(plan.rows[1].consumption, 6.28, 1e-9);
    EXPECT_EQ(plan.rows[1].makeReady, 0.75);
    EXPECT_EQ(plan.rows[1].factor, 1000);
    EXPECT_EQ(plan.rows[1].passes, 2);
}

struct CountCase {
    const char* label;
    int colours;
    const char* finishing;
    int passes; // of the printing line; 0: no printing line
    double quantity;
    int unitsPerSheet;
    double sheets;
    const char* message;
};

const CountCase CountCases[] = {
    {"no_colours_normal_finish", 0, "S", 0, 10, 4, 2750, nullptr},
    {"no_colours_other_finish", 0, "N", 0, 10, 4, 2625, nullptr},
    {"one_pass", 4, "S", 1, 10, 4, 2805, nullptr},
    {"four_passes", 4, "S", 4, 10, 4, 2970, nullptr},
    {"passes_beyond_four_add_no_printing_waste", 4, "S", 5, 10, 4, 2750, nullptr},
    {"colours_without_printing_line", 4, "N", 0, 10, 4, 2625, nullptr},
    {"count_in_no_band", 4, "S", 0, 1000, 4, 250000, "Tiragem de 250000 planos fora dos escalões"},
    {"no_units_per_sheet", 4, "S", 0, 10, 0, 0, "Unidades por plano a zero"},
};

class PlanSheetCount : public ::testing::TestWithParam<CountCase> {};

TEST_P(PlanSheetCount, AddsTheWasteSteps)
{
    const CountCase& c = GetParam();
    const kv::quotes::CostTables tables = planTables();
    PlanMessages messages;
    kv::quotes::QuoteRow quote = planQuote();
    quote.set("NROCORES", c.colours);
    quote.set("ACABNORMAL", c.finishing);
    quote.set("UNDPLANO", c.unitsPerSheet);
    std::vector<CostLine> lines;
    if (c.passes > 0)
        lines.push_back(planLine(1, 1, "CM", c.passes));
    const ConsumptionPlan plan = PlannedConsumption(tables, messages).compute(quote, lines, c.quantity);
    EXPECT_EQ(plan.sheets, c.sheets);
    EXPECT_EQ(plan.passes, c.passes);
    messages.expectOnly(c.message);
    for (const auto& row : plan.rows)
        EXPECT_TRUE(std::isfinite(row.consumption));
}

INSTANTIATE_TEST_SUITE_P(Consumption, PlanSheetCount, ::testing::ValuesIn(CountCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(PlanMachineTime, IsWrittenAsHoursAndMinutes)
{
    const std::pair<double, double> cases[] = {{0, 0},       {45, 0.45},   {59, 0.59}, {59.99, 0.59},
                                               {60, 1.00},   {61, 1.01},   {95, 1.35}, {119.5, 1.59},
                                               {120, 2.00},  {125, 2.05},  {388.2, 6.28}};
    for (const auto& [minutes, hm] : cases)
        EXPECT_NEAR(kv::quotes::minutesAsHoursMinutes(minutes), hm, 1e-9) << minutes;
}

} // namespace
