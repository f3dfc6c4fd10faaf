#include "costing/forms/CodeTableForm.h"

#include "costing/forms/ArticleLink.h"
#include "costing/forms/CodeKeyEntry.h"
#include "costing/forms/CodeTableLayout.h"
#include "costing/forms/FieldLookup.h"
#include "costing/forms/ListPrintDialog.h"
#include "costing/forms/TableButtons.h"

#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QLineEdit>
#include <QTimer>
#include <map>

namespace kv::costing {

using kv::db::DbError;

namespace {

QString fieldText(QWidget* widget)
{
    auto* edit = qobject_cast<QLineEdit*>(widget);
    return edit ? edit->text() : QString();
}

} // namespace

CodeTableForm::CodeTableForm(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_member(member), m_environment(environment),
      m_table(&environment.dataset(member.dataset))
{
    setObjectName(m_member.formClass);
    setWindowTitle(m_member.caption);
    setModal(true);
    if (m_member.article)
        m_article = std::make_unique<ArticleLink>(*this, *m_member.article);
    buildLayout();
    attachHandlers();
    connect(m_table, &kv::db::Dataset::currentChanged, this, [this] { Edit_Codigo1Change(); });
    connect(m_table, &kv::db::Dataset::reset, this, [this] { Edit_Codigo1Change(); });
}

CodeTableForm::~CodeTableForm()
{
    disconnect(m_table, nullptr, this, nullptr);
}

// The code a form returns to is the session's: a new login starts afresh.
ArticleLists* CodeTableForm::articles() const
{
    return m_article ? &m_article->lists() : nullptr;
}

void CodeTableForm::remember(qint64 code)
{
    m_environment.session().rememberedCodes[m_member.formClass] = code;
}

qint64 CodeTableForm::remembered() const
{
    const auto& codes = m_environment.session().rememberedCodes;
    auto it = codes.find(m_member.formClass);
    return it == codes.end() ? 0 : it->second;
}

// ------------------------------------------------------------------ layout

void CodeTableForm::buildLayout()
{
    m_layout = std::make_unique<CodeTableLayout>(*this, m_article.get());
    m_key = std::make_unique<CodeKeyEntry>(*this, m_layout->Edit_Codigo);
    Edit_Codigo = m_layout->Edit_Codigo;
    m_fields = m_layout->fields;
    DBGrid1 = m_layout->DBGrid1;
    const TableButtons& bar = *m_layout->buttons;
    BotNavig = bar.BotNavig;
    BotInserir = bar.BotInserir;
    BotCancelar = bar.BotCancelar;
    BotDelete = bar.BotDelete;
    BotPrint = bar.BotPrint;
    BitTerminar = bar.BitTerminar;
    connect(BotInserir, &kv::ui::TGlyphButton::clicked, this, &CodeTableForm::BotInserirClick);
    connect(BotCancelar, &kv::ui::TGlyphButton::clicked, this, &CodeTableForm::BotCancelarClick);
    connect(BotDelete, &kv::ui::TGlyphButton::clicked, this, &CodeTableForm::BotDeleteClick);
    connect(BotPrint, &kv::ui::TGlyphButton::clicked, this, &CodeTableForm::BotPrintClick);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, &CodeTableForm::BitTerminarClick);
}

void CodeTableForm::showMakerTag()
{
    setStatusText(m_member.makerTagPanel, m_environment.state().WMarca);
}

void CodeTableForm::attachHandlers()
{
    // Every control's exit clears panel 0 of its key hints; where the maker
    // tag stands there, it is put back.
    const auto exitHandler = [this](QWidget* control, std::function<void()> handler) {
        setExitHandler(control, [this, handler = std::move(handler)] {
            if (m_member.makerTagPanel == 0)
                showMakerTag();
            handler();
        });
    };
    // Active only while the form's events are: from activation to close.
    exitHandler(Edit_Codigo, [this] { m_key->check(); });
    for (const auto& [spec, widget] : m_fields) {
        if (spec->readOnly)
            continue;
        setEnterHandler(widget, [this, spec = spec] {
            showHelp(*spec, true);
            if (spec->onEnter)
                spec->onEnter(*this);
        });
        exitHandler(widget, [this, spec = spec, widget = widget] { fieldExit(*spec, widget); });
    }
    setEnterHandler(DBGrid1, [this] { DbGrid1Enter(); });
    exitHandler(DBGrid1, [this] { DbGrid1Exit(); });
}

QWidget* CodeTableForm::control(const QString& name) const
{
    return findChild<QWidget*>(name);
}

QWidget* CodeTableForm::firstField() const
{
    if (!m_member.firstField.isEmpty())
        return control(m_member.firstField);
    for (const auto& [spec, widget] : m_fields)
        if (!spec->readOnly)
            return widget;
    return DBGrid1;
}

void CodeTableForm::refuse(const QString& message, bool beep)
{
    if (beep) {
        rejectField(message);
        return;
    }
    if (!message.isEmpty())
        kv::ui::messages().error(message);
    focusField(leavingField());
}

void CodeTableForm::moveFocus(const QString& name)
{
    focusField(control(name));
}

void CodeTableForm::showError(const DbError& error)
{
    kv::ui::messages().fail(error.fullText());
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
        m_table->close();
        m_table->setSql(tableStatement(m_member.table, m_member.order));
        m_table->open();
        m_layout->sizeUnboundFields(*m_table);
        if (m_article)
            m_article->lists().open();
    } catch (const DbError& error) {
        showError(error);
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    EnableEvents();
    Edit_Codigo1Change();
    focusField(DBGrid1);
}

void CodeTableForm::FormClose()
{
    // Nothing is applied: a row still being edited goes with the cache.
    m_table->close();
    if (m_article)
        m_article->lists().close();
    if (m_member.closed)
        m_member.closed(*this);
}

void CodeTableForm::BitTerminarClick()
{
    accept();
}

// ------------------------------------------------------------------ grid

void CodeTableForm::Edit_Codigo1Change()
{
    if (!eventsEnabled() || m_insertMark)
        return;
    const bool hasRow = m_table->isOpen() && !m_table->isEmpty();
    Edit_Codigo->setText(hasRow ? m_table->value(m_member.keyColumn).toString() : QString());
    if (m_member.rowShown)
        m_member.rowShown(*this);
}

void CodeTableForm::setGridMode(bool on)
{
    for (QWidget* w : std::initializer_list<QWidget*>{BotNavig, BotInserir, BotDelete, BotPrint, BitTerminar})
        w->setEnabled(on);
}

void CodeTableForm::reopenTable()
{
    m_table->close();
    m_table->open();
    if (remembered() != 0)
        m_table->locate(m_member.keyColumn, remembered());
}

// Returning to the grid saves what was edited or inserted.
void CodeTableForm::DbGrid1Enter()
{
    if (!m_cancelMark && m_member.beforeSave && !m_member.beforeSave(*this))
        return;
    setGridMode(true);
    if (!m_cancelMark) {
        try {
            m_table->applyUpdates();
            reopenTable();
        } catch (const DbError& error) {
            // Refused by the database: the update-error dialog has had its
            // say where the dataset has one; the change stays pending.
            if (!m_table->hasErrorHandler())
                showError(error);
        }
    }
    m_insertMark = false;
    m_cancelMark = false;
    Edit_Codigo1Change();
}

// Leaving the grid starts editing the current row.
void CodeTableForm::DbGrid1Exit()
{
    setGridMode(false);
    // A Cancelar pressed in the grid concerns no edit to come.
    m_cancelMark = false;
    if (m_insertMark || m_cancelling)
        return;
    if (m_table->isEmpty()) {
        // Nothing to edit: an empty table is filled through Inserir.
        if (BotInserir->isVisible())
            BotInserirClick();
        else
            focusField(DBGrid1);
        return;
    }
    remember(m_table->value(m_member.keyColumn).toLongLong());
    try {
        m_table->edit();
    } catch (const DbError& error) {
        showError(error);
        focusField(DBGrid1);
        return;
    }
    focusField(firstField());
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

void CodeTableForm::BotCancelarClick()
{
    m_insertMark = false;
    m_cancelMark = true;
    m_table->cancel();
    // The field being left is not checked: Cancelar is the way out of it.
    m_cancelling = true;
    focusField(DBGrid1);
    m_cancelling = false;
}

void CodeTableForm::BotDeleteClick()
{
    if (m_table->isEmpty())
        return;
    if (!kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?")))
        return;
    if (m_member.deleteRow) {
        // The member deletes the row with what hangs on it, in its own transaction.
        try {
            m_member.deleteRow(*this);
            m_table->close();
            m_table->open();
        } catch (const DbError& error) {
            showError(error);
        }
        return;
    }
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
        m_table->close();
        m_table->setSql(tableStatement(m_member.table, m_member.order));
        m_table->open();
    } catch (const DbError& error) {
        showError(error);
    }
}

// ------------------------------------------------------------------ fields

void CodeTableForm::showHelp(const FieldSpec& spec, bool shown)
{
    if (QWidget* help = spec.helpPanel.isEmpty() ? nullptr : control(spec.helpPanel))
        help->setVisible(shown);
}

void CodeTableForm::fieldExit(const FieldSpec& spec, QWidget* widget)
{
    showHelp(spec, false);
    if (m_cancelling)
        return;
    if (!spec.rule.passes(fieldText(widget))) {
        refuse(spec.rule.message, spec.rule.beep);
        return;
    }
    if (m_article && m_article->isField(spec.name) && !m_article->left(widget))
        return;
    if (spec.onExit)
        spec.onExit(*this);
}

} // namespace kv::costing
