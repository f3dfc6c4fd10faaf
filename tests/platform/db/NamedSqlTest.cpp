#include "platform/db/NamedSql.h"

#include "platform/db/DbError.h"

#include <gtest/gtest.h>

using namespace kv::db;

namespace {

struct ParseCase {
    const char* sql;
    Dialect dialect;
    const char* text;
    QStringList names;
};

class NamedSqlParse : public ::testing::TestWithParam<ParseCase> {};

TEST_P(NamedSqlParse, TurnsNamesIntoPlaceholders)
{
    const ParseCase& c = GetParam();
    const NamedSql parsed(QString::fromUtf8(c.sql), c.dialect);
    EXPECT_EQ(parsed.text().toStdString(), std::string(c.text));
    EXPECT_EQ(parsed.names(), c.names);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, NamedSqlParse,
    ::testing::Values(
        ParseCase{"SELECT * FROM T WHERE ANO = :WAno", Dialect::Sqlite, "SELECT * FROM T WHERE ANO = ?1", {"WAno"}},
        ParseCase{"UPDATE T SET A = :A WHERE CODIGO = :OLD_CODIGO AND B = :a",
                  Dialect::Postgres,
                  "UPDATE T SET A = $1 WHERE CODIGO = $2 AND B = $1",
                  {"A", "OLD_CODIGO"}},
        ParseCase{"SELECT * FROM A WHERE C = :Edit_Artigo1.Text.",
                  Dialect::Sqlite,
                  "SELECT * FROM A WHERE C = ?1.",
                  {"Edit_Artigo1.Text"}},
        ParseCase{"SELECT ':X', \"a:b\" FROM T -- :Y\nWHERE Z = :Z /* :W */",
                  Dialect::Sqlite,
                  "SELECT ':X', \"a:b\" FROM T -- :Y\nWHERE Z = ?1 /* :W */",
                  {"Z"}},
        ParseCase{"SELECT 'it''s :no', X::int FROM T WHERE D = :D",
                  Dialect::Postgres,
                  "SELECT 'it''s :no', X::int FROM T WHERE D = $1",
                  {"D"}},
        ParseCase{"DO $body$ BEGIN PERFORM :nada; END $body$; SELECT :P",
                  Dialect::Postgres,
                  "DO $body$ BEGIN PERFORM :nada; END $body$; SELECT $1",
                  {"P"}},
        ParseCase{"SELECT 1 WHERE 'x' = ':'", Dialect::Sqlite, "SELECT 1 WHERE 'x' = ':'", {}}));

TEST(NamedSqlBind, MissingValueIsRefusedByName)
{
    const NamedSql parsed(QStringLiteral("SELECT * FROM T WHERE A = :A AND B = :B"), Dialect::Sqlite);
    try {
        parsed.bind({{QStringLiteral("a"), 1}});
        FAIL() << "no error";
    } catch (const DbError& e) {
        EXPECT_EQ(e.kind(), DbError::Kind::Statement);
        EXPECT_TRUE(e.text().contains(QStringLiteral("«B»"))) << e.text().toStdString();
    }
}

} // namespace
