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

// Shows the lookup dialog "Localizar" over `list`; whatever the answer, the
// list stays on the row the dialog showed, and the caller takes that row.
void runLookup(kv::db::Dataset& list, std::vector<kv::ui::GridColumn> columns, QWidget* parent);

// Lookup key hints of the status bar.
QString numericAlphabeticHint(); // "Teclas <Insert> - Procura Numérica <Ctrl-Insert> Procura Alfabética"

} // namespace kv::costing
