#include "customers/coding/forms/TORCF032CODIF.h"

#include "customers/coding/forms/GridColumns.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/db/WindowedList.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QTimer>

namespace kv::customers {

namespace {

const char* const TypeNames[] = {"Produto",
                                 "Mercadoria",
                                 "Serviço",
                                 "Amostra",
                                 "Feitio",
                                 "Matéria Prima",
                                 "Semi-Laborados",
                                 "Matéria Subsidiária",
                                 "Materiais Diversos",
                                 "Embal. Consumo",
                                 "Diversos"};

const QString TypeMessage = QStringLiteral("DIGITE DE [1] A [10] PARA TIPO DE ARTIGO");

} // namespace

TORCF032CODIF::TORCF032CODIF(kv::shell::FormEnvironment environment, QWidget* parent)
    : Form(parent), m_environment(environment),
      m_coding(environment.invoicing(), environment.state().WComputador, environment.state().WUtil)
{
    setObjectName(QStringLiteral("ORCF032CODIF"));
    setWindowTitle(QStringLiteral("Codificação Automática do Artigo"));
    buildLayout();
}

TORCF032CODIF::~TORCF032CODIF() = default;

void TORCF032CODIF::buildLayout()
{
    auto* grid = new QGridLayout(body());
    int line = 0;
    const auto addField = [&](const QString& caption, QLineEdit* edit, int characters, const QString& name) {
        edit->setObjectName(name);
        kv::ui::setFieldWidth(edit, characters);
        auto* label = new QLabel(caption);
        setCaptionLabel(edit, label);
        grid->addWidget(label, line, 0);
        grid->addWidget(edit, line, 1, 1, 3, Qt::AlignLeft);
        ++line;
        return label;
    };

    Edit_RefTipArt = new QLineEdit;
    addField(QStringLiteral("Tipo de Artigo : "), Edit_RefTipArt, 3, QStringLiteral("Edit_RefTipArt"));
    m_typeList = new QListWidget;
    m_typeList->setObjectName(QStringLiteral("PanelTipoArtigo"));
    m_typeList->setToolTip(QStringLiteral("Seleccione"));
    m_typeList->setFocusPolicy(Qt::NoFocus);
    for (int type = 1; type <= 11; ++type)
        m_typeList->addItem(QStringLiteral("%1 - %2").arg(type).arg(QString::fromUtf8(TypeNames[type - 1])));
    m_typeList->setFixedWidth(m_typeList->sizeHintForColumn(0) + 24);
    m_typeList->setFixedHeight(m_typeList->sizeHintForRow(0) * 11 + 6);
    m_typeList->hide();
    grid->addWidget(m_typeList, 0, 4, 12, 1, Qt::AlignTop | Qt::AlignLeft);

    Edit_ReferNum = new QLineEdit;
    m_manualCaption = addField(QStringLiteral("Referenciação : "), Edit_ReferNum, ArticleCoding::CodeLength,
                               QStringLiteral("Edit_ReferNum"));
    Edit_RefCodigo = new QLineEdit;
    addField(QStringLiteral("Código de Artigo : "), Edit_RefCodigo, ArticleCoding::CodeLength + 4,
             QStringLiteral("Edit_RefCodigo"));
    Edit_Design = new QLineEdit;
    Edit_Design->setMaxLength(ArticleCoding::DesignationLength);
    Edit_Design->setToolTip(QStringLiteral("Tecla <Ins> Para Confirmar"));
    addField(QStringLiteral("Designação : "), Edit_Design, ArticleCoding::DesignationLength,
             QStringLiteral("Edit_Design"));

    for (int n = 1; n <= 9; ++n) {
        Row& row = m_rows[static_cast<std::size_t>(n - 1)];
        row.caption = new QLabel(QStringLiteral("Custom %1 :").arg(n));
        row.caption->setObjectName(QStringLiteral("Label_RefTab%1").arg(n));
        row.field = new QLineEdit;
        row.field->setObjectName(QStringLiteral("Edit_RefCustom%1").arg(n));
        row.field->setValidator(new QIntValidator(0, ArticleCoding::MaxValue, row.field));
        kv::ui::setFieldWidth(row.field, 6);
        setCaptionLabel(row.field, row.caption);
        setKeyHint(row.field, QStringLiteral("Tecla <Ins> Procurar"));
        row.valueName = new QLineEdit;
        row.valueName->setObjectName(QStringLiteral("Edit_RefTab%1").arg(n));
        row.valueName->setReadOnly(true);
        row.valueName->setFocusPolicy(Qt::NoFocus);
        kv::ui::setFieldWidth(row.valueName, 20);
        row.button = new kv::ui::TGlyphButton(QStringLiteral("..."));
        row.button->setObjectName(QStringLiteral("BotRefCustom%1").arg(n));
        row.button->SetHint(QStringLiteral("Tabela de Customização"));
        row.button->hide();
        connect(row.button, &kv::ui::TGlyphButton::clicked, this, [this, n] { openTable(n); });
        grid->addWidget(row.caption, line, 0);
        grid->addWidget(row.field, line, 1, Qt::AlignLeft);
        grid->addWidget(row.valueName, line, 2, Qt::AlignLeft);
        grid->addWidget(row.button, line, 3, Qt::AlignLeft);
        ++line;
    }
    grid->setColumnStretch(5, 1);

    m_series = std::make_unique<kv::db::Dataset>(QStringLiteral("ARTIGOSCLS"));
    m_series->setConnection(m_environment.invoicing());
    m_seriesList = std::make_unique<kv::db::WindowedList>(
        *m_series, kv::db::WindowedList::Shape{QStringLiteral("CODIGO, DESIGNACAO"),
                                               QStringLiteral("ARTIGOSCLS"),
                                               ArticleCoding::matchingCondition(),
                                               {QStringLiteral("CODIGO")}});
    DBGrid1 = new kv::ui::DbGrid;
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setFocusPolicy(Qt::NoFocus);
    DBGrid1->setDataset(m_series.get(), {gridColumn(QStringLiteral("CODIGO"), QStringLiteral("Código"), 16),
                                         gridColumn(QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40)});
    grid->addWidget(DBGrid1, line, 0, 1, 6);
    // A series may be longer than a window: a row chosen at an edge of the
    // rows read, or the scroll bar taken to an end, reads on past it.
    connect(m_series.get(), &kv::db::Dataset::currentChanged, this, [this](int) { followSeries(); });
    connect(DBGrid1->verticalScrollBar(), &QAbstractSlider::actionTriggered, this, [this] {
        QMetaObject::invokeMethod(
            this,
            [this] {
                const QScrollBar* bar = DBGrid1->verticalScrollBar();
                if (m_followingSeries || !m_series->isOpen() || m_series->isEmpty())
                    return;
                if (bar->value() == bar->maximum() && m_seriesList->moreAfter())
                    m_series->last();
                else if (bar->value() == bar->minimum() && m_seriesList->moreBefore())
                    m_series->first();
            },
            Qt::QueuedConnection);
    });

    auto* buttons = new QHBoxLayout(buttonBar());
    BotCancelar = new kv::ui::TGlyphButton(QStringLiteral("&Cancelar"));
    BotCancelar->setObjectName(QStringLiteral("BotCancelar"));
    BitTerminar = new kv::ui::TGlyphButton(QStringLiteral("&Terminar"));
    BitTerminar->setObjectName(QStringLiteral("BitTerminar"));
    connect(BotCancelar, &kv::ui::TGlyphButton::clicked, this, [this] { cancel(); });
    connect(BitTerminar, &kv::ui::TGlyphButton::clicked, this, [this] { confirm(); });
    buttons->addStretch(1);
    buttons->addWidget(BotCancelar);
    buttons->addWidget(BitTerminar);
}

QString TORCF032CODIF::group() const { return m_environment.state().WTabGrupo; }

void TORCF032CODIF::FormActivate()
{
    setMakerTag(m_environment.state().WMarca);
    try {
        m_parameters = m_coding.readParameters();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    if (!m_parameters) {
        kv::ui::messages().error(QStringLiteral("VERIFIQUE A PARAMETRIZAÇÃO!!"));
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    attachHandlers();
    EnableEvents();
    Edit_RefTipArt->setText(QStringLiteral("1"));
    focusField(Edit_RefTipArt);
}

void TORCF032CODIF::attachHandlers()
{
    setEnterHandler(Edit_RefTipArt, [this] { typeEntered(); });
    setExitHandler(Edit_RefTipArt, [this] { typeLeft(); });
    setExitHandler(Edit_ReferNum, [this] { manualNumberLeft(); });
    setEnterHandler(Edit_RefCodigo, [this] { buildCode(); });
    setEnterHandler(Edit_Design,
                    [this] { setStatusText(0, QStringLiteral("Tecla <Ins> para confirmar codificação")); });
    setExitHandler(Edit_Design, [this] { setStatusText(0, {}); });
    for (int n = 1; n <= 9; ++n) {
        const Row& row = m_rows[static_cast<std::size_t>(n - 1)];
        setEnterHandler(row.field, [this, n] { m_environment.state().WTabCod = QString::number(n); });
        setExitHandler(row.field, [this, n] { fieldLeft(n); });
        connect(row.field, &QLineEdit::textChanged, this, [this, n] {
            if (eventsEnabled())
                refreshField(n);
        });
    }
}

// ------------------------------------------------------------------ type

void TORCF032CODIF::typeEntered()
{
    m_typeList->show();
    m_manualCaption->hide();
    Edit_ReferNum->hide();
    Edit_ReferNum->setEnabled(false);
}

void TORCF032CODIF::typeLeft()
{
    m_typeList->hide();
    const auto found = ArticleCoding::groupOfType(*m_parameters, Edit_RefTipArt->text());
    if (!found) {
        rejectField(TypeMessage);
        return;
    }
    m_environment.state().WTabGrupo = *found;
    showGroup();
}

// ShowRefCustom
void TORCF032CODIF::showGroup()
{
    BitTerminar->setEnabled(false);
    m_environment.state().WTabCod = QStringLiteral("1");
    for (Row& row : m_rows) {
        row.caption->clear();
        row.button->hide();
    }
    std::vector<CodingTable> tables;
    try {
        tables = m_coding.tables(group());
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    for (const CodingTable& table : tables)
        m_rows[static_cast<std::size_t>(table.table - 1)].caption->setText(table.name);
    for (int n = 1; n <= 9; ++n) {
        Row& row = m_rows[static_cast<std::size_t>(n - 1)];
        const bool captioned = !row.caption->text().isEmpty();
        row.field->setEnabled(captioned);
        row.button->setVisible(captioned && customisationButtonShown(m_environment, group(), QString::number(n)));
    }
    // A group without sequence settings places no number.
    m_sequence = m_parameters->sequence(group());
    if (m_sequence.mode != NumberMode::Manual) {
        refreshFields();
        focusField(firstCaptionedField());
        return;
    }
    m_manualCaption->show();
    Edit_ReferNum->show();
    Edit_ReferNum->setEnabled(true);
    focusField(Edit_ReferNum);
}

QWidget* TORCF032CODIF::firstCaptionedField() const
{
    for (const Row& row : m_rows)
        if (!row.caption->text().isEmpty())
            return row.field;
    return Edit_RefCodigo;
}

// ------------------------------------------------------------------ classification fields

void TORCF032CODIF::refreshField(int n)
{
    m_environment.state().WTabCod = QString::number(n);
    const Row& row = m_rows[static_cast<std::size_t>(n - 1)];
    row.valueName->clear();
    bool number = false;
    const int value = row.field->text().toInt(&number);
    if (!number)
        return;
    m_result.custom[static_cast<std::size_t>(n - 1)] = value;
    try {
        if (const auto found = m_coding.value(group(), n, value))
            row.valueName->setText(found->designation);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032CODIF::refreshFields()
{
    for (int n = 1; n <= 9; ++n)
        refreshField(n);
}

void TORCF032CODIF::fieldLeft(int n)
{
    refreshField(n);
    for (int later = n + 1; later <= 9; ++later)
        if (!m_rows[static_cast<std::size_t>(later - 1)].caption->text().isEmpty())
            return;
    focusField(Edit_RefCodigo);
}

// Procurar1Click: the table of the field entered last.
void TORCF032CODIF::lookupValue()
{
    const int n = m_environment.state().WTabCod.toInt();
    if (n < 1 || n > 9)
        return;
    kv::db::Dataset values(QStringLiteral("CUSTARTG1"));
    values.setConnection(m_environment.invoicing());
    values.setSql(ArticleCoding::valueListSql());
    values.setParam(QStringLiteral("WtabGrupo"), group());
    values.setParam(QStringLiteral("WTabCod"), QString::number(n));
    try {
        values.open();
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    kv::ui::LookupDialog lookup(values,
                                {gridColumn(QStringLiteral("DESIGNACAO"), QStringLiteral("DESIGNACAO"), 20),
                                 gridColumn(QStringLiteral("CODIGO"), QStringLiteral("CODIGO"), 10)},
                                this);
    // Cancel hands nothing back: the field keeps what it had.
    if (lookup.exec() != QDialog::Accepted || values.isEmpty())
        return;
    QLineEdit* field = m_rows[static_cast<std::size_t>(n - 1)].field;
    field->setText(values.value(QStringLiteral("CODIGO")).toString());
    refreshField(n);
}

// BotRefCustomnClick: the table for maintenance; the field is not refreshed.
void TORCF032CODIF::openTable(int n)
{
    m_environment.state().WTabCod = QString::number(n);
    runCustomisationTable(m_environment, this, CustomisationOpener::CodingForm, group(), QString::number(n));
    try {
        m_parameters = m_coding.readParameters().value_or(*m_parameters);
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void TORCF032CODIF::manualNumberLeft()
{
    if (Edit_ReferNum->text().isEmpty()) {
        rejectField(QStringLiteral("Referenciação Inválida !!!"), false);
        return;
    }
    if (Edit_ReferNum->text().size() != m_sequence.width) {
        rejectField(QStringLiteral("Nº de Dígitos Inválido !!!"), false);
        return;
    }
    refreshFields();
    focusField(firstCaptionedField());
}

CodingFields TORCF032CODIF::fieldValues() const
{
    CodingFields fields;
    for (std::size_t n = 0; n < 9; ++n) {
        bool number = false;
        const int value = m_rows[n].field->text().toInt(&number);
        if (number)
            fields[n] = value;
    }
    return fields;
}

// ------------------------------------------------------------------ code

// Edit_RefCodigoEnter: the code is built each time the field is entered.
void TORCF032CODIF::buildCode()
{
    Edit_Design->clear();
    Edit_RefCodigo->clear();
    try {
        const BuiltCode built = m_coding.build(group(), m_sequence, fieldValues(), Edit_ReferNum->text());
        Edit_RefCodigo->setText(built.code);
        Edit_Design->setText(built.designation);
        showSeries(built);
        if (built.badlyParameterised)
            kv::ui::messages().error(QStringLiteral("CODIFICAÇÃO DE ARTIGO MAL PARAMETRIZADA!!!"));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
    BitTerminar->setEnabled(true);
}

// The articles of the series the automatic number was taken from, a window at a time.
void TORCF032CODIF::showSeries(const BuiltCode& built)
{
    m_series->close();
    if (!built.numberPlaced || m_sequence.mode != NumberMode::Automatic)
        return;
    const QVariantList values = ArticleCoding::matchingParameters(built.bounds);
    m_series->setParam(QStringLiteral("Grelha"), values[0]);
    for (int n = 1; n <= 9; ++n) {
        m_series->setParam(QStringLiteral("WTab%1%2").arg(n).arg(1), values[2 * n - 1]);
        m_series->setParam(QStringLiteral("WTab%1%2").arg(n).arg(2), values[2 * n]);
    }
    m_followingSeries = true;
    m_seriesList->openFirst();
    m_followingSeries = false;
}

void TORCF032CODIF::followSeries()
{
    // Reading the window again moves the rows too; those moves read nothing.
    if (m_followingSeries)
        return;
    m_followingSeries = true;
    m_seriesList->follow();
    m_followingSeries = false;
}

void TORCF032CODIF::confirm()
{
    const QString code = Edit_RefCodigo->text();
    if (!code.isEmpty()) {
        ArticleCoding::Confirmation outcome = ArticleCoding::Confirmation::Taken;
        try {
            outcome = m_coding.confirm(code);
        } catch (const kv::db::DbError& error) {
            kv::ui::messages().fail(error.fullText());
            return;
        }
        if (outcome == ArticleCoding::Confirmation::TooLong) {
            kv::ui::messages().fail(
                QStringLiteral("O CÓDIGO DO ARTIGO TEM MAIS DE %1 CARACTERES !!!").arg(ArticleCoding::CodeLength));
            return;
        }
        if (outcome == ArticleCoding::Confirmation::Taken) {
            kv::ui::messages().fail(QStringLiteral("ARTIGO JÁ FOI ABERTO ... <ENTER>"));
            cancel();
            return;
        }
        m_result.generated = true;
    }
    m_result.code = code;
    m_result.designation = Edit_Design->text().left(ArticleCoding::DesignationLength);
    m_result.labelDesignation = m_result.designation;
    m_result.articleType = Edit_RefTipArt->text();
    m_result.custom = {};
    const CodingFields fields = fieldValues();
    for (std::size_t n = 0; n < 9; ++n)
        m_result.custom[n] = fields[n].value_or(0);
    accept();
}

void TORCF032CODIF::cancel()
{
    setStatusText(0, {});
    m_series->close();
    BitTerminar->setEnabled(true);
    DisableEvents();
    Edit_RefCodigo->clear();
    Edit_Design->clear();
    for (Row& row : m_rows) {
        row.field->clear();
        row.valueName->clear();
        row.caption->clear();
    }
    EnableEvents();
    m_result = CodingResult{};
    focusField(Edit_RefTipArt);
}

bool TORCF032CODIF::FormKeyPress(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Insert) {
        if (Edit_Design->hasFocus()) {
            confirm();
            return true;
        }
        for (const Row& row : m_rows)
            if (row.field->hasFocus()) {
                lookupValue();
                return true;
            }
    }
    return Form::FormKeyPress(event);
}

} // namespace kv::customers
