#include "platform/text/DateText.h"
#include "platform/text/QStringPrinter.h"

#include <gtest/gtest.h>

namespace t = kv::text;

TEST(DateText, WritesDayMonthYear)
{
    EXPECT_EQ(t::date(QDate(2024, 3, 5)), QStringLiteral("05/03/2024"));
    EXPECT_EQ(t::date(QDate()), QString());
    EXPECT_EQ(t::dateTime(QDateTime(QDate(2024, 12, 31), QTime(7, 4, 9))), QStringLiteral("31/12/2024 07:04:09"));
    EXPECT_EQ(t::dateTime(QDateTime()), QString());
}

TEST(DateText, ParsesTypedDates)
{
    struct Case {
        const char* text;
        QDate date;
    };
    const Case cases[] = {
        {"05/03/2024", QDate(2024, 3, 5)},
        {"5-3-2024", QDate(2024, 3, 5)},
        {"05.03.24", QDate(2024, 3, 5)},
        {" 29/02/2024 ", QDate(2024, 2, 29)},
        {"29/02/2023", QDate()},
        {"31/04/2024", QDate()},
        {"__/__/____", QDate()},
        {"2024-03-05", QDate()},
        {"05/03/202", QDate()},
        {"", QDate()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const auto parsed = t::parseDate(QString::fromUtf8(c.text));
        EXPECT_EQ(parsed.value_or(QDate()), c.date);
        EXPECT_EQ(parsed.has_value(), c.date.isValid());
    }
    EXPECT_EQ(t::notADateMessage(QStringLiteral("31/02")), QStringLiteral("\"31/02\" não é uma data válida."));
}
