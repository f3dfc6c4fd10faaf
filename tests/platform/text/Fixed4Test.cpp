#include "platform/text/Fixed4.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kv::text::Fixed4;
using kv::text::Fixed4Error;

TEST(Fixed4, ConvertsTheExactValueToTheNearestTenThousandthHalfToEven)
{
    struct Case {
        double value;
        qint64 raw;
    };
    const Case cases[] = {
        {0.1, 1000},      {2.675, 26750}, // 26749.99999999999982 -> nearest
        {0.03125, 312}, // exactly 312.5 -> even
        {0.09375, 938}, // exactly 937.5 -> even
        {-0.03125, -312}, {1.03125, 10312}, {0.00005, 1}, // stored just above the half
        {0.000049999, 0}, {-0.0, 0},        {1e-200, 0},  {123456789.1234, 1234567891234}, {9e14, 9000000000000000000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(Fixed4::fromDouble(c.value).raw(), c.raw);
    }
}

TEST(Fixed4, SumsAddUpExactly)
{
    Fixed4 total;
    for (const double v : {0.1, 0.2, 0.3})
        total += Fixed4::fromDouble(v);
    EXPECT_EQ(total.toDouble(), 0.6);
    EXPECT_NE(0.1 + 0.2 + 0.3, 0.6); // what the sum in doubles would have stored
    EXPECT_EQ((total - Fixed4::fromDouble(0.6)).raw(), 0);
    EXPECT_EQ((total / 3.0).raw(), 2000);
}

TEST(Fixed4, RefusesWhatDoesNotFit)
{
    const double refused[] = {1e15, -1e15, std::numeric_limits<double>::quiet_NaN(), HUGE_VAL};
    for (const double v : refused) {
        SCOPED_TRACE(v);
        EXPECT_THROW(Fixed4::fromDouble(v), Fixed4Error);
    }
    EXPECT_THROW(Fixed4::fromDouble(1.0) / 0.0, Fixed4Error);

    Fixed4 big = Fixed4::fromRaw(std::numeric_limits<qint64>::max() - 1);
    EXPECT_THROW(big += Fixed4::fromDouble(1.0), Fixed4Error);
    EXPECT_EQ(big.raw(), std::numeric_limits<qint64>::max() - 1); // unchanged after the refusal
    Fixed4 small = Fixed4::fromRaw(std::numeric_limits<qint64>::min() + 1);
    EXPECT_THROW(small -= Fixed4::fromDouble(1.0), Fixed4Error);

    try {
        Fixed4::fromDouble(1e15);
    } catch (const Fixed4Error& e) {
        EXPECT_TRUE(e.text().startsWith(QStringLiteral("Valor fora do intervalo"))) << e.what();
    }
}
