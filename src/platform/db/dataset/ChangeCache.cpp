#include "platform/db/dataset/ChangeCache.h"

#include "platform/db/dataset/FieldConversion.h"

#include <algorithm>

namespace kv::db {

void ChangeCache::clear()
{
    m_entries.clear();
    m_deleted.clear();
    m_log.clear();
    m_insertedCount = 0;
}

QVariant ChangeCache::oldValue(RowId id, int column) const
{
    const auto it = m_entries.find(id);
    if (it == m_entries.end() || it->second.source == OldSource::Store)
        return id >= 0 ? m_store.value(id, column) : FieldConversion::nullOf(m_fields[std::size_t(column)].type);
    if (it->second.source == OldSource::Null)
        return FieldConversion::nullOf(m_fields[std::size_t(column)].type);
    return it->second.old[std::size_t(column)];
}

std::vector<QVariant> ChangeCache::values(RowId id) const
{
    const int count = m_store.columnCount();
    std::vector<QVariant> out;
    out.reserve(std::size_t(count));
    for (int c = 0; c < count; ++c)
        out.push_back(value(id, c));
    return out;
}

const ChangeCache::Entry* ChangeCache::find(RowId id) const
{
    const auto it = m_entries.find(id);
    return it == m_entries.end() ? nullptr : &it->second;
}

bool ChangeCache::isPending(RowId id) const
{
    const Entry* entry = find(id);
    return entry && entry->pending;
}

ChangeCache::Entry& ChangeCache::entryFor(RowId id)
{
    auto it = m_entries.find(id);
    if (it != m_entries.end())
        return it->second;
    std::vector<QVariant> read = values(id);
    Entry& entry = m_entries[id];
    entry.current = std::move(read);
    entry.source = OldSource::Store;
    return entry;
}

void ChangeCache::unlog(RowId id) { m_log.erase(std::remove(m_log.begin(), m_log.end(), id), m_log.end()); }

RowId ChangeCache::addRow()
{
    const RowId id = -(++m_insertedCount);
    Entry& entry = m_entries[id];
    for (int c = 0; c < m_store.columnCount(); ++c)
        entry.current.push_back(FieldConversion::nullOf(m_fields[std::size_t(c)].type));
    entry.source = OldSource::Null;
    return id;
}

void ChangeCache::postInserted(RowId id, const std::vector<QVariant>& values)
{
    Entry& entry = m_entries[id];
    entry.current = values;
    if (!entry.pending) {
        entry.pending = true;
        entry.kind = UpdateKind::Inserted;
        m_log.push_back(id);
    }
}

void ChangeCache::postEdited(RowId id, const std::vector<QVariant>& edited)
{
    const std::vector<QVariant> before = values(id);
    bool changed = false;
    for (std::size_t c = 0; c < before.size(); ++c)
        if (!FieldConversion::same(before[c], edited[c]))
            changed = true;
    if (!changed)
        return;
    Entry& entry = entryFor(id);
    entry.current = edited;
    if (!entry.pending) {
        entry.pending = true;
        entry.kind = UpdateKind::Modified;
        m_log.push_back(id);
    }
}

bool ChangeCache::remove(RowId id)
{
    const Entry* known = find(id);
    if (known && known->pending && known->kind == UpdateKind::Inserted) {
        unlog(id);
        m_entries.erase(id);
        return true;
    }
    Entry& entry = entryFor(id);
    if (entry.pending)
        unlog(id);
    entry.pending = true;
    entry.kind = UpdateKind::Deleted;
    m_log.push_back(id);
    m_deleted.insert(id);
    return false;
}

std::vector<RowId> ChangeCache::settle(const std::vector<bool>& skipped)
{
    std::vector<RowId> remaining;
    std::vector<RowId> gone;
    for (std::size_t i = 0; i < m_log.size(); ++i) {
        const RowId id = m_log[i];
        if (skipped[i]) {
            remaining.push_back(id);
            continue;
        }
        Entry& entry = m_entries.at(id);
        entry.pending = false;
        if (entry.kind == UpdateKind::Deleted) {
            m_deleted.erase(id);
            m_entries.erase(id);
            gone.push_back(id);
        } else {
            entry.old = entry.current;
            entry.source = OldSource::Own;
        }
    }
    m_log = std::move(remaining);
    return gone;
}

std::vector<RowId> ChangeCache::revert()
{
    std::vector<RowId> inserted;
    for (auto it = m_log.rbegin(); it != m_log.rend(); ++it) {
        const RowId id = *it;
        Entry& entry = m_entries.at(id);
        if (entry.kind == UpdateKind::Inserted) {
            m_entries.erase(id);
            inserted.push_back(id);
            continue;
        }
        m_deleted.erase(id);
        if (entry.source == OldSource::Store) {
            m_entries.erase(id);
        } else {
            entry.current = entry.old;
            entry.pending = false;
        }
    }
    m_log.clear();
    return inserted;
}

} // namespace kv::db
