#include "costing/CostingSession.h"

#include "costing/forms/CostingForms.h"

#include "support/TableRows.h"


namespace kv::costing::test {

bool CostingSession::available(Engine engine) { return kv::test::engineAvailable(engine); }

CostingSession::CostingSession(kv::test::Scenario& scenario, Engine engine, bool demo)
    : CompanySession(scenario, engine, demo ? kv::test::Company::Demo : kv::test::Company::Plain)
{
    registerCostingForms([this] { return environment(); }, scenario.forms());
}

CostingSession::~CostingSession() { closeForms(); }

void CostingSession::grant(const QString& program, const QString& inserir, const QString& eliminar,
                           const QString& imprimir)
{
    grantRights(QStringLiteral("KAVORIMETAS"), QStringLiteral("Tabelas Orcamentos"), program, QStringLiteral("S"),
                inserir, eliminar, imprimir);
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
