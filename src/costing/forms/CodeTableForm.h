#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "costing/forms/CostingEnvironment.h"

#include "platform/ui/Form.h"

#include <memory>
#include <vector>

class QLineEdit;

namespace kv::ui {
class DbGrid;
class DbNavigator;
class TGlyphButton;
} // namespace kv::ui

namespace kv::costing {

class ArticleLink;
class CodeKeyEntry;
class CodeTableLayout;

// The one form of every costing reference table (TORCF002 for the inks, and
// each member described by a CodeTableDescription): a read-only grid of the
// whole table, a key field and the member's edit fields, a navigator and the
// buttons Inserir, Cancelar, Eliminar, Imprimir and Terminar.
//
// It edits the table's shared dataset and applies the changes when the focus
// returns to the grid: leaving the grid edits the current row, Inserir starts
// a new one with the highest code + 1 offered. Closing the window applies
// nothing. The row last edited or inserted is remembered for the session,
// and the next opening of the form starts on it.
class CodeTableForm : public kv::ui::Form {
    Q_OBJECT
public:
    CodeTableForm(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent = nullptr);
    ~CodeTableForm() override;

    // --- for the members' hooks ---
    const CodeTableDescription& member() const { return m_member; }
    const CostingEnvironment& environment() const { return m_environment; }
    kv::db::Dataset& table() const { return *m_table; }
    ArticleLists* articles() const;
    QWidget* control(const QString& name) const;
    bool inserting() const { return m_insertMark; }
    // From a field's exit hook: the value is refused. A beep (unless told
    // otherwise), the message (none when empty), the focus back in the field.
    void refuse(const QString& message, bool beep = true);
    // Moves the focus to a control of the form once the current check is over.
    void moveFocus(const QString& name);

protected:
    void FormActivate() override;
    void FormClose() override;

private:
    friend class CodeKeyEntry;

    void buildLayout();
    void attachHandlers();
    void showMakerTag();

    void Edit_Codigo1Change();
    void DbGrid1Enter();
    void DbGrid1Exit();
    void BotInserirClick();
    void BotCancelarClick();
    void BotDeleteClick();
    void BotPrintClick();
    void BitTerminarClick();
    void fieldExit(const FieldSpec& spec, QWidget* widget);
    void showHelp(const FieldSpec& spec, bool shown);

    void setGridMode(bool on);
    void reopenTable();
    QWidget* firstField() const;
    void remember(qint64 code);
    qint64 remembered() const;
    void showError(const kv::db::DbError& error);

    CodeTableDescription m_member;
    CostingEnvironment m_environment;
    kv::db::Dataset* m_table;
    std::unique_ptr<ArticleLink> m_article;
    std::unique_ptr<CodeTableLayout> m_layout;
    std::unique_ptr<CodeKeyEntry> m_key;
    bool m_insertMark = false;
    bool m_cancelMark = false;
    bool m_cancelling = false;

    QLineEdit* Edit_Codigo = nullptr;
    std::vector<std::pair<const FieldSpec*, QWidget*>> m_fields;
    kv::ui::DbGrid* DBGrid1 = nullptr;
    kv::ui::DbNavigator* BotNavig = nullptr;
    kv::ui::TGlyphButton* BotInserir = nullptr;
    kv::ui::TGlyphButton* BotCancelar = nullptr;
    kv::ui::TGlyphButton* BotDelete = nullptr;
    kv::ui::TGlyphButton* BotPrint = nullptr;
    kv::ui::TGlyphButton* BitTerminar = nullptr;
};

} // namespace kv::costing
