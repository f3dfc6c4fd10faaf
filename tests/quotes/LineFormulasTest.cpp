#include "quotes/core/LineFormulas.h"

#include <functional>
#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

struct LineCase {
    const char* name;
    std::function<LineValues()> compute;
    Triple value;
    Triple consumption;
};

class LineFormulasTest : public ::testing::TestWithParam<LineCase> {};

TEST_P(LineFormulasTest, valuesAndConsumptionsForTheThreeQuantities)
{
    const LineCase& c = GetParam();
    const LineValues v = c.compute();
    for (std::size_t n = 0; n < 3; ++n) {
        EXPECT_NEAR(v.value[n], c.value[n], 1e-9) << "value " << n + 1;
        EXPECT_NEAR(v.consumption[n], c.consumption[n], 1e-9) << "consumption " << n + 1;
    }
}

GlueRow glue(const char* rule, double percentage = 0)
{
    GlueRow g;
    g.calculation = QString::fromLatin1(rule);
    g.percentage = percentage;
    return g;
}

FinishRow finish(const char* unit)
{
    FinishRow f;
    f.unit = QString::fromLatin1(unit);
    return f;
}

CuttingRow cutting(const char* unit)
{
    CuttingRow c;
    c.unit = QString::fromLatin1(unit);
    return c;
}

SubcontractRow subcontract(const char* unit, double gramsPerM2 = 0)
{
    SubcontractRow s;
    s.unit = QString::fromLatin1(unit);
    s.gramsPerM2 = gramsPerM2;
    return s;
}

LineValues subcontractLine(const SubcontractRow& s, double price, double area, Triple sheets, Triple qty,
                           const char* unit)
{
    bool unknown = false;
    return subcontractValues(s, price, area, sheets, qty, QString::fromLatin1(unit), unknown);
}

const QString M = QStringLiteral("M");
const QString U = QStringLiteral("U");

// Each case on its own lines, the values beside the routine they feed.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Routines, LineFormulasTest,
    ::testing::Values(
        // 1444 sheets of 100 x 70 cm, 300 g/m², 0.80 per kg: 303.24 kg, 242.592.
        LineCase{"boardByWeight", [] { return boardValues("1", 0.3, 0.8, 0.7, {1444, 0, 2000}); },
                 {242.592, 0, 336}, {303.24, 0, 420}},
        LineCase{"boardPerSheet", [] { return boardValues("2", 0.3, 0.15, 0.7, {1444, 1000, 0}); },
                 {216.6, 150, 0}, {1444, 1000, 0}},
        LineCase{"inkOnPrintedSurface", [] { return inkValues(50, 0.002, 10, 0.7, {1000, 2000, 0}); },
                 {7, 14, 0}, {0.7, 1.4, 0}},
        LineCase{"varnishThirdQuantityUsesThirdCount",
                 [] { return areaWeightValues(0.005, 4, 0.7, {1000, 0, 3000}); }, {14, 0, 42}, {3.5, 0, 10.5}},
        LineCase{"glueRule1ByArea", [] { return glueValues(glue("1"), 0.004, 3, 0.5, {1000, 0, 0}, {5, 0, 0}, M); },
                 {6, 0, 0}, {2, 0, 0}},
        // 400 g per thousand boxes: 0.4 x 5 = 2 kg, the same as 5000 units / 1000.
        LineCase{"glueRule2Thousands", [] { return glueValues(glue("2"), 0.4, 3, 0.5, {0, 0, 0}, {5, 10, 0}, M); },
                 {6, 12, 0}, {2, 4, 0}},
        LineCase{"glueRule2Units", [] { return glueValues(glue("2"), 0.4, 3, 0.5, {0, 0, 0}, {5000, 0, 0}, U); },
                 {6, 0, 0}, {2, 0, 0}},
        LineCase{"glueRule3TimesPercentItself",
                 [] { return glueValues(glue("3", 50), 0.4, 3, 0.5, {0, 0, 0}, {5, 0, 0}, M); }, {300, 0, 0},
                 {100, 0, 0}},
        LineCase{"glueRule4OverHundred",
                 [] { return glueValues(glue("4"), 0.4, 3, 0.5, {1000, 0, 0}, {5, 0, 0}, M); }, {6, 0, 0},
                 {2, 0, 0}},
        LineCase{"glueUnknownRule", [] { return glueValues(glue("9"), 0.4, 3, 0.5, {1000, 0, 0}, {5, 0, 0}, M); },
                 {0, 0, 0}, {0, 0, 0}},
        LineCase{"windowPvc", [] { return pvcValues(0.012, 5, {5, 0, 20}); }, {0.3, 0, 1.2}, {0.06, 0, 0.24}},
        // 5000 units at 12 per thousand: 60.
        LineCase{"finishPerThousandOnUnits",
                 [] { return finishValues(finish("M"), 12, 0, {5000, 0, 0}, U, {0, 0, 0}); }, {60, 0, 0}, {}},
        LineCase{"finishPerUnitOnThousands",
                 [] { return finishValues(finish("U"), 0.01, 0, {5, 10, 0}, M, {0, 0, 0}); }, {50, 100, 0}, {}},
        LineCase{"finishSameUnit", [] { return finishValues(finish("M"), 12, 0, {5, 0, 0}, M, {0, 0, 0}); },
                 {60, 0, 0}, {}},
        LineCase{"finishWithoutUnit", [] { return finishValues(finish(""), 12, 0, {5, 0, 0}, M, {0, 0, 0}); },
                 {0, 0, 0}, {}},
        // 3 % of the lines before it, whatever its fixed cost.
        LineCase{"finishPercentageOfValueSoFar",
                 [] { return finishValues(finish("M"), 12, 3, {5, 6, 0}, M, {1000, 2000, 0}); }, {30, 60, 0}, {}},
        // A per-sheet operation is priced per sheet whatever the quote's unit.
        LineCase{"cuttingPerSheet", [] { return cuttingValues(cutting("U"), 0.01, {1444, 0, 0}); },
                 {14.44, 0, 0}, {}},
        LineCase{"cuttingPerThousandSheets", [] { return cuttingValues(cutting("M"), 5, {1444, 2000, 0}); },
                 {7.22, 10, 0}, {}},
        LineCase{"fixedCostPerQuotedQuantity", [] { return fixedCostValues(25, {100, 0, 50}); }, {25, 0, 25}, {}},
        LineCase{"subcontractPerUnitOnThousands",
                 [] { return subcontractLine(subcontract("UND"), 0.02, 0.5, {100, 200, 0}, {5, 10, 0}, "M"); },
                 {100, 200, 0}, {}},
        LineCase{"subcontractPerUnitOnUnits",
                 [] { return subcontractLine(subcontract("UND"), 0.02, 0.5, {100, 0, 0}, {5000, 0, 0}, "U"); },
                 {100, 0, 0}, {}},
        LineCase{"subcontractPerThousandOnUnits",
                 [] { return subcontractLine(subcontract("MIL"), 20, 0.5, {100, 0, 0}, {5000, 0, 0}, "U"); },
                 {100, 0, 0}, {}},
        LineCase{"subcontractPerSquareMetre",
                 [] { return subcontractLine(subcontract("M2"), 2, 0.5, {1000, 0, 0}, {5, 0, 0}, "M"); },
                 {1000, 0, 0}, {500, 0, 0}},
        LineCase{"subcontractPerKilogram",
                 [] { return subcontractLine(subcontract("KG", 200), 3, 0.5, {1000, 0, 0}, {5, 0, 0}, "M"); },
                 {300, 0, 0}, {100, 0, 0}},
        // Only quantity 1 quoted: one job for quantity 1 only.
        LineCase{"subcontractPerJob",
                 [] { return subcontractLine(subcontract("UN"), 75, 0.5, {100, 0, 0}, {5, 0, 0}, "M"); },
                 {75, 0, 0}, {1, 0, 0}},
        LineCase{"subcontractUnknownUnitAsOneJob",
                 [] { return subcontractLine(subcontract("XX"), 75, 0.5, {100, 0, 5}, {5, 0, 1}, "M"); },
                 {75, 0, 75}, {1, 0, 1}},
        LineCase{"transportPerKilometre", [] { return transportValues(1.5, 0, 100, {10, 0, 10}, {0, 0, 0}); },
                 {150, 0, 150}, {}},
        LineCase{"transportPercentageOfValue", [] { return transportValues(1.5, 2, 100, {10, 10, 0}, {1000, 500, 0}); },
                 {20, 10, 0}, {}},
        // Created from a procedure: no kilometres yet.
        LineCase{"transportWithoutKilometres", [] { return transportValues(1.5, 0, 0, {10, 0, 0}, {0, 0, 0}); },
                 {0, 0, 0}, {}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });
// clang-format on

TEST(FixedCostClassTest, lastClassFlagInTheirOrderDecides)
{
    struct Case {
        bool mp, em, mo, ps;
        CostClass expected;
    };
    const Case cases[] = {{false, false, false, false, CostClass::None},
                          {true, false, false, false, CostClass::RawMaterial},
                          {true, true, false, false, CostClass::Packaging},
                          {false, true, true, false, CostClass::Labour},
                          {true, true, true, true, CostClass::Subsidiary}};
    for (const Case& c : cases) {
        FixedCostRow f;
        f.rawMaterial = c.mp;
        f.packaging = c.em;
        f.labour = c.mo;
        f.subsidiary = c.ps;
        EXPECT_EQ(fixedCostClass(f), c.expected);
    }
}

TEST(SubcontractUnitTest, unknownUnitIsReported)
{
    bool unknown = false;
    subcontractValues(subcontract("kg"), 1, 1, {1, 0, 0}, {1, 0, 0}, U, unknown);
    EXPECT_TRUE(unknown);
    subcontractValues(subcontract("UN"), 1, 1, {1, 0, 0}, {1, 0, 0}, U, unknown);
    EXPECT_FALSE(unknown);
}

} // namespace
