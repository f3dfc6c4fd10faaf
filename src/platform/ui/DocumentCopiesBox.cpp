#include "platform/ui/DocumentCopiesBox.h"

#include "platform/ui/FieldWidth.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLineEdit>

namespace kv::ui {

DocumentCopiesBox::DocumentCopiesBox(const QString& title, QWidget* parent) : QGroupBox(title, parent)
{
    auto* grid = new QGridLayout(this);
    for (int i = 0; i < Slots; ++i) {
        m_boxes[i] = new QCheckBox(this);
        m_boxes[i]->setObjectName(QStringLiteral("ChkVia%1").arg(i + 1));
        m_edits[i] = new QLineEdit(this);
        m_edits[i]->setObjectName(QStringLiteral("DBEdit%1").arg(i + 1));
        m_edits[i]->setReadOnly(true);
        m_edits[i]->setFocusPolicy(Qt::NoFocus);
        setFieldWidth(m_edits[i], 15);
        grid->addWidget(m_boxes[i], i % 4, (i / 4) * 2);
        grid->addWidget(m_edits[i], i % 4, (i / 4) * 2 + 1);
    }
}

void DocumentCopiesBox::showNames(const QStringList& names, int tickedSlots)
{
    m_names = names;
    for (int i = 0; i < Slots; ++i) {
        m_edits[i]->setText(names.value(i));
        m_boxes[i]->setChecked(i < tickedSlots && !names.value(i).trimmed().isEmpty());
    }
}

std::array<bool, DocumentCopiesBox::Slots> DocumentCopiesBox::ticked() const
{
    std::array<bool, Slots> ticks{};
    for (int i = 0; i < Slots; ++i)
        ticks[i] = m_boxes[i]->isChecked();
    return ticks;
}

} // namespace kv::ui
