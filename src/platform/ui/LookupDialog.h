#pragma once

#include "platform/ui/GridColumn.h"

#include <QDialog>
#include <functional>
#include <vector>

class QComboBox;
class QKeySequence;
class QLineEdit;
class QPushButton;

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class DbGrid;
class StatusBar;

// The selection dialog over a lookup list: the list's columns with their
// widths, a "search by" choice of column and an incremental search that
// moves the list to the first row whose column starts with the typed text
// (without regard to case), OK and Cancel. The dialog moves the list's own
// cursor: OK leaves the list on the row chosen, which the caller reads;
// Cancel (or the close box) puts the list back on the row it stood on, and
// the caller takes nothing.
//
// Controls: "SearchBy" (combo), "SearchText" (edit), "Grid", "OKBtn",
// "CancelBtn", "StatusBar".
class LookupDialog : public QDialog {
    Q_OBJECT
public:
    LookupDialog(kv::db::Dataset& list, std::vector<GridColumn> columns, QWidget* parent = nullptr,
                 const QString& caption = QStringLiteral("Localizar"));

    // The column searched (an index into the columns); the first by default.
    void setSearchColumn(int column);
    int searchColumn() const { return m_searchColumn; }
    // Types into the search text, as the user would.
    void setSearchText(const QString& text);
    // For a list that holds only a window of its rows: moves the list to the
    // typed text of a field by a query of its own and says whether it did;
    // otherwise the search looks among the rows read.
    using SearchQuery = std::function<bool(const QString& field, const QString& text)>;
    void setSearchQuery(SearchQuery query) { m_searchQuery = std::move(query); }

    DbGrid* grid() const { return m_grid; }
    kv::db::Dataset& list() const { return m_list; }

    void reject() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void search(const QString& text);

    kv::db::Dataset& m_list;
    std::vector<GridColumn> m_columns;
    int m_searchColumn = 0;
    int m_startRow;
    SearchQuery m_searchQuery;
    QComboBox* m_searchBy;
    QLineEdit* m_searchText;
    DbGrid* m_grid;
    StatusBar* m_statusBar;
};

// An entry of a field's popup menu, also reached by its key while the field
// has the focus ("Procura Simples" on Insert).
void addFieldAction(QWidget* field, const QString& text, const QKeySequence& key, std::function<void()> action);

} // namespace kv::ui
