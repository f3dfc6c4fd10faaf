#include "platform/db/engine/RowStore.h"

#include <QDateTime>
#include <cstring>
#include <limits>
#include <ctime>
#include <gtest/gtest.h>

using namespace kv::db;

namespace {

struct DateCase {
    const char* text;
    bool valid;
    QDateTime expected;
};

class RowStoreDates : public ::testing::TestWithParam<DateCase> {};

// The day number is computed by hand for speed; QDate is the reference.
TEST_P(RowStoreDates, ParsesAsQDateWould)
{
    const DateCase& c = GetParam();
    qint64 jd = 0;
    int ms = 0;
    const bool ok = RowStore::parseDateTime(c.text, std::strlen(c.text), jd, ms);
    ASSERT_EQ(ok, c.valid);
    if (ok) {
        EXPECT_EQ(RowStore::dateTimeValue(jd, ms).toDateTime(), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RowStoreDates,
    ::testing::Values(DateCase{"2024-02-29 23:59:59.5", true, QDateTime(QDate(2024, 2, 29), QTime(23, 59, 59, 500))},
                      DateCase{"2000-02-29", true, QDateTime(QDate(2000, 2, 29), QTime(0, 0))},
                      DateCase{"1900-03-01T08:05:00", true, QDateTime(QDate(1900, 3, 1), QTime(8, 5))},
                      DateCase{"0001-01-01 00:00:00", true, QDateTime(QDate(1, 1, 1), QTime(0, 0))},
                      DateCase{"9999-12-31 12:00:00+01", true, QDateTime(QDate(9999, 12, 31), QTime(12, 0))},
                      DateCase{"2023-03-26 01:30:00", true, QDateTime(QDate(2023, 3, 26), QTime(1, 30))},
                      DateCase{"2023-02-29", false, {}}, DateCase{"1900-02-29", false, {}},
                      DateCase{"2023-13-01", false, {}}, DateCase{"2023-04-31", false, {}}, DateCase{"hoje", false, {}},
                      DateCase{"2023/01/01", false, {}}));

TEST(RowStore, CellsOfEveryTypeAcrossBatches)
{
    RowStore store({FieldType::Int16, FieldType::Int64, FieldType::Float, FieldType::Text, FieldType::Blob,
                    FieldType::DateTime, FieldType::Memo, FieldType::Int32, FieldType::Text});
    const int rows = RowStore::BatchRows * 2 + 3;
    for (int r = 0; r < rows; ++r) {
        store.beginRow();
        store.putInt(r % 2 ? -r : r);
        r % 3 ? store.putInt(std::numeric_limits<qint64>::min() + r) : store.putNull();
        store.putFloat(r / 4.0);
        const QByteArray text = QByteArray("linha ") + QByteArray::number(r);
        store.putText(text.constData(), std::size_t(text.size()));
        store.putBlob("\0\1", 2);
        store.putDateTime(2460000 + r, r);
        store.putText("", 0);
        store.putText("12", 2); // a number read as text goes into the integer column
        store.endRow(); // the last column is left null
    }
    ASSERT_EQ(store.size(), rows);
    for (int r : {0, 1, RowStore::BatchRows - 1, RowStore::BatchRows, rows - 1}) {
        SCOPED_TRACE(r);
        // Read out of order, so the memo of the last cell is put to the test.
        EXPECT_EQ(store.value(r, 3).toString(), QStringLiteral("linha %1").arg(r));
        EXPECT_EQ(store.value(r, 0).toInt(), r % 2 ? -r : r);
        EXPECT_EQ(store.isNull(r, 1), r % 3 == 0);
        if (r % 3) {
            EXPECT_EQ(store.intValue(r, 1), std::numeric_limits<qint64>::min() + r);
        }
        EXPECT_DOUBLE_EQ(store.floatValue(r, 2), r / 4.0);
        EXPECT_EQ(store.value(r, 4).toByteArray(), QByteArray("\0\1", 2));
        EXPECT_EQ(store.value(r, 5).toDateTime(),
                  QDateTime(QDate::fromJulianDay(2460000 + r), QTime::fromMSecsSinceStartOfDay(r)));
        EXPECT_EQ(store.value(r, 6).toString(), QString());
        EXPECT_FALSE(store.isNull(r, 6));
        EXPECT_EQ(store.value(r, 7).toInt(), 12);
        EXPECT_TRUE(store.value(r, 8).isNull());
    }
}

} // namespace

namespace {

// Dates are built from each day's offset; in a zone with summer time they
// must still equal the local date-times a form makes, on both sides of the
// change and on the day of it.
TEST(RowStore, DatesMatchLocalTimeInAZoneWithSummerTime)
{
    const QByteArray saved = qgetenv("TZ");
    const bool had = qEnvironmentVariableIsSet("TZ");
    qputenv("TZ", "Europe/Lisbon");
    tzset();
    // Days far from those of other tests, so no offset was found for them in UTC.
    const QDateTime cases[] = {
        QDateTime(QDate(2031, 1, 15), QTime(10, 0)),  QDateTime(QDate(2031, 7, 15), QTime(10, 0)),
        QDateTime(QDate(2031, 3, 30), QTime(0, 30)), // before the change at 01:00
        QDateTime(QDate(2031, 3, 30), QTime(3, 0)), // after it
        QDateTime(QDate(2031, 10, 26), QTime(23, 0)),
    };
    for (const QDateTime& local : cases) {
        SCOPED_TRACE(local.toString(Qt::ISODate).toStdString());
        const QDateTime read = RowStore::localDateTime(local.date().toJulianDay(), local.time().msecsSinceStartOfDay());
        EXPECT_EQ(read, local);
        EXPECT_EQ(read.date(), local.date());
        EXPECT_EQ(read.time(), local.time());
        EXPECT_EQ(read.offsetFromUtc(), local.offsetFromUtc());
    }
    if (had)
        qputenv("TZ", saved);
    else
        qunsetenv("TZ");
    tzset();
}

} // namespace
