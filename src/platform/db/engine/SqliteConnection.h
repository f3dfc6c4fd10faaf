#pragma once

#include "platform/db/engine/NativeConnection.h"

#include <QCollator>
#include <map>

struct sqlite3;
struct sqlite3_stmt;

namespace kv::db {

// SQLite through its C API, on the handle QSQLITE opened. Registers the
// Portuguese case-insensitive text collation and keeps the statements it has
// prepared for reuse.
class SqliteConnection final : public NativeConnection {
public:
    SqliteConnection(sqlite3* handle, const QString& alias);
    ~SqliteConnection() override;

    Dialect dialect() const override { return Dialect::Sqlite; }
    sqlite3* handle() const { return m_db; }

    // Binds the values; texts are converted into `texts`, which must outlive the run.
    void bind(sqlite3_stmt* stmt, const std::vector<QVariant>& values, const NamedSql& sql,
              std::vector<QByteArray>& texts);
    [[noreturn]] void failLast(const QString& sql) const;

protected:
    bool readBlocksConnection() const override { return false; }
    long long doExec(const NamedSql& sql, const std::vector<QVariant>& values) override;
    QueryResult doQuery(const NamedSql& sql, const std::vector<QVariant>& values) override;
    std::unique_ptr<NativeStatement> doPrepare(const NamedSql& sql) override;
    std::unique_ptr<NativeCursor> doOpenCursor(const NamedSql& sql, const std::vector<QVariant>& values) override;

private:
    sqlite3_stmt* cached(const NamedSql& sql, bool& single);

    sqlite3* m_db;
    QCollator m_collator;
    std::map<QByteArray, sqlite3_stmt*> m_cache;
};

// The field type a declared column type stands for ("VARCHAR(40)" -> Text, 40).
FieldDef sqliteFieldDef(const char* name, const char* declaredType);

} // namespace kv::db
