#include "imaging/core/UndoHistory.h"

namespace kv::imaging {

UndoHistory& UndoHistory::shared()
{
    static UndoHistory history;
    return history;
}

void UndoHistory::push(const QImage& picture)
{
    for (int i = kDepth - 1; i > 0; --i)
        m_entries[std::size_t(i)] = m_entries[std::size_t(i - 1)];
    m_entries[0] = picture;
}

int UndoHistory::count() const
{
    int n = 0;
    for (const QImage& image : m_entries)
        n += image.isNull() ? 0 : 1;
    return n;
}

void UndoHistory::clear() { m_entries.fill(QImage()); }

} // namespace kv::imaging
