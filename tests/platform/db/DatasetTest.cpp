#include "platform/db/DbTestFixture.h"

#include "platform/db/Dataset.h"
#include "platform/db/SqlDialect.h"

#include <QElapsedTimer>

using namespace kv::db;
using kv::db::test::EngineTest;

namespace {

// The reference shape of a costing table: a 16-bit key, short texts, floats.
class DatasetTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        db->exec(QStringLiteral("CREATE TABLE TINTAS (CODIGO SMALLINT NOT NULL PRIMARY KEY, ARTIGO VARCHAR(16), "
                                "DESIGNACAO VARCHAR(40) COLLATE pt_ci NOT NULL, GRAMAGEM FLOAT, PRECO FLOAT)"));
        for (int code : {1, 2, 3})
            db->exec(QStringLiteral("INSERT INTO TINTAS VALUES (:C, :A, :D, :G, :P)"),
                     {{"C", code},
                      {"A", QStringLiteral("ART%1").arg(code)},
                      {"D", QStringLiteral("Tinta %1").arg(code)},
                      {"G", code * 1.5},
                      {"P", code * 10.0}});
    }

    void configure(Dataset& dataset, const std::shared_ptr<Connection>& connection)
    {
        dataset.setConnection(connection);
        dataset.setSql(QStringLiteral("Select * From TINTAS Order By CODIGO"));
        dataset.setMode(DatasetMode::Cached);
        dataset.setUpdateStatements(
            {QStringLiteral("INSERT INTO TINTAS (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, PRECO) "
                            "VALUES (:CODIGO, :ARTIGO, :DESIGNACAO, :GRAMAGEM, :PRECO)"),
             QStringLiteral("UPDATE TINTAS SET CODIGO = :CODIGO, ARTIGO = :ARTIGO, DESIGNACAO = :DESIGNACAO, "
                            "GRAMAGEM = :GRAMAGEM, PRECO = :PRECO WHERE CODIGO = :OLD_CODIGO"),
             QStringLiteral("DELETE FROM TINTAS WHERE CODIGO = :OLD_CODIGO")});
    }

    // A table MUITAS of `count` numbered rows (N from 1), made by the engine itself.
    void createNumbers(int count)
    {
        db->exec("CREATE TABLE MUITAS (N INTEGER PRIMARY KEY, T VARCHAR(20))");
        db->exec(
            isPg()
                ? QStringLiteral("INSERT INTO MUITAS SELECT g, 'linha ' || g FROM generate_series(1, %1) g").arg(count)
                : QStringLiteral("WITH RECURSIVE s(n) AS (SELECT 1 UNION ALL SELECT n + 1 FROM s WHERE n < %1) "
                                 "INSERT INTO MUITAS SELECT n, 'linha ' || n FROM s")
                      .arg(count));
    }

    // A dataset over that table in its order, not yet open.
    void readNumbers(Dataset& dataset, int count)
    {
        createNumbers(count);
        dataset.setConnection(db);
        dataset.setSql(QStringLiteral("SELECT * FROM MUITAS ORDER BY N"));
    }

    QStringList designations()
    {
        QStringList out;
        for (const auto& row : db->query(QStringLiteral("SELECT DESIGNACAO FROM TINTAS ORDER BY CODIGO")).rows)
            out << row[0].toString();
        return out;
    }

    Dataset ds{QStringLiteral("TINTAS")};
};
KV_ENGINE_SUITE(DatasetTest);

TEST_P(DatasetTest, FieldsComeFromTheColumnsDeclaredTypes)
{
    configure(ds, db);
    ds.open();
    ASSERT_EQ(ds.fieldCount(), 5);
    EXPECT_EQ(ds.field("codigo").type(), FieldType::Int16);
    EXPECT_EQ(ds.field("ARTIGO").type(), FieldType::Text);
    EXPECT_EQ(ds.field("ARTIGO").size(), 16);
    EXPECT_EQ(ds.field("DESIGNACAO").size(), 40);
    EXPECT_EQ(ds.field("PRECO").type(), FieldType::Float);
    EXPECT_THROW(ds.field("NADA"), DbError);
}

TEST_P(DatasetTest, WalksEditsInsertsAndDeletesThroughTheUpdateStatements)
{
    configure(ds, db);
    ds.open();
    EXPECT_TRUE(ds.bof());
    QList<int> codes;
    for (ds.first(); !ds.eof(); ds.next())
        codes << int(ds.field("CODIGO").asInt());
    EXPECT_EQ(codes, (QList<int>{1, 2, 3}));
    EXPECT_EQ(ds.recordCount(), 3);

    ASSERT_TRUE(ds.locate("CODIGO", 2));
    ds.edit();
    ds.setValue("DESIGNACAO", QStringLiteral("Azul"));
    EXPECT_EQ(ds.field("DESIGNACAO").oldValue().toString(), QStringLiteral("Tinta 2"));
    ds.post();
    ds.append();
    ds.setValue("CODIGO", 4);
    ds.setValue("DESIGNACAO", QStringLiteral("Verde"));
    ds.post();
    ds.first();
    ds.deleteRecord(); // removes code 1
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_TRUE(ds.hasPendingChanges());
    EXPECT_EQ(designations(), (QStringList{"Tinta 1", "Tinta 2", "Tinta 3"})); // nothing written yet

    ds.applyUpdates();
    EXPECT_FALSE(ds.hasPendingChanges());
    EXPECT_EQ(designations(), (QStringList{"Azul", "Tinta 3", "Verde"}));
    EXPECT_EQ(ds.value("DESIGNACAO").toString(), QStringLiteral("Azul"));

    // A second round on the same rows uses the values just written as old values.
    ASSERT_TRUE(ds.locate("CODIGO", 4));
    ds.edit();
    ds.setValue("CODIGO", 40);
    ds.post();
    ds.applyUpdates();
    EXPECT_EQ(db->scalar("SELECT DESIGNACAO FROM TINTAS WHERE CODIGO = 40").toString(), QStringLiteral("Verde"));
}

enum class Answer { NoHandler, Abort, Skip, Retry };
struct ApplyCase {
    const char* name;
    Answer answer;
    bool notNull; // the failing record breaks NOT NULL instead of the key
};

TEST_P(DatasetTest, ApplyFailingHalfwayFollowsTheHandlersAnswer)
{
    const ApplyCase cases[] = {
        {"no handler", Answer::NoHandler, false},
        {"abort", Answer::Abort, false},
        {"skip", Answer::Skip, false},
        {"retry", Answer::Retry, false},
        {"abort on NOT NULL", Answer::Abort, true},
        {"skip on NOT NULL", Answer::Skip, true},
    };
    for (const ApplyCase& c : cases) {
        SCOPED_TRACE(c.name);
        db->exec("DELETE FROM TINTAS");
        for (int code : {1, 2, 3})
            db->exec("INSERT INTO TINTAS (CODIGO, DESIGNACAO) VALUES (:C, :D)",
                     {{"C", code}, {"D", QStringLiteral("Tinta %1").arg(code)}});
        Dataset set(QStringLiteral("TINTAS"));
        configure(set, db);
        int calls = 0;
        QString seenNew;
        QVariant seenOld;
        if (c.answer != Answer::NoHandler)
            set.setErrorHandler([&](Dataset& failing, const DbError& error, UpdateKind kind) {
                ++calls;
                EXPECT_EQ(kind, UpdateKind::Inserted);
                EXPECT_FALSE(error.driverText().isEmpty());
                seenNew = failing.field("CODIGO").asString();
                seenOld = failing.field("CODIGO").oldValue();
                if (c.answer == Answer::Retry && calls == 1) {
                    failing.connection()->exec("DELETE FROM TINTAS WHERE CODIGO = 2");
                    return UpdateAction::Retry;
                }
                return c.answer == Answer::Skip    ? UpdateAction::Skip
                       : c.answer == Answer::Retry ? UpdateAction::Retry
                                                   : UpdateAction::Abort;
            });
        set.open();
        set.edit();
        set.setValue("DESIGNACAO", QStringLiteral("Mudada"));
        set.post();
        set.append();
        set.setValue("CODIGO", c.notNull ? 9 : 2);
        set.setValue("DESIGNACAO", c.notNull ? QVariant() : QVariant(QStringLiteral("Repetida")));
        set.post();
        set.append();
        set.setValue("CODIGO", 5);
        set.setValue("DESIGNACAO", QStringLiteral("Nova"));
        set.post();

        const bool fails = c.answer == Answer::NoHandler || c.answer == Answer::Abort;
        if (fails) {
            try {
                set.applyUpdates();
                ADD_FAILURE() << "apply reported success";
            } catch (const DbError& e) {
                EXPECT_EQ(e.kind(), DbError::Kind::Constraint);
            }
            // The database is untouched and every change is still in the cache.
            EXPECT_EQ(designations(), (QStringList{"Tinta 1", "Tinta 2", "Tinta 3"}));
            EXPECT_TRUE(set.hasPendingChanges());
            EXPECT_EQ(set.recordCount(), 5);
            ASSERT_TRUE(set.locate("CODIGO", 1));
            EXPECT_EQ(set.value("DESIGNACAO").toString(), QStringLiteral("Mudada"));
            // Once the offending record is put right the same cache applies.
            ASSERT_TRUE(set.moveTo(3)); // the appended 2 or 9 follows the original rows
            set.edit();
            set.setValue("CODIGO", 7);
            set.setValue("DESIGNACAO", QStringLiteral("Sete"));
            set.post();
            set.setErrorHandler({});
            set.applyUpdates();
            EXPECT_FALSE(set.hasPendingChanges());
            EXPECT_EQ(designations(), (QStringList{"Mudada", "Tinta 2", "Tinta 3", "Nova", "Sete"}));
        } else if (c.answer == Answer::Skip) {
            set.applyUpdates();
            EXPECT_EQ(calls, 1);
            EXPECT_EQ(seenNew, c.notNull ? QStringLiteral("9") : QStringLiteral("2"));
            EXPECT_TRUE(seenOld.isNull()); // a new record has no old values
            EXPECT_EQ(designations(), (QStringList{"Mudada", "Tinta 2", "Tinta 3", "Nova"}));
            EXPECT_TRUE(set.hasPendingChanges()); // the skipped insert waits
        } else {
            set.applyUpdates();
            EXPECT_EQ(calls, 1);
            EXPECT_EQ(designations(), (QStringList{"Mudada", "Repetida", "Tinta 3", "Nova"}));
            EXPECT_FALSE(set.hasPendingChanges());
        }
    }
}

TEST_P(DatasetTest, TwoConnectionsChangingOneRow)
{
    auto other = connect(QStringLiteral("OUTRO"));
    Dataset mine(QStringLiteral("A")), theirs(QStringLiteral("B"));
    configure(mine, db);
    configure(theirs, other);
    mine.open();
    theirs.open();
    mine.edit();
    mine.setValue("PRECO", 11.0);
    mine.post();
    theirs.edit();
    theirs.setValue("PRECO", 22.0);
    theirs.post();
    mine.applyUpdates();
    theirs.applyUpdates(); // the last apply wins
    EXPECT_DOUBLE_EQ(db->scalar("SELECT PRECO FROM TINTAS WHERE CODIGO = 1").toDouble(), 22.0);

    // A row the other workstation deleted is not silently "updated".
    theirs.deleteRecord();
    theirs.applyUpdates();
    mine.edit();
    mine.setValue("PRECO", 33.0);
    mine.post();
    try {
        mine.applyUpdates();
        FAIL() << "change of a deleted row reported as applied";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::NotFound);
    }
    EXPECT_TRUE(mine.hasPendingChanges());
}

TEST_P(DatasetTest, ParameterValuesWithQuotesAndSemicolonsAreStoredVerbatim)
{
    const QString nasty = QStringLiteral("x'; DELETE FROM TINTAS; --");
    configure(ds, db);
    ds.open();
    ds.append();
    ds.setValue("CODIGO", 9);
    ds.setValue("DESIGNACAO", nasty);
    ds.post();
    ds.applyUpdates();
    Dataset byName(QStringLiteral("Q"));
    byName.setConnection(db);
    byName.setSql(QStringLiteral("SELECT CODIGO FROM TINTAS WHERE DESIGNACAO = :Edit_Designacao.Text"));
    byName.setParam(QStringLiteral("edit_designacao.text"), nasty);
    byName.open();
    ASSERT_EQ(byName.recordCount(), 1);
    EXPECT_EQ(byName.value("CODIGO").toInt(), 9);
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM TINTAS").toInt(), 4);
}

struct ValueCase {
    const char* field;
    QVariant value;
    bool accepted;
    DbError::Kind kind;
};

TEST_P(DatasetTest, ValuesThatDoNotFitTheirColumnAreRefused)
{
    const ValueCase cases[] = {
        {"DESIGNACAO", QString(40, QLatin1Char('x')), true, {}},
        {"DESIGNACAO", QString(41, QLatin1Char('x')), false, DbError::Kind::TextTooLong},
        {"ARTIGO", QStringLiteral("ÇÃÕÉÍÓÚÀÂÊÔçãõéí"), true, {}}, // 16 characters, more bytes
        {"CODIGO", 32767, true, {}},
        {"CODIGO", 40000, false, DbError::Kind::ValueRange},
        {"CODIGO", -32769, false, DbError::Kind::ValueRange},
        {"CODIGO", QStringLiteral("12a"), false, DbError::Kind::ValueRange},
        {"CODIGO", 2.5, false, DbError::Kind::ValueRange},
        {"PRECO", QStringLiteral("abc"), false, DbError::Kind::ValueRange},
        {"PRECO", QStringLiteral("12,5"), true, {}},
    };
    configure(ds, db);
    ds.open();
    for (const ValueCase& c : cases) {
        SCOPED_TRACE(std::string(c.field) + " = " + c.value.toString().toStdString());
        ds.edit();
        const QVariant before = ds.value(c.field);
        if (c.accepted) {
            EXPECT_NO_THROW(ds.setValue(c.field, c.value));
        } else {
            try {
                ds.setValue(c.field, c.value);
                ADD_FAILURE() << "accepted";
            } catch (const DbError& e) {
                EXPECT_EQ(e.kind(), c.kind);
                EXPECT_TRUE(e.text().contains(QString::fromLatin1(c.field)));
            }
            EXPECT_EQ(ds.value(c.field), before); // never cut or half-set
        }
        ds.cancel();
    }
    // Nothing can be set outside edit or insert.
    EXPECT_THROW(ds.setValue("PRECO", 1.0), DbError);
}

TEST_P(DatasetTest, CancelUndoesInsertAndEdit)
{
    configure(ds, db);
    ds.open();
    ds.moveTo(1);
    ds.insert();
    EXPECT_EQ(ds.state(), DatasetState::Insert);
    EXPECT_EQ(ds.recordCount(), 4);
    ds.setValue("CODIGO", 8);
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.value("CODIGO").toInt(), 2);
    ds.edit();
    ds.setValue("DESIGNACAO", QStringLiteral("Outra"));
    EXPECT_EQ(ds.value("DESIGNACAO").toString(), QStringLiteral("Outra"));
    ds.cancel();
    EXPECT_EQ(ds.value("DESIGNACAO").toString(), QStringLiteral("Tinta 2"));
    EXPECT_FALSE(ds.hasPendingChanges());

    // cancelUpdates drops posted changes of every kind.
    ds.edit();
    ds.setValue("PRECO", 1.0);
    ds.post();
    ds.append();
    ds.setValue("CODIGO", 9);
    ds.setValue("DESIGNACAO", QStringLiteral("Nova"));
    ds.post();
    ds.first();
    ds.deleteRecord();
    ds.cancelUpdates();
    EXPECT_FALSE(ds.hasPendingChanges());
    EXPECT_EQ(ds.recordCount(), 3);
    ASSERT_TRUE(ds.locate("CODIGO", 2));
    EXPECT_DOUBLE_EQ(ds.value("PRECO").toDouble(), 20.0);
}

// Views read the current row as soon as they hear of a change: a cancelled
// new row at the end must not leave the cursor on the row that went.
TEST_P(DatasetTest, CancelledAppendLeavesTheCursorOnARealRowWhenListenersHear)
{
    configure(ds, db);
    ds.open();
    ds.last();
    ds.append();
    ds.setValue("CODIGO", 9);
    std::vector<QString> seen;
    auto read = [&] { seen.push_back(ds.value("DESIGNACAO").toString()); };
    QObject::connect(&ds, &Dataset::stateChanged, read);
    QObject::connect(&ds, &Dataset::rowRemoved, read);
    QObject::connect(&ds, &Dataset::currentChanged, read);
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_EQ(ds.currentRow(), 2);
    ASSERT_FALSE(seen.empty());
    for (const QString& s : seen)
        EXPECT_EQ(s, QStringLiteral("Tinta 3"));
}

struct LocateCase {
    QStringList fields;
    QVariantList values;
    int options;
    int found; // code of the row found, 0 for none
};

TEST_P(DatasetTest, LocateOptions)
{
    db->exec("UPDATE TINTAS SET DESIGNACAO = 'Azul Cobalto', ARTIGO = 'X' WHERE CODIGO = 2");
    db->exec("UPDATE TINTAS SET DESIGNACAO = 'Azul', ARTIGO = 'Y' WHERE CODIGO = 3");
    const LocateCase cases[] = {
        {{"DESIGNACAO"}, {"Azul"}, 0, 3},
        {{"DESIGNACAO"}, {"azul"}, 0, 0},
        {{"DESIGNACAO"}, {"azul"}, LocateCaseInsensitive, 3},
        {{"DESIGNACAO"}, {"Azul"}, LocatePartialKey, 2},
        {{"DESIGNACAO"}, {"AZUL C"}, LocatePartialKey | LocateCaseInsensitive, 2},
        {{"DESIGNACAO", "ARTIGO"}, {"Azul Cobalto", "Y"}, 0, 0},
        {{"designacao", "artigo"}, {"azul", "y"}, LocateCaseInsensitive, 3},
        {{"CODIGO"}, {"3"}, 0, 3},
        {{"CODIGO"}, {40000}, 0, 0},
        {{"PRECO"}, {10}, 0, 1},
        {{"ARTIGO"}, {QVariant()}, 0, 0},
    };
    configure(ds, db);
    ds.open();
    for (const LocateCase& c : cases) {
        SCOPED_TRACE(c.fields.join(",").toStdString() + " " + c.values.value(0).toString().toStdString());
        ds.moveTo(0);
        EXPECT_EQ(ds.locate(c.fields, c.values, c.options), c.found != 0);
        if (c.found)
            EXPECT_EQ(ds.value("CODIGO").toInt(), c.found);
        else
            EXPECT_EQ(ds.currentRow(), 0); // a failed locate does not move
    }
}

TEST_P(DatasetTest, FilterShowsOnlyAcceptedRows)
{
    db->exec("CREATE TABLE CNTPMOEDA (ANO VARCHAR(4), DESCRI VARCHAR(20))");
    for (const char* y : {"2023", "2024", "2024", "2025"})
        db->exec("INSERT INTO CNTPMOEDA VALUES (:A, 'EUR')", {{"A", y}});
    Dataset moedas(QStringLiteral("MOEDAS"));
    moedas.setConnection(db);
    moedas.setSql("SELECT * FROM CNTPMOEDA ORDER BY ANO, DESCRI");
    QString wAno = QStringLiteral("2024");
    moedas.setFilter([&](const Dataset& row) { return row.value("ANO").toString() == wAno; });
    moedas.setFiltered(true);
    moedas.open();
    EXPECT_EQ(moedas.recordCount(), 2);
    for (moedas.first(); !moedas.eof(); moedas.next())
        EXPECT_EQ(moedas.value("ANO").toString(), wAno);
    wAno = QStringLiteral("2025");
    moedas.setFiltered(true); // re-evaluates every row
    EXPECT_EQ(moedas.recordCount(), 1);
    moedas.setFiltered(false);
    EXPECT_EQ(moedas.recordCount(), 4);
}

TEST_P(DatasetTest, DetailFollowsTheMastersCurrentRow)
{
    db->exec("CREATE TABLE PROCDET (CODIGO INTEGER, LINHA INTEGER)");
    for (auto [code, line] : {std::pair{1, 1}, {1, 2}, {3, 1}})
        db->exec("INSERT INTO PROCDET VALUES (:C, :L)", {{"C", code}, {"L", line}});
    configure(ds, db);
    Dataset detail(QStringLiteral("PROCDET"));
    detail.setConnection(db);
    detail.setSql("SELECT * FROM PROCDET WHERE CODIGO = :CODIGO ORDER BY LINHA");
    detail.setMaster(&ds, {{QStringLiteral("CODIGO"), QStringLiteral("CODIGO")}});
    ds.open();
    detail.open();
    EXPECT_EQ(detail.recordCount(), 2);
    ds.next();
    EXPECT_EQ(detail.recordCount(), 0);
    ds.next();
    ASSERT_EQ(detail.recordCount(), 1);
    EXPECT_EQ(detail.value("CODIGO").toInt(), 3);
    ds.locate("CODIGO", 1);
    EXPECT_EQ(detail.recordCount(), 2);
}

TEST_P(DatasetTest, ModesWithoutWritingStatementsWriteNothing)
{
    configure(ds, db);
    ds.setMode(DatasetMode::ReadOnly);
    ds.open();
    EXPECT_THROW(ds.edit(), DbError);
    EXPECT_THROW(ds.deleteRecord(), DbError);
    ds.close();
    for (bool emptyUpdateObject : {false, true}) {
        ds.setMode(emptyUpdateObject ? DatasetMode::Cached : DatasetMode::CachedWithoutUpdateObject);
        if (emptyUpdateObject)
            ds.setUpdateStatements({});
        ds.open();
        ds.edit();
        ds.setValue("DESIGNACAO", QStringLiteral("Só na memória"));
        ds.post();
        ds.applyUpdates();
        EXPECT_EQ(ds.value("DESIGNACAO").toString(), QStringLiteral("Só na memória"));
        EXPECT_FALSE(ds.hasPendingChanges());
        EXPECT_EQ(designations(), (QStringList{"Tinta 1", "Tinta 2", "Tinta 3"}));
        ds.close();
    }
}

TEST_P(DatasetTest, DeletingAnEmptyDatasetIsRefused)
{
    db->exec("DELETE FROM TINTAS");
    configure(ds, db);
    ds.open();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.currentRow(), -1);
    EXPECT_THROW(ds.deleteRecord(), DbError);
}

TEST_P(DatasetTest, LargeResultIsFetchedLazilyAndAnotherStatementStillRuns)
{
    Dataset big(QStringLiteral("MUITAS"));
    readNumbers(big, 5000);
    int fetchedSignals = 0;
    QObject::connect(&big, &Dataset::rowsFetched, [&](int, int count) { fetchedSignals += count; });
    big.open();
    EXPECT_GT(big.fetchedCount(), 0);
    EXPECT_LT(big.fetchedCount(), 5000);
    EXPECT_TRUE(big.canFetchMore());
    // Another statement on the same connection while rows are still coming.
    EXPECT_EQ(db->exec("UPDATE MUITAS SET T = 'x' WHERE N = 5000"), 1);
    EXPECT_EQ(big.recordCount(), 5000);
    EXPECT_EQ(fetchedSignals, 5000);
    EXPECT_FALSE(big.canFetchMore());
    big.last();
    EXPECT_EQ(big.value("N").toInt(), 5000);
    EXPECT_EQ(big.value("T").toString(), QStringLiteral("linha 5000")); // read before the update
}

TEST_P(DatasetTest, SignalsLetAViewFollow)
{
    configure(ds, db);
    QStringList events;
    QObject::connect(&ds, &Dataset::reset, [&] { events << "reset"; });
    QObject::connect(&ds, &Dataset::rowInserted, [&](int r) { events << QStringLiteral("inserted %1").arg(r); });
    QObject::connect(&ds, &Dataset::rowRemoved, [&](int r) { events << QStringLiteral("removed %1").arg(r); });
    QObject::connect(&ds, &Dataset::rowChanged, [&](int r) { events << QStringLiteral("changed %1").arg(r); });
    QObject::connect(&ds, &Dataset::currentChanged, [&](int r) { events << QStringLiteral("current %1").arg(r); });
    ds.open();
    ds.next();
    ds.edit();
    ds.setValue("PRECO", 5.0);
    ds.post();
    ds.insert();
    ds.cancel();
    ds.deleteRecord();
    EXPECT_EQ(events, (QStringList{"reset", "current 0", "current 1", "changed 1", "changed 1", "inserted 1",
                                   "current 1", "removed 1", "current 1", "removed 1", "current 1"}));
}

TEST_P(DatasetTest, RefreshKeepsTheCurrentKey)
{
    configure(ds, db);
    ds.open();
    ds.locate("CODIGO", 3);
    db->exec("INSERT INTO TINTAS (CODIGO, DESIGNACAO) VALUES (0, 'Primeira')");
    ds.refresh();
    EXPECT_EQ(ds.recordCount(), 4);
    EXPECT_EQ(ds.value("CODIGO").toInt(), 3);
}

TEST_P(DatasetTest, CalculatedFieldsAreKeptButNeverWritten)
{
    configure(ds, db);
    ds.addCalculatedField(QStringLiteral("TOTAL"), FieldType::Float);
    ds.open();
    ASSERT_EQ(ds.fieldCount(), 6);
    EXPECT_TRUE(ds.fieldDef(5).calculated);
    ds.setValue("TOTAL", 99.5);
    EXPECT_DOUBLE_EQ(ds.value("TOTAL").toDouble(), 99.5);
    EXPECT_FALSE(ds.hasPendingChanges());
    ds.next();
    EXPECT_TRUE(ds.value("TOTAL").isNull());
}

} // namespace

namespace {

struct TypedCase {
    const char* column;
    FieldType type;
    QVariant value;
};

// Every type through the row cache and back through the update statements.
TEST_P(DatasetTest, ValuesOfEveryTypeSurviveTheCacheAndTheApply)
{
    const QString blobType = isPg() ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    db->exec(QStringLiteral("CREATE TABLE TIPOS (ID INTEGER PRIMARY KEY, I16 SMALLINT, I32 INTEGER, I64 BIGINT, "
                            "F FLOAT, D TIMESTAMP, T VARCHAR(10), M TEXT, B %1)")
                 .arg(blobType));
    const QByteArray bytes("\x00\x01\xff'\";", 6);
    const TypedCase cases[] = {
        {"I16", FieldType::Int16, -32768},
        {"I32", FieldType::Int32, 2147483647},
        {"I64", FieldType::Int64, qlonglong(-9000000000000000000LL)},
        {"F", FieldType::Float, -1234.5678},
        {"D", FieldType::DateTime, QDateTime(QDate(1999, 12, 31), QTime(23, 59, 58, 125))},
        {"T", FieldType::Text, QStringLiteral("Ação ñ €")},
        {"M", FieldType::Memo, QString(5000, QChar(0x00e7))},
        {"B", FieldType::Blob, bytes},
    };
    Dataset t(QStringLiteral("TIPOS"));
    t.setConnection(db);
    t.setSql("SELECT * FROM TIPOS ORDER BY ID");
    t.setUpdateStatements({"INSERT INTO TIPOS VALUES (:ID, :I16, :I32, :I64, :F, :D, :T, :M, :B)",
                           "UPDATE TIPOS SET T = :T WHERE ID = :OLD_ID",
                           {}});
    t.open();
    for (int id : {1, 2}) {
        t.append();
        t.setValue("ID", id);
        if (id == 1)
            for (const TypedCase& c : cases)
                t.setValue(c.column, c.value);
        else
            t.setValue("T", QString()); // an empty text is not a null
        t.post();
    }
    t.applyUpdates();
    t.close();
    t.open();
    ASSERT_EQ(t.recordCount(), 2);
    for (const TypedCase& c : cases) {
        SCOPED_TRACE(c.column);
        EXPECT_EQ(t.field(c.column).type(), c.type);
        const QVariant v = t.value(c.column);
        if (c.type == FieldType::DateTime)
            EXPECT_EQ(v.toDateTime(), c.value.toDateTime());
        else if (c.type == FieldType::Float)
            EXPECT_DOUBLE_EQ(v.toDouble(), c.value.toDouble());
        else
            EXPECT_EQ(v, c.value);
    }
    t.next();
    for (const TypedCase& c : cases) {
        if (QLatin1String(c.column) != QLatin1String("T")) {
            EXPECT_TRUE(t.field(c.column).isNull()) << c.column;
        }
    }
    EXPECT_FALSE(t.field("T").isNull());
    EXPECT_EQ(t.field("T").asString(), QString());
}

TEST_P(DatasetTest, UnfinishedReadDoesNotBreakATransactionOnTheSameConnection)
{
    Dataset big(QStringLiteral("MUITAS"));
    readNumbers(big, 3000);
    {
        Transaction t(*db);
        big.open();
        ASSERT_TRUE(big.canFetchMore());
        db->exec("INSERT INTO MUITAS (N) VALUES (0)");
        t.commit();
    }
    EXPECT_EQ(big.recordCount(), 3000);
    big.close();
    big.open(); // outside any transaction, then dropped half-read
    ASSERT_TRUE(big.canFetchMore());
    big.close();
    {
        Transaction t(*db);
        db->exec("DELETE FROM MUITAS WHERE N = 0");
        // rolled back
    }
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM MUITAS").toInt(), 3001);
}

} // namespace

namespace {

// A grid left half-read on one workstation must not hold up another's apply.
TEST_P(DatasetTest, UnfinishedReadDoesNotBlockAnotherConnectionsWrites)
{
    Dataset big(QStringLiteral("MUITAS"));
    readNumbers(big, 3000);
    big.open();
    ASSERT_TRUE(big.canFetchMore());
    auto other = connect(QStringLiteral("OUTRO"));
    QElapsedTimer clock;
    clock.start();
    {
        Transaction t(*other);
        EXPECT_EQ(other->exec("UPDATE MUITAS SET T = 'b' WHERE N = 2999"), 1);
        t.commit();
    }
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_EQ(big.recordCount(), 3000);
}

// A grid left half-read holds no transaction open: another workstation's
// change to the table's columns (a version step) does not wait for it.
TEST_P(DatasetTest, UnfinishedReadLetsAnotherWorkstationChangeTheTable)
{
    Dataset big(QStringLiteral("MUITAS"));
    readNumbers(big, 3000);
    big.open();
    ASSERT_TRUE(big.canFetchMore());
    auto other = connect(QStringLiteral("OUTRO"));
    if (isPg())
        other->exec("SET lock_timeout = '2s'");
    EXPECT_NO_THROW(other->exec("ALTER TABLE MUITAS ADD COLUMN EXTRA INTEGER"));
    EXPECT_EQ(big.recordCount(), 3000);
    EXPECT_EQ(big.fieldCount(), 2); // the grid keeps the columns it opened with
}

} // namespace

namespace {

constexpr int RowStoreBatchForTests = 1024; // the first batch a dataset reads

// A read that fails before or after its first rows reports the error and
// leaves the connection fit for the next statement.
TEST_P(DatasetTest, ReadFailingHalfwayLeavesTheConnectionUsable)
{
    if (!isPg())
        GTEST_SKIP() << "SQLite divides by zero into NULL";
    createNumbers(5000);
    Dataset bad(QStringLiteral("MUITAS"));
    bad.setConnection(db);
    bad.setSql("SELECT N, 1 / (N - 1) AS X FROM MUITAS ORDER BY N"); // fails at the first row
    EXPECT_THROW(bad.open(), DbError);
    EXPECT_FALSE(bad.isOpen());
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM MUITAS").toInt(), 5000);
    // Outside a transaction the server reads the whole result as the grid
    // opens (it holds no transaction for a half-read grid), so the failure
    // comes at once.
    bad.setSql("SELECT N, 1 / (N - 4000) AS X FROM MUITAS ORDER BY N");
    EXPECT_THROW(bad.open(), DbError);
    EXPECT_FALSE(bad.isOpen());
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM MUITAS").toInt(), 5000);
    {
        // Inside one the rows come as they are read: it fails after some batches.
        Transaction t(*db);
        bad.open();
        EXPECT_THROW(bad.recordCount(), DbError);
        EXPECT_FALSE(bad.canFetchMore());
        EXPECT_GE(bad.fetchedCount(), RowStoreBatchForTests);
    }
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM MUITAS").toInt(), 5000);
    {
        Transaction t(*db); // no transaction was left open by the read
        db->exec("DELETE FROM MUITAS WHERE N = 1");
        t.commit();
    }
    EXPECT_EQ(db->scalar("SELECT COUNT(*) FROM MUITAS").toInt(), 4999);
}

} // namespace

namespace {

// Two workstations with the same row in their caches, each writing through
// the statements the dataset writes from the table.
struct SharedRowCase {
    const char* name;
    const char* theirColumn;
    QVariant theirs;
    const char* myColumn;
    QVariant mine;
    Answer answer; // what the user answers when the row changed meanwhile
    bool conflict; // the other workstation changed a column changed here
};

TEST_P(DatasetTest, TwoWorkstationsChangingOneRowNeverPutBackTheOthersChange)
{
    const SharedRowCase cases[] = {
        {"different columns", "PRECO", 22.0, "DESIGNACAO", QStringLiteral("Azul"), Answer::Abort, false},
        {"same column, abort", "PRECO", 22.0, "PRECO", 11.0, Answer::Abort, true},
        {"same column, retry writes mine", "PRECO", 22.0, "PRECO", 11.0, Answer::Retry, true},
        {"same column, skip", "ARTIGO", QStringLiteral("X9"), "ARTIGO", QStringLiteral("Y9"), Answer::Skip, true},
        {"letter case only", "DESIGNACAO", QStringLiteral("TINTA 1"), "DESIGNACAO", QStringLiteral("Tinta Um"),
         Answer::Abort, true},
        {"emptied elsewhere", "GRAMAGEM", QVariant(), "GRAMAGEM", 7.5, Answer::Abort, true},
    };
    auto other = connect(QStringLiteral("OUTRO"));
    const UpdateStatements statements = UpdateStatements::forTable(
        QStringLiteral("TINTAS"), {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "PRECO"}, {"CODIGO"});
    for (const SharedRowCase& c : cases) {
        SCOPED_TRACE(c.name);
        db->exec("UPDATE TINTAS SET ARTIGO = 'ART1', DESIGNACAO = 'Tinta 1', GRAMAGEM = 1.5, PRECO = 10 "
                 "WHERE CODIGO = 1");
        Dataset mine(QStringLiteral("A")), theirs(QStringLiteral("B"));
        for (auto [set, connection] : {std::pair{&mine, db}, std::pair{&theirs, other}}) {
            set->setConnection(connection);
            set->setSql(QStringLiteral("Select * From TINTAS Order By CODIGO"));
            set->setUpdateStatements(statements);
            set->open();
        }
        int calls = 0;
        mine.setErrorHandler([&](Dataset& failing, const DbError& error, UpdateKind kind) {
            ++calls;
            EXPECT_EQ(kind, UpdateKind::Modified);
            EXPECT_EQ(error.kind(), DbError::Kind::Changed);
            EXPECT_EQ(error.text(), QStringLiteral("O registo foi alterado por outro utilizador."));
            EXPECT_EQ(failing.value(c.myColumn), c.mine);
            return c.answer == Answer::Retry && calls == 1 ? UpdateAction::Retry
                   : c.answer == Answer::Skip              ? UpdateAction::Skip
                                                           : UpdateAction::Abort;
        });
        theirs.edit();
        theirs.setValue(c.theirColumn, c.theirs);
        theirs.post();
        theirs.applyUpdates();
        mine.edit();
        mine.setValue(c.myColumn, c.mine);
        mine.post();

        const auto stored = [&](const char* column) {
            return db->scalar(QStringLiteral("SELECT %1 FROM TINTAS WHERE CODIGO = 1").arg(column));
        };
        if (c.conflict && c.answer == Answer::Abort) {
            EXPECT_THROW(mine.applyUpdates(), DbError);
            EXPECT_TRUE(mine.hasPendingChanges());
        } else {
            mine.applyUpdates();
        }
        EXPECT_EQ(calls, c.conflict ? 1 : 0);
        if (!c.conflict || c.answer == Answer::Retry) {
            EXPECT_EQ(stored(c.myColumn), c.mine);
            EXPECT_FALSE(mine.hasPendingChanges());
        }
        if (!c.conflict || c.answer != Answer::Retry) {
            // What the other workstation wrote is still there.
            EXPECT_EQ(stored(c.theirColumn).isNull(), c.theirs.isNull());
            EXPECT_EQ(stored(c.theirColumn).toString(), c.theirs.toString());
        }
        // Columns this workstation never changed are never written back.
        EXPECT_EQ(stored("CODIGO").toInt(), 1);
        if (c.answer == Answer::Retry) {
            EXPECT_EQ(mine.value(c.myColumn), c.mine);
        }
    }
}

// Tables and columns are named as identifiers: a keyword, a sign or a space
// in a name does not break the statements.
TEST_P(DatasetTest, ColumnNamesThatNeedQuotingAreWritten)
{
    const Dialect dialect = this->dialect();
    const QString table = sql::identifier(dialect, QStringLiteral("ORDER"));
    const QString group = sql::identifier(dialect, QStringLiteral("GROUP"));
    const QString dash = sql::identifier(dialect, QStringLiteral("PRECO-BASE"));
    const QString space = sql::identifier(dialect, QStringLiteral("DATA FIM"));
    db->exec(QStringLiteral("CREATE TABLE %1 (CODIGO INTEGER NOT NULL PRIMARY KEY, %2 VARCHAR(10), %3 FLOAT, "
                            "%4 VARCHAR(10))")
                 .arg(table, group, dash, space));
    Dataset set(QStringLiteral("ESTRANHA"));
    set.setConnection(db);
    set.setSql(QStringLiteral("SELECT * FROM %1 ORDER BY CODIGO").arg(table));
    set.setUpdateStatements(
        UpdateStatements::forTable(QStringLiteral("ORDER"), {"CODIGO", "GROUP", "PRECO-BASE", "DATA FIM"}, {"CODIGO"}));
    set.open();
    for (int code : {1, 2}) {
        set.append();
        set.setValue("CODIGO", code);
        set.setValue("GROUP", QStringLiteral("g%1").arg(code));
        set.setValue("PRECO-BASE", code * 1.25);
        set.post();
    }
    set.applyUpdates();
    ASSERT_TRUE(set.locate("CODIGO", 1));
    set.edit();
    set.setValue("DATA FIM", QStringLiteral("fim"));
    set.setValue("PRECO-BASE", 9.5);
    set.post();
    ASSERT_TRUE(set.locate("CODIGO", 2));
    set.deleteRecord();
    set.applyUpdates();
    const auto rows = db->query(QStringLiteral("SELECT CODIGO, %1, %2, %3 FROM %4").arg(group, dash, space, table));
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.rows[0][1].toString(), "g1");
    EXPECT_DOUBLE_EQ(rows.rows[0][2].toDouble(), 9.5);
    EXPECT_EQ(rows.rows[0][3].toString(), "fim");
}

// A date column the row store cannot read (SQLite keeps any text) stays as
// stored when another column of the row is saved.
TEST_P(DatasetTest, UnreadableDateTextIsKeptWhenTheRowIsSaved)
{
    if (isPg())
        GTEST_SKIP() << "PostgreSQL refuses such a date when it is stored";
    db->exec("CREATE TABLE PRAZOS (CODIGO INTEGER NOT NULL PRIMARY KEY, DATA DATETIME, NOTA VARCHAR(20))");
    db->exec("INSERT INTO PRAZOS VALUES (1, '31/02/2024 lixo', 'a'), (2, '2024-03-01 99:99:99', 'b')");
    Dataset set(QStringLiteral("PRAZOS"));
    set.setConnection(db);
    set.setSql(QStringLiteral("SELECT * FROM PRAZOS ORDER BY CODIGO"));
    set.setUpdateStatements(
        UpdateStatements::forTable(QStringLiteral("PRAZOS"), {"CODIGO", "DATA", "NOTA"}, {"CODIGO"}));
    set.open();
    do {
        EXPECT_TRUE(set.value("DATA").isNull()) << set.value("DATA").toString().toStdString();
        set.edit();
        set.setValue("NOTA", QStringLiteral("revista"));
        set.post();
    } while (set.next());
    set.applyUpdates();
    const auto rows = db->query("SELECT DATA, NOTA FROM PRAZOS ORDER BY CODIGO");
    EXPECT_EQ(rows.rows[0][0].toString(), "31/02/2024 lixo");
    EXPECT_EQ(rows.rows[1][0].toString(), "2024-03-01 99:99:99");
    EXPECT_EQ(rows.rows[1][1].toString(), "revista");
}

// A row and its companion row are written together or not at all: whichever
// of the two the database refuses, neither table changes and both caches
// keep their changes for the next try.
TEST_P(DatasetTest, DatasetsAppliedTogetherWriteAllOrNothing)
{
    struct Case {
        const char* name;
        int tintaCode; // 1 exists: refused
        int pairCode; // 5 exists: refused
        bool tintaHandler; // the first dataset has an update-error handler that aborts
        bool written;
    };
    const Case cases[] = {
        {"both accepted", 4, 4, false, true},
        {"first refused", 1, 4, false, false},
        {"second refused", 4, 5, false, false},
        {"second refused, first with a handler", 4, 5, true, false},
    };
    db->exec("CREATE TABLE PARES (CODIGO INTEGER NOT NULL PRIMARY KEY, CONTA VARCHAR(20))");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        db->exec("DELETE FROM TINTAS WHERE CODIGO > 3");
        db->exec("DELETE FROM PARES");
        db->exec("INSERT INTO PARES VALUES (5, '2432')");
        Dataset tintas(QStringLiteral("TINTAS"));
        configure(tintas, db);
        if (c.tintaHandler)
            tintas.setErrorHandler([](Dataset&, const DbError&, UpdateKind) { return UpdateAction::Abort; });
        Dataset pares(QStringLiteral("PARES"));
        pares.setConnection(db);
        pares.setSql(QStringLiteral("Select * From PARES Order By CODIGO"));
        pares.setMode(DatasetMode::Cached);
        pares.setUpdateStatements({QStringLiteral("INSERT INTO PARES (CODIGO, CONTA) VALUES (:CODIGO, :CONTA)"),
                                   QStringLiteral("UPDATE PARES SET CODIGO = :CODIGO, CONTA = :CONTA "
                                                  "WHERE CODIGO = :OLD_CODIGO"),
                                   QStringLiteral("DELETE FROM PARES WHERE CODIGO = :OLD_CODIGO")});
        tintas.open();
        pares.open();
        tintas.append();
        tintas.setValue("CODIGO", c.tintaCode);
        tintas.setValue("DESIGNACAO", QStringLiteral("Nova"));
        pares.append();
        pares.setValue("CODIGO", c.pairCode);
        pares.setValue("CONTA", QStringLiteral("2433"));

        if (c.written) {
            applyTogether({&tintas, &pares});
        } else {
            EXPECT_THROW(applyTogether({&tintas, &pares}), DbError);
        }
        const int newTintas = db->scalar("SELECT COUNT(*) FROM TINTAS WHERE DESIGNACAO = 'Nova'").toInt();
        const int newPairs = db->scalar("SELECT COUNT(*) FROM PARES WHERE CONTA = '2433'").toInt();
        EXPECT_EQ(newTintas, c.written ? 1 : 0);
        EXPECT_EQ(newPairs, c.written ? 1 : 0);
        EXPECT_EQ(tintas.hasPendingChanges(), !c.written);
        EXPECT_EQ(pares.hasPendingChanges(), !c.written);
    }
}

TEST_P(DatasetTest, DatasetsOfTwoConnectionsAreNotAppliedTogether)
{
    configure(ds, db);
    Dataset other(QStringLiteral("TINTAS"));
    configure(other, connect(QStringLiteral("OUTRA")));
    ds.open();
    other.open();
    ds.edit();
    ds.setValue("DESIGNACAO", QStringLiteral("Mudada"));
    EXPECT_THROW(applyTogether({&ds, &other}), DbError);
    EXPECT_TRUE(ds.hasPendingChanges());
    EXPECT_EQ(designations(), (QStringList{"Tinta 1", "Tinta 2", "Tinta 3"}));
}

} // namespace
