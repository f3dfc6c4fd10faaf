#pragma once

#include "platform/db/Params.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>
#include <functional>
#include <vector>

namespace kv::db {

class Connection;

// The print queue of a kind of document: a per-user table with one row per
// document and named copy, which a print run fills, previews as the master
// rows of one report and empties again. A member names its table and its
// columns; its selection and its printed flag stay its own.
struct PrintQueueTable {
    QString table; // "ORCAMIMPR"
    QString document = QStringLiteral("ORCNRO");
    QString user = QStringLiteral("UTIL");
    QString copy = QStringLiteral("VIA"); // empty: one row per document, no copies
};

// A queue shared by kinds of document: the column every row of one kind
// carries with that kind's value (no column: a queue of one kind).
struct PrintQueueKind {
    QString column; // "TIPDOC"
    QVariant value;
};

struct PrintQueueRow {
    qint64 document = 0;
    QString copy;
};

class PrintQueue {
public:
    static constexpr int CopySlots = 8;

    PrintQueue(Connection& db, PrintQueueTable table, QString user, PrintQueueKind kind = {});

    // The copies of a run: the names of the ticked slots in slot order, each
    // name once; a slot without a name or left unticked gives none.
    static QStringList chosenCopies(const QStringList& names, const std::array<bool, CopySlots>& ticked);

    // Removes the user's rows (other users' rows are never touched).
    void empty();

    // One run, in one transaction: the user's queue emptied, then for each
    // document in order every copy queued (once, whatever was there) and
    // `mark` run on the same connection (the document's printed flag), with
    // `progress` after each document. A queue without copies queues each
    // document once and ignores `copies`. A database error rolls all of it back
    // and reaches the caller: no row queued, no document marked.
    void fill(const std::vector<qint64>& documents, const QStringList& copies,
              const std::function<void(Connection&, qint64 document)>& mark,
              const std::function<void(int done, int total, qint64 document)>& progress = {});

    // The user's rows of the documents from `from` to `to`, by document and,
    // within one document, in the order of `copies`.
    std::vector<PrintQueueRow> rows(qint64 from, qint64 to, const QStringList& copies) const;

private:
    Connection& m_db;
    PrintQueueTable m_table;
    QString m_user;
    PrintQueueKind m_kind;
};

} // namespace kv::db
