#pragma once

#include "platform/db/Connection.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <memory>

namespace kv::bench {

// Benchmarks measured on both engines take the engine as their first
// argument: 0 an SQLite file, 1 a database of the test server that
// scripts/bench (or scripts/pg-test-server) announces in KV_TEST_PG_*.
inline bool hasServer() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

inline kv::db::ConnectionSettings serverSettings(const QString& database, const QString& alias = {})
{
    kv::db::ConnectionSettings s;
    s.alias = alias.isEmpty() ? database : alias;
    s.dialect = kv::db::Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

inline kv::db::Dialect dialectOf(const benchmark::State& state)
{
    return state.range(0) == 0 ? kv::db::Dialect::Sqlite : kv::db::Dialect::Postgres;
}

// False (the benchmark skipped) when it asks for the server and none runs;
// otherwise the engine becomes the benchmark's label.
inline bool engineAvailable(benchmark::State& state)
{
    const bool server = dialectOf(state) == kv::db::Dialect::Postgres;
    if (server && !hasServer()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return false;
    }
    state.SetLabel(server ? "pg" : "sqlite");
    return true;
}

// A benchmark's database on either engine: an SQLite file in a folder of its
// own, or a database of the test server made empty and dropped again when
// this goes (before the program's QCoreApplication does).
class BenchDatabase {
public:
    BenchDatabase(kv::db::Dialect dialect, const QString& name, const QString& alias)
    {
        if (dialect == kv::db::Dialect::Postgres) {
            m_serverName = name;
            auto admin = kv::db::Connection::open(serverSettings(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
            connection = kv::db::Connection::open(serverSettings(name, alias));
        } else {
            kv::db::ConnectionSettings s;
            s.alias = alias;
            s.database = m_folder.filePath(name + QStringLiteral(".db"));
            m_file = s.database;
            connection = kv::db::Connection::open(s);
        }
    }

    ~BenchDatabase()
    {
        connection.reset();
        if (m_serverName.isEmpty())
            return;
        try {
            auto admin = kv::db::Connection::open(serverSettings(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_serverName));
        } catch (...) {
        }
    }

    BenchDatabase(const BenchDatabase&) = delete;
    BenchDatabase& operator=(const BenchDatabase&) = delete;

    // Where the raw engine opens it: the SQLite file, or the server's database.
    QString location() const { return m_serverName.isEmpty() ? m_file : m_serverName; }

    std::shared_ptr<kv::db::Connection> connection;

private:
    QTemporaryDir m_folder;
    QString m_file;
    QString m_serverName;
};

// Rows made by the database itself, for volumes a loop of inserts would take
// minutes to write: `numbers(n)` opens a statement with the row source N(I)
// holding 1 to n, to be followed by an INSERT ... SELECT ... FROM N.
inline QString numbers(int count)
{
    return QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1) ").arg(count);
}

// The timestamp `days` (an SQL expression) after the day `start`
// ("2020-01-01"), in each engine's words.
inline QString dayAfter(kv::db::Dialect dialect, const QString& start, const QString& days)
{
    return dialect == kv::db::Dialect::Sqlite
               ? QStringLiteral("datetime('%1', '+' || (%2) || ' days')").arg(start, days)
               : QStringLiteral("(TIMESTAMP '%1' + (%2) * INTERVAL '1 day')").arg(start, days);
}

} // namespace kv::bench
