#include "costing/CostingSession.h"

#include "costing/forms/CostingForms.h"

#include "schema/InstallationBuilder.h"

#include <QApplication>
#include <QDialog>

namespace kv::costing::test {

bool CostingSession::available(Engine engine)
{
    return kv::test::engineAvailable(engine);
}

CostingSession::CostingSession(kv::test::Scenario& scenario, Engine engine, bool demo) : m_scenario(scenario)
{
    kv::schema::InstallationOptions options;
    options.workstation = QStringLiteral("POSTO-TESTE");
    options.demo = demo;
    m_installation = &scenario.createInstallation(engine, options);
    if (engine == Engine::Postgres)
        m_state.WParamUserName = QStringLiteral("USER NAME=") + kv::test::testServer()->user;
    m_state.setFixedValues();
    m_state.WUtil = QStringLiteral("ANA");
    m_state.WEmpNro = 1;
    m_state.WEmpNom = QStringLiteral("Cartonagem do Vale, Lda");
    m_state.WData = QDate(2024, 3, 15);
    m_state.WAno = QStringLiteral("2024");
    const auto aliases = kv::schema::CompanyAliases::forCompany(1);
    m_state.WBdEspecif01 = aliases.application;
    m_state.WBdFactura = aliases.invoicing;
    m_state.WBdContab = aliases.accounting;
    m_modules = std::make_unique<kv::shell::ShellDataModules>(m_state, *m_installation);
    m_modules->create();
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
    m_modules.reset();
    m_scenario.forms().clear();
}

std::shared_ptr<kv::db::Connection> CostingSession::connect(const QString& alias)
{
    return kv::db::Connection::open(m_installation->alias(alias, m_state.WParamUserName, m_state.WParamPassword));
}

std::shared_ptr<kv::db::Connection> CostingSession::application()
{
    return m_application ? m_application : (m_application = connect(m_state.WBdEspecif01));
}

std::shared_ptr<kv::db::Connection> CostingSession::invoicing()
{
    return m_invoicing ? m_invoicing : (m_invoicing = connect(m_state.WBdFactura));
}

void CostingSession::grant(const QString& program, const QString& inserir, const QString& eliminar,
                           const QString& imprimir)
{
    application()->exec(
        QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
                       "ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES ('KAVORIMETAS', "
                       "'Tabelas Orcamentos', :P, 1, 'ANA', 'S', :I, 'S', :E, 'N', :R, 'N', 'N', 'N')"),
        {{QStringLiteral("P"), program}, {QStringLiteral("I"), inserir}, {QStringLiteral("E"), eliminar},
         {QStringLiteral("R"), imprimir}});
    kv::db::Dataset& rights = dataset(QStringLiteral("DTEMPRESAS.APLICACAODET"));
    rights.close();
    rights.open();
}

void CostingSession::addArticle(const QString& code, const QString& designation, const QString& type,
                                double averageCost, double standardCost)
{
    invoicing()->exec(QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, PMCUSTO, CUSTOPADRAO) "
                                     "VALUES (:C, :D, :T, :M, :S)"),
                      {{QStringLiteral("C"), code},
                       {QStringLiteral("D"), designation},
                       {QStringLiteral("T"), type},
                       {QStringLiteral("M"), averageCost},
                       {QStringLiteral("S"), standardCost}});
}

void CostingSession::addInk(int code, const QString& article, const QString& designation, double grams,
                            double price)
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
