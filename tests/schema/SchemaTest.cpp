#include "support/Engines.h"

#include "schema/Schema.h"

#include <gtest/gtest.h>

using kv::db::DbError;
using kv::db::Dialect;
using kv::db::FieldType;
using kv::schema::Database;
using kv::schema::Schema;
using kv::schema::SchemaError;
using namespace kv::test;

namespace {

// Column name -> declared type, as the engine reports it back, per table.
using ColumnList = std::vector<std::pair<QString, QString>>;
using TableColumns = std::map<QString, ColumnList>;

QString definedType(const kv::schema::Column& c)
{
    switch (c.type) {
    case FieldType::Text: return QStringLiteral("text %1").arg(c.size);
    case FieldType::Memo: return QStringLiteral("memo");
    case FieldType::Int16: return QStringLiteral("int16");
    case FieldType::Int32: return QStringLiteral("int32");
    case FieldType::Int64: return QStringLiteral("int64");
    case FieldType::Float: return QStringLiteral("float");
    case FieldType::DateTime: return QStringLiteral("datetime");
    case FieldType::Blob: return QStringLiteral("blob");
    }
    return {};
}

// The engine's own description of every table, in the words of the definition.
TableColumns readBack(kv::db::Connection& connection)
{
    TableColumns tables;
    if (connection.dialect() == Dialect::Sqlite) {
        const auto names = connection.query(QStringLiteral("SELECT name FROM sqlite_master WHERE type = 'table'"));
        for (const auto& row : names.rows) {
            const QString table = row[0].toString().toUpper();
            const auto info = connection.query(QStringLiteral("PRAGMA table_info(%1)").arg(table));
            for (std::size_t i = 0; i < info.rows.size(); ++i) {
                const QString decl = info.value(i, QStringLiteral("type")).toString().toUpper();
                QString type = decl == "SMALLINT"           ? "int16"
                               : decl == "INTEGER"          ? "int32"
                               : decl == "BIGINT"           ? "int64"
                               : decl == "DOUBLE PRECISION" ? "float"
                               : decl == "TIMESTAMP"        ? "datetime"
                               : decl == "TEXT"             ? "memo"
                               : decl == "BLOB"             ? "blob"
                                                            : decl;
                if (decl.startsWith("VARCHAR("))
                    type = QStringLiteral("text ") + decl.mid(8).chopped(1);
                tables[table].emplace_back(info.value(i, QStringLiteral("name")).toString().toUpper(), type);
            }
        }
    } else {
        const auto info = connection.query(QStringLiteral(
            "SELECT table_name, column_name, data_type, character_maximum_length FROM information_schema.columns "
            "WHERE table_schema = current_schema() ORDER BY table_name, ordinal_position"));
        for (std::size_t i = 0; i < info.rows.size(); ++i) {
            const QString data = info.value(i, QStringLiteral("data_type")).toString();
            QString type = data == "smallint"             ? "int16"
                           : data == "integer"            ? "int32"
                           : data == "bigint"             ? "int64"
                           : data == "double precision"   ? "float"
                           : data.startsWith("timestamp") ? "datetime"
                           : data == "text"               ? "memo"
                           : data == "bytea"              ? "blob"
                                                          : data;
            if (data == "character varying")
                type = QStringLiteral("text %1").arg(info.value(i, QStringLiteral("character_maximum_length")).toInt());
            tables[info.value(i, QStringLiteral("table_name")).toString().toUpper()].emplace_back(
                info.value(i, QStringLiteral("column_name")).toString().toUpper(), type);
        }
    }
    return tables;
}

TableColumns defined(Database database)
{
    TableColumns tables;
    for (const auto* table : Schema::standard().tables(database))
        for (const auto& c : table->columns)
            tables[table->name].emplace_back(c.name, definedType(c));
    return tables;
}

// Tables and columns that only the program's version steps may add.
struct Absent {
    Database database;
    const char* table;
    const char* column; // nullptr: the whole table is absent
};

class VersionStepObjects : public ::testing::TestWithParam<Absent> {};

TEST_P(VersionStepObjects, AreLeftToTheVersionSteps)
{
    const Absent& a = GetParam();
    const auto* table = Schema::standard().table(a.database, a.table);
    if (!a.column) {
        EXPECT_EQ(table, nullptr) << a.table;
        return;
    }
    ASSERT_NE(table, nullptr) << a.table;
    EXPECT_EQ(table->column(a.column), nullptr) << a.table << "." << a.column;
}

INSTANTIATE_TEST_SUITE_P(Schema, VersionStepObjects,
                         ::testing::Values(Absent{Database::Application, "ACTUAL_VERSAO", nullptr},
                                           Absent{Database::Application, "SUBCONTRATO", nullptr},
                                           Absent{Database::Application, "WORKORDFABDET", nullptr},
                                           Absent{Database::Application, "UTILIZADORES", "UPGRADE_LICENSE"},
                                           Absent{Database::Application, "ORCMAS", "VALSUB1"},
                                           Absent{Database::Application, "ORCMAS", "VALSUB3"},
                                           Absent{Database::Application, "WORKORDFAB", "PLCOMPRI2"},
                                           Absent{Database::Application, "ORCCONSUMOS", "CONSUMIDO"}));

struct Expected {
    Database database;
    const char* table;
    const char* column;
    FieldType type;
    int size;
    bool key;
};

class DefinedColumns : public ::testing::TestWithParam<Expected> {};

TEST_P(DefinedColumns, HaveTheirTypeSizeAndKey)
{
    const Expected& e = GetParam();
    const auto* table = Schema::standard().table(e.database, e.table);
    ASSERT_NE(table, nullptr) << e.table;
    const auto* column = table->column(e.column);
    ASSERT_NE(column, nullptr) << e.table << "." << e.column;
    EXPECT_EQ(column->type, e.type);
    EXPECT_EQ(column->size, e.size);
    EXPECT_EQ(column->key, e.key);
}

INSTANTIATE_TEST_SUITE_P(
    Schema, DefinedColumns,
    ::testing::Values(Expected{Database::General, "EMPRESAS", "EMPNRO", FieldType::Int32, 0, true},
                      Expected{Database::General, "EMPRESAS", "BDESPECIF01", FieldType::Text, 20, false},
                      Expected{Database::General, "PARAMUTIL", "COMP_NAME", FieldType::Text, 30, true},
                      Expected{Database::General, "PARAMUTIL", "DATA", FieldType::DateTime, 0, false},
                      Expected{Database::General, "UTILPASSWORD", "BDPASSWORD", FieldType::Text, 25, false},
                      Expected{Database::Application, "APLICACAODET", "EMPNRO", FieldType::Int32, 0, true},
                      Expected{Database::Application, "TIPOTAB", "CODIGO", FieldType::Int16, 0, true},
                      Expected{Database::Application, "ORCMAS", "SUBCODIGO", FieldType::Int16, 0, true},
                      Expected{Database::Application, "ORCDET", "DETAIL", FieldType::Int32, 0, true},
                      Expected{Database::Application, "PAPEIS", "PRECO", FieldType::Float, 0, false},
                      Expected{Database::Invoicing, "PARGER", "ANO", FieldType::Text, 4, true},
                      Expected{Database::Invoicing, "CALENDARIO", "DATA", FieldType::DateTime, 0, true},
                      Expected{Database::Invoicing, "ENCPARGER", "ENCNRO5", FieldType::Int32, 0, false},
                      Expected{Database::Invoicing, "STKTRS", "TRSCOD", FieldType::Int32, 0, true},
                      Expected{Database::Invoicing, "CLIENTES", "NOME", FieldType::Text, 40, false},
                      Expected{Database::Accounting, "CNTPMOEDA", "DESCRI", FieldType::Text, 3, true},
                      Expected{Database::Accounting, "CCUSTO", "CODIGO", FieldType::Text, 8, true}));

TEST(StandardSchema, EveryTableHasAPrimaryKey)
{
    for (Database database : kv::schema::allDatabases())
        for (const auto* table : Schema::standard().tables(database))
            EXPECT_FALSE(table->keyColumns().isEmpty()) << table->name.toStdString();
}

TEST(StandardSchema, CostTableTypesOneToTenExist)
{
    const auto rows = Schema::standard().rows(Database::Application);
    const auto it = std::find_if(rows.begin(), rows.end(), [](const auto* r) { return r->table == "TIPOTAB"; });
    ASSERT_NE(it, rows.end());
    ASSERT_EQ((*it)->values.size(), 10u);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ((*it)->values[i][0].toInt(), i + 1);
}

struct BadDefinition {
    const char* what;
    const char* text;
};

class DefinitionErrors : public ::testing::TestWithParam<BadDefinition> {};

TEST_P(DefinitionErrors, AreRefusedWithTheirLine)
{
    Schema schema;
    try {
        schema.addDefinition(Database::Application, "teste", GetParam().text, "teste.ddl");
        schema.checkRows();
        FAIL() << GetParam().what;
    } catch (const SchemaError& e) {
        EXPECT_TRUE(e.text().startsWith("teste.ddl")) << e.text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(
    Schema, DefinitionErrors,
    ::testing::Values(BadDefinition{"unknown type", "table T\n  A int128 key\n"},
                      BadDefinition{"text without size", "table T\n  A text key\n"},
                      BadDefinition{"zero size", "table T\n  A text 0\n"},
                      BadDefinition{"unknown word", "table T\n  A int32 primary\n"},
                      BadDefinition{"duplicate table", "table T\n  A int32 key\ntable t\n  B int32 key\n"},
                      BadDefinition{"duplicate column", "table T\n  A int32 key\n  a text 3\n"},
                      BadDefinition{"column outside a table", "  A int32 key\n"},
                      BadDefinition{"bad table name", "table T-1\n  A int32 key\n"},
                      BadDefinition{"bad column name", "table T\n  A;DROP int32\n"},
                      BadDefinition{"table without columns", "table T\n"},
                      BadDefinition{"rows of an unknown table", "rows X (A)\n  1\n"},
                      BadDefinition{"rows of an unknown column", "table T\n  A int32 key\nrows T (B)\n  1\n"},
                      BadDefinition{"too few values", "table T\n  A int32 key\n  B text 2\nrows T (A, B)\n  1\n"},
                      BadDefinition{"rows without columns", "table T\n  A int32 key\nrows T\n  1\n"},
                      BadDefinition{"rows of an unknown kind",
                                    "table T\n  A int32 key\ndemo monthly rows T (A)\n  1\n"},
                      BadDefinition{"index of an unknown column", "table T\n  A int32 key\n  index T_B (B)\n"},
                      BadDefinition{"index without columns", "table T\n  A int32 key\n  index T_A ()\n"},
                      BadDefinition{"index without name", "table T\n  A int32 key\n  index (A)\n"}));

class SchemaOnEngine : public ::testing::TestWithParam<Dialect> {};

TEST_P(SchemaOnEngine, CreatesEveryTableWithItsColumns)
{
    KV_SKIP_WITHOUT(GetParam());
    for (Database database : kv::schema::allDatabases()) {
        ScratchDatabase scratch(GetParam());
        auto connection = scratch.open();
        Schema::standard().create(
            *connection, database,
            {{"EMPNRO", 1}, {"EMPNOM", "Empresa"}, {"BDFACTURA", "F"}, {"BDCONTAB", "C"}, {"BDESPECIF01", "K"}});
        EXPECT_EQ(readBack(*connection), defined(database)) << kv::schema::databaseKey(database).toStdString();
    }
}

TEST_P(SchemaOnEngine, TextSortsAccentAwareWithoutRegardToCase)
{
    KV_SKIP_WITHOUT(GetParam());
    ScratchDatabase scratch(GetParam());
    auto connection = scratch.open();
    Schema schema;
    schema.addDefinition(Database::Application, "teste", "table NOMES\n  ID int32 key\n  NOME text 10\n");
    schema.create(*connection, Database::Application);
    const QStringList inserted = {"zona", "Zebra", "árvore", "Águeda", "abade"};
    for (int i = 0; i < inserted.size(); ++i)
        connection->exec("INSERT INTO NOMES (ID, NOME) VALUES (:ID, :NOME)", {{"ID", i}, {"NOME", inserted[i]}});
    const auto result = connection->query("SELECT NOME FROM NOMES ORDER BY NOME");
    QStringList order;
    for (const auto& row : result.rows)
        order << row[0].toString();
    EXPECT_EQ(order, QStringList({"abade", "Águeda", "árvore", "Zebra", "zona"})) << order.join(',').toStdString();
}

TEST_P(SchemaOnEngine, SecondaryIndexesAreCreatedWithTheirTable)
{
    KV_SKIP_WITHOUT(GetParam());
    ScratchDatabase scratch(GetParam());
    auto connection = scratch.open();
    Schema::standard().create(*connection, Database::Application);
    const QString catalog =
        GetParam() == Dialect::Postgres
            ? QStringLiteral("SELECT COUNT(*) FROM pg_indexes WHERE UPPER(indexname) = :N")
            : QStringLiteral("SELECT COUNT(*) FROM sqlite_master WHERE type = 'index' AND name = :N");
    for (const auto* table : Schema::standard().tables(Database::Application))
        for (const auto& index : table->indexes)
            EXPECT_EQ(connection->scalar(catalog, {{"N", index.name}}).toInt(), 1) << index.name.toStdString();
    EXPECT_FALSE(Schema::standard().table(Database::Application, "ORCMAS")->indexes.empty());
}

TEST_P(SchemaOnEngine, RowsTakeTypedValuesAndPlaceholders)
{
    KV_SKIP_WITHOUT(GetParam());
    ScratchDatabase scratch(GetParam());
    auto connection = scratch.open();
    Schema schema;
    schema.addDefinition(Database::Application, "teste",
                         "table T\n  A int16 key\n  B text 12\n  C float\n  D datetime\n  E memo\n"
                         "rows T (A, B, C, D, E)\n  7 | ${NOME} | 2.5 | 2024-02-29 | NULL\n"
                         "  8 | o'Neil; -- x | ${VALOR} | ${DATA} | Ç\n");
    schema.create(*connection, Database::Application,
                  {{"NOME", "Águeda"}, {"VALOR", 1.25}, {"DATA", QDate(2024, 3, 1).startOfDay()}});
    const auto r = connection->query("SELECT A, B, C, D, E FROM T ORDER BY A");
    ASSERT_EQ(r.rows.size(), 2u);
    EXPECT_EQ(r.value(0, "B").toString(), "Águeda");
    EXPECT_DOUBLE_EQ(r.value(0, "C").toDouble(), 2.5);
    EXPECT_EQ(r.value(0, "D").toDateTime().date(), QDate(2024, 2, 29));
    EXPECT_TRUE(r.value(0, "E").isNull());
    EXPECT_EQ(r.value(1, "B").toString(), "o'Neil; -- x");
    EXPECT_DOUBLE_EQ(r.value(1, "C").toDouble(), 1.25);
    EXPECT_EQ(r.value(1, "D").toDateTime().date(), QDate(2024, 3, 1));
}

struct BadRow {
    const char* what;
    const char* row;
};

class RowsThatDoNotFit : public ::testing::TestWithParam<std::tuple<Dialect, BadRow>> {};

TEST_P(RowsThatDoNotFit, LeaveTheDatabaseWithoutAnyTable)
{
    const auto& [dialect, bad] = GetParam();
    KV_SKIP_WITHOUT(dialect);
    ScratchDatabase scratch(dialect);
    auto connection = scratch.open();
    Schema schema;
    schema.addDefinition(Database::Application, "teste",
                         QStringLiteral("table T\n  A int16 key\n  B text 3\n  C datetime\n"
                                        "table U\n  X int32 key\nrows T (A, B, C)\n  1 | abc | 2024-01-01\n  %1\n")
                             .arg(bad.row));
    EXPECT_THROW(schema.create(*connection, Database::Application), SchemaError) << bad.what;
    EXPECT_FALSE(connection->tableExists("T")) << bad.what;
    EXPECT_FALSE(connection->tableExists("U")) << bad.what;
}

INSTANTIATE_TEST_SUITE_P(Schema, RowsThatDoNotFit,
                         ::testing::Combine(::testing::Values(Dialect::Sqlite, Dialect::Postgres),
                                            ::testing::Values(BadRow{"text longer than its column", "2 | abcd | NULL"},
                                                              BadRow{"16-bit integer out of range", "40000 | a | NULL"},
                                                              BadRow{"not a number", "x | a | NULL"},
                                                              BadRow{"not a date", "3 | a | 31/02/2024"},
                                                              BadRow{"unknown placeholder", "4 | ${NADA} | NULL"})));

TEST_P(SchemaOnEngine, KeyRefusesADuplicateAndNothingIsLeft)
{
    KV_SKIP_WITHOUT(GetParam());
    ScratchDatabase scratch(GetParam());
    auto connection = scratch.open();
    Schema schema;
    schema.addDefinition(Database::Application, "teste",
                         "table T\n  A int16 key\n  B text 3 key\nrows T (A, B)\n  1 | a\n  1 | A\n");
    // The key compares text as the collation does: "a" and "A" are one key.
    EXPECT_THROW(schema.create(*connection, Database::Application), DbError);
    EXPECT_FALSE(connection->tableExists("T"));
}

// One table of each kind of row set: every installation's, the demo's, and
// the demo's rows of a working year.
const char* const ScopedRows = "table T\n  A int16 key\n  B text 10\n"
                               "table Y\n  ANO text 4 key\n  B text 10\n"
                               "rows T (A, B)\n  1 | todas\n"
                               "demo rows T (A, B)\n  2 | demo\n"
                               "demo yearly rows Y (ANO, B)\n  ${ANO} | ano\n";

QStringList column(kv::db::Connection& connection, const QString& sql)
{
    QStringList values;
    for (const auto& row : connection.query(sql).rows)
        values << row[0].toString();
    return values;
}

struct ScopeCase {
    bool demo;
    QStringList rowsOfT;
};

class RowScopes : public ::testing::TestWithParam<std::tuple<Dialect, ScopeCase>> {};

TEST_P(RowScopes, DemoRowsOnlyInDemoInstallationsAndNoYearBeforeItIsAdded)
{
    const auto& [dialect, c] = GetParam();
    KV_SKIP_WITHOUT(dialect);
    ScratchDatabase scratch(dialect);
    auto connection = scratch.open();
    Schema schema;
    schema.addDefinition(Database::Application, "teste", ScopedRows);
    schema.create(*connection, Database::Application, {}, c.demo);
    EXPECT_EQ(column(*connection, "SELECT B FROM T ORDER BY A"), c.rowsOfT);
    EXPECT_TRUE(column(*connection, "SELECT B FROM Y").isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Schema, RowScopes,
                         ::testing::Combine(::testing::Values(Dialect::Sqlite, Dialect::Postgres),
                                            ::testing::Values(ScopeCase{false, {"todas"}},
                                                              ScopeCase{true, {"todas", "demo"}})));

TEST_P(SchemaOnEngine, YearlyRowsAreAddedOncePerYearAndKeepTheirChanges)
{
    KV_SKIP_WITHOUT(GetParam());
    ScratchDatabase scratch(GetParam());
    auto connection = scratch.open();
    Schema schema;
    schema.addDefinition(Database::Application, "teste", ScopedRows);
    schema.create(*connection, Database::Application, {}, true);
    schema.addMissingRows(*connection, Database::Application, kv::schema::RowScope::DemoYear, {{"ANO", "2026"}});
    connection->exec("UPDATE Y SET B = 'mudado' WHERE ANO = '2026'");
    schema.addMissingRows(*connection, Database::Application, kv::schema::RowScope::DemoYear, {{"ANO", "2026"}});
    schema.addMissingRows(*connection, Database::Application, kv::schema::RowScope::DemoYear, {{"ANO", "2027"}});
    EXPECT_EQ(column(*connection, "SELECT ANO || ':' || B FROM Y ORDER BY ANO"),
              QStringList({"2026:mudado", "2027:ano"}));
    // Only the yearly rows: the demo's other rows are not inserted again.
    EXPECT_EQ(column(*connection, "SELECT B FROM T ORDER BY A"), QStringList({"todas", "demo"}));
}

INSTANTIATE_TEST_SUITE_P(Engines, SchemaOnEngine, ::testing::Values(Dialect::Sqlite, Dialect::Postgres),
                         engineTestName);

} // namespace
