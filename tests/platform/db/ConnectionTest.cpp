#include "platform/db/DbTestFixture.h"

#include "platform/db/SqlDialect.h"

#include <QDateTime>

using namespace kv::db;
using kv::db::test::EngineTest;

namespace {

class ConnectionTest : public EngineTest {
protected:
    void createTable()
    {
        db->exec(QStringLiteral("CREATE TABLE ARTIGOS (CODIGO INTEGER NOT NULL PRIMARY KEY, "
                                "DESIGNACAO VARCHAR(60) COLLATE pt_ci, PRECO FLOAT, DATA TIMESTAMP)"));
    }
};
KV_ENGINE_SUITE(ConnectionTest);

TEST_P(ConnectionTest, ValuesWithQuotesAndSemicolonsAreStoredVerbatim)
{
    createTable();
    const QString nasty = QStringLiteral("O'Brien; DROP TABLE ARTIGOS; -- \"x\" :NAO ?1 $1");
    EXPECT_EQ(db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO, DESIGNACAO) VALUES (:C, :D)"),
                       {{QStringLiteral("C"), 1}, {QStringLiteral("d"), nasty}}),
              1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT DESIGNACAO FROM ARTIGOS WHERE CODIGO = :C"), {{"C", 1}}).toString(),
              nasty);
    EXPECT_TRUE(db->tableExists(QStringLiteral("ARTIGOS")));
}

TEST_P(ConnectionTest, QueryReadsTypedValues)
{
    createTable();
    const QDateTime when(QDate(2024, 2, 29), QTime(13, 45, 10));
    db->exec(QStringLiteral("INSERT INTO ARTIGOS VALUES (:C, :D, :P, :T)"),
             {{"C", 7}, {"D", QStringLiteral("Cartão")}, {"P", 12.5}, {"T", when}});
    db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (8)"));
    const QueryResult r =
        db->query(QStringLiteral("SELECT CODIGO, DESIGNACAO, PRECO, DATA FROM ARTIGOS ORDER BY CODIGO"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.columnIndex(QStringLiteral("designacao")), 1);
    EXPECT_EQ(r.value(0, QStringLiteral("CODIGO")).toInt(), 7);
    EXPECT_EQ(r.value(0, QStringLiteral("DESIGNACAO")).toString(), QStringLiteral("Cartão"));
    EXPECT_DOUBLE_EQ(r.value(0, QStringLiteral("PRECO")).toDouble(), 12.5);
    EXPECT_EQ(r.value(0, QStringLiteral("DATA")).toDateTime(), when);
    EXPECT_TRUE(r.value(1, QStringLiteral("DESIGNACAO")).isNull());
    EXPECT_FALSE(db->scalar(QStringLiteral("SELECT CODIGO FROM ARTIGOS WHERE CODIGO = 99")).isValid());
}

TEST_P(ConnectionTest, TableAndColumnExistenceIgnoresCase)
{
    createTable();
    EXPECT_TRUE(db->tableExists(QStringLiteral("artigos")));
    EXPECT_FALSE(db->tableExists(QStringLiteral("NADA")));
    EXPECT_TRUE(db->columnExists(QStringLiteral("ARTIGOS"), QStringLiteral("preco")));
    EXPECT_FALSE(db->columnExists(QStringLiteral("ARTIGOS"), QStringLiteral("VALSUB1")));
    EXPECT_FALSE(db->columnExists(QStringLiteral("NADA"), QStringLiteral("CODIGO")));
}

// The data modules write their update statements from this list: it must name
// the columns a SELECT * gives, in its order, also after a column was added.
TEST_P(ConnectionTest, TableColumnsAreThoseOfSelectStarInTheirOrder)
{
    createTable();
    db->exec(QStringLiteral("ALTER TABLE ARTIGOS ADD COLUMN VALSUB1 FLOAT"));
    db->exec(QStringLiteral("CREATE TABLE Cores (Codigo INTEGER NOT NULL PRIMARY KEY, Nome VARCHAR(10))"));
    db->exec(QStringLiteral("CREATE VIEW VCORES AS SELECT Nome FROM Cores"));
    const QHash<QString, QStringList> tables = db->tableColumns();
    for (const char* table : {"ARTIGOS", "CORES", "VCORES"}) {
        SCOPED_TRACE(table);
        const QueryResult star = db->query(QStringLiteral("SELECT * FROM %1 WHERE 1 = 0").arg(QLatin1String(table)));
        ASSERT_TRUE(tables.contains(QLatin1String(table)));
        EXPECT_EQ(tables.value(QLatin1String(table)), star.columns);
    }
    EXPECT_EQ(tables.value(QStringLiteral("ARTIGOS")).size(), 5);
    EXPECT_FALSE(tables.contains(QStringLiteral("NADA")));
}

TEST_P(ConnectionTest, TransactionRollsBackUnlessCommittedAndNests)
{
    createTable();
    {
        Transaction t(*db);
        EXPECT_TRUE(db->inTransaction());
        db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (1)"));
    }
    EXPECT_FALSE(db->inTransaction());
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ARTIGOS")).toInt(), 0);
    {
        Transaction outer(*db);
        db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (1)"));
        {
            Transaction inner(*db);
            db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (2)"));
        } // inner rolled back alone
        {
            Transaction inner(*db);
            db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (3)"));
            inner.commit();
        }
        outer.commit();
    }
    const QueryResult r = db->query(QStringLiteral("SELECT CODIGO FROM ARTIGOS ORDER BY CODIGO"));
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.rows[0][0].toInt(), 1);
    EXPECT_EQ(r.rows[1][0].toInt(), 3);
}

TEST_P(ConnectionTest, ConstraintViolationHasItsOwnKind)
{
    createTable();
    db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (1)"));
    try {
        db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO) VALUES (1)"));
        FAIL() << "duplicate accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Constraint);
        EXPECT_TRUE(e.text().contains(QStringLiteral("TESTE")));
        EXPECT_FALSE(e.driverText().isEmpty());
    }
    EXPECT_THROW(db->exec(QStringLiteral("SELECT * FROM NADA")), DbError);
    // The connection is still usable after the errors.
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM ARTIGOS")).toInt(), 1);
}

TEST_P(ConnectionTest, TextSortsWithoutCaseAndWithPortugueseAccents)
{
    db->exec(QStringLiteral("CREATE TABLE PALAVRAS (P VARCHAR(20) COLLATE %1)").arg(sql::textCollation(dialect())));
    for (const char* w : {"zona", "Zebra", "árvore", "abade", "Águeda"})
        db->exec(QStringLiteral("INSERT INTO PALAVRAS VALUES (:P)"), {{"P", QString::fromUtf8(w)}});
    const QueryResult r = db->query(QStringLiteral("SELECT P FROM PALAVRAS ORDER BY P"));
    QStringList order;
    for (const auto& row : r.rows)
        order << row[0].toString();
    EXPECT_EQ(order, (QStringList{"abade", QString::fromUtf8("Águeda"), QString::fromUtf8("árvore"), "Zebra", "zona"}));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM PALAVRAS WHERE P = :P"), {{"P", "ZONA"}}).toInt(), 1);
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT COUNT(*) FROM PALAVRAS WHERE P = :P"), {{"P", "arvore"}}).toInt(), 0);
    const QString prefix =
        QStringLiteral("SELECT COUNT(*) FROM PALAVRAS WHERE ") + sql::startsWith(dialect(), "P", "PRE");
    EXPECT_EQ(db->scalar(prefix, {{"PRE", "ZE"}}).toInt(), 1);
    EXPECT_EQ(db->scalar(prefix, {{"PRE", QString::fromUtf8("Á")}}).toInt(), 2);
    EXPECT_EQ(db->scalar(prefix, {{"PRE", "%"}}).toInt(), 0);
}

TEST_P(ConnectionTest, DialectHelpers)
{
    createTable();
    db->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO, DESIGNACAO, DATA) VALUES (1, 'Caixa', :T)"),
             {{"T", QDateTime(QDate(2023, 11, 5), QTime(8, 0))}});
    const Dialect d = dialect();
    const QueryResult r = db->query(QStringLiteral("SELECT %1, %2, %3, %4 FROM ARTIGOS")
                                        .arg(sql::yearOf(d, "DATA"), sql::monthOf(d, "DATA"), sql::dayOf(d, "DATA"),
                                             sql::concat(d, {"DESIGNACAO", "'-'", "PRECO"})));
    ASSERT_EQ(r.rows.size(), 1u);
    EXPECT_EQ(r.rows[0][0].toInt(), 2023);
    EXPECT_EQ(r.rows[0][1].toInt(), 11);
    EXPECT_EQ(r.rows[0][2].toInt(), 5);
    EXPECT_EQ(r.rows[0][3].toString(), QStringLiteral("Caixa-"));

    const QString upsert = sql::upsert(d, "ARTIGOS", {"CODIGO"}, {"DESIGNACAO"});
    db->exec(upsert, {{"CODIGO", 1}, {"DESIGNACAO", "Tampa"}});
    db->exec(upsert, {{"CODIGO", 2}, {"DESIGNACAO", "Fundo"}});
    const QueryResult all = db->query(QStringLiteral("SELECT CODIGO, DESIGNACAO FROM ARTIGOS ORDER BY CODIGO"));
    ASSERT_EQ(all.rows.size(), 2u);
    EXPECT_EQ(all.rows[0][1].toString(), QStringLiteral("Tampa"));
    EXPECT_EQ(all.rows[1][1].toString(), QStringLiteral("Fundo"));
}

TEST_P(ConnectionTest, RefusedConnectionNamesTheAlias)
{
    ConnectionSettings s = m_db->settings();
    s.alias = QStringLiteral("QXRGERAL");
    if (isPg())
        s.port = 1; // nothing listens there
    else
        s.database = QStringLiteral("/nonexistent-folder/x/geral.db");
    try {
        Connection::open(s);
        FAIL() << "connection accepted";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Connection);
        EXPECT_TRUE(e.text().contains(QStringLiteral("«QXRGERAL»"))) << e.text().toStdString();
        EXPECT_FALSE(e.driverText().isEmpty());
    }
}

TEST_P(ConnectionTest, TwoConnectionsSeeEachOthersCommits)
{
    createTable();
    auto other = connect(QStringLiteral("OUTRA"));
    other->exec(QStringLiteral("INSERT INTO ARTIGOS (CODIGO, DESIGNACAO) VALUES (1, 'A')"));
    EXPECT_EQ(db->scalar(QStringLiteral("SELECT DESIGNACAO FROM ARTIGOS")).toString(), QStringLiteral("A"));
}

} // namespace
