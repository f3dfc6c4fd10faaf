#include "platform/ui/DatasetModel.h"

#include "platform/db/Dataset.h"
#include "platform/ui/FieldText.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageService.h"

namespace kv::ui {

using kv::db::Dataset;

DatasetModel::DatasetModel(QObject* parent) : QAbstractTableModel(parent) {}

void DatasetModel::setDataset(Dataset* dataset, std::vector<GridColumn> columns)
{
    for (const auto& connection : m_connections)
        disconnect(connection);
    m_connections.clear();
    m_dataset = dataset;
    m_given = std::move(columns);
    if (dataset) {
        m_connections << connect(dataset, &Dataset::opened, this, &DatasetModel::resetAll)
                      << connect(dataset, &Dataset::closed, this, &DatasetModel::resetAll)
                      << connect(dataset, &Dataset::reset, this, &DatasetModel::resetAll)
                      << connect(dataset, &Dataset::rowsFetched, this, &DatasetModel::rowsFetched)
                      << connect(dataset, &Dataset::rowInserted, this, &DatasetModel::rowInserted)
                      << connect(dataset, &Dataset::rowRemoved, this, &DatasetModel::rowRemoved)
                      << connect(dataset, &Dataset::rowChanged, this, &DatasetModel::rowChanged);
    }
    resetAll();
}

void DatasetModel::resolveColumns()
{
    m_shown.clear();
    m_fieldIndex.clear();
    if (!m_dataset || !m_dataset->isOpen()) {
        m_shown = m_given;
        m_fieldIndex.assign(m_shown.size(), -1);
        return;
    }
    if (m_given.empty()) {
        for (int i = 0; i < m_dataset->fieldCount(); ++i) {
            GridColumn column;
            column.field = m_dataset->fieldDef(i).name;
            m_shown.push_back(column);
            m_fieldIndex.push_back(i);
        }
        return;
    }
    m_shown = m_given;
    for (const GridColumn& column : m_shown)
        m_fieldIndex.push_back(m_dataset->fieldIndex(column.field));
}

void DatasetModel::resetAll()
{
    beginResetModel();
    const auto previous = m_shown.size();
    resolveColumns();
    m_rows = (m_dataset && m_dataset->isOpen()) ? m_dataset->fetchedCount() : 0;
    endResetModel();
    if (previous != m_shown.size() || m_given.empty())
        emit columnsChanged();
}

void DatasetModel::rowsFetched(int first, int count)
{
    if (count <= 0)
        return;
    if (first != m_rows || !m_dataset || m_dataset->fetchedCount() != m_rows + count) {
        resetAll();
        return;
    }
    beginInsertRows({}, first, first + count - 1);
    m_rows += count;
    endInsertRows();
}

void DatasetModel::rowInserted(int row)
{
    if (!m_dataset || row < 0 || row > m_rows || m_dataset->fetchedCount() != m_rows + 1) {
        resetAll();
        return;
    }
    beginInsertRows({}, row, row);
    ++m_rows;
    endInsertRows();
}

void DatasetModel::rowRemoved(int row)
{
    if (!m_dataset || row < 0 || row >= m_rows || m_dataset->fetchedCount() != m_rows - 1) {
        resetAll();
        return;
    }
    beginRemoveRows({}, row, row);
    --m_rows;
    endRemoveRows();
}

void DatasetModel::rowChanged(int row)
{
    if (row < 0 || row >= m_rows)
        return;
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int DatasetModel::fieldIndex(int column) const
{
    if (column < 0 || column >= static_cast<int>(m_fieldIndex.size()))
        return -1;
    return m_fieldIndex[static_cast<std::size_t>(column)];
}

int DatasetModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows; }

int DatasetModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_shown.size());
}

void DatasetModel::setEditableFields(QStringList fields) { m_editable = std::move(fields); }

bool DatasetModel::isEditable(int column) const
{
    return column >= 0 && column < static_cast<int>(m_shown.size())
           && m_editable.contains(m_shown[static_cast<std::size_t>(column)].field, Qt::CaseInsensitive);
}

QString DatasetModel::cellText(int row, int column) const
{
    const int field = fieldIndex(column);
    if (!m_dataset || field < 0 || row < 0 || row >= m_rows)
        return {};
    const QVariant value = m_dataset->valueAt(row, field);
    const GridColumn& spec = m_shown[static_cast<std::size_t>(column)];
    if (spec.format)
        return spec.format(value);
    return fieldText(m_dataset->fieldDef(field).type, value);
}

QVariant DatasetModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    const bool checkBox = m_shown[static_cast<std::size_t>(index.column())].checkBox;
    if (checkBox && role == Qt::CheckStateRole)
        return cellText(index.row(), index.column()) == QLatin1String("S") ? Qt::Checked : Qt::Unchecked;
    if (role == Qt::DisplayRole || role == Qt::EditRole)
        return checkBox ? QVariant() : QVariant(cellText(index.row(), index.column()));
    if (role == Qt::TextAlignmentRole) {
        if (const Qt::Alignment alignment = m_shown[static_cast<std::size_t>(index.column())].alignment)
            return QVariant::fromValue(alignment | Qt::AlignVCenter);
        const int field = fieldIndex(index.column());
        if (m_dataset && field >= 0 && kv::db::isNumericType(m_dataset->fieldDef(field).type))
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    }
    return {};
}

Qt::ItemFlags DatasetModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (index.isValid() && m_shown[static_cast<std::size_t>(index.column())].checkBox
        && fieldIndex(index.column()) >= 0)
        flags |= Qt::ItemIsUserCheckable;
    if (index.isValid() && isEditable(index.column()) && fieldIndex(index.column()) >= 0)
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool DatasetModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (index.isValid() && role == Qt::EditRole && isEditable(index.column()))
        return setCellText(index, value.toString());
    if (!index.isValid() || role != Qt::CheckStateRole || !m_dataset || !m_dataset->isOpen()
        || !m_shown[static_cast<std::size_t>(index.column())].checkBox)
        return false;
    const int field = fieldIndex(index.column());
    if (field < 0)
        return false;
    const bool ticked = value.toInt() == Qt::Checked;
    try {
        if (m_dataset->currentRow() != index.row() && !m_dataset->moveTo(index.row()))
            return false;
        if (m_dataset->state() == kv::db::DatasetState::Browse)
            m_dataset->edit();
        m_dataset->field(field).setValue(ticked ? QStringLiteral("S") : QStringLiteral("N"));
        m_dataset->post();
    } catch (const kv::db::DbError& error) {
        messages().fail(error.text());
        return false;
    }
    return true;
}

bool DatasetModel::setCellText(const QModelIndex& index, const QString& text)
{
    const int field = fieldIndex(index.column());
    if (!m_dataset || !m_dataset->isOpen() || field < 0)
        return false;
    QVariant value = text;
    if (kv::db::isNumericType(m_dataset->fieldDef(field).type)) {
        if (text.trimmed().isEmpty()) {
            value = QVariant();
        } else if (const auto number = kv::text::parseNumber(text)) {
            value = *number;
        } else {
            messages().fail(kv::text::notANumberMessage(text));
            return false;
        }
    } else if (m_dataset->fieldDef(field).type == kv::db::FieldType::DateTime) {
        // A date typed as the grid shows it ("dd/mm/yyyy"), without time of day.
        if (text.trimmed().isEmpty()) {
            value = QVariant();
        } else if (const auto date = kv::text::parseDate(text)) {
            value = date->startOfDay();
        } else {
            messages().fail(kv::text::notADateMessage(text));
            return false;
        }
    }
    try {
        if (m_dataset->currentRow() != index.row() && !m_dataset->moveTo(index.row()))
            return false;
        if (m_dataset->state() == kv::db::DatasetState::Browse)
            m_dataset->edit();
        m_dataset->field(field).setValue(value);
        m_dataset->post();
    } catch (const kv::db::DbError& error) {
        messages().fail(error.text());
        return false;
    }
    return true;
}

QVariant DatasetModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0
        || section >= static_cast<int>(m_shown.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const GridColumn& column = m_shown[static_cast<std::size_t>(section)];
    return column.title.isEmpty() ? column.field : column.title;
}

bool DatasetModel::canFetchMore(const QModelIndex& parent) const
{
    return !parent.isValid() && m_dataset && m_dataset->isOpen() && m_dataset->canFetchMore();
}

void DatasetModel::fetchMore(const QModelIndex& parent)
{
    if (canFetchMore(parent))
        m_dataset->fetchMore(); // rows arrive through rowsFetched
}

} // namespace kv::ui
