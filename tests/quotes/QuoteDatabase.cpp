#include "quotes/QuoteDatabase.h"

#include "schema/Schema.h"

#include <QAtomicInt>
#include <QCoreApplication>
#include <unistd.h>

namespace kv::quotes::test {

namespace {

kv::db::ConnectionSettings pgServer(const QString& database)
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

// What the program's version steps add to the quote tables of a new
// installation: the subcontract table and the subcontract totals.
const char* const kVersionStepTables = R"(
table SUBCONTRATO
  CODIGO     int32 key
  DESIGNACAO text 40
  PRECO      float
  GRS_M2     float
  ACESSORIO  text 1
  UNIDADE    text 3
)";

void addVersionStepColumns(kv::db::Connection& db)
{
    using kv::schema::Database;
    kv::schema::Schema extra;
    extra.addDefinition(Database::Application, QStringLiteral("quotes"), QString::fromLatin1(kVersionStepTables));
    if (!db.tableExists(QStringLiteral("SUBCONTRATO")))
        for (const QString& sql : extra.createStatements(Database::Application, db.dialect()))
            db.exec(sql);
    for (int n = 1; n <= 3; ++n) {
        const QString column = QStringLiteral("VALSUB%1").arg(n);
        if (!db.columnExists(QStringLiteral("ORCMAS"), column))
            db.exec(QStringLiteral("ALTER TABLE ORCMAS ADD %1 %2")
                        .arg(column, kv::schema::sqlType(kv::db::FieldType::Float, 0, db.dialect())));
    }
}

} // namespace

QuoteDatabase::QuoteDatabase(kv::db::Dialect dialect)
{
    static QAtomicInt counter;
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "kv_quotes_db_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv); // lives for the whole test binary
    }
    if (dialect == kv::db::Dialect::Sqlite) {
        m_settings.alias = QStringLiteral("BDESPECIF01");
        m_settings.dialect = dialect;
        m_settings.database = m_dir.filePath(QStringLiteral("especif01.db"));
    } else {
        if (qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"))
            return;
        const QString name = QStringLiteral("kvtest_quotes_%1_%2").arg(getpid()).arg(counter.fetchAndAddRelaxed(1));
        auto admin = kv::db::Connection::open(pgServer(QStringLiteral("postgres")));
        admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
        admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
        m_settings = pgServer(name);
    }
    m_connection = kv::db::Connection::open(m_settings);
    kv::schema::Schema::standard().create(*m_connection, kv::schema::Database::Application);
    addVersionStepColumns(*m_connection);
}

QuoteDatabase::~QuoteDatabase()
{
    m_connection.reset();
    if (m_settings.dialect == kv::db::Dialect::Postgres && !m_settings.database.isEmpty()) {
        try {
            auto admin = kv::db::Connection::open(pgServer(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_settings.database));
        } catch (...) {
        }
    }
}

} // namespace kv::quotes::test
