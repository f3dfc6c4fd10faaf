#include "platform/ui/TableForm.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"
#include "platform/ui/TableButtons.h"

#include <QLineEdit>

namespace kv::ui {

using kv::db::DbError;

TableForm::TableForm(kv::db::Dataset& table, TableKey key, RememberedKeys& remembered, QWidget* parent)
    : TableForm(table, std::move(key), remembered, 2, parent)
{
}

TableForm::TableForm(kv::db::Dataset& table, TableKey key, RememberedKeys& remembered, int statusPanels,
                     QWidget* parent)
    : Form(parent, statusPanels), m_table(&table), m_key(std::move(key)), m_remembered(remembered)
{
    connect(m_table, &kv::db::Dataset::currentChanged, this, [this] { showCurrentKey(); });
    connect(m_table, &kv::db::Dataset::reset, this, [this] { showCurrentKey(); });
}

TableForm::~TableForm() { disconnect(m_table, nullptr, this, nullptr); }

void TableForm::setControls(QLineEdit* keyEdit, DbGrid* grid, const TableButtons& buttons,
                            std::vector<TableField> fields)
{
    m_keyEdit = keyEdit;
    m_grid = grid;
    m_fields = std::move(fields);
    BotNavig = buttons.BotNavig;
    BotInserir = buttons.BotInserir;
    BotCancelar = buttons.BotCancelar;
    BotDelete = buttons.BotDelete;
    BotPrint = buttons.BotPrint;
    BitTerminar = buttons.BitTerminar;
    connect(BotInserir, &TGlyphButton::clicked, this, [this] { BotInserirClick(); });
    connect(BotCancelar, &TGlyphButton::clicked, this, [this] { BotCancelarClick(); });
    connect(BotDelete, &TGlyphButton::clicked, this, &TableForm::BotDeleteClick);
    connect(BotPrint, &TGlyphButton::clicked, this, [this] { BotPrintClick(); });
    connect(BitTerminar, &TGlyphButton::clicked, this, &QDialog::accept);
}

void TableForm::attachHandlers()
{
    const auto exitHandler = [this](QWidget* control, std::function<void()> handler) {
        setExitHandler(control, [this, handler = std::move(handler)] {
            controlLeft();
            handler();
        });
    };
    exitHandler(m_keyEdit, [this] {
        if (m_insertMark && !m_cancelling)
            checkKey();
    });
    for (std::size_t i = 0; i < m_fields.size(); ++i) {
        setEnterHandler(m_fields[i].widget, [this, i] {
            showHelp(m_fields[i], true);
            fieldEntered(i);
        });
        exitHandler(m_fields[i].widget, [this, i] { fieldExit(i); });
    }
    setEnterHandler(m_grid, [this] { DbGrid1Enter(); });
    exitHandler(m_grid, [this] { DbGrid1Exit(); });
}

QWidget* TableForm::control(const QString& name) const { return findChild<QWidget*>(name); }

void TableForm::refuse(const QString& message, bool beep)
{
    if (beep) {
        rejectField(message);
        return;
    }
    if (!message.isEmpty())
        messages().error(message);
    focusField(leavingField());
}

void TableForm::moveFocus(const QString& name) { focusField(control(name)); }

void TableForm::showError(const DbError& error) { messages().fail(error.fullText()); }

// ------------------------------------------------------------------ keys

void TableForm::remember(const QVariant& key) { m_remembered[objectName()] = key; }

QVariant TableForm::remembered() const
{
    auto it = m_remembered.find(objectName());
    return it == m_remembered.end() ? QVariant() : it->second;
}

bool TableForm::locateKey(const QVariant& key)
{
    QStringList columns;
    QVariantList values;
    for (const auto& [column, value] : m_key.fixed) {
        columns << column;
        values << value;
    }
    columns << m_key.column;
    values << key;
    return m_table->locate(columns, values);
}

QString TableForm::keyText(const QVariant& key) const { return key.toString(); }

void TableForm::showCurrentKey()
{
    if (!eventsEnabled() || m_insertMark)
        return;
    const bool hasRow = m_table->isOpen() && !m_table->isEmpty();
    m_keyEdit->setText(keyText(hasRow ? m_table->value(m_key.column) : QVariant()));
    rowShown();
}

// ------------------------------------------------------------------ grid

void TableForm::setGridMode(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BotNavig, BotInserir, BotDelete, BotPrint, BitTerminar})
        w->setEnabled(on);
}

void TableForm::reopenTable()
{
    m_table->close();
    m_table->open();
    // A numeric 0 is no key: no row of a coded table has it.
    const QVariant key = remembered();
    const bool none = !key.isValid() || (key.typeId() != QMetaType::QString && key.toLongLong() == 0);
    if (!none)
        locateKey(key);
}

// Returning to the grid saves what was edited or inserted.
void TableForm::DbGrid1Enter()
{
    const bool applies = appliesOnReturn();
    if (applies && !beforeApply())
        return;
    setGridMode(true);
    if (applies && applyChanges()) {
        try {
            afterApply();
        } catch (const DbError& error) {
            showError(error);
        }
    }
    m_insertMark = false;
    m_cancelMark = false;
    showCurrentKey();
    returned(applies);
}

// Leaving the grid starts editing the current row.
void TableForm::DbGrid1Exit()
{
    setGridMode(false);
    // A Cancelar pressed in the grid concerns no edit to come.
    m_cancelMark = false;
    if (m_insertMark || m_cancelling)
        return;
    if (m_table->isEmpty()) {
        leftEmptyTable();
        return;
    }
    remember(m_table->value(m_key.column));
    try {
        m_table->edit();
    } catch (const DbError& error) {
        showError(error);
        focusField(m_grid);
        return;
    }
    editStarted();
}

void TableForm::leftEmptyTable() { focusField(m_grid); }

void TableForm::editStarted() { focusField(firstField()); }

QWidget* TableForm::firstField() const
{
    return m_fields.empty() ? static_cast<QWidget*>(m_grid) : m_fields.front().widget;
}

// ------------------------------------------------------------------ buttons

void TableForm::BotCancelarClick()
{
    m_insertMark = false;
    m_cancelMark = true;
    m_table->cancel();
    // The field being left is not checked: Cancelar is the way out of it.
    m_cancelling = true;
    focusField(m_grid);
    m_cancelling = false;
}

void TableForm::BotDeleteClick()
{
    if (m_table->isEmpty())
        return;
    if (!messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?")))
        return;
    deleteCurrent();
}

bool TableForm::applyChanges()
{
    try {
        m_table->applyUpdates();
    } catch (const DbError& error) {
        // Refused by the database: the update-error dialog has had its say
        // where the dataset has one; the change stays pending.
        if (!m_table->hasErrorHandler())
            showError(error);
        return false;
    }
    return true;
}

void TableForm::deleteCurrent()
{
    try {
        m_table->deleteRecord();
        m_table->applyUpdates();
        m_table->close();
        m_table->open();
    } catch (const DbError& error) {
        if (!m_table->hasErrorHandler())
            showError(error);
    }
}

// ------------------------------------------------------------------ fields

void TableForm::showHelp(const TableField& field, bool shown)
{
    if (QWidget* help = field.helpPanel.isEmpty() ? nullptr : control(field.helpPanel))
        help->setVisible(shown);
}

void TableForm::fieldExit(std::size_t index)
{
    const TableField& field = m_fields[index];
    showHelp(field, false);
    if (m_cancelling)
        return;
    auto* edit = qobject_cast<QLineEdit*>(field.widget);
    if (field.rule && !field.rule->passes(edit ? edit->text() : QString())) {
        refuse(field.rule->message, field.rule->beep);
        return;
    }
    fieldPassed(index);
}

} // namespace kv::ui
