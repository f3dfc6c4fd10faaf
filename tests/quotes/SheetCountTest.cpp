#include "quotes/core/SheetCount.h"

#include <gtest/gtest.h>

using namespace kv::quotes;

namespace {

WasteBand band(int code, double from, double to, double finishNormal = 0, double finishOther = 0,
               std::array<double, 4> printing = {0, 0, 0, 0})
{
    WasteBand b;
    b.code = code;
    b.from = from;
    b.to = to;
    b.finishingNormal = finishNormal;
    b.finishingOther = finishOther;
    for (int i = 0; i < 4; ++i)
        b.printing[i] = printing[static_cast<std::size_t>(i)];
    return b;
}

struct SheetCase {
    const char* name;
    double quantity;
    const char* unit;
    int unitsPerSheet;
    int colours;
    const char* finishing;
    int passes;
    std::optional<double> expected;
};

class SheetCountTest : public ::testing::TestWithParam<SheetCase> {};

// Bands as a plant keeps them: a zero band, a low band, two bands that
// overlap at 2000, and a large band.
const std::vector<WasteBand> kBands = {
    band(1, 0, 0),
    band(2, 1, 1000, 8, 12, {15, 20, 25, 30}),
    band(3, 1001, 2000, 5, 7, {10, 12, 14, 16}),
    band(4, 2000, 5000, 1, 2, {3, 4, 5, 6}),
    band(5, 5001, 1e11, 0, 0, {0, 0, 0, 0}),
};

TEST_P(SheetCountTest, countsSheetsWithTheWasteOfTheirBand)
{
    const SheetCase& c = GetParam();
    SheetJob job;
    job.unit = QString::fromLatin1(c.unit);
    job.unitsPerSheet = c.unitsPerSheet;
    job.colours = c.colours;
    job.normalFinishing = QString::fromLatin1(c.finishing);
    job.passes = c.passes;
    const auto count = sheetCount(kBands, job, c.quantity);
    ASSERT_EQ(count.has_value(), c.expected.has_value());
    if (count) {
        EXPECT_DOUBLE_EQ(*count, *c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Bands, SheetCountTest,
                         ::testing::Values(
                             // 5 thousand, 4 per sheet: 1250 net, +5 % finishing, +10 % printing one pass.
                             SheetCase{"thousands", 5, "M", 4, 2, "S", 1, 1444},
                             SheetCase{"sameInUnits", 5000, "U", 4, 2, "S", 1, 1444},
                             SheetCase{"finishingNotNormal", 5000, "U", 4, 2, "N", 1, 1471}, // 1250*1.07*1.1 = 1471.25
                             SheetCase{"noColoursNoPrintingWaste", 5000, "U", 4, 0, "S", 1, 1313}, // 1312.5 -> 1313
                             SheetCase{"twoPasses", 5000, "U", 4, 6, "S", 2, 1470}, // 1312.5*1.12 = 1470
                             SheetCase{"fourPasses", 5000, "U", 4, 6, "S", 4, 1523}, // 1312.5*1.16 = 1522.5 -> 1523
                             SheetCase{"fivePassesNoPrintingWaste", 5000, "U", 4, 6, "S", 5, 1313},
                             SheetCase{"zeroPassesNoPrintingWaste", 5000, "U", 4, 6, "S", 0, 1313},
                             SheetCase{"unknownFinishingNoWaste", 5000, "U", 4, 6, "X", 1, 1250},
                             SheetCase{"overlapLowerCodeWins", 2000, "U", 1, 0, "S", 0, 2100}, // band 3: +5 %
                             SheetCase{"limitsAgainstUnroundedCount", 2001, "U", 2, 0, "S", 0, std::nullopt}, // 1000.5
                             SheetCase{"zeroQuantityInZeroBand", 0, "U", 4, 2, "S", 1, 0},
                             SheetCase{"halfAwayFromZero", 10003, "U", 2, 0, "S", 0, 5002}, // 5001.5 net, no waste
                             SheetCase{"tenSignificantDigits", 12345678901.4, "U", 1, 0, "S", 0, 12345678900}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(WasteBandTest, firstBandInCodeOrderHoldingTheCount)
{
    EXPECT_EQ(findWasteBand(kBands, 0)->code, 1);
    EXPECT_EQ(findWasteBand(kBands, 1)->code, 2);
    EXPECT_EQ(findWasteBand(kBands, 1000)->code, 2);
    EXPECT_EQ(findWasteBand(kBands, 2000)->code, 3);
    EXPECT_EQ(findWasteBand(kBands, 2000.5)->code, 4);
    EXPECT_EQ(findWasteBand(kBands, 1000.5), nullptr);
    EXPECT_EQ(findWasteBand({}, 10), nullptr);
    EXPECT_EQ(findWasteBand({band(1, 0, 0)}, 10), nullptr); // an empty band never holds a positive count
}

TEST(WasteBandTest, quantityWithoutBandKeepsItsCount)
{
    SheetJob job;
    job.unit = QStringLiteral("U");
    job.unitsPerSheet = 2;
    job.normalFinishing = QStringLiteral("S");
    Triple sheets = {7, 8, 9};
    const auto found = computeSheetCounts(kBands, job, {2000, 2001, 0}, sheets);
    EXPECT_TRUE(found[0]);
    EXPECT_FALSE(found[1]);
    EXPECT_TRUE(found[2]);
    EXPECT_DOUBLE_EQ(sheets[0], 1080); // 1000 net in band 2: +8 %
    EXPECT_DOUBLE_EQ(sheets[1], 8);
    EXPECT_DOUBLE_EQ(sheets[2], 0);
}

} // namespace
