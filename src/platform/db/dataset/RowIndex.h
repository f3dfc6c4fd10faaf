#pragma once

#include "platform/db/engine/RowStore.h"

#include <functional>
#include <vector>

namespace kv::db {

// Row identities: rows read from the database are numbered from 0 as they are
// fetched; rows inserted by the program get negative numbers.
using RowId = int;

// The order of a dataset's rows and which of them are shown. Until a row is
// inserted or removed the rows are the row store's, in fetch order, and no
// list of them is kept; until a row is hidden every row is shown, and no list
// of shown rows is kept either. A plain read of many rows so costs no index.
class RowIndex {
public:
    explicit RowIndex(const RowStore& store) : m_store(store) {}

    int physicalCount() const { return m_physicalListed ? int(m_physical.size()) : m_store.size(); }
    RowId physicalAt(int i) const { return m_physicalListed ? m_physical[std::size_t(i)] : i; }
    int visibleCount() const { return m_showsAll ? physicalCount() : int(m_visible.size()); }
    RowId idAt(int row) const { return m_showsAll ? physicalAt(row) : m_visible[std::size_t(row)]; }
    int physicalIndexOf(RowId id) const;
    int rowOf(RowId id) const; // the visible row, -1 when not shown

    // Back to the store's rows, all shown; release gives the lists' memory back.
    void reset(bool release = false);
    // Lists every row from now on, so that rows can be inserted and removed.
    void listPhysical();
    // Lists the shown rows from now on, so that rows can be hidden.
    void listVisible();
    // Shows every row when all is true, else the rows shown() keeps.
    void rebuild(bool all, const std::function<bool(RowId)>& shown);
    // Takes in the store's rows from first on, just fetched; shown() is asked
    // only while some rows are hidden.
    void addFetched(RowId first, const std::function<bool(RowId)>& shown);

    // A new row at the physical position and visible row given (rows listed).
    void insert(RowId id, int row, int physicalIndex);
    void remove(RowId id);
    void hide(int row);

private:
    const RowStore& m_store;
    std::vector<RowId> m_physical; // every row in order, once rows were inserted or removed
    bool m_physicalListed = false;
    std::vector<RowId> m_visible; // the rows shown, while some are hidden
    bool m_showsAll = true;
};

} // namespace kv::db
