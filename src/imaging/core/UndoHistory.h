#pragma once

#include <QImage>
#include <array>

namespace kv::imaging {

// The four pictures replaced last, newest first, shared by every picture
// control of the program. Pictures are shared, not copied, until one changes.
class UndoHistory {
public:
    static constexpr int kDepth = 4;
    static UndoHistory& shared();

    void push(const QImage& picture);
    const QImage& entry(int index) const { return m_entries.at(std::size_t(index)); }
    int count() const;
    void clear();

private:
    std::array<QImage, kDepth> m_entries;
};

} // namespace kv::imaging
