#include "platform/text/DecimalRounding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using kv::text::roundDecimal;

TEST(DecimalRounding, RoundsOnceHalfAwayFromZeroOnTheDecimalExpansion)
{
    struct Case {
        double value;
        int decimals;
        int precision;
        double expected;
    };
    const Case cases[] = {
        {10.125, 2, 15, 10.13}, // exactly representable half goes up
        {-10.125, 2, 15, -10.13},
        {1.005, 2, 15, 1.00}, // stored just below 1.005
        {-1.005, 2, 15, -1.00},
        {2.675, 2, 15, 2.67}, // stored just below 2.675
        {0.005, 2, 15, 0.01}, // stored just above 0.005
        {0.045, 2, 15, 0.04},
        {1.115, 2, 15, 1.11},
        {9.995, 2, 15, 9.99},
        {2.5, 0, 15, 3.0},
        {-2.5, 0, 15, -3.0},
        {0.49999999999999994, 0, 15, 0.0}, // no rounding to 15 digits beforehand
        {0.1 + 0.2, 2, 15, 0.3},
        {123456.78915, 4, 15, 123456.7891},
        {999.995, 2, 15, 1000.0},
        {1.23456789012345678, 17, 15, 1.23456789012346}, // precision comes first
        {1e15, 2, 15, 1e15},
        {1000000000000005.0, 2, 15, 1000000000000010.0}, // 16 digits: rounded at the 15th
        {999999999999999.5, 0, 15, 1e15}, // carry into a new digit
        {1234567890.5, 0, 10, 1234567891.0}, // sheet counts
        {12345678901.4, 0, 10, 12345678900.0},
        {0.00004, 4, 15, 0.0},
        {0.00005, 4, 15, 0.0001},
        {5e-300, 2, 15, 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " at " << c.decimals << "/" << c.precision);
        EXPECT_EQ(roundDecimal(c.value, c.decimals, c.precision), c.expected);
    }
}

TEST(DecimalRounding, ZeroResultsHaveNoSign)
{
    for (const double value : {-0.0, -0.004, -1e-300}) {
        SCOPED_TRACE(value);
        const double r = roundDecimal(value, 2);
        EXPECT_EQ(r, 0.0);
        EXPECT_FALSE(std::signbit(r));
    }
}

TEST(DecimalRounding, NonFiniteValuesPassThrough)
{
    EXPECT_TRUE(std::isnan(roundDecimal(std::numeric_limits<double>::quiet_NaN(), 2)));
    EXPECT_EQ(roundDecimal(HUGE_VAL, 2), HUGE_VAL);
    EXPECT_EQ(roundDecimal(-HUGE_VAL, 2), -HUGE_VAL);
}
