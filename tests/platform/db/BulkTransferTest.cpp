// A keyed set moved between two databases: every row and value arrives,
// in batches, inside the target's transaction, into a work table that joins
// the target's own tables.
#include "platform/db/DbTestFixture.h"

#include "platform/db/BulkTransfer.h"

using namespace kv::db;
using kv::db::test::EngineTest;

namespace {

class BulkTransferTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        m_other = std::make_unique<kv::test::ScratchDatabase>(GetParam(), QStringLiteral("destino"));
        target = m_other->open(QStringLiteral("DESTINO"));
        db->exec(
            QStringLiteral("CREATE TABLE ORIGEM (CODIGO INTEGER NOT NULL PRIMARY KEY, ARTIGO VARCHAR(16) COLLATE %1, "
                           "QTD DOUBLE PRECISION, DATA TIMESTAMP)")
                .arg(sql::textCollation(dialect())));
        Transaction transaction(*db);
        for (int i = 1; i <= Rows; ++i)
            db->exec("INSERT INTO ORIGEM VALUES (:C, :A, :Q, :D)",
                     {{"C", i},
                      {"A", i == 7 ? QVariant() : QVariant(QStringLiteral("Cartão-%1").arg(i))},
                      {"Q", i * 0.25},
                      {"D", QDate(2024, 1, 1).addDays(i % 300).startOfDay()}});
        transaction.commit();
        target->exec(QStringLiteral("CREATE TABLE ARTIGOS (CODIGO VARCHAR(16) COLLATE %1 NOT NULL PRIMARY KEY)")
                         .arg(sql::textCollation(dialect())));
        target->exec("INSERT INTO ARTIGOS VALUES ('CARTÃO-5')");
    }
    void TearDown() override
    {
        target.reset();
        m_other.reset();
        EngineTest::TearDown();
    }
    void prepare()
    {
        prepareWorkTable(*target, "KV_TRANSFERIDOS",
                         {{"CODIGO", FieldType::Int32},
                          {"ARTIGO", FieldType::Text, 16},
                          {"QTD", FieldType::Float},
                          {"DATA", FieldType::DateTime}});
    }

    // More than the rows of several batches, and not a whole number of them.
    static constexpr int Rows = 2503;
    std::unique_ptr<kv::test::ScratchDatabase> m_other;
    std::shared_ptr<Connection> target;
};

TEST_P(BulkTransferTest, EveryRowAndValueArrives)
{
    prepare();
    const long long moved = transferRows(*db, "SELECT CODIGO, ARTIGO, QTD, DATA FROM ORIGEM WHERE CODIGO >= :FROM",
                                         {{"FROM", 3}}, *target, "KV_TRANSFERIDOS");
    EXPECT_EQ(moved, Rows - 2);
    EXPECT_EQ(target->scalar("SELECT COUNT(*) FROM KV_TRANSFERIDOS").toInt(), Rows - 2);
    EXPECT_DOUBLE_EQ(target->scalar("SELECT SUM(QTD) FROM KV_TRANSFERIDOS").toDouble(),
                     db->scalar("SELECT SUM(QTD) FROM ORIGEM WHERE CODIGO >= 3").toDouble());
    EXPECT_TRUE(target->scalar("SELECT ARTIGO FROM KV_TRANSFERIDOS WHERE CODIGO = 7").isNull());
    EXPECT_EQ(target->scalar("SELECT DATA FROM KV_TRANSFERIDOS WHERE CODIGO = 301").toDateTime(),
              QDate(2024, 1, 2).startOfDay());
    // the work table's text joins the target's table under its collation
    EXPECT_EQ(target->scalar("SELECT T.CODIGO FROM KV_TRANSFERIDOS T JOIN ARTIGOS A ON A.CODIGO = T.ARTIGO").toInt(),
              5);
}

TEST_P(BulkTransferTest, RunsInsideTheTargetsTransaction)
{
    prepare();
    {
        Transaction transaction(*target);
        transferRows(*db, "SELECT CODIGO, ARTIGO FROM ORIGEM", {}, *target, "KV_TRANSFERIDOS");
        EXPECT_EQ(target->scalar("SELECT COUNT(*) FROM KV_TRANSFERIDOS").toInt(), Rows);
        transaction.rollback();
    }
    EXPECT_EQ(target->scalar("SELECT COUNT(*) FROM KV_TRANSFERIDOS").toInt(), 0);
}

TEST_P(BulkTransferTest, PreparingAgainEmptiesTheWorkTable)
{
    prepare();
    transferRows(*db, "SELECT CODIGO FROM ORIGEM WHERE CODIGO < 10", {}, *target, "KV_TRANSFERIDOS");
    prepare();
    EXPECT_EQ(target->scalar("SELECT COUNT(*) FROM KV_TRANSFERIDOS").toInt(), 0);
    EXPECT_EQ(transferRows(*db, "SELECT CODIGO FROM ORIGEM WHERE CODIGO < 0", {}, *target, "KV_TRANSFERIDOS"), 0);
}

KV_ENGINE_SUITE(BulkTransferTest);

} // namespace
