#include "platform/db/DbTestFixture.h"

#include <QCoreApplication>
#include <QAtomicInt>
#include <unistd.h>

namespace kv::db::test {

namespace {

ConnectionSettings pgServer(const QString& database)
{
    ConnectionSettings s;
    s.alias = QStringLiteral("PGADMIN");
    s.dialect = Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

} // namespace

TestDatabase::TestDatabase(Dialect dialect)
{
    static QAtomicInt counter;
    m_settings.dialect = dialect;
    m_settings.alias = QStringLiteral("TESTE");
    if (dialect == Dialect::Sqlite) {
        m_settings.database = m_dir.filePath(QStringLiteral("teste.db"));
        m_available = m_dir.isValid();
        return;
    }
    if (qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"))
        return;
    const QString name = QStringLiteral("kvtest_db_%1_%2").arg(getpid()).arg(counter.fetchAndAddRelaxed(1));
    m_settings = pgServer(name);
    m_settings.alias = QStringLiteral("TESTE");
    auto admin = Connection::open(pgServer(QStringLiteral("postgres")));
    admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
    admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
    m_available = true;
}

TestDatabase::~TestDatabase()
{
    if (m_available && m_settings.dialect == Dialect::Postgres) {
        try {
            auto admin = Connection::open(pgServer(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

std::shared_ptr<Connection> TestDatabase::connect(const QString& alias) const
{
    ConnectionSettings s = m_settings;
    s.alias = alias;
    return Connection::open(s);
}

void EngineTest::SetUp()
{
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "kv_db_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv); // lives for the whole test binary
    }
    m_db = std::make_unique<TestDatabase>(GetParam());
    if (!m_db->available())
        GTEST_SKIP() << "PostgreSQL de teste indisponível (KV_TEST_PG_HOST)";
    db = m_db->connect();
}

void EngineTest::TearDown()
{
    db.reset();
    m_db.reset();
}

std::string engineName(const ::testing::TestParamInfo<Dialect>& info)
{
    return info.param == Dialect::Sqlite ? "Sqlite" : "Postgres";
}

} // namespace kv::db::test
