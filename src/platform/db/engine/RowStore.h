#pragma once

#include "platform/db/FieldDef.h"

#include <QByteArray>
#include <QDateTime>
#include <QVariant>
#include <cstdint>
#include <vector>

namespace kv::db {

// The rows a dataset has read, held compactly: each batch of rows is one byte
// arena with an offset per row, cells encoded by column type (a null bitmap,
// zig-zag varints for integers, UTF-8 with a length for text, a day number and
// milliseconds for date-times) and decoded only when a cell is asked for.
// A QVariant per cell would take several times the size of the data itself.
class RowStore {
public:
    static constexpr int BatchRows = 1024;

    RowStore() = default;
    explicit RowStore(std::vector<FieldType> types) { reset(std::move(types)); }
    void reset(std::vector<FieldType> types);
    void clear() { reset(m_types); }

    int size() const { return m_rows; }
    int columnCount() const { return static_cast<int>(m_types.size()); }

    // Writing one row: beginRow, one put per column in order, endRow.
    void beginRow();
    void putNull();
    void putInt(qint64 value);
    void putFloat(double value);
    void putText(const char* utf8, std::size_t length);
    void putBlob(const void* data, std::size_t length);
    void putDateTime(qint64 julianDay, int msecsOfDay);
    void endRow();

    bool isNull(int row, int column) const;
    QVariant value(int row, int column) const;
    // Typed reads without a QVariant, for numeric columns (null reads as 0).
    qint64 intValue(int row, int column) const;
    double floatValue(int row, int column) const;
    // Typed reads of text and date-time columns (null reads as empty / invalid).
    QString textValue(int row, int column) const;
    QDateTime dateTimeAt(int row, int column) const;

    // Parses "YYYY-MM-DD[ HH:MM:SS[.fff]]" (a 'T' may separate; a zone is ignored).
    static bool parseDateTime(const char* text, std::size_t length, qint64& julianDay, int& msecs);
    static QVariant dateTimeValue(qint64 julianDay, int msecs);
    static QDateTime localDateTime(qint64 julianDay, int msecs);
    // A null of the column type's QVariant type.
    static QVariant nullValue(FieldType type);

private:
    // One arena of encoded rows; grown by hand, since a std::vector's
    // insert costs more than the encoding itself.
    struct Batch {
        Batch() = default;
        Batch(Batch&& other) noexcept;
        Batch& operator=(Batch&& other) noexcept;
        ~Batch();
        char* data = nullptr;
        std::size_t size = 0;
        std::size_t capacity = 0;
        std::vector<std::uint32_t> offsets;
        // Room for bytes more, returned at the end.
        char* grow(std::size_t bytes)
        {
            if (size + bytes > capacity)
                reserveMore(bytes);
            char* at = data + size;
            size += bytes;
            return at;
        }
        void reserveMore(std::size_t bytes);
        void shrink();
    };
    void startBatch();
    const char* cell(int row, int column, bool& isNull) const;
    template <typename T>
    T numberValue(int row, int column) const;
    void putVarint(std::uint64_t value);
    void markNull();

    std::vector<FieldType> m_types;
    std::vector<Batch> m_batches;
    // Where the cells of the last row read start, as far as they were walked:
    // the fields of one row are read one after the other, in any order, and
    // each is found without walking the row from its start again.
    mutable int m_lastRow = -1;
    mutable const char* m_lastRowStart = nullptr;
    mutable int m_knownColumns = 0; // cells of m_lastRow whose start is known
    mutable std::vector<const char*> m_cellStarts;
    // Bytes of the last full batch: the next one starts with that room, so
    // filling it does not move it again and again.
    std::size_t m_batchBytesHint = 0;

    int m_bitmapBytes = 0;
    int m_rows = 0;
    std::size_t m_rowStart = 0;
    int m_column = 0;
};

} // namespace kv::db
