#include "production/GenerationBed.h"

#include "support/TableRows.h"

namespace kv::production::test {

GenerationBed::GenerationBed(kv::test::Engine engine)
{
    m_scenario.createInstallation(engine);
    m_application = m_scenario.applicationDatabase();
    m_invoicing = m_scenario.invoicingDatabase();
    m_kinds.add(OrderGeneration::kind());
    m_work = std::make_unique<kv::db::TwoDatabaseWork>(
        m_kinds, kv::db::DatabasesByRole{{kv::db::role::application(), m_application},
                                         {kv::db::role::invoicing(), m_invoicing}});
    seedGeneration(*m_application, *m_invoicing);
}

void seedGeneration(kv::db::Connection& application, kv::db::Connection& invoicing)
{
    using kv::test::insertRows;
    invoicing.exec("DELETE FROM CLIENTES WHERE CODIGO = 701");
    insertRows(invoicing, "CLIENTES", {"CODIGO", "NOME", "SIGLA"}, {{701, "Cartonagens Geração, Lda", "CARTGER"}});
    invoicing.exec("DELETE FROM CALENDARIO WHERE DATA BETWEEN :A AND :B",
                      {{"A", QDate(2024, 3, 1).startOfDay()}, {"B", QDate(2024, 5, 31).startOfDay()}});
    std::vector<QVariantList> days;
    for (QDate d(2024, 3, 1); d <= QDate(2024, 5, 31); d = d.addDays(1))
        days.push_back({d.startOfDay(), "2024", d.weekNumber()});
    insertRows(invoicing, "CALENDARIO", {"DATA", "ANO", "SEMANA"}, days);

    application.exec("DELETE FROM TIRAGLIQ");
    insertRows(application, "TIRAGLIQ", {"CODIGO", "QTD1", "QTD2", "PRCACAB1A", "PRCACAB2A", "PRCIMPR1A"},
               {{1, 0, 1000000, 10, 5, 2}});
    application.exec("DELETE FROM PAPEIS WHERE CODIGO = 9001");
    application.exec("DELETE FROM MAQUINAS WHERE CODIGO = 9001");
    insertRows(application, "PAPEIS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "TIPOCALC"},
               {{9001, "CART-GER", "Cartolina da geração", 300, "1"}});
    insertRows(application, "MAQUINAS",
               {"CODIGO", "DESIGNACAO", "TIPOMAQUINA", "FACTOR1", "ACEPASSMIN1"},
               {{9001, "Impressora da geração", 1, 1000, 0.5}});
    for (int quote : {8001, 8002}) {
        application.exec("DELETE FROM ORCMAS WHERE CODIGO = :Q", {{"Q", quote}});
        application.exec("DELETE FROM ORCDET WHERE CODIGO = :Q", {{"Q", quote}});
    }
    const QStringList quoteColumns = {"CODIGO",      "SUBCODIGO",   "DESIGN1",     "UNIDADE",    "UNDPLANO",
                                      "NROCORES",    "ACABNORMAL",  "PLNCOMPRIM1", "PLNLARGURA1", "PLNCOMPRIM2",
                                      "PLNLARGURA2", "SUPERFIMPR",  "QTDORC1",     "RELEVO",     "COMPRIM"};
    insertRows(application, "ORCMAS", quoteColumns,
               {{8001, 0, "Caixa da geração", "M", 4, 4, "S", 100.0, 70.0, 0.0, 0.0, 50.0, 10.0, "N", 200.0},
                {8001, 1, "Tabuleiro acessório", "M", 4, 4, "S", 100.0, 70.0, 0.0, 0.0, 50.0, 5.0, "N", 150.0},
                {8002, 0, "Outra caixa", "M", 4, 4, "S", 100.0, 70.0, 0.0, 0.0, 50.0, 10.0, "N", 100.0}});
    std::vector<QVariantList> lines;
    for (int quote : {8001, 8002})
        for (int sub : {0, 1}) {
            if (quote == 8002 && sub == 1)
                continue;
            lines.push_back({quote, sub, 1, 8, 9001, "Cartolina", "MP", 0, 1, 1});
            lines.push_back({quote, sub, 2, 1, 9001, "Impressão", "CM", 1, 1, 1});
        }
    insertRows(application, "ORCDET",
               {"CODIGO", "SUBCODIGO", "DETAIL", "TIPOTABELA", "CODTAB", "DESIGN", "TIPOCUSTO", "NROPASSAGENS",
                "CODPRDHOR", "CODACERTO"},
               lines);
    invoicing.exec("DELETE FROM ENCCLIDET WHERE ANO = '2024' AND ENCNRO >= 3000 AND ENCNRO < 4000");
}

void GenerationBed::addLine(int order, int detail, double quantity, const QDate& delivery, int quote,
                            const QString& article, int customer)
{
    addGenerationLine(*m_invoicing, order, detail, quantity, delivery, quote, article, customer);
}

void addGenerationLine(kv::db::Connection& invoicing, int order, int detail, double quantity, const QDate& delivery,
                       int quote, const QString& article, int customer)
{
    kv::test::insertRows(invoicing, "ENCCLIDET",
                         {"ENCNRO", "DETAIL", "ANO", "SEMANA", "DATAENTRG", "CLINRO", "ARTIGO", "DESIGNACAO", "UNVEND",
                          "QTDCAR", "QUANTID", "TOTENT", "ANULA", "ORDFAB", "ORCNRO", "DATEMI", "DATAPROD"},
                         {{order, detail, "2024", "10", delivery.startOfDay(), customer, article,
                           "Caixa da geração com designação de encomenda longa", "MIL", quantity,
                           quantity, "N", "N", 0, quote, QDate(2024, 3, 4).startOfDay(), delivery.startOfDay()}});
}

std::unique_ptr<OrderGeneration> GenerationBed::generation(const QString& user, bool modelT)
{
    return std::make_unique<OrderGeneration>(*m_application, *m_invoicing, *m_work, messages,
                                             GenerationSettings{user, QDate(2024, 3, 5), modelT});
}

int GenerationBed::buildWorkList(OrderGeneration& generation)
{
    GenerationLimits limits;
    limits.issuedFrom = QDate(2024, 1, 1);
    limits.issuedTo = QDate(2024, 12, 31);
    limits.deliveryFrom = QDate(2024, 1, 1);
    limits.deliveryTo = QDate(2024, 12, 31);
    return generation.buildWorkList(generation.openLines(limits));
}

void GenerationBed::routeTo(const QString& user, int order, int detail, int slot)
{
    m_application->exec(QStringLiteral("UPDATE TEMPENCCLIDET SET OFNRO1 = :O1, OFNRO2 = :O2, OFNRO3 = 'N', "
                                       "OFNRO4 = 'N', OFNRO5 = 'N' WHERE UTIL = :U AND ENCNRO = :E AND DETAIL = :D"),
                        {{"O1", slot == 1 ? "S" : "N"},
                         {"O2", slot == 2 ? "S" : "N"},
                         {"U", user},
                         {"E", order},
                         {"D", detail}});
}

int GenerationBed::scalar(kv::db::Connection& db, const QString& sql) { return db.scalar(sql).toInt(); }

} // namespace kv::production::test
