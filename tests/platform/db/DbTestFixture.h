#pragma once

#include "platform/db/Connection.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

namespace kv::db::test {

// Settings of a fresh database on the given engine: a file in a temporary
// folder for SQLite, a database with a unique name on the test server for
// PostgreSQL (dropped by the fixture). Empty alias when the engine is absent.
class TestDatabase {
public:
    explicit TestDatabase(Dialect dialect);
    ~TestDatabase();
    bool available() const { return m_available; }
    const ConnectionSettings& settings() const { return m_settings; }
    std::shared_ptr<Connection> connect(const QString& alias = QStringLiteral("TESTE")) const;

private:
    ConnectionSettings m_settings;
    QTemporaryDir m_dir;
    bool m_available = false;
};

// Each test of a suite derived from this runs once per engine; the PostgreSQL
// run is skipped when KV_TEST_PG_HOST is not set.
class EngineTest : public ::testing::TestWithParam<Dialect> {
protected:
    void SetUp() override;
    void TearDown() override;
    Dialect dialect() const { return GetParam(); }
    bool isPg() const { return GetParam() == Dialect::Postgres; }
    std::shared_ptr<Connection> connect(const QString& alias = QStringLiteral("TESTE")) const
    {
        return m_db->connect(alias);
    }

    std::unique_ptr<TestDatabase> m_db;
    std::shared_ptr<Connection> db; // the main connection of the test
};

std::string engineName(const ::testing::TestParamInfo<Dialect>& info);

#define KV_ENGINE_SUITE(suite)                                                                         \
    INSTANTIATE_TEST_SUITE_P(Engines, suite,                                                           \
                             ::testing::Values(::kv::db::Dialect::Sqlite, ::kv::db::Dialect::Postgres), \
                             ::kv::db::test::engineName)

} // namespace kv::db::test
