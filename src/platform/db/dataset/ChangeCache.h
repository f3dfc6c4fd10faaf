#pragma once

#include "platform/db/Dataset.h"
#include "platform/db/dataset/RowIndex.h"
#include "platform/db/engine/RowStore.h"

#include <unordered_map>
#include <unordered_set>
#include <vector>

namespace kv::db {

// A dataset's rows as the program changed them, over the rows as read: the
// values of each changed, new or deleted row, the values it was read with,
// and the log of pending changes in the order they were made. A row without
// an entry is the row store's own.
class ChangeCache {
public:
    // Where a row's values as read come from.
    enum class OldSource { Store, Null, Own };

    struct Entry {
        std::vector<QVariant> current;
        std::vector<QVariant> old; // used when source is Own
        OldSource source = OldSource::Store;
        bool pending = false; // has an entry in the log
        UpdateKind kind = UpdateKind::Modified;
    };

    ChangeCache(const RowStore& store, const std::vector<FieldDef>& fields) : m_store(store), m_fields(fields) {}

    void clear();

    // --- reading (data columns) ---
    bool has(RowId id) const { return !m_entries.empty() && m_entries.count(id); }
    QVariant value(RowId id, int column) const
    {
        if (!m_entries.empty()) {
            const auto it = m_entries.find(id);
            if (it != m_entries.end())
                return it->second.current[std::size_t(column)];
        }
        return m_store.value(id, column);
    }
    QVariant oldValue(RowId id, int column) const; // null for a new row
    std::vector<QVariant> values(RowId id) const;
    const Entry* find(RowId id) const;
    QVariant storedValue(RowId id, int column) const { return m_store.value(id, column); }
    Entry& at(RowId id) { return m_entries.at(id); }
    const Entry& at(RowId id) const { return m_entries.at(id); }

    // --- pending changes ---
    const std::vector<RowId>& log() const { return m_log; }
    bool isDeleted(RowId id) const { return m_deleted.count(id) > 0; }
    bool anyDeleted() const { return !m_deleted.empty(); }
    bool isPending(RowId id) const;

    // A new row, every value null.
    RowId addRow();
    // The row's edited values: a new row is logged as inserted, a row read
    // as modified when a value differs from the row's.
    void postInserted(RowId id, const std::vector<QVariant>& values);
    void postEdited(RowId id, const std::vector<QVariant>& values);
    // A deleted row: true when it was never written and simply goes (its
    // entry is dropped), false when its deletion is logged and it is hidden.
    bool remove(RowId id);
    void forget(RowId id) { m_entries.erase(id); }

    // After the log was written but for the entries skipped: written rows are
    // read as they now are, deleted ones go. Returns the rows that went.
    std::vector<RowId> settle(const std::vector<bool>& skipped);
    // Every pending change undone, the last first. Returns the new rows, which go.
    std::vector<RowId> revert();

private:
    Entry& entryFor(RowId id);
    void unlog(RowId id);

    const RowStore& m_store;
    const std::vector<FieldDef>& m_fields;
    std::unordered_map<RowId, Entry> m_entries;
    std::unordered_set<RowId> m_deleted; // pending deletions (hidden)
    std::vector<RowId> m_log; // pending changes, in the order made
    int m_insertedCount = 0;
};

} // namespace kv::db
