#include "platform/ui/TDBLookupComboDlg.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/FieldLink.h"
#include "platform/ui/FieldText.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

namespace kv::ui {

TDBLookupComboDlg::TDBLookupComboDlg(QWidget* parent)
    : QWidget(parent), m_link(new FieldLink([this] { refresh(); }, this))
{
    m_edit = new QLineEdit(this);
    m_edit->setObjectName(QStringLiteral("Edit"));
    m_edit->setReadOnly(true);
    m_edit->installEventFilter(this);
    m_button = new QToolButton(this);
    m_button->setObjectName(QStringLiteral("Button"));
    m_button->setText(QStringLiteral("..."));
    m_button->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_button);
    setFocusProxy(m_edit);
    setFocusPolicy(Qt::StrongFocus);
    connect(m_button, &QToolButton::clicked, this, [this] { execute(); });
}

void TDBLookupComboDlg::setField(kv::db::Dataset* dataset, const QString& fieldName)
{
    m_link->setField(dataset, fieldName);
}

void TDBLookupComboDlg::setLookup(kv::db::Dataset* list, const QString& lookupField, std::vector<GridColumn> columns)
{
    m_list = list;
    m_lookupField = lookupField;
    m_columns = std::move(columns);
    if (m_columns.empty())
        m_columns.push_back(GridColumn{lookupField, {}, 0, {}});
}

QString TDBLookupComboDlg::text() const { return m_edit->text(); }

void TDBLookupComboDlg::refresh()
{
    const kv::db::FieldDef* def = m_link->fieldDef();
    m_edit->setText(def ? fieldText(def->type, m_link->value()) : QString());
}

bool TDBLookupComboDlg::execute(const QString& search)
{
    if (!m_list || !isEnabled())
        return false;
    try {
        if (!m_list->isOpen())
            m_list->open();
        const QVariant current = m_link->value();
        if (!current.isNull() && current.isValid())
            m_list->locate(m_lookupField, current);
    } catch (const kv::db::DbError& e) {
        messages().fail(e.text());
        return false;
    }
    int searchColumn = 0;
    for (int i = 0; i < static_cast<int>(m_columns.size()); ++i) {
        if (m_columns[static_cast<std::size_t>(i)].field.compare(m_lookupField, Qt::CaseInsensitive) == 0)
            searchColumn = i;
    }
    LookupDialog dialog(*m_list, m_columns, window(), m_caption);
    dialog.setSearchColumn(searchColumn);
    if (!search.isEmpty())
        dialog.setSearchText(search);
    if (dialog.exec() != QDialog::Accepted || !m_list || m_list->isEmpty())
        return false;
    QString error;
    if (!m_link->write(m_list->value(m_lookupField), &error)) {
        messages().fail(error);
        return false;
    }
    refresh();
    emit valueChosen();
    return true;
}

bool TDBLookupComboDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        const QString typed = key->text();
        const bool printable =
            !typed.isEmpty() && typed.at(0).isPrint() && !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier));
        if (printable) {
            execute(typed);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kv::ui
