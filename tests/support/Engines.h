#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The engines a test runs on: SQLite always, PostgreSQL when the test command
// names a server (KV_TEST_PG_HOST, KV_TEST_PG_PORT, KV_TEST_PG_USER).
namespace kv::test {

using Engine = kv::db::Dialect;

const std::vector<Engine>& engines();
// "Sqlite" or "Postgres", as test names carry it.
std::string engineName(Engine engine);
std::string engineTestName(const ::testing::TestParamInfo<Engine>& info);
bool engineAvailable(Engine engine);
bool postgresAvailable();

// Connection settings of a database on the test server (the server's own
// "postgres" database to create and drop others).
kv::db::ConnectionSettings serverSettings(const QString& database);
// A name no other test of any run uses at the same time, in lower case.
QString uniqueDatabaseName(const QString& tag);
// Drops a database of the test server, closing the sessions still on it.
void dropServerDatabase(const QString& name);

// A fresh empty database on one engine, removed when the object goes: a file
// in a temporary folder for SQLite, a database of its own on the test server.
class ScratchDatabase {
public:
    explicit ScratchDatabase(Engine engine, const QString& tag = QStringLiteral("scratch"));
    ~ScratchDatabase();
    ScratchDatabase(const ScratchDatabase&) = delete;
    ScratchDatabase& operator=(const ScratchDatabase&) = delete;

    const kv::db::ConnectionSettings& settings() const { return m_settings; }
    std::shared_ptr<kv::db::Connection> open(const QString& alias = {}) const;

private:
    kv::db::ConnectionSettings m_settings;
    std::optional<QTemporaryDir> m_dir;
};

// Test names of a case table combined with the engine: "label_Sqlite".
template <class Case>
requires requires(const Case& c) { c.label; }
std::string caseName(const ::testing::TestParamInfo<std::tuple<Case, Engine>>& info)
{
    std::string name = std::get<0>(info.param).label;
    for (char& ch : name)
        if (!std::isalnum(static_cast<unsigned char>(ch)))
            ch = '_';
    return name + "_" + engineName(std::get<1>(info.param));
}

} // namespace kv::test

// Runs every case of a suite whose parameter is a kv::test::Engine once per engine.
#define KV_ENGINE_SUITE(suite)                                                                                         \
    INSTANTIATE_TEST_SUITE_P(Engines, suite, ::testing::ValuesIn(::kv::test::engines()), ::kv::test::engineTestName)

// PostgreSQL cases run only where the test command gives a server.
#define KV_SKIP_WITHOUT(engine)                                                                                        \
    if (!::kv::test::engineAvailable(engine))                                                                          \
    GTEST_SKIP() << "sem servidor PostgreSQL de teste (KV_TEST_PG_HOST)"
