#include "commercial/forms/CommercialTableForm.h"

#include "commercial/core/WorkingYear.h"
#include "commercial/forms/CommercialListReport.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/DbNavigator.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SideDoor.h"
#include "platform/ui/TDBLookupComboDlg.h"
#include "platform/ui/TGlyphButton.h"
#include "platform/ui/TableButtons.h"

#include <QApplication>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <map>

namespace kv::commercial {

using kv::db::DatasetState;
using kv::db::DbError;

namespace {

kv::ui::TableKey tableKey(const CommercialTableDescription& member, const kv::shell::LoginState& state)
{
    kv::ui::TableKey key{member.keyColumn, {}};
    if (member.workingYearKey)
        key.fixed.emplace_back(QStringLiteral("ANO"), state.WAno);
    return key;
}

kv::ui::TGlyphButton* sideDoorButton(const QString& name, QWidget* parent)
{
    auto* button = new kv::ui::TGlyphButton(parent);
    button->setObjectName(name);
    button->SetGlyph(QApplication::style()->standardIcon(QStyle::SP_FileDialogContentsView).pixmap(16).toImage());
    button->setFocusPolicy(Qt::NoFocus);
    return button;
}

} // namespace

CommercialTableForm::CommercialTableForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                                         QWidget* parent)
    : kv::ui::TableForm(environment.dataset(member.dataset), tableKey(member, environment.state()),
                        environment.session().rememberedKeys, parent),
      m_member(member), m_environment(environment)
{
    setObjectName(m_member.formClass);
    setWindowTitle(m_member.caption);
    setModal(true);
    buildLayout();
}

CommercialTableForm::~CommercialTableForm() = default;

// ------------------------------------------------------------------ layout

void CommercialTableForm::buildLayout()
{
    QWidget* const body = this->body();
    auto* layout = new QVBoxLayout(body);
    auto* top = new QGridLayout;
    top->setColumnStretch(2, 1);
    layout->addLayout(top);

    auto* keyLabel = new QLabel(m_member.keyCaption, body);
    keyLabel->setObjectName(QStringLiteral("Label_") + m_member.keyEdit.mid(5));
    m_keyEdit = new QLineEdit(body);
    m_keyEdit->setObjectName(m_member.keyEdit);
    m_keyEdit->setMaxLength(m_member.numericKey ? static_cast<int>(QString::number(m_member.high).size()) + 1
                                                : (m_member.keyLength > 0 ? m_member.keyLength : 20));
    kv::ui::setFieldWidth(m_keyEdit, m_keyEdit->maxLength() + 1);
    if (m_member.keyTakenAtOnce) {
        m_keyEdit->setReadOnly(true);
        m_keyEdit->setFocusPolicy(Qt::NoFocus);
    }
    // The key mirror: hidden, it follows the current row.
    m_keyMirror = new kv::ui::DbEdit(body);
    m_keyMirror->setObjectName(m_member.keyEdit + QStringLiteral("1"));
    m_keyMirror->setField(&table(), m_member.keyColumn);
    m_keyMirror->setReadOnly(true);
    m_keyMirror->setFocusPolicy(Qt::NoFocus);
    m_keyMirror->setVisible(false);
    auto* keyLine = new QHBoxLayout;
    keyLine->addWidget(m_keyEdit);
    keyLine->addStretch(1);
    top->addWidget(keyLabel, 0, 0);
    top->addLayout(keyLine, 0, 1);

    std::vector<kv::ui::TableField> checked;
    QWidget* previous = m_keyEdit;
    QHBoxLayout* line = nullptr;
    std::map<QString, QGridLayout*> pageGrids;
    // Rows of each column of each grid: the right-hand column starts beside the key.
    std::map<std::pair<QGridLayout*, int>, int> nextRow;
    const bool twoColumns = std::any_of(m_member.fields.begin(), m_member.fields.end(),
                                        [](const CommercialField& f) { return f.formColumn > 0; });
    if (twoColumns) {
        top->setColumnStretch(2, 0);
        top->setColumnMinimumWidth(2, 16);
        top->setColumnStretch(5, 1);
    }
    auto takeRow = [&](QGridLayout* place, int formColumn) {
        auto [it, added] = nextRow.try_emplace({place, formColumn}, 0);
        if (added && formColumn == 0)
            it->second = place->rowCount();
        return it->second++;
    };
    auto gridOf = [&](const QString& page) -> QGridLayout* {
        if (page.isEmpty())
            return top;
        if (!m_pages) {
            m_pages = new QTabWidget(body);
            m_pages->setObjectName(m_member.pagesName);
            layout->addWidget(m_pages);
        }
        QGridLayout*& sheetGrid = pageGrids[page];
        if (!sheetGrid) {
            auto* sheet = new QWidget(m_pages);
            sheetGrid = new QGridLayout(sheet);
            sheetGrid->setColumnStretch(2, 1);
            m_pages->addTab(sheet, page);
        }
        return sheetGrid;
    };
    for (const CommercialField& spec : m_member.fields) {
        QGridLayout* place = gridOf(spec.page);
        QWidget* const host = place == top ? body : place->parentWidget();
        const int labelColumn = spec.formColumn > 0 ? 3 : 0;
        if (!spec.heading.isEmpty()) {
            auto* heading = new QLabel(spec.heading, host);
            heading->setStyleSheet(QStringLiteral("font-weight: bold"));
            place->addWidget(heading, takeRow(place, spec.formColumn), labelColumn, 1, 2);
        }
        auto* label = new QLabel(spec.caption, host);
        label->setObjectName(QStringLiteral("Label_") + spec.name.mid(spec.name.indexOf(QLatin1Char('_')) + 1));
        QWidget* field = nullptr;
        QWidget* focusTarget = nullptr;
        kv::ui::TDBLookupComboDlg* lookup = nullptr;
        QWidget* sideDoor = nullptr;
        if (spec.lookup && spec.lookup->byInsertKey) {
            auto* edit = new kv::ui::DbEdit(host);
            edit->setObjectName(spec.name);
            edit->setField(&table(), spec.column);
            if (spec.width > 0)
                edit->setDisplayWidth(spec.width);
            const std::size_t index = m_fieldWidgets.size();
            kv::ui::addFieldAction(edit, QStringLiteral("&Procurar"), QKeySequence(Qt::Key_Insert),
                                   [this, index] { insertKeyLookup(index); });
            field = focusTarget = edit;
        } else if (spec.lookup) {
            lookup = new kv::ui::TDBLookupComboDlg(host);
            lookup->setObjectName(spec.name);
            lookup->setField(&table(), spec.column);
            lookup->setLookup(&m_environment.dataset(spec.lookup->dataset), spec.lookup->column,
                              {{spec.lookup->column, spec.lookup->title, 20, {}}});
            field = lookup;
            focusTarget = lookup->edit();
            kv::ui::setFieldWidth(lookup->edit(), spec.width > 0 ? spec.width : 20);
        } else {
            auto* edit = new kv::ui::DbEdit(host);
            edit->setObjectName(spec.name);
            edit->setField(&table(), spec.column);
            if (spec.width > 0)
                edit->setDisplayWidth(spec.width);
            if (spec.upperCase)
                edit->setCharCase(kv::ui::DbEdit::CharCase::Upper);
            field = focusTarget = edit;
        }
        if (spec.lookup && !spec.lookup->sideDoor.isEmpty()) {
            auto* button = sideDoorButton(spec.lookup->sideDoor, host);
            const LookupSpec door = *spec.lookup;
            connect(button, &kv::ui::TGlyphButton::clicked, this, [this, door] { openSideDoor(door); });
            sideDoor = button;
        }
        if (!spec.hint.isEmpty())
            focusTarget->setToolTip(spec.hint);
        m_fieldWidgets.push_back(field);
        m_lookups.push_back(lookup);
        m_sideDoors.push_back(sideDoor);
        checked.push_back({focusTarget, &spec.rule, spec.helpPanel});
        if (spec.besidePrevious && line) {
            line->insertWidget(line->count() - 1, label);
        } else {
            const int row = takeRow(place, spec.formColumn);
            line = new QHBoxLayout;
            line->addStretch(1);
            place->addWidget(label, row, labelColumn);
            place->addLayout(line, row, labelColumn + 1);
        }
        line->insertWidget(line->count() - 1, field);
        if (sideDoor)
            line->insertWidget(line->count() - 1, sideDoor);
        if (!spec.suffix.isEmpty())
            line->insertWidget(line->count() - 1, new QLabel(spec.suffix, host));
        if (!spec.companion.isEmpty()) {
            auto* shown = new QLineEdit(host);
            shown->setObjectName(spec.companion);
            shown->setReadOnly(true);
            shown->setFocusPolicy(Qt::NoFocus);
            kv::ui::setFieldWidth(shown, spec.companionWidth > 0 ? spec.companionWidth : 10);
            line->insertWidget(line->count() - 1, shown);
            if (!spec.companionSuffix.isEmpty())
                line->insertWidget(line->count() - 1, new QLabel(spec.companionSuffix, host));
        }
        if (!spec.helpPanel.isEmpty()) {
            auto* help = new QFrame(host);
            help->setObjectName(spec.helpPanel);
            help->setFrameShape(QFrame::Panel);
            auto* lines = new QGridLayout(help);
            auto* title = new QLabel(spec.helpTitle, help);
            title->setStyleSheet(QStringLiteral("font-weight: bold"));
            lines->addWidget(title, 0, 0, 1, 2);
            for (const QString& text : spec.helpLines) {
                const int row = lines->rowCount();
                const qsizetype gap = text.indexOf(QLatin1Char(')'));
                lines->addWidget(new QLabel(text.left(gap + 1), help), row, 0);
                lines->addWidget(new QLabel(text.mid(gap + 1).trimmed(), help), row, 1);
            }
            help->setVisible(false);
            place->addWidget(help, 0, 2, -1, 1, Qt::AlignLeft | Qt::AlignTop);
        }
        QWidget::setTabOrder(previous, focusTarget);
        previous = focusTarget;
    }
    // The fields of a page stand at its top.
    for (const auto& [page, sheetGrid] : pageGrids)
        sheetGrid->setRowStretch(sheetGrid->rowCount(), 1);

    auto* grid = new kv::ui::DbGrid(body);
    grid->setObjectName(QStringLiteral("DBGrid1"));
    std::vector<kv::ui::GridColumn> columns;
    for (const CommercialGridColumn& column : m_member.grid)
        columns.push_back({column.column, column.title, column.width, {}});
    grid->setDataset(&table(), std::move(columns));
    layout->addWidget(grid, 1);
    if (m_pages) {
        // Between the last field and the grid: a field hidden with its page
        // hands the focus to the tabs, not to the grid, which would save.
        QWidget::setTabOrder(previous, m_pages->tabBar());
        previous = m_pages->tabBar();
    }
    QWidget::setTabOrder(previous, grid);

    kv::ui::TableButtons buttons(buttonBar(), &table());
    buttonBar()->setLayout(buttons.layout);
    setControls(m_keyEdit, grid, buttons, std::move(checked));
    attachHandlers();
}

void CommercialTableForm::addBelowFields(QWidget* widget)
{
    auto* layout = static_cast<QVBoxLayout*>(body()->layout());
    layout->insertWidget(layout->count() - 1, widget);
    QWidget::setTabOrder(widget, grid());
}

bool CommercialTableForm::editing(const kv::db::Dataset& rows)
{
    return rows.isOpen() && (rows.state() == DatasetState::Edit || rows.state() == DatasetState::Insert);
}

bool CommercialTableForm::applyWithCompanions(const std::vector<kv::db::Dataset*>& rows)
{
    kv::db::Dataset* refused = nullptr;
    try {
        kv::db::applyTogether(rows, &refused);
    } catch (const DbError& error) {
        // A dataset with an update-error handler has had its dialog; the
        // others' refusal is the database's own message.
        if (!refused || !refused->hasErrorHandler())
            showError(error);
        return false;
    }
    return true;
}

QString CommercialTableForm::keyText(const QVariant& key) const
{
    if (!key.isValid() || key.isNull())
        return m_member.numericKey ? QStringLiteral("0") : QString();
    return key.toString();
}

QString CommercialTableForm::storedKey(const QString& typed) const
{
    int length = m_member.keyLength;
    if (length == 0 && table().isOpen()) {
        const int index = table().fieldIndex(m_member.keyColumn);
        if (index >= 0)
            length = table().fieldDef(index).size;
    }
    return length > 0 ? typed.left(length) : typed;
}

// ------------------------------------------------------------------ open / close

void CommercialTableForm::applyRights()
{
    for (std::size_t i = 0; i < m_sideDoors.size(); ++i)
        if (QWidget* door = m_sideDoors[i]) {
            const LookupSpec& lookup = *m_member.fields[i].lookup;
            door->setVisible(m_environment.forms().contains(lookup.form)
                             && m_environment.sideDoorVisible(lookup.rightsProgram));
        }
    const kv::shell::FormRights rights = m_environment.rights(m_member.rights, m_environment.state().WModuloBase,
                                                              m_member.rightsChapter, m_member.rightsProgram);
    if (!rights.message.isEmpty()) {
        if (rights.beep)
            kv::ui::messages().beep();
        kv::ui::messages().error(rights.message);
    }
    BotInserir->setVisible(rights.showInserir);
    BotCancelar->setVisible(rights.showCancelar);
    BotDelete->setVisible(rights.showDelete);
    BotPrint->setVisible(rights.showPrint && !m_member.report.reportClass.isEmpty()); // the files have no list
    m_canInsert = rights.enableFields;
    m_keyEdit->setEnabled(m_member.keyAlwaysEnabled || rights.enableFields);
    for (std::size_t i = 0; i < m_member.fields.size(); ++i)
        if (m_member.fields[i].needsInsertRight)
            m_fieldWidgets[i]->setEnabled(rights.enableFields);
}

bool CommercialTableForm::openDatasets()
{
    try {
        for (const QString& name : m_member.lookupDatasets)
            if (!m_environment.dataset(name).isOpen())
                m_environment.dataset(name).open();
        if (!table().isOpen())
            table().open();
    } catch (const DbError& error) {
        showError(error);
        return false;
    }
    return true;
}

void CommercialTableForm::closeDatasets()
{
    table().close();
    for (const QString& name : m_member.lookupDatasets)
        m_environment.dataset(name).close();
}

void CommercialTableForm::FormActivate()
{
    setMakerTag(m_environment.state().WMarca);
    if (!m_member.workingYearMessage.isEmpty()) {
        bool found = false;
        try {
            found = workingYearExists(*m_environment.invoicing(), m_environment.state().WAno);
        } catch (const DbError& error) {
            showError(error);
        }
        if (!found) {
            kv::ui::messages().error(m_member.workingYearMessage);
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
    }
    if (!openDatasets()) {
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    applyRights();
    m_insertMark = false;
    m_cancelMark = false;
    m_skipApply = m_member.applyOnReturn == ApplyOnReturn::UnlessSkipped;
    EnableEvents();
    showCurrentKey();
    focusField(grid());
}

void CommercialTableForm::done(int result)
{
    // Closing applies what is pending; a row its checks refuse, or an apply
    // the database refused, keeps the form open.
    if (isActivated() && !m_closing && table().isOpen()) {
        const bool pending = editing(table()) || table().hasPendingChanges();
        const bool applies = m_member.applyOnCloseWhileEditing ? editing(table()) : pending;
        if (applies) {
            if (!checkFields())
                return;
            if (!applyChanges())
                return;
        }
    }
    m_closing = true;
    kv::ui::TableForm::done(result);
    m_closing = false;
}

void CommercialTableForm::FormClose() { closeDatasets(); }

// ------------------------------------------------------------------ checks before an apply

bool CommercialTableForm::checkFields()
{
    if (!editing(table()))
        return true;
    for (std::size_t i = 0; i < m_member.fields.size(); ++i) {
        const CommercialField& spec = m_member.fields[i];
        if (spec.rule.kind == kv::text::FieldRule::Kind::None || !m_fieldWidgets[i]->isEnabled())
            continue;
        const QVariant value = table().value(spec.column);
        const QString text = value.isNull() ? QString() : value.toString();
        if (spec.rule.passes(text))
            continue;
        refuseBeforeApply(m_lookups[i] ? m_lookups[i]->edit() : m_fieldWidgets[i], spec.rule.message,
                          spec.rule.beep);
        return false;
    }
    return true;
}

void CommercialTableForm::refuseBeforeApply(QWidget* field, const QString& message, bool beep)
{
    if (beep)
        kv::ui::messages().beep();
    if (!message.isEmpty())
        kv::ui::messages().error(message);
    m_checkFailed = true;
    focusField(field);
}

// ------------------------------------------------------------------ grid

bool CommercialTableForm::appliesOnReturn() const
{
    switch (m_member.applyOnReturn) {
    case ApplyOnReturn::Always: return true;
    case ApplyOnReturn::UnlessSkipped: return !m_skipApply;
    case ApplyOnReturn::WhileEditing: return editing(table());
    }
    return true;
}

bool CommercialTableForm::beforeApply() { return checkFields(); }

void CommercialTableForm::returned(bool applied)
{
    // A member where a user without INSERIR edits nothing keeps his key edit off too.
    if (m_member.keyEnabledOnReturn && (m_canInsert || !m_member.editNeedsInsertRight))
        m_keyEdit->setEnabled(true);
    if (m_member.applyOnReturn == ApplyOnReturn::UnlessSkipped) {
        m_skipApply = false;
        if (!applied && remembered().isValid())
            locateKey(remembered());
    }
}

void CommercialTableForm::afterApply()
{
    if (m_member.applyOnReturn == ApplyOnReturn::WhileEditing) {
        table().close();
        table().open();
        return;
    }
    reopenTable();
}

void CommercialTableForm::leftEmptyTable()
{
    // An empty table is filled through Inserir; the focus goes where the user sent it.
}

void CommercialTableForm::editStarted()
{
    if (std::exchange(m_checkFailed, false))
        return;
    if (m_member.editNeedsInsertRight && !m_canInsert) {
        // Nothing this user may change: no edit, and the grid keeps the focus.
        table().cancel();
        focusField(grid());
        return;
    }
    if (m_member.applyOnReturn == ApplyOnReturn::UnlessSkipped && m_member.skipsApplyAfterDelete)
        m_skipApply = false;
    if (m_member.keyDisabledOnGridExit
        && !(m_member.keyDisabledOnlyWhenCodeNotZero && table().value(m_member.keyColumn).toLongLong() == 0))
        m_keyEdit->setEnabled(false);
    moveTo(m_member.focusAfterGridExit);
}

void CommercialTableForm::moveTo(const QString& target)
{
    if (target.isEmpty() || target == StayForEnter)
        return;
    focusField(control(target));
}

// ------------------------------------------------------------------ buttons

void CommercialTableForm::BotInserirClick()
{
    m_insertMark = true;
    m_skipApply = false;
    m_keyEdit->setEnabled(true);
    QVariant key;
    if (m_member.proposeKey) {
        const qint64 last = table().last() ? table().value(m_member.keyColumn).toLongLong() : 0;
        key = last + 1;
        remember(key);
    }
    try {
        table().insert();
    } catch (const DbError& error) {
        m_insertMark = false;
        showError(error);
        return;
    }
    m_keyEdit->setText(key.isValid() ? key.toString() : QString());
    if (m_member.keyTakenAtOnce) {
        checkKey();
        return;
    }
    focusField(m_keyEdit);
}

bool CommercialTableForm::keyTaken(const QVariant& key) const
{
    kv::db::Dataset& rows = table();
    const int column = rows.fieldIndex(m_member.keyColumn);
    const int year = m_member.workingYearKey ? rows.fieldIndex(QStringLiteral("ANO")) : -1;
    const int count = rows.recordCount();
    const bool newRow = rows.state() == DatasetState::Insert;
    for (int row = 0; row < count; ++row) {
        if (newRow && row == rows.currentRow())
            continue;
        if (year >= 0 && rows.valueAt(row, year).toString() != m_environment.state().WAno)
            continue;
        const QVariant value = rows.valueAt(row, column);
        if (value.isNull())
            continue;
        if (m_member.numericKey ? value.toLongLong() == key.toLongLong() : value.toString() == key.toString())
            return true;
    }
    return false;
}

void CommercialTableForm::checkKey()
{
    if (!m_member.skipsApplyAfterDelete)
        BotDelete->setEnabled(false);
    const QString text = m_keyEdit->text().trimmed();
    if (text.isEmpty()) {
        refuse({});
        return;
    }
    QVariant key;
    if (m_member.numericKey) {
        // A key that is not a whole number is out of the range as much as one too large.
        const auto number = kv::text::parseInteger(text);
        if (!number || *number < m_member.low || *number > m_member.high) {
            if (m_member.keyTakenAtOnce) {
                kv::ui::messages().fail(m_member.rangeMessage);
                return;
            }
            refuse(m_member.rangeMessage);
            return;
        }
        key = *number;
    } else {
        key = storedKey(m_keyEdit->text());
    }
    remember(key);
    if (keyTaken(key)) {
        table().cancel();
        if (m_member.applyOnReturn == ApplyOnReturn::UnlessSkipped)
            m_skipApply = true;
        focusField(grid());
        kv::ui::messages().fail(m_member.duplicateMessage);
        return;
    }
    startRow(key);
}

void CommercialTableForm::startRow(const QVariant& key)
{
    try {
        if (table().state() != DatasetState::Insert)
            table().insert();
        for (const auto& [column, value] : this->key().fixed)
            table().setValue(column, value);
        table().setValue(m_member.keyColumn, key);
        for (const auto& [column, value] : m_member.newRowDefaults)
            table().setValue(column, value);
        rowStarted();
    } catch (const DbError& error) {
        refuse(error.text());
        return;
    }
    m_keyEdit->setText(key.toString());
    moveTo(m_member.focusAfterNewKey);
}

void CommercialTableForm::deleteCurrent()
{
    if (m_member.skipsApplyAfterDelete || m_member.applyOnReturn == ApplyOnReturn::UnlessSkipped)
        remember(table().value(m_member.keyColumn));
    if (m_member.skipsApplyAfterDelete)
        m_skipApply = true;
    if (!m_member.deletionAtOnce) {
        // Left pending: the next apply (a return to the grid, the close) writes it.
        try {
            table().deleteRecord();
        } catch (const DbError& error) {
            showError(error);
        }
        focusField(grid());
        return;
    }
    kv::ui::TableForm::deleteCurrent();
    if (!m_member.deletionKeepsFocus)
        focusField(grid());
}

void CommercialTableForm::BotCancelarClick()
{
    if (m_member.applyOnReturn == ApplyOnReturn::UnlessSkipped)
        m_skipApply = true;
    kv::ui::TableForm::BotCancelarClick();
    if (BotDelete->isVisible())
        BotDelete->setEnabled(true);
}

void CommercialTableForm::BotPrintClick()
{
    if (CommercialListReport* report = CommercialListReport::instance(m_environment, m_member.report.reportClass))
        report->preview(table(), this);
}

// ------------------------------------------------------------------ fields

bool CommercialTableForm::fieldPassed(std::size_t index)
{
    const CommercialField& spec = m_member.fields[index];
    if (!spec.warnIfEmpty.isEmpty() && table().value(spec.column).toString().isEmpty()) {
        // Only a warning: the focus goes on.
        kv::ui::messages().beep();
        kv::ui::messages().error(spec.warnIfEmpty);
    }
    if (spec.savesRow)
        focusField(grid());
    return true;
}

QLineEdit* CommercialTableForm::companion(const QString& name) const
{
    return name.isEmpty() ? nullptr : findChild<QLineEdit*>(name);
}

void CommercialTableForm::insertKeyLookup(std::size_t index)
{
    const CommercialField& spec = m_member.fields[index];
    kv::db::Dataset& list = m_environment.dataset(spec.lookup->dataset);
    std::vector<kv::ui::GridColumn> columns;
    for (std::size_t i = 0; i < spec.lookup->listColumns.size(); ++i) {
        const auto& [column, title] = spec.lookup->listColumns[i];
        columns.push_back({column, title, i < spec.lookup->listWidths.size() ? spec.lookup->listWidths[i] : 0, {}});
    }
    kv::ui::LookupDialog dialog(list, std::move(columns), this);
    if (dialog.exec() != QDialog::Accepted)
        return; // Cancel: the field keeps what it had
    try {
        if (table().state() == DatasetState::Browse)
            table().edit();
        table().setValue(spec.column, list.value(spec.lookup->column));
    } catch (const DbError& error) {
        showError(error);
    }
}

void CommercialTableForm::openSideDoor(const LookupSpec& lookup)
{
    kv::ui::openFromSideDoor(m_environment.forms(), this, lookup.form, lookup.report,
                             {&m_environment.dataset(lookup.dataset)});
}

} // namespace kv::commercial
