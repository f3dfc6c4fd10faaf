#include "schema/TestEngines.h"

#include <QCoreApplication>
#include <QDateTime>
#include <atomic>
#include <unistd.h>

namespace kv::schema::test {

using kv::db::Connection;
using kv::db::ConnectionSettings;
using kv::db::Dialect;

QString engineName(Dialect dialect)
{
    return dialect == Dialect::Sqlite ? QStringLiteral("SQLite") : QStringLiteral("PostgreSQL");
}

bool postgresAvailable()
{
    return !qEnvironmentVariable("KV_TEST_PG_HOST").isEmpty();
}

ConnectionSettings postgresSettings(const QString& database)
{
    ConnectionSettings s;
    s.alias = database;
    s.dialect = Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    if (s.port == 0)
        s.port = 5432;
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

QString uniqueName(const QString& tag)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kvt_%1_%2_%3_%4")
        .arg(tag.toLower())
        .arg(getpid())
        .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
        .arg(counter++);
}

void dropPostgresDatabase(const QString& name)
{
    auto server = Connection::open(postgresSettings(QStringLiteral("postgres")));
    server->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

ScratchDatabase::ScratchDatabase(Dialect dialect)
{
    if (dialect == Dialect::Sqlite) {
        m_dir.emplace();
        m_settings.alias = QStringLiteral("SCRATCH");
        m_settings.dialect = Dialect::Sqlite;
        m_settings.database = m_dir->filePath(QStringLiteral("scratch.sqlite"));
        return;
    }
    const QString name = uniqueName(QStringLiteral("schema"));
    auto server = Connection::open(postgresSettings(QStringLiteral("postgres")));
    server->exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    m_settings = postgresSettings(name);
}

ScratchDatabase::~ScratchDatabase()
{
    if (m_settings.dialect == Dialect::Postgres) {
        try {
            dropPostgresDatabase(m_settings.database);
        } catch (...) {
        }
    }
}

} // namespace kv::schema::test
