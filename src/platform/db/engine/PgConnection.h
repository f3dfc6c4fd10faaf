#pragma once

#include "platform/db/engine/NativeConnection.h"

typedef struct pg_conn PGconn;
typedef struct pg_result PGresult;

namespace kv::db {

// PostgreSQL through libpq, on the handle QPSQL opened. Datasets read through
// server-side cursors, so a large result never has to arrive whole before the
// first rows can be shown.
class PgConnection final : public NativeConnection {
public:
    PgConnection(PGconn* handle, const QString& alias);
    ~PgConnection() override;

    Dialect dialect() const override { return Dialect::Postgres; }
    PGconn* handle() const { return m_conn; }

    // Throws DbError unless the result has one of the good statuses; frees it then.
    void check(PGresult* result, const QString& sql, bool allowRows = true) const;
    int nextStatementNumber() { return ++m_statements; }

protected:
    bool readBlocksConnection() const override { return true; }
    long long doExec(const NamedSql& sql, const std::vector<QVariant>& values) override;
    QueryResult doQuery(const NamedSql& sql, const std::vector<QVariant>& values) override;
    std::unique_ptr<NativeStatement> doPrepare(const NamedSql& sql) override;
    std::unique_ptr<NativeCursor> doOpenCursor(const NamedSql& sql, const std::vector<QVariant>& values) override;

private:
    PGconn* m_conn;
    int m_statements = 0;
};

// A column's name as the layer reports it (see pgFieldDef).
QString pgColumnName(const QString& name);

// The field a result column stands for, from its type OID and modifier.
FieldDef pgFieldDef(const char* name, unsigned int typeOid, int typeModifier);

// Parameters in libpq's form: text for everything but bytes, which go binary.
struct PgParams {
    explicit PgParams(const std::vector<QVariant>& values);
    std::vector<QByteArray> storage;
    std::vector<const char*> values;
    std::vector<int> lengths;
    std::vector<int> formats;
    int count() const { return int(values.size()); }
};

} // namespace kv::db
