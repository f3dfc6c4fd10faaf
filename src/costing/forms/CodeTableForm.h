#pragma once

#include "costing/forms/CodeTableDescription.h"
#include "costing/forms/CostingEnvironment.h"

#include "platform/ui/TableForm.h"

#include <memory>
#include <vector>

class QLineEdit;

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
class CodeTableForm : public kv::ui::TableForm {
    Q_OBJECT
public:
    CodeTableForm(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent = nullptr);
    ~CodeTableForm() override;

    // --- for the members' hooks ---
    const CodeTableDescription& member() const { return m_member; }
    const CostingEnvironment& environment() const { return m_environment; }
    ArticleLists* articles() const;

protected:
    void FormActivate() override;
    void FormClose() override;

    void BotInserirClick() override;
    void checkKey() override;
    void BotPrintClick() override;
    bool beforeApply() override;
    void leftEmptyTable() override;
    QWidget* firstField() const override;
    void deleteCurrent() override;
    void rowShown() override;
    void fieldEntered(std::size_t index) override;
    bool fieldPassed(std::size_t index) override;
    void controlLeft() override;

private:
    friend class CodeKeyEntry;

    void buildLayout();
    void showMakerTag();

    CodeTableDescription m_member;
    CostingEnvironment m_environment;
    std::unique_ptr<ArticleLink> m_article;
    std::unique_ptr<CodeTableLayout> m_layout;
    std::unique_ptr<CodeKeyEntry> m_key;

    QLineEdit* Edit_Codigo = nullptr;
    std::vector<std::pair<const FieldSpec*, QWidget*>> m_fields;
    // The fields with exit checks, in the order the base numbers them.
    std::vector<std::pair<const FieldSpec*, QWidget*>> m_checked;
};

} // namespace kv::costing
