#pragma once

#include "platform/ui/GridColumn.h"

#include <QString>
#include <functional>
#include <vector>

class QKeySequence;
class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::costing {

// An entry of a field's popup menu, also reached by its key while the field
// has the focus ("Procura Numérica" on Insert).
void addFieldAction(QWidget* field, const QString& text, const QKeySequence& key, std::function<void()> action);

// Shows the lookup dialog "Localizar" over `list`. True when the user chose
// a row with OK: the list stands on it and the caller takes it. On Cancel the
// list is back where it was and the caller changes nothing.
[[nodiscard]] bool runLookup(kv::db::Dataset& list, std::vector<kv::ui::GridColumn> columns, QWidget* parent);

// Lookup key hints of the status bar.
QString numericAlphabeticHint(); // "Teclas <Insert> - Procura Numérica <Ctrl-Insert> Procura Alfabética"

} // namespace kv::costing
