#pragma once

#include "platform/ui/GridColumn.h"

#include <QPointer>
#include <QTableView>
#include <vector>

namespace kv::db {
class Dataset;
}

namespace kv::ui {

class DatasetModel;

// The grid over a dataset: one line per row, titles and column lines, the
// whole row selected; read-only but for check-box columns (GridColumn::checkBox),
// whose tick (mouse or space bar) writes "S" or "N" into the row, and the
// columns typed into (setEditableFields). The grid's current line and the dataset's
// current row move together both ways. Tab leaves the grid; the form's
// enter and exit handlers of the grid run as for any field.
class DbGrid : public QTableView {
    Q_OBJECT
public:
    explicit DbGrid(QWidget* parent = nullptr);

    void setDataset(kv::db::Dataset* dataset, std::vector<GridColumn> columns = {});
    kv::db::Dataset* dataset() const;
    // The fields whose cells the user types into.
    void setEditableFields(const QStringList& fields);
    DatasetModel* datasetModel() const { return m_model; }

    int rowCount() const;
    QString cellText(int row, int column) const;

    // Pixels of a column `characters` wide in the grid's font.
    int charactersWidth(int characters) const;

    // Every column at its width and eight lines; at the least three lines
    // and as much width as a form usually has.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void rowActivated(int row); // a line double-clicked

protected:
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void followDataset();
    void applyWidths();

    DatasetModel* m_model;
    bool m_following = false;
};

} // namespace kv::ui
