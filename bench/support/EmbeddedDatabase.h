#pragma once

#include "platform/db/Connection.h"
#include "schema/Schema.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <functional>
#include <initializer_list>
#include <memory>

namespace kv::bench {

// Tables of the definition with their secondary indexes.
inline void createTables(kv::db::Connection& db, kv::schema::Database database,
                         std::initializer_list<const char*> tables)
{
    const kv::schema::Schema& schema = kv::schema::Schema::standard();
    for (const char* name : tables) {
        const kv::schema::Table& table = *schema.table(database, QString::fromLatin1(name));
        db.exec(schema.createStatement(table, db.dialect()));
        for (const QString& index : schema.indexStatements(table))
            db.exec(index);
    }
}

// A benchmark's embedded SQLite database in a folder of its own, holding
// tables of the definition with their secondary indexes.
struct EmbeddedDatabase {
    QTemporaryDir folder;
    std::shared_ptr<kv::db::Connection> connection;

    EmbeddedDatabase(const QString& file, kv::schema::Database database, std::initializer_list<const char*> tables)
    {
        kv::db::ConnectionSettings settings;
        settings.database = folder.filePath(file);
        connection = kv::db::Connection::open(settings);
        createTables(*connection, database, tables);
    }
};

// A benchmark program's main: the data made by `prepare` before the first
// benchmark runs, and let go by `release` while the application object is
// still there (connections, the test server's databases).
inline int runBenchmarks(int argc, char** argv, const std::function<void()>& prepare,
                         const std::function<void()>& release = {})
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    prepare();
    benchmark::RunSpecifiedBenchmarks();
    if (release)
        release();
    benchmark::Shutdown();
    return 0;
}

} // namespace kv::bench
