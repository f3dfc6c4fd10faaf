#include "production/StockFixture.h"

#include "shell/ShellDataModules.h"
#include "support/TableRows.h"

namespace kv::production::test {

using kv::test::insertRows;

const QDate StockFixture::Day(2024, 3, 20);

StockFixture::StockFixture(kv::test::Engine engine) : session(scenario.login(engine))
{
    const auto connections = session.dataModules().connections();
    m_application = connections.DbKavorime;
    m_invoicing = connections.DbFacturacao;
    kinds.add(ProductionClosing::kind());
    kv::db::Connection& app = *m_application;
    kv::db::Connection& inv = *m_invoicing;

    // The model-"T" orders come with the order records; until then a table
    // of the columns the closing writes stands for them.
    if (!app.tableExists("ORDFABRICO"))
        app.exec("CREATE TABLE ORDFABRICO (ANO VARCHAR(4) NOT NULL, ORDNRO INTEGER NOT NULL, SUBORC INTEGER NOT NULL, "
                 "DETAIL INTEGER NOT NULL, PRODUZ VARCHAR(1), ACTSTK VARCHAR(1), "
                 "PRIMARY KEY (ANO, ORDNRO, SUBORC, DETAIL))");
    if (!app.columnExists("ORCCONSUMOS", "CONSUMIDO"))
        app.exec("ALTER TABLE ORCCONSUMOS ADD COLUMN CONSUMIDO DOUBLE PRECISION");

    if (inv.scalar("SELECT COUNT(*) FROM PARGER WHERE ANO = '2024'").toInt() == 0)
        insertRows(inv, "PARGER", {"ANO", "CALCULOPMC"}, {{"2024", "1"}});
    else
        inv.exec("UPDATE PARGER SET CALCULOPMC = '1' WHERE ANO = '2024'");
    insertRows(inv, "UTILIZADORES", {"NRO", "STKMTPDOCNRO"}, {{"ANA", 900}});
    insertRows(inv, "STKARMAZEM", {"CODIGO", "NOME"}, {{1, "Matérias-primas"}, {2, "Produto acabado"}});
    insertRows(inv, "STKTRS", {"TRSCOD", "REDNOM", "TRSTIP", "DEVOLUCAO", "TRSCALC", "PMCUST", "PULENT", "CONSUMO"},
               {{10, "Consumo", "S", "N", "1", "S", "N", "S"},
                {20, "Entrada", "E", "N", "3", "S", "S", "N"},
                {30, "Devolução", "S", "S", "5", "S", "N", "N"}});
    insertRows(inv, "ARTIGOSCLS",
               {"CODIGO", "DESIGNACAO", "TIPOARTIGO", "GRELHA", "EXIQTD", "EXIVAL", "PMCUSTO", "PULENTRA", "CUSTOPADRAO"},
               {{"CART-1", "Cartolina", "6", "N", 100, 250, 2.5, 0, 2},
                {"CAIXA-1", "Caixa", "1", "N", 0, 0, 0, 0, 0.5}});
}

StockPosting StockFixture::posting()
{
    return StockPosting(*m_invoicing, "ANA", "2024", StockPosting::costMethodOf(*m_invoicing, "2024"));
}

ProductionClosing StockFixture::closing(ClosingModel model)
{
    return ProductionClosing(kinds, m_application, m_invoicing, {"ANA", "2024", model}, messages);
}

ProductionClosing StockFixture::otherWorkstation(ClosingModel model)
{
    auto app = scenario.connect(m_application->alias());
    auto inv = scenario.connect(m_invoicing->alias());
    m_others.push_back(app);
    m_others.push_back(inv);
    return ProductionClosing(kinds, app, inv, {"ANA", "2024", model}, messages);
}

void StockFixture::addWholeOrder(int number)
{
    insertRows(*m_application, "ORDFABRICO", {"ANO", "ORDNRO", "SUBORC", "DETAIL", "PRODUZ", "ACTSTK"},
               {{"2024", number, 0, 1, "N", "N"}});
}

void StockFixture::addSlotOrder(int number, double quantity, double produced)
{
    insertRows(*m_application, "ORDFABDET",
               {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "QUANTIDADE", "QUANTFINAL", "QTDPROD", "PRODUZ"},
               {{"2024", "12", number, 0, 1, quantity, quantity, produced, "N"}});
    QStringList columns{"CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "ARTIGO"};
    QVariantList row{number, 0, 1, 1, 8, "CART-1"};
    if (m_application->columnExists("ORCCONSUMOS", "ANO")) {
        columns << "ANO";
        row << "2024";
    }
    insertRows(*m_application, "ORCCONSUMOS", columns, {row});
}

int StockFixture::counter()
{
    return m_invoicing->scalar("SELECT STKMTPDOCNRO FROM UTILIZADORES WHERE NRO = 'ANA'").toInt();
}

} // namespace kv::production::test
