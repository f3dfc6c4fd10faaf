#pragma once

#include "platform/db/Connection.h"

#include <QString>

namespace kv::bench {

// The test server a benchmark runs its PostgreSQL cases on (scripts/bench
// starts it and sets KV_TEST_PG_*).
inline bool hasServer() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

inline kv::db::ConnectionSettings serverSettings(const QString& database)
{
    kv::db::ConnectionSettings s;
    s.alias = database;
    s.dialect = kv::db::Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

} // namespace kv::bench
