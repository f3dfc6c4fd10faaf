#pragma once

#include "platform/db/Connection.h"
#include "schema/Schema.h"

#include <QTemporaryDir>
#include <memory>

namespace kv::bench {

// The test PostgreSQL server of the bench command (KV_TEST_PG_HOST,
// KV_TEST_PG_PORT, KV_TEST_PG_USER), if it gives one.
inline bool hasPostgres() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

inline kv::db::ConnectionSettings postgresSettings(const QString& database)
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

// A company's application and invoicing databases, empty but for the
// definition's tables: two SQLite files of a folder of their own, or two
// databases of the test server under the names given (made afresh, dropped
// at the end).
struct CompanyDatabases {
    QTemporaryDir folder;
    QString names[2];
    std::shared_ptr<kv::db::Connection> application;
    std::shared_ptr<kv::db::Connection> invoicing;

    CompanyDatabases(kv::db::Dialect dialect, const QString& applicationName, const QString& invoicingName)
        : names{applicationName, invoicingName}
    {
        if (dialect == kv::db::Dialect::Postgres) {
            auto admin = kv::db::Connection::open(postgresSettings(QStringLiteral("postgres")));
            for (const QString& name : names) {
                admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
                admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
            }
            application = kv::db::Connection::open(postgresSettings(names[0]));
            invoicing = kv::db::Connection::open(postgresSettings(names[1]));
        } else {
            kv::db::ConnectionSettings s;
            s.alias = QStringLiteral("BDESPECIF01");
            s.database = folder.filePath(QStringLiteral("aplicacao.db"));
            application = kv::db::Connection::open(s);
            s.alias = QStringLiteral("BDFACTURA");
            s.database = folder.filePath(QStringLiteral("facturacao.db"));
            invoicing = kv::db::Connection::open(s);
        }
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        schema.create(*application, kv::schema::Database::Application);
        schema.create(*invoicing, kv::schema::Database::Invoicing);
    }
    ~CompanyDatabases()
    {
        const bool pg = application->dialect() == kv::db::Dialect::Postgres;
        invoicing.reset();
        application.reset();
        if (!pg)
            return;
        try {
            auto admin = kv::db::Connection::open(postgresSettings(QStringLiteral("postgres")));
            for (const QString& name : names)
                admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (...) {
            // a database left behind is dropped by the next run
        }
    }
    CompanyDatabases(const CompanyDatabases&) = delete;
    CompanyDatabases& operator=(const CompanyDatabases&) = delete;
};

} // namespace kv::bench
