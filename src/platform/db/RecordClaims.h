#pragma once

#include "platform/db/Connection.h"

#include <QString>
#include <QVariant>

namespace kv::db {

// Claims on records being created (a new customer's number, a new article's
// code) so that two workstations never begin the same one. A claim is a row
// under a unique key in `RESERVAS`, written in its own short transaction as
// the number is accepted; it ends inside the transaction that stores the
// record, when the user gives the record up, or, for a workstation that
// stopped, at its next login.
class RecordClaims {
public:
    enum class Outcome {
        Claimed, // the record is this workstation's to create
        Stored, // a record with this key is already in the table
        HeldElsewhere, // another workstation is creating it
    };

    // `workstation` names who holds a claim (the login's computer name).
    RecordClaims(Connection& connection, QString workstation, QString user);

    // Claims `key` of `table`, whose key column is `column`: refused when the
    // table holds the record or another workstation claimed it first. A claim
    // this workstation already holds is kept.
    Outcome claim(const QString& table, const QString& column, const QVariant& key);

    // Ends this workstation's claim; inside the caller's transaction when one
    // is open (the record's save), in its own otherwise.
    void release(const QString& table, const QVariant& key);

    // The highest number stored in `column` plus one, passing over the
    // numbers other workstations hold: a proposal, claimed only when accepted.
    long long proposeNext(const QString& table, const QString& column);

    // Whether another workstation holds `key` of `table`.
    bool heldElsewhere(const QString& table, const QVariant& key);

    // Ends every claim of a workstation: its claims outlived a stop.
    static void releaseWorkstation(Connection& connection, const QString& workstation);

private:
    Connection& m_db;
    QString m_workstation;
    QString m_user;
};

} // namespace kv::db
