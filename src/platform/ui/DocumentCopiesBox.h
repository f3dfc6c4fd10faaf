#pragma once

#include <QGroupBox>
#include <QStringList>
#include <array>

class QCheckBox;
class QLineEdit;

namespace kv::ui {

// The eight named copies of a printed document: check boxes ChkVia1..8 with
// their names read-only beside them (DBEdit1..8), in two columns of four.
class DocumentCopiesBox : public QGroupBox {
    Q_OBJECT
public:
    static constexpr int Slots = 8;

    DocumentCopiesBox(const QString& title, QWidget* parent = nullptr);

    // Shows the names and ticks the named slots among the first `tickedSlots`
    // (the others unticked).
    void showNames(const QStringList& names, int tickedSlots = Slots);
    const QStringList& names() const { return m_names; }
    std::array<bool, Slots> ticked() const;

private:
    std::array<QCheckBox*, Slots> m_boxes{};
    std::array<QLineEdit*, Slots> m_edits{};
    QStringList m_names;
};

} // namespace kv::ui
