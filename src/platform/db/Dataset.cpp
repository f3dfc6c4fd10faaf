#include "platform/db/Dataset.h"

#include "platform/db/Connection.h"
#include "platform/db/engine/NativeConnection.h"
#include "platform/db/engine/RowStore.h"
#include "platform/db/dataset/ChangeCache.h"
#include "platform/db/dataset/FieldConversion.h"
#include "platform/db/dataset/RecordLocator.h"
#include "platform/db/dataset/RowIndex.h"
#include "platform/db/dataset/UpdateApplier.h"

#include <QDateTime>
#include <algorithm>
#include <limits>
#include <unordered_map>

namespace kv::db {

namespace {

constexpr int FirstBatch = RowStore::BatchRows;

QVariant nullOf(FieldType type) { return FieldConversion::nullOf(type); }

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
    RowIndex rows{store};
    ChangeCache changes{store, fields};
    std::unordered_map<RowId, std::vector<QVariant>> calculated;
    int current = -1;
    bool bof = true;
    bool eof = true;
    std::vector<QVariant> buffer; // the record being edited or inserted
    RowId editing = 0;
    std::optional<RowId> focus; // the row a filter or the error handler looks at

    explicit Impl(Dataset* owner) : q(owner) {}

    // --- rows ---
    int visibleCount() const { return rows.visibleCount(); }
    RowId idAt(int row) const { return rows.idAt(row); }
    bool filterActive() const { return filtered && filter; }

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
        rows.rebuild(!filterActive() && !changes.anyDeleted(),
                     [this](RowId id) { return !changes.isDeleted(id) && passes(id); });
    }

    // A row that goes from the dataset: never written, or deleted and written.
    void dropRow(RowId id)
    {
        rows.remove(id);
        changes.forget(id);
        calculated.erase(id);
    }

    // --- values ---
    QVariant rowValue(RowId id, int column) const
    {
        if (column >= dataCount) {
            const auto it = calculated.find(id);
            return it == calculated.end() ? nullOf(fields[std::size_t(column)].type)
                                          : it->second[std::size_t(column - dataCount)];
        }
        return changes.value(id, column);
    }

    // The stored row whose cell the current value is, when it comes straight
    // from the row cache (no edit, no pending change): numbers are then read
    // without a QVariant.
    bool storedCell(int column, RowId& id) const
    {
        if (focus || column < 0 || column >= dataCount || current < 0 || state != DatasetState::Browse)
            return false;
        id = idAt(current);
        return id >= 0 && !changes.has(id);
    }

    QVariant rowOldValue(RowId id, int column) const
    {
        if (column >= dataCount)
            return nullOf(fields[std::size_t(column)].type);
        return changes.oldValue(id, column);
    }

    bool editingRow() const { return (state == DatasetState::Edit || state == DatasetState::Insert) && !focus; }

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

    void takeFetched(RowId first, int visibleBefore)
    {
        rows.addFetched(first, [this](RowId id) { return passes(id); });
        const int added = visibleCount() - visibleBefore;
        if (added > 0)
            Q_EMIT q->rowsFetched(visibleBefore, added);
    }

    int fetchBatch(int count)
    {
        if (!cursor)
            return 0;
        const int before = store.size();
        const int visibleBefore = visibleCount();
        int n = 0;
        try {
            n = cursor->fetch(store, count);
        } catch (...) {
            dropCursor();
            throw;
        }
        if (cursor->atEnd())
            dropCursor();
        takeFetched(before, visibleBefore);
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
            takeFetched(before, visibleBefore);
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
            if (!FieldConversion::same(params.value(name), next.value(name)) || !params.contains(name))
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
    // A new empty row at the visible row and physical position given, in insert state.
    void startInsert(int row, int physicalIndex)
    {
        const RowId id = changes.addRow();
        rows.insert(id, row, physicalIndex);
        buffer = changes.at(id).current;
        editing = id;
        state = DatasetState::Insert;
        Q_EMIT q->rowInserted(row);
        bof = eof = false;
        setCurrent(row);
        Q_EMIT q->stateChanged(DatasetState::Insert);
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
    const FieldType t =
        m_index >= 0 && m_index < int(d.fields.size()) ? d.fields[std::size_t(m_index)].type : FieldType::Blob;
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
    const QVariant converted = FieldConversion::convert(fd, value);
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
            throw DbError(
                DbError::Kind::State,
                QStringLiteral("O conjunto de dados «%1» não está em edição nem em inserção.").arg(m_dataset->name()));
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
    d->rows.reset();
    d->changes.clear();
    d->calculated.clear();
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
    d->rows.reset(true);
    d->changes.clear();
    d->calculated.clear();
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
    d->buffer = d->changes.values(d->editing);
    d->setState(DatasetState::Edit);
}

void Dataset::insert()
{
    d->requireWritable();
    if (d->state != DatasetState::Browse)
        post();
    const int row = std::max(d->current, 0);
    d->rows.listPhysical();
    d->startInsert(row, row < d->visibleCount() ? d->rows.physicalIndexOf(d->idAt(row)) : d->rows.physicalCount());
}

void Dataset::append()
{
    d->requireWritable();
    if (d->state != DatasetState::Browse)
        post();
    d->fetchAll();
    d->rows.listPhysical();
    d->startInsert(d->visibleCount(), d->rows.physicalCount());
}

void Dataset::post()
{
    d->requireOpen();
    if (d->state == DatasetState::Browse || d->state == DatasetState::Inactive)
        return;
    const RowId id = d->editing;
    if (d->state == DatasetState::Insert)
        d->changes.postInserted(id, d->buffer);
    else
        d->changes.postEdited(id, d->buffer);
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
        if (!d->changes.isPending(id)) {
            d->dropRow(id);
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
        throw DbError(DbError::Kind::State, QStringLiteral("Não há nenhum registo para eliminar em «%1».").arg(m_name));
    const int row = d->current;
    const RowId id = d->idAt(row);
    if (d->changes.remove(id))
        d->dropRow(id); // never written: it simply goes
    else
        d->rows.hide(row);
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
    const RecordLocator locator(*this, fields, values, options);
    if (!locator.canMatch())
        return false;
    for (int row = 0; d->ensureRow(row); ++row) {
        const RowId id = d->idAt(row);
        if (locator.matches([&](int column) { return d->rowValue(id, column); })) {
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
    return !d->changes.log().empty() || d->state == DatasetState::Edit || d->state == DatasetState::Insert;
}

void Dataset::applyUpdates() { settle(writePending()); }

std::vector<bool> Dataset::writePending()
{
    d->requireOpen();
    if (d->state != DatasetState::Browse)
        post();
    std::vector<bool> skipped(d->changes.log().size(), false);
    if (d->changes.log().empty())
        return skipped;
    if (d->mode == DatasetMode::Cached && !d->updates.isEmpty()) {
        UpdateApplier::ErrorHandler onError;
        if (d->handler)
            onError = [this](RowId id, const DbError& error, UpdateKind kind) {
                d->focus = id;
                UpdateAction action;
                try {
                    action = d->handler(*this, error, kind);
                } catch (...) {
                    d->focus.reset();
                    throw;
                }
                d->focus.reset();
                return action;
            };
        skipped = UpdateApplier(*this, d->dataCount, d->changes).apply(onError, [this](RowId id) {
            const int row = d->rows.rowOf(id);
            if (row >= 0)
                Q_EMIT rowChanged(row);
        });
    }
    return skipped;
}

void Dataset::settle(const std::vector<bool>& skipped)
{
    if (d->changes.log().empty())
        return;
    // Written (or, without an update object, kept as they are): the cache forgets them.
    const std::vector<RowId> gone = d->changes.settle(skipped);
    if (!gone.empty())
        d->rows.listPhysical();
    for (RowId id : gone)
        d->dropRow(id);
    if (!gone.empty() && !d->changes.anyDeleted() && !d->filterActive())
        d->rebuildVisible();
}

void applyTogether(const std::vector<Dataset*>& datasets, Dataset** refusedBy)
{
    if (refusedBy)
        *refusedBy = nullptr;
    if (datasets.empty())
        return;
    const std::shared_ptr<Connection> connection = datasets.front()->connection();
    for (const Dataset* dataset : datasets)
        if (!connection || dataset->connection() != connection)
            throw DbError(DbError::Kind::State, QStringLiteral("Os dados a gravar em conjunto não são da mesma base de dados."));
    std::vector<std::vector<bool>> skipped;
    {
        Transaction transaction(*connection);
        for (Dataset* dataset : datasets) {
            if (refusedBy)
                *refusedBy = dataset;
            skipped.push_back(dataset->writePending());
        }
        if (refusedBy)
            *refusedBy = nullptr;
        transaction.commit();
    }
    // Only after the commit: an abandoned apply leaves every cache as it was.
    for (std::size_t i = 0; i < datasets.size(); ++i)
        datasets[i]->settle(skipped[i]);
}

void Dataset::cancelUpdates()
{
    if (!d->open)
        return;
    if (d->state != DatasetState::Browse)
        cancel();
    if (d->changes.log().empty())
        return;
    for (RowId id : d->changes.revert())
        d->dropRow(id);
    d->rebuildVisible();
    // The controls read the current row when the rows are replaced: a dropped
    // new row must no longer be current by then.
    const int count = d->visibleCount();
    d->current = count > 0 ? std::clamp(d->current, 0, count - 1) : -1;
    Q_EMIT reset();
    d->bof = true;
    d->eof = count == 0;
    d->setCurrent(d->current);
}

} // namespace kv::db
