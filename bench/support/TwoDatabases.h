#pragma once

#include "platform/db/Connection.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"
#include "schema/Schema.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>
#include <map>
#include <memory>

namespace kv::bench {

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

// A benchmark's application and invoicing databases holding every table of
// the definition: SQLite files in a folder of their own, or the databases
// `<prefix>_app` and `<prefix>_inv` of the test server, dropped at the end.
struct TwoDatabases {
    TwoDatabases(kv::db::Dialect dialect, const QString& prefix)
        : names{prefix + QStringLiteral("_app"), prefix + QStringLiteral("_inv")}
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
            s.database = dir.filePath(QStringLiteral("aplicacao.db"));
            application = kv::db::Connection::open(s);
            s.alias = QStringLiteral("BDFACTURA");
            s.database = dir.filePath(QStringLiteral("facturacao.db"));
            invoicing = kv::db::Connection::open(s);
        }
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        schema.create(*application, kv::schema::Database::Application);
        schema.create(*invoicing, kv::schema::Database::Invoicing);
    }

    ~TwoDatabases()
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
        }
    }

    // The unit of work between the two, for the kinds given.
    kv::db::TwoDatabaseWork work(const kv::db::TwoDatabaseKinds& kinds) const
    {
        return kv::db::TwoDatabaseWork(kinds, {{kv::db::role::application(), application},
                                               {kv::db::role::invoicing(), invoicing}});
    }

    TwoDatabases(const TwoDatabases&) = delete;
    TwoDatabases& operator=(const TwoDatabases&) = delete;

    QTemporaryDir dir;
    QString names[2];
    std::shared_ptr<kv::db::Connection> application;
    std::shared_ptr<kv::db::Connection> invoicing;
};

// Messages of a core under measurement: none is shown.
class QuietMessages : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override {}
    void information(const QString&) override {}
};

// A benchmark program's plants, one per engine; main() clears them before
// the program ends, so that the test server's databases go.
template <class Plant>
std::map<kv::db::Dialect, std::unique_ptr<Plant>>& plants()
{
    static std::map<kv::db::Dialect, std::unique_ptr<Plant>> all;
    return all;
}

// The plant of the benchmark's engine (argument 0 SQLite, 1 PostgreSQL),
// made on first use; nullptr, with the run skipped, without a test server.
template <class Plant>
Plant* plantFor(benchmark::State& state)
{
    const kv::db::Dialect dialect = state.range(0) == 0 ? kv::db::Dialect::Sqlite : kv::db::Dialect::Postgres;
    if (dialect == kv::db::Dialect::Postgres && !hasPostgres()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    auto& plant = plants<Plant>()[dialect];
    if (!plant)
        plant = std::make_unique<Plant>(dialect);
    return plant.get();
}

} // namespace kv::bench
