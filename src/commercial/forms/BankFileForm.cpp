#include "commercial/forms/BankFileForm.h"

#include "commercial/core/WorkingYear.h"
#include "commercial/forms/AccountLinkField.h"
#include "commercial/forms/PostalPlace.h"

#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/DbGrid.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/SideDoor.h"
#include "platform/ui/TGlyphButton.h"
#include "platform/ui/TMailit.h"

#include <QAction>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

namespace kv::commercial {

using kv::db::DatasetState;
using kv::db::DbError;

namespace {

const QString Code = QStringLiteral("CODIGO");
const QString PostalCode = QStringLiteral("CODPOSTAL");
const QString Kinds = QStringLiteral("DTTABELAS.BANCOSTABSALDOS");
const QString BankPostalCodes = QStringLiteral("DTTABELAS.CODPOSTAL");
const QString Countries = QStringLiteral("DTTABELAS.PAISES");

QString amountText(const QVariant& value) { return kv::text::plain(value.isNull() ? 0.0 : value.toDouble()); }

} // namespace

BankFileForm::BankFileForm(const CommercialTableDescription& member, CommercialEnvironment environment, QWidget* parent)
    : CommercialTableForm(member, environment, parent), m_accounts(environment.invoicing())
{
    for (const char* name : {"Edit_Pais", "Edit_TelCodPais", "Edit_TelCodZona"})
        if (auto* shown = qobject_cast<QLineEdit*>(control(QString::fromUtf8(name)))) {
            shown->setReadOnly(true);
            shown->setFocusPolicy(Qt::NoFocus);
        }
    m_locality = new QLineEdit(this);
    m_locality->setObjectName(QStringLiteral("Edit_Localidade"));
    m_locality->setReadOnly(true);
    m_locality->setFocusPolicy(Qt::NoFocus);
    kv::ui::setFieldWidth(m_locality, 30);
    placeBeside(QStringLiteral("Edit_CodPostal"), m_locality);
    if (auto* postal = qobject_cast<QLineEdit*>(control(QStringLiteral("Edit_CodPostal"))))
        connect(postal, &QLineEdit::textChanged, this, [this] { showLocality(); });

    pages()->addTab(accountsPage(), QString::fromUtf8("&B -  Contas e Plafonds"));
    QWidget* previous = control(QStringLiteral("Edit_SaldoRecon"));
    for (QLineEdit* edit : m_accountEdits) {
        QWidget::setTabOrder(previous, edit);
        previous = edit;
    }
    QWidget::setTabOrder(previous, m_ledger->edit());
    QWidget::setTabOrder(m_ledger->edit(), pages()->tabBar());
    QWidget::setTabOrder(pages()->tabBar(), grid());
    rewireDoors();
}

BankFileForm::~BankFileForm() = default;

QLineEdit* BankFileForm::accountEdit(const char* name, int characters, bool readOnly)
{
    auto* edit = new QLineEdit;
    edit->setObjectName(QString::fromUtf8(name));
    kv::ui::setFieldWidth(edit, characters);
    edit->setReadOnly(readOnly);
    if (readOnly)
        edit->setFocusPolicy(Qt::NoFocus);
    else
        m_accountEdits.push_back(edit);
    return edit;
}

QWidget* BankFileForm::accountsPage()
{
    auto* page = new QWidget;
    auto* columns = new QHBoxLayout(page);
    auto* fields = new QGridLayout;
    columns->addLayout(fields);
    const auto add = [&](const char* caption, std::initializer_list<QWidget*> widgets) {
        const int row = fields->rowCount();
        fields->addWidget(new QLabel(QString::fromUtf8(caption), page), row, 0);
        auto* line = new QHBoxLayout;
        for (QWidget* widget : widgets)
            line->addWidget(widget);
        line->addStretch(1);
        fields->addLayout(line, row, 1);
    };
    m_kind = accountEdit("Edit_CodSaldo", 2, true);
    m_description = accountEdit("Edit_SaldoDescri", 15, true);
    m_opened = accountEdit("Edit_DatAbe", 10, true);
    m_manager = accountEdit("Edit_GestorConta", 30);
    m_position = accountEdit("Edit_Cargo", 20);
    m_mobile = accountEdit("Edit_Telemovel", 15);
    m_email = accountEdit("Edit_EMail", 30);
    m_nib = accountEdit("Edit_Nib", 25);
    m_swift = accountEdit("Edit_Swift", 15);
    m_initial = accountEdit("Edit_SaldoInicial", 14);
    m_current = accountEdit("Edit_SaldoActual", 14);
    m_plafond = accountEdit("Edit_SaldoPlafond", 14);
    AccountLinkSpec ledger{QStringLiteral("Edit_Contab"), QStringLiteral("Label_Contab"), 30};
    ledger.postingOnly = false;
    ledger.beep = true;
    ledger.notFound = QStringLiteral("Conta Inexistente");
    ledger.labelNotFound.clear();
    ledger.refreshChecksType = false;
    ledger.truncateTo = 20;
    ledger.hint = QStringLiteral("Tecla <Insert>, Procurar");
    ledger.lookupCaption = QStringLiteral("Localizar");
    m_ledger = new AccountLinkField(*this, ledger, page);
    m_ledger->edit()->setDisplayWidth(20);
    m_mail = new kv::ui::TMailit(page);
    m_mail->setObjectName(QStringLiteral("MailConta"));
    m_mail->SetMailHint(QStringLiteral("Enviar Email"));

    auto* opened = new QLabel(QString::fromUtf8("Abertura : "), page);
    add("Conta : ", {m_kind, m_description, opened, m_opened});
    add("Gestor Conta : ", {m_manager});
    add("Cargo : ", {m_position});
    add("Telemovel : ", {m_mobile});
    add("EMail : ", {m_email, m_mail});
    add("N.I.B. : ", {m_nib});
    add("Swift :", {m_swift});
    auto* initial = new QLabel(QString::fromUtf8("Saldo Inicial"), page);
    auto* current = new QLabel(QString::fromUtf8("Saldo Actual"), page);
    auto* plafond = new QLabel(QString::fromUtf8("Plafond"), page);
    add("Saldos : ", {initial, m_initial, current, m_current, plafond, m_plafond});
    add("Contabilidade : ", {m_ledger});
    fields->setRowStretch(fields->rowCount(), 1);

    auto* side = new QVBoxLayout;
    columns->addLayout(side);
    auto* panel = new QGroupBox(QString::fromUtf8("Painel de Botões"), page);
    panel->setObjectName(QStringLiteral("PainelBotoes"));
    auto* buttons = new QGridLayout(panel);
    for (int digit = 0; digit < 10; ++digit) {
        auto* button = new kv::ui::TGlyphButton(QStringLiteral("&%1").arg(digit), panel);
        button->setObjectName(QStringLiteral("BotSaldo%1").arg(digit));
        connect(button, &kv::ui::TGlyphButton::clicked, this, [this, digit] { kindClicked(digit); });
        buttons->addWidget(button, digit / 5, digit % 5);
        m_kindButtons[static_cast<std::size_t>(digit)] = button;
    }
    m_kindsDoor = new kv::ui::TGlyphButton(QString::fromUtf8("Tipos de Conta"), panel);
    m_kindsDoor->setObjectName(QStringLiteral("BotTabSaldos"));
    m_kindsDoor->SetHint(QString::fromUtf8("Contas Bancárias"));
    buttons->addWidget(m_kindsDoor, 2, 0, 1, 5);
    side->addWidget(panel);

    auto* listBox = new QGroupBox(QString::fromUtf8("Lista de Contas"), page);
    auto* listLayout = new QVBoxLayout(listBox);
    m_accountList = new kv::ui::DbGrid(listBox);
    m_accountList->setObjectName(QStringLiteral("DBGrid2"));
    m_accountList->setDataset(&m_accounts.rows(),
                              {{QStringLiteral("CLASSIF"), QString::fromUtf8("Código"), 6, {}},
                               {QStringLiteral("SALDO_DESCRI"), QString::fromUtf8("Descrição"), 20, {}}});
    m_accountList->setMinimumWidth(m_accountList->sizeHint().width());
    auto* remove = new QAction(QString::fromUtf8("Eliminar Conta"), m_accountList);
    remove->setObjectName(QStringLiteral("EliminarConta"));
    remove->setShortcut(QKeySequence::Delete);
    remove->setShortcutContext(Qt::WidgetShortcut);
    connect(remove, &QAction::triggered, this, [this] { deleteAccount(); });
    m_accountList->addAction(remove);
    m_accountList->setContextMenuPolicy(Qt::ActionsContextMenu);
    listLayout->addWidget(m_accountList);
    side->addWidget(listBox, 1);

    setExitHandler(m_email, [this] { m_mail->SetMailTo(m_email->text().trimmed()); });
    // With the link off the plafond is the last field the account is typed in:
    // leaving it saves the account, whose details would otherwise be lost.
    setExitHandler(m_plafond, [this] {
        if (!m_linkOn)
            saveAccount();
    });
    m_ledger->setAccepted([this] { saveAccount(); });
    return page;
}

void BankFileForm::rewireDoors()
{
    const QString postal = QStringLiteral("Edit_CodPostal");
    addCodeLookup(postal, BankPostalCodes, PostalCode,
                  {{PostalCode, QStringLiteral("COD.POSTAL"), 10, {}},
                   {QStringLiteral("LOCALIDADE"), QStringLiteral("LOCALIDADE"), 30, {}}},
                  [this] { showLocality(); });
    m_postalDoor = addSideDoor(postal, QStringLiteral("BotCodPostal"), QString::fromUtf8("Códigos Postais"),
                               QStringLiteral("TFACF008"), QStringLiteral("TFACFPR008"), {BankPostalCodes, Countries},
                               [this] { showLocality(); });
    connect(m_kindsDoor, &kv::ui::TGlyphButton::clicked, this, [this] {
        kv::ui::openFromSideDoor(environment().forms(), this, QStringLiteral("TFACF023"), QStringLiteral("TFACFPR023"),
                                 {&environment().dataset(Kinds)});
        rebuildKindButtons();
        enableKindButtons(editing(table()) && !inserting());
    });
}

// ------------------------------------------------------------------ open / close

void BankFileForm::FormActivate()
{
    const auto& env = environment();
    bool yearFound = false;
    try {
        yearFound = workingYearExists(*env.invoicing(), env.state().WAno);
        if (yearFound) {
            m_linkOn = accountingLinkOn(*env.invoicing(), env.state().WAno);
            m_lookups = std::make_unique<AccountLookups>(env.accounting(), env.state().WAno, m_linkOn);
            m_ledger->activate(m_lookups->accounts(AccountRange::bankAccounts()));
        }
    } catch (const DbError& error) {
        showError(error);
    }
    if (!yearFound) {
        kv::ui::messages().beep();
        kv::ui::messages().error(QString::fromUtf8("PARÂMETROS GERAIS INEXISTENTES"));
        QTimer::singleShot(0, this, &QDialog::reject);
        return;
    }
    CommercialTableForm::FormActivate();
    if (!table().isOpen())
        return;
    // The bank's own rights row is a file's, not a table's; it changes no edit.
    const kv::shell::FormRights rights = env.rights(kv::shell::RightsVariant::R3, env.state().WModuloBase,
                                                    QStringLiteral("Ficheiros Base"), QStringLiteral("Bancos"));
    BotInserir->setVisible(rights.showInserir);
    BotCancelar->setVisible(rights.showCancelar);
    BotDelete->setVisible(rights.showDelete);
    BotPrint->setVisible(false);
    m_postalDoor->setVisible(env.forms().contains(QStringLiteral("TFACF008"))
                             && env.sideDoorVisible(QStringLiteral("Codigos Postais")));
    m_kindsDoor->setVisible(env.forms().contains(QStringLiteral("TFACF023"))
                            && env.sideDoorVisible(QStringLiteral("Saldos Bancarios")));
    if (!m_linkOn)
        m_ledger->edit()->setReadOnly(true);
    rebuildKindButtons();
    enableKindButtons(false);
    enableAccountFields(false);
    pages()->setCurrentIndex(0);
}

void BankFileForm::FormClose()
{
    m_ledger->activate(nullptr);
    if (m_lookups)
        m_lookups->close();
    m_accounts.close();
    CommercialTableForm::FormClose();
}

// ------------------------------------------------------------------ kinds

void BankFileForm::rebuildKindButtons()
{
    for (kv::ui::TGlyphButton* button : m_kindButtons)
        button->setVisible(false);
    kv::db::Dataset& kinds = environment().dataset(Kinds);
    if (!kinds.isOpen())
        return;
    const int kindColumn = kinds.fieldIndex(QStringLiteral("CLASSIF"));
    const int descriptionColumn = kinds.fieldIndex(QStringLiteral("SALDO_DESCRI"));
    const int count = kinds.recordCount();
    for (int row = 0; row < count; ++row) {
        const QString kind = kinds.valueAt(row, kindColumn).toString();
        if (kind.size() != 1 || !kind.front().isDigit())
            continue;
        kv::ui::TGlyphButton* button = m_kindButtons[static_cast<std::size_t>(kind.front().digitValue())];
        button->setVisible(true);
        button->SetHint(kinds.valueAt(row, descriptionColumn).toString());
    }
}

void BankFileForm::enableKindButtons(bool on)
{
    for (kv::ui::TGlyphButton* button : m_kindButtons)
        if (!button->isHidden())
            button->setEnabled(on);
}

void BankFileForm::enableAccountFields(bool on)
{
    for (QLineEdit* edit : m_accountEdits)
        edit->setEnabled(on);
    m_ledger->setEnabled(on);
}

// ------------------------------------------------------------------ banks

int BankFileForm::bankToSave() const
{
    if (editing(table()))
        return table().value(Code).toInt();
    // The bank last typed or edited, when it is still there: never one whose
    // insertion was cancelled.
    const int bank = remembered().toInt();
    const int column = table().fieldIndex(Code);
    const int count = table().recordCount();
    for (int row = 0; row < count; ++row)
        if (table().valueAt(row, column).toInt() == bank)
            return bank;
    return 0;
}

void BankFileForm::showBank(int bank)
{
    m_accountKind.clear();
    try {
        m_accounts.openFor(bank);
        // A bank whose save was refused is not stored as shown: its
        // account waits for that save.
        if (bank != 0 && !table().hasPendingChanges()) {
            bool kindMissing = false;
            if (m_accounts.startMissingDemandAccount(QDateTime::currentDateTime(), kindMissing)) {
                m_accounts.rows().applyUpdates();
                m_accounts.openFor(bank);
            }
            if (kindMissing)
                kv::ui::messages().fail(missingKindMessage(DemandDepositKind));
        }
        m_accounts.rows().first();
    } catch (const DbError& error) {
        showError(error);
    }
    showAccount();
}

void BankFileForm::rowShown()
{
    CommercialTableForm::rowShown();
    if (inserting() || editing(table()))
        return;
    showLocality();
    showBank(table().isEmpty() ? 0 : table().value(Code).toInt());
}

void BankFileForm::BotInserirClick()
{
    pages()->setCurrentIndex(0);
    CommercialTableForm::BotInserirClick();
    m_accounts.close();
    clearAccount();
    m_locality->clear();
}

void BankFileForm::BotCancelarClick()
{
    CommercialTableForm::BotCancelarClick();
    enableKindButtons(false);
    enableAccountFields(false);
}

void BankFileForm::editStarted()
{
    enableAccountFields(true);
    enableKindButtons(true);
    CommercialTableForm::editStarted();
}

bool BankFileForm::checkFields()
{
    if (!CommercialTableForm::checkFields())
        return false;
    return !editing(table()) || postalCodeAccepted(false);
}

bool BankFileForm::applyChanges()
{
    enableKindButtons(false);
    enableAccountFields(false);
    const int bank = bankToSave();
    try {
        if (editing(table()) && table().value(QStringLiteral("SALDO_RECON")).isNull())
            table().setValue(QStringLiteral("SALDO_RECON"), 0.0);
        // The bank and the demand-deposit account it lacks: both or neither.
        m_accounts.openFor(bank);
        bool kindMissing = false;
        if (bank != 0)
            m_accounts.startMissingDemandAccount(QDateTime::currentDateTime(), kindMissing);
        if (kindMissing)
            kv::ui::messages().fail(missingKindMessage(DemandDepositKind));
    } catch (const DbError& error) {
        showError(error);
        return false;
    }
    if (applyWithCompanions({&table(), &m_accounts.rows()}))
        return true;
    m_accounts.rows().cancelUpdates();
    return false;
}

void BankFileForm::deleteCurrent()
{
    try {
        BankAccounts::deleteBank(table());
        table().close();
        table().open();
    } catch (const DbError& error) {
        if (!table().hasErrorHandler())
            showError(error);
    }
    focusField(grid());
}

// ------------------------------------------------------------------ postal code

void BankFileForm::showLocality()
{
    m_locality->setText(table().isOpen() ? PostalPlace::of(environment(), table().value(PostalCode).toString()).locality
                                         : QString());
}

bool BankFileForm::postalCodeAccepted(bool refuseHere)
{
    const auto refused = [&](const QString& message) {
        if (refuseHere) {
            refuse(message);
        } else {
            pages()->setCurrentIndex(0);
            kv::ui::messages().beep();
            if (!message.isEmpty())
                kv::ui::messages().error(message);
            moveFocus(QStringLiteral("Edit_CodPostal"));
        }
        return false;
    };
    const PostalPlace place = PostalPlace::of(environment(), table().value(PostalCode).toString());
    m_locality->setText(place.locality);
    if (!place.found) {
        if (refuseHere)
            table().setValue(PostalCode, QVariant());
        return refused({});
    }
    if (!place.countryFound) {
        table().setValue(QStringLiteral("PAIS"), QVariant());
        return refused(QString::fromUtf8("PAÍS INEXISTENTE"));
    }
    table().setValue(QStringLiteral("PAIS"), place.country);
    table().setValue(QStringLiteral("TELCODPAIS"), place.countryPrefix);
    table().setValue(QStringLiteral("TELCODZONA"), place.zonePrefix);
    return true;
}

bool BankFileForm::fieldPassed(std::size_t index)
{
    const QString& name = member().fields[index].name;
    if (name == QLatin1String("Edit_CodPostal"))
        return postalCodeAccepted(true);
    if (name == QLatin1String("Edit_SaldoRecon") && !inserting()) {
        pages()->setCurrentIndex(1);
        focusField(pages()->tabBar());
    }
    return CommercialTableForm::fieldPassed(index);
}

// ------------------------------------------------------------------ accounts

void BankFileForm::clearAccount()
{
    m_accountKind.clear();
    for (QLineEdit* edit : {m_kind, m_description, m_opened, m_manager, m_position, m_mobile, m_email, m_nib, m_swift,
                            m_initial, m_current, m_plafond})
        edit->clear();
    m_ledger->edit()->setText({});
    if (m_ledger->nameLabel())
        m_ledger->nameLabel()->clear();
    m_mail->SetMailTo({});
}

void BankFileForm::showAccount()
{
    kv::db::Dataset& rows = m_accounts.rows();
    if (!rows.isOpen() || rows.isEmpty()) {
        clearAccount();
        return;
    }
    const auto text = [&](const char* column) { return rows.value(QString::fromLatin1(column)).toString(); };
    m_accountKind = text("CLASSIF");
    m_kind->setText(m_accountKind);
    // Shown as a date only: the stored moment of opening is never read back from it.
    m_opened->setText(rows.value(QStringLiteral("DATABE")).toDateTime().date().toString(QStringLiteral("dd/MM/yyyy")));
    m_description->setText(text("SALDO_DESCRI"));
    m_manager->setText(text("GESTORCONTA"));
    m_position->setText(text("CARGO"));
    m_mobile->setText(text("TELEMOVEL"));
    m_email->setText(text("EMAIL"));
    m_mail->SetMailTo(text("EMAIL").trimmed());
    m_nib->setText(text("NIB"));
    m_swift->setText(text("SWIFT"));
    m_initial->setText(amountText(rows.value(QStringLiteral("SALDO_INICIAL"))));
    m_current->setText(amountText(rows.value(QStringLiteral("SALDO_ACTUAL"))));
    m_plafond->setText(amountText(rows.value(QStringLiteral("SALDO_PLAFOND"))));
    m_ledger->edit()->setText(text("CONTAB"));
    m_ledger->refresh();
}

void BankFileForm::kindClicked(int digit)
{
    if (!editing(table()) || inserting())
        return;
    const int bank = table().value(Code).toInt();
    const QString kind = QString::number(digit);
    try {
        m_accounts.openFor(bank);
        enableAccountFields(true);
        const std::optional<QString> description = m_accounts.kindDescription(kind);
        if (!description) {
            kv::ui::messages().fail(missingKindMessage(kind));
            return;
        }
        // Created at once, before anything is typed in it.
        if (!m_accounts.has(kind)) {
            m_accounts.start(kind, *description, QDateTime::currentDateTime());
            m_accounts.rows().applyUpdates();
            m_accounts.openFor(bank);
        }
        m_accounts.locate(kind);
    } catch (const DbError& error) {
        showError(error);
        return;
    }
    showAccount();
    pages()->setCurrentIndex(1);
    focusField(m_manager);
}

void BankFileForm::saveAccount()
{
    if (m_accountKind.isEmpty() || !m_accounts.rows().isOpen())
        return;
    std::vector<std::pair<QLineEdit*, double>> amounts;
    for (QLineEdit* amount : {m_initial, m_current, m_plafond}) {
        const std::optional<double> value = kv::text::parseNumber(amount->text());
        if (!value) {
            kv::ui::messages().beep();
            kv::ui::messages().error(QString::fromUtf8("VALOR INVÁLIDO ... <ENTER>"));
            focusField(amount);
            return;
        }
        amounts.emplace_back(amount, *value);
    }
    kv::db::Dataset& rows = m_accounts.rows();
    try {
        if (!m_accounts.locate(m_accountKind))
            return;
        rows.edit();
        const auto put = [&](const char* column, const QVariant& value) {
            rows.setValue(QString::fromLatin1(column), value);
        };
        put("GESTORCONTA", m_manager->text());
        put("CARGO", m_position->text());
        put("TELEMOVEL", m_mobile->text());
        put("EMAIL", m_email->text());
        put("NIB", m_nib->text());
        put("SWIFT", m_swift->text());
        put("SALDO_INICIAL", amounts[0].second);
        put("SALDO_ACTUAL", amounts[1].second);
        put("SALDO_PLAFOND", amounts[2].second);
        put("CONTAB", m_ledger->edit()->text().trimmed().left(20));
        rows.post();
        rows.applyUpdates();
        m_accounts.openFor(m_accounts.bank());
        m_accounts.locate(m_accountKind);
    } catch (const DbError& error) {
        rows.cancel();
        showError(error);
        return;
    }
    pages()->setCurrentIndex(1);
    focusField(pages()->tabBar());
}

void BankFileForm::deleteAccount()
{
    kv::db::Dataset& rows = m_accounts.rows();
    if (!rows.isOpen() || rows.isEmpty())
        return;
    enableAccountFields(false);
    if (!kv::ui::messages().question(QString::fromUtf8("Eliminar Conta !!! Confirma ?")))
        return;
    if (rows.value(QStringLiteral("CLASSIF")).toString() == DemandDepositKind) {
        kv::ui::messages().fail(QString::fromUtf8("Não pode eliminar a Conta de Depósitos à Ordem"));
    } else {
        try {
            rows.deleteRecord();
            rows.applyUpdates();
            m_accounts.openFor(m_accounts.bank());
            rows.first();
        } catch (const DbError& error) {
            rows.cancelUpdates();
            showError(error);
        }
        showAccount();
    }
    focusField(grid());
}

} // namespace kv::commercial
