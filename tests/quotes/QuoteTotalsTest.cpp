#include "quotes/core/QuoteTotals.h"

#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

QuoteRow subQuoteRow(int sub, double quantity1, double clientValue1)
{
    QuoteRow r;
    r.set("CODIGO", 7);
    r.set("SUBCODIGO", sub);
    r.set("QTDORC1", quantity1);
    r.set("QTDORC2", 0.0);
    r.set("VALORORC1", clientValue1);
    r.set("VALORCLI1", clientValue1);
    r.set("VALMP1", clientValue1);
    r.set("UNIDADE", QStringLiteral("M"));
    r.set("UNDVND", QStringLiteral("UN"));
    r.set("NOME", QStringLiteral("Sub %1").arg(sub));
    r.set("CODIVA", 9);
    r.set("NPLANOS1", 100.0);
    return r;
}

TEST(SummaryRowTest, sumsExactlyThroughTheFixedPoint)
{
    const auto s =
        buildSummaryRow(7, {subQuoteRow(0, 7, 0.1), subQuoteRow(1, 3, 0.2), subQuoteRow(2, 1, 0.3)}, QVariant(23));
    ASSERT_TRUE(s);
    EXPECT_EQ(s->number("VALORCLI1"), 0.6);
    EXPECT_EQ(s->number("VALORORC1"), 0.6);
    EXPECT_EQ(s->number("VALMP1"), 0.6);
    EXPECT_DOUBLE_EQ(s->number("PRECOCLI1"), 0.0857); // 0.6 / 7, 4 decimals
    EXPECT_DOUBLE_EQ(s->number("PRECOORC2"), 0); // quantity 2 of sub-quote 0 is 0
    EXPECT_DOUBLE_EQ(s->number("PRECOCLI2"), 0);
    // Header from sub-quote 0, the worksheet's VAT code, the sale unit in thousands.
    EXPECT_EQ(s->text("NOME"), "Sub 0");
    EXPECT_EQ(s->integer("CODIVA"), 23);
    EXPECT_EQ(s->text("UNDVND"), "Mil");
    EXPECT_EQ(s->integer("SUBCODIGO"), 99);
    EXPECT_EQ(s->text("PRINTE"), "N");
    EXPECT_TRUE(s->isNull("NPLANOS1"));
    EXPECT_TRUE(s->isNull("APROVADO"));
}

TEST(SummaryRowTest, quoteWithoutSubQuotesHasNone) { EXPECT_FALSE(buildSummaryRow(7, {}, QVariant(1))); }

TEST(SubQuoteTotalsTest, classTotalsRoundedToPriceDecimalsValueToCents)
{
    QuoteRow r;
    r.set("QTDORC1", 2.0);
    r.set("VALMP1", 10.125);
    r.set("VALCM1", 0.0004);
    r.set("VALORORC1", 999.0); // rebuilt from the classes
    r.set("ENCNRO", 3);
    subQuoteTotals(r, 3);
    EXPECT_DOUBLE_EQ(r.number("VALMP1"), 10.125);
    EXPECT_DOUBLE_EQ(r.number("VALCM1"), 0);
    EXPECT_DOUBLE_EQ(r.number("PRECOORC1"), 5.063); // 10.125 / 2 at 3 decimals
    EXPECT_DOUBLE_EQ(r.number("VALORORC1"), 10.13);
    EXPECT_DOUBLE_EQ(r.number("VALORCLI1"), 10.13);
    EXPECT_DOUBLE_EQ(r.number("PRECOCLI1"), 5.063);
    EXPECT_DOUBLE_EQ(r.number("PRECOORC2"), 0);
    EXPECT_EQ(r.integer("ENCNRO"), 0);
}

TEST(SubQuoteTotalsTest, zeroQuantityGivesNoUnitPrice)
{
    QuoteRow r;
    r.set("VALMP1", 10.0);
    subQuoteTotals(r, 2);
    EXPECT_DOUBLE_EQ(r.number("PRECOORC1"), 0);
    EXPECT_DOUBLE_EQ(r.number("VALORORC1"), 10);
}

TEST(QuantityCaptionTest, decimalsByUnit)
{
    EXPECT_EQ(quantityCaption(12.5, QStringLiteral("M")), "12,50");
    EXPECT_EQ(quantityCaption(12500, QStringLiteral("U")), "12500");
}

} // namespace
