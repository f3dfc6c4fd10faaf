// The list read a window at a time: where it stands after opening on a key,
// at either end, in name order with equal names, and its count.
#include "platform/db/Dataset.h"
#include "platform/db/WindowedList.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <algorithm>

using kv::db::WindowedList;
using kv::test::Engine;

namespace {

class Window : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        std::vector<QVariantList> rows;
        // 500 customers: more than one window; names repeat every 50.
        for (int i = 1; i <= 500; ++i)
            rows.push_back({i * 2, QStringLiteral("Cliente %1").arg(i % 50, 2, 10, QLatin1Char('0'))});
        kv::test::insertRows(*db, "CLIENTES", {"CODIGO", "NOME"}, rows);
        list.setConnection(db);
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
    kv::db::Dataset list{"CLIENTES"};
};

TEST_P(Window, StandsOnTheKeyOrTheNextRowAndReadsOnlyAWindow)
{
    WindowedList window(list, {"CODIGO, NOME", "CLIENTES", {}, {"CODIGO"}});
    const struct {
        int key;
        int standsOn;
    } cases[] = {{500, 500}, {501, 502}, {1, 2}, {1000, 1000}, {5000, 1000}};
    for (const auto& c : cases) {
        window.openAt({c.key});
        EXPECT_EQ(list.value("CODIGO").toInt(), c.standsOn) << c.key;
        EXPECT_LE(list.recordCount(), WindowedList::RowsBefore + WindowedList::RowsAfter) << c.key;
    }
    window.openFirst();
    EXPECT_EQ(list.value("CODIGO").toInt(), 2);
    window.openLast();
    EXPECT_EQ(list.value("CODIGO").toInt(), 1000);
    list.first();
    EXPECT_EQ(list.value("CODIGO").toInt(), 1000 - 2 * (WindowedList::RowsBefore + WindowedList::RowsAfter - 1));
    EXPECT_EQ(window.count(), 500);
}

TEST_P(Window, InNameOrderEqualNamesAreToldApartByNumber)
{
    WindowedList window(list, {"CODIGO, NOME", "CLIENTES", {}, {"NOME", "CODIGO"}});
    // "Cliente 07" is the name of 7, 57, 107, ... (numbers 14, 114, 214, ...).
    window.openAt({"Cliente 07", 414});
    EXPECT_EQ(list.value("CODIGO").toInt(), 414);
    EXPECT_EQ(window.currentKey(), (QVariantList{list.value("NOME"), 414}));
    list.prior();
    EXPECT_EQ(list.value("CODIGO").toInt(), 314);
    // A name alone stands on its first customer.
    window.openAt({"Cliente 07"});
    EXPECT_EQ(list.value("CODIGO").toInt(), 14);
}

// Walking the list row by row past the edges of its windows meets every
// customer once, in order, forwards from the first and backwards from the
// last, by number and by name.
TEST_P(Window, FollowsTheWalkPastEachWindow)
{
    const struct {
        const char* label;
        QStringList order;
        bool forwards;
    } cases[] = {
        {"by number, forwards", {"CODIGO"}, true},
        {"by number, backwards", {"CODIGO"}, false},
        {"by name, forwards", {"NOME", "CODIGO"}, true},
        {"by name, backwards", {"NOME", "CODIGO"}, false},
    };
    for (const auto& c : cases) {
        WindowedList window(list, {"CODIGO, NOME", "CLIENTES", {}, c.order});
        c.forwards ? window.openFirst() : window.openLast();
        QVariantList walked;
        do {
            walked.append(QVariant(window.currentKey()));
            window.follow();
            EXPECT_LE(list.recordCount(), WindowedList::RowsBefore + WindowedList::RowsAfter) << c.label;
        } while (c.forwards ? (list.next() && !list.eof()) : (list.prior() && !list.bof()));
        QVariantList expected;
        // The engine's own order of the keys.
        const auto rows =
            db->query(QStringLiteral("SELECT %1 FROM CLIENTES ORDER BY %1").arg(c.order.join(QStringLiteral(", "))))
                .rows;
        for (const auto& row : rows)
            expected << QVariant(QVariantList(row.begin(), row.end()));
        if (!c.forwards)
            std::reverse(expected.begin(), expected.end());
        ASSERT_EQ(walked.size(), expected.size()) << c.label;
        EXPECT_EQ(walked, expected) << c.label;
        EXPECT_FALSE(c.forwards ? window.moreAfter() : window.moreBefore()) << c.label;
    }
}

KV_ENGINE_SUITE(Window);

} // namespace
