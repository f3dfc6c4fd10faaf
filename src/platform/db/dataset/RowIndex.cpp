#include "platform/db/dataset/RowIndex.h"

#include <algorithm>
#include <numeric>

namespace kv::db {

int RowIndex::physicalIndexOf(RowId id) const
{
    if (!m_physicalListed)
        return id;
    return int(std::find(m_physical.begin(), m_physical.end(), id) - m_physical.begin());
}

int RowIndex::rowOf(RowId id) const
{
    for (int row = 0; row < visibleCount(); ++row)
        if (idAt(row) == id)
            return row;
    return -1;
}

void RowIndex::reset(bool release)
{
    m_physical.clear();
    m_visible.clear();
    if (release) {
        m_physical.shrink_to_fit();
        m_visible.shrink_to_fit();
    }
    m_physicalListed = false;
    m_showsAll = true;
}

void RowIndex::listPhysical()
{
    if (m_physicalListed)
        return;
    m_physical.resize(std::size_t(m_store.size()));
    std::iota(m_physical.begin(), m_physical.end(), 0);
    m_physicalListed = true;
}

void RowIndex::listVisible()
{
    if (!m_showsAll)
        return;
    m_visible.resize(std::size_t(physicalCount()));
    for (int i = 0; i < int(m_visible.size()); ++i)
        m_visible[std::size_t(i)] = physicalAt(i);
    m_showsAll = false;
}

void RowIndex::rebuild(bool all, const std::function<bool(RowId)>& shown)
{
    m_visible.clear();
    m_showsAll = all;
    if (m_showsAll)
        return;
    const int n = physicalCount();
    m_visible.reserve(std::size_t(n));
    for (int i = 0; i < n; ++i) {
        const RowId id = physicalAt(i);
        if (shown(id))
            m_visible.push_back(id);
    }
}

void RowIndex::addFetched(RowId first, const std::function<bool(RowId)>& shown)
{
    for (RowId id = first; id < m_store.size(); ++id) {
        if (m_physicalListed)
            m_physical.push_back(id);
        if (!m_showsAll && shown(id))
            m_visible.push_back(id);
    }
}

void RowIndex::insert(RowId id, int row, int physicalIndex)
{
    m_physical.insert(m_physical.begin() + physicalIndex, id);
    if (!m_showsAll)
        m_visible.insert(m_visible.begin() + row, id);
}

void RowIndex::remove(RowId id)
{
    if (m_physicalListed)
        m_physical.erase(std::remove(m_physical.begin(), m_physical.end(), id), m_physical.end());
    if (!m_showsAll)
        m_visible.erase(std::remove(m_visible.begin(), m_visible.end(), id), m_visible.end());
}

void RowIndex::hide(int row)
{
    listVisible();
    m_visible.erase(m_visible.begin() + row);
}

} // namespace kv::db
