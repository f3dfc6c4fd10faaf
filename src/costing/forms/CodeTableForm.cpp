#include "costing/forms/CodeTableForm.h"

#include "costing/forms/ArticleLink.h"
#include "costing/forms/CodeKeyEntry.h"
#include "costing/forms/CodeTableLayout.h"
#include "costing/forms/FieldLookup.h"
#include "costing/forms/ListPrintDialog.h"
#include "platform/ui/TableButtons.h"

#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QLineEdit>
#include <QTimer>

namespace kv::costing {

using kv::db::DbError;

CodeTableForm::CodeTableForm(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent)
    : kv::ui::TableForm(environment.dataset(member.dataset), kv::ui::TableKey{member.keyColumn, {}},
                        environment.session().rememberedCodes, parent),
      m_member(member), m_environment(environment)
{
    setObjectName(m_member.formClass);
    setWindowTitle(m_member.caption);
    setModal(true);
    if (m_member.article)
        m_article = std::make_unique<ArticleLink>(*this, *m_member.article);
    buildLayout();
}

CodeTableForm::~CodeTableForm() = default;

// The code a form returns to is the session's: a new login starts afresh.
ArticleLists* CodeTableForm::articles() const { return m_article ? &m_article->lists() : nullptr; }

// ------------------------------------------------------------------ layout

void CodeTableForm::buildLayout()
{
    m_layout = std::make_unique<CodeTableLayout>(*this, m_article.get());
    m_key = std::make_unique<CodeKeyEntry>(*this, m_layout->Edit_Codigo);
    Edit_Codigo = m_layout->Edit_Codigo;
    m_fields = m_layout->fields;
    std::vector<kv::ui::TableField> checked;
    for (const auto& [spec, widget] : m_fields) {
        if (spec->readOnly)
            continue;
        m_checked.emplace_back(spec, widget);
        checked.push_back({widget, &spec->rule, spec->helpPanel});
    }
    setControls(Edit_Codigo, m_layout->DBGrid1, *m_layout->buttons, std::move(checked));
    attachHandlers();
}

void CodeTableForm::showMakerTag() { setStatusText(m_member.makerTagPanel, m_environment.state().WMarca); }

// Every control's exit clears panel 0 of its key hints; where the maker tag
// stands there, it is put back.
void CodeTableForm::controlLeft()
{
    if (m_member.makerTagPanel == 0)
        showMakerTag();
}

QWidget* CodeTableForm::firstField() const
{
    if (!m_member.firstField.isEmpty())
        return control(m_member.firstField);
    return m_checked.empty() ? static_cast<QWidget*>(grid()) : m_checked.front().second;
}

// ------------------------------------------------------------------ open / close

void CodeTableForm::FormActivate()
{
    if (m_member.makerTagOnOpen)
        showMakerTag();
    const kv::shell::FormRights rights =
        m_environment.costingRights(kv::shell::RightsVariant::R1, m_member.rightsProgram);
    BotInserir->setVisible(rights.showInserir);
    BotCancelar->setVisible(rights.showCancelar);
    BotDelete->setVisible(rights.showDelete);
    BotPrint->setVisible(rights.showPrint);
    m_insertMark = false;
    m_cancelMark = false;

    if (m_member.beforeOpen && !m_member.beforeOpen(*this)) {
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    try {
        table().close();
        table().setSql(tableStatement(m_member.table, m_member.order));
        table().open();
        m_layout->sizeUnboundFields(table());
        if (m_article)
            m_article->lists().open();
    } catch (const DbError& error) {
        showError(error);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    EnableEvents();
    showCurrentKey();
    focusField(grid());
}

void CodeTableForm::FormClose()
{
    // Nothing is applied: a row still being edited goes with the cache.
    table().close();
    if (m_article)
        m_article->lists().close();
    if (m_member.closed)
        m_member.closed(*this);
}

// ------------------------------------------------------------------ grid

void CodeTableForm::rowShown()
{
    if (m_member.rowShown)
        m_member.rowShown(*this);
}

bool CodeTableForm::beforeApply() { return !m_member.beforeSave || m_member.beforeSave(*this); }

// Nothing to edit: an empty table is filled through Inserir.
void CodeTableForm::leftEmptyTable()
{
    if (BotInserir->isVisible())
        BotInserirClick();
    else
        focusField(grid());
}

// ------------------------------------------------------------------ buttons

void CodeTableForm::BotInserirClick()
{
    for (const auto& [spec, widget] : m_fields)
        if (auto* edit = qobject_cast<QLineEdit*>(widget); edit && !spec->bound)
            edit->clear();
    if (m_member.insertStarted)
        m_member.insertStarted(*this);
    m_insertMark = true;
    m_key->offer();
}

void CodeTableForm::checkKey() { m_key->check(); }

void CodeTableForm::deleteCurrent()
{
    if (!m_member.deleteRow) {
        kv::ui::TableForm::deleteCurrent();
        return;
    }
    // The member deletes the row with what hangs on it, in its own transaction.
    try {
        m_member.deleteRow(*this);
        table().close();
        table().open();
    } catch (const DbError& error) {
        showError(error);
    }
}

void CodeTableForm::BotPrintClick()
{
    if (!m_member.print)
        return;
    showMakerTag();
    {
        ListPrintDialog dialog(m_member, m_environment, this);
        dialog.setStatusText(0, m_environment.state().WMarca);
        dialog.exec();
    }
    try {
        table().close();
        table().setSql(tableStatement(m_member.table, m_member.order));
        table().open();
    } catch (const DbError& error) {
        showError(error);
    }
}

// ------------------------------------------------------------------ fields

void CodeTableForm::fieldEntered(std::size_t index)
{
    if (const FieldSpec* spec = m_checked[index].first; spec->onEnter)
        spec->onEnter(*this);
}

bool CodeTableForm::fieldPassed(std::size_t index)
{
    const auto& [spec, widget] = m_checked[index];
    if (m_article && m_article->isField(spec->name) && !m_article->left(widget))
        return false;
    if (spec->onExit)
        return spec->onExit(*this);
    return true;
}

} // namespace kv::costing
