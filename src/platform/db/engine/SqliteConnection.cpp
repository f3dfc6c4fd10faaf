#include "platform/db/engine/SqliteConnection.h"

#include "platform/db/engine/RowStore.h"

#include <QLocale>
#include <QStringEncoder>
#include <sqlite3.h>

namespace kv::db {

namespace {

// Waits for another workstation's write transaction for up to about ten
// seconds, trying again every millisecond. SQLite's own busy timeout sleeps
// up to a tenth of a second between tries, so a workstation that commits
// often would take the lock again every time before a waiting one looked.
int waitForLock(void*, int attempts)
{
    constexpr int MaxAttempts = 10000;
    if (attempts >= MaxAttempts)
        return 0;
    sqlite3_sleep(1);
    return 1;
}

int compareText(void* arg, int length1, const void* text1, int length2, const void* text2)
{
    const auto* collator = static_cast<const QCollator*>(arg);
    const QString a = QString::fromUtf8(static_cast<const char*>(text1), length1);
    const QString b = QString::fromUtf8(static_cast<const char*>(text2), length2);
    return collator->compare(a, b);
}

// Finalizes a statement when the scope ends, by exception or not.
struct Finalizer {
    sqlite3_stmt* stmt;
    ~Finalizer() { sqlite3_finalize(stmt); }
};

bool isSpace(const char* p)
{
    for (; *p; ++p)
        if (!(*p == ' ' || *p == '\n' || *p == '\r' || *p == '\t' || *p == ';'))
            return false;
    return true;
}

// Rows read for one statement step by step, into a RowStore.
class SqliteCursor final : public NativeCursor {
public:
    SqliteCursor(SqliteConnection& connection, const NamedSql& sql, const std::vector<QVariant>& values)
        : m_connection(connection), m_sql(sql.source())
    {
        if (sqlite3_prepare_v2(connection.handle(), sql.text().constData(), int(sql.text().size()), &m_stmt, nullptr)
            != SQLITE_OK)
            connection.failLast(m_sql);
        try {
            connection.bind(m_stmt, values, sql, m_texts);
            step();
        } catch (...) {
            sqlite3_finalize(m_stmt);
            throw;
        }
        const int count = sqlite3_column_count(m_stmt);
        for (int i = 0; i < count; ++i) {
            const char* decl = sqlite3_column_decltype(m_stmt, i);
            FieldDef def = sqliteFieldDef(sqlite3_column_name(m_stmt, i), decl);
            if (!decl && m_hasRow) {
                switch (sqlite3_column_type(m_stmt, i)) {
                case SQLITE_INTEGER: def.type = FieldType::Int64; break;
                case SQLITE_FLOAT: def.type = FieldType::Float; break;
                case SQLITE_BLOB: def.type = FieldType::Blob; break;
                default: def.type = FieldType::Memo; break;
                }
            }
            m_fields.push_back(def);
        }
    }
    ~SqliteCursor() override { sqlite3_finalize(m_stmt); }

    int fetch(RowStore& store, int maxRows) override
    {
        int done = 0;
        const int columns = static_cast<int>(m_fields.size());
        while (m_hasRow && done < maxRows) {
            store.beginRow();
            for (int i = 0; i < columns; ++i) {
                // One locked call per cell; the value accessors need no lock.
                sqlite3_value* v = sqlite3_column_value(m_stmt, i);
                switch (sqlite3_value_type(v)) {
                case SQLITE_NULL: store.putNull(); break;
                case SQLITE_INTEGER: store.putInt(sqlite3_value_int64(v)); break;
                case SQLITE_FLOAT: store.putFloat(sqlite3_value_double(v)); break;
                case SQLITE_BLOB: {
                    const void* blob = sqlite3_value_blob(v);
                    store.putBlob(blob, std::size_t(sqlite3_value_bytes(v)));
                    break;
                }
                default: {
                    const auto* text = reinterpret_cast<const char*>(sqlite3_value_text(v));
                    store.putText(text, std::size_t(sqlite3_value_bytes(v)));
                    break;
                }
                }
            }
            store.endRow();
            ++done;
            step();
        }
        return done;
    }

private:
    void step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW) {
            m_hasRow = true;
            return;
        }
        m_hasRow = false;
        m_atEnd = true;
        if (rc != SQLITE_DONE)
            m_connection.failLast(m_sql);
    }

    SqliteConnection& m_connection;
    QString m_sql;
    std::vector<QByteArray> m_texts; // bound texts, alive while the statement runs
    sqlite3_stmt* m_stmt = nullptr;
    bool m_hasRow = false;
};

class SqliteStatement final : public NativeStatement {
public:
    SqliteStatement(SqliteConnection& connection, const NamedSql& sql)
        : NativeStatement(connection), m_sqlite(connection), m_sql(sql)
    {
        if (sqlite3_prepare_v2(connection.handle(), sql.text().constData(), int(sql.text().size()), &m_stmt, nullptr)
            != SQLITE_OK)
            connection.failLast(sql.source());
    }
    ~SqliteStatement() override { sqlite3_finalize(m_stmt); }

protected:
    long long run(const std::vector<QVariant>& values) override
    {
        sqlite3_reset(m_stmt);
        m_sqlite.bind(m_stmt, values, m_sql, m_texts);
        int rc;
        while ((rc = sqlite3_step(m_stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            // Read the message before the reset, which would clear it.
            try {
                m_sqlite.failLast(m_sql.source());
            } catch (...) {
                sqlite3_reset(m_stmt);
                throw;
            }
        }
        sqlite3_reset(m_stmt);
        return sqlite3_changes64(m_sqlite.handle());
    }

private:
    SqliteConnection& m_sqlite;
    NamedSql m_sql;
    std::vector<QByteArray> m_texts;
    sqlite3_stmt* m_stmt = nullptr;
};

QVariant columnValue(sqlite3_stmt* stmt, int i, const FieldDef& def)
{
    const int type = sqlite3_column_type(stmt, i);
    if (type == SQLITE_NULL)
        return {};
    switch (def.type) {
    case FieldType::Int16:
    case FieldType::Int32:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT) {
            const qint64 v = sqlite3_column_int64(stmt, i);
            if (v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max())
                return QVariant(int(v));
            return QVariant(qlonglong(v));
        }
        break;
    case FieldType::Int64:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
        break;
    case FieldType::Float:
        if (type == SQLITE_INTEGER || type == SQLITE_FLOAT)
            return QVariant(sqlite3_column_double(stmt, i));
        break;
    case FieldType::DateTime: {
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, i));
        qint64 jd = 0;
        int ms = 0;
        if (RowStore::parseDateTime(text, std::size_t(sqlite3_column_bytes(stmt, i)), jd, ms))
            return RowStore::dateTimeValue(jd, ms);
        break;
    }
    default: break;
    }
    switch (type) {
    case SQLITE_INTEGER: return QVariant(qlonglong(sqlite3_column_int64(stmt, i)));
    case SQLITE_FLOAT: return QVariant(sqlite3_column_double(stmt, i));
    case SQLITE_BLOB:
        return QVariant(
            QByteArray(static_cast<const char*>(sqlite3_column_blob(stmt, i)), sqlite3_column_bytes(stmt, i)));
    default:
        return QVariant(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, i)),
                                          sqlite3_column_bytes(stmt, i)));
    }
}

} // namespace

FieldDef sqliteFieldDef(const char* name, const char* declaredType)
{
    FieldDef def;
    def.name = QString::fromUtf8(name);
    def.type = FieldType::Memo;
    if (!declaredType)
        return def;
    const QString decl = QString::fromUtf8(declaredType).trimmed().toUpper();
    const QString base = decl.section(QLatin1Char('('), 0, 0).trimmed();
    if (base.contains(QLatin1String("CHAR"))) {
        def.type = FieldType::Text;
        const qsizetype open = decl.indexOf(QLatin1Char('('));
        if (open >= 0)
            def.size = decl.mid(open + 1).section(QLatin1Char(')'), 0, 0).trimmed().toInt();
        if (def.size <= 0)
            def.type = FieldType::Memo;
    } else if (base == QLatin1String("SMALLINT") || base == QLatin1String("TINYINT")) {
        def.type = FieldType::Int16;
    } else if (base == QLatin1String("BIGINT")) {
        def.type = FieldType::Int64;
    } else if (base.contains(QLatin1String("INT"))) {
        def.type = FieldType::Int32;
    } else if (base.contains(QLatin1String("FLOA")) || base.contains(QLatin1String("REAL"))
               || base.contains(QLatin1String("DOUB")) || base.contains(QLatin1String("NUMERIC"))
               || base.contains(QLatin1String("DECIMAL")) || base == QLatin1String("MONEY")) {
        def.type = FieldType::Float;
    } else if (base.contains(QLatin1String("DATE")) || base.contains(QLatin1String("TIME"))) {
        def.type = FieldType::DateTime;
    } else if (base.contains(QLatin1String("BLOB")) || base.contains(QLatin1String("BINARY"))
               || base == QLatin1String("IMAGE") || base == QLatin1String("BYTEA")) {
        def.type = FieldType::Blob;
    }
    return def;
}

SqliteConnection::SqliteConnection(sqlite3* handle, const QString& alias)
    : NativeConnection(alias), m_db(handle), m_collator(QLocale(QStringLiteral("pt_PT")))
{
    sqlite3_busy_handler(m_db, waitForLock, nullptr);
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    const QByteArray name = sql::textCollation(Dialect::Sqlite).toUtf8();
    if (sqlite3_create_collation_v2(m_db, name.constData(), SQLITE_UTF8, &m_collator, compareText, nullptr)
        != SQLITE_OK)
        failLast(QString());
}

SqliteConnection::~SqliteConnection()
{
    for (auto& entry : m_cache)
        sqlite3_finalize(entry.second);
}

void SqliteConnection::failLast(const QString& sql) const
{
    const int code = sqlite3_extended_errcode(m_db);
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    const int primary = code & 0xff;
    fail(primary == SQLITE_CONSTRAINT                         ? DbError::Kind::Constraint
         : primary == SQLITE_BUSY || primary == SQLITE_LOCKED ? DbError::Kind::Busy
                                                              : DbError::Kind::Statement,
         message, sql);
}

// Texts are bound without SQLite copying them: they live in `texts` (reused
// from run to run, so their buffers are too) until the statement is done.
void SqliteConnection::bind(sqlite3_stmt* stmt, const std::vector<QVariant>& values, const NamedSql& sql,
                            std::vector<QByteArray>& texts)
{
    const int count = sqlite3_bind_parameter_count(stmt);
    if (texts.size() < std::size_t(count))
        texts.resize(std::size_t(count));
    for (int i = 1; i <= count; ++i) {
        // Numbers that a statement of a script does not use are bound too: harmless.
        if (i > int(values.size()))
            throw DbError(DbError::Kind::Statement, QStringLiteral("A instrução tem mais parâmetros do que valores."),
                          sql.source());
        const QVariant& value = values[std::size_t(i - 1)];
        int rc;
        if (isNullValue(value)) {
            rc = sqlite3_bind_null(stmt, i);
        } else {
            switch (value.metaType().id()) {
            case QMetaType::Bool:
            case QMetaType::Int:
            case QMetaType::Short:
            case QMetaType::Long:
            case QMetaType::LongLong:
            case QMetaType::UInt:
            case QMetaType::UShort:
            case QMetaType::ULong:
            case QMetaType::ULongLong: rc = sqlite3_bind_int64(stmt, i, value.toLongLong()); break;
            case QMetaType::Double:
            case QMetaType::Float: rc = sqlite3_bind_double(stmt, i, value.toDouble()); break;
            case QMetaType::QByteArray: {
                const QByteArray bytes = value.toByteArray();
                rc = sqlite3_bind_blob64(stmt, i, bytes.constData(), sqlite3_uint64(bytes.size()), SQLITE_TRANSIENT);
                break;
            }
            default: {
                QByteArray& text = texts[std::size_t(i - 1)];
                if (value.metaType().id() == QMetaType::QString) {
                    const QString source = value.toString();
                    QStringEncoder utf8(QStringConverter::Utf8, QStringConverter::Flag::Stateless);
                    text.resize(utf8.requiredSpace(source.size()));
                    char* end = utf8.appendToBuffer(text.data(), source);
                    text.truncate(end - text.data());
                } else {
                    text = boundText(value);
                }
                rc = sqlite3_bind_text64(stmt, i, text.constData(), sqlite3_uint64(text.size()), SQLITE_STATIC,
                                         SQLITE_UTF8);
                break;
            }
            }
        }
        if (rc != SQLITE_OK)
            failLast(sql.source());
    }
}

sqlite3_stmt* SqliteConnection::cached(const NamedSql& sql, bool& single)
{
    auto it = m_cache.find(sql.text());
    if (it != m_cache.end()) {
        single = true;
        sqlite3_reset(it->second);
        sqlite3_clear_bindings(it->second);
        return it->second;
    }
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.text().constData(), int(sql.text().size()), &stmt, &tail) != SQLITE_OK)
        failLast(sql.source());
    single = !tail || isSpace(tail);
    if (single && stmt) {
        if (m_cache.size() >= 64) {
            sqlite3_finalize(m_cache.begin()->second);
            m_cache.erase(m_cache.begin());
        }
        m_cache.emplace(sql.text(), stmt);
    }
    return stmt;
}

long long SqliteConnection::doExec(const NamedSql& sql, const std::vector<QVariant>& values)
{
    bool single = false;
    sqlite3_stmt* stmt = cached(sql, single);
    if (single) {
        if (!stmt)
            return 0;
        std::vector<QByteArray> texts;
        bind(stmt, values, sql, texts);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE) {
            try {
                failLast(sql.source());
            } catch (...) {
                sqlite3_reset(stmt);
                throw;
            }
        }
        sqlite3_reset(stmt);
        return sqlite3_changes64(m_db);
    }
    // A script of several statements: each prepared in turn from the rest.
    if (stmt)
        sqlite3_finalize(stmt);
    const char* rest = sql.text().constData();
    const char* end = rest + sql.text().size();
    long long changes = 0;
    while (rest < end && !isSpace(rest)) {
        const char* tail = nullptr;
        stmt = nullptr;
        if (sqlite3_prepare_v2(m_db, rest, int(end - rest), &stmt, &tail) != SQLITE_OK)
            failLast(sql.source());
        rest = tail ? tail : end;
        if (!stmt)
            continue;
        const Finalizer finalizer{stmt};
        std::vector<QByteArray> texts;
        bind(stmt, values, sql, texts);
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        }
        if (rc != SQLITE_DONE)
            failLast(sql.source());
        changes += sqlite3_changes64(m_db);
    }
    return changes;
}

QueryResult SqliteConnection::doQuery(const NamedSql& sql, const std::vector<QVariant>& values)
{
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(m_db, sql.text().constData(), int(sql.text().size()), &stmt, nullptr) != SQLITE_OK)
        failLast(sql.source());
    const Finalizer finalizer{stmt};
    QueryResult result;
    std::vector<QByteArray> texts;
    bind(stmt, values, sql, texts);
    const int count = sqlite3_column_count(stmt);
    std::vector<FieldDef> defs;
    for (int i = 0; i < count; ++i) {
        defs.push_back(sqliteFieldDef(sqlite3_column_name(stmt, i), sqlite3_column_decltype(stmt, i)));
        result.columns << defs.back().name;
    }
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        std::vector<QVariant> row;
        row.reserve(std::size_t(count));
        for (int i = 0; i < count; ++i)
            row.push_back(columnValue(stmt, i, defs[std::size_t(i)]));
        result.rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        failLast(sql.source());
    return result;
}

std::unique_ptr<NativeStatement> SqliteConnection::doPrepare(const NamedSql& sql)
{
    return std::make_unique<SqliteStatement>(*this, sql);
}

std::unique_ptr<NativeCursor> SqliteConnection::doOpenCursor(const NamedSql& sql, const std::vector<QVariant>& values)
{
    return std::make_unique<SqliteCursor>(*this, sql, values);
}

} // namespace kv::db
