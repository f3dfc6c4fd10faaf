#pragma once

#include "platform/ui/GridColumn.h"

#include <QAbstractTableModel>
#include <QPointer>
#include <vector>

namespace kv::db {
class Dataset;
}

namespace kv::ui {

// A table model over a dataset, read-only but for its check-box columns: rows are the dataset's visible
// rows, fetched as the view scrolls (the dataset's own batches), columns the
// given ones or every field. Follows the dataset's signals, so edits,
// inserts, deletions and reopening show at once.
class DatasetModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit DatasetModel(QObject* parent = nullptr);

    void setDataset(kv::db::Dataset* dataset, std::vector<GridColumn> columns = {});
    kv::db::Dataset* dataset() const { return m_dataset; }
    // The columns shown (every field of the open dataset when none were given).
    const std::vector<GridColumn>& columns() const { return m_shown; }
    int fieldIndex(int column) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A check-box column's tick: the row becomes current and takes "S" or "N".
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // The fields whose cells are typed into: the text becomes the current
    // row's value (numbers read as Portuguese text) and the row is posted.
    void setEditableFields(QStringList fields);
    bool isEditable(int column) const;
    bool setCellText(const QModelIndex& index, const QString& text);
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The text a cell shows.
    QString cellText(int row, int column) const;

Q_SIGNALS:
    void columnsChanged();

private:
    void resetAll();
    void rowsFetched(int first, int count);
    void rowInserted(int row);
    void rowRemoved(int row);
    void rowChanged(int row);
    void resolveColumns();

    QPointer<kv::db::Dataset> m_dataset;
    std::vector<GridColumn> m_given;
    std::vector<GridColumn> m_shown;
    QStringList m_editable;
    std::vector<int> m_fieldIndex;
    int m_rows = 0;
    QList<QMetaObject::Connection> m_connections;
};

} // namespace kv::ui
