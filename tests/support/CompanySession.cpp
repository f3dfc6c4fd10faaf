#include "support/CompanySession.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

#include <QApplication>
#include <QDialog>
#include <QPointer>

namespace kv::test {

CompanySession::CompanySession(Scenario& scenario, Engine engine, Company company)
    : m_scenario(scenario), m_session(scenario.login(engine, company))
{
}

CompanySession::~CompanySession() { closeForms(); }

void CompanySession::closeForms()
{
    // Deleting a dialog deletes the top-level windows it owns (popups, menus)
    // that the list also holds: each is looked at only while it lives.
    QList<QPointer<QWidget>> windows;
    for (QWidget* window : QApplication::topLevelWidgets())
        windows << window;
    for (const QPointer<QWidget>& window : windows) {
        if (window && qobject_cast<QDialog*>(window.data())) {
            window->close();
            delete window.data();
        }
    }
    m_scenario.forms().clear();
}

std::shared_ptr<kv::db::Connection> CompanySession::connect(const QString& alias)
{
    const kv::shell::LoginState& login = m_session.state();
    return kv::db::Connection::open(m_session.installation().alias(alias, login.WParamUserName, login.WParamPassword));
}

std::shared_ptr<kv::db::Connection> CompanySession::application()
{
    return m_application ? m_application : (m_application = connect(state().WBdEspecif01));
}

std::shared_ptr<kv::db::Connection> CompanySession::invoicing()
{
    return m_invoicing ? m_invoicing : (m_invoicing = connect(state().WBdFactura));
}

std::shared_ptr<kv::db::Connection> CompanySession::accounting()
{
    return m_accounting ? m_accounting : (m_accounting = connect(state().WBdContab));
}

void CompanySession::grantRights(const QString& application, const QString& chapter, const QString& program,
                                 const QString& aceder, const QString& inserir, const QString& eliminar,
                                 const QString& imprimir)
{
    this->application()->exec(
        QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
                       "ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, :CH, :P, "
                       "1, 'ANA', :C, :I, 'S', :E, 'N', :R, 'N', 'N', 'N')"),
        {{QStringLiteral("A"), application},
         {QStringLiteral("CH"), chapter},
         {QStringLiteral("P"), program},
         {QStringLiteral("C"), aceder},
         {QStringLiteral("I"), inserir},
         {QStringLiteral("E"), eliminar},
         {QStringLiteral("R"), imprimir}});
    kv::db::Dataset& rights = dataset(QStringLiteral("DTEMPRESAS.APLICACAODET"));
    rights.close();
    rights.open();
}

} // namespace kv::test
