// The issue of production orders without widgets: the copies of a run, the
// refusals, the listing, the queue numbered through the run with the item
// keys, and the issued marks of a whole slot in the same transaction.
#include "production/IssueOrders.h"

#include "production/core/OrderIssue.h"

#include "platform/db/DbError.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

using namespace kv::production;
using namespace kv::production::test;
using kv::test::Engine;

namespace {

struct IssueCopyCase {
    const char* label;
    QStringList names;
    std::array<bool, kv::db::PrintQueue::CopySlots> ticked;
    QStringList copies;
};

const IssueCopyCase issueCopyCases[] = {
    {"slotOrder", {"Produção", "Armazém", "Qualidade"}, {true, false, true}, {"Produção", "Qualidade"}},
    {"unnamedSlotIgnored", {"Produção", "", "Qualidade"}, {true, true, false}, {"Produção"}},
    {"nameInTwoSlotsPrintsTwice", {"Produção", "Produção"}, {true, true}, {"Produção", "Produção"}},
    {"cutTo15", {"Uma via de nome muito longo"}, {true}, {"Uma via de nome"}},
    {"noneTicked", {"Produção", "Armazém"}, {false, false}, {}},
};

class IssueCopies : public ::testing::TestWithParam<IssueCopyCase> {};

TEST_P(IssueCopies, followTheTickedNamedSlots)
{
    EXPECT_EQ(OrderIssue::chosenCopies(GetParam().names, GetParam().ticked), GetParam().copies);
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueCopies, ::testing::ValuesIn(issueCopyCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

struct IssueRefusalCase {
    const char* label;
    QStringList copies;
    QString model;
    bool refused;
};

const IssueRefusalCase issueRefusalCases[] = {
    {"modelM", {"Produção"}, "M", false},
    {"modelT", {"Produção"}, "T", false},
    {"noCopy", {}, "M", true},
    {"modelWithoutDocuments", {"Produção"}, "P", true},
    {"emptyModel", {"Produção"}, "", true},
};

class IssueRefusals : public ::testing::TestWithParam<IssueRefusalCase> {};

TEST_P(IssueRefusals, sayWhyNothingIsIssued)
{
    const auto refusal = OrderIssue::refusal(GetParam().copies, GetParam().model);
    EXPECT_EQ(refusal.has_value(), GetParam().refused);
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueRefusals, ::testing::ValuesIn(issueRefusalCases),
                         [](const auto& testCase) { return std::string(testCase.param.label); });

TEST(IssueItemKey, writesNumberSlotAndSubQuoteTogether)
{
    EXPECT_EQ(OrderIssue::itemKey(1234, 2, 0), QStringLiteral("123420"));
    EXPECT_EQ(OrderIssue::itemKey(7, 1, 12), QStringLiteral("7112"));
}

// --- on a database ---

class OrderIssueRun : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        app = scenario.applicationDatabase();
        issueStoreOrders(*app, *scenario.invoicingDatabase());
    }

    IssueSelection dayOf(bool reprint = false) const
    {
        IssueSelection s;
        s.fromDelivery = s.toDelivery = s.fromProduction = s.toProduction = issueDay;
        s.reprint = reprint;
        return s;
    }

    static QStringList keys(const std::vector<IssueItem>& items)
    {
        QStringList list;
        for (const IssueItem& item : items)
            list << QStringLiteral("%1/%2/%3").arg(item.order).arg(item.detail).arg(item.subQuote);
        return list;
    }

    QStringList printed()
    {
        QStringList list;
        for (const auto& row :
             app->query(QStringLiteral("SELECT ORDNRO, DETAIL, SUBORC FROM ORDFABDET WHERE IMPR = 'S' "
                                       "ORDER BY ORDNRO, DETAIL, SUBORC"))
                 .rows)
            list << QStringLiteral("%1/%2/%3").arg(row[0].toInt()).arg(row[1].toInt()).arg(row[2].toInt());
        return list;
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
};

TEST_P(OrderIssueRun, listsOpenUnissuedOrdersWithinTheRanges)
{
    OrderIssue issue(*app, QStringLiteral("ANA"), IssueModel::Detail);
    EXPECT_EQ(keys(issue.listed(dayOf())), (QStringList{"100/1/0", "100/1/3", "103/1/0"}));
    EXPECT_EQ(keys(issue.listed(dayOf(true))), (QStringList{"100/1/0", "100/1/3", "101/1/0", "103/1/0"}));
    IssueSelection customer20 = dayOf();
    customer20.fromCustomer = customer20.toCustomer = 20;
    EXPECT_EQ(keys(issue.listed(customer20)), QStringList{"103/1/0"});
    IssueSelection oneArticle = dayOf();
    oneArticle.fromArticle = oneArticle.toArticle = QStringLiteral("ART-A");
    EXPECT_EQ(keys(issue.listed(oneArticle)), QStringList{"100/1/0"});
    IssueSelection week = dayOf();
    week.toProduction = issueDay.addDays(1);
    EXPECT_EQ(keys(issue.listed(week)), (QStringList{"100/1/0", "100/1/3", "103/1/0", "100/2/0"}));
}

TEST_P(OrderIssueRun, numbersTheCopiesThroughTheRunAndMarksWholeSlots)
{
    OrderIssue issue(*app, QStringLiteral("ANA"), IssueModel::Detail);
    IssueSelection oneArticle = dayOf();
    oneArticle.toArticle = QStringLiteral("ART-Z"); // 100/1/3 ("ZZ-OUT") stays out of the list
    const std::vector<IssueItem> items = issue.listed(oneArticle);
    ASSERT_EQ(keys(items), (QStringList{"100/1/0", "103/1/0"}));
    std::vector<qint64> progressed;
    EXPECT_EQ(issue.queue(items, {"Produção", "Qualidade"}, {},
                          [&](int, int, qint64 order) { progressed.push_back(order); }),
              4);
    EXPECT_EQ(progressed, (std::vector<qint64>{100, 103}));

    const kv::db::QueryResult queue = issueQueueRows(*app, QStringLiteral("ANA"));
    ASSERT_EQ(queue.rows.size(), 4u);
    const char* expected[4][3] = {{"Produção", "10010", "100"}, {"Qualidade", "10010", "100"},
                                  {"Produção", "10310", "103"}, {"Qualidade", "10310", "103"}};
    for (std::size_t r = 0; r < 4; ++r) {
        EXPECT_EQ(queue.value(r, "REGISTO").toInt(), static_cast<int>(r) + 1);
        EXPECT_EQ(queue.value(r, "VIA").toString(), QString::fromUtf8(expected[r][0]));
        EXPECT_EQ(queue.value(r, "ORDFABRICO").toString(), QString::fromLatin1(expected[r][1]));
        EXPECT_EQ(queue.value(r, "ORDNRO").toString(), QString::fromLatin1(expected[r][2]));
        EXPECT_EQ(queue.value(r, "ANO").toString(), QStringLiteral("2024"));
        EXPECT_EQ(queue.value(r, "SEMANA").toString(), QStringLiteral("11"));
    }
    // The accessory of slot 1 is marked with its slot though outside the list;
    // slot 2 of the same order is not.
    EXPECT_EQ(printed(), (QStringList{"100/1/0", "100/1/3", "101/1/0", "103/1/0"}));

    issue.emptyQueue();
    EXPECT_TRUE(issueQueueRows(*app, QStringLiteral("ANA")).isEmpty());
}

TEST_P(OrderIssueRun, aNewRunReplacesOnlyTheUsersOwnQueue)
{
    OrderIssue other(*app, QStringLiteral("RUI"), IssueModel::Detail);
    other.queue(other.listed(dayOf()), {"Armazém"});
    OrderIssue issue(*app, QStringLiteral("ANA"), IssueModel::Detail);
    issue.queue({{"2024", "11", 103, 1, 0}}, {"Produção"});
    issue.queue({{"2024", "11", 103, 1, 0}}, {"Qualidade"});
    const kv::db::QueryResult mine = issueQueueRows(*app, QStringLiteral("ANA"));
    ASSERT_EQ(mine.rows.size(), 1u);
    EXPECT_EQ(mine.value(0, "VIA").toString(), QStringLiteral("Qualidade"));
    EXPECT_EQ(issueQueueRows(*app, QStringLiteral("RUI")).rows.size(), 3u);
}

TEST_P(OrderIssueRun, aFailedRunIsRolledBackWhole)
{
    OrderIssue issue(*app, QStringLiteral("ANA"), IssueModel::Detail);
    issue.queue({{"2024", "11", 103, 1, 0}}, {"Produção"});
    // The marks fail: the run's emptying and queueing are undone with them.
    app->exec(QStringLiteral("DROP TABLE ORDFABDET"));
    EXPECT_THROW(issue.queue({{"2024", "11", 100, 1, 0}}, {"Qualidade", "Arquivo"}), kv::db::DbError);
    const kv::db::QueryResult queue = issueQueueRows(*app, QStringLiteral("ANA"));
    ASSERT_EQ(queue.rows.size(), 1u);
    EXPECT_EQ(queue.value(0, "ORDNRO").toInt(), 103);
}

TEST_P(OrderIssueRun, modelTQueuesTheOrdersYearAndMarksNumberAndLine)
{
    kv::test::insertRows(*app, QStringLiteral("ORDFABRICO"), {"ANO", "ORDNRO", "SUBORC", "DETAIL", "IMPR", "PRODUZ"},
                         {{"2023", 300, 0, 1, "N", "N"},
                          {"2023", 300, 2, 1, "N", "N"},
                          {"2023", 300, 0, 2, "N", "N"},
                          {"2024", 300, 0, 1, "N", "N"}});
    OrderIssue issue(*app, QStringLiteral("ANA"), IssueModel::ModelT);
    EXPECT_EQ(issue.queue({{"2023", {}, 300, 1, 0}}, {"Produção"}, QStringLiteral("07")), 1);
    const kv::db::QueryResult queue = issueQueueRows(*app, QStringLiteral("ANA"));
    ASSERT_EQ(queue.rows.size(), 1u);
    EXPECT_EQ(queue.value(0, "ANO").toString(), QStringLiteral("2023"));
    EXPECT_EQ(queue.value(0, "SEMANA").toString(), QStringLiteral("07"));
    EXPECT_TRUE(queue.value(0, "ORDFABRICO").toString().isEmpty());
    QStringList marked;
    for (const auto& row : app->query(QStringLiteral("SELECT ANO, SUBORC, DETAIL FROM ORDFABRICO WHERE IMPR = 'S' "
                                                     "ORDER BY ANO, DETAIL, SUBORC"))
                               .rows)
        marked << QStringLiteral("%1/%2/%3").arg(row[0].toString()).arg(row[2].toInt()).arg(row[1].toInt());
    EXPECT_EQ(marked, (QStringList{"2023/1/0", "2023/1/2"}));
}

KV_ENGINE_SUITE(OrderIssueRun);

} // namespace
