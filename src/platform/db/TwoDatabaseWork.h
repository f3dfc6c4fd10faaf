#pragma once

#include "platform/db/Connection.h"

#include <QDateTime>
#include <QHash>
#include <QString>
#include <QVariantMap>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

namespace kv::db {

// One operation that writes to two databases, as its pending record holds it.
// The second step and the compensation see only this: whatever the operation
// needs after its first step must be in `data`, since a later process that
// finishes the operation has nothing else.
struct TwoDatabaseOperation {
    QString id; // unique operation id
    QString kind; // the registered kind that finishes it
    QString description; // names the operation for the user ("Aprovação do orçamento 123")
    QVariantMap data; // stored as JSON: numbers come back as doubles, dates as ISO text
    QString user;
    QDateTime time;
};

// Thrown by a second step when a check of the second database refuses the
// operation for good; `reason` is Portuguese and reaches the user. Any other
// failure (a lost connection, a lock) leaves the operation pending for a
// later recovery.
class TwoDatabaseRefusal : public std::runtime_error {
public:
    explicit TwoDatabaseRefusal(const QString& reason);
    const QString& reason() const { return m_reason; }

private:
    QString m_reason;
};

// The roles of a company's databases, as kinds name them.
namespace role {
inline QString application() { return QStringLiteral("application"); }
inline QString invoicing() { return QStringLiteral("invoicing"); }
inline QString accounting() { return QStringLiteral("accounting"); }
} // namespace role

// A kind of operation: the databases it goes between (by role) and the
// functions that finish and undo it.
struct TwoDatabaseKind {
    QString name;
    QString first;
    QString second;
    // The second database's changes, inside the transaction that writes the
    // journal row. Throws TwoDatabaseRefusal when a check fails.
    std::function<void(Connection& second, const TwoDatabaseOperation& operation)> secondStep;
    // Undoes the first step's changes, inside the transaction that clears the
    // pending record.
    std::function<void(Connection& first, const TwoDatabaseOperation& operation, const QString& reason)> compensate;
    // Optional: the first database's changes that may only be made once the
    // second holds the operation, inside the transaction that clears the
    // pending record.
    std::function<void(Connection& first, const TwoDatabaseOperation& operation)> complete;
};

// The kinds a program knows. Each subsystem registers its own from its
// registration function, so that a recovery in a later process finds them.
class TwoDatabaseKinds {
public:
    void add(TwoDatabaseKind kind); // a kind of the same name is replaced
    const TwoDatabaseKind* find(const QString& name) const;

private:
    std::map<QString, TwoDatabaseKind> m_kinds;
};

// A company's databases by role.
using DatabasesByRole = QHash<QString, std::shared_ptr<Connection>>;

struct TwoDatabaseResult {
    enum class Status {
        Done, // both databases hold the operation
        Refused, // the second database refused it; the first step was undone
        Pending // not finished yet (`message` says why); a later recovery goes on
    };
    QString id;
    Status status = Status::Done;
    QString message; // for the user; empty when done
};

// Writes that span two databases, as one durable unit of work.
//
// Step 1 is one transaction in the first database: the caller's changes and a
// pending record (OPERPENDENTE) holding everything step 2 needs. Step 2 is
// one transaction in the second database: the kind's changes and a journal
// row (OPERDIARIO) keyed by the operation id, so a replay writes nothing
// twice. Step 3 clears the pending record. A refusal of step 2 is kept in the
// journal too, so no later step 2 can run, and the kind's compensation then
// undoes step 1 in one transaction.
//
// A process that dies anywhere leaves a pending record; `recover` finishes
// every one of the company's databases. Two workstations finishing the same
// operation at once finish it once: the journal's key admits one step 2
// (its transaction holds the write lock from its start on SQLite) and the
// compensation runs under a lock on the pending row.
class TwoDatabaseWork {
public:
    TwoDatabaseWork(const TwoDatabaseKinds& kinds, DatabasesByRole databases);

    // The first step's changes; returns the data step 2 needs.
    using FirstStep = std::function<QVariantMap(Connection& first)>;

    // Runs the three steps. A failure of step 1 throws (DbError, or what the
    // function threw) and leaves nothing behind; after it the outcome is the
    // result. Neither database may be inside a transaction.
    TwoDatabaseResult run(const QString& kind, const QString& description, const QString& user,
                          const FirstStep& firstStep);

    // Finishes every pending operation of the databases, whoever started it:
    // step 2 when its journal row is missing, the compensation when the
    // journal holds a refusal, step 3 otherwise. One result per operation;
    // one that fails does not stop the others.
    std::vector<TwoDatabaseResult> recover();

    // The messages of the results that need the user's attention.
    static QStringList messages(const std::vector<TwoDatabaseResult>& results);

private:
    TwoDatabaseResult finish(const TwoDatabaseOperation& operation, const TwoDatabaseKind& kind);
    Connection& database(const QString& role) const;

    const TwoDatabaseKinds& m_kinds;
    DatabasesByRole m_databases;
};

} // namespace kv::db
