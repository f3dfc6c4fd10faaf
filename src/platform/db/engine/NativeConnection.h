#pragma once

#include "platform/db/Connection.h"
#include "platform/db/DbError.h"
#include "platform/db/FieldDef.h"
#include "platform/db/NamedSql.h"

#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace kv::db {

class RowStore;
class NativeConnection;

// A statement prepared once and run many times (the apply of cached updates).
class NativeStatement {
public:
    explicit NativeStatement(NativeConnection& connection) : m_connection(connection) {}
    virtual ~NativeStatement() = default;
    // Runs with the values of the placeholders in order; returns the rows changed.
    long long execute(const std::vector<QVariant>& values);

protected:
    virtual long long run(const std::vector<QVariant>& values) = 0;
    NativeConnection& m_connection;
};

// A read whose rows are taken from the engine a batch at a time.
class NativeCursor {
public:
    virtual ~NativeCursor() = default;
    const std::vector<FieldDef>& fields() const { return m_fields; }
    bool atEnd() const { return m_atEnd; }
    // Appends up to maxRows rows to the store; returns how many were appended.
    virtual int fetch(RowStore& store, int maxRows) = 0;

protected:
    std::vector<FieldDef> m_fields;
    bool m_atEnd = false;
};

// Whoever holds an unfinished cursor: asked to read the rest before another
// statement runs on the connection, so that statement cannot break the read
// (PostgreSQL allows one running statement per connection; SQLite would let a
// write change rows under an open read).
class PendingReader {
public:
    virtual void finishReading() = 0;

protected:
    ~PendingReader() = default;
};

// The engine's own API over the handle that QtSql opened. Values are bound,
// never pasted into the text.
class NativeConnection {
public:
    explicit NativeConnection(QString alias) : m_alias(std::move(alias)) {}
    virtual ~NativeConnection() = default;

    static std::unique_ptr<NativeConnection> create(Dialect dialect, const QVariant& handle, const QString& alias);

    virtual Dialect dialect() const = 0;
    const QString& alias() const { return m_alias; }

    long long exec(const NamedSql& sql, const std::vector<QVariant>& values);
    QueryResult query(const NamedSql& sql, const std::vector<QVariant>& values);
    std::unique_ptr<NativeStatement> prepare(const NamedSql& sql);
    std::unique_ptr<NativeCursor> openCursor(const NamedSql& sql, const std::vector<QVariant>& values);

    void addReader(PendingReader* reader);
    void removeReader(PendingReader* reader);
    void finishReaders();

    // A DbError in Portuguese for what the engine said; constraint violations
    // get their own kind so the update-error dialog and the callers can tell.
    [[noreturn]] void fail(DbError::Kind kind, const QString& driverText, const QString& sql) const;

protected:
    // True when a read in progress keeps any other statement from running.
    virtual bool readBlocksConnection() const = 0;
    virtual long long doExec(const NamedSql& sql, const std::vector<QVariant>& values) = 0;
    virtual QueryResult doQuery(const NamedSql& sql, const std::vector<QVariant>& values) = 0;
    virtual std::unique_ptr<NativeStatement> doPrepare(const NamedSql& sql) = 0;
    virtual std::unique_ptr<NativeCursor> doOpenCursor(const NamedSql& sql, const std::vector<QVariant>& values) = 0;

private:
    QString m_alias;
    std::vector<PendingReader*> m_readers;
};

// Null, or a date that is not valid: bound as NULL.
bool isNullValue(const QVariant& value);

// Text of a bound value as both engines read it: dates as "yyyy-MM-dd hh:mm:ss[.zzz]".
QByteArray boundText(const QVariant& value);

} // namespace kv::db
