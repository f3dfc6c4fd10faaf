#include "platform/text/NumberText.h"
#include "platform/text/QStringPrinter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace t = kv::text;

namespace {
const double kNaN = std::numeric_limits<double>::quiet_NaN();
}

TEST(NumberText, Money)
{
    struct Case {
        double value;
        int decimals;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, 2, "1.234,50 €"},
        {-1234.5, 2, "-1.234,50 €"},
        {0.005, 2, "0,01 €"},
        {2.675, 2, "2,67 €"},
        {999.995, 2, "1.000,00 €"}, // stored just above the half
        {9.995, 2, "9,99 €"}, // stored just below
        {12.5, 0, "13 €"},
        {1234567.891, 3, "1.234.567,891 €"},
        {1e15, 2, "1.000.000.000.000.000,00 €"},
        {-0.0, 2, "0,00 €"},
        {-0.001, 2, "0,00 €"},
        {kNaN, 2, ""},
        {HUGE_VAL, 2, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(t::money(c.value, c.decimals), QString::fromUtf8(c.text));
    }
}

TEST(NumberText, NumberFixedPlainAndPercent)
{
    struct Case {
        QString actual;
        const char* expected;
    };
    const Case cases[] = {
        {t::number(1234.5, 3), "1.234,500"},
        {t::number(12500, 0), "12.500"},
        {t::number(-0.4, 0), "0"},
        {t::number(-999.5, 0), "-1.000"},
        {t::fixed(12.5, 2, 10), "12,50"},
        {t::fixed(12500, 0, 10), "12500"},
        {t::fixed(12345678901.0, 0, 10), "12345678900"},
        {t::fixed(-2.5, 0), "-3"},
        {t::fixed(0.005, 2), "0,01"},
        {t::plain(12.5), "12,5"},
        {t::plain(-7), "-7"},
        {t::plain(0), "0"},
        {t::plain(-0.0), "0"},
        {t::plain(0.1 + 0.2), "0,3"},
        {t::plain(2.675), "2,675"},
        {t::plain(1.0 / 3.0), "0,333333333333333"},
        {t::plain(123456789012345.0), "123456789012345"},
        {t::plain(1e15), "1E15"},
        {t::plain(1.5e20), "1,5E20"},
        {t::plain(0.00001), "0,00001"},
        {t::plain(-0.000001), "-1E-6"},
        {t::plain(kNaN), ""},
        {t::percent(12.5), "12,5 %"},
        {t::percent(0), "0 %"},
        {t::percent(kNaN), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}

TEST(NumberText, DisplayFormats)
{
    struct Case {
        double value;
        const char* format;
        const char* text;
    };
    const Case cases[] = {
        {1234.5, "#,##0.0000;(#,##0.0000)", "1.234,5000"},
        {-1234.5, "#,##0.0000;(#,##0.0000)", "(1.234,5000)"},
        {0, "#,##0.0000;(#,##0.0000)", "0,0000"},
        {1234.5, "###,###,##0.0##", "1.234,5"},
        {0.1234, "###,###,##0.0##", "0,123"},
        {1234567.0005, "###,###,##0.0##", "1.234.567,001"},
        {-2.5, "###,###,##0.0##", "-2,5"},
        {-0.0001, "###,###,##0.0##", "0,0"},
        {0.5, "#.##", ",5"},
        {12.345, "#.##", "12,35"},
        {1234567, "###,###,###", "1.234.567"},
        {0, "###,###,###", ""},
        {0.08, "#.###", ",08"},
        {7, "000", "007"},
        {1234, "00", "1234"},
        {12.5, "0.00 \"kg\"", "12,50 kg"},
        {0, "0.00;-0.00;\"zero\"", "zero"},
        {0.004, "0.00;-0.00;\"zero\"", "zero"},
        {12.5, "", "12,5"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.value << " " << c.format);
        EXPECT_EQ(t::formatted(c.value, QString::fromUtf8(c.format)), QString::fromUtf8(c.text));
    }
}

TEST(NumberText, MachineTimes)
{
    struct Case {
        QString actual;
        const char* expected;
    };
    const Case cases[] = {
        {t::minutesText(90), "01:30"},
        {t::minutesText(5), "00:05"},
        {t::minutesText(60), "01:00"},
        {t::minutesText(59.99), "00:59"},
        {t::minutesText(0), "00:00"},
        {t::minutesText(6000), "100:00"},
        {t::minutesText(-90), "-01:30"},
        {t::minutesText(HUGE_VAL), ""}, // a machine line with no production per hour
        {t::minutesText(kNaN), ""},
        {t::hoursMinutesText(1.5), "01:50"},
        {t::hoursMinutesText(2), "02:00"},
        {t::hoursMinutesText(12.45), "12:45"},
        {t::hoursMinutesText(0.05), "00:05"},
        {t::hoursMinutesText(0), "00:00"},
        {t::hoursMinutesText(kNaN), ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.actual, QString::fromUtf8(c.expected));
}

TEST(NumberText, ParsesTypedNumbers)
{
    struct Case {
        const char* text;
        std::optional<double> value;
    };
    const Case cases[] = {
        {"12,5", 12.5},
        {"12.5", 12.5},
        {"1.234,56", 1234.56},
        {"1.234.567", 1234567.0},
        {" -3 ", -3.0},
        {"+0,5", 0.5},
        {",5", 0.5},
        {"1,", 1.0},
        {"1e3", 1000.0},
        {"2,5E-2", 0.025},
        {"", std::nullopt},
        {"abc", std::nullopt},
        {"1,2,3", std::nullopt},
        {"12.34,5", std::nullopt},
        {"1.2.3", std::nullopt},
        {"-", std::nullopt},
        {",", std::nullopt},
        {"1 000", std::nullopt},
        {"1e400", std::nullopt},
        {"1e", std::nullopt},
        {"--1", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(t::parseNumber(QString::fromUtf8(c.text)), c.value);
    }
}

TEST(NumberText, ParsesTypedWholeNumbers)
{
    struct Case {
        const char* text;
        std::optional<qint64> value;
    };
    const Case cases[] = {
        {"42", 42},
        {" -7 ", -7},
        {"+5", 5},
        {"999999999", 999999999},
        {"1,5", std::nullopt},
        {"", std::nullopt},
        {"+-5", std::nullopt},
        {"-", std::nullopt},
        {"99999999999999999999", std::nullopt},
        {"12a", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(t::parseInteger(QString::fromUtf8(c.text)), c.value);
    }
    EXPECT_EQ(t::notANumberMessage(QStringLiteral("x")), QStringLiteral("\"x\" não é um número válido."));
    EXPECT_EQ(t::notAnIntegerMessage(QStringLiteral("1,5")), QStringLiteral("\"1,5\" não é um número inteiro válido."));
}
