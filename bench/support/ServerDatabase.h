#pragma once

#include "platform/db/Connection.h"

#include <QString>

namespace kv::bench {

// Whether the test server runs (scripts/bench starts it).
inline bool hasServer() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

// A database of the test server.
inline kv::db::ConnectionSettings serverSettings(const QString& database)
{
    kv::db::ConnectionSettings s;
    s.alias = QStringLiteral("BDESPECIF01");
    s.dialect = kv::db::Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

} // namespace kv::bench
