#include "production/IssueOrders.h"

#include "support/TableRows.h"

#include <QDateTime>

namespace kv::production::test {

namespace {

QDateTime issueAt(const QDate& day) { return QDateTime(day, QTime(0, 0)); }

} // namespace

void issueStoreOrders(kv::db::Connection& application, kv::db::Connection& invoicing)
{
    const QDateTime day = issueAt(issueDay);
    const QDateTime next = issueAt(issueDay.addDays(1));
    const QDateTime later = issueAt(issueDay.addDays(7));
    // ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, ORCNRO, CLINRO, CLISIGLA, ARTIGO, DESIGNACAO, QUANTIDADE,
    // DATAEMI, DATAENT, DATAPROD, PRODUZ, IMPR, REPETICAO, DATENT2..5, QTD1..3, TAMPA, CAIXA, MANGA,
    // QTDEXT1A, QTDEXT1B, QTDEXT2A, QTDEXT2B, QTDPLT1A, QTDPLT1B, UNVEND, SEMANAPROD
    const QStringList columns{"ANO",      "SEMANA",   "ORDNRO",   "SUBORC",   "DETAIL",   "ENCNRO",   "ORCNRO",
                              "CLINRO",   "CLISIGLA", "ARTIGO",   "DESIGNACAO", "QUANTIDADE", "DATAEMI", "DATAENT",
                              "DATAPROD", "PRODUZ",   "IMPR",     "REPETICAO", "DATENT2", "DATENT3",  "DATENT4",
                              "DATENT5",  "QTD1",     "QTD2",     "QTD3",     "TAMPA",    "CAIXA",    "MANGA",
                              "QTDEXT1A", "QTDEXT1B", "QTDEXT2A", "QTDEXT2B", "QTDPLT1A", "QTDPLT1B", "UNVEND",
                              "SEMANAPROD"};
    const auto order = [&](int number, int sub, int slot, int customer, const char* article, const QDateTime& produced,
                           const char* produz, const char* impr) {
        return QVariantList{"2024", "11", number, sub, slot, number, 500 + number, customer,
                            QStringLiteral("CLI%1").arg(customer), article, QStringLiteral("Caixa %1").arg(number),
                            3000, day, day, produced, produz, impr, "N", day, day, day, day, 3000, 0, 0,
                            "N", "N", "N", 0, 0, 0, 0, 0, 0, "UN", "11"};
    };
    std::vector<QVariantList> rows{order(100, 0, 1, 10, "ART-A", day, "N", "N"),
                                   order(100, 3, 1, 10, "ZZ-OUT", day, "N", "N"),
                                   order(100, 0, 2, 10, "ART-A", next, "N", "N"),
                                   order(101, 0, 1, 10, "ART-B", day, "N", "S"),
                                   order(102, 0, 1, 10, "ART-C", day, "S", "N"),
                                   order(103, 0, 1, 20, "ART-D", day, "N", "N")};
    // 100/1/0: a delivery plan, finishing flags and packing; 103: an accessory-free plain item.
    QVariantList& first = rows[0];
    first[static_cast<int>(columns.indexOf("DATENT2"))] = later;
    first[static_cast<int>(columns.indexOf("DATENT3"))] = day; // free from here on
    first[static_cast<int>(columns.indexOf("DATENT4"))] = later;
    first[static_cast<int>(columns.indexOf("QTD1"))] = 2000;
    first[static_cast<int>(columns.indexOf("QTD2"))] = 1000;
    first[static_cast<int>(columns.indexOf("TAMPA"))] = "S";
    first[static_cast<int>(columns.indexOf("CAIXA"))] = "S";
    first[static_cast<int>(columns.indexOf("MANGA"))] = "S";
    first[static_cast<int>(columns.indexOf("QTDEXT1A"))] = 0;
    first[static_cast<int>(columns.indexOf("QTDEXT1B"))] = 50;
    first[static_cast<int>(columns.indexOf("QTDEXT2A"))] = 3;
    first[static_cast<int>(columns.indexOf("QTDEXT2B"))] = 25;
    first[static_cast<int>(columns.indexOf("QTDPLT1A"))] = 4;
    first[static_cast<int>(columns.indexOf("QTDPLT1B"))] = 30;
    kv::test::insertRows(application, QStringLiteral("ORDFABDET"), columns, rows);

    kv::test::insertRows(application, QStringLiteral("ORCMAS"),
                         {"CODIGO", "SUBCODIGO", "NOME", "CODPOSTAL", "DESIGN1", "NOSREF"},
                         {{600, 0, "Cliente Dez", "4000-001", "Caixa de cem", "ART-A"},
                          {600, 3, "Cliente Dez", "4000-001", "Tampa de cem", "ZZ-OUT"},
                          {603, 0, "Cliente Vinte", "9999-999", "Caixa de cento e três", "ART-D"}});
    kv::test::insertRows(invoicing, QStringLiteral("ENCCLIMAS"), {"ENCNRO", "VOSENC", "CLINOM", "DESC_LOCALIDADE"},
                         {{100, "PO-100", "Cliente Dez, Lda", "Porto"}, {103, "PO-103", "Cliente Vinte, SA", "Braga"}});
    kv::test::insertRows(invoicing, QStringLiteral("CODPOSTAL"), {"CODPOSTAL", "LOCALIDADE"}, {{"4000-001", "PORTO"}});
    kv::test::insertRows(application, QStringLiteral("PAPEIS"), {"CODIGO", "DESIGNACAO", "GRAMAGEM", "TIPOPAP"},
                         {{7, "Cartolina 350", 350.0, "C"}});
    // ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOCUSTO, TIPOTABELA, CODTAB, DESIGN, CONSUMO, ENTRADA
    kv::test::insertRows(application, QStringLiteral("ORCCONSUMOS"),
                         {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOCUSTO", "TIPOTABELA", "CODTAB",
                          "DESIGN", "CONSUMO", "ENTRADA"},
                         {{"2024", 100, 0, 1, 1, "MP", 8, 7, "Cartolina 350", 120.5, 1},
                          {"2024", 100, 0, 1, 2, "CM", 12, 3, "Impressora 4 cores", 1.5, 2},
                          {"2024", 100, 0, 1, 3, "CM", 12, 4, "Cortante", 12.45, 1},
                          {"2024", 100, 0, 1, 4, "MO", 20, 1, "Colagem manual", 300.0, 1},
                          // The same number of another year belongs to another order.
                          {"2023", 100, 0, 1, 5, "MO", 20, 2, "Operacao de 2023", 1.0, 1}});
}

kv::db::QueryResult issueQueueRows(kv::db::Connection& application, const QString& user)
{
    return application.query(QStringLiteral("SELECT REGISTO, ORDNRO, DETAIL, SUBORC, VIA, ORDFABRICO, ANO, SEMANA "
                                            "FROM ORDFABIMPR WHERE UTIL = :U ORDER BY REGISTO"),
                             {{QStringLiteral("U"), user}});
}

} // namespace kv::production::test
