#include "platform/ui/DbGrid.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DatasetModel.h"
#include "platform/db/DbError.h"
#include "platform/ui/MessageService.h"

#include <QHeaderView>
#include <QStyle>

#include <algorithm>

namespace kv::ui {

using kv::db::Dataset;

DbGrid::DbGrid(QWidget* parent) : QTableView(parent), m_model(new DatasetModel(this))
{
    setModel(m_model);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setTabKeyNavigation(false);
    setShowGrid(true);
    setWordWrap(false);
    setAlternatingRowColors(false);
    verticalHeader()->hide();
    // Fixed line height: long lists scroll without measuring every row.
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(false);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        applyWidths();
        followDataset();
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &DbGrid::followDataset);
    connect(m_model, &QAbstractItemModel::rowsRemoved, this, &DbGrid::followDataset);
    connect(this, &QAbstractItemView::doubleClicked, this,
            [this](const QModelIndex& index) { emit rowActivated(index.row()); });
}

void DbGrid::setDataset(Dataset* dataset, std::vector<GridColumn> columns)
{
    if (Dataset* previous = m_model->dataset())
        disconnect(previous, &Dataset::currentChanged, this, nullptr);
    m_model->setDataset(dataset, std::move(columns));
    if (dataset)
        connect(dataset, &Dataset::currentChanged, this, &DbGrid::followDataset);
    applyWidths();
    followDataset();
}

void DbGrid::setEditableFields(const QStringList& fields)
{
    m_model->setEditableFields(fields);
    setEditTriggers(fields.isEmpty() ? QAbstractItemView::NoEditTriggers
                                     : QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                                           | QAbstractItemView::AnyKeyPressed);
}

Dataset* DbGrid::dataset() const { return m_model->dataset(); }

int DbGrid::rowCount() const { return m_model->rowCount(); }

QString DbGrid::cellText(int row, int column) const { return m_model->cellText(row, column); }

int DbGrid::charactersWidth(int characters) const { return fontMetrics().averageCharWidth() * characters + 8; }

void DbGrid::applyWidths()
{
    Dataset* dataset = m_model->dataset();
    const auto& columns = m_model->columns();
    for (int i = 0; i < static_cast<int>(columns.size()); ++i) {
        int characters = columns[static_cast<std::size_t>(i)].width;
        if (characters <= 0) {
            const int field = m_model->fieldIndex(i);
            const int size = (dataset && field >= 0) ? dataset->fieldDef(field).size : 0;
            characters = size > 0 ? std::min(size, 40) : 10;
        }
        // A title is never cut: the column is at least as wide as its title.
        const int title = horizontalHeader()->sectionSizeHint(i);
        setColumnWidth(i, std::max(charactersWidth(characters), title));
    }
    updateGeometry();
}

QSize DbGrid::sizeHint() const
{
    int width = 0;
    for (int i = 0; i < horizontalHeader()->count(); ++i)
        if (!horizontalHeader()->isSectionHidden(i))
            width += columnWidth(i);
    const int frame = 2 * frameWidth();
    const int scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    const int lines = 8;
    return {width + frame + scrollBar + (verticalHeader()->isVisible() ? verticalHeader()->width() : 0),
            horizontalHeader()->sizeHint().height() + lines * verticalHeader()->defaultSectionSize() + frame
                + scrollBar};
}

QSize DbGrid::minimumSizeHint() const
{
    const QSize full = sizeHint();
    const int lines = 3;
    return {std::min(full.width(), 400), horizontalHeader()->sizeHint().height()
                                             + lines * verticalHeader()->defaultSectionSize() + 2 * frameWidth()
                                             + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this)};
}

void DbGrid::followDataset()
{
    Dataset* dataset = m_model->dataset();
    if (m_following || !dataset)
        return;
    m_following = true;
    const int row = dataset->isOpen() ? dataset->currentRow() : -1;
    if (row >= 0 && row < m_model->rowCount()) {
        const int column = std::max(0, currentIndex().column());
        const QModelIndex index = m_model->index(row, column);
        if (currentIndex() != index)
            selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        else if (!selectionModel()->isRowSelected(row, {}))
            selectionModel()->select(index, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        scrollTo(index);
    } else if (currentIndex().isValid()) {
        selectionModel()->clear();
    }
    m_following = false;
}

void DbGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    Dataset* dataset = m_model->dataset();
    if (m_following || !dataset || !dataset->isOpen() || !current.isValid())
        return;
    if (current.row() == dataset->currentRow())
        return;
    m_following = true;
    try {
        dataset->moveTo(current.row());
    } catch (const kv::db::DbError& e) {
        messages().fail(e.text());
    }
    m_following = false;
    // The dataset may refuse to move (a row it could not post): show where it is.
    followDataset();
}

} // namespace kv::ui
