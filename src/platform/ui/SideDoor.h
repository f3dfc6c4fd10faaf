#pragma once

#include <QString>
#include <vector>

class QWidget;

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class FormRegistry;

// Opens another table's form from a side door (a button beside a lookup
// field) as every opener does: closes the opener's shared datasets that the
// form edits, creates the form's list report (when it has one), runs the
// form modally, frees both and opens the datasets again, so that the opener
// reads what was changed. Each dataset comes back with the parameters it had
// and stands on the row it stood on (when that row is still there).
// Returns false when the form is not registered.
bool openFromSideDoor(const FormRegistry& forms, QWidget* opener, const QString& formClass, const QString& reportClass,
                      const std::vector<kv::db::Dataset*>& shared);

} // namespace kv::ui
