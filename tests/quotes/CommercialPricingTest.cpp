#include "quotes/core/CommercialPricing.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

struct CevCase {
    const char* name;
    const char* incidence[3];
    double rate[3];
    bool subsidiaryInCost3;
    double subsidiary;
    double expectedCost[3]; // commercial costs of quantity 1
    double expectedValue; // sale value of quantity 1
};

class CalculaCevTest : public ::testing::TestWithParam<CevCase> {};

QuoteRow summaryRow(double cost, double subsidiary, const double rate[3])
{
    QuoteRow s;
    s.set("CODIGO", 7);
    s.set("SUBCODIGO", 99);
    s.set("QTDORC1", 5.0);
    s.set("VALORORC1", cost);
    s.set("VALPS1", subsidiary);
    for (int k = 0; k < 3; ++k)
        s.set(QStringLiteral("PRCCOM%1").arg(k + 1), rate[k]);
    return s;
}

CommercialParameters parameters(const CevCase& c)
{
    CommercialParameters p;
    for (int k = 0; k < 3; ++k) {
        p.name[k] = QStringLiteral("Custo %1").arg(k + 1);
        p.incidence[k] = QString::fromLatin1(c.incidence[k]);
    }
    p.subsidiaryInCost3 = c.subsidiaryInCost3;
    return p;
}

TEST_P(CalculaCevTest, commercialCostsAndProposedPrice)
{
    const CevCase& c = GetParam();
    QuoteRow s = summaryRow(1000, c.subsidiary, c.rate);
    CommercialPricing pricing;
    pricing.calculate(s, parameters(c), 2);
    EXPECT_DOUBLE_EQ(s.number("VALCOM1A"), c.expectedCost[0]);
    EXPECT_DOUBLE_EQ(s.number("VALCOM2A"), c.expectedCost[1]);
    EXPECT_DOUBLE_EQ(s.number("VALCOM3A"), c.expectedCost[2]);
    EXPECT_DOUBLE_EQ(s.number("VALORORC1"), c.expectedValue);
    EXPECT_DOUBLE_EQ(s.number("VALORCLI1"), c.expectedValue);
    EXPECT_DOUBLE_EQ(s.number("PRECOCLI1"), std::round(c.expectedValue / 5 * 100) / 100);
    EXPECT_DOUBLE_EQ(s.number("MARGEMLIQ1"), c.expectedCost[2]);
    EXPECT_DOUBLE_EQ(s.number("MARGEMPRC1"), c.rate[2]);
    EXPECT_DOUBLE_EQ(s.number("MARGEMVALOR"), c.expectedCost[2]);
    // Quantities 2 and 3 are not quoted: nothing for them.
    EXPECT_DOUBLE_EQ(s.number("VALCOM1B"), 0);
    EXPECT_DOUBLE_EQ(s.number("PRECOORC2"), 0);

    // Editing a percentage again starts from the cost: the costs are never added twice.
    pricing.restoreCost(s);
    EXPECT_DOUBLE_EQ(s.number("VALORORC1"), 1000);
    pricing.calculate(s, parameters(c), 2);
    EXPECT_DOUBLE_EQ(s.number("VALORORC1"), c.expectedValue);
    pricing.calculate(s, parameters(c), 2);
    EXPECT_DOUBLE_EQ(s.number("VALORORC1"), c.expectedValue);
}

INSTANTIATE_TEST_SUITE_P(
    Incidences, CalculaCevTest,
    ::testing::Values(
        // (1000 + 100) / 0.75 = 1466.6667: 73.33 and 293.33 on the price.
        CevCase{"grossedUp", {"C", "P", "P"}, {10, 5, 20}, true, 0, {100, 73.33, 293.33}, 1466.66},
        // Commercial cost 3 on the cost without the subsidiary products, not grossed up.
        CevCase{"marginWithoutSubsidiary", {"C", "P", "P"}, {10, 5, 20}, false, 200, {100, 73.33, 160}, 1333.33},
        CevCase{"allOnCost", {"C", "C", "C"}, {10, 5, 20}, true, 0, {100, 50, 200}, 1350},
        // Sale-price percentages adding up to 100: none is computed.
        CevCase{"divisorZero", {"C", "P", "P"}, {10, 40, 60}, true, 0, {100, 0, 0}, 1100}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(CommercialPricingTest, costWithoutNameHasNoPercentage)
{
    const double rate[3] = {10, 5, 20};
    QuoteRow s = summaryRow(1000, 0, rate);
    CommercialParameters p;
    p.name[0] = QStringLiteral("Estrutura");
    p.name[2] = QStringLiteral("Margem");
    CommercialPricing::clearUnnamed(s, p);
    EXPECT_DOUBLE_EQ(s.number("PRCCOM1"), 10);
    EXPECT_DOUBLE_EQ(s.number("PRCCOM2"), 0);
    EXPECT_DOUBLE_EQ(s.number("PRCCOM3"), 20);
}

struct ClosingCase {
    const char* name;
    double quantity;
    double clientPrice;
    double clientValue;
    double margin;
    double marginPercent;
};

class ClosingTest : public ::testing::TestWithParam<ClosingCase> {};

TEST_P(ClosingTest, clientValueAndNetMargin)
{
    const ClosingCase& c = GetParam();
    QuoteRow s;
    s.set("QTDORC1", c.quantity);
    s.set("PRECOCLI1", c.clientPrice);
    s.set("VALMP1", 3.0);
    s.set("VALCM1", 2.0); // base cost 5
    s.set("VALCOM1A", 0.5); // structure
    s.set("VALCOM2A", 0.3); // commission
    s.set("VALCOM3A", 9.99); // the commercial margin is not a cost
    s.set("ENCNRO", 12);
    s.set("APROVADO", QStringLiteral("S"));
    s.set("MANUAL_AUTO", QStringLiteral("X"));
    CommercialPricing::close(s, 2);
    EXPECT_DOUBLE_EQ(s.number("VALORCLI1"), c.clientValue);
    EXPECT_DOUBLE_EQ(s.number("MARGEMLIQ1"), c.margin);
    EXPECT_DOUBLE_EQ(s.number("MARGEMPRC1"), c.marginPercent);
    EXPECT_DOUBLE_EQ(s.number("MARGEMVALOR"), c.margin);
    EXPECT_DOUBLE_EQ(s.number("MARGEMPRC"), c.marginPercent);
    EXPECT_EQ(s.integer("ENCNRO"), 0);
    EXPECT_EQ(s.text("APROVADO"), "N");
    EXPECT_EQ(s.text("MANUAL_AUTO"), "M");
    EXPECT_TRUE(s.isNull("MARGEMLIQ2")); // quantity 2 not quoted
}

INSTANTIATE_TEST_SUITE_P(Prices, ClosingTest,
                         ::testing::Values(ClosingCase{"proposed", 5, 1.60, 8.00, 2.2, 27.5},
                                           ClosingCase{"belowCost", 5, 1.00, 5.00, -0.8, -16},
                                           ClosingCase{"valueRoundedToCents", 3, 0.335, 1.01, -4.79, -474.26},
                                           // A client value of 0 gives a margin percent of 0, not a division by zero.
                                           ClosingCase{"noClientValue", 5, 0, 0, -5.8, 0}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(ClosingTest, automaticQuoteKeepsItsMark)
{
    QuoteRow s;
    s.set("QTDORC1", 1.0);
    s.set("PRECOCLI1", 1.0);
    s.set("MANUAL_AUTO", QStringLiteral("A"));
    CommercialPricing::close(s, 2);
    EXPECT_EQ(s.text("MANUAL_AUTO"), "A");
}

} // namespace
