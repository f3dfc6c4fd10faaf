#include "commercial/CommercialSession.h"

#include "commercial/forms/CommercialForms.h"
#include "commercial/forms/CommercialMembers.h"

#include <QApplication>
#include <QDialog>

namespace kv::commercial::test {

CommercialSession::CommercialSession(kv::test::Scenario& scenario, Engine engine)
    : m_scenario(scenario), m_session(scenario.login(engine, kv::test::Company::Plain))
{
    registerCommercialForms([this] { return environment(); }, scenario.forms());
}

CommercialSession::~CommercialSession()
{
    // The forms still open edit the modules' datasets: they close first.
    for (QWidget* window : QApplication::topLevelWidgets()) {
        if (qobject_cast<QDialog*>(window)) {
            window->close();
            delete window;
        }
    }
    m_scenario.forms().clear();
}

std::shared_ptr<kv::db::Connection> CommercialSession::connect(const QString& alias)
{
    const kv::shell::LoginState& login = m_session.state();
    return kv::db::Connection::open(m_session.installation().alias(alias, login.WParamUserName, login.WParamPassword));
}

kv::db::Connection& CommercialSession::invoicing()
{
    if (!m_invoicing)
        m_invoicing = connect(state().WBdFactura);
    return *m_invoicing;
}

kv::db::Connection& CommercialSession::accounting()
{
    if (!m_accounting)
        m_accounting = connect(state().WBdContab);
    return *m_accounting;
}

kv::db::Connection& CommercialSession::application()
{
    if (!m_application)
        m_application = connect(state().WBdEspecif01);
    return *m_application;
}

void CommercialSession::grant(const QString& program, const QString& inserir, const QString& eliminar,
                              const QString& imprimir, const QString& aceder)
{
    application().exec(
        QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
                       "ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, 'Tabelas', :P, "
                       "1, 'ANA', :C, :I, 'S', :E, 'N', :R, 'N', 'N', 'N')"),
        {{QStringLiteral("A"), state().WModuloBase},
         {QStringLiteral("P"), program},
         {QStringLiteral("C"), aceder},
         {QStringLiteral("I"), inserir},
         {QStringLiteral("E"), eliminar},
         {QStringLiteral("R"), imprimir}});
    kv::db::Dataset& rights = dataset(QStringLiteral("DTEMPRESAS.APLICACAODET"));
    rights.close();
    rights.open();
}

void CommercialSession::grantAll()
{
    for (const CommercialTableDescription& member : commercialTableMembers())
        grant(member.rightsProgram);
}

} // namespace kv::commercial::test
