#include "commercial/forms/AgentFileForm.h"

#include "commercial/forms/PostalPlace.h"

#include "customers/partforms/ContactsBlock.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/notes/NotesEditor.h"
#include "platform/text/NumberText.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StatusBar.h"
#include "platform/ui/TGlyphButton.h"

#include <QDateTime>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QTabWidget>
#include <QTextEdit>

namespace kv::commercial {

using kv::db::DbError;

namespace {

const QString AgentKey = QStringLiteral("CODIGO");
const QString AgentPostalCodes = QStringLiteral("DTTABELAS.CODPOSTAL");
const QString AgentCountries = QStringLiteral("DTTABELAS.PAISES");
const QString Commissions = QStringLiteral("DTTABELAS.COMISSOES");
const QString Banks = QStringLiteral("DTFILES.BANCOS");

} // namespace

AgentFileForm::AgentFileForm(const CommercialTableDescription& member, CommercialEnvironment environment,
                             QWidget* parent)
    : CommercialTableForm(member, environment, parent)
{
    for (const char* name : {"Edit_TelCodPais", "Edit_TelCodZona", "Edit_SiglaNif", "Edit_DataAbertura"})
        if (auto* shown = qobject_cast<QLineEdit*>(control(QString::fromUtf8(name)))) {
            shown->setReadOnly(true);
            shown->setFocusPolicy(Qt::NoFocus);
        }
    m_locality = companion(QStringLiteral("Edit_CodPostal"), QStringLiteral("Edit_Localidade"), 30);
    m_rate = companion(QStringLiteral("Edit_Comissao"), QStringLiteral("Edit_PrcCom"), 8);
    placeBeside(QStringLiteral("Edit_Comissao"), new QLabel(QStringLiteral("%"), this));
    m_bankName = companion(QStringLiteral("Edit_Banco"), QStringLiteral("Edit_NomeBanco"), 30);
    m_count = new QLabel(this);
    m_count->setObjectName(QStringLiteral("Label_NumAgentes"));
    placeBeside(QStringLiteral("Edit_DataAbertura"), m_count);
    const auto follow = [this](const char* field, void (AgentFileForm::*refresh)()) {
        if (auto* edit = qobject_cast<QLineEdit*>(control(QString::fromUtf8(field))))
            connect(edit, &QLineEdit::textChanged, this, refresh);
    };
    follow("Edit_CodPostal", &AgentFileForm::showLocality);
    follow("Edit_Comissao", &AgentFileForm::showCommission);
    follow("Edit_Banco", &AgentFileForm::showBank);

    m_contacts = new kv::customers::ContactsBlock(m_file.contacts());
    m_contacts->setObjectName(QStringLiteral("NBContactos"));
    // Below the telephones, across the page.
    auto* office = static_cast<QGridLayout*>(pages()->widget(Office)->layout());
    const int below = office->rowCount();
    office->setRowStretch(below - 1, 0);
    office->addWidget(m_contacts, below, 0, 1, -1, Qt::AlignLeft | Qt::AlignTop);
    office->setRowStretch(below + 1, 1);
    connect(m_contacts, &kv::customers::ContactsBlock::lastDepartmentLeft, this,
            [this] { pages()->setCurrentIndex(Business); });

    kv::notes::NotesSettings notes;
    notes.prefix = QStringLiteral("AGT");
    notes.folder = [this] { return m_notesFolder; };
    notes.code = [this] { return m_deletedCode.isEmpty() ? keyEdit()->text().trimmed() : m_deletedCode; };
    notes.hasRecord = [](const QString& code) { return code.toLongLong() != 0; };
    notes.liveToolbar = true;
    m_notes = new kv::notes::NotesEditor(notes, environment.session().installation, statusBar());
    m_notes->setObjectName(QStringLiteral("PageInformacoes"));
    pages()->addTab(m_notes, QString::fromUtf8(" Informações "));
    connect(pages(), &QTabWidget::currentChanged, this, &AgentFileForm::tabChanged);

    const auto column = [](const char* name, const char* title, int width) {
        return kv::ui::GridColumn{QString::fromUtf8(name), QString::fromUtf8(title), width, {}};
    };
    addCodeLookup(QStringLiteral("Edit_CodPostal"), AgentPostalCodes, QStringLiteral("CODPOSTAL"),
                  {column("CODPOSTAL", "COD.POSTAL", 10), column("LOCALIDADE", "LOCALIDADE", 30)},
                  [this] { showLocality(); });
    addCodeLookup(QStringLiteral("Edit_Comissao"), Commissions, AgentKey,
                  {column("CODIGO", "CÓDIGO", 8), column("PRCCOM", "% COMISSÃO", 10)}, [this] { showCommission(); });
    addCodeLookup(
        QStringLiteral("Edit_Banco"), Banks, AgentKey,
        {column("CODIGO", "CÓD.BANCO", 8), column("NOME", "NOME BANCO", 30), column("AGENCIA", "AGÊNCIA", 20)},
        [this] { showBank(); });
    m_doors = {addSideDoor(QStringLiteral("Edit_CodPostal"), QStringLiteral("BotCodPostal"),
                           QString::fromUtf8("Códigos Postais"), QStringLiteral("TFACF008"),
                           QStringLiteral("TFACFPR008"), {AgentPostalCodes, AgentCountries},
                           [this] { showLocality(); }),
               addSideDoor(QStringLiteral("Edit_Banco"), QStringLiteral("BotBanco"), QStringLiteral("Bancos"),
                           QStringLiteral("TFACF030A"), {}, {AgentPostalCodes, AgentCountries, Commissions, Banks},
                           [this] {
                               readNotesFolder();
                               showAgent();
                           }),
               addSideDoor(QStringLiteral("Edit_Comissao"), QStringLiteral("BotComissao"),
                           QString::fromUtf8("Comissões"), QStringLiteral("TFACF004"), QStringLiteral("TFACFPR004"),
                           {Commissions}, [this] { showCommission(); })};
}

AgentFileForm::~AgentFileForm() = default;

QLineEdit* AgentFileForm::companion(const QString& field, const QString& name, int characters)
{
    auto* shown = new QLineEdit(this);
    shown->setObjectName(name);
    shown->setReadOnly(true);
    shown->setFocusPolicy(Qt::NoFocus);
    kv::ui::setFieldWidth(shown, characters);
    placeBeside(field, shown);
    return shown;
}

// ------------------------------------------------------------------ open / close

void AgentFileForm::readNotesFolder()
{
    try {
        m_notesFolder = AgentFile::notesFolder(*environment().invoicing(), environment().state().WAno);
    } catch (const DbError& error) {
        m_notesFolder.clear();
        showError(error);
    }
}

void AgentFileForm::FormActivate()
{
    readNotesFolder();
    pages()->setCurrentIndex(Office);
    CommercialTableForm::FormActivate();
    if (!table().isOpen())
        return;
    const auto& env = environment();
    const QString files = QStringLiteral("Ficheiros Base");
    // The agent's own rights row is a file's, not a table's; it changes no edit.
    const kv::shell::FormRights rights =
        env.rights(kv::shell::RightsVariant::R3, env.state().WModuloBase, files, QStringLiteral("Agentes"));
    BotInserir->setVisible(rights.showInserir);
    BotCancelar->setVisible(rights.showCancelar);
    BotDelete->setVisible(rights.showDelete);
    BotPrint->setVisible(false);
    // Each door shows once its form is in the program and the user may reach it.
    const kv::shell::FormEnvironment& file = env;
    const QString doors[][3] = {
        {QStringLiteral("TFACF008"), QStringLiteral("Tabelas"), QStringLiteral("Codigos Postais")},
        {QStringLiteral("TFACF030A"), files, QStringLiteral("Bancos")},
        {QStringLiteral("TFACF004"), QStringLiteral("Tabelas"), QStringLiteral("Comissoes")}};
    for (std::size_t i = 0; i < m_doors.size(); ++i)
        m_doors[i]->setVisible(env.forms().contains(doors[i][0])
                               && file.sideDoorVisible(env.state().WModuloBase, doors[i][1], doors[i][2]));
    setStatusText(1, {});
    setStatusText(2, env.state().WMarca);
    showAgent();
}

void AgentFileForm::done(int result)
{
    if (isActivated() && m_notes->isModified())
        m_notes->confirmSave();
    CommercialTableForm::done(result);
}

bool AgentFileForm::FormKeyPress(QKeyEvent* event)
{
    // On the notes page Enter makes a new paragraph.
    if (m_tab == Notes && (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter))
        return false;
    return CommercialTableForm::FormKeyPress(event);
}

void AgentFileForm::tabChanged(int index)
{
    const int left = std::exchange(m_tab, index);
    if (left == Notes && index != Notes)
        m_notes->confirmSave();
    if (index == Office) {
        moveFocus(QStringLiteral("Edit_Nome"));
    } else if (index == Business) {
        moveFocus(QStringLiteral("Edit_Nif"));
    } else if (index == Notes) {
        if (m_notes->open())
            focusField(m_notes->editor());
        else
            pages()->setCurrentIndex(Office);
    }
}

// ------------------------------------------------------------------ the agent shown

void AgentFileForm::showAgent()
{
    const int agent = table().isOpen() && !table().isEmpty() ? table().value(AgentKey).toInt() : 0;
    if (agent != m_agentShown && m_tab == Notes) {
        // No agent is shown with another's notes: the changes are asked about first.
        m_notes->confirmSave();
    }
    m_agentShown = agent;
    try {
        m_contacts->setBlocks(m_file.contacts().read(*environment().invoicing(), agent));
    } catch (const DbError& error) {
        showError(error);
    }
    showLocality();
    showCommission();
    showBank();
    if (m_tab == Notes && !m_notes->open())
        pages()->setCurrentIndex(Office);
}

void AgentFileForm::rowShown()
{
    CommercialTableForm::rowShown();
    if (!inserting() && !editing(table()))
        showAgent();
}

void AgentFileForm::returned(bool applied)
{
    CommercialTableForm::returned(applied);
    m_count->setText(QString::fromUtf8("Nº Agentes : %1").arg(table().isOpen() ? table().recordCount() : 0));
}

void AgentFileForm::BotInserirClick()
{
    if (m_tab == Notes)
        pages()->setCurrentIndex(Office);
    CommercialTableForm::BotInserirClick();
    m_contacts->clear();
    for (QLineEdit* shown : {m_locality, m_rate, m_bankName})
        shown->clear();
}

void AgentFileForm::checkKey()
{
    CommercialTableForm::checkKey();
    // An accepted code opens the agent: the moment of its insertion is its opening date.
    if (table().state() == kv::db::DatasetState::Insert && !table().value(AgentKey).isNull())
        table().setValue(QStringLiteral("DATAABERTURA"), QDateTime::currentDateTime());
}

// ------------------------------------------------------------------ saves

bool AgentFileForm::checkFields()
{
    if (!CommercialTableForm::checkFields())
        return false;
    if (!editing(table()))
        return true;
    return postalCodeAccepted(false) && codeAccepted(QStringLiteral("Edit_Banco"), Banks, false)
           && codeAccepted(QStringLiteral("Edit_Comissao"), Commissions, false);
}

bool AgentFileForm::applyChanges()
{
    if (!editing(table()))
        return CommercialTableForm::applyChanges();
    const int agent = table().value(AgentKey).toInt();
    setStatusText(0, QString::fromUtf8("Gravação de Contactos em Curso ..."));
    try {
        m_file.store(table(), agent, m_contacts->blocks());
    } catch (const DbError& error) {
        setStatusText(0, {});
        if (!table().hasErrorHandler())
            showError(error);
        return false;
    }
    setStatusText(0, {});
    return true;
}

void AgentFileForm::deleteCurrent()
{
    const QString code = keyEdit()->text().trimmed();
    try {
        m_file.remove(table());
        // The notes go only once the agent is gone for good; by then the key
        // edit shows the agent that became current.
        m_deletedCode = code;
        m_notes->deleteNotes();
        m_deletedCode.clear();
        table().close();
        table().open();
    } catch (const DbError& error) {
        if (!table().hasErrorHandler())
            showError(error);
    }
    showAgent();
    focusField(grid());
}

// ------------------------------------------------------------------ fields

void AgentFileForm::showLocality()
{
    m_locality->setText(
        table().isOpen()
            ? PostalPlace::of(environment(), table().value(QStringLiteral("CODPOSTAL")).toString()).locality
            : QString());
}

void AgentFileForm::showCommission()
{
    kv::db::Dataset& rates = environment().dataset(Commissions);
    const QVariant code = table().isOpen() ? table().value(QStringLiteral("COMISSAO")) : QVariant();
    if (!code.isNull() && rates.isOpen() && rates.locate(AgentKey, code.toInt()))
        m_rate->setText(kv::text::plain(rates.value(QStringLiteral("PRCCOM")).toDouble()));
    else
        m_rate->clear();
}

void AgentFileForm::showBank()
{
    kv::db::Dataset& banks = environment().dataset(Banks);
    const QVariant code = table().isOpen() ? table().value(QStringLiteral("BANCO")) : QVariant();
    if (!code.isNull() && banks.isOpen() && banks.locate(AgentKey, code.toInt()))
        m_bankName->setText(banks.value(QStringLiteral("NOME")).toString());
    else
        m_bankName->clear();
}

void AgentFileForm::refused(const QString& field, const QString& message, bool refuseHere)
{
    if (refuseHere) {
        refuse(message);
        return;
    }
    pages()->setCurrentIndex(field == QLatin1String("Edit_CodPostal") ? m_tab : Business);
    kv::ui::messages().beep();
    if (!message.isEmpty())
        kv::ui::messages().error(message);
    moveFocus(field);
}

bool AgentFileForm::postalCodeAccepted(bool refuseHere)
{
    const QString field = QStringLiteral("Edit_CodPostal");
    const PostalPlace place = PostalPlace::of(environment(), table().value(QStringLiteral("CODPOSTAL")).toString());
    m_locality->setText(place.locality);
    if (!place.found) {
        if (refuseHere)
            table().setValue(QStringLiteral("CODPOSTAL"), QVariant());
        refused(field, {}, refuseHere);
        return false;
    }
    if (!place.countryFound) {
        refused(field, QString::fromUtf8("PAÍS INEXISTENTE"), refuseHere);
        return false;
    }
    table().setValue(QStringLiteral("SIGLANIF"), place.taxPrefix);
    table().setValue(QStringLiteral("TELCODPAIS"), place.countryPrefix);
    table().setValue(QStringLiteral("TELCODZONA"), place.zonePrefix);
    return true;
}

// A code of another table (bank, commission rate): empty or existing.
bool AgentFileForm::codeAccepted(const QString& field, const QString& dataset, bool refuseHere)
{
    const CommercialField* spec = member().field(field);
    const QVariant code = table().value(spec->column);
    kv::db::Dataset& rows = environment().dataset(dataset);
    if (code.isNull() || code.toString().trimmed().isEmpty() || (rows.isOpen() && rows.locate(AgentKey, code.toInt())))
        return true;
    if (refuseHere && field == QLatin1String("Edit_Banco"))
        table().setValue(spec->column, QVariant());
    refused(field, {}, refuseHere);
    return false;
}

bool AgentFileForm::fieldPassed(std::size_t index)
{
    const QString& name = member().fields[index].name;
    if (name == QLatin1String("Edit_CodPostal")) {
        if (!postalCodeAccepted(true))
            return false;
        pages()->setCurrentIndex(Office);
        moveFocus(QStringLiteral("Edit_Telefone"));
        return true;
    }
    if (name == QLatin1String("Edit_Banco")) {
        const bool accepted = codeAccepted(name, Banks, true);
        showBank();
        return accepted;
    }
    if (name == QLatin1String("Edit_Comissao")) {
        const bool accepted = codeAccepted(name, Commissions, true);
        showCommission();
        if (accepted)
            pages()->setCurrentIndex(Office);
        return accepted;
    }
    return CommercialTableForm::fieldPassed(index);
}

} // namespace kv::commercial
