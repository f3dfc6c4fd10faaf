#include "platform/db/Dataset.h"

#include "platform/db/Connection.h"
#include "platform/db/engine/NativeConnection.h"
#include "platform/db/engine/RowStore.h"
#include "platform/db/SqlDialect.h"

#include <QDateTime>
#include <algorithm>
#include <cmath>
#include <map>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace kv::db {

namespace {

// Row identities: rows read from the database are numbered from 0 as they are
// fetched; rows inserted by the program get negative numbers.
using RowId = int;

constexpr int FirstBatch = RowStore::BatchRows;

QVariant nullOf(FieldType type) { return RowStore::nullValue(type); }

[[noreturn]] void refuseValue(const FieldDef& def, const QString& text)
{
    throw DbError(DbError::Kind::ValueRange, text.arg(def.name));
}

// The value converted to the field's type; refused when it does not fit.
QVariant convertValue(const FieldDef& def, const QVariant& value)
{
    if (isNullValue(value) || !value.isValid())
        return nullOf(def.type);
    switch (def.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString text = value.metaType().id() == QMetaType::QDateTime
            ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
            : value.toString();
        if (def.type == FieldType::Text && def.size > 0 && text.size() > def.size)
            throw DbError(DbError::Kind::TextTooLong,
                          QStringLiteral("O texto do campo «%1» tem %2 caracteres e o campo aceita no máximo %3.")
                              .arg(def.name).arg(text.size()).arg(def.size));
        return QVariant(text);
    }
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: {
        qlonglong v = 0;
        bool ok = false;
        const int id = value.metaType().id();
        if (id == QMetaType::Double || id == QMetaType::Float) {
            const double d = value.toDouble();
            ok = std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.2e18;
            v = ok ? qlonglong(d) : 0;
        } else if (id == QMetaType::QString || id == QMetaType::QByteArray) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return nullOf(def.type);
            v = text.toLongLong(&ok);
        } else {
            v = value.toLongLong(&ok);
        }
        if (!ok)
            refuseValue(def, QStringLiteral("«%2» não é um número inteiro válido para o campo «%1».")
                                 .arg(QStringLiteral("%1"), value.toString()));
        qlonglong low = std::numeric_limits<qlonglong>::min(), high = std::numeric_limits<qlonglong>::max();
        if (def.type == FieldType::Int16) {
            low = -32768;
            high = 32767;
        } else if (def.type == FieldType::Int32) {
            low = std::numeric_limits<int>::min();
            high = std::numeric_limits<int>::max();
        }
        if (v < low || v > high)
            throw DbError(DbError::Kind::ValueRange,
                          QStringLiteral("O valor %1 está fora dos limites do campo «%2» (%3 a %4).")
                              .arg(v).arg(def.name).arg(low).arg(high));
        return def.type == FieldType::Int64 ? QVariant(v) : QVariant(int(v));
    }
    case FieldType::Float: {
        bool ok = false;
        double v;
        if (value.metaType().id() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return nullOf(def.type);
            v = text.toDouble(&ok);
            if (!ok)
                v = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        } else {
            v = value.toDouble(&ok);
        }
        if (!ok || !std::isfinite(v))
            refuseValue(def, QStringLiteral("«%2» não é um número válido para o campo «%1».")
                                 .arg(QStringLiteral("%1"), value.toString()));
        return QVariant(v);
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (value.metaType().id() == QMetaType::QDate)
            dt = value.toDate().startOfDay();
        else if (value.metaType().id() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return nullOf(def.type);
            qint64 jd = 0;
            int ms = 0;
            const QByteArray utf8 = text.toUtf8();
            if (RowStore::parseDateTime(utf8.constData(), std::size_t(utf8.size()), jd, ms))
                dt = RowStore::dateTimeValue(jd, ms).toDateTime();
        } else
            dt = value.toDateTime();
        if (!dt.isValid())
            refuseValue(def, QStringLiteral("«%2» não é uma data válida para o campo «%1».")
                                 .arg(QStringLiteral("%1"), value.toString()));
        return QVariant(dt);
    }
    case FieldType::Blob:
        return QVariant(value.toByteArray());
    }
    return value;
}

bool sameValue(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

enum class OldSource { Store, Null, Own };

struct Overlay {
    std::vector<QVariant> current;
    std::vector<QVariant> old;  // used when source is Own
    OldSource source = OldSource::Store;
    bool pending = false;       // has an entry in the change log
    UpdateKind kind = UpdateKind::Modified;
};

} // namespace

struct Dataset::Impl final : PendingReader {
    Dataset* q;
    std::shared_ptr<Connection> connection;
    QString sql;
    Params params;
    DatasetMode mode = DatasetMode::Cached;
    UpdateStatements updates;
    UpdateErrorHandler handler;
    RecordFilter filter;
    bool filtered = false;
    Dataset* master = nullptr;
    std::vector<std::pair<QString, QString>> masterLinks;
    std::vector<Dataset*> details;
    std::vector<FieldDef> calculatedDefs;

    // open state
    bool open = false;
    DatasetState state = DatasetState::Inactive;
    std::vector<FieldDef> fields; // data fields, then the calculated ones
    int dataCount = 0;
    RowStore store;
    std::unique_ptr<NativeCursor> cursor;
    std::vector<RowId> physical; // every row in order, once rows were inserted or removed
    bool physicalMaterialized = false;
    std::vector<RowId> visible;  // the rows shown, while some are hidden
    bool visibleIdentity = true;
    std::unordered_map<RowId, Overlay> overlay;
    std::unordered_map<RowId, std::vector<QVariant>> calculated;
    std::unordered_set<RowId> deleted; // pending deletions (hidden)
    std::vector<RowId> log;            // pending changes, in the order made
    int insertedCount = 0;
    int current = -1;
    bool bof = true;
    bool eof = true;
    std::vector<QVariant> buffer; // the record being edited or inserted
    RowId editing = 0;
    std::optional<RowId> focus;   // the row a filter or the error handler looks at

    explicit Impl(Dataset* owner) : q(owner) {}

    // --- rows ---
    int physicalCount() const { return physicalMaterialized ? int(physical.size()) : store.size(); }
    RowId physicalAt(int i) const { return physicalMaterialized ? physical[std::size_t(i)] : i; }
    int visibleCount() const { return visibleIdentity ? physicalCount() : int(visible.size()); }
    RowId idAt(int row) const { return visibleIdentity ? physicalAt(row) : visible[std::size_t(row)]; }
    bool filterActive() const { return filtered && filter; }

    void materializePhysical()
    {
        if (physicalMaterialized)
            return;
        physical.resize(std::size_t(store.size()));
        std::iota(physical.begin(), physical.end(), 0);
        physicalMaterialized = true;
    }

    bool passes(RowId id)
    {
        if (!filterActive())
            return true;
        const auto saved = focus;
        focus = id;
        bool ok = false;
        try {
            ok = filter(*q);
        } catch (...) {
            focus = saved;
            throw;
        }
        focus = saved;
        return ok;
    }

    void rebuildVisible()
    {
        visible.clear();
        visibleIdentity = !filterActive() && deleted.empty();
        if (visibleIdentity)
            return;
        const int n = physicalCount();
        visible.reserve(std::size_t(n));
        for (int i = 0; i < n; ++i) {
            const RowId id = physicalAt(i);
            if (!deleted.count(id) && passes(id))
                visible.push_back(id);
        }
    }

    void makeVisibleExplicit()
    {
        if (!visibleIdentity)
            return;
        visible.resize(std::size_t(physicalCount()));
        for (int i = 0; i < int(visible.size()); ++i)
            visible[std::size_t(i)] = physicalAt(i);
        visibleIdentity = false;
    }

    int physicalIndexOf(RowId id) const
    {
        if (!physicalMaterialized)
            return id;
        return int(std::find(physical.begin(), physical.end(), id) - physical.begin());
    }

    // --- values ---
    QVariant rowValue(RowId id, int column) const
    {
        if (column >= dataCount) {
            const auto it = calculated.find(id);
            return it == calculated.end() ? nullOf(fields[std::size_t(column)].type)
                                          : it->second[std::size_t(column - dataCount)];
        }
        if (!overlay.empty()) {
            const auto it = overlay.find(id);
            if (it != overlay.end())
                return it->second.current[std::size_t(column)];
        }
        return store.value(id, column);
    }

    // The stored row whose cell the current value is, when it comes straight
    // from the row cache (no edit, no pending change): numbers are then read
    // without a QVariant.
    bool storedCell(int column, RowId& id) const
    {
        if (focus || column < 0 || column >= dataCount || current < 0 || state != DatasetState::Browse)
            return false;
        id = idAt(current);
        return id >= 0 && (overlay.empty() || !overlay.count(id));
    }

    QVariant rowOldValue(RowId id, int column) const
    {
        if (column >= dataCount)
            return nullOf(fields[std::size_t(column)].type);
        const auto it = overlay.find(id);
        if (it == overlay.end() || it->second.source == OldSource::Store)
            return id >= 0 ? store.value(id, column) : nullOf(fields[std::size_t(column)].type);
        if (it->second.source == OldSource::Null)
            return nullOf(fields[std::size_t(column)].type);
        return it->second.old[std::size_t(column)];
    }

    std::vector<QVariant> rowValues(RowId id) const
    {
        std::vector<QVariant> out;
        out.reserve(std::size_t(dataCount));
        for (int c = 0; c < dataCount; ++c)
            out.push_back(rowValue(id, c));
        return out;
    }

    bool editingRow() const
    {
        return (state == DatasetState::Edit || state == DatasetState::Insert) && !focus;
    }

    QVariant value(int column) const
    {
        if (focus)
            return rowValue(*focus, column);
        if (editingRow() && column < dataCount)
            return buffer[std::size_t(column)];
        if (current < 0)
            return column < int(fields.size()) ? nullOf(fields[std::size_t(column)].type) : QVariant();
        return rowValue(idAt(current), column);
    }

    QVariant oldValue(int column) const
    {
        if (focus)
            return rowOldValue(*focus, column);
        if (current < 0)
            return nullOf(fields[std::size_t(column)].type);
        return rowOldValue(idAt(current), column);
    }

    // --- fetching ---
    void dropCursor()
    {
        if (cursor) {
            cursor.reset();
            connection->native().removeReader(this);
        }
    }

    int fetchBatch(int rows)
    {
        if (!cursor)
            return 0;
        const int before = store.size();
        const int visibleBefore = visibleCount();
        int n = 0;
        try {
            n = cursor->fetch(store, rows);
        } catch (...) {
            dropCursor();
            throw;
        }
        if (cursor->atEnd())
            dropCursor();
        for (RowId id = before; id < store.size(); ++id) {
            if (physicalMaterialized)
                physical.push_back(id);
            if (!visibleIdentity && passes(id))
                visible.push_back(id);
        }
        const int added = visibleCount() - visibleBefore;
        if (added > 0)
            Q_EMIT q->rowsFetched(visibleBefore, added);
        return n;
    }

    void fetchAll()
    {
        while (cursor)
            fetchBatch(RowStore::BatchRows * 16);
    }

    // Fetches until the visible row exists or nothing is left.
    bool ensureRow(int row)
    {
        while (row >= visibleCount() && cursor)
            fetchBatch(RowStore::BatchRows);
        return row >= 0 && row < visibleCount();
    }

    void finishReading() override
    {
        // The connection already forgot this reader; read the rest now.
        while (cursor) {
            const int visibleBefore = visibleCount();
            const int before = store.size();
            try {
                cursor->fetch(store, std::numeric_limits<int>::max());
            } catch (...) {
                cursor.reset();
                throw;
            }
            cursor.reset();
            for (RowId id = before; id < store.size(); ++id) {
                if (physicalMaterialized)
                    physical.push_back(id);
                if (!visibleIdentity && passes(id))
                    visible.push_back(id);
            }
            if (visibleCount() > visibleBefore)
                Q_EMIT q->rowsFetched(visibleBefore, visibleCount() - visibleBefore);
        }
    }

    // --- cursor ---
    void setCurrent(int row)
    {
        current = row;
        Q_EMIT q->currentChanged(row);
        if (!details.empty())
            for (Dataset* detail : std::vector<Dataset*>(details))
                detail->d->followMaster();
    }

    void setState(DatasetState s)
    {
        if (state == s)
            return;
        state = s;
        Q_EMIT q->stateChanged(s);
    }

    // --- master-detail ---
    Params masterParams() const
    {
        Params out;
        const bool has = master && master->isOpen() && !master->isEmpty();
        for (const auto& [param, field] : masterLinks)
            out.set(param, has ? master->value(field) : QVariant());
        return out;
    }

    void followMaster()
    {
        if (!master)
            return;
        const Params next = masterParams();
        bool changed = false;
        for (const QString& name : next.names()) {
            if (!sameValue(params.value(name), next.value(name)) || !params.contains(name))
                changed = true;
            params.set(name, next.value(name));
        }
        if (open && changed) {
            q->close();
            q->open();
        }
    }

    // --- checks ---
    void requireOpen() const
    {
        if (!open)
            throw DbError(DbError::Kind::State,
                          QStringLiteral("O conjunto de dados «%1» não está aberto.").arg(q->name()));
    }

    void requireWritable() const
    {
        requireOpen();
        if (mode == DatasetMode::ReadOnly)
            throw DbError(DbError::Kind::State,
                          QStringLiteral("O conjunto de dados «%1» é só de leitura.").arg(q->name()));
    }

    void requireClosed(const char* what) const
    {
        if (open)
            throw DbError(DbError::Kind::State,
                          QStringLiteral("Não se pode mudar %1 do conjunto de dados «%2» enquanto está aberto.")
                              .arg(QLatin1String(what), q->name()));
    }

    // --- editing ---
    Overlay& overlayFor(RowId id)
    {
        auto it = overlay.find(id);
        if (it != overlay.end())
            return it->second;
        std::vector<QVariant> values = rowValues(id);
        Overlay& o = overlay[id];
        o.current = std::move(values);
        o.source = OldSource::Store;
        return o;
    }

    // A new empty row at the visible row and physical position given, in insert state.
    void startInsert(int row, int physicalIndex)
    {
        const RowId id = -(++insertedCount);
        physical.insert(physical.begin() + physicalIndex, id);
        if (!visibleIdentity)
            visible.insert(visible.begin() + row, id);
        Overlay& o = overlay[id];
        for (int c = 0; c < dataCount; ++c)
            o.current.push_back(nullOf(fields[std::size_t(c)].type));
        o.source = OldSource::Null;
        buffer = o.current;
        editing = id;
        state = DatasetState::Insert;
        Q_EMIT q->rowInserted(row);
        bof = eof = false;
        setCurrent(row);
        Q_EMIT q->stateChanged(DatasetState::Insert);
    }

    void removeFromLog(RowId id)
    {
        log.erase(std::remove(log.begin(), log.end(), id), log.end());
    }

    void removeRow(RowId id)
    {
        if (physicalMaterialized)
            physical.erase(std::remove(physical.begin(), physical.end(), id), physical.end());
        if (!visibleIdentity)
            visible.erase(std::remove(visible.begin(), visible.end(), id), visible.end());
        overlay.erase(id);
        calculated.erase(id);
    }

    // The values of a statement's parameters for one record: ":COL" the new
    // value, ":OLD_COL" the value as read, other names from the dataset's parameters.
    struct Binder {
        NamedSql sql;
        std::vector<std::pair<int, bool>> sources; // column (or -1), old value?
    };

    Binder makeBinder(const QString& text) const
    {
        Binder b{NamedSql(text, connection->dialect()), {}};
        for (const QString& name : b.sql.names()) {
            int column = q->fieldIndex(name);
            bool old = false;
            if (column < 0 && name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive)) {
                column = q->fieldIndex(name.mid(4));
                old = true;
            }
            if (column >= dataCount)
                column = -1;
            if (column < 0 && !params.contains(name))
                throw DbError(DbError::Kind::Statement,
                              QStringLiteral("O parâmetro «%1» da instrução de actualização de «%2» não "
                                             "corresponde a nenhum campo.").arg(name, q->name()),
                              text);
            b.sources.emplace_back(column, old);
        }
        return b;
    }

    // --- statements written from the table's name, columns and key ---
    std::vector<int> tableFieldIndexes() const
    {
        std::vector<int> out;
        for (int c = 0; c < dataCount; ++c)
            if (updates.tableColumns.isEmpty()
                || updates.tableColumns.contains(fields[std::size_t(c)].name, Qt::CaseInsensitive))
                out.push_back(c);
        return out;
    }

    std::vector<int> keyFieldIndexes() const
    {
        std::vector<int> out;
        for (const QString& key : updates.keyColumns) {
            const int c = q->fieldIndex(key);
            if (c < 0 || c >= dataCount)
                throw DbError(DbError::Kind::Statement,
                              QStringLiteral("O conjunto de dados «%1» não tem o campo «%2» da chave da tabela %3.")
                                  .arg(q->name(), key, updates.table));
            out.push_back(c);
        }
        if (out.empty())
            throw DbError(DbError::Kind::Statement,
                          QStringLiteral("A tabela %1 não tem chave: o conjunto de dados «%2» não pode gravar "
                                         "alterações.").arg(updates.table, q->name()));
        return out;
    }

    // The table's columns whose value in the cache differs from the value read.
    std::vector<int> changedColumns(RowId id) const
    {
        std::vector<int> out;
        const Overlay& o = overlay.at(id);
        for (int c : tableFieldIndexes())
            if (!sameValue(o.current[std::size_t(c)], rowOldValue(id, c)))
                out.push_back(c);
        return out;
    }

    // "The column still holds the value read", NULL included, compared
    // exactly: letter case counts, and a date compares as a moment whatever
    // text SQLite keeps it as.
    QString stillHolds(int column, const QString& param) const
    {
        const Dialect dialect = connection->dialect();
        const QString name = sql::identifier(dialect, fields[std::size_t(column)].name);
        const FieldType type = fields[std::size_t(column)].type;
        if (dialect == Dialect::Sqlite) {
            if (type == FieldType::DateTime)
                return QStringLiteral("julianday(%1) IS julianday(%2)").arg(name, param);
            if (type == FieldType::Text || type == FieldType::Memo)
                return QStringLiteral("%1 IS %2 COLLATE BINARY").arg(name, param);
            return QStringLiteral("%1 IS %2").arg(name, param);
        }
        if (type == FieldType::Text || type == FieldType::Memo)
            return QStringLiteral("(%1 COLLATE \"C\") IS NOT DISTINCT FROM %2").arg(name, param);
        return QStringLiteral("%1 IS NOT DISTINCT FROM %2").arg(name, param);
    }

    Binder tableStatement(UpdateKind kind, const std::vector<int>& changed) const
    {
        const Dialect dialect = connection->dialect();
        Binder b;
        auto name = [&](int c) { return sql::identifier(dialect, fields[std::size_t(c)].name); };
        auto param = [&](int c, bool old) {
            b.sources.emplace_back(c, old);
            return QStringLiteral(":V%1").arg(b.sources.size());
        };
        const QString table = sql::identifier(dialect, updates.table);
        QString text;
        if (kind == UpdateKind::Inserted) {
            QStringList columns, values;
            for (int c : tableFieldIndexes()) {
                columns << name(c);
                values << param(c, false);
            }
            text = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                       .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")));
        } else {
            // Parameters are numbered in the order they appear in the text.
            QStringList sets;
            for (int c : changed)
                sets << name(c) + QStringLiteral(" = ") + param(c, false);
            QStringList conditions;
            const std::vector<int> key = keyFieldIndexes();
            for (int c : key)
                conditions << name(c) + QStringLiteral(" = ") + param(c, true);
            for (int c : changed)
                if (std::find(key.begin(), key.end(), c) == key.end())
                    conditions << stillHolds(c, param(c, true));
            const QString where = conditions.join(QStringLiteral(" AND "));
            text = kind == UpdateKind::Modified
                ? QStringLiteral("UPDATE %1 SET %2 WHERE %3").arg(table, sets.join(QStringLiteral(", ")), where)
                : QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, where);
        }
        b.sql = NamedSql(text, dialect);
        return b;
    }

    // The table's row of a record, found by its key as read; empty when gone.
    std::optional<std::vector<QVariant>> readRow(RowId id) const
    {
        const Dialect dialect = connection->dialect();
        const std::vector<int> columns = tableFieldIndexes();
        QStringList names;
        for (int c : columns)
            names << sql::identifier(dialect, fields[std::size_t(c)].name);
        QStringList conditions;
        Params keyValues;
        int n = 0;
        for (int c : keyFieldIndexes()) {
            const QString param = QStringLiteral("K%1").arg(++n);
            conditions << QStringLiteral("%1 = :%2").arg(sql::identifier(dialect, fields[std::size_t(c)].name), param);
            keyValues.set(param, rowOldValue(id, c));
        }
        const QueryResult result = connection->query(
            QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                .arg(names.join(QStringLiteral(", ")), sql::identifier(dialect, updates.table),
                     conditions.join(QStringLiteral(" AND "))),
            keyValues);
        if (result.rows.empty())
            return std::nullopt;
        std::vector<QVariant> row = rowValues(id);
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const int c = columns[i];
            try {
                row[std::size_t(c)] = convertValue(fields[std::size_t(c)], result.rows.front()[i]);
            } catch (const DbError&) {
                row[std::size_t(c)] = nullOf(fields[std::size_t(c)].type);
            }
        }
        return row;
    }

    // The record's row as another user left it, with this user's changes
    // over it: what a retry after a conflict writes.
    void rereadRow(RowId id)
    {
        const auto fresh = readRow(id);
        if (!fresh)
            return; // gone: the retry reports it
        const std::vector<int> mine = changedColumns(id);
        Overlay& o = overlay.at(id);
        std::vector<QVariant> read;
        for (int c = 0; c < dataCount; ++c)
            read.push_back(rowOldValue(id, c));
        for (int c : tableFieldIndexes()) {
            read[std::size_t(c)] = (*fresh)[std::size_t(c)];
            if (std::find(mine.begin(), mine.end(), c) == mine.end())
                o.current[std::size_t(c)] = (*fresh)[std::size_t(c)];
        }
        o.old = std::move(read);
        o.source = OldSource::Own;
        for (int row = 0; row < visibleCount(); ++row)
            if (idAt(row) == id) {
                Q_EMIT q->rowChanged(row);
                break;
            }
    }

    void bindValues(const Binder& b, RowId id, std::vector<QVariant>& values) const
    {
        values.clear();
        // Every row with a pending change has its overlay: one lookup per record.
        const auto it = overlay.find(id);
        const Overlay* o = it == overlay.end() ? nullptr : &it->second;
        for (std::size_t i = 0; i < b.sources.size(); ++i) {
            const auto [column, old] = b.sources[i];
            if (column < 0)
                values.push_back(params.value(b.sql.names()[qsizetype(i)]));
            else if (!o)
                values.push_back(store.value(id, column));
            else if (!old)
                values.push_back(o->current[std::size_t(column)]);
            else if (o->source == OldSource::Own)
                values.push_back(o->old[std::size_t(column)]);
            else if (o->source == OldSource::Null || id < 0)
                values.push_back(nullOf(fields[std::size_t(column)].type));
            else
                values.push_back(store.value(id, column));
        }
    }
};

// ------------------------------------------------------------------ Field

const FieldDef& Field::def() const { return m_dataset->fieldDef(m_index); }

QVariant Field::value() const
{
    m_dataset->d->requireOpen();
    if (m_index < 0 || m_index >= int(m_dataset->d->fields.size()))
        def(); // refuses the index
    return m_dataset->d->value(m_index);
}

QVariant Field::oldValue() const
{
    m_dataset->d->requireOpen();
    def();
    return m_dataset->d->oldValue(m_index);
}

bool Field::isNull() const
{
    const auto& d = *m_dataset->d;
    RowId id = 0;
    if (d.open && d.storedCell(m_index, id))
        return d.store.isNull(id, m_index);
    return value().isNull();
}

QString Field::asString() const
{
    const auto& d = *m_dataset->d;
    RowId id = 0;
    const FieldType t = m_index >= 0 && m_index < int(d.fields.size()) ? d.fields[std::size_t(m_index)].type
                                                                       : FieldType::Blob;
    if (d.open && (t == FieldType::Text || t == FieldType::Memo) && d.storedCell(m_index, id))
        return d.store.textValue(id, m_index);
    const QVariant v = value();
    if (v.isNull())
        return {};
    if (type() == FieldType::DateTime)
        return v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
    return v.toString();
}

long long Field::asInt() const
{
    const auto& d = *m_dataset->d;
    RowId id = 0;
    if (d.open && d.storedCell(m_index, id) && isNumericType(d.fields[std::size_t(m_index)].type))
        return d.store.intValue(id, m_index);
    return value().toLongLong();
}

double Field::asFloat() const
{
    const auto& d = *m_dataset->d;
    RowId id = 0;
    if (d.open && d.storedCell(m_index, id) && isNumericType(d.fields[std::size_t(m_index)].type))
        return d.store.floatValue(id, m_index);
    return value().toDouble();
}
QDateTime Field::asDateTime() const
{
    const auto& d = *m_dataset->d;
    RowId id = 0;
    if (d.open && d.storedCell(m_index, id) && d.fields[std::size_t(m_index)].type == FieldType::DateTime)
        return d.store.dateTimeAt(id, m_index);
    return value().toDateTime();
}

void Field::setValue(const QVariant& value)
{
    auto& d = *m_dataset->d;
    d.requireOpen();
    const FieldDef& fd = def();
    const QVariant converted = convertValue(fd, value);
    const int row = d.current;
    if (fd.calculated) {
        if (row < 0 && !d.focus)
            throw DbError(DbError::Kind::State,
                          QStringLiteral("O conjunto de dados «%1» não tem registo actual.").arg(m_dataset->name()));
        const RowId id = d.focus ? *d.focus : d.idAt(row);
        auto& values = d.calculated[id];
        if (values.empty())
            for (std::size_t i = d.dataCount; i < d.fields.size(); ++i)
                values.push_back(nullOf(d.fields[i].type));
        values[std::size_t(m_index - d.dataCount)] = converted;
    } else {
        if (!d.editingRow())
            throw DbError(DbError::Kind::State,
                          QStringLiteral("O conjunto de dados «%1» não está em edição nem em inserção.")
                              .arg(m_dataset->name()));
        d.buffer[std::size_t(m_index)] = converted;
    }
    if (row >= 0)
        Q_EMIT m_dataset->rowChanged(row);
}

void Field::clear() { setValue(QVariant()); }

// ------------------------------------------------------------------ Dataset

Dataset::Dataset(QString name, QObject* parent)
    : QObject(parent), m_name(std::move(name)), d(std::make_unique<Impl>(this))
{
    setObjectName(m_name);
}

Dataset::~Dataset()
{
    blockSignals(true); // whoever listens may already be gone
    try {
        close();
    } catch (...) {
    }
    if (d->master) {
        auto& siblings = d->master->d->details;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    for (Dataset* detail : d->details)
        detail->d->master = nullptr;
}

void Dataset::setConnection(std::shared_ptr<Connection> connection)
{
    d->requireClosed("a ligação");
    d->connection = std::move(connection);
}
std::shared_ptr<Connection> Dataset::connection() const { return d->connection; }

void Dataset::setSql(const QString& sql)
{
    d->requireClosed("a instrução");
    d->sql = sql;
}
QString Dataset::sql() const { return d->sql; }

void Dataset::setParam(const QString& name, const QVariant& value) { d->params.set(name, value); }
QVariant Dataset::param(const QString& name) const { return d->params.value(name); }
const Params& Dataset::params() const { return d->params; }

void Dataset::setMode(DatasetMode mode)
{
    d->requireClosed("o modo");
    d->mode = mode;
}
DatasetMode Dataset::mode() const { return d->mode; }

void Dataset::setUpdateStatements(const UpdateStatements& statements) { d->updates = statements; }
const UpdateStatements& Dataset::updateStatements() const { return d->updates; }
void Dataset::setErrorHandler(UpdateErrorHandler handler) { d->handler = std::move(handler); }
bool Dataset::hasErrorHandler() const { return bool(d->handler); }

void Dataset::setFilter(RecordFilter filter)
{
    d->filter = std::move(filter);
    if (d->open && d->filtered)
        setFiltered(true);
}

void Dataset::setFiltered(bool on)
{
    d->filtered = on;
    if (!d->open)
        return;
    if (d->state != DatasetState::Browse)
        post();
    d->rebuildVisible();
    d->ensureRow(0);
    Q_EMIT reset();
    d->bof = true;
    d->eof = d->visibleCount() == 0;
    d->setCurrent(d->visibleCount() > 0 ? 0 : -1);
}
bool Dataset::filtered() const { return d->filtered; }

void Dataset::setMaster(Dataset* master, const std::vector<std::pair<QString, QString>>& paramFromField)
{
    if (d->master) {
        auto& siblings = d->master->d->details;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    d->master = master;
    d->masterLinks = paramFromField;
    if (master)
        master->d->details.push_back(this);
}

void Dataset::addCalculatedField(const QString& name, FieldType type)
{
    d->requireClosed("os campos");
    FieldDef def;
    def.name = name;
    def.type = type;
    def.calculated = true;
    d->calculatedDefs.push_back(def);
}

void Dataset::open()
{
    if (d->open)
        return;
    if (!d->connection)
        throw DbError(DbError::Kind::State, QStringLiteral("O conjunto de dados «%1» não tem ligação.").arg(m_name));
    if (d->sql.trimmed().isEmpty())
        throw DbError(DbError::Kind::State, QStringLiteral("O conjunto de dados «%1» não tem instrução.").arg(m_name));
    if (d->master) {
        const Params linked = d->masterParams();
        for (const QString& name : linked.names())
            d->params.set(name, linked.value(name));
    }
    const NamedSql named(d->sql, d->connection->dialect());
    NativeConnection& native = d->connection->native();
    d->cursor = native.openCursor(named, named.bind(d->params));
    d->fields = d->cursor->fields();
    d->dataCount = int(d->fields.size());
    for (const FieldDef& def : d->calculatedDefs)
        d->fields.push_back(def);
    std::vector<FieldType> types;
    for (int i = 0; i < d->dataCount; ++i)
        types.push_back(d->fields[std::size_t(i)].type);
    d->store.reset(std::move(types));
    d->physical.clear();
    d->physicalMaterialized = false;
    d->visible.clear();
    d->visibleIdentity = true;
    d->overlay.clear();
    d->calculated.clear();
    d->deleted.clear();
    d->log.clear();
    d->insertedCount = 0;
    if (d->cursor->atEnd())
        d->dropCursor();
    else
        native.addReader(d.get());
    d->open = true;
    d->state = DatasetState::Browse;
    d->rebuildVisible();
    try {
        while (d->cursor && d->visibleCount() == 0)
            d->fetchBatch(FirstBatch);
        if (d->store.size() == 0 && d->cursor)
            d->fetchBatch(FirstBatch);
    } catch (...) {
        close();
        throw;
    }
    d->bof = true;
    d->eof = d->visibleCount() == 0;
    Q_EMIT opened();
    Q_EMIT reset();
    Q_EMIT stateChanged(DatasetState::Browse);
    d->setCurrent(d->visibleCount() > 0 ? 0 : -1);
}

void Dataset::close()
{
    if (!d->open)
        return;
    d->dropCursor();
    d->open = false;
    d->store.clear();
    d->physical.clear();
    d->physical.shrink_to_fit();
    d->visible.clear();
    d->visible.shrink_to_fit();
    d->overlay.clear();
    d->calculated.clear();
    d->deleted.clear();
    d->log.clear();
    d->buffer.clear();
    d->current = -1;
    d->bof = d->eof = true;
    d->state = DatasetState::Inactive;
    Q_EMIT closed();
    Q_EMIT reset();
    Q_EMIT stateChanged(DatasetState::Inactive);
    Q_EMIT currentChanged(-1);
    for (Dataset* detail : std::vector<Dataset*>(d->details))
        detail->d->followMaster();
}

void Dataset::refresh()
{
    QVariant key;
    int row = d->current;
    if (d->open && d->current >= 0 && d->dataCount > 0)
        key = value(d->fields.front().name);
    close();
    open();
    if (key.isValid() && !key.isNull() && locate(d->fields.front().name, key))
        return;
    if (row >= 0 && !isEmpty())
        moveTo(std::min(row, std::max(0, recordCount() - 1)));
}

bool Dataset::isOpen() const { return d->open; }
DatasetState Dataset::state() const { return d->state; }

bool Dataset::first()
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    const bool any = d->ensureRow(0);
    d->bof = true;
    d->eof = !any;
    d->setCurrent(any ? 0 : -1);
    return any;
}

bool Dataset::prior()
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    if (d->current <= 0) {
        d->bof = true;
        return false;
    }
    d->eof = false;
    d->bof = false;
    d->setCurrent(d->current - 1);
    return true;
}

bool Dataset::next()
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    if (d->current < 0 || !d->ensureRow(d->current + 1)) {
        d->eof = true;
        return false;
    }
    d->bof = false;
    d->eof = false;
    d->setCurrent(d->current + 1);
    return true;
}

bool Dataset::last()
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    d->fetchAll();
    const int count = d->visibleCount();
    d->eof = true;
    d->bof = count == 0;
    d->setCurrent(count - 1);
    return count > 0;
}

bool Dataset::moveTo(int row)
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    if (!d->ensureRow(row))
        return false;
    d->bof = row == 0;
    d->eof = false;
    d->setCurrent(row);
    return true;
}

bool Dataset::bof() const { return d->bof; }
bool Dataset::eof() const { return d->eof; }
bool Dataset::isEmpty() const { return !d->open || d->visibleCount() == 0; }
int Dataset::currentRow() const { return d->current; }

int Dataset::recordCount()
{
    if (!d->open)
        return 0;
    d->fetchAll();
    return d->visibleCount();
}

int Dataset::fetchedCount() const { return d->open ? d->visibleCount() : 0; }
bool Dataset::canFetchMore() const { return bool(d->cursor); }
void Dataset::fetchMore() { d->fetchBatch(RowStore::BatchRows); }

int Dataset::fieldCount() const { return int(d->open ? d->fields.size() : 0); }

const FieldDef& Dataset::fieldDef(int index) const
{
    if (index < 0 || index >= int(d->fields.size()))
        throw DbError(DbError::Kind::NotFound,
                      QStringLiteral("O conjunto de dados «%1» não tem o campo número %2.").arg(m_name).arg(index));
    return d->fields[std::size_t(index)];
}

int Dataset::fieldIndex(const QString& name) const
{
    for (std::size_t i = 0; i < d->fields.size(); ++i)
        if (d->fields[i].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(i);
    return -1;
}

Field Dataset::field(const QString& name)
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(DbError::Kind::NotFound,
                      QStringLiteral("O conjunto de dados «%1» não tem o campo «%2».").arg(m_name, name));
    return Field(*this, index);
}

QVariant Dataset::value(const QString& name) const
{
    const int index = fieldIndex(name);
    if (index < 0)
        throw DbError(DbError::Kind::NotFound,
                      QStringLiteral("O conjunto de dados «%1» não tem o campo «%2».").arg(m_name, name));
    return d->value(index);
}

QVariant Dataset::valueAt(int row, int column) const
{
    if (!d->open || row < 0 || row >= d->visibleCount() || column < 0 || column >= int(d->fields.size()))
        return {};
    if (row == d->current && d->editingRow() && column < d->dataCount)
        return d->buffer[std::size_t(column)];
    return d->rowValue(d->idAt(row), column);
}

void Dataset::setValue(const QString& name, const QVariant& value) { field(name).setValue(value); }

void Dataset::edit()
{
    d->requireWritable();
    if (d->state != DatasetState::Browse)
        return;
    if (isEmpty()) {
        insert();
        return;
    }
    d->editing = d->idAt(d->current);
    d->buffer = d->rowValues(d->editing);
    d->setState(DatasetState::Edit);
}

void Dataset::insert()
{
    d->requireWritable();
    if (d->state != DatasetState::Browse)
        post();
    const int row = std::max(d->current, 0);
    d->materializePhysical();
    d->startInsert(row, row < d->visibleCount() ? d->physicalIndexOf(d->idAt(row)) : d->physicalCount());
}

void Dataset::append()
{
    d->requireWritable();
    if (d->state != DatasetState::Browse)
        post();
    d->fetchAll();
    d->materializePhysical();
    d->startInsert(d->visibleCount(), d->physicalCount());
}

void Dataset::post()
{
    d->requireOpen();
    if (d->state == DatasetState::Browse || d->state == DatasetState::Inactive)
        return;
    const RowId id = d->editing;
    if (d->state == DatasetState::Insert) {
        Overlay& o = d->overlay[id];
        o.current = d->buffer;
        if (!o.pending) {
            o.pending = true;
            o.kind = UpdateKind::Inserted;
            d->log.push_back(id);
        }
    } else {
        bool changed = false;
        const std::vector<QVariant> before = d->rowValues(id);
        for (int c = 0; c < d->dataCount; ++c)
            if (!sameValue(before[std::size_t(c)], d->buffer[std::size_t(c)]))
                changed = true;
        if (changed) {
            Overlay& o = d->overlayFor(id);
            o.current = d->buffer;
            if (!o.pending) {
                o.pending = true;
                o.kind = UpdateKind::Modified;
                d->log.push_back(id);
            }
        }
    }
    d->buffer.clear();
    d->setState(DatasetState::Browse);
    if (d->current >= 0)
        Q_EMIT rowChanged(d->current);
}

void Dataset::cancel()
{
    if (!d->open || d->state == DatasetState::Browse)
        return;
    const RowId id = d->editing;
    const int row = d->current;
    d->buffer.clear();
    if (d->state == DatasetState::Insert) {
        auto it = d->overlay.find(id);
        const bool posted = it != d->overlay.end() && it->second.pending;
        if (!posted) {
            d->removeRow(id);
            // The cursor must stand on a real row before any listener hears of
            // the change: a view reads the current row from its handlers.
            const int count = d->visibleCount();
            d->eof = count == 0;
            d->current = std::min(row, count - 1);
            d->setState(DatasetState::Browse);
            Q_EMIT rowRemoved(row);
            d->setCurrent(d->current);
            return;
        }
    }
    d->setState(DatasetState::Browse);
    if (row >= 0)
        Q_EMIT rowChanged(row);
}

void Dataset::deleteRecord()
{
    d->requireWritable();
    if (d->state == DatasetState::Insert || d->state == DatasetState::Edit)
        cancel();
    if (isEmpty() || d->current < 0)
        throw DbError(DbError::Kind::State,
                      QStringLiteral("Não há nenhum registo para eliminar em «%1».").arg(m_name));
    const int row = d->current;
    const RowId id = d->idAt(row);
    auto it = d->overlay.find(id);
    if (it != d->overlay.end() && it->second.pending && it->second.kind == UpdateKind::Inserted) {
        // Never written: it simply goes.
        d->removeFromLog(id);
        d->removeRow(id);
    } else {
        Overlay& o = d->overlayFor(id);
        if (o.pending)
            d->removeFromLog(id);
        o.pending = true;
        o.kind = UpdateKind::Deleted;
        d->log.push_back(id);
        d->makeVisibleExplicit();
        d->deleted.insert(id);
        d->visible.erase(d->visible.begin() + row);
    }
    Q_EMIT rowRemoved(row);
    const int count = d->visibleCount();
    if (row >= count)
        d->ensureRow(row);
    const int now = d->visibleCount();
    d->eof = now == 0 || row >= now;
    d->setCurrent(std::min(row, now - 1));
}

bool Dataset::locate(const QStringList& fields, const QVariantList& values, int options)
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    std::vector<int> columns;
    std::vector<QVariant> wanted;
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const int c = fieldIndex(fields[i]);
        if (c < 0)
            throw DbError(DbError::Kind::NotFound,
                          QStringLiteral("O conjunto de dados «%1» não tem o campo «%2».").arg(m_name, fields[i]));
        columns.push_back(c);
        const QVariant v = i < values.size() ? values[i] : QVariant();
        const FieldType type = d->fields[std::size_t(c)].type;
        if (v.isNull() || (options & LocatePartialKey && !isNumericType(type)))
            wanted.push_back(v.isNull() ? QVariant() : QVariant(v.toString()));
        else {
            try {
                FieldDef loose = d->fields[std::size_t(c)];
                loose.size = 0; // a longer search text simply finds nothing
                wanted.push_back(convertValue(loose, v));
            } catch (const DbError&) {
                return false; // a value the field cannot hold matches no row
            }
        }
    }
    const Qt::CaseSensitivity cs = options & LocateCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    auto matches = [&](RowId id) {
        for (std::size_t i = 0; i < columns.size(); ++i) {
            const QVariant have = d->rowValue(id, columns[i]);
            const QVariant& want = wanted[i];
            if (want.isNull() || have.isNull()) {
                if (want.isNull() != have.isNull())
                    return false;
                continue;
            }
            const FieldType type = d->fields[std::size_t(columns[i])].type;
            if (type == FieldType::Text || type == FieldType::Memo || (options & LocatePartialKey && !isNumericType(type))) {
                const QString text = type == FieldType::DateTime
                    ? have.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")) : have.toString();
                const QString key = want.toString();
                if (options & LocatePartialKey ? !text.startsWith(key, cs) : text.compare(key, cs) != 0)
                    return false;
            } else if (type == FieldType::Float) {
                if (have.toDouble() != want.toDouble())
                    return false;
            } else if (!sameValue(have, want)) {
                return false;
            }
        }
        return true;
    };
    for (int row = 0; d->ensureRow(row); ++row) {
        if (matches(d->idAt(row))) {
            d->bof = row == 0;
            d->eof = false;
            d->setCurrent(row);
            return true;
        }
    }
    return false;
}

bool Dataset::hasPendingChanges() const
{
    return !d->log.empty() || d->state == DatasetState::Edit || d->state == DatasetState::Insert;
}

void Dataset::applyUpdates()
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    if (d->log.empty())
        return;
    std::vector<bool> skipped(d->log.size(), false);
    if (d->mode == DatasetMode::Cached && !d->updates.isEmpty()) {
        Connection& connection = *d->connection;
        // Statements are prepared once per apply, and only for kinds that occur.
        std::optional<Impl::Binder> binders[3];
        std::unique_ptr<NativeStatement> statements[3];
        auto statementFor = [&](UpdateKind kind) -> std::pair<Impl::Binder*, NativeStatement*> {
            const int k = int(kind);
            if (!statements[k]) {
                if (d->updates.writesTable()) {
                    binders[k] = d->tableStatement(kind, {});
                    statements[k] = connection.native().prepare(binders[k]->sql);
                    return {&*binders[k], statements[k].get()};
                }
                const QString& text = kind == UpdateKind::Inserted ? d->updates.insertSql
                    : kind == UpdateKind::Modified                 ? d->updates.modifySql
                                                                   : d->updates.deleteSql;
                if (text.trimmed().isEmpty())
                    throw DbError(DbError::Kind::State,
                                  QStringLiteral("O conjunto de dados «%1» não tem instrução para %2 registos.")
                                      .arg(m_name, kind == UpdateKind::Inserted   ? QStringLiteral("inserir")
                                                   : kind == UpdateKind::Modified ? QStringLiteral("alterar")
                                                                                  : QStringLiteral("eliminar")));
                binders[k] = d->makeBinder(text);
                statements[k] = connection.native().prepare(binders[k]->sql);
            }
            return {&*binders[k], statements[k].get()};
        };
        // A changed row's statement sets only its changed columns: one per set of columns.
        std::map<std::vector<int>, std::pair<Impl::Binder, std::unique_ptr<NativeStatement>>> modifies;
        std::vector<QVariant> values;
        auto applyOne = [&](RowId id) {
            const Overlay& o = d->overlay.at(id);
            Impl::Binder* binder = nullptr;
            NativeStatement* statement = nullptr;
            const bool ownModify = d->updates.writesTable() && o.kind == UpdateKind::Modified;
            if (ownModify) {
                const std::vector<int> columns = d->changedColumns(id);
                if (columns.empty())
                    return; // only fields outside the table changed
                auto& [b, s] = modifies[columns];
                if (!s) {
                    b = d->tableStatement(UpdateKind::Modified, columns);
                    s = connection.native().prepare(b.sql);
                }
                binder = &b;
                statement = s.get();
            } else {
                std::tie(binder, statement) = statementFor(o.kind);
            }
            d->bindValues(*binder, id, values);
            const long long changed = statement->execute(values);
            if (changed == 0 && o.kind != UpdateKind::Inserted) {
                if (ownModify && d->readRow(id))
                    throw DbError(DbError::Kind::Changed,
                                  QStringLiteral("O registo foi alterado por outro utilizador."));
                throw DbError(DbError::Kind::NotFound,
                              QStringLiteral("O registo já não existe na base de dados como foi lido: outro "
                                             "utilizador alterou-o ou eliminou-o."));
            }
        };
        // PostgreSQL aborts the whole transaction on an error, so after a first
        // failure the apply starts over with a savepoint around each record.
        const bool needsSavepoints = connection.dialect() == Dialect::Postgres;
        bool guarded = false;
        for (;;) {
            Transaction transaction(connection);
            try {
                for (std::size_t i = 0; i < d->log.size(); ++i) {
                    const RowId id = d->log[i];
                    for (;;) {
                        std::optional<Transaction> record;
                        if (guarded)
                            record.emplace(connection);
                        try {
                            applyOne(id);
                            if (record)
                                record->commit();
                            break;
                        } catch (const DbError& error) {
                            if (needsSavepoints && !guarded && d->handler)
                                throw; // start over, guarded
                            if (record)
                                record->rollback();
                            if (!d->handler)
                                throw;
                            const UpdateKind kind = d->overlay.at(id).kind;
                            d->focus = id;
                            UpdateAction action;
                            try {
                                action = d->handler(*this, error, kind);
                            } catch (...) {
                                d->focus.reset();
                                throw;
                            }
                            d->focus.reset();
                            if (action == UpdateAction::Retry) {
                                if (error.kind() == DbError::Kind::Changed)
                                    d->rereadRow(id);
                                continue;
                            }
                            if (action == UpdateAction::Skip) {
                                skipped[i] = true;
                                break;
                            }
                            throw;
                        }
                    }
                }
                transaction.commit();
                break;
            } catch (const DbError&) {
                if (needsSavepoints && !guarded && d->handler) {
                    transaction.rollback();
                    guarded = true;
                    std::fill(skipped.begin(), skipped.end(), false);
                    continue;
                }
                throw;
            }
        }
    }
    // Written (or, without an update object, kept as they are): the cache forgets them.
    std::vector<RowId> remaining;
    bool removedAny = false;
    for (std::size_t i = 0; i < d->log.size(); ++i) {
        const RowId id = d->log[i];
        if (skipped[i]) {
            remaining.push_back(id);
            continue;
        }
        Overlay& o = d->overlay.at(id);
        o.pending = false;
        if (o.kind == UpdateKind::Deleted) {
            d->deleted.erase(id);
            d->materializePhysical();
            d->removeRow(id);
            removedAny = true;
        } else {
            o.old = o.current;
            o.source = OldSource::Own;
        }
    }
    d->log = std::move(remaining);
    if (removedAny && d->deleted.empty() && !d->filterActive())
        d->rebuildVisible();
}

void Dataset::cancelUpdates()
{
    if (!d->open)
        return;
    if (d->state != DatasetState::Browse)
        cancel();
    if (d->log.empty())
        return;
    for (auto it = d->log.rbegin(); it != d->log.rend(); ++it) {
        const RowId id = *it;
        Overlay& o = d->overlay.at(id);
        if (o.kind == UpdateKind::Inserted) {
            d->removeRow(id);
            continue;
        }
        d->deleted.erase(id);
        if (o.source == OldSource::Store) {
            d->overlay.erase(id);
        } else {
            o.current = o.old;
            o.pending = false;
        }
    }
    d->log.clear();
    d->rebuildVisible();
    Q_EMIT reset();
    const int count = d->visibleCount();
    d->bof = true;
    d->eof = count == 0;
    d->setCurrent(count > 0 ? std::clamp(d->current, 0, count - 1) : -1);
}

} // namespace kv::db
