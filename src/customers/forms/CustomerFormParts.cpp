#include "customers/forms/CustomerFormParts.h"

#include "customers/forms/Torcf032cli.h"
#include "customers/partforms/BulkAccountsRun.h"
#include "customers/partforms/ContactsBlock.h"
#include "customers/partforms/CustomerViews.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/notes/NotesEditor.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/MessageServiceSink.h"
#include "platform/ui/TGlyphButton.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QTextEdit>

namespace kv::customers {

namespace {

kv::db::Dataset& customers(const kv::shell::FormEnvironment& env)
{
    return env.dataset(QStringLiteral("DTFILES.CLIENTES"));
}

QString shownCode(const Torcf032cli& form)
{
    const auto* code = form.findChild<QLineEdit*>(QStringLiteral("Edit_Codigo"));
    return code ? code->text().trimmed() : QString();
}

} // namespace

CustomerFormParts::CustomerFormParts(Torcf032cli& form, kv::shell::FormEnvironment environment)
    : QObject(&form), m_form(form), m_env(environment), m_sink(std::make_unique<kv::ui::MessageServiceSink>())
{
}

CustomerFormParts::~CustomerFormParts() = default;

void CustomerFormParts::setSessionServices(const kv::install::Installation* installation,
                                           std::function<kv::db::TwoDatabaseWork()> work)
{
    m_installation = installation;
    m_work = std::move(work);
    if (m_notes)
        m_notes->setInstallation(installation);
}

QWidget* CustomerFormParts::buildContactsBlock()
{
    m_contactsBlock = new ContactsBlock(m_contacts);
    m_contactsBlock->setObjectName(QStringLiteral("NBContactos"));
    connect(m_contactsBlock, &ContactsBlock::lastDepartmentLeft, &m_form,
            [this] { m_form.showPage(Torcf032cli::Classification); });
    return m_contactsBlock;
}

QWidget* CustomerFormParts::buildNotesPage()
{
    kv::notes::NotesSettings settings;
    settings.prefix = QStringLiteral("CLI");
    settings.folder = [this] { return m_notesFolder; };
    settings.code = [this] { return shownCode(m_form); };
    settings.hasRecord = [](const QString& code) { return code.toLongLong() != 0; };
    m_notes = new kv::notes::NotesEditor(settings, m_installation, m_form.statusBar());
    m_notes->setObjectName(QStringLiteral("PageInformacoes"));
    m_form.addUnsavedPrompt([this] { m_notes->confirmSave(); });
    return m_notes;
}

QWidget* CustomerFormParts::buildViewsPage(QCheckBox* showSales)
{
    m_views = new CustomerViews(m_env.invoicing(), m_env.state().WUtil, false, showSales);
    return m_views;
}

void CustomerFormParts::addAccountButtons(const std::array<QHBoxLayout*, 5>& lines)
{
    for (int n = 1; n <= 5; ++n) {
        auto* button = new kv::ui::TGlyphButton(QStringLiteral("Abrir"));
        button->setObjectName(QStringLiteral("BotConta%1").arg(n));
        button->SetHint(QStringLiteral("Abrir Conta Contabilidade"));
        lines[static_cast<std::size_t>(n - 1)]->insertWidget(1, button);
        connect(button, &kv::ui::TGlyphButton::clicked, this, [this, n] { openButton(n); });
        m_open[static_cast<std::size_t>(n - 1)] = button;
        // The page is not yet the form's: the account's edit is found on its line.
        QHBoxLayout* line = lines[static_cast<std::size_t>(n - 1)];
        kv::ui::DbEdit* edit = nullptr;
        for (int i = 0; i < line->count() && !edit; ++i)
            edit = qobject_cast<kv::ui::DbEdit*>(line->itemAt(i)->widget());
        if (edit) {
            auto* find = new QAction(QStringLiteral("Procurar"), edit);
            find->setShortcut(Qt::Key_Insert);
            find->setShortcutContext(Qt::WidgetShortcut);
            connect(find, &QAction::triggered, this, [this, n] { lookupAccount(n); });
            edit->addAction(find);
            edit->setContextMenuPolicy(Qt::ActionsContextMenu);
        }
    }
}

void CustomerFormParts::readYear(const QVariantMap& year)
{
    m_notesFolder = year.value(QStringLiteral("PATHINFCLIENTES")).toString().trimmed();
    m_switches = {year.value(QStringLiteral("CONTABILIDADE")).toString().trimmed(),
                  year.value(QStringLiteral("CONTABAUTO")).toString().trimmed()};
    m_views->setTreasury(year.value(QStringLiteral("TESOURARIA")).toString().trimmed() == QLatin1String("S"));
    for (kv::ui::TGlyphButton* button : m_open)
        button->setVisible(!m_switches.manualMode());
}

void CustomerFormParts::showCustomer(int customer, bool views)
{
    m_contactsBlock->setBlocks(m_contacts.read(*m_env.invoicing(), customer));
    m_form.setStatusText(0, {});
    if (views)
        m_views->showCustomer(customer);
    else
        m_views->notebook()->hide();
}

void CustomerFormParts::numberAccepted(int number)
{
    m_contacts.createMissing(*m_env.invoicing(), number);
    m_contactsBlock->setBlocks(m_contacts.read(*m_env.invoicing(), number));
}

void CustomerFormParts::newCustomerCancelled(int number)
{
    m_contacts.remove(*m_env.invoicing(), number);
    m_contactsBlock->clear();
}

bool CustomerFormParts::enterNotes()
{
    if (!m_notes->open())
        return false;
    m_notes->editor()->setFocus();
    return true;
}

bool CustomerFormParts::notesShown() const { return m_notes && m_notes->isVisible(); }

void CustomerFormParts::store(kv::db::Connection& invoicing, int customer)
{
    m_form.setStatusText(0, QStringLiteral("Gravação de Contactos em Curso ..."));
    m_contacts.write(invoicing, customer, m_contactsBlock->blocks());
    m_form.setStatusText(0, {});
}

AccountCustomer CustomerFormParts::accountCustomer() const
{
    kv::db::Dataset& row = customers(m_env);
    const auto text = [&](const char* column) { return row.value(QString::fromLatin1(column)).toString().trimmed(); };
    const QString code = shownCode(m_form);
    return {static_cast<int>(code.toLongLong()),
            code,
            text("NOME"),
            text("MOEDA"),
            text("SIGLANIF"),
            text("NIF"),
            text("MORADA1"),
            text("MORADA2"),
            text("CODPOSTAL")};
}

void CustomerFormParts::setAccountEdits(bool writable)
{
    for (int n = 1; n <= 5; ++n) {
        if (auto* edit = m_form.findChild<kv::ui::DbEdit*>(QStringLiteral("CONTA%1").arg(n)))
            edit->setReadOnly(!writable);
    }
}

void CustomerFormParts::applyStep(int n, const AccountStep& step)
{
    auto* edit = m_form.findChild<kv::ui::DbEdit*>(QStringLiteral("CONTA%1").arg(n));
    kv::db::Dataset& row = customers(m_env);
    if (step.assign && !row.isEmpty()) {
        if (row.state() == kv::db::DatasetState::Browse)
            row.edit();
        row.setValue(QStringLiteral("CONTA%1").arg(n), step.account);
    }
    if (edit)
        edit->setEnabled(step.editEnabled);
    m_open[static_cast<std::size_t>(n - 1)]->setEnabled(step.buttonEnabled);
}

bool CustomerFormParts::enterAccounts()
{
    if (m_switches.manualMode()) {
        setAccountEdits(true);
        return true;
    }
    if (!m_switches.createsAutomatically())
        return true;
    setAccountEdits(true);
    CustomerAccounts accounts(m_env.invoicing(), m_env.accounting(), m_env.state().WAno, *m_sink,
                              [this](const QString& text) { m_form.setStatusText(0, text); });
    kv::db::Dataset& row = customers(m_env);
    for (int n = 1; n <= 5; ++n) {
        const AccountStep step = accounts.createAutomatically(n, accountCustomer(), m_form.entry().inserting(),
                                                              row.value(QStringLiteral("CONTA%1").arg(n)).toString());
        applyStep(n, step);
        if (step.error) {
            setAccountEdits(false);
            return false;
        }
    }
    setAccountEdits(false);
    return true;
}

void CustomerFormParts::beforeSave()
{
    if (!m_switches.createsAutomatically())
        return;
    setAccountEdits(true);
    CustomerAccounts accounts(m_env.invoicing(), m_env.accounting(), m_env.state().WAno, *m_sink,
                              [this](const QString& text) { m_form.setStatusText(0, text); });
    kv::db::Dataset& row = customers(m_env);
    for (int n = 1; n <= 5; ++n)
        applyStep(n, accounts.createAutomatically(n, accountCustomer(), m_form.entry().inserting(),
                                                  row.value(QStringLiteral("CONTA%1").arg(n)).toString()));
    setAccountEdits(false);
}

void CustomerFormParts::openButton(int n)
{
    CustomerAccounts accounts(m_env.invoicing(), m_env.accounting(), m_env.state().WAno, *m_sink,
                              [this](const QString& text) { m_form.setStatusText(0, text); });
    try {
        applyStep(n, accounts.openButton(n, accountCustomer(), m_form.entry().inserting()));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
    }
}

void CustomerFormParts::lookupAccount(int n)
{
    // Only the manual mode picks accounts: the automatic one builds them.
    if (!m_switches.manualMode())
        return;
    auto* edit = m_form.findChild<kv::ui::DbEdit*>(QStringLiteral("CONTA%1").arg(n));
    kv::db::Dataset& row = customers(m_env);
    if (!edit || edit->isReadOnly() || !row.isOpen() || row.isEmpty())
        return;
    CustomerAccounts accounts(m_env.invoicing(), m_env.accounting(), m_env.state().WAno, *m_sink);
    kv::db::Dataset list(QStringLiteral("PLANOIDENTALFA"));
    list.setConnection(m_env.accounting());
    list.setSql(CustomerAccounts::postingAccountsSql());
    const kv::db::Params params = accounts.postingAccountsParams();
    for (const QString& name : params.names())
        list.setParam(name, params.value(name));
    try {
        list.open();
        list.locate(QStringLiteral("CONTA"), row.value(QStringLiteral("CONTA%1").arg(n)));
    } catch (const kv::db::DbError& error) {
        kv::ui::messages().fail(error.fullText());
        return;
    }
    kv::ui::LookupDialog dialog(list,
                                {{QStringLiteral("NOME"), QStringLiteral("Nome da Conta"), 35, {}},
                                 {QStringLiteral("CONTA"), QString::fromUtf8("Nº Conta"), 20, {}},
                                 {QStringLiteral("TIPO"), QStringLiteral("Tipo"), 4, {}}},
                                &m_form);
    // Cancel hands nothing back: the account stays as it was.
    if (dialog.exec() != QDialog::Accepted || list.isEmpty())
        return;
    if (row.state() == kv::db::DatasetState::Browse)
        row.edit();
    row.setValue(QStringLiteral("CONTA%1").arg(n), list.value(QStringLiteral("CONTA")));
}

bool CustomerFormParts::runBulkAccounts()
{
    if (!m_work)
        return false;
    CustomerAccounts accounts(m_env.invoicing(), m_env.accounting(), m_env.state().WAno, *m_sink,
                              [this](const QString& text) { m_form.setStatusText(0, text); });
    kv::db::TwoDatabaseWork work = m_work();
    return BulkAccountsRun::run(&m_form, accounts, work, m_env.state().WUtil);
}

} // namespace kv::customers
