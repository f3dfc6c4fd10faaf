#include "quotes/QuoteDatabase.h"

#include "quotes/core/QuoteLookupList.h"

#include "platform/db/Dataset.h"

#include <gtest/gtest.h>

using namespace kv::quotes;
using namespace kv::quotes::test;
using LookupKind = QuoteLookupList::Kind;

namespace {

// 300 quotes, each a sub-quote 0 and a summary row; every tenth summary row
// approved; customer names in four groups that sort without regard to case
// and accent: "abade", "Águeda", "Lisboa", "Zebra".
void storeQuotes(kv::db::Connection& db)
{
    static const char* const names[] = {"Zebra", "Águeda", "abade", "Lisboa"};
    kv::db::Transaction transaction(db);
    for (int number = 1; number <= 300; ++number)
        for (int subQuote : {0, 99})
            db.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, NOME, APROVADO) VALUES (:C, :S, :N, :A)",
                    {{"C", number},
                     {"S", subQuote},
                     {"N",
                      QStringLiteral("%1 %2").arg(QString::fromUtf8(names[number % 4])).arg(number, 3, 10, QChar('0'))},
                     {"A", subQuote == 99 && number % 10 == 0 ? QStringLiteral("S") : QStringLiteral("N")}});
    transaction.commit();
}

struct LookupCase {
    const char* label;
    LookupKind kind;
    const char* typed; // nullptr: the first screen
    const char* current; // key of the row the list stands on
    int before; // rows of the window before it
    int rows; // rows the list read
};

const LookupCase kLookups[] = {
    {"quotesFirstScreen", LookupKind::Quotes, nullptr, "1", 0, 100},
    {"quotesTypedApprovedNumber", LookupKind::Quotes, "150", "151", 20, 100},
    {"quotesTypedPastTheEnd", LookupKind::Quotes, "900", "299", 19, 20},
    {"baseByNumberTyped", LookupKind::BaseByNumber, "150", "150", 20, 100},
    {"baseByNumberNearTheStart", LookupKind::BaseByNumber, "5", "5", 4, 84},
    {"baseByNameFirstScreen", LookupKind::BaseByName, nullptr, "abade 002", 0, 100},
    {"baseByNameTypedWithoutAccent", LookupKind::BaseByName, "agu", "Águeda 001", 20, 100},
    {"baseByNameTypedInCapitals", LookupKind::BaseByName, "LIS", "Lisboa 003", 20, 100},
};

class QuoteLookupListTest : public ::testing::TestWithParam<std::tuple<LookupCase, kv::test::Engine>> {};

TEST_P(QuoteLookupListTest, readsOnlyAWindowAroundTheTypedKey)
{
    const LookupCase& c = std::get<0>(GetParam());
    QuoteDatabase database(std::get<1>(GetParam()));
    if (!database.available())
        GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    storeQuotes(database.connection());
    QuoteLookupList list(database.openAnother(), c.kind);
    list.open();
    if (c.typed) {
        ASSERT_TRUE(list.position(QString::fromUtf8(c.typed)));
    }
    kv::db::Dataset& rows = list.dataset();
    const QString key = list.keyField();
    EXPECT_EQ(rows.value(key).toString(), QString::fromUtf8(c.current));
    EXPECT_EQ(rows.currentRow(), c.before);
    const int current = rows.currentRow();
    EXPECT_EQ(rows.recordCount(), c.rows);
    // In the lookup's order, and a quote whose summary row is approved is not offered for change.
    QVariant previous;
    for (bool more = rows.first(); more && !rows.eof(); more = rows.next()) {
        const QVariant value = rows.value(key);
        if (previous.isValid() && c.kind != LookupKind::BaseByName) {
            EXPECT_LT(previous.toInt(), value.toInt());
        }
        if (c.kind == LookupKind::Quotes) {
            EXPECT_NE(value.toInt() % 10, 0) << value.toInt();
            EXPECT_EQ(rows.value("SUBCODIGO").toInt(), 0);
        }
        previous = value;
    }
    EXPECT_GE(current, 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, QuoteLookupListTest,
                         ::testing::Combine(::testing::ValuesIn(kLookups), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<LookupCase>);

TEST(QuoteLookupListText, aNumberListIsNotMovedByText)
{
    QuoteDatabase database(kv::db::Dialect::Sqlite);
    QuoteLookupList list(database.openAnother(), LookupKind::BaseByNumber);
    list.open();
    EXPECT_FALSE(list.position(QStringLiteral("12a")));
    EXPECT_EQ(list.dataset().currentRow(), -1); // an empty table: nothing to stand on
}

} // namespace
