#pragma once

#include "platform/db/DbError.h"
#include "platform/db/FieldDef.h"
#include "platform/db/Params.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace kv::db {

class Connection;
class Dataset;

enum class DatasetMode {
    ReadOnly, // only reads; edit/insert/delete refused
    Cached, // changes cached and applied through the update statements
    CachedWithoutUpdateObject // changes kept in the cache only, never written
};

enum class DatasetState { Inactive, Browse, Edit, Insert };

enum class UpdateKind { Modified, Inserted, Deleted };
enum class UpdateAction { Abort, Skip, Retry };

// Asked for each record the database refuses while changes are applied.
using UpdateErrorHandler = std::function<UpdateAction(Dataset&, const DbError&, UpdateKind)>;
// A record filter: true keeps the current row visible.
using RecordFilter = std::function<bool(const Dataset&)>;

enum LocateOption { LocateCaseInsensitive = 1, LocatePartialKey = 2 };

// The statements of an update object. Parameters `:COL` take the record's new
// values, `:OLD_COL` its values as read.
//
// Given a table instead (forTable), the dataset writes the statements itself,
// naming tables and columns as quoted identifiers: a new row inserts the
// fields that are columns of the table; a deleted row is found by its key as
// read; a changed row sets only the columns changed in the cache, and its
// row is found by the key as read and by the old values of those columns. A
// column another workstation changed meanwhile is therefore never put back
// silently: the record goes to the error handler as changed by another user
// (DbError::Kind::Changed), and Retry reads the row again, keeping the
// user's changes over it. Columns nobody changed are never written.
struct UpdateStatements {
    UpdateStatements() = default;
    UpdateStatements(QString insert, QString modify, QString remove)
        : insertSql(std::move(insert)), modifySql(std::move(modify)), deleteSql(std::move(remove))
    {
    }

    QString insertSql;
    QString modifySql;
    QString deleteSql;
    QString table;
    QStringList tableColumns; // the fields with these names are written; empty: every field
    QStringList keyColumns;

    static UpdateStatements forTable(const QString& table, const QStringList& columns, const QStringList& key)
    {
        UpdateStatements statements;
        statements.table = table;
        statements.tableColumns = columns;
        statements.keyColumns = key;
        return statements;
    }
    bool writesTable() const { return !table.isEmpty(); }
    bool isEmpty() const
    {
        return insertSql.isEmpty() && modifySql.isEmpty() && deleteSql.isEmpty() && table.isEmpty();
    }
};

// Read and write access to one column of the current row.
class Field {
public:
    Field(Dataset& dataset, int index) : m_dataset(&dataset), m_index(index) {}

    const FieldDef& def() const;
    QString name() const { return def().name; }
    FieldType type() const { return def().type; }
    int size() const { return def().size; }

    QVariant value() const;
    QVariant oldValue() const; // the value as read from the database (null for a new row)
    bool isNull() const;
    QString asString() const; // null gives ""
    long long asInt() const; // null gives 0
    double asFloat() const; // null gives 0.0
    QDateTime asDateTime() const;

    // Refused with DbError when the dataset is not in edit or insert state,
    // when a text is longer than the column or a number does not fit its type.
    void setValue(const QVariant& value);
    void clear();

private:
    Dataset* m_dataset;
    int m_index;
};

// A query with a client cache of its rows and cached updates: the stand-in for
// the data-aware query that every form and data module works with.
//
// Rows are fetched in batches as the cursor or a view needs them; asking for
// the record count or the last row fetches the rest. Pending changes (edits,
// inserts, deletions) stay in the cache until applyUpdates() writes them in
// one transaction, in the order they were made.
class Dataset : public QObject {
    Q_OBJECT
public:
    explicit Dataset(QString name = {}, QObject* parent = nullptr);
    ~Dataset() override;

    QString name() const { return m_name; }

    // --- configuration (while closed unless said otherwise) ---
    void setConnection(std::shared_ptr<Connection> connection);
    std::shared_ptr<Connection> connection() const;
    void setSql(const QString& sql); // refused while open
    QString sql() const;
    void setParam(const QString& name, const QVariant& value); // any time; used at next open
    QVariant param(const QString& name) const;
    const Params& params() const;
    void setMode(DatasetMode mode);
    DatasetMode mode() const;
    void setUpdateStatements(const UpdateStatements& statements);
    const UpdateStatements& updateStatements() const;
    void setErrorHandler(UpdateErrorHandler handler); // none: errors reach the caller
    bool hasErrorHandler() const;
    void setFilter(RecordFilter filter); // applied while filtered() is on
    void setFiltered(bool on); // re-evaluates every row
    bool filtered() const;
    // Detail of a master: before each open, and whenever the master's current
    // row changes, the detail's parameter of each pair takes the master field's
    // value and the detail reopens.
    void setMaster(Dataset* master, const std::vector<std::pair<QString, QString>>& paramFromField);
    // Adds a column filled by the program (not read, never written).
    void addCalculatedField(const QString& name, FieldType type);

    // --- open / close ---
    void open();
    void close();
    void refresh(); // close and open, keeping the cursor's key when possible
    bool isOpen() const;
    DatasetState state() const;

    // --- cursor ---
    bool first();
    bool prior();
    bool next();
    bool last();
    bool moveTo(int row); // 0-based visible row
    bool bof() const;
    bool eof() const;
    bool isEmpty() const;
    int currentRow() const; // 0-based, -1 when empty
    int recNo() const { return currentRow() + 1; }
    int recordCount(); // fetches every row
    int fetchedCount() const; // visible rows fetched so far
    bool canFetchMore() const;
    void fetchMore();

    // --- fields ---
    int fieldCount() const;
    const FieldDef& fieldDef(int index) const;
    int fieldIndex(const QString& name) const; // without regard to case; -1 when absent
    Field field(const QString& name); // throws DbError when absent
    Field field(int index) { return Field(*this, index); }
    QVariant value(const QString& name) const; // current row
    QVariant valueAt(int row, int column) const; // any fetched visible row, for views
    void setValue(const QString& name, const QVariant& value);

    // --- editing ---
    void edit();
    void insert(); // new row before the current one
    void append(); // new row at the end
    void post();
    void cancel(); // a new row disappears, an edited one gets its values back
    void deleteRecord(); // throws DbError on an empty dataset

    // --- locate ---
    bool locate(const QStringList& fields, const QVariantList& values, int options = 0);
    bool locate(const QString& field, const QVariant& value, int options = 0)
    {
        return locate(QStringList{field}, QVariantList{value}, options);
    }

    // --- cached updates ---
    bool hasPendingChanges() const;
    // Writes every pending change in one transaction. On a refused record the
    // error handler decides: Retry applies that record again, Skip leaves it
    // pending and goes on, Abort rolls back and keeps every pending change (and
    // throws DbError). Without a handler the error is thrown and nothing is
    // applied. After success the change cache is empty.
    void applyUpdates();
    void cancelUpdates();

Q_SIGNALS:
    void opened();
    void closed();
    void reset(); // rows replaced (open, refresh, filter)
    void rowsFetched(int first, int count); // visible rows appended by fetching
    void rowChanged(int row);
    void rowInserted(int row);
    void rowRemoved(int row);
    void currentChanged(int row);
    void stateChanged(kv::db::DatasetState state);

private:
    friend class Field;
    friend void applyTogether(const std::vector<Dataset*>& datasets, Dataset** refusedBy);
    // applyUpdates() in two steps: the writes (the caller's transaction
    // around them), then the cache forgets what was written.
    std::vector<bool> writePending();
    void settle(const std::vector<bool>& skipped);
    struct Impl;
    QString m_name;
    std::unique_ptr<Impl> d;
};

// Applies the pending changes of several datasets of one connection in one
// transaction, in the order given, each with its own error handling: when one
// of them is abandoned nothing of any is written and every change stays
// pending in its dataset. Throws DbError as applyUpdates() does;
// `refusedBy`, when given, gets the dataset whose apply was abandoned.
void applyTogether(const std::vector<Dataset*>& datasets, Dataset** refusedBy = nullptr);

} // namespace kv::db
