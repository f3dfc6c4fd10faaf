#pragma once

#include "platform/db/Dataset.h"

#include <QDialog>

class QLabel;
class QTableWidget;
class QPushButton;

namespace kv::ui {

// Asked, while pending changes are applied, what to do with a record the
// database refused: shows the kind of change, the database's message and
// the record's new and old values (data fields only), and answers retry,
// skip or abort. The close box and Escape abort.
//
// Controls: "UpdateType", "ErrorText", "UpdateData", "RetryButton",
// "IgnoreButton", "AbortButton".
class TUpdateErrorForm : public QDialog {
    Q_OBJECT
public:
    explicit TUpdateErrorForm(QWidget* parent = nullptr);

    kv::db::UpdateAction HandleError(kv::db::Dataset& dataset, const kv::db::DbError& error, kv::db::UpdateKind kind);

    // HandleError of this dialog as a dataset's update-error handler.
    kv::db::UpdateErrorHandler handler();

    // "Modified", "Inserted", "Deleted".
    static QString updateKindText(kv::db::UpdateKind kind);

private:
    void fill(kv::db::Dataset& dataset, const kv::db::DbError& error, kv::db::UpdateKind kind);

    QLabel* m_updateType;
    QLabel* m_errorText;
    QTableWidget* m_updateData;
};

} // namespace kv::ui
