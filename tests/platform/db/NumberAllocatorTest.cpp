// Numbers given out by several workstations at once: never the same twice,
// never lost, and none used by a save that fails.
#include "platform/db/DbTestFixture.h"

#include "platform/db/NumberAllocator.h"

#include <QThread>
#include <algorithm>
#include <atomic>
#include <set>
#include <thread>

using namespace kv::db;
using kv::db::test::EngineTest;

namespace {

const Counter QuoteCounter{QStringLiteral("ORCPARGER"), QStringLiteral("ORCNRO1"), QStringLiteral("CODIGO = 1"), {}};
const NumberColumn Quotes{QStringLiteral("ORCAMENTOS"), QStringLiteral("NRO"), {}, {}};

class NumberAllocatorTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        db->exec("CREATE TABLE ORCPARGER (CODIGO INTEGER NOT NULL PRIMARY KEY, ORCNRO1 INTEGER, OFNRO1 INTEGER)");
        db->exec("INSERT INTO ORCPARGER (CODIGO, ORCNRO1) VALUES (1, 0)");
        db->exec("CREATE TABLE ORCAMENTOS (NRO INTEGER NOT NULL PRIMARY KEY)");
    }
    long long counter(const char* column = "ORCNRO1")
    {
        return db->scalar(QStringLiteral("SELECT %1 FROM ORCPARGER WHERE CODIGO = 1").arg(column)).toLongLong();
    }
};
KV_ENGINE_SUITE(NumberAllocatorTest);

// Two programs raise one counter 500 times each, each number in a
// transaction of its own, as a document save does.
TEST_P(NumberAllocatorTest, TwoWorkstationsRaisingOneCounterNeverGetTheSameNumber)
{
    constexpr int Raises = 500;
    std::vector<long long> got[2];
    std::string failures[2];
    auto workstation = [&](int which) {
        try {
            auto connection = connect(QStringLiteral("POSTO%1").arg(which));
            NumberAllocator numbers(*connection);
            for (int i = 0; i < Raises; ++i) {
                Transaction transaction(*connection);
                got[which].push_back(numbers.next(QuoteCounter));
                transaction.commit();
                QThread::msleep(1); // the workstation prints or shows the document
            }
        } catch (const DbError& e) {
            failures[which] = e.fullText().toStdString();
        }
    };
    std::thread first(workstation, 0), second(workstation, 1);
    first.join();
    second.join();
    ASSERT_EQ(failures[0], "");
    ASSERT_EQ(failures[1], "");
    std::set<long long> all(got[0].begin(), got[0].end());
    all.insert(got[1].begin(), got[1].end());
    EXPECT_EQ(all.size(), std::size_t(2 * Raises));
    EXPECT_EQ(*all.begin(), 1);
    EXPECT_EQ(*all.rbegin(), 2 * Raises);
    EXPECT_EQ(counter(), 2 * Raises);
}

TEST_P(NumberAllocatorTest, AFailedSaveUsesNoNumberAndAnEmptyCounterStartsAtOne)
{
    NumberAllocator numbers(*db);
    {
        Transaction transaction(*db);
        EXPECT_EQ(numbers.next(QuoteCounter), 1);
        // the document's save fails: rolled back with it
    }
    EXPECT_EQ(counter(), 0);
    const Counter orders{QStringLiteral("ORCPARGER"),
                         QStringLiteral("OFNRO1"),
                         QStringLiteral("CODIGO = :C"),
                         {{QStringLiteral("C"), 1}}};
    EXPECT_EQ(numbers.next(orders), 1); // OFNRO1 is NULL
    EXPECT_EQ(numbers.next(orders), 2);
    const Counter missing{QStringLiteral("ORCPARGER"), QStringLiteral("ORCNRO1"), QStringLiteral("CODIGO = 2"), {}};
    try {
        numbers.next(missing);
        FAIL() << "a counter without its row gave a number";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::NotFound);
        EXPECT_TRUE(e.text().contains("ORCNRO1")) << e.text().toStdString();
    }
}

struct ClaimCase {
    const char* name;
    long long counterBefore;
    long long typed;
    bool taken; // a document already holds the number
    bool claimed;
    long long counterAfter;
};

TEST_P(NumberAllocatorTest, ATypedNumberIsCheckedWhenTheDocumentIsStored)
{
    const ClaimCase cases[] = {
        {"above the counter", 10, 15, false, true, 15},
        {"the next one", 10, 11, false, true, 11},
        {"a free gap below the counter", 10, 4, false, true, 10},
        {"stored meanwhile by another workstation", 10, 11, true, false, 10},
        {"an old number in use", 10, 3, true, false, 10},
    };
    NumberAllocator numbers(*db);
    for (const ClaimCase& c : cases) {
        SCOPED_TRACE(c.name);
        db->exec("DELETE FROM ORCAMENTOS");
        db->exec("UPDATE ORCPARGER SET ORCNRO1 = :N", {{"N", c.counterBefore}});
        if (c.taken)
            db->exec("INSERT INTO ORCAMENTOS (NRO) VALUES (:N)", {{"N", c.typed}});
        Transaction transaction(*db);
        EXPECT_EQ(numbers.claim(QuoteCounter, c.typed, Quotes), c.claimed);
        transaction.commit();
        EXPECT_EQ(counter(), c.counterAfter);
        EXPECT_EQ(numbers.next(QuoteCounter), c.counterAfter + 1);
    }
}

// A transaction that reads and then writes, while another workstation
// writes and commits in between: on SQLite the second waits its turn
// instead of one of them failing with "database is locked".
TEST_P(NumberAllocatorTest, AReadThenWriteTransactionWaitsForAnotherWorkstation)
{
    std::atomic<bool> reading{false};
    std::string otherFailure;
    std::thread other;
    {
        Transaction transaction(*db);
        const long long before = counter();
        other = std::thread([&] {
            try {
                while (!reading)
                    QThread::msleep(1);
                auto connection = connect(QStringLiteral("OUTRO"));
                Transaction theirs(*connection);
                connection->exec("UPDATE ORCPARGER SET OFNRO1 = 5 WHERE CODIGO = 1");
                theirs.commit();
            } catch (const DbError& e) {
                otherFailure = e.fullText().toStdString();
            }
        });
        reading = true;
        QThread::msleep(300); // the other workstation tries to write now
        EXPECT_NO_THROW(db->exec("UPDATE ORCPARGER SET ORCNRO1 = :N WHERE CODIGO = 1", {{"N", before + 1}}));
        EXPECT_NO_THROW(transaction.commit());
    }
    other.join();
    EXPECT_EQ(otherFailure, "");
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(counter("OFNRO1"), 5);
}

} // namespace
