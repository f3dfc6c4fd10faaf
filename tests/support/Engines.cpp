#include "support/Engines.h"

#include <QDateTime>
#include <atomic>
#include <unistd.h>

namespace kv::test {

using kv::db::Connection;
using kv::db::ConnectionSettings;
using kv::db::Dialect;

const std::vector<Engine>& engines()
{
    static const std::vector<Engine> all{Engine::Sqlite, Engine::Postgres};
    return all;
}

std::string engineName(Engine engine) { return engine == Engine::Sqlite ? "Sqlite" : "Postgres"; }

std::string engineTestName(const ::testing::TestParamInfo<Engine>& info) { return engineName(info.param); }

bool postgresAvailable() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

bool engineAvailable(Engine engine) { return engine == Engine::Sqlite || postgresAvailable(); }

ConnectionSettings serverSettings(const QString& database)
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

QString uniqueDatabaseName(const QString& tag)
{
    static std::atomic<int> counter{0};
    return QStringLiteral("kvt_%1_%2_%3_%4")
        .arg(tag.toLower())
        .arg(getpid())
        .arg(QDateTime::currentMSecsSinceEpoch() % 100000000)
        .arg(counter++);
}

void dropServerDatabase(const QString& name)
{
    auto server = Connection::open(serverSettings(QStringLiteral("postgres")));
    server->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
}

ScratchDatabase::ScratchDatabase(Engine engine, const QString& tag)
{
    if (engine == Engine::Sqlite) {
        m_dir.emplace();
        m_settings.alias = tag.toUpper();
        m_settings.dialect = Dialect::Sqlite;
        m_settings.database = m_dir->filePath(tag + QStringLiteral(".sqlite"));
        return;
    }
    if (!postgresAvailable())
        throw std::logic_error("ScratchDatabase: no PostgreSQL test server (KV_TEST_PG_HOST)");
    const QString name = uniqueDatabaseName(tag);
    auto server = Connection::open(serverSettings(QStringLiteral("postgres")));
    server->exec(QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(name));
    m_settings = serverSettings(name);
    m_settings.alias = tag.toUpper();
}

ScratchDatabase::~ScratchDatabase()
{
    if (m_settings.dialect != Dialect::Postgres)
        return;
    try {
        dropServerDatabase(m_settings.database);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "Não foi possível apagar a base de dados " << m_settings.database.toStdString() << ": "
                      << e.what();
    }
}

std::shared_ptr<Connection> ScratchDatabase::open(const QString& alias) const
{
    ConnectionSettings s = m_settings;
    if (!alias.isEmpty())
        s.alias = alias;
    return Connection::open(s);
}

} // namespace kv::test
