#pragma once

#include "platform/text/FieldRule.h"
#include "platform/ui/Form.h"

#include <QString>
#include <QVariant>
#include <functional>
#include <map>
#include <utility>
#include <vector>

class QLineEdit;

namespace kv::db {
class Dataset;
class DbError;
} // namespace kv::db

namespace kv::ui {

class DbGrid;
class DbNavigator;
class TGlyphButton;
struct TableButtons;

// The key each table form class returns to, kept for a session: made with
// the session's form registrations and gone with them.
using RememberedKeys = std::map<QString, QVariant>;

// The key of a table form's rows: the column typed in the key edit (integer
// or text) and the columns every row of the form shares, with their values
// (the currencies of the working year: ANO = WAno).
struct TableKey {
    QString column = QStringLiteral("CODIGO");
    std::vector<std::pair<QString, QVariant>> fixed;
};

// A checked field of a table form: what its exit check tests and the help
// panel shown only while it has the focus.
struct TableField {
    QWidget* widget = nullptr;
    const kv::text::FieldRule* rule = nullptr;
    QString helpPanel;
};

// The small table-maintenance form: a read-only grid over one table's
// dataset, a key edit (not bound: where the key of a new row is typed; the
// current row's key otherwise), the forms' fields and the button bar
// (navigator, Inserir, Cancelar, Eliminar, Imprimir, Terminar).
//
// Leaving the grid puts the current row into edit; returning to it applies
// the pending changes (unless the last action was Cancelar), re-reads the
// table and stands on the key last edited or typed, which each form class
// remembers for the session. The subclass lays the form out, gives the key
// edit, the grid, the buttons and its checked fields, and decides through
// the hooks below where its members differ.
class TableForm : public Form {
    Q_OBJECT
public:
    TableForm(kv::db::Dataset& table, TableKey key, RememberedKeys& remembered, QWidget* parent = nullptr);
    // A form whose status bar has more panels than the usual two.
    TableForm(kv::db::Dataset& table, TableKey key, RememberedKeys& remembered, int statusPanels, QWidget* parent);
    ~TableForm() override;

    kv::db::Dataset& table() const { return *m_table; }
    const TableKey& key() const { return m_key; }
    QWidget* control(const QString& name) const;
    bool inserting() const { return m_insertMark; }
    // From a field's exit check: the value is refused. A beep (unless told
    // otherwise), the message (none when empty), the focus back in the field.
    void refuse(const QString& message, bool beep = true);
    // Moves the focus to a control of the form once the current check is over.
    void moveFocus(const QString& name);

    // The key the grid returns to (a number or a text; invalid: none yet).
    void remember(const QVariant& key);
    QVariant remembered() const;
    // Stands on the row with `key` (and the fixed key columns); false when none has it.
    bool locateKey(const QVariant& key);

protected:
    // --- the subclass's layout ---
    void setControls(QLineEdit* keyEdit, DbGrid* grid, const TableButtons& buttons, std::vector<TableField> fields);
    // Field and key handlers, active from EnableEvents to the close.
    void attachHandlers();
    QLineEdit* keyEdit() const { return m_keyEdit; }
    DbGrid* grid() const { return m_grid; }
    const std::vector<TableField>& fields() const { return m_fields; }

    // --- the cycle ---
    void DbGrid1Enter();
    void DbGrid1Exit();
    virtual void BotCancelarClick();
    void BotDeleteClick();
    // The key mirror: the current row's key in the key edit, unless a key is being typed.
    void showCurrentKey();
    void setGridMode(bool on);
    void reopenTable();
    void showError(const kv::db::DbError& error);

    // --- where forms differ ---
    // Inserir; the key edit's exit check while inserting.
    virtual void BotInserirClick() = 0;
    virtual void checkKey() = 0;
    virtual void BotPrintClick() = 0;
    // Whether the return to the grid applies and re-reads (default: unless cancelled).
    virtual bool appliesOnReturn() const { return !m_cancelMark; }
    // Before the apply of a return to the grid: false keeps the row being edited.
    virtual bool beforeApply() { return true; }
    // Writes the pending changes (the table's; a form keeping companion rows
    // writes them with it); false, the user told, when the database refused.
    virtual bool applyChanges();
    // After an apply of a return to the grid: the table is re-read and the
    // grid stands on the remembered key (or on the first row).
    virtual void afterApply() { reopenTable(); }
    // At the end of every return to the grid, with whether it applied.
    virtual void returned(bool) {}
    // Leaving the grid on an empty table (nothing to edit).
    virtual void leftEmptyTable();
    // The row just put into edit on leaving the grid: where the focus goes.
    virtual void editStarted();
    virtual QWidget* firstField() const;
    // Eliminar after the question: deletes the current row and applies.
    virtual void deleteCurrent();
    // Whenever another row becomes current, not while a key is typed.
    virtual void rowShown() {}
    // The key edit's text for a key value (and for an empty table).
    virtual QString keyText(const QVariant& key) const;
    // A field's hooks around its rule: on entry, and once the rule passed
    // (false: refused, the hook having told the user through refuse).
    virtual void fieldEntered(std::size_t) {}
    virtual bool fieldPassed(std::size_t) { return true; }
    // Called from every control's exit handler before its check.
    virtual void controlLeft() {}

    bool m_insertMark = false;
    bool m_cancelMark = false;
    bool m_cancelling = false;

    DbNavigator* BotNavig = nullptr;
    TGlyphButton* BotInserir = nullptr;
    TGlyphButton* BotCancelar = nullptr;
    TGlyphButton* BotDelete = nullptr;
    TGlyphButton* BotPrint = nullptr;
    TGlyphButton* BitTerminar = nullptr;

private:
    void fieldExit(std::size_t index);
    void showHelp(const TableField& field, bool shown);

    kv::db::Dataset* m_table;
    TableKey m_key;
    RememberedKeys& m_remembered;
    QLineEdit* m_keyEdit = nullptr;
    DbGrid* m_grid = nullptr;
    std::vector<TableField> m_fields;
};

} // namespace kv::ui
