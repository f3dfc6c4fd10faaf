#pragma once

#include "platform/ui/GridColumn.h"

#include <QPointer>
#include <QWidget>
#include <vector>

class QLineEdit;
class QToolButton;

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class FieldLink;

// A field bound to a column of a dataset whose value is chosen from a lookup
// list: it shows the row's value; its button, or typing in it, opens a
// selection dialog ("Seleccione") over the list, and the lookup column of the
// row chosen with OK is written into the bound column. Cancel changes
// nothing, and no key clears the value.
//
// Controls: "Edit" (the value, focus of the field), "Button".
class TDBLookupComboDlg : public QWidget {
    Q_OBJECT
public:
    explicit TDBLookupComboDlg(QWidget* parent = nullptr);

    void setField(kv::db::Dataset* dataset, const QString& fieldName);
    // The list to choose from, the column whose value is written, and the
    // columns the dialog shows (the lookup column alone when none are given).
    void setLookup(kv::db::Dataset* list, const QString& lookupField, std::vector<GridColumn> columns = {});
    void setCaption(const QString& caption) { m_caption = caption; }

    QString text() const;
    QLineEdit* edit() const { return m_edit; }

    // Opens the selection dialog with `search` typed into its search text;
    // true when a row was chosen and written.
    bool execute(const QString& search = {});

Q_SIGNALS:
    void valueChosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void refresh();

    QLineEdit* m_edit;
    QToolButton* m_button;
    FieldLink* m_link;
    QPointer<kv::db::Dataset> m_list;
    QString m_lookupField;
    std::vector<GridColumn> m_columns;
    QString m_caption = QStringLiteral("Seleccione");
};

} // namespace kv::ui
