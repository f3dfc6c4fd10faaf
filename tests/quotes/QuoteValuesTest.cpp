// The values page of a quote viewer: the sixteen rows of three quantities
// and their texts.
#include "quotes/core/QuoteValues.h"

#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

// A summary row quoted for one quantity only, with a loss on it: its
// columns of quantities 2 and 3 are null, as an unquoted quantity leaves
// them. The stored client value (VALORCLI1) does not match its parts.
QuoteRow oneQuantityRow()
{
    QuoteRow r;
    r.set("CODIGO", 31);
    r.set("SUBCODIGO", 99);
    r.set("QTDORC1", 5000.0);
    r.set("VALMP1", 1000.10);
    r.set("VALCM1", 400.20);
    r.set("VALPS1", 30.30);
    r.set("VALEM1", 20.40);
    r.set("VALMO1", 150.50);
    r.set("VALSUB1", 0.1);
    r.set("VALTR1", 80.0);
    r.set("VALCOM1A", 60.05);
    r.set("VALCOM2A", 10.0);
    r.set("MARGEMLIQ1", -42.35);
    r.set("MARGEMPRC1", -2.6);
    r.set("PRECOORC1", 0.3456);
    r.set("PRECOCLI1", 0.3404);
    r.set("VALORCLI1", 9999.0);
    r.set("PRCCOM3", 12.25);
    r.set("UNIDADE", "M");
    return r;
}

struct RowCase {
    int row; // 0-based, as labelled
    int quantity;
    const char* text; // with 4 price decimals
};

class QuoteValuesRowTest : public ::testing::TestWithParam<RowCase> {};

TEST_P(QuoteValuesRowTest, showsEachRowInItsFormat)
{
    const RowCase c = GetParam();
    const QuoteValues v = QuoteValues::of(oneQuantityRow());
    EXPECT_EQ(v.text(c.row, c.quantity, 4), QString::fromUtf8(c.text)) << QuoteValues::labels()[c.row].toStdString();
}

INSTANTIATE_TEST_SUITE_P(Rows, QuoteValuesRowTest,
                         ::testing::Values(RowCase{0, 1, "1.000,1000 €"}, // Matéria Prima
                                           RowCase{1, 1, "400,2000 €"}, // Máquinas
                                           RowCase{6, 1, "1.601,6000 €"}, // Custo Base: the six classes, to the cent
                                           RowCase{8, 1, "60,0500 €"}, // Comissão = VALCOM1A
                                           RowCase{9, 1, "10,0000 €"}, // Encargos = VALCOM2A
                                           RowCase{10, 1, "150,0500 €"}, // Custo Comercial
                                           RowCase{11, 1, "-42,3500 €"}, // a loss stays negative
                                           RowCase{12, 1, "-2,6"}, // percent: one decimal, no sign " %"
                                           RowCase{13, 1, "0,3456 €"}, // quoted price in the year's decimals
                                           RowCase{15, 1, "1.709,30 €"}, // order total: two decimals, from its parts
                                           RowCase{0, 2, "0,0000 €"}, // an unquoted quantity shows zero amounts
                                           RowCase{6, 3, "0,0000 €"}, RowCase{15, 3, "0,00 €"}));

TEST(QuoteValuesTest, orderTotalIsBasePlusCommercialPlusMarginNotTheStoredClientValue)
{
    const QuoteValues v = QuoteValues::of(oneQuantityRow());
    EXPECT_DOUBLE_EQ(v.baseCost(1), 1601.6);
    EXPECT_DOUBLE_EQ(v.commercialCost(1), 150.05);
    EXPECT_DOUBLE_EQ(v.orderTotal(1), 1709.3);
}

TEST(QuoteValuesTest, chargesOfQuantityTwoAreTheLetterB)
{
    QuoteRow r = oneQuantityRow();
    r.set("VALCOM1B", 7.0);
    r.set("VALCOM2B", 3.0);
    r.set("VALCOM3B", 100.0); // the third charge is not part of the commercial cost
    r.set("VALTR2", 1.0);
    const QuoteValues v = QuoteValues::of(r);
    EXPECT_DOUBLE_EQ(v.amount(8, 2), 7.0);
    EXPECT_DOUBLE_EQ(v.amount(9, 2), 3.0);
    EXPECT_DOUBLE_EQ(v.commercialCost(2), 11.0);
}

TEST(QuoteValuesTest, unitLineAndMarginOfTheQuote)
{
    QuoteRow r = oneQuantityRow();
    EXPECT_EQ(QuoteValues::of(r).unitLine(), QStringLiteral("( Unidade de Orçamentação : Milheiro )"));
    r.set("UNIDADE", "U");
    EXPECT_EQ(QuoteValues::of(r).unitLine(), QStringLiteral("( Unidade de Orçamentação : Unidade )"));
    EXPECT_EQ(QuoteValues::of(r).marginText(), QStringLiteral("12,3")); // 12.25 half away from zero
}

} // namespace
