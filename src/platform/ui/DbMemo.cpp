#include "platform/ui/DbMemo.h"

#include "platform/ui/FieldLink.h"
#include "platform/ui/MessageService.h"

namespace kv::ui {

DbMemo::DbMemo(QWidget* parent) : QPlainTextEdit(parent), m_link(new FieldLink([this] { refresh(); }, this))
{
    connect(this, &QPlainTextEdit::textChanged, this, &DbMemo::typed);
}

void DbMemo::setField(kv::db::Dataset* dataset, const QString& fieldName) { m_link->setField(dataset, fieldName); }

void DbMemo::refresh()
{
    m_refreshing = true;
    setPlainText(m_link->value().toString());
    m_refreshing = false;
}

void DbMemo::typed()
{
    if (m_refreshing || !m_link->isActive())
        return;
    QString text = toPlainText();
    const int size = m_link->fieldDef()->size;
    if (size > 0 && text.size() > size) {
        text.truncate(size);
        m_refreshing = true;
        setPlainText(text);
        moveCursor(QTextCursor::End);
        m_refreshing = false;
    }
    QString error;
    if (!m_link->write(text, &error)) {
        messages().fail(error);
        refresh();
    }
}

} // namespace kv::ui
