#include "customers/parts/CustomerTotals.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QDateTime>

using kv::customers::CustomerTotals;
using kv::test::Engine;

namespace {

QDateTime at(int year, int month, int day) { return QDateTime(QDate(year, month, day), QTime(10, 30)); }

// Customer 45: two invoices in March 2023 (one of two lines), one in
// January 2024; receipts in 2023 and 2024. Customer 46 has an invoice too.
class TotalsTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        kv::test::insertRows(*db, "FACMOVIM", {"TIPDOC", "DOCNRO", "CLINRO", "DATEMI"},
                             {{"FT", 1, 45, at(2023, 3, 2)},
                              {"FT", 2, 45, at(2023, 3, 31)},
                              {"FT", 3, 45, at(2024, 1, 15)},
                              {"FT", 4, 46, at(2024, 1, 15)},
                              {"NC", 1, 45, at(2024, 1, 20)}});
        kv::test::insertRows(*db, "FACMOVDET", {"TIPDOC", "DOCNRO", "DETAIL", "VAL_VENDA"},
                             {{"FT", 1, 1, 100.0},
                              {"FT", 1, 2, 50.5},
                              {"FT", 2, 1, 10.0},
                              {"FT", 3, 1, 200.0},
                              {"FT", 4, 1, 999.0},
                              {"NC", 1, 1, -20.0}});
        kv::test::insertRows(
            *db, "CLICOBREC", {"RECIBO", "CLIENTE", "DATEMI", "VALTOT"},
            {{1, 45, at(2023, 12, 1), 160.5}, {2, 45, at(2024, 2, 1), 80.0}, {3, 46, at(2024, 2, 1), 5.0}});
        // Rows left from an earlier customer of this user, and another user's.
        kv::test::insertRows(*db, "WORKVENDASMES", {"UTIL", "CLINRO", "ANO", "MES", "VALOR"},
                             {{"ANA", 46, "2022", 5, 1.0}, {"RUI", 45, "2022", 5, 7.0}});
        kv::test::insertRows(*db, "WORKCLIRECANO", {"UTIL", "CLINRO", "ANO", "VALREC"}, {{"ANA", 46, "2022", 1.0}});
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

TEST_P(TotalsTest, RebuildReplacesTheUsersRowsWithTheCustomersTotals)
{
    CustomerTotals::rebuild(*db, "ANA", 45);

    const auto months = CustomerTotals::salesByMonth(*db, "ANA", 45);
    ASSERT_EQ(months.size(), 2);
    EXPECT_EQ(months[0].year, "2023");
    EXPECT_EQ(months[0].month, 3);
    EXPECT_DOUBLE_EQ(months[0].value, 160.5);
    EXPECT_EQ(months[1].year, "2024"); // the latest month last: the grid opens on it
    EXPECT_DOUBLE_EQ(months[1].value, 180.0);
    const auto years = CustomerTotals::salesByYear(*db, "ANA", 45);
    ASSERT_EQ(years.size(), 2);
    EXPECT_DOUBLE_EQ(years[1].value, 180.0);

    const auto receipts = CustomerTotals::receiptsByMonth(*db, "ANA", 45);
    ASSERT_EQ(receipts.size(), 2);
    EXPECT_EQ(receipts[0].month, 12);
    EXPECT_DOUBLE_EQ(CustomerTotals::receiptsByYear(*db, "ANA", 45).at(1).value, 80.0);

    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM WORKVENDASMES WHERE UTIL = 'ANA' AND CLINRO = 46").toInt(), 0);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM WORKCLIRECANO WHERE UTIL = 'ANA' AND CLINRO = 46").toInt(), 0);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM WORKVENDASMES WHERE UTIL = 'RUI'").toInt(), 1);
    // The year is stored as four characters whatever the engine makes of it.
    EXPECT_EQ(db->scalar("SELECT ANO FROM WORKVENDASANO WHERE UTIL = 'ANA' ORDER BY ANO").toString(), "2023");
}

TEST_P(TotalsTest, CustomerWithoutDocumentsLeavesEmptyTables)
{
    CustomerTotals::rebuild(*db, "ANA", 47);
    EXPECT_TRUE(CustomerTotals::salesByMonth(*db, "ANA", 47).isEmpty());
    EXPECT_TRUE(CustomerTotals::receiptsByYear(*db, "ANA", 47).isEmpty());
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM WORKVENDASMES WHERE UTIL = 'ANA'").toInt(), 0);
}

TEST_P(TotalsTest, ReceivablesByKeyAndOnlyWithTheTreasuryLink)
{
    kv::test::insertRows(
        *db, "CLIVALCOB",
        {"CODIGO", "DEB0", "DEB30", "DEB3060", "DEB6090", "DEB90120", "DEB120180", "DEB180", "TITULOS", "PREDAT"},
        {{45, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0, 7.0, 100.0, 200.0}, {46, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 50.0, 0.0}});
    const auto found = CustomerTotals::receivables(*db, 45, true);
    EXPECT_TRUE(found.found);
    EXPECT_DOUBLE_EQ(found.amounts[8], 200.0);
    EXPECT_DOUBLE_EQ(found.total(), 28.0); // bills and post-dated cheques are not counted
    EXPECT_DOUBLE_EQ(CustomerTotals::receivables(*db, 46, true).total(), 0.0); // bills only
    EXPECT_FALSE(CustomerTotals::receivables(*db, 47, true).found);
    const auto withoutTreasury = CustomerTotals::receivables(*db, 45, false);
    EXPECT_FALSE(withoutTreasury.found);
    EXPECT_DOUBLE_EQ(withoutTreasury.total(), 0.0);
}

KV_ENGINE_SUITE(TotalsTest);

} // namespace
