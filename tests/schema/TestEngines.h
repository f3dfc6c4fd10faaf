#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <optional>

// The engines a test runs on: SQLite always, PostgreSQL when KV_TEST_PG_HOST
// names a server.
namespace kv::schema::test {

QString engineName(kv::db::Dialect dialect);
bool postgresAvailable();
// Server settings for `database` from the KV_TEST_PG_* variables.
kv::db::ConnectionSettings postgresSettings(const QString& database);
// A name no other test of any run uses at the same time, in lower case.
QString uniqueName(const QString& tag);
void dropPostgresDatabase(const QString& name);

// A fresh empty database on one engine, removed when the object goes.
class ScratchDatabase {
public:
    explicit ScratchDatabase(kv::db::Dialect dialect);
    ~ScratchDatabase();
    kv::db::ConnectionSettings settings() const { return m_settings; }
    std::shared_ptr<kv::db::Connection> open() const { return kv::db::Connection::open(m_settings); }

private:
    kv::db::ConnectionSettings m_settings;
    std::optional<QTemporaryDir> m_dir;
};

} // namespace kv::schema::test
