#include "costing/forms/FieldLookup.h"

#include "platform/ui/LookupDialog.h"

#include <QKeySequence>
#include <QWidget>

namespace kv::costing {

void addFieldAction(QWidget* field, const QString& text, const QKeySequence& key, std::function<void()> action)
{
    kv::ui::addFieldAction(field, text, key, std::move(action));
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
