#pragma once

#include "platform/db/Connection.h"
#include "support/Engines.h"

#include <gtest/gtest.h>
#include <memory>

namespace kv::db::test {

// Each test of a suite derived from this runs once per engine (KV_ENGINE_SUITE)
// on a fresh empty database; the PostgreSQL run is skipped when
// KV_TEST_PG_HOST is not set.
class EngineTest : public ::testing::TestWithParam<kv::test::Engine> {
protected:
    void SetUp() override;
    void TearDown() override;
    Dialect dialect() const { return GetParam(); }
    bool isPg() const { return GetParam() == Dialect::Postgres; }
    std::shared_ptr<Connection> connect(const QString& alias = QStringLiteral("TESTE")) const
    {
        return m_db->open(alias);
    }

    std::unique_ptr<kv::test::ScratchDatabase> m_db;
    std::shared_ptr<Connection> db; // the main connection of the test
};

} // namespace kv::db::test
