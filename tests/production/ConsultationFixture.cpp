#include "production/ConsultationFixture.h"

#include "support/TableRows.h"

#include "production/forms/ProductionForms.h"

namespace kv::production::test {

using kv::test::insertRows;

namespace {

QDateTime consDay(int year, int month, int day) { return QDate(year, month, day).startOfDay(); }

} // namespace

ConsultationFixture::ConsultationFixture(kv::test::Scenario& scenario, kv::test::Engine engine)
    : CompanySession(scenario, engine, kv::test::Company::Plain)
{
    kv::db::Connection& app = *application();
    kv::db::Connection& inv = *invoicing();
    insertRows(inv, "PARGER", {"ANO", "PRC_DECIMAIS", "PATHFOTO"}, {{"2024", 2, ""}});
    insertRows(inv, "CALENDARIO", {"DATA", "ANO", "DIASEM", "TIPODIA", "SEMANA"},
               {{consDay(2024, 2, 14), "2024", "Qua", "TB", 7},
                {consDay(2024, 3, 15), "2024", "Sex", "TB", 11},
                {consDay(2024, 3, 22), "2024", "Sex", "TB", 12},
                {consDay(2025, 3, 15), "2025", "Sáb", "FS", 11}});
    kv::test::addCustomers(inv, {{10, "Quinta Nova, Lda"}, {20, "Adega do Monte"}});
    kv::test::addArticles(inv, {{"ART-1", "Caixa 30x20", "1"}, {"ART-2", "Estojo", "1"}});
    insertRows(inv, "ENCCLIDET", {"ENCNRO", "DETAIL", "ANO", "SEMANA", "ORDFAB", "ORCNRO"},
               {{11, 1, "2024", "11", 11, 700}, {11, 2, "2024", "11", 11, 700}, {12, 1, "2024", "12", 12, 701}});
    // The same customer-order number a year before (ENCCLIDET is keyed by
    // number and line alone, so the old line is another line number).
    insertRows(inv, "ENCCLIDET", {"ENCNRO", "DETAIL", "ANO", "SEMANA", "ORDFAB", "ORCNRO"},
               {{11, 9, "2023", "40", 11, 650}});

    const QStringList orderColumns{"ANO",    "SEMANA",   "ORDNRO",   "SUBORC",     "DETAIL",  "ENCNRO",
                                   "ORCNRO", "CLINRO",   "CLISIGLA", "ARTIGO",     "QUANTIDADE", "UNVEND",
                                   "DATAENT", "DATAPROD", "SEMANAPROD", "PRODUZ",  "IMPR"};
    insertRows(app, "ORDFABDET", orderColumns,
               {{"2024", "11", 11, 0, 1, 11, 700, 10, "QUINTA", "ART-1", 1000, "UN", consDay(2024, 3, 20),
                 consDay(2024, 3, 18), "12", "N", "N"},
                {"2024", "11", 11, 1, 1, 11, 700, 10, "QUINTA", "ART-1", 500, "UN", consDay(2024, 3, 20),
                 consDay(2024, 3, 18), "12", "N", "N"},
                {"2024", "11", 11, 0, 2, 11, 700, 10, "QUINTA", "ART-1", 300, "UN", consDay(2024, 3, 27),
                 consDay(2024, 3, 25), "13", "N", "N"},
                {"2024", "12", 12, 0, 1, 12, 701, 20, "ADEGA", "ART-2", 200, "UN", consDay(2024, 3, 22),
                 consDay(2024, 3, 19), "12", "N", "S"},
                {"2023", "40", 11, 0, 1, 11, 650, 10, "QUINTA", "ART-1", 700, "UN", consDay(2024, 3, 21),
                 consDay(2024, 3, 20), "12", "N", "N"},
                {"2024", "12", 13, 0, 1, 13, 702, 20, "ADEGA", "ART-2", 900, "UN", consDay(2024, 3, 22),
                 consDay(2024, 3, 19), "12", "S", "S"}});
    insertRows(app, "ORCCONSUMOS",
               {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOCUSTO", "ARTIGO", "DESIGN", "UNIDADE",
                "CONSUMO"},
               {{"2024", 11, 0, 1, 1, "MP", "PAP-1", "Cartolina", "KGS", 100},
                {"2024", 11, 0, 1, 2, "MP", QVariant(), "Tinta", "KGS", 5},
                {"2024", 11, 0, 1, 3, "CM", QVariant(), "Impressora", "", 1.30},
                {"2024", 11, 1, 1, 1, "MP", "PAP-1", "Cartolina", "KGS", 50},
                {"2024", 11, 0, 2, 1, "MP", "PAP-2", "Canelado", "KGS", 30},
                {"2024", 12, 0, 1, 1, "MP", "PAP-1", "Cartolina", "KGS", 20},
                {"2024", 12, 0, 1, 2, "CM", QVariant(), "Impressora", "", 0.45},
                {"2023", 11, 0, 1, 1, "MP", "PAP-1", "Cartolina", "KGS", 70},
                {"2023", 11, 0, 1, 2, "CM", QVariant(), "Impressora", "", 2.15}});
    insertRows(app, "ORDFABENC", {"ANO", "ENCNRO", "ENCDETAIL", "SEMANA", "ORDNRO", "DETAIL"},
               {{"2024", 11, 1, "11", 11, 1}, {"2024", 11, 2, "11", 11, 2}, {"2023", 11, 9, "40", 11, 1}});
    shared = registerProductionForms(session(), scenario.forms());
}

ConsultationFixture::~ConsultationFixture() { closeForms(); }

void ConsultationFixture::addModelTOrders()
{
    kv::db::Connection& app = *application();
    insertRows(app, "ORDFABRICO",
               {"ANO", "ORDNRO", "SUBORC", "DETAIL", "ORCNRO", "CLINRO", "CLISIGLA", "ARTIGO", "QUANTIDADE",
                "DATAENT", "PRODUZ", "IMPR"},
               {{"2024", 11, 0, 1, 700, 10, "QUINTA", "ART-1", 1000, consDay(2024, 3, 20), "N", "N"},
                {"2024", 11, 0, 2, 700, 10, "QUINTA", "ART-1", 300, consDay(2024, 3, 27), "N", "N"},
                {"2023", 11, 0, 9, 650, 10, "QUINTA", "ART-1", 700, consDay(2024, 3, 21), "N", "N"}});
    insertRows(app, "ORDFABRICODET", {"ANO", "ORDNRO", "SUBORC", "DETAIL", "LINHA"},
               {{"2024", 11, 0, 1, 1}, {"2023", 11, 0, 9, 1}});
}

} // namespace kv::production::test
