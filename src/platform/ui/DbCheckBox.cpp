#include "platform/ui/DbCheckBox.h"

#include "platform/ui/FieldLink.h"
#include "platform/ui/MessageService.h"

namespace kv::ui {

DbCheckBox::DbCheckBox(const QString& text, QWidget* parent)
    : QCheckBox(text, parent), m_link(new FieldLink([this] { refresh(); }, this))
{
    connect(this, &QCheckBox::clicked, this, &DbCheckBox::clickedByUser);
}

void DbCheckBox::setField(kv::db::Dataset* dataset, const QString& fieldName) { m_link->setField(dataset, fieldName); }

void DbCheckBox::setValues(const QVariant& checked, const QVariant& unchecked)
{
    m_checked = checked;
    m_unchecked = unchecked;
    refresh();
}

void DbCheckBox::refresh()
{
    const QVariant value = m_link->value();
    setChecked(value.isValid() && !value.isNull() && value.toString() == m_checked.toString());
}

void DbCheckBox::clickedByUser(bool checked)
{
    QString error;
    if (!m_link->write(checked ? m_checked : m_unchecked, &error)) {
        messages().fail(error);
        refresh();
    }
}

} // namespace kv::ui
