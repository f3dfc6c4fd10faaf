#pragma once

#include "platform/db/DbError.h"
#include "platform/db/Params.h"
#include "platform/db/SqlDialect.h"

#include <QHash>
#include <QStringList>
#include <QString>
#include <QVariant>
#include <memory>
#include <vector>

namespace kv::db {

// How to reach one database: what an alias of the alias file resolves to.
struct ConnectionSettings {
    QString alias; // the name the configuration knows it by ("QXRGERAL", ...)
    Dialect dialect = Dialect::Sqlite;
    QString database; // SQLite file path, or PostgreSQL database name
    QString host; // PostgreSQL only
    int port = 5432; // PostgreSQL only
    QString user; // from the login's "USER NAME=" line where the driver uses it
    QString password; // from the login's "PASSWORD=" line
    // SQLite only: refuse a missing file instead of creating an empty one
    // (an installation's aliases always do, outside creating it).
    bool mustExist = false;
};

// Rows of an ad-hoc read ("scratch query"): small results read at once.
struct QueryResult {
    QStringList columns;
    std::vector<std::vector<QVariant>> rows;

    int columnIndex(const QString& name) const; // without regard to case; -1 when absent
    QVariant value(std::size_t row, const QString& column) const;
    bool isEmpty() const { return rows.empty(); }
};

class Transaction;
class NativeConnection;

// One open database connection. Opened from settings; a refused connection
// throws DbError naming the alias and carrying the driver's message.
// Text columns compare and sort without regard to case and accent-aware for
// Portuguese on both engines (the collation is installed on open).
class Connection {
public:
    static std::shared_ptr<Connection> open(const ConnectionSettings& settings);
    ~Connection();

    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    const ConnectionSettings& settings() const;
    QString alias() const { return settings().alias; }
    Dialect dialect() const { return settings().dialect; }

    // Runs one statement with bound parameters; returns the rows it changed.
    long long exec(const QString& sql, const Params& params = {});
    // Runs a statement that returns rows and reads them all.
    QueryResult query(const QString& sql, const Params& params = {});
    // First column of the first row, or an invalid QVariant when there is none.
    QVariant scalar(const QString& sql, const Params& params = {});

    bool tableExists(const QString& table);
    bool columnExists(const QString& table, const QString& column);
    // Every table and view with its columns in their order, keyed by the
    // upper-case name: one statement where a lookup per table would take two.
    QHash<QString, QStringList> tableColumns();

    // True while a Transaction object of this connection is alive.
    bool inTransaction() const;

    NativeConnection& native(); // the engine's own handle, for the database layer only

private:
    friend class Transaction;
    struct Impl;
    explicit Connection(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> d;
};

// How an outermost transaction starts on SQLite: Write (the default, since
// nearly every transaction here writes) takes the database's write lock at
// once (BEGIN IMMEDIATE), so another writer waits its turn before anything is
// read instead of being refused on its first write; Deferred is for reads.
enum class TransactionMode { Deferred, Write };

// One database transaction, rolled back unless committed before it ends.
class Transaction {
public:
    explicit Transaction(Connection& connection, TransactionMode mode = TransactionMode::Write);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit();
    void rollback();

private:
    Connection& m_connection;
    bool m_open = true;
};

} // namespace kv::db
