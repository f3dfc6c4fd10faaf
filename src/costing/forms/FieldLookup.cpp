#include "costing/forms/FieldLookup.h"

#include "platform/ui/LookupDialog.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

namespace kv::costing {

void addFieldAction(QWidget* field, const QString& text, const QKeySequence& key, std::function<void()> action)
{
    auto* entry = new QAction(text, field);
    entry->setShortcut(key);
    entry->setShortcutContext(Qt::WidgetShortcut);
    field->addAction(entry);
    field->setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(entry, &QAction::triggered, field, std::move(action));
}

bool runLookup(kv::db::Dataset& list, std::vector<kv::ui::GridColumn> columns, QWidget* parent)
{
    kv::ui::LookupDialog dialog(list, std::move(columns), parent);
    return dialog.exec() == QDialog::Accepted;
}

QString numericAlphabeticHint()
{
    return QStringLiteral("Teclas <Insert> - Procura Numérica <Ctrl-Insert> Procura Alfabética");
}

} // namespace kv::costing
