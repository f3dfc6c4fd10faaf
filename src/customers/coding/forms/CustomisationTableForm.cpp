#include "customers/coding/forms/CustomisationTableForm.h"

#include "customers/coding/forms/CustomisationListReport.h"
#include "customers/coding/forms/TORCFSPR032CUSTCOD.h"
#include "customers/coding/forms/GridColumns.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"
#include "platform/ui/TUpdateErrorForm.h"
#include "platform/ui/TableButtons.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::customers {

namespace {

const QStringList TableColumns{
    QStringLiteral("TABGRUPO"),   QStringLiteral("PAIS"),        QStringLiteral("TABCOD"),     QStringLiteral("CODIGO"),
    QStringLiteral("DESIGNACAO"), QStringLiteral("REDUZCODIGO"), QStringLiteral("REDUZDESIGN")};
const QStringList KeyColumns{QStringLiteral("TABGRUPO"), QStringLiteral("PAIS"), QStringLiteral("TABCOD"),
                             QStringLiteral("CODIGO")};

} // namespace

// The form's own rows and the keys its grid returns to, made before the
// table-form base that works on them and freed after it, as the form's child.
struct CustomisationTableForm::Rows : QObject {
    kv::db::Dataset rows{QStringLiteral("CUSTARTG")};
    kv::ui::RememberedKeys remembered;
};

CustomisationTableForm::Variant CustomisationTableForm::Variant::of(CustomisationOpener opener)
{
    if (opener == CustomisationOpener::ArticleForm)
        return {QStringLiteral("TORCF032CUSTARTG"), true, true, false, true, true, true};
    return {QStringLiteral("TORCF032CUSTCOD"), false, false, true, false, false, false};
}

CustomisationTableForm::CustomisationTableForm(kv::shell::FormEnvironment environment, CustomisationOpener opener,
                                               QString group, QString table, QWidget* parent)
    : CustomisationTableForm(environment, opener, std::move(group), std::move(table), std::make_unique<Rows>(), parent)
{
}

CustomisationTableForm::CustomisationTableForm(kv::shell::FormEnvironment environment, CustomisationOpener opener,
                                               QString group, QString table, std::unique_ptr<Rows> rows,
                                               QWidget* parent)
    : TableForm(rows->rows,
                kv::ui::TableKey{QStringLiteral("CODIGO"),
                                 {{QStringLiteral("TABGRUPO"), group}, {QStringLiteral("TABCOD"), table}}},
                rows->remembered, parent),
      m_environment(environment), m_variant(Variant::of(opener)), m_group(std::move(group)),
      m_tableCode(std::move(table)), m_rows(rows.release()), m_tables(environment.invoicing()),
      m_designationRule(kv::text::FieldRule::notEmpty({}))
{
    setObjectName(m_variant.formClass.mid(1));
    m_rows->setParent(this);
    setWindowTitle(QStringLiteral("Tabela de Customização de Artigos"));
    kv::db::Dataset& dataset = m_rows->rows;
    dataset.setConnection(environment.invoicing());
    dataset.setMode(kv::db::DatasetMode::Cached);
    dataset.setUpdateStatements(
        kv::db::UpdateStatements::forTable(QStringLiteral("CUSTARTG"), TableColumns, KeyColumns));
    m_updateError = new kv::ui::TUpdateErrorForm(this);
    dataset.setErrorHandler(m_updateError->handler());
    buildLayout();
}

CustomisationTableForm::~CustomisationTableForm() = default;

void CustomisationTableForm::buildLayout()
{
    auto* layout = new QVBoxLayout(body());

    Panel2 = new QWidget;
    Panel2->setObjectName(QStringLiteral("Panel2"));
    auto* panel = new QGridLayout(Panel2);
    m_countryCaption = new QLabel(QStringLiteral("País :  "));
    m_baseCaption = new QLabel(QStringLiteral("País de Base :  "));
    Edit_Pais = new QLineEdit;
    Edit_Pais->setObjectName(QStringLiteral("Edit_Pais"));
    Edit_PaisBase = new QLineEdit;
    Edit_PaisBase->setObjectName(QStringLiteral("Edit_PaisBase"));
    for (QLineEdit* edit : {Edit_Pais, Edit_PaisBase}) {
        edit->setMaxLength(20);
        kv::ui::setFieldWidth(edit, 20);
        edit->setToolTip(QStringLiteral("Tecla <Ins> Procurar País"));
        setKeyHint(edit, QStringLiteral("Tecla <Ins> Procurar País"));
    }
    if (m_variant.highlightsCountry) {
        setCaptionLabel(Edit_Pais, m_countryCaption);
        setCaptionLabel(Edit_PaisBase, m_baseCaption);
    }
    BitFim = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"));
    BitFim->setObjectName(QStringLiteral("BitFim"));
    connect(BitFim, &kv::ui::TGlyphButton::clicked, this, &QDialog::accept);
    panel->addWidget(m_countryCaption, 0, 0);
    panel->addWidget(Edit_Pais, 0, 1, Qt::AlignLeft);
    panel->addWidget(m_baseCaption, 1, 0);
    panel->addWidget(Edit_PaisBase, 1, 1, Qt::AlignLeft);
    panel->addWidget(BitFim, 1, 2, Qt::AlignRight);
    panel->setColumnStretch(2, 1);
    layout->addWidget(Panel2);

    m_maintenance = new QWidget;
    auto* fields = new QGridLayout(m_maintenance);
    m_heading = new QLabel;
    m_heading->setObjectName(QStringLiteral("Label_Titulo"));
    fields->addWidget(m_heading, 0, 0, 1, 3);
    Edit_TabPais = new QLineEdit;
    Edit_TabPais->setObjectName(QStringLiteral("Edit_TabPais"));
    Edit_TabPais->setReadOnly(true);
    Edit_TabPais->setFocusPolicy(Qt::NoFocus);
    kv::ui::setFieldWidth(Edit_TabPais, 20);
    fields->addWidget(new QLabel(QStringLiteral("País : ")), 1, 0);
    fields->addWidget(Edit_TabPais, 1, 1, Qt::AlignLeft);

    Edit_Codigo = new QLineEdit;
    Edit_Codigo->setObjectName(QStringLiteral("Edit_Codigo"));
    kv::ui::setFieldWidth(Edit_Codigo, 6);
    auto* keyCaption = new QLabel(QStringLiteral("Código : "));
    setCaptionLabel(Edit_Codigo, keyCaption);
    fields->addWidget(keyCaption, 2, 0);
    fields->addWidget(Edit_Codigo, 2, 1, Qt::AlignLeft);

    kv::db::Dataset& dataset = m_rows->rows;
    int line = 3;
    const auto addField = [&](kv::ui::DbEdit*& edit, const QString& name, const QString& column,
                              const QString& caption) {
        edit = new kv::ui::DbEdit;
        edit->setObjectName(name);
        edit->setField(&dataset, column);
        auto* label = new QLabel(caption);
        setCaptionLabel(edit, label);
        fields->addWidget(label, line, 0);
        fields->addWidget(edit, line, 1, Qt::AlignLeft);
        ++line;
    };
    addField(Edit_Design, QStringLiteral("Edit_Design"), QStringLiteral("DESIGNACAO"), QStringLiteral("Designação : "));
    addField(Edit_RedCod, QStringLiteral("Edit_RedCod"), QStringLiteral("REDUZCODIGO"),
             QStringLiteral("Desc.Red. para Código : "));
    addField(Edit_redDescri, QStringLiteral("Edit_redDescri"), QStringLiteral("REDUZDESIGN"),
             QStringLiteral("Desc.Red. para Design. : "));
    fields->setColumnStretch(2, 1);

    auto* grid = new kv::ui::DbGrid;
    grid->setObjectName(QStringLiteral("DBGrid1"));
    grid->setDataset(&dataset, {gridColumn(QStringLiteral("CODIGO"), QStringLiteral("Código"), 8),
                                gridColumn(QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 20),
                                gridColumn(QStringLiteral("REDUZCODIGO"), QStringLiteral("Desc.Red.Cod."), 12),
                                gridColumn(QStringLiteral("REDUZDESIGN"), QStringLiteral("Desc.Red.Design."), 30)});
    fields->addWidget(grid, line, 0, 1, 3);
    layout->addWidget(m_maintenance);

    kv::ui::TableButtons buttons(buttonBar(), &dataset);
    buttonBar()->setLayout(buttons.layout);
    setControls(Edit_Codigo, grid, buttons,
                {kv::ui::TableField{Edit_Design, &m_designationRule, {}}, kv::ui::TableField{Edit_RedCod, nullptr, {}},
                 kv::ui::TableField{Edit_redDescri, nullptr, {}}});
    // Terminar goes back to the country panel of a table kept per country.
    disconnect(BitTerminar, nullptr, this, nullptr);
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, [this] { finish(); });
}

// ------------------------------------------------------------------ activation

// Kept under WModuloBase with the program of the group, as the base tables
// are; the article form's buttons that open it check their own rows (its
// WAplicacao, the program of the table number) for access alone.
void CustomisationTableForm::applyRights()
{
    m_environment.state().WCapitulo = QStringLiteral("Tabelas");
    const kv::shell::FormRights rights =
        m_environment.rights(kv::shell::RightsVariant::R3, m_environment.state().WModuloBase, QStringLiteral("Tabelas"),
                             CustomisationTables::rightsProgram(m_group));
    BotInserir->setVisible(rights.showInserir);
    BotCancelar->setVisible(rights.showCancelar);
    Edit_Codigo->setEnabled(rights.enableFields);
    Edit_Design->setEnabled(rights.enableFields);
    BotDelete->setVisible(rights.showDelete);
    BotPrint->setVisible(rights.showPrint);
}

void CustomisationTableForm::FormActivate()
{
    if (m_variant.makerTag)
        setMakerTag(m_environment.state().WMarca);
    applyRights();
    try {
        m_table = m_tables.read(m_group, m_tableCode);
        if (m_table)
            openRows(nullptr);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        m_table.reset();
    }
    if (!m_table) {
        kv::ui::messages().error(QStringLiteral("PARAMETROS GERAIS INEXISTENTES"));
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    // The activation is no edit to write on the first return to the grid.
    m_skipApply = m_variant.skipsApplyAfterCancel;
    setEnterHandler(Edit_Pais, [this] { countryEntered(); });
    setExitHandler(Edit_Pais, [this] { countryLeft(); });
    setEnterHandler(Edit_PaisBase, [this] { m_lookupTarget = Edit_PaisBase; });
    setExitHandler(Edit_PaisBase, [this] { baseLeft(); });
    attachHandlers();
    EnableEvents();
    if (m_table->perCountry)
        showCountryPanel();
    else
        maintain(CustomisationTables::Portugal);
}

void CustomisationTableForm::openRows(const QString* country)
{
    kv::db::Dataset& dataset = m_rows->rows;
    dataset.close();
    dataset.setSql(CustomisationTables::valuesSql(country ? CustomisationTables::Rows::OneCountry
                                                          : CustomisationTables::Rows::EveryCountry));
    dataset.setParam(QStringLiteral("WTabGrupo"), m_group);
    dataset.setParam(QStringLiteral("WTabCod"), m_tableCode);
    if (country)
        dataset.setParam(QStringLiteral("TabPais"), *country);
    dataset.open();
}

void CustomisationTableForm::showCountryPanel()
{
    m_country.clear();
    grid()->setEnabled(false);
    m_maintenance->setEnabled(false);
    Panel2->show();
    Panel2->setEnabled(true);
    Edit_PaisBase->setText(m_table->baseCountry);
    focusField(Edit_Pais);
}

// ------------------------------------------------------------------ country panel

void CustomisationTableForm::countryEntered()
{
    m_lookupTarget = Edit_Pais;
    if (m_variant.highlightsCountry)
        Edit_Pais->clear();
}

void CustomisationTableForm::countryLeft()
{
    const QString typed = Edit_Pais->text().trimmed();
    if (typed.isEmpty()) {
        rejectField(QStringLiteral("TEM QUE INDICAR O PAÍS !!!"), false);
        return;
    }
    try {
        switch (m_tables.choose(*m_table, typed)) {
        case CustomisationTables::CountryChoice::Maintain: maintain(typed); return;
        // The first rows of a table are "PORTUGAL"'s whatever was typed.
        case CustomisationTables::CountryChoice::FirstUse: maintain(CustomisationTables::Portugal); return;
        case CustomisationTables::CountryChoice::NeedsBase: focusField(Edit_PaisBase); return;
        }
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void CustomisationTableForm::baseLeft()
{
    const QString country = Edit_Pais->text().trimmed();
    if (country.isEmpty())
        return;
    try {
        if (m_tables.seed(*m_table, country, Edit_PaisBase->text().trimmed())
            == CustomisationTables::Seeding::MissingBase) {
            rejectField(QStringLiteral("PAIS DE BASE INEXISTENTE NA TABELA !!!"), false);
            return;
        }
        maintain(country);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void CustomisationTableForm::lookupCountry()
{
    if (!m_lookupTarget)
        return;
    kv::db::Dataset& countries = m_environment.dataset(QStringLiteral("DTTABELAS.PAISES"));
    try {
        if (!countries.isOpen())
            countries.open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    kv::ui::LookupDialog lookup(countries, {gridColumn(QStringLiteral("PAIS"), QStringLiteral("PAÍS"), 20)}, this);
    // Cancel hands nothing back.
    if (lookup.exec() == QDialog::Accepted && !countries.isEmpty())
        m_lookupTarget->setText(countries.value(QStringLiteral("PAIS")).toString());
}

// ManutCustartg
void CustomisationTableForm::maintain(const QString& country)
{
    m_country = country;
    try {
        openRows(&m_country);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    Panel2->hide();
    Panel2->setEnabled(false);
    m_maintenance->setEnabled(true);
    grid()->setEnabled(true);
    m_title = CustomisationTables::title(m_table->name);
    m_heading->setText(m_title);
    if (!m_variant.previewsOwnRows)
        setWindowTitle(m_title);
    Edit_TabPais->setText(m_country);
    showCurrentKey();
    focusField(grid());
}

void CustomisationTableForm::finish()
{
    if (!m_table || !m_table->perCountry) {
        accept();
        return;
    }
    try {
        openRows(nullptr);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    showCountryPanel();
}

// ------------------------------------------------------------------ the cycle

void CustomisationTableForm::BotInserirClick()
{
    if (m_country.isEmpty())
        return;
    m_insertMark = true;
    QString proposal;
    if (m_variant.proposesKey) {
        try {
            proposal = QString::number(m_tables.proposal(*m_table, m_country));
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
        }
    }
    Edit_Codigo->setText(proposal);
    focusField(Edit_Codigo);
}

void CustomisationTableForm::checkKey()
{
    const auto number = kv::text::parseInteger(Edit_Codigo->text().trimmed());
    // A number no article's classification column can hold is refused as an empty key.
    if (!number || !CustomisationTables::holdsValue(*number)) {
        refuse({});
        return;
    }
    kv::db::Dataset& dataset = m_rows->rows;
    if (locateKey(static_cast<int>(*number))) {
        kv::ui::messages().fail(QStringLiteral("REGISTO JÁ EXISTE ... <ENTER>"));
        m_insertMark = false;
        m_cancelMark = true;
        m_skipApply = m_variant.skipsApplyAfterCancel;
        moveFocus(QStringLiteral("DBGrid1"));
        return;
    }
    try {
        dataset.append();
        dataset.setValue(QStringLiteral("TABGRUPO"), m_group);
        dataset.setValue(QStringLiteral("PAIS"), m_country);
        dataset.setValue(QStringLiteral("TABCOD"), m_tableCode);
        dataset.setValue(QStringLiteral("CODIGO"), static_cast<int>(*number));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    remember(static_cast<int>(*number));
    focusField(Edit_Design);
}

void CustomisationTableForm::BotCancelarClick()
{
    m_skipApply = m_variant.skipsApplyAfterCancel;
    TableForm::BotCancelarClick();
}

bool CustomisationTableForm::appliesOnReturn() const
{
    return m_variant.skipsApplyAfterCancel ? !m_skipApply && !m_cancelMark : true;
}

void CustomisationTableForm::afterApply()
{
    // TORCF032CUSTARTG returns to the row last edited or inserted; the other starts at the first row.
    if (m_variant.proposesKey)
        reopenTable();
    else {
        m_rows->rows.close();
        m_rows->rows.open();
    }
}

void CustomisationTableForm::returned(bool) { m_skipApply = false; }

void CustomisationTableForm::deleteCurrent()
{
    TableForm::deleteCurrent();
    m_skipApply = m_variant.skipsApplyAfterCancel;
    focusField(grid());
}

void CustomisationTableForm::BotPrintClick()
{
    if (m_variant.previewsOwnRows) {
        CustomisationListReport list(CustomisationListReport::articleFormList(m_title), m_environment, m_openReports);
        list.preview(m_rows->rows, this);
        return;
    }
    TORCFSPR032CUSTCOD dialog(m_environment, m_group, m_tableCode, m_title, this);
    dialog.exec();
}

void CustomisationTableForm::FormClose()
{
    kv::db::Dataset& dataset = m_rows->rows;
    if (m_variant.appliesOnClose && dataset.isOpen()) {
        try {
            if (dataset.state() != kv::db::DatasetState::Browse)
                dataset.post();
        } catch (const kv::db::DbError& error) {
            showError(error);
        }
        if (dataset.hasPendingChanges())
            applyChanges();
    } else if (dataset.isOpen()) {
        dataset.cancel();
        dataset.cancelUpdates();
    }
    dataset.close();
}

bool CustomisationTableForm::FormKeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Insert && (Edit_Pais->hasFocus() || Edit_PaisBase->hasFocus())) {
        lookupCountry();
        return true;
    }
    return TableForm::FormKeyPress(event);
}

} // namespace kv::customers
