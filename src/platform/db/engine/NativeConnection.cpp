#include "platform/db/engine/NativeConnection.h"

#include "platform/db/engine/PgConnection.h"
#include "platform/db/engine/SqliteConnection.h"

#include <QDateTime>
#include <algorithm>

namespace kv::db {

long long NativeStatement::execute(const std::vector<QVariant>& values)
{
    m_connection.finishReaders();
    return run(values);
}

long long NativeConnection::exec(const NamedSql& sql, const std::vector<QVariant>& values)
{
    finishReaders();
    return doExec(sql, values);
}

QueryResult NativeConnection::query(const NamedSql& sql, const std::vector<QVariant>& values)
{
    if (readBlocksConnection())
        finishReaders();
    return doQuery(sql, values);
}

std::unique_ptr<NativeStatement> NativeConnection::prepare(const NamedSql& sql)
{
    finishReaders();
    return doPrepare(sql);
}

std::unique_ptr<NativeCursor> NativeConnection::openCursor(const NamedSql& sql, const std::vector<QVariant>& values)
{
    if (readBlocksConnection())
        finishReaders();
    return doOpenCursor(sql, values);
}

void NativeConnection::addReader(PendingReader* reader)
{
    if (std::find(m_readers.begin(), m_readers.end(), reader) == m_readers.end())
        m_readers.push_back(reader);
}

void NativeConnection::removeReader(PendingReader* reader)
{
    m_readers.erase(std::remove(m_readers.begin(), m_readers.end(), reader), m_readers.end());
}

void NativeConnection::finishReaders()
{
    while (!m_readers.empty()) {
        PendingReader* reader = m_readers.back();
        m_readers.pop_back();
        reader->finishReading();
    }
}

void NativeConnection::fail(DbError::Kind kind, const QString& driverText, const QString& sql) const
{
    QString text;
    if (kind == DbError::Kind::Constraint)
        text = QStringLiteral("A base de dados «%1» recusou a alteração.").arg(m_alias);
    else
        text = QStringLiteral("A instrução não pôde ser executada na base de dados «%1».").arg(m_alias);
    QString detail = driverText.trimmed();
    if (!sql.isEmpty() && kind != DbError::Kind::Constraint)
        detail += QStringLiteral("\n") + sql.simplified().left(400);
    throw DbError(kind, text, detail);
}

bool isNullValue(const QVariant& value)
{
    if (value.isNull())
        return true;
    switch (value.metaType().id()) {
    case QMetaType::QDateTime: return !value.toDateTime().isValid();
    case QMetaType::QDate: return !value.toDate().isValid();
    default: return false;
    }
}

QByteArray boundText(const QVariant& value)
{
    switch (value.metaType().id()) {
    case QMetaType::Bool: return value.toBool() ? QByteArrayLiteral("1") : QByteArrayLiteral("0");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong: return QByteArray::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong: return QByteArray::number(value.toULongLong());
    case QMetaType::Double:
    case QMetaType::Float: return QByteArray::number(value.toDouble(), 'g', 17);
    case QMetaType::QDate:
    case QMetaType::QDateTime: {
        // By hand: QDateTime::toString costs more than the insert it feeds.
        const bool dateOnly = value.metaType().id() == QMetaType::QDate;
        const QDateTime dt = dateOnly ? QDateTime() : value.toDateTime();
        const QDate date = dateOnly ? value.toDate() : dt.date();
        const QTime time = dateOnly ? QTime(0, 0) : dt.time();
        char buffer[24];
        auto put = [&buffer](int at, int number, int width) {
            for (int i = width - 1; i >= 0; --i, number /= 10)
                buffer[at + i] = char('0' + number % 10);
        };
        int year = 0, month = 0, day = 0;
        date.getDate(&year, &month, &day);
        put(0, year, 4);
        buffer[4] = '-';
        put(5, month, 2);
        buffer[7] = '-';
        put(8, day, 2);
        buffer[10] = ' ';
        put(11, time.hour(), 2);
        buffer[13] = ':';
        put(14, time.minute(), 2);
        buffer[16] = ':';
        put(17, time.second(), 2);
        int n = 19;
        if (time.msec()) {
            buffer[19] = '.';
            put(20, time.msec(), 3);
            n = 23;
        }
        return QByteArray(buffer, n);
    }
    case QMetaType::QTime: return value.toTime().toString(QStringLiteral("hh:mm:ss")).toUtf8();
    case QMetaType::QByteArray: return value.toByteArray();
    default: return value.toString().toUtf8();
    }
}

std::unique_ptr<NativeConnection> NativeConnection::create(Dialect dialect, const QVariant& handle,
                                                           const QString& alias)
{
    if (dialect == Dialect::Sqlite)
        return std::make_unique<SqliteConnection>(*static_cast<sqlite3* const*>(handle.constData()), alias);
    return std::make_unique<PgConnection>(*static_cast<PGconn* const*>(handle.constData()), alias);
}

} // namespace kv::db
