#include "costing/forms/CodeTableForm.h"

#include "costing/forms/FieldLookup.h"
#include "costing/forms/ListPrintDialog.h"
#include "costing/forms/TableButtons.h"

#include "platform/ui/DbEdit.h"
#include "platform/db/DbError.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/MessageService.h"
#include "platform/text/NumberText.h"
#include "platform/ui/TGlyphButton.h"

#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <map>

namespace kv::costing {

using kv::db::DbError;
using kv::ui::GridColumn;

namespace {

std::function<QString(const QVariant&)> gridFormat(ValueFormat format)
{
    if (format != ValueFormat::Money)
        return {};
    return [](const QVariant& value) {
        return value.isNull() ? QString() : kv::text::money(value.toDouble(), 2);
    };
}

QString fieldText(QWidget* widget)
{
    auto* edit = qobject_cast<QLineEdit*>(widget);
    return edit ? edit->text() : QString();
}

const QString CodeColumn = QStringLiteral("CODIGO");

} // namespace

CodeTableForm::CodeTableForm(const CodeTableDescription& member, CostingEnvironment environment, QWidget* parent)
    : kv::ui::Form(parent), m_member(member), m_environment(environment),
      m_table(&environment.dataset(member.dataset))
{
    setObjectName(m_member.formClass);
    setWindowTitle(m_member.caption);
    setModal(true);
    if (m_member.article)
        m_articles = std::make_unique<ArticleLists>(m_environment.invoicing(), m_member.article->lists);
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
    auto* layout = new QVBoxLayout(body());
    auto* top = new QGridLayout;
    layout->addLayout(top);

    auto* keyLabel = new QLabel(m_member.keyCaption, body());
    keyLabel->setObjectName(QStringLiteral("Label_Codigo"));
    Edit_Codigo = new QLineEdit(body());
    Edit_Codigo->setObjectName(QStringLiteral("Edit_Codigo"));
    top->addWidget(keyLabel, 0, 0);
    top->addWidget(Edit_Codigo, 0, 1);
    if (m_member.labelsLightUp)
        setCaptionLabel(Edit_Codigo, keyLabel);
    if (!m_member.keyNameLabel.isEmpty()) {
        auto* name = new QLabel(body());
        name->setObjectName(m_member.keyNameLabel);
        top->addWidget(name, 0, 3);
    }
    for (const FieldAction& action : m_member.keyActions)
        addFieldAction(Edit_Codigo, action.text, action.key, [this, run = action.run] { run(*this); });

    QTabWidget* pages = nullptr;
    std::map<QString, QGridLayout*> pageLayouts;
    QWidget* previous = Edit_Codigo;
    std::vector<QWidget*> afterGrid;
    for (const FieldSpec& spec : m_member.fields) {
        QGridLayout* grid = top;
        QWidget* parent = body();
        if (!spec.page.isEmpty()) {
            if (!pages) {
                pages = new QTabWidget(body());
                pages->setObjectName(QStringLiteral("Tb"));
                layout->addWidget(pages);
            }
            auto it = pageLayouts.find(spec.page);
            if (it == pageLayouts.end()) {
                auto* page = new QWidget(pages);
                pages->addTab(page, spec.page);
                it = pageLayouts.emplace(spec.page, new QGridLayout(page)).first;
            }
            grid = it->second;
            parent = grid->parentWidget();
        }
        const int row = grid->rowCount();
        auto* label = new QLabel(spec.caption, parent);
        QString labelName = QStringLiteral("Label_") + spec.name.mid(spec.name.indexOf(QLatin1Char('_')) + 1);
        // The label that names the field's code may have taken the caption's name ("Label_TipoCalc").
        if (labelName == spec.nameLabel)
            labelName += QStringLiteral("Caption");
        label->setObjectName(labelName);
        QWidget* field = buildField(spec, parent);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        if (!spec.suffix.isEmpty())
            grid->addWidget(new QLabel(spec.suffix, parent), row, 2);
        if (!spec.nameLabel.isEmpty()) {
            auto* name = new QLabel(parent);
            name->setObjectName(spec.nameLabel);
            grid->addWidget(name, row, 3);
        }
        if (!spec.helpLines.isEmpty()) {
            auto* help = new QFrame(parent);
            help->setObjectName(spec.helpPanel);
            help->setFrameShape(QFrame::Panel);
            auto* lines = new QVBoxLayout(help);
            for (const QString& line : spec.helpLines)
                lines->addWidget(new QLabel(line, help));
            help->setVisible(false);
            grid->addWidget(help, row, 4, 2, 1);
        }
        m_fields.emplace_back(&spec, field);
        if (!spec.readOnly) {
            if (m_member.labelsLightUp && spec.labelLightsUp)
                setCaptionLabel(field, label);
            if (spec.afterGrid) {
                afterGrid.push_back(field);
            } else {
                setTabOrder(previous, field);
                previous = field;
            }
        }
    }

    if (!m_member.note.isEmpty()) {
        auto* note = new QLabel(m_member.note, body());
        note->setObjectName(QStringLiteral("Label_Nota"));
        layout->addWidget(note);
    }

    DBGrid1 = new kv::ui::DbGrid(body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    std::vector<GridColumn> columns;
    for (const GridColumnSpec& column : m_member.grid)
        columns.push_back({column.column, column.title, column.width, gridFormat(column.format)});
    DBGrid1->setDataset(m_table, std::move(columns));
    layout->addWidget(DBGrid1, 1);
    setTabOrder(previous, DBGrid1);
    QWidget* last = DBGrid1;
    for (QWidget* field : afterGrid) {
        setTabOrder(last, field);
        last = field;
    }

    const TableButtons bar(body(), m_table);
    layout->addLayout(bar.layout);
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

QWidget* CodeTableForm::buildField(const FieldSpec& spec, QWidget* parent)
{
    auto* edit = new kv::ui::DbEdit(parent);
    edit->setObjectName(spec.name);
    if (spec.bound)
        edit->setField(m_table, spec.column);
    if (spec.upperCase)
        edit->setCharCase(kv::ui::DbEdit::CharCase::Upper);
    if (spec.readOnly) {
        edit->setReadOnly(true);
        edit->setFocusPolicy(Qt::NoFocus);
    }
    if (m_member.article && spec.name == m_member.article->field) {
        showHint(edit, numericAlphabeticHint());
        addFieldAction(edit, QStringLiteral("Procura Numérica"), QKeySequence(Qt::Key_Insert),
                       [this] { articleLookup(false); });
        addFieldAction(edit, QStringLiteral("Procura Alfabética"),
                       QKeySequence(Qt::ControlModifier | Qt::Key_Insert), [this] { articleLookup(true); });
    } else if (!spec.hint.isEmpty()) {
        showHint(edit, spec.hint);
    }
    for (const FieldAction& action : spec.actions)
        addFieldAction(edit, action.text, action.key, [this, run = action.run] { run(*this); });
    return edit;
}

void CodeTableForm::showHint(QWidget* field, const QString& hint)
{
    // Panel 0 holds the maker tag on some members: their hints stay off it.
    if (m_member.makerTagPanel == 0)
        field->setToolTip(hint);
    else
        setKeyHint(field, hint);
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
    exitHandler(Edit_Codigo, [this] { Edit_CodigoExit(); });
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
        if (m_articles)
            m_articles->open();
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
    if (m_articles)
        m_articles->close();
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
    if (!m_member.proposeKey) {
        Edit_Codigo->clear();
        focusField(Edit_Codigo);
        return;
    }
    std::optional<qint64> highest;
    if (m_table->last())
        highest = m_table->value(m_member.keyColumn).toLongLong();
    try {
        // The new row goes in before the last one; saved, it takes its place
        // in code order.
        m_table->insert();
    } catch (const DbError& error) {
        m_insertMark = false;
        showError(error);
        return;
    }
    Edit_Codigo->setText(QString::number(proposeKey(highest)));
    focusField(Edit_Codigo);
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

bool CodeTableForm::keyExists(qint64 code)
{
    const int key = m_table->fieldIndex(m_member.keyColumn);
    const int rows = m_table->recordCount();
    const bool newRow = m_table->state() == kv::db::DatasetState::Insert;
    for (int row = 0; row < rows; ++row) {
        if (newRow && row == m_table->currentRow())
            continue;
        const QVariant value = m_table->valueAt(row, key);
        if (!value.isNull() && value.toLongLong() == code)
            return true;
    }
    return false;
}

void CodeTableForm::Edit_CodigoExit()
{
    if (!m_insertMark || m_cancelling)
        return;
    const int key = m_table->fieldIndex(m_member.keyColumn);
    const auto exists = [this](qint64 code) { return keyExists(code); };
    const KeyCheck check = m_member.keyCheck
        ? m_member.keyCheck(*this, Edit_Codigo->text(), exists)
        : checkKey(Edit_Codigo->text(), m_member.keyBounds, m_table->fieldDef(key).type, exists);
    switch (check.verdict) {
    case KeyVerdict::Empty:
        refuse({});
        return;
    case KeyVerdict::Invalid:
        refuse(check.message.isEmpty() ? invalidKeyMessage() : check.message);
        return;
    case KeyVerdict::Taken:
        // The grid, on its return, stands on the row that has the code.
        remember(check.code);
        m_table->cancel();
        focusField(DBGrid1);
        kv::ui::messages().fail(takenKeyMessage());
        return;
    case KeyVerdict::Free:
        break;
    }
    remember(check.code);
    try {
        if (m_table->state() != kv::db::DatasetState::Insert)
            m_table->insert();
        m_table->setValue(m_member.keyColumn, check.code);
    } catch (const DbError& error) {
        refuse(error.text());
        return;
    }
    if (m_member.rowStarted)
        m_member.rowStarted(*this);
    focusField(m_member.afterKeyField.isEmpty() ? firstField() : control(m_member.afterKeyField));
}

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
    if (m_member.article && spec.name == m_member.article->field && !articleExit(widget))
        return;
    if (spec.onExit)
        spec.onExit(*this);
}

bool CodeTableForm::articleExit(QWidget* widget)
{
    const QString typed = fieldText(widget);
    if (!m_articles->locate(typed)) {
        refuse(unknownArticleMessage(typed));
        return false;
    }
    if (!m_insertMark)
        return true;
    // A new row takes the article's designation and cost, once.
    try {
        for (const auto& [column, value] : m_articles->copiedValues(m_member.article->copied))
            m_table->setValue(column, value);
    } catch (const DbError& error) {
        refuse(error.text());
        return false;
    }
    return true;
}

void CodeTableForm::articleLookup(bool alphabetic)
{
    kv::db::Dataset& list = alphabetic ? m_articles->alphabetic() : m_articles->numeric();
    if (!list.isOpen() || !m_table->isOpen())
        return;
    const std::vector<GridColumn> columns =
        alphabetic ? std::vector<GridColumn>{{QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                                             {CodeColumn, QStringLiteral("Artigo Nº"), 16, {}}}
                   : std::vector<GridColumn>{{CodeColumn, QStringLiteral("Artigo Nº"), 16, {}},
                                             {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}},
                                             {QStringLiteral("TIPOARTIGO"), QStringLiteral("Tipo artigo"), 2, {}}};
    runLookup(list, columns, this);
    // Confirmed or cancelled alike, the list's row is taken.
    if (list.isEmpty())
        return;
    try {
        if (m_table->state() == kv::db::DatasetState::Browse)
            m_table->edit();
        m_table->setValue(m_member.field(m_member.article->field)->column, list.value(CodeColumn));
    } catch (const DbError& error) {
        showError(error);
    }
}

} // namespace kv::costing
