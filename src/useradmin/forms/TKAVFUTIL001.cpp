#include "useradmin/forms/TKAVFUTIL001.h"

#include "useradmin/forms/GridFit.h"

#include "platform/ui/DbEdit.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FormColours.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QDateTime>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::useradmin {
namespace {

const QString NRO = QStringLiteral("NRO");

ui::TGlyphButton* button(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new ui::TGlyphButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->SetHint(hint);
    return b;
}

} // namespace

TKAVFUTIL001::TKAVFUTIL001(AdminSession& session, QWidget* parent)
    : ui::Form(parent), m_session(session), UTIL(QStringLiteral("UTIL"))
{
    setObjectName(QStringLiteral("TKAVFUTIL001"));
    setWindowTitle(QStringLiteral("Abertura e Manutenção de Utilizadores"));
    setModal(true);
    UTIL.setSql(UserFile::selectSql());
    UTIL.setMode(db::DatasetMode::Cached);
    UTIL.setUpdateStatements(UserFile::updateStatements());

    Edit_UtilNro = new QLineEdit(body());
    Edit_UtilNro->setObjectName(QStringLiteral("Edit_UtilNro"));
    ui::setFieldWidth(Edit_UtilNro, UserFile::CodeLength);
    Edit_Nome = boundEdit("Edit_Nome", QStringLiteral("NOM"), 30);
    auto* morada = boundEdit("Edit_Morada", QStringLiteral("MORADA"), 30);
    auto* morada1 = boundEdit("Edit_Morada1", QStringLiteral("MORADA1"), 30);
    auto* localidade = boundEdit("Edit_Localidade", QStringLiteral("LOCALIDADE"), 30);
    auto* password = boundEdit("Edit_Password", QStringLiteral("PASSWOR"), 15);
    password->setCharCase(ui::DbEdit::CharCase::Upper);
    password->setPasswordChar(QChar(0x00A3)); // "£"
    auto* titulo = boundEdit("Edit_Titulo", QStringLiteral("TITULO"), 10);
    auto* supUtil = boundEdit("Edit_SupUtil", QStringLiteral("SUPUTIL"), 1);
    supUtil->setCharCase(ui::DbEdit::CharCase::Upper);
    auto* telefone = boundEdit("Edit_Telefone", QStringLiteral("TELEFONE"), 18);
    auto* fax = boundEdit("Edit_Fax", QStringLiteral("TELFAX"), 18);
    auto* upgrade = boundEdit("Edit_UpgradeLicense", QStringLiteral("UPGRADE_LICENSE"), 1);
    upgrade->setCharCase(ui::DbEdit::CharCase::Upper);

    // Two columns of fields; Enter goes through them in this order.
    const std::pair<const char*, QWidget*> left[] = {{"Utilizador :", Edit_UtilNro},
                                                     {"Nome :", Edit_Nome},
                                                     {"Morada :", morada},
                                                     {"", morada1},
                                                     {"Localidade :", localidade}};
    const std::pair<const char*, QWidget*> right[] = {
        {"Palavra Passe :", password}, {"Título :", titulo}, {"Super Utilizador :", supUtil},
        {"Telefone :", telefone},      {"Fax :", fax},       {"Pode executar Actualizações?", upgrade}};
    auto* fields = new QGridLayout;
    fields->setColumnMinimumWidth(2, 24);
    int row = 0;
    for (const auto& [caption, field] : left) {
        auto* label = new QLabel(QString::fromUtf8(caption), body());
        label->setObjectName(QStringLiteral("Label_") + field->objectName().mid(5));
        fields->addWidget(label, row, 0);
        fields->addWidget(field, row++, 1, Qt::AlignLeft);
        if (*caption)
            setCaptionLabel(field, label);
    }
    row = 0;
    for (const auto& [caption, field] : right) {
        auto* label = new QLabel(QString::fromUtf8(caption), body());
        label->setObjectName(QStringLiteral("Label_") + field->objectName().mid(5));
        fields->addWidget(label, row, 3);
        fields->addWidget(field, row++, 4, Qt::AlignLeft);
        setCaptionLabel(field, label);
    }
    fields->setColumnStretch(5, 1);
    QWidget* previous = Edit_UtilNro;
    for (QWidget* field : std::initializer_list<QWidget*>{Edit_Nome, morada, morada1, localidade, password, titulo,
                                                          supUtil, telefone, fax, upgrade}) {
        setTabOrder(previous, field);
        previous = field;
    }

    DBGrid1 = new ui::DbGrid(body());
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    ui::GridColumn superUser{QStringLiteral("SUPUTIL"), QStringLiteral("Super Util."), 11, {}};
    superUser.alignment = Qt::AlignHCenter;
    ui::GridColumn mayUpgrade{QStringLiteral("UPGRADE_LICENSE"), QStringLiteral("Exec.Actual.?"), 13, {}};
    mayUpgrade.alignment = Qt::AlignHCenter;
    DBGrid1->setDataset(&UTIL, {{NRO, QStringLiteral("Utilizador"), 15, {}},
                                {QStringLiteral("TITULO"), QStringLiteral("Título"), 10, {}},
                                {QStringLiteral("NOM"), QStringLiteral("Nome do Utilizador"), 30, {}},
                                superUser,
                                mayUpgrade});
    fitGridToColumns(DBGrid1, 12);
    setTabOrder(previous, DBGrid1);

    BotInserir = button("BotInserir", QStringLiteral("Inserir"), QStringLiteral("Inserir"), body());
    BotCancelar = button("BotCancelar", QStringLiteral("Cancelar"), QStringLiteral("Cancelar"), body());
    BotDelete = button("BotDelete", QStringLiteral("Eliminar"), QStringLiteral("Eliminar"), body());
    BitTerminar = button("BitTerminar", QStringLiteral("Terminar"), QStringLiteral("Terminar"), body());
    connect(BotInserir, &ui::TGlyphButton::clicked, this, &TKAVFUTIL001::BotInserirClick);
    connect(BotCancelar, &ui::TGlyphButton::clicked, this, &TKAVFUTIL001::BotCancelarClick);
    connect(BotDelete, &ui::TGlyphButton::clicked, this, &TKAVFUTIL001::BotDeleteClick);
    connect(BitTerminar, &ui::TGlyphButton::clicked, this, &TKAVFUTIL001::BitTerminarClick);
    auto* buttons = new QHBoxLayout;
    for (QWidget* b : std::initializer_list<QWidget*>{BotInserir, BotCancelar, BotDelete})
        buttons->addWidget(b);
    buttons->addStretch();
    buttons->addWidget(BitTerminar);

    auto* layout = new QVBoxLayout(body());
    layout->addLayout(fields);
    layout->addWidget(DBGrid1, 1, Qt::AlignLeft);
    layout->addLayout(buttons);

    setEnterHandler(DBGrid1, [this] { DBGrid1Enter(); });
    setExitHandler(DBGrid1, [this] { DBGrid1Exit(); });
    setExitHandler(Edit_UtilNro, [this] { Edit_UtilNroExit(); });
    for (const char* column : {"PASSWOR", "SUPUTIL", "UPGRADE_LICENSE"})
        setExitHandler(fieldOf(QString::fromLatin1(column)),
                       [this, column] { fieldExit(QString::fromLatin1(column)); });
    connect(&UTIL, &db::Dataset::currentChanged, this, &TKAVFUTIL001::Edit_UtilNro1Change);
    connect(&UTIL, &db::Dataset::reset, this, &TKAVFUTIL001::Edit_UtilNro1Change);
}

TKAVFUTIL001::~TKAVFUTIL001()
{
    disconnect(&UTIL, nullptr, this, nullptr);
    DBGrid1->setDataset(nullptr);
}

ui::DbEdit* TKAVFUTIL001::boundEdit(const char* name, const QString& column, int characters)
{
    auto* edit = new ui::DbEdit(body());
    edit->setObjectName(QString::fromLatin1(name));
    edit->setField(&UTIL, column);
    edit->setDisplayWidth(std::max(characters, 2));
    return edit;
}

QWidget* TKAVFUTIL001::fieldOf(const QString& column) const
{
    for (auto* edit : findChildren<ui::DbEdit*>())
        if (edit->fieldName().compare(column, Qt::CaseInsensitive) == 0)
            return edit;
    return nullptr;
}

void TKAVFUTIL001::setTitleColour(const QColor& colour)
{
    QPalette palette = DBGrid1->horizontalHeader()->palette();
    palette.setColor(QPalette::Button, colour);
    palette.setColor(QPalette::Window, colour);
    DBGrid1->horizontalHeader()->setPalette(palette);
}

// ------------------------------------------------------------------ open / close

void TKAVFUTIL001::FormActivate()
{
    setMakerTag(AdminSession::makerTag());
    try {
        db::Connection& application = m_session.requireApplication();
        if (!UserFile::databaseReady(application)) {
            ui::messages().fail(UserFile::notReadyMessage());
            QTimer::singleShot(0, this, &QDialog::reject);
            return;
        }
        UTIL.setConnection(m_session.application());
        UTIL.open();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    m_insertMode = false;
    EnableEvents();
    Edit_UtilNro1Change();
    focusField(DBGrid1);
}

void TKAVFUTIL001::done(int result)
{
    // Closing writes what is pending; a refused row keeps the form open.
    if (isActivated() && eventsEnabled() && !applyPending())
        return;
    ui::Form::done(result);
}

void TKAVFUTIL001::FormClose() { UTIL.close(); }

void TKAVFUTIL001::BitTerminarClick() { accept(); }

// ------------------------------------------------------------------ grid

void TKAVFUTIL001::Edit_UtilNro1Change()
{
    if (m_insertMode)
        return;
    const bool hasRow = UTIL.isOpen() && !UTIL.isEmpty();
    Edit_UtilNro->setText(hasRow ? UTIL.value(NRO).toString() : QString());
}

void TKAVFUTIL001::DBGrid1Enter()
{
    setTitleColour(ui::editingLabelColour());
    for (QWidget* w : std::initializer_list<QWidget*>{BotDelete, BotInserir, BitTerminar, Edit_UtilNro})
        w->setEnabled(true);
    if (!applyPending())
        return;
    m_insertMode = false;
    reopen();
}

void TKAVFUTIL001::DBGrid1Exit()
{
    setTitleColour(ui::formColour());
    for (QWidget* w : std::initializer_list<QWidget*>{BotDelete, BotInserir, BitTerminar})
        w->setEnabled(false);
    if (m_insertMode)
        return;
    Edit_UtilNro->setEnabled(false);
    try {
        if (UTIL.isOpen() && !UTIL.isEmpty() && UTIL.state() == db::DatasetState::Browse)
            UTIL.edit();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.text());
    }
}

void TKAVFUTIL001::reopen()
{
    try {
        UTIL.close();
        UTIL.open();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
    Edit_UtilNro1Change();
}

bool TKAVFUTIL001::rowPending()
{
    if (!UTIL.isOpen())
        return false;
    if (UTIL.state() == db::DatasetState::Insert)
        return true;
    if (UTIL.state() != db::DatasetState::Edit)
        return false;
    for (const QString& column : UserFile::columns()) {
        const db::Field field = UTIL.field(column);
        if (field.value() != field.oldValue())
            return true;
    }
    return false;
}

bool TKAVFUTIL001::applyPending()
{
    if (!UTIL.isOpen())
        return true;
    try {
        if (UTIL.state() == db::DatasetState::Insert && UTIL.value(NRO).toString().isEmpty()) {
            UTIL.cancel(); // "Inserir" without an accepted code: nothing to write
        } else if (rowPending()) {
            if (auto refusal = UserFile::checkRow([this](const QString& c) { return UTIL.value(c).toString(); })) {
                refuse(*refusal);
                return false;
            }
            UTIL.post();
        } else if (UTIL.state() == db::DatasetState::Edit) {
            UTIL.cancel();
        }
        if (UTIL.hasPendingChanges())
            UTIL.applyUpdates();
    } catch (const db::DbError& error) {
        // The database's own message; the changes stay pending.
        ui::messages().fail(error.fullText());
        return false;
    }
    return true;
}

void TKAVFUTIL001::refuse(const FieldRefusal& refusal)
{
    if (refusal.beep)
        ui::messages().beep();
    if (!refusal.message.isEmpty())
        ui::messages().error(refusal.message);
    focusField(fieldOf(refusal.column));
}

// ------------------------------------------------------------------ insert, cancel, delete

void TKAVFUTIL001::BotInserirClick()
{
    if (!UTIL.isOpen() || !applyPending())
        return;
    m_insertMode = true;
    BotInserir->setEnabled(false);
    try {
        UTIL.append();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.text());
        m_insertMode = false;
        BotInserir->setEnabled(true);
        return;
    }
    Edit_UtilNro->setEnabled(true);
    Edit_UtilNro->clear();
    focusField(Edit_UtilNro);
}

void TKAVFUTIL001::Edit_UtilNroExit()
{
    if (!m_insertMode)
        return;
    if (BotDelete->isVisible())
        BotDelete->setEnabled(false);
    UserFile::CodeCheck check;
    try {
        check = UserFile::checkNewCode(m_session.requireApplication(), Edit_UtilNro->text());
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
        focusField(Edit_UtilNro);
        return;
    }
    if (check == UserFile::CodeCheck::Empty) {
        rejectField();
        return;
    }
    if (check == UserFile::CodeCheck::Exists) {
        ui::messages().fail(UserFile::existsMessage());
        UTIL.cancel();
        focusField(DBGrid1);
        return;
    }
    const QString code = UserFile::storedCode(Edit_UtilNro->text());
    try {
        UTIL.cancel();
        UTIL.append();
        UTIL.setValue(NRO, code);
        UTIL.setValue(QStringLiteral("DATABERT"), QDateTime::currentDateTime());
        UTIL.setValue(QStringLiteral("UPGRADE_LICENSE"), QStringLiteral("N"));
    } catch (const db::DbError& error) {
        ui::messages().fail(error.text());
        focusField(Edit_UtilNro);
        return;
    }
    Edit_UtilNro->setText(code);
    focusField(Edit_Nome);
}

void TKAVFUTIL001::BotCancelarClick()
{
    m_insertMode = false;
    BotInserir->setEnabled(true);
    if (UTIL.isOpen() && UTIL.state() != db::DatasetState::Browse)
        UTIL.cancel();
    Edit_UtilNro->setEnabled(true);
    Edit_UtilNro1Change();
    focusField(DBGrid1);
}

void TKAVFUTIL001::BotDeleteClick()
{
    if (!UTIL.isOpen() || UTIL.isEmpty())
        return;
    if (!ui::messages().question(UserFile::deleteQuestion()))
        return;
    if (!applyPending())
        return;
    try {
        UserFile::deleteUser(m_session.requireApplication(), UTIL.value(NRO).toString());
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
    reopen();
    focusField(DBGrid1);
}

// ------------------------------------------------------------------ field checks

void TKAVFUTIL001::fieldExit(const QString& column)
{
    // Only a row being typed into is checked ("Cancelar" leaves its fields too).
    if (!UTIL.isOpen() || UTIL.state() == db::DatasetState::Browse)
        return;
    const QString value = UTIL.value(column).toString();
    const auto refusal = UserFile::checkField(column, value);
    if (!refusal)
        return;
    if (refusal->beep) {
        rejectField(refusal->message);
    } else {
        ui::messages().error(refusal->message);
        focusField(leavingField());
    }
}

} // namespace kv::useradmin
