#include "platform/db/engine/RowStore.h"

#include <QDateTime>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>
#include <limits>

namespace kv::db {

namespace {

std::uint64_t zigzag(qint64 v) { return (static_cast<std::uint64_t>(v) << 1) ^ static_cast<std::uint64_t>(v >> 63); }
qint64 unzigzag(std::uint64_t v) { return static_cast<qint64>(v >> 1) ^ -static_cast<qint64>(v & 1); }

std::uint64_t readVarint(const char*& p)
{
    std::uint64_t result = 0;
    int shift = 0;
    for (;;) {
        const auto byte = static_cast<unsigned char>(*p++);
        result |= static_cast<std::uint64_t>(byte & 0x7f) << shift;
        if (!(byte & 0x80))
            return result;
        shift += 7;
    }
}

void skipCell(FieldType type, const char*& p)
{
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64:
        while (static_cast<unsigned char>(*p++) & 0x80) {
        }
        return;
    case FieldType::Float:
    case FieldType::DateTime: p += 8; return;
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Blob: {
        const auto length = readVarint(p);
        p += length;
        return;
    }
    }
}

int digits(const char* p, int count)
{
    int v = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return -1;
        v = v * 10 + (p[i] - '0');
    }
    return v;
}

} // namespace

RowStore::Batch::Batch(Batch&& other) noexcept
    : data(other.data), size(other.size), capacity(other.capacity), offsets(std::move(other.offsets))
{
    other.data = nullptr;
    other.size = other.capacity = 0;
}

RowStore::Batch& RowStore::Batch::operator=(Batch&& other) noexcept
{
    if (this != &other) {
        std::free(data);
        data = other.data;
        size = other.size;
        capacity = other.capacity;
        offsets = std::move(other.offsets);
        other.data = nullptr;
        other.size = other.capacity = 0;
    }
    return *this;
}

RowStore::Batch::~Batch() { std::free(data); }

void RowStore::Batch::reserveMore(std::size_t bytes)
{
    std::size_t next = capacity ? capacity * 2 : std::max<std::size_t>(bytes, 4096);
    while (next < size + bytes)
        next *= 2;
    char* moved = static_cast<char*>(std::realloc(data, next));
    if (!moved)
        throw std::bad_alloc();
    data = moved;
    capacity = next;
}

void RowStore::Batch::shrink()
{
    if (size == capacity || size == 0)
        return;
    if (char* moved = static_cast<char*>(std::realloc(data, size))) {
        data = moved;
        capacity = size;
    }
}

void RowStore::reset(std::vector<FieldType> types)
{
    m_lastRow = -1;
    m_types = std::move(types);
    m_cellStarts.assign(m_types.size(), nullptr);
    m_batchBytesHint = 0;
    m_batches.clear();
    m_bitmapBytes = static_cast<int>((m_types.size() + 7) / 8);
    m_rows = 0;
}

void RowStore::startBatch()
{
    if (!m_batches.empty()) {
        m_batches.back().shrink();
        m_batchBytesHint = m_batches.back().size;
    }
    m_batches.emplace_back();
    Batch& batch = m_batches.back();
    batch.offsets.reserve(BatchRows);
    // A little more than the last batch took, since rows vary in length.
    if (m_batchBytesHint)
        batch.reserveMore(m_batchBytesHint + m_batchBytesHint / 8);
}

void RowStore::beginRow()
{
    if (m_batches.empty() || static_cast<int>(m_batches.back().offsets.size()) == BatchRows)
        startBatch();
    m_lastRow = -1; // the arena may move
    Batch& batch = m_batches.back();
    m_rowStart = batch.size;
    std::memset(batch.grow(std::size_t(m_bitmapBytes)), 0, std::size_t(m_bitmapBytes));
    m_column = 0;
}

void RowStore::markNull()
{
    m_batches.back().data[m_rowStart + static_cast<std::size_t>(m_column / 8)] |=
        static_cast<char>(1 << (m_column % 8));
}

void RowStore::putVarint(std::uint64_t value)
{
    Batch& batch = m_batches.back();
    if (batch.size + 10 > batch.capacity)
        batch.reserveMore(10);
    auto* out = reinterpret_cast<unsigned char*>(batch.data + batch.size);
    std::size_t n = 0;
    while (value >= 0x80) {
        out[n++] = static_cast<unsigned char>((value & 0x7f) | 0x80);
        value >>= 7;
    }
    out[n++] = static_cast<unsigned char>(value);
    batch.size += n;
}

void RowStore::putNull()
{
    markNull();
    ++m_column;
}

void RowStore::putInt(qint64 value)
{
    switch (m_types[static_cast<std::size_t>(m_column)]) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64:
        putVarint(zigzag(value));
        ++m_column;
        return;
    case FieldType::Float: putFloat(static_cast<double>(value)); return;
    default: {
        const QByteArray text = QByteArray::number(value);
        putText(text.constData(), static_cast<std::size_t>(text.size()));
        return;
    }
    }
}

void RowStore::putFloat(double value)
{
    const FieldType type = m_types[static_cast<std::size_t>(m_column)];
    if (isIntegerType(type)) {
        putInt(static_cast<qint64>(value));
        return;
    }
    if (type != FieldType::Float) {
        const QByteArray text = QByteArray::number(value, 'g', 17);
        putText(text.constData(), static_cast<std::size_t>(text.size()));
        return;
    }
    std::memcpy(m_batches.back().grow(8), &value, 8);
    ++m_column;
}

void RowStore::putText(const char* utf8, std::size_t length)
{
    const FieldType type = m_types[static_cast<std::size_t>(m_column)];
    if (isIntegerType(type)) {
        bool ok = false;
        const qint64 v = QByteArray::fromRawData(utf8, static_cast<qsizetype>(length)).toLongLong(&ok);
        ok ? putInt(v) : putNull();
        return;
    }
    if (type == FieldType::Float) {
        bool ok = false;
        const double v = QByteArray::fromRawData(utf8, static_cast<qsizetype>(length)).toDouble(&ok);
        ok ? putFloat(v) : putNull();
        return;
    }
    if (type == FieldType::DateTime) {
        qint64 jd = 0;
        int ms = 0;
        parseDateTime(utf8, length, jd, ms) ? putDateTime(jd, ms) : putNull();
        return;
    }
    putVarint(length);
    if (length)
        std::memcpy(m_batches.back().grow(length), utf8, length);
    ++m_column;
}

void RowStore::putBlob(const void* data, std::size_t length)
{
    const FieldType type = m_types[static_cast<std::size_t>(m_column)];
    if (type != FieldType::Blob && type != FieldType::Text && type != FieldType::Memo) {
        putText(static_cast<const char*>(data), length);
        return;
    }
    putVarint(length);
    if (length)
        std::memcpy(m_batches.back().grow(length), data, length);
    ++m_column;
}

void RowStore::putDateTime(qint64 julianDay, int msecsOfDay)
{
    if (m_types[static_cast<std::size_t>(m_column)] != FieldType::DateTime) {
        const QByteArray text =
            dateTimeValue(julianDay, msecsOfDay).toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toUtf8();
        putText(text.constData(), static_cast<std::size_t>(text.size()));
        return;
    }
    char* at = m_batches.back().grow(8);
    const auto jd = static_cast<std::int32_t>(julianDay);
    const auto ms = static_cast<std::int32_t>(msecsOfDay);
    std::memcpy(at, &jd, 4);
    std::memcpy(at + 4, &ms, 4);
    ++m_column;
}

void RowStore::endRow()
{
    while (m_column < columnCount())
        putNull();
    m_batches.back().offsets.push_back(static_cast<std::uint32_t>(m_rowStart));
    ++m_rows;
    if (static_cast<int>(m_batches.back().offsets.size()) == BatchRows)
        m_batches.back().shrink();
}

const char* RowStore::cell(int row, int column, bool& isNull) const
{
    if (row != m_lastRow) {
        const Batch& batch = m_batches[static_cast<std::size_t>(row / BatchRows)];
        m_lastRowStart = batch.data + batch.offsets[static_cast<std::size_t>(row % BatchRows)];
        m_lastRow = row;
        m_cellStarts[0] = m_lastRowStart + m_bitmapBytes;
        m_knownColumns = 1;
    }
    const auto* bitmap = reinterpret_cast<const unsigned char*>(m_lastRowStart);
    isNull = bitmap[column / 8] & (1 << (column % 8));
    if (isNull)
        return nullptr;
    if (column < m_knownColumns)
        return m_cellStarts[static_cast<std::size_t>(column)];
    int c = m_knownColumns - 1;
    const char* p = m_cellStarts[static_cast<std::size_t>(c)];
    for (; c < column; ++c) {
        if (!(bitmap[c / 8] & (1 << (c % 8))))
            skipCell(m_types[static_cast<std::size_t>(c)], p);
        m_cellStarts[static_cast<std::size_t>(c + 1)] = p;
    }
    m_knownColumns = column + 1;
    return p;
}

bool RowStore::isNull(int row, int column) const
{
    const Batch& batch = m_batches[static_cast<std::size_t>(row / BatchRows)];
    const auto* bitmap =
        reinterpret_cast<const unsigned char*>(batch.data + batch.offsets[static_cast<std::size_t>(row % BatchRows)]);
    return bitmap[column / 8] & (1 << (column % 8));
}

QVariant RowStore::value(int row, int column) const
{
    bool null = false;
    const char* p = cell(row, column, null);
    const FieldType type = m_types[static_cast<std::size_t>(column)];
    if (null)
        return nullValue(type);
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32: return QVariant(static_cast<int>(unzigzag(readVarint(p))));
    case FieldType::Int64: return QVariant(static_cast<qlonglong>(unzigzag(readVarint(p))));
    case FieldType::Float: {
        double v;
        std::memcpy(&v, p, 8);
        return QVariant(v);
    }
    case FieldType::DateTime: {
        std::int32_t jd, ms;
        std::memcpy(&jd, p, 4);
        std::memcpy(&ms, p + 4, 4);
        return dateTimeValue(jd, ms);
    }
    case FieldType::Blob: {
        const auto length = readVarint(p);
        return QVariant(QByteArray(p, static_cast<qsizetype>(length)));
    }
    case FieldType::Text:
    case FieldType::Memo: {
        const auto length = readVarint(p);
        return QVariant(QString::fromUtf8(p, static_cast<qsizetype>(length)));
    }
    }
    return {};
}

template <typename T>
T RowStore::numberValue(int row, int column) const
{
    bool null = false;
    const char* p = cell(row, column, null);
    if (null)
        return 0;
    switch (m_types[static_cast<std::size_t>(column)]) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: return T(unzigzag(readVarint(p)));
    case FieldType::Float: {
        double v;
        std::memcpy(&v, p, 8);
        return T(v);
    }
    default: return value(row, column).value<T>();
    }
}

qint64 RowStore::intValue(int row, int column) const { return numberValue<qint64>(row, column); }
double RowStore::floatValue(int row, int column) const { return numberValue<double>(row, column); }

QString RowStore::textValue(int row, int column) const
{
    const FieldType type = m_types[static_cast<std::size_t>(column)];
    if (type != FieldType::Text && type != FieldType::Memo)
        return value(row, column).toString();
    bool null = false;
    const char* p = cell(row, column, null);
    if (null)
        return {};
    const auto length = readVarint(p);
    return QString::fromUtf8(p, static_cast<qsizetype>(length));
}

QDateTime RowStore::dateTimeAt(int row, int column) const
{
    if (m_types[static_cast<std::size_t>(column)] != FieldType::DateTime)
        return value(row, column).toDateTime();
    bool null = false;
    const char* p = cell(row, column, null);
    if (null)
        return {};
    std::int32_t jd, ms;
    std::memcpy(&jd, p, 4);
    std::memcpy(&ms, p + 4, 4);
    return localDateTime(jd, ms);
}

QVariant RowStore::nullValue(FieldType type)
{
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32: return QVariant(QMetaType::fromType<int>());
    case FieldType::Int64: return QVariant(QMetaType::fromType<qlonglong>());
    case FieldType::Float: return QVariant(QMetaType::fromType<double>());
    case FieldType::DateTime: return QVariant(QMetaType::fromType<QDateTime>());
    case FieldType::Blob: return QVariant(QMetaType::fromType<QByteArray>());
    default: return QVariant(QMetaType::fromType<QString>());
    }
}

bool RowStore::parseDateTime(const char* text, std::size_t length, qint64& julianDay, int& msecs)
{
    if (length < 10 || text[4] != '-' || text[7] != '-')
        return false;
    const int y = digits(text, 4), mo = digits(text + 5, 2), d = digits(text + 8, 2);
    if (y < 1 || mo < 1 || mo > 12 || d < 1)
        return false;
    static constexpr int monthDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    if (d > monthDays[mo - 1] + (mo == 2 && leap ? 1 : 0))
        return false;
    // Days from the civil date (proleptic Gregorian), without QDate: this runs per cell.
    const int yy = mo <= 2 ? y - 1 : y;
    const int era = yy / 400;
    const int yearOfEra = yy - era * 400;
    const int dayOfYear = (153 * (mo + (mo > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    julianDay = qint64(era) * 146097 + dayOfEra - 719468 + 2440588;
    msecs = 0;
    if (length >= 16 && (text[10] == ' ' || text[10] == 'T') && text[13] == ':') {
        const int h = digits(text + 11, 2), mi = digits(text + 14, 2);
        int s = 0, ms = 0;
        if (length >= 19 && text[16] == ':')
            s = digits(text + 17, 2);
        // Out of range is not a date: 99:99:99 must not become four days later.
        if (h < 0 || mi < 0 || s < 0 || h > 23 || mi > 59 || s > 59)
            return false;
        if (length > 20 && text[19] == '.') {
            int scale = 100;
            for (std::size_t i = 20; i < length && text[i] >= '0' && text[i] <= '9'; ++i) {
                ms += (text[i] - '0') * scale;
                scale /= 10;
            }
        }
        msecs = ((h * 60 + mi) * 60 + s) * 1000 + ms;
    }
    return true;
}

// Any conversion to or from local time makes Qt call tzset(), which re-reads
// the zone file on every call when TZ is not set: far too slow for a million
// rows. So each day's offset from UTC is found once, and the value carries
// that offset: the same wall-clock time and the same instant as local time.
// Days on which the offset changes get a true local time, the slow way.
QVariant RowStore::dateTimeValue(qint64 julianDay, int msecs) { return QVariant(localDateTime(julianDay, msecs)); }

QDateTime RowStore::localDateTime(qint64 julianDay, int msecs)
{
    struct DayOffset {
        qint64 day = std::numeric_limits<qint64>::min();
        int offset = 0;
        bool steady = false;
    };
    // Direct-mapped by day number: the days of a large table fall on distinct
    // slots, and a slot taken by another day is simply found again the slow way.
    constexpr std::size_t Slots = 8192;
    thread_local std::vector<DayOffset> days(Slots);
    DayOffset& entry = days[static_cast<std::size_t>(julianDay) & (Slots - 1)];
    if (entry.day != julianDay) {
        const QDate date = QDate::fromJulianDay(julianDay);
        const int start = date.startOfDay().offsetFromUtc();
        const int end = date.endOfDay().offsetFromUtc();
        entry = DayOffset{julianDay, start, start == end};
    }
    if (!entry.steady)
        return QDateTime(QDate::fromJulianDay(julianDay), QTime::fromMSecsSinceStartOfDay(msecs));
    constexpr qint64 UnixEpochDay = 2440588;
    const qint64 wall = (julianDay - UnixEpochDay) * 86400000LL + msecs;
    return QDateTime::fromMSecsSinceEpoch(wall - qint64(entry.offset) * 1000, Qt::OffsetFromUTC, entry.offset);
}

} // namespace kv::db
