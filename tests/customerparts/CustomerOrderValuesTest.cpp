// The customer orders as the approval list and the order print read them:
// the order book by delivery month and the monthly ordered values of a year.
#include "customers/parts/CustomerOrderValues.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QDateTime>

using kv::customers::CustomerOrderValues;
using kv::test::Engine;

namespace {

QDateTime orderedAt(int year, int month, int day) { return QDateTime(QDate(year, month, day), QTime(10, 30)); }

// Orders of customers 45 and 46 (both in the customer file) and 47 (not).
class OrderValuesTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        db->exec("DELETE FROM ENCCLIDET");
        db->exec("DELETE FROM ENCCLIMAS");
        db->exec("DELETE FROM CLIENTES WHERE CODIGO IN (45, 46, 47)");
        kv::test::insertRows(*db, "CLIENTES", {"CODIGO", "NOME"}, {{45, "Caixas Lda"}, {46, "Cartonagem SA"}});
        kv::test::insertRows(*db, "ENCCLIMAS", {"ENCNRO", "CLINRO"}, {{1, 45}, {2, 45}, {3, 46}, {4, 47}});
    }

    void line(int order, int detail, int customer, const QDateTime& issued, const QDateTime& delivery,
              const QVariant& article, double value, double openValue, double openQuantity, const char* delivered)
    {
        kv::test::insertRows(*db, "ENCCLIDET",
                             {"ENCNRO", "DETAIL", "CLINRO", "DATEMI", "DATAENTRG", "ARTIGO", "VALLIQUIDO", "VALLIQCAR",
                              "QTDCAR", "TOTENT"},
                             {{order, detail, customer, issued, delivery, article, value, openValue, openQuantity,
                               QString::fromLatin1(delivered)}});
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

TEST_P(OrderValuesTest, orderBookHasTheOpenLinesByDeliveryMonthNewestFirst)
{
    line(1, 1, 45, orderedAt(2024, 1, 5), orderedAt(2024, 2, 10), "CX-1", 100, 100, 1000, "N");
    line(1, 2, 45, orderedAt(2024, 1, 5), orderedAt(2024, 2, 28), "CX-1", 50, 40.5, 400, "N");
    line(1, 3, 45, orderedAt(2024, 1, 5), orderedAt(2024, 3, 1), "CX-1", 70, 70, 700, "N");
    line(2, 1, 45, orderedAt(2024, 1, 9), orderedAt(2024, 3, 15), "CX-2", 30, 0, 0, "S"); // delivered
    line(3, 1, 46, orderedAt(2024, 1, 9), orderedAt(2024, 3, 15), "CX-3", 99, 99, 9, "N"); // another customer

    const auto book = CustomerOrderValues::orderBook(*db, 45);
    ASSERT_EQ(book.size(), 2);
    EXPECT_EQ(book[0].year, 2024);
    EXPECT_EQ(book[0].month, 3);
    EXPECT_DOUBLE_EQ(book[0].value, 70);
    EXPECT_DOUBLE_EQ(book[0].quantity, 700);
    EXPECT_EQ(book[1].month, 2);
    EXPECT_DOUBLE_EQ(book[1].value, 140.5);
    EXPECT_DOUBLE_EQ(book[1].quantity, 1400);
}

TEST_P(OrderValuesTest, customerWithoutOrdersOrNotInTheFileHasAnEmptyBook)
{
    line(4, 1, 47, orderedAt(2024, 1, 5), orderedAt(2024, 2, 10), "CX-1", 100, 100, 1000, "N");
    EXPECT_TRUE(CustomerOrderValues::orderBook(*db, 0).isEmpty());
    EXPECT_TRUE(CustomerOrderValues::orderBook(*db, 47).isEmpty());
}

TEST_P(OrderValuesTest, monthlyValuesOfTheYearPerCustomerRoundedToWholeUnits)
{
    line(1, 1, 45, orderedAt(2024, 1, 1), orderedAt(2024, 2, 1), "CX-1", 100.25, 0, 0, "N"); // first moment of the year
    line(1, 2, 45, orderedAt(2024, 1, 31), orderedAt(2024, 2, 1), "CX-1", 0.25, 0, 0, "N"); // January: 100.5 -> 101
    line(1, 3, 45, orderedAt(2024, 1, 20), orderedAt(2024, 2, 1), QVariant(), 500, 0, 0, "N"); // no article: left out
    line(2, 1, 45, QDateTime(QDate(2024, 12, 31), QTime(23, 59)), orderedAt(2025, 1, 5), "CX-2", 10.4, 0, 0, "N");
    line(2, 2, 45, QDateTime(QDate(2023, 12, 31), QTime(23, 59)), orderedAt(2024, 1, 5), "CX-2", 999, 0, 0, "N");
    line(2, 3, 45, orderedAt(2025, 1, 1), orderedAt(2025, 1, 5), "CX-2", 888, 0, 0, "N");
    line(3, 1, 46, orderedAt(2024, 6, 15), orderedAt(2024, 7, 1), "CX-3", -2.5, 0, 0,
         "N"); // a credit rounds away from 0
    // Another user's rows of the year and the user's rows of another year stay.
    kv::test::insertRows(*db, "ENCVALCLI", {"UTIL", "ANO", "CODIGO", "ENCOME01", "ENCOME13"},
                         {{"RUI", "2024", 45, 7.0, 7.0}, {"ANA", "2023", 45, 3.0, 3.0}, {"ANA", "2024", 99, 1.0, 1.0}});
    kv::test::insertRows(*db, "WORKENCVALCLI", {"UTIL", "CODIGO", "ANO", "MES", "VALOR"},
                         {{"ANA", 99, "2024", 1, 1.0}, {"RUI", 45, "2024", 1, 7.0}});

    EXPECT_EQ(CustomerOrderValues::rebuildMonthly(*db, "ANA", "2024"), 2);

    const auto customer45 = CustomerOrderValues::monthly(*db, "ANA", "2024", 45);
    ASSERT_TRUE(customer45.has_value());
    EXPECT_DOUBLE_EQ(customer45->months[0], 101);
    EXPECT_DOUBLE_EQ(customer45->months[11], 10);
    for (int month = 2; month <= 11; ++month)
        EXPECT_DOUBLE_EQ(customer45->months[static_cast<std::size_t>(month - 1)], 0) << month;
    EXPECT_DOUBLE_EQ(customer45->total, 111);
    const auto customer46 = CustomerOrderValues::monthly(*db, "ANA", "2024", 46);
    ASSERT_TRUE(customer46.has_value());
    EXPECT_DOUBLE_EQ(customer46->months[5], -3);
    EXPECT_DOUBLE_EQ(customer46->total, -3);

    EXPECT_FALSE(CustomerOrderValues::monthly(*db, "ANA", "2024", 99).has_value()); // replaced
    EXPECT_DOUBLE_EQ(CustomerOrderValues::monthly(*db, "RUI", "2024", 45)->months[0], 7);
    EXPECT_DOUBLE_EQ(CustomerOrderValues::monthly(*db, "ANA", "2023", 45)->months[0], 3);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM WORKENCVALCLI WHERE UTIL = 'ANA' AND ANO = '2024'").toInt(), 3);
    EXPECT_EQ(db->scalar("SELECT VALOR FROM WORKENCVALCLI WHERE UTIL = 'RUI'").toDouble(), 7.0);
}

TEST_P(OrderValuesTest, aYearWithoutOrdersLeavesTheUserNoRows)
{
    kv::test::insertRows(*db, "ENCVALCLI", {"UTIL", "ANO", "CODIGO", "ENCOME01", "ENCOME13"},
                         {{"ANA", "2024", 45, 1.0, 1.0}});
    EXPECT_EQ(CustomerOrderValues::rebuildMonthly(*db, "ANA", "2024"), 0);
    EXPECT_FALSE(CustomerOrderValues::monthly(*db, "ANA", "2024", 45).has_value());
}

// More customers than one statement writes.
TEST_P(OrderValuesTest, manyCustomersAreAllWritten)
{
    for (int customer = 1000; customer < 1250; ++customer)
        line(10000 + customer, 1, customer, orderedAt(2024, 1 + customer % 12, 3), orderedAt(2024, 12, 1), "CX-1",
             customer, 0, 0, "N");
    EXPECT_EQ(CustomerOrderValues::rebuildMonthly(*db, "ANA", "2024"), 250);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM ENCVALCLI WHERE UTIL = 'ANA'").toInt(), 250);
    EXPECT_DOUBLE_EQ(CustomerOrderValues::monthly(*db, "ANA", "2024", 1249)->total, 1249);
}

INSTANTIATE_TEST_SUITE_P(Engines, OrderValuesTest, ::testing::ValuesIn(kv::test::engines()), kv::test::engineTestName);

} // namespace
