#include "costing/CostingSession.h"

#include "costing/forms/CostingForms.h"

#include "support/TableRows.h"

#include <QApplication>
#include <QDialog>

namespace kv::costing::test {

bool CostingSession::available(Engine engine) { return kv::test::engineAvailable(engine); }

CostingSession::CostingSession(kv::test::Scenario& scenario, Engine engine, bool demo)
    : m_scenario(scenario), m_session(scenario.login(engine, demo ? kv::test::Company::Demo : kv::test::Company::Plain))
{
    registerCostingForms([this] { return environment(); }, scenario.forms());
}

CostingSession::~CostingSession()
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

std::shared_ptr<kv::db::Connection> CostingSession::connect(const QString& alias)
{
    const kv::shell::LoginState& login = m_session.state();
    return kv::db::Connection::open(m_session.installation().alias(alias, login.WParamUserName, login.WParamPassword));
}

std::shared_ptr<kv::db::Connection> CostingSession::application()
{
    return m_application ? m_application : (m_application = connect(state().WBdEspecif01));
}

std::shared_ptr<kv::db::Connection> CostingSession::invoicing()
{
    return m_invoicing ? m_invoicing : (m_invoicing = connect(state().WBdFactura));
}

void CostingSession::grant(const QString& program, const QString& inserir, const QString& eliminar,
                           const QString& imprimir)
{
    application()->exec(
        QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
                       "ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES ('KAVORIMETAS', "
                       "'Tabelas Orcamentos', :P, 1, 'ANA', 'S', :I, 'S', :E, 'N', :R, 'N', 'N', 'N')"),
        {{QStringLiteral("P"), program},
         {QStringLiteral("I"), inserir},
         {QStringLiteral("E"), eliminar},
         {QStringLiteral("R"), imprimir}});
    kv::db::Dataset& rights = dataset(QStringLiteral("DTEMPRESAS.APLICACAODET"));
    rights.close();
    rights.open();
}

void CostingSession::removeParameterRow()
{
    application()->exec(QStringLiteral("DELETE FROM ORCPARGER"));
    // As a login finding no row leaves it: the parameters' dataset closed.
    dataset(QStringLiteral("ZURIVAVEZA.ORCPARGER")).close();
}

void CostingSession::addArticle(const QString& code, const QString& designation, const QString& type,
                                double averageCost, double standardCost)
{
    kv::test::addArticles(*invoicing(), {{code, designation, type, averageCost, standardCost}});
}

void CostingSession::addInk(int code, const QString& article, const QString& designation, double grams, double price)
{
    application()->exec(QStringLiteral("INSERT INTO TINTAS (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, PRECO) "
                                       "VALUES (:C, :A, :D, :G, :P)"),
                        {{QStringLiteral("C"), code},
                         {QStringLiteral("A"), article},
                         {QStringLiteral("D"), designation},
                         {QStringLiteral("G"), grams},
                         {QStringLiteral("P"), price}});
}

} // namespace kv::costing::test
