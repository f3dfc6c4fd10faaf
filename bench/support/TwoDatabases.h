#pragma once

#include "platform/db/Connection.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"
#include "schema/Schema.h"
#include "support/BenchDatabase.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>

namespace kv::bench {

// A benchmark's application and invoicing databases holding every table of
// the definition: SQLite files, or the databases `<prefix>_app` and
// `<prefix>_inv` of the test server, dropped at the end.
struct TwoDatabases {
    TwoDatabases(kv::db::Dialect dialect, const QString& prefix)
        : applicationDatabase(dialect, prefix + QStringLiteral("_app"), QStringLiteral("BDESPECIF01")),
          invoicingDatabase(dialect, prefix + QStringLiteral("_inv"), QStringLiteral("BDFACTURA"))
    {
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        schema.create(*application, kv::schema::Database::Application);
        schema.create(*invoicing, kv::schema::Database::Invoicing);
    }

    // The unit of work between the two, for the kinds given.
    kv::db::TwoDatabaseWork work(const kv::db::TwoDatabaseKinds& kinds) const
    {
        return kv::db::TwoDatabaseWork(kinds, {{kv::db::role::application(), application},
                                               {kv::db::role::invoicing(), invoicing}});
    }

    BenchDatabase applicationDatabase;
    BenchDatabase invoicingDatabase;
    std::shared_ptr<kv::db::Connection>& application = applicationDatabase.connection;
    std::shared_ptr<kv::db::Connection>& invoicing = invoicingDatabase.connection;
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
    if (!engineAvailable(state))
        return nullptr;
    auto& plant = plants<Plant>()[dialectOf(state)];
    if (!plant)
        plant = std::make_unique<Plant>(dialectOf(state));
    return plant.get();
}

} // namespace kv::bench
