#include "production/FillingRows.h"

#include "platform/db/Connection.h"
#include "support/TableRows.h"

#include <QDate>

namespace kv::test {

kv::production::SelectedOrder fillOrder()
{
    kv::production::SelectedOrder o;
    o.year = QStringLiteral("2024");
    o.week = QStringLiteral("10");
    o.orderNumber = 501;
    o.detail = 1;
    o.quoteNumber = 515;
    o.subQuote = 0;
    return o;
}

kv::production::SelectedOrder modelTOrder()
{
    kv::production::SelectedOrder o = fillOrder();
    o.orderNumber = 601;
    o.week.clear();
    return o;
}

void insertFillRows(kv::db::Connection& application, kv::db::Connection& invoicing)
{
    const QStringList flags = {"REPETICAO", "REPETICAOALTER", "CORTANTESIM", "CORTANTESIMALTER", "FUNDOAUTO",
                               "FUNDOSEMIAUTO", "TAMPA", "COLAGEMLATERAL", "COLAGEMCANTOS", "COLAGEMDUPLA",
                               "PLASTICIZAR", "TABULEIRO", "AUTO_ARMAVEL", "MANGA"};
    QStringList columns = {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "ENCNRO", "ORCNRO", "CLINRO",
                           "ARTIGO", "QUANTIDADE", "QUANTFINAL", "UNVEND", "NPLANOS", "NROENT", "PLNCOMPRIM1",
                           "PLNLARGURA1", "PLNCOMPRIM2", "PLNLARGURA2", "DATAPROD", "SEMANAPROD", "DATAENT",
                           "PRODUZ", "IMPR"};
    QVariantList order = {"2024", "10", 501, 0, 1, 501, 515, 10, "ART-1", 5.0, 5.0, "MIL", 1000.0, 1, 70.0, 100.0,
                          0.0, 0.0, QDate(2024, 3, 15), "11", QDate(2024, 3, 29), "N", "N"};
    for (const QString& f : flags) {
        columns << f;
        order << "N";
    }
    insertRows(application, "ORDFABDET", columns, {order});
    insertRows(application, "ORCMAS", {"CODIGO", "SUBCODIGO", "UNIDADE", "PESOJANELAS"}, {{515, 0, "M", 0.002}});
    insertRows(invoicing, "CALENDARIO", {"DATA", "ANO", "TIPODIA", "SEMANA"},
               {{QDate(2024, 2, 14), "2024", "TB", 7},
                {QDate(2024, 2, 17), "2024", "FS", 7},
                {QDate(2024, 3, 15), "2024", "TB", 11}});
    addCustomers(invoicing, {{10, "Vinhos do Douro, SA"}});
    addArticles(invoicing, {{"ART-1", "Caixa de 6 garrafas", "1"}});
    insertRows(application, "TINTAS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM"}, {{701, "MP-TINTA", "Tinta azul", 2.0}});
    insertRows(application, "VERNIZES", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM"},
               {{711, "MP-VERNIZ", "Verniz brilho", 5.0}});
    insertRows(application, "FILMEPLAS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM"},
               {{721, "MP-FILME", "Filme mate", 10.0}});
    insertRows(application, "PVC", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM"}, {{731, "MP-PVC", "PVC janela", 0.0}});
    insertRows(application, "COLAS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "PERC", "TIPOCALC"},
               {{741, "MP-COLA1", "Cola por area", 20.0, 0.0, "1"},
                {742, "MP-COLA2", "Cola por quantidade", 20.0, 0.0, "2"},
                {743, "MP-COLA3", "Cola por percentagem", 20.0, 3.0, "3"},
                {744, "MP-COLA4", "Cola por area /100", 20.0, 0.0, "4"},
                {745, "MP-COLA5", "Cola sem rotina", 20.0, 0.0, "5"}});
    insertRows(application, "PAPEIS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "TIPOCALC"},
               {{751, "MP-BOBINE", "Cartolina em bobine", 300.0, "1"}, {752, "MP-FOLHA", "Cartolina em folha", 300.0, "2"}});
    insertRows(application, "ACABAMENTO", {"CODIGO", "DESIGNACAO", "TIPOCUSTO", "UNIDADE"},
               {{761, "Embalar manual", "1", "U"}, {762, "Caixa de cartao", "2", "U"}});
    insertRows(application, "CUSTFIXOS", {"CODIGO", "DESIGNACAO", "PRECO", "MATPRIMA", "MAOOBRA", "EMBALAGEM", "PRODSUBSID"},
               {{771, "Cliche", 50.0, "S", "N", "N", "N"}, {772, "Montagem", 20.0, "N", "S", "N", "N"}});
    // Order 601 of model "T", never filled (sheet length 0): a board, a board
    // deleted since, a glue, and a glue code deleted since.
    insertRows(application, "ORDFABRICO",
               {"ANO", "ORDNRO", "SUBORC", "DETAIL", "ORCNRO", "CLINRO", "ARTIGO", "QUANTIDADE", "UNVEND", "DATAPROD",
                "PLCOMPRI", "PLLARGUR", "NPLANOS", "CCOL_TMAT1", "CCOL_MAT1", "CCOL_UND1", "CCOL_TMAT2", "CCOL_MAT2",
                "CCOL_UND2", "CCOL_TMAT3", "CCOL_MAT3", "CCOL_UND3", "COL_MAT1", "PRODUZ", "IMPR"},
               {{"2024", 601, 0, 1, 515, 10, "ART-1", 5.0, "MIL", QDate(2024, 3, 15), 0.0, 0.0, 0, 8, 751, "K", 8,
                 798, "P", 4, 742, "K", 797, "N", "N"}});
    insertRows(application, "MAQUINAS", {"CODIGO", "DESIGNACAO", "TIPOMAQUINA"},
               {{781, "Impressora 4 cores", 1}, {782, "Coladeira", 3}, {783, "Guilhotina", 5}});
}

} // namespace kv::test
