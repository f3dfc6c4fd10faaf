#include "platform/ui/LookupDialog.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/StatusBar.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::ui {

using kv::db::Dataset;

namespace {

// A column whose width the caller left to the grid.
constexpr int DefaultSearchCharacters = 20;

} // namespace

LookupDialog::LookupDialog(Dataset& list, std::vector<GridColumn> columns, QWidget* parent, const QString& caption)
    : QDialog(parent), m_list(list), m_columns(std::move(columns)), m_startRow(list.currentRow())
{
    setWindowTitle(caption);
    setObjectName(QStringLiteral("LookupDialog"));

    m_searchBy = new QComboBox(this);
    m_searchBy->setObjectName(QStringLiteral("SearchBy"));
    for (const GridColumn& column : m_columns)
        m_searchBy->addItem(column.title.isEmpty() ? column.field : column.title);
    m_searchText = new QLineEdit(this);
    m_searchText->setObjectName(QStringLiteral("SearchText"));
    m_grid = new DbGrid(this);
    m_grid->setObjectName(QStringLiteral("Grid"));
    m_grid->setDataset(&m_list, m_columns);
    m_grid->setFocusPolicy(Qt::ClickFocus);

    auto* ok = new QPushButton(QStringLiteral("OK"), this);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancelar"), this);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    m_statusBar = new StatusBar(1, this);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(new QLabel(QStringLiteral("Procurar por:"), this));
    searchRow->addWidget(m_searchBy);
    searchRow->addWidget(m_searchText);
    searchRow->addStretch(1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_grid, 1);
    layout->addLayout(buttons);
    layout->addWidget(m_statusBar);

    // The search text holds a value of any of the columns: as wide as the
    // widest. The dialog opens at its natural size, the grid showing its
    // columns and its lines.
    int characters = 0;
    for (const GridColumn& column : m_columns)
        characters = std::max(characters, column.width > 0 ? column.width : DefaultSearchCharacters);
    setFieldWidth(m_searchText, characters > 0 ? characters : DefaultSearchCharacters);

    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_grid, &DbGrid::rowActivated, this, &QDialog::accept);
    connect(m_searchBy, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_searchColumn = index;
        m_searchText->clear();
    });
    connect(m_searchText, &QLineEdit::textEdited, this, &LookupDialog::search);
    m_searchText->installEventFilter(this);
    m_searchText->setFocus();
}

void LookupDialog::setSearchColumn(int column)
{
    if (column >= 0 && column < m_searchBy->count())
        m_searchBy->setCurrentIndex(column);
}

void LookupDialog::setSearchText(const QString& text)
{
    m_searchText->setText(text);
    search(text);
}

void LookupDialog::search(const QString& text)
{
    if (text.isEmpty() || m_searchColumn < 0 || m_searchColumn >= static_cast<int>(m_columns.size()))
        return;
    const QString& field = m_columns[static_cast<std::size_t>(m_searchColumn)].field;
    if (m_searchQuery && m_searchQuery(field, text))
        return;
    try {
        m_list.locate(field, text, kv::db::LocateCaseInsensitive | kv::db::LocatePartialKey);
    } catch (const kv::db::DbError&) {
        // A search text that cannot be compared with the column finds nothing.
    }
}

void LookupDialog::reject()
{
    QDialog::reject();
    if (m_list.isOpen() && m_startRow >= 0 && m_list.currentRow() != m_startRow)
        m_list.moveTo(m_startRow);
}

bool LookupDialog::eventFilter(QObject* watched, QEvent* event)
{
    // Arrow and page keys in the search text move the list.
    if (watched == m_searchText && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down || key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
            QKeyEvent copy(QEvent::KeyPress, key, static_cast<QKeyEvent*>(event)->modifiers());
            QApplication::sendEvent(m_grid, &copy);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void addFieldAction(QWidget* field, const QString& text, const QKeySequence& key, std::function<void()> action)
{
    auto* entry = new QAction(text, field);
    entry->setShortcut(key);
    entry->setShortcutContext(Qt::WidgetShortcut);
    field->addAction(entry);
    field->setContextMenuPolicy(Qt::ActionsContextMenu);
    QObject::connect(entry, &QAction::triggered, field, std::move(action));
}

} // namespace kv::ui
