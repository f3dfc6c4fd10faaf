#include "platform/db/engine/PgConnection.h"

#include "platform/db/engine/RowStore.h"

#include <charconv>
#include <string_view>
#include <cstdlib>
#include "platform/db/engine/PgApi.h"

namespace kv::db {

namespace {

// Type OIDs of the built-in types (pg_type.dat).
enum : Oid {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    TextOid = 25,
    Float4Oid = 700,
    Float8Oid = 701,
    BpcharOid = 1042,
    VarcharOid = 1043,
    DateOid = 1082,
    TimestampOid = 1114,
    TimestamptzOid = 1184,
    NumericOid = 1700
};

QByteArray decodeBytea(const char* text, int length)
{
    if (length >= 2 && text[0] == '\\' && text[1] == 'x')
        return QByteArray::fromHex(QByteArray::fromRawData(text + 2, length - 2));
    std::size_t size = 0;
    unsigned char* raw = pq().PQunescapeBytea(reinterpret_cast<const unsigned char*>(text), &size);
    QByteArray out(reinterpret_cast<const char*>(raw), qsizetype(size));
    pq().PQfreemem(raw);
    return out;
}

void putCell(RowStore& store, const FieldDef& def, Oid oid, const char* text, int length)
{
    switch (def.type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: {
        if (oid == BoolOid) {
            store.putInt(text[0] == 't' ? 1 : 0);
            return;
        }
        qint64 v = 0;
        if (std::from_chars(text, text + length, v).ec == std::errc())
            store.putInt(v);
        else
            store.putText(text, std::size_t(length));
        return;
    }
    case FieldType::Float: {
        double v = 0;
        if (std::from_chars(text, text + length, v).ec == std::errc())
            store.putFloat(v);
        else
            store.putText(text, std::size_t(length));
        return;
    }
    case FieldType::Blob: {
        const QByteArray bytes = decodeBytea(text, length);
        store.putBlob(bytes.constData(), std::size_t(bytes.size()));
        return;
    }
    default: store.putText(text, std::size_t(length));
    }
}

QVariant cellValue(const FieldDef& def, Oid oid, const char* text, int length)
{
    switch (def.type) {
    case FieldType::Int16:
    case FieldType::Int32: {
        if (oid == BoolOid)
            return QVariant(text[0] == 't' ? 1 : 0);
        int v = 0;
        std::from_chars(text, text + length, v);
        return QVariant(v);
    }
    case FieldType::Int64: {
        qlonglong v = 0;
        std::from_chars(text, text + length, v);
        return QVariant(v);
    }
    case FieldType::Float: {
        double v = 0;
        std::from_chars(text, text + length, v);
        return QVariant(v);
    }
    case FieldType::DateTime: {
        qint64 jd = 0;
        int ms = 0;
        if (RowStore::parseDateTime(text, std::size_t(length), jd, ms))
            return RowStore::dateTimeValue(jd, ms);
        return {};
    }
    case FieldType::Blob: return QVariant(decodeBytea(text, length));
    default: return QVariant(QString::fromUtf8(text, length));
    }
}

std::vector<FieldDef> describe(const PGresult* result, std::vector<Oid>* oids = nullptr)
{
    std::vector<FieldDef> defs;
    const int count = pq().PQnfields(result);
    for (int i = 0; i < count; ++i) {
        defs.push_back(pgFieldDef(pq().PQfname(result, i), pq().PQftype(result, i), pq().PQfmod(result, i)));
        if (oids)
            oids->push_back(pq().PQftype(result, i));
    }
    return defs;
}

// A server-side cursor read a batch at a time (FETCH), each batch one round
// trip and one result. Inside a transaction the first rows arrive at once
// however large the result. Outside one the cursor is a held cursor: the
// server keeps the result past the implicit transaction of its declaration,
// so a grid left half-read on a form holds no transaction open (which would
// keep VACUUM back and make another workstation's table change wait).
// The cursor is closed as soon as the last row is read or it is dropped.
class PgCursor final : public NativeCursor {
public:
    PgCursor(PgConnection& connection, const NamedSql& sql, const std::vector<QVariant>& values)
        : m_connection(connection), m_sql(sql.source())
    {
        PGconn* conn = connection.handle();
        m_name = QByteArrayLiteral("kv_cursor_") + QByteArray::number(connection.nextStatementNumber());
        m_held = pq().PQtransactionStatus(conn) == PQTRANS_IDLE;
        try {
            const PgParams params(values);
            const QByteArray declare =
                "DECLARE " + m_name + " NO SCROLL CURSOR" + (m_held ? " WITH HOLD" : "") + " FOR " + sql.text();
            connection.check(pq().PQexecParams(conn, declare.constData(), params.count(), nullptr, params.values.data(),
                                               params.lengths.data(), params.formats.data(), 0),
                             m_sql);
            m_declared = true;
            nextBatch();
            m_fields = describe(m_result, &m_oids);
        } catch (...) {
            end();
            throw;
        }
    }
    ~PgCursor() override
    {
        try {
            end();
        } catch (...) {
        }
    }

    int fetch(RowStore& store, int maxRows) override
    {
        int done = 0;
        const int columns = int(m_fields.size());
        while (done < maxRows && !m_atEnd) {
            if (!m_result || m_next >= pq().PQntuples(m_result)) {
                if (m_exhausted) {
                    end();
                    break;
                }
                nextBatch();
                continue;
            }
            const int r = m_next++;
            store.beginRow();
            for (int i = 0; i < columns; ++i) {
                if (pq().PQgetisnull(m_result, r, i))
                    store.putNull();
                else
                    putCell(store, m_fields[std::size_t(i)], m_oids[std::size_t(i)], pq().PQgetvalue(m_result, r, i),
                            pq().PQgetlength(m_result, r, i));
            }
            store.endRow();
            ++done;
        }
        if (!m_atEnd && m_exhausted && m_next >= pq().PQntuples(m_result))
            end();
        return done;
    }

private:
    // Takes the next batch: the one asked for ahead, or asked for now. While
    // the rows of a full batch are copied, the server already prepares the
    // next one (asked for without waiting), each larger than the last up to
    // a bound: a walk through a large result costs few, overlapped round trips.
    void nextBatch()
    {
        if (m_result) {
            pq().PQclear(m_result);
            m_result = nullptr;
        }
        PGconn* conn = m_connection.handle();
        if (!m_ahead) {
            send();
        }
        m_ahead = false;
        PGresult* r = pq().PQgetResult(conn);
        while (PGresult* rest = pq().PQgetResult(conn)) // the connection must be idle again
            pq().PQclear(rest);
        if (!r || pq().PQresultStatus(r) != PGRES_TUPLES_OK) {
            m_connection.check(r, m_sql, false);
            return;
        }
        m_result = r;
        m_next = 0;
        m_exhausted = pq().PQntuples(r) < m_asked;
        m_fetchSize = std::min(m_fetchSize * 2, MaxFetch);
        if (!m_exhausted) {
            send();
            m_ahead = true;
        }
    }

    void send()
    {
        m_asked = m_fetchSize;
        const QByteArray fetch = "FETCH FORWARD " + QByteArray::number(m_asked) + " FROM " + m_name;
        if (!pq().PQsendQuery(m_connection.handle(), fetch.constData()))
            m_connection.fail(DbError::Kind::Statement, QString::fromUtf8(pq().PQerrorMessage(m_connection.handle())),
                              m_sql);
    }

    // Closes the cursor and the transaction opened for it.
    void end()
    {
        m_atEnd = true;
        if (m_result) {
            pq().PQclear(m_result);
            m_result = nullptr;
        }
        PGconn* conn = m_connection.handle();
        if (m_ahead) {
            m_ahead = false;
            while (PGresult* r = pq().PQgetResult(conn))
                pq().PQclear(r);
        }
        if (m_declared) {
            m_declared = false;
            // A held cursor outlives transactions, so it is closed outside one
            // too; a cursor of an aborted transaction goes with its rollback.
            const PGTransactionStatusType status = pq().PQtransactionStatus(conn);
            if (status == PQTRANS_INTRANS || (m_held && status == PQTRANS_IDLE))
                pq().PQclear(pq().PQexec(conn, ("CLOSE " + m_name).constData()));
        }
    }

    static constexpr int MaxFetch = 32768;
    PgConnection& m_connection;
    QString m_sql;
    QByteArray m_name;
    int m_fetchSize = RowStore::BatchRows;
    int m_asked = 0; // rows asked for by the FETCH whose answer comes next
    bool m_ahead = false; // a FETCH was sent and its answer not read yet
    PGresult* m_result = nullptr;
    int m_next = 0;
    bool m_exhausted = false;
    bool m_declared = false;
    bool m_held = false;
    std::vector<Oid> m_oids;
};

class PgStatement final : public NativeStatement {
public:
    PgStatement(PgConnection& connection, const NamedSql& sql)
        : NativeStatement(connection), m_pg(connection), m_sql(sql.source())
    {
        m_name = QByteArrayLiteral("kv_stmt_") + QByteArray::number(connection.nextStatementNumber());
        connection.check(pq().PQprepare(connection.handle(), m_name.constData(), sql.text().constData(),
                                        int(sql.names().size()), nullptr),
                         m_sql);
    }
    ~PgStatement() override
    {
        try {
            m_connection.finishReaders();
            pq().PQclear(pq().PQexec(m_pg.handle(), ("DEALLOCATE " + m_name).constData()));
        } catch (...) {
        }
    }

protected:
    long long run(const std::vector<QVariant>& values) override
    {
        const PgParams params(values);
        PGresult* result = pq().PQexecPrepared(m_pg.handle(), m_name.constData(), params.count(), params.values.data(),
                                               params.lengths.data(), params.formats.data(), 0);
        const long long changes = result ? std::atoll(pq().PQcmdTuples(result)) : 0;
        m_pg.check(result, m_sql);
        return changes;
    }

private:
    PgConnection& m_pg;
    QString m_sql;
    QByteArray m_name;
};

} // namespace

PgParams::PgParams(const std::vector<QVariant>& in)
{
    storage.reserve(in.size());
    for (const QVariant& value : in) {
        if (isNullValue(value)) {
            storage.emplace_back();
            values.push_back(nullptr);
            lengths.push_back(0);
            formats.push_back(0);
            continue;
        }
        const bool binary = value.metaType().id() == QMetaType::QByteArray;
        storage.push_back(boundText(value));
        values.push_back(storage.back().constData());
        lengths.push_back(int(storage.back().size()));
        formats.push_back(binary ? 1 : 0);
    }
}

QString pgColumnName(const QString& name)
{
    // Unquoted names come back folded to lower case; the schema writes them in
    // upper case, as SQLite reports them, so both engines name fields alike.
    return name == name.toLower() ? name.toUpper() : name;
}

FieldDef pgFieldDef(const char* name, unsigned int typeOid, int typeModifier)
{
    FieldDef def;
    def.name = pgColumnName(QString::fromUtf8(name));
    switch (typeOid) {
    case BoolOid:
    case Int2Oid: def.type = FieldType::Int16; break;
    case Int4Oid: def.type = FieldType::Int32; break;
    case Int8Oid: def.type = FieldType::Int64; break;
    case Float4Oid:
    case Float8Oid:
    case NumericOid: def.type = FieldType::Float; break;
    case DateOid:
    case TimestampOid:
    case TimestamptzOid: def.type = FieldType::DateTime; break;
    case ByteaOid: def.type = FieldType::Blob; break;
    case VarcharOid:
    case BpcharOid:
        def.type = typeModifier > 4 ? FieldType::Text : FieldType::Memo;
        def.size = typeModifier > 4 ? typeModifier - 4 : 0;
        break;
    default: def.type = FieldType::Memo; break;
    }
    return def;
}

PgConnection::PgConnection(PGconn* handle, const QString& alias) : NativeConnection(alias), m_conn(handle)
{
    pq(); // a client library that cannot be bound refuses the connection, not a later statement
}

PgConnection::~PgConnection() = default;

void PgConnection::check(PGresult* result, const QString& sql, bool allowRows) const
{
    if (!result)
        fail(DbError::Kind::Statement, QString::fromUtf8(pq().PQerrorMessage(m_conn)), sql);
    const ExecStatusType status = pq().PQresultStatus(result);
    if (status == PGRES_COMMAND_OK || status == PGRES_EMPTY_QUERY || (allowRows && status == PGRES_TUPLES_OK)) {
        pq().PQclear(result);
        return;
    }
    const char* state = pq().PQresultErrorField(result, PG_DIAG_SQLSTATE);
    const bool constraint = state && state[0] == '2' && state[1] == '3';
    // lock_not_available: a lock timeout ran out waiting for another session.
    const bool busy = state && std::string_view(state) == "55P03";
    const QString message = QString::fromUtf8(pq().PQresultErrorMessage(result));
    pq().PQclear(result);
    fail(constraint ? DbError::Kind::Constraint : busy ? DbError::Kind::Busy : DbError::Kind::Statement, message, sql);
}

long long PgConnection::doExec(const NamedSql& sql, const std::vector<QVariant>& values)
{
    PGresult* result;
    if (values.empty() && sql.names().isEmpty()) {
        result = pq().PQexec(m_conn, sql.text().constData()); // may hold several statements
    } else {
        const PgParams params(values);
        result = pq().PQexecParams(m_conn, sql.text().constData(), params.count(), nullptr, params.values.data(),
                                   params.lengths.data(), params.formats.data(), 0);
    }
    const long long changes = result ? std::atoll(pq().PQcmdTuples(result)) : 0;
    check(result, sql.source());
    return changes;
}

QueryResult PgConnection::doQuery(const NamedSql& sql, const std::vector<QVariant>& values)
{
    const PgParams params(values);
    PGresult* result = pq().PQexecParams(m_conn, sql.text().constData(), params.count(), nullptr, params.values.data(),
                                         params.lengths.data(), params.formats.data(), 0);
    if (!result || pq().PQresultStatus(result) != PGRES_TUPLES_OK) {
        check(result, sql.source(), false);
        return {};
    }
    QueryResult out;
    std::vector<Oid> oids;
    const std::vector<FieldDef> defs = describe(result, &oids);
    for (const FieldDef& def : defs)
        out.columns << def.name;
    const int rows = pq().PQntuples(result);
    out.rows.reserve(std::size_t(rows));
    for (int r = 0; r < rows; ++r) {
        std::vector<QVariant> row;
        row.reserve(defs.size());
        for (int c = 0; c < int(defs.size()); ++c) {
            if (pq().PQgetisnull(result, r, c))
                row.emplace_back();
            else
                row.push_back(cellValue(defs[std::size_t(c)], oids[std::size_t(c)], pq().PQgetvalue(result, r, c),
                                        pq().PQgetlength(result, r, c)));
        }
        out.rows.push_back(std::move(row));
    }
    pq().PQclear(result);
    return out;
}

std::unique_ptr<NativeStatement> PgConnection::doPrepare(const NamedSql& sql)
{
    return std::make_unique<PgStatement>(*this, sql);
}

std::unique_ptr<NativeCursor> PgConnection::doOpenCursor(const NamedSql& sql, const std::vector<QVariant>& values)
{
    return std::make_unique<PgCursor>(*this, sql, values);
}

} // namespace kv::db
