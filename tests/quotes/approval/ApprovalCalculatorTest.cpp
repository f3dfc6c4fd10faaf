// The approval's recalculation of a quote for one quantity and price, over
// a small plant: every table type with the sub-quote factor, the rules in
// which the approval differs from the worksheet, a worked approval of two
// sub-quotes to the cent, the commissions and the refusals.
#include "quotes/approval/core/ApprovalCalculator.h"

#include "quotes/CollectingMessages.h"
#include "quotes/core/LineFormulas.h"
#include "quotes/core/MachineFormulas.h"

#include <gtest/gtest.h>

using namespace kv::quotes;
using namespace kv::quotes::approval;
using kv::quotes::test::CollectingMessages;

namespace {

CostTables plant()
{
    CostTables t;
    MachineRow printing;
    printing.code = 1;
    printing.machineType = 1;
    printing.coloursPerPass = 4;
    printing.costPerHour = 60;
    printing.factor[0] = 5000;
    printing.factor[1] = 4000;
    for (int i = 0; i < 4; ++i) {
        printing.passMin[i] = i == 0 ? 0.5 : 0.25;
        printing.passMax[i] = i == 0 ? 1.0 : 0.5;
    }
    t.machines[1] = printing;
    MachineRow cutting;
    cutting.code = 2;
    cutting.machineType = 2;
    cutting.costPerHour = 40;
    cutting.factor[0] = 3000;
    cutting.dieMin[0] = 0.5;
    cutting.dieMin[1] = 1.0;
    cutting.dieMin[2] = 1.5;
    t.machines[2] = cutting;
    MachineRow gluer;
    gluer.code = 3;
    gluer.machineType = 3;
    gluer.costPerHour = 30;
    gluer.productionUnit = QStringLiteral("U");
    gluer.factor[0] = 20000;
    gluer.sideSeamMin = 0.5;
    gluer.autoBottomMin = 1.0;
    t.machines[3] = gluer;
    MachineRow counterGluer;
    counterGluer.code = 4;
    counterGluer.machineType = 4;
    counterGluer.costPerHour = 50;
    counterGluer.factor[0] = 2000;
    counterGluer.machineMin = 0.4;
    t.machines[4] = counterGluer;

    WasteBand band;
    band.code = 1;
    band.from = 0;
    band.to = 100000;
    band.finishingNormal = 2;
    band.finishingOther = 3;
    band.printing[0] = 5;
    band.printing[1] = 7;
    band.printing[2] = 9;
    band.printing[3] = 11;
    t.wasteBands.push_back(band);

    t.boards[1] = {1, QStringLiteral("Cartolina"), 300, 0.8, QStringLiteral("1")};
    t.inks[1] = {1, QStringLiteral("Tinta"), 2, 10};
    t.varnishes[1] = {1, QStringLiteral("Verniz"), 5, 4};
    t.films[1] = {1, QStringLiteral("Filme"), 20, 3};
    t.pvcs[1] = {1, QStringLiteral("PVC"), 0, 2};
    t.glues[1] = {1, QStringLiteral("Cola"), 10, 0, 5, QStringLiteral("2")};
    t.finishes[1] = {1, QStringLiteral("Acabamento"), 3, 0, QStringLiteral("1"), QStringLiteral("U")};
    t.cuttings[1] = {1, QStringLiteral("Corte"), 5, QStringLiteral("M")};
    FixedCostRow fixed;
    fixed.code = 1;
    fixed.price = 25;
    fixed.excludedInRepeats = true;
    fixed.labour = true;
    t.fixedCosts[1] = fixed;
    t.subcontracts[1] = {1, QStringLiteral("Serviço por unidade"), 0.02, 0, false, QStringLiteral("UND")};
    t.subcontracts[2] = {2, QStringLiteral("Serviço por milheiro"), 3, 0, false, QStringLiteral("MIL")};
    t.subcontracts[3] = {3, QStringLiteral("Serviço avulso"), 7, 0, false, QStringLiteral("CX")};
    t.transports[1] = {1, QStringLiteral("Porto"), 0, 0.5};
    return t;
}

// Sub-quote 1 at half the quantity of sub-quote 0: thousands, 4 units per
// sheet of 100 x 70 cm, normal finishing, no colours.
ApprovalSubQuote halfSubQuote()
{
    ApprovalSubQuote s;
    s.subQuote = 1;
    s.unit = QStringLiteral("M");
    s.unitsPerSheet = 4;
    s.normalFinishing = QStringLiteral("S");
    s.printedSurface = 50;
    s.windowWeight = 0.5;
    s.formatLength = {100, 0};
    s.formatWidth = {70, 0};
    s.factor = 0.5;
    return s;
}

ApprovalLine line(int type, int code, double price = 0)
{
    ApprovalLine l;
    l.detail = 1;
    l.tableType = type;
    l.tableCode = code;
    l.price = price;
    return l;
}

ApprovalQuote quoteOf(std::vector<ApprovalSubQuote> subQuotes)
{
    ApprovalQuote q;
    q.number = 7;
    q.subQuotes = std::move(subQuotes);
    q.parametersFound = true;
    q.incidence = {QStringLiteral("P"), QStringLiteral("C")};
    return q;
}

ApprovalInput approved(double quantity = 12, double price = 150)
{
    ApprovalInput in;
    in.quantity = quantity;
    in.price = price;
    return in;
}

// Q = 12 thousand, f = 0.5: 6000 units, 1500 sheets, + 2 % finishing waste
// = N 1530 (with two printing passes, + 7 % more: 1637). Area 0.7 m².
struct TypeCase {
    const char* label;
    ApprovalLine line;
    int colours;
    CostClass costClass;
    double value;
};

class ApprovalLineTypes : public ::testing::TestWithParam<TypeCase> {};

TEST_P(ApprovalLineTypes, PricedForTheApprovedQuantity)
{
    const TypeCase& c = GetParam();
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalSubQuote s = halfSubQuote();
    s.colours = c.colours;
    s.lines = {c.line};
    const auto result = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({s}), approved());
    ASSERT_TRUE(result) << messages.errors.join(QStringLiteral("; ")).toStdString();
    EXPECT_TRUE(messages.errors.isEmpty()) << messages.errors.join(QStringLiteral("; ")).toStdString();
    for (const CostClass k : kCostClasses)
        EXPECT_DOUBLE_EQ(result->classTotal(k), k == c.costClass ? c.value : 0.0) << costClassCode(k).toStdString();
}

ApprovalLine machineLine(int code, int passes, int grade, int choice)
{
    ApprovalLine l = line(1, code);
    l.passes = passes;
    l.grade = grade;
    l.makeReadyChoice = choice;
    return l;
}

ApprovalLine withPercentage(ApprovalLine l, double percentage, double distance = 0)
{
    l.percentage = percentage;
    l.distance = distance;
    return l;
}

const TypeCase typeCases[] = {
    // 60 x 1637 / 5000 x 2 passes + 60 x (ACEPASSMAX1 + ACEPASSMAX2 = 1.5 h); the worksheet takes ACEPASSMAX2 alone
    {"printing", machineLine(1, 2, 1, 2), 4, CostClass::Machines, 129.29},
    // 40 x 1530 / 3000 + 40 x ACECORTANTEMIN2
    {"cutting_creasing", machineLine(2, 0, 1, 2), 0, CostClass::Machines, 60.40},
    // 30 x (12000 units, no factor / 20000 + 0.5)
    {"gluer_without_factor", machineLine(3, 0, 1, 1), 0, CostClass::Machines, 33.00},
    // 50 x (1530 / 2000 + ACEMAQMIN 0.4)
    {"counter_gluer", machineLine(4, 0, 1, 1), 0, CostClass::Machines, 58.25},
    // 50 % x 0.7 x 0.002 x 10 x 1530
    {"ink", line(2, 1, 10), 0, CostClass::RawMaterial, 10.71},
    // 1530 x 0.7 x 0.005 x 4
    {"varnish", line(3, 1, 4), 0, CostClass::RawMaterial, 21.42},
    // 1530 x 0.7 x 0.02 x 3
    {"laminating_film", line(5, 1, 3), 0, CostClass::RawMaterial, 64.26},
    // rule "2": 0.01 x today's price 5 x 6 (Q x f); the line's own 4 would give 0.24
    {"glue_at_todays_price", line(4, 1, 4), 0, CostClass::RawMaterial, 0.30},
    // 0.5 kg x 6 (Q x f) x 2
    {"window_pvc", line(6, 1, 2), 0, CostClass::RawMaterial, 6.00},
    // 12 x 3 as quoted, no factor; the worksheet converts units to thousands (36000)
    {"finish_without_conversion", line(7, 1, 3), 0, CostClass::Labour, 36.00},
    // 1530 x 0.7 x 0.3 x 0.8
    {"board", line(8, 1, 0.8), 0, CostClass::RawMaterial, 257.04},
    // 1530 / 1000 x 5: per thousand sheets exactly
    {"cutting_operation", line(9, 1, 5), 0, CostClass::Machines, 7.65},
    {"fixed_cost", line(10, 1, 25), 0, CostClass::Labour, 25.00},
    // 12 x 1000 (no factor) x today's 0.02; the line's own 0.5 plays no part
    {"subcontract_per_unit", line(11, 1, 0.5), 0, CostClass::Subcontract, 240.00},
    // 12 thousand x 3
    {"subcontract_per_thousand", line(11, 2, 3), 0, CostClass::Subcontract, 36.00},
    // 0.5 per km x 100 km
    {"transport", withPercentage(line(99, 1, 0.5), 0, 100), 0, CostClass::Transport, 50.00},
};

INSTANTIATE_TEST_SUITE_P(Approval, ApprovalLineTypes, ::testing::ValuesIn(typeCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST(ApprovalLineRules, PercentageLinesTakeAShareOfTheSubQuoteSoFar)
{
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalSubQuote s = halfSubQuote();
    // board 257.04, then a finish of 10 % of it and a transport of 5 % of both
    s.lines = {line(8, 1, 0.8), withPercentage(line(7, 1, 3), 10), withPercentage(line(99, 1, 0.5), 5, 100)};
    const auto r = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({s}), approved());
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Labour), 25.70); // 10 % of 257.04
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Transport), 14.14); // 5 % of 282.74
}

TEST(ApprovalLineRules, UnchangedRepeatOrderLeavesOutGrossProfitFixedCosts)
{
    struct Case {
        bool repeat;
        bool unchanged;
        double labour;
    };
    const Case cases[] = {{true, true, 0.0}, {true, false, 25.0}, {false, true, 25.0}};
    const CostTables tables = plant();
    for (const Case& c : cases) {
        CollectingMessages messages;
        ApprovalSubQuote s = halfSubQuote();
        s.lines = {line(10, 1, 25)};
        ApprovalInput in = approved();
        in.repeatOrder = c.repeat;
        in.unchangedRepeat = c.unchanged;
        const auto r = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({s}), in);
        ASSERT_TRUE(r);
        EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Labour), c.labour) << c.repeat << c.unchanged;
    }
}

TEST(ApprovalLineRules, SecondSheetFormatAddsItsValueForBoardsVarnishesAndGlues)
{
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalSubQuote s = halfSubQuote();
    s.formatLength = {100, 50};
    s.formatWidth = {70, 70};
    s.lines = {line(8, 1, 0.8), line(10, 1, 25)};
    const auto r = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({s}), approved());
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::RawMaterial), 257.04 + 128.52); // 1530 x 0.35 x 0.3 x 0.8
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Labour), 25.0); // once: fixed costs have one format
}

TEST(ApprovalLineRules, MissingTableRowIsToldAndAddsNothing)
{
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalSubQuote s = halfSubQuote();
    s.lines = {line(2, 99, 10), line(1, 42), line(99, 42, 0.5), line(8, 1, 0.8)};
    const auto r = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({s}), approved());
    ASSERT_TRUE(r);
    EXPECT_EQ(messages.errors, (QStringList{QStringLiteral("Erro Grave, Referência da Tinta Inexistente !!!"),
                                            QStringLiteral("Erro Grave, Código da Máquina Inexistente --> 42")}));
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::RawMaterial), 257.04); // the walk went on
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Transport), 0.0); // a missing transport row is silent
}

TEST(ApprovalLineRules, SubcontractOfUnknownUnitIsPricedAsOneJobWithItsNotices)
{
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalSubQuote s = halfSubQuote();
    s.lines = {line(11, 3, 1)};
    const auto r = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({s}), approved());
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Subcontract), 7.0);
    EXPECT_EQ(messages.notices,
              (QStringList{QStringLiteral("Não foi definida Unidade de cálculo para subcontrato Serviço avulso"),
                           QStringLiteral("Vai ser atribuído o custo : 7")}));
}

TEST(ApprovalLineRules, EveryLineOfASubQuoteTakesItsOwnSheetCount)
{
    // Sub-quote 1 prints in 2 passes; its board line comes before the
    // printing line and still takes the count of its own sub-quote (1637),
    // never the 3060 of sub-quote 0 before it.
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalSubQuote first = halfSubQuote();
    first.subQuote = 0;
    first.factor = 1;
    ApprovalSubQuote second = halfSubQuote();
    second.colours = 4;
    second.lines = {line(8, 1, 0.8), machineLine(1, 2, 1, 2)};
    const auto r = ApprovalCalculator(tables, messages, 2).calculate(quoteOf({first, second}), approved());
    ASSERT_TRUE(r);
    EXPECT_DOUBLE_EQ(r->classTotal(CostClass::RawMaterial), 275.02); // 1637 x 0.168
}

// The worked approval: Q 12 thousand at 150, commission 1 of 5 % on the
// sale, commission 2 of 2 % on the cost base.
//   sub-quote 0 (f 1, 4 colours, N 3274): printing 168.58 CM, board 550.03 MP,
//     fixed cost 25.00 MO, transport 50.00 TR
//   sub-quote 1 (f 0.5, N 1530): board 257.04 MP, finish 36.00 MO,
//     subcontract 240.00 SB
//   B = 1326.65; S = 1800.00; commissions 90.00 and 26.533;
//   C = 1276.65; K = 166.533; M = 356.82; 19.82 %
ApprovalQuote workedQuote()
{
    ApprovalSubQuote zero = halfSubQuote();
    zero.subQuote = 0;
    zero.factor = 1;
    zero.colours = 4;
    zero.lines = {machineLine(1, 2, 1, 2), line(8, 1, 0.8), line(10, 1, 25), withPercentage(line(99, 1, 0.5), 0, 100)};
    ApprovalSubQuote one = halfSubQuote();
    one.lines = {line(8, 1, 0.8), line(7, 1, 3), line(11, 1, 0.5)};
    ApprovalQuote q = quoteOf({zero, one});
    q.commission = {5, 2};
    return q;
}

TEST(ApprovalWorked, TwoSubQuotesToTheCent)
{
    struct Case {
        const char* label;
        bool unchangedRepeat;
        double labour, costBase, commission2, costs, commercial, margin, percent;
    };
    const Case cases[] = {
        {"first order", false, 61.00, 1326.65, 26.533, 1276.65, 166.533, 356.82, 19.82},
        // the fixed cost of gross profit (25.00) drops out of costs and base
        {"unchanged repeat", true, 36.00, 1301.65, 26.033, 1251.65, 166.033, 382.32, 21.24},
    };
    const CostTables tables = plant();
    for (const Case& c : cases) {
        CollectingMessages messages;
        ApprovalInput in = approved();
        in.repeatOrder = true;
        in.unchangedRepeat = c.unchangedRepeat;
        const auto r = ApprovalCalculator(tables, messages, 2).calculate(workedQuote(), in);
        ASSERT_TRUE(r) << c.label;
        EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Machines), 168.58) << c.label;
        EXPECT_DOUBLE_EQ(r->classTotal(CostClass::RawMaterial), 807.07) << c.label;
        EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Labour), c.labour) << c.label;
        EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Subcontract), 240.00) << c.label;
        EXPECT_DOUBLE_EQ(r->classTotal(CostClass::Transport), 50.00) << c.label;
        EXPECT_DOUBLE_EQ(r->costBase, c.costBase) << c.label;
        EXPECT_DOUBLE_EQ(r->saleValue, 1800.00) << c.label;
        EXPECT_DOUBLE_EQ(r->commission1, 90.00) << c.label;
        EXPECT_NEAR(r->commission2, c.commission2, 1e-9) << c.label;
        EXPECT_NEAR(r->costs, c.costs, 1e-9) << c.label;
        EXPECT_NEAR(r->commercialCosts, c.commercial, 1e-9) << c.label;
        EXPECT_DOUBLE_EQ(r->marginValue, c.margin) << c.label;
        EXPECT_DOUBLE_EQ(r->marginPercent, c.percent) << c.label;
    }
}

TEST(ApprovalWorked, CommissionsFollowTheirIncidence)
{
    struct Case {
        const char* label;
        std::array<double, 2> commission;
        std::array<QString, 2> incidence;
        double first, second;
    };
    const Case cases[] = {
        {"sale and cost", {5, 2}, {QStringLiteral("P"), QStringLiteral("C")}, 90.00, 26.533},
        {"both on cost", {5, 2}, {QStringLiteral("C"), QStringLiteral("C")}, 66.3325, 26.533},
        {"second none", {5, 0}, {QStringLiteral("P"), QStringLiteral("P")}, 90.00, 0.0},
    };
    const CostTables tables = plant();
    for (const Case& c : cases) {
        CollectingMessages messages;
        ApprovalQuote q = workedQuote();
        q.commission = c.commission;
        q.incidence = c.incidence;
        const auto r = ApprovalCalculator(tables, messages, 2).calculate(q, approved());
        ASSERT_TRUE(r) << c.label;
        EXPECT_NEAR(r->commission1, c.first, 1e-9) << c.label;
        EXPECT_NEAR(r->commission2, c.second, 1e-9) << c.label;
    }
}

struct RefusalCase {
    const char* label;
    std::function<void(ApprovalQuote&, ApprovalInput&)> change;
    QString message;
};

class ApprovalRefusals : public ::testing::TestWithParam<RefusalCase> {};

TEST_P(ApprovalRefusals, StopWithAMessageNamingWhere)
{
    const RefusalCase& c = GetParam();
    const CostTables tables = plant();
    CollectingMessages messages;
    ApprovalQuote q = workedQuote();
    ApprovalInput in = approved();
    c.change(q, in);
    EXPECT_FALSE(ApprovalCalculator(tables, messages, 2).calculate(q, in));
    ASSERT_EQ(messages.errors.size(), 1);
    EXPECT_EQ(messages.errors.front(), c.message);
    EXPECT_EQ(messages.beeps, 1);
}

const RefusalCase refusalCases[] = {
    {"count_in_no_waste_band", [](ApprovalQuote&, ApprovalInput& in) { in.quantity = 1000; },
     QStringLiteral("Erro Grave, Nº de Planos (250000) fora dos Escalões de Tiragem no Orçamento nº 7/0 !!!")},
    {"no_units_per_sheet", [](ApprovalQuote& q, ApprovalInput&) { q.subQuotes[1].unitsPerSheet = 0; },
     QStringLiteral("Erro Grave, Unidades por Plano Inválidas (0) no Orçamento nº 7/1 !!!")},
    {"speed_factor_zero", [](ApprovalQuote& q, ApprovalInput&) { q.subQuotes[0].lines[0].grade = 3; },
     QStringLiteral("Erro Grave, Máquina 1 sem Factor de Produção para o grau 3 (Orçamento nº 7/0, linha 1) !!!")},
    {"speed_level_outside", [](ApprovalQuote& q, ApprovalInput&) { q.subQuotes[0].lines[0].grade = 4; },
     QStringLiteral("Erro Grave, Máquina 1 sem Factor de Produção para o grau 4 (Orçamento nº 7/0, linha 1) !!!")},
    {"make_ready_level_outside", [](ApprovalQuote& q, ApprovalInput&) { q.subQuotes[0].lines[0].makeReadyChoice = 3; },
     QStringLiteral("Erro Grave, Máquina 1 sem Acerto de nível 3 (Orçamento nº 7/0, linha 1) !!!")},
    {"quantity_zero", [](ApprovalQuote&, ApprovalInput& in) { in.quantity = 0; },
     QStringLiteral("É obrigatório inserir a Qtd. aprovada ...")},
    {"price_negative", [](ApprovalQuote&, ApprovalInput& in) { in.price = -1; },
     QStringLiteral("Insira o preço por Favor ...")},
    {"no_general_parameters", [](ApprovalQuote& q, ApprovalInput&) { q.parametersFound = false; },
     QStringLiteral("PARÂMETROS GERAIS DE ORÇAMENTOS INEXISTENTES !!!")},
};

INSTANTIATE_TEST_SUITE_P(Approval, ApprovalRefusals, ::testing::ValuesIn(refusalCases),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST(SharedFormulaOptions, PrintingMakeReadyOverEveryPass)
{
    MachineRow m = plant().machines.at(1);
    m.passMax[2] = 0.75;
    m.passMax[3] = 2.0;
    struct Case {
        int passes;
        double column, summed;
    };
    // ACEPASSMAX 1.0, 0.5, 0.75, 2.0
    const Case cases[] = {{1, 1.0, 1.0}, {3, 0.75, 2.25}, {4, 2.0, 4.25}, {6, 2.0, 4.25}, {0, 2.0, 4.25}};
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(makeReadyHours(m, 2, c.passes, false), c.column) << c.passes;
        EXPECT_DOUBLE_EQ(makeReadyHours(m, 2, c.passes, false, PrintingMakeReady::SummedOverPasses), c.summed)
            << c.passes;
    }
}

TEST(SharedFormulaOptions, FinishUnitsConvertedOrAsQuoted)
{
    const FinishRow perUnit{1, QStringLiteral("A"), 3, 0, QStringLiteral("1"), QStringLiteral("U")};
    const Triple quantities{12, 0, 0};
    EXPECT_DOUBLE_EQ(finishValues(perUnit, 3, 0, quantities, QStringLiteral("M"), {}).value[0], 36000.0);
    EXPECT_DOUBLE_EQ(finishValues(perUnit, 3, 0, quantities, QStringLiteral("M"), {}, FinishUnits::AsQuoted).value[0],
                     36.0);
}

} // namespace
