#include "quotes/QuoteDatabase.h"

#include "schema/Schema.h"

#include <QCoreApplication>

namespace kv::quotes::test {

namespace {

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
    if (!QCoreApplication::instance()) {
        static int argc = 1;
        static char name[] = "kv_quotes_db_tests";
        static char* argv[] = {name, nullptr};
        new QCoreApplication(argc, argv); // lives for the whole test binary
    }
    if (!kv::test::engineAvailable(dialect))
        return;
    m_database.emplace(dialect, QStringLiteral("quotes"));
    m_connection = m_database->open(QStringLiteral("BDESPECIF01"));
    kv::schema::Schema::standard().create(*m_connection, kv::schema::Database::Application);
    addVersionStepColumns(*m_connection);
}

QuoteDatabase::~QuoteDatabase()
{
    m_connection.reset();
    m_database.reset();
}

} // namespace kv::quotes::test
