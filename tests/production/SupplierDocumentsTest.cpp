// Requisitions and purchase orders written from the proposal, numbered and
// queued for print, on both engines.
#include "production/RequirementsFixture.h"
#include "production/core/PurchaseOrderPrint.h"
#include "production/forms/PurchaseOrderReport.h"

#include "support/TableRows.h"

#include "platform/db/Connection.h"
#include "platform/report/Export.h"

#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <cstdlib>
#include <functional>
#include <set>
#include <thread>

using namespace kv::production;
using kv::production::test::RequirementsFixture;
using kv::test::Engine;
using kv::test::insertRows;

namespace {

const QString User = QStringLiteral("ANA");

// Suppliers 3, 7, 12 and 30, delivery place 1 with its postal code, the
// year's purchasing parameters (series 1 at 0, two copy names each) and the
// user's invoicing row in purchase-order series 1.
void docSetUp(RequirementsFixture& f, const QString& series = QStringLiteral("1"))
{
    for (int supplier : {3, 7, 12, 30})
        f.addSupplier(supplier, QStringLiteral("Fornecedor %1").arg(supplier));
    insertRows(f.inv(), "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS"}, {{"4470-000", "Maia", "PORTUGAL"}});
    insertRows(f.inv(), "LOCCARGA", {"CODIGO", "MORADA1", "MORADA2", "CODPOSTAL"},
               {{1, "Armazém", "Lote 3", "4470-000"}});
    insertRows(f.inv(), "STKPARGER",
               {"ANO", "EFNRO1", "EFNRO2", "EFNRO3", "EFNRO4", "EFNRO5", "EFVIA1", "EFVIA3", "REQVIA1", "REQVIA8"},
               {{"2024", 0, 500, 0, 0, 0, "Original", "Arquivo", "Compras", "Arquivo"}});
    insertRows(f.inv(), "UTILIZADORES", {"NRO", "SERIEFRN", "SERIEREQ"}, {{User, series, "1"}});
    f.app().exec("UPDATE ORCPARGER SET DEPARTAMENTO = 'COMPRAS' WHERE CODIGO = 1");
}

class SupplierDocumentsTest : public ::testing::TestWithParam<Engine> {};

TEST_P(SupplierDocumentsTest, RequisitionOfTwoSuppliersWithADiscountedLine)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f);
    // the user's numbers 3, 7 and 5 give 8; another user's numbers do not count
    insertRows(f.inv(), "FRNREQMAS", {"UTILIZADOR", "REQNRO"}, {{User, 3}, {User, 7}, {User, 5}, {"OUTRO", 40}});
    f.addProposal("MP-1", 12.5, 7, "Fornecedor 7", 1.2345, 10);
    f.addProposal("MP-2", 4, 3, "Fornecedor 3", 5);
    // unticked, without price or without name: not written
    insertRows(f.app(), "LOGARTGFORN", {"UTIL", "ARTIGO", "FORNECEDOR", "NOME", "PRECO", "QUANTIDADE", "PROCESSAR"},
               {{User, "MP-3", 3, "Fornecedor 3", 1, 1, "N"},
                {User, "MP-4", 3, "Fornecedor 3", 0, 1, "S"},
                {User, "MP-5", 3, "", 1, 1, "S"}});

    const auto number = f.documents().writeRequisition();
    ASSERT_EQ(number, 8) << f.messages.errors.join("; ").toStdString();
    EXPECT_DOUBLE_EQ(f.inv().scalar("SELECT VALMERC FROM FRNREQMAS WHERE REQNRO = 8").toDouble(), 35.43);
    EXPECT_EQ(f.inv().scalar("SELECT DEPARTAMENTO FROM FRNREQMAS WHERE REQNRO = 8").toString(), "COMPRAS");
    EXPECT_EQ(f.inv().scalar("SELECT PRINTE FROM FRNREQMAS WHERE REQNRO = 8").toString(), "N");
    const auto lines =
        f.scenario.rows(f.scenario.invoicingDatabase(),
                        "SELECT DETAIL, FRNNRO, ARTIGO, VALILIQUIDO, VALLIQUIDO, PRCDESCRI, SEMANA, ANO, "
                        "UNVEND, APROVADO, DATAENTRG FROM FRNREQDET WHERE REQNRO = 8 ORDER BY DETAIL");
    ASSERT_EQ(lines.rows.size(), 2u);
    EXPECT_EQ(lines.value(0, "FRNNRO").toInt(), 3);
    EXPECT_DOUBLE_EQ(lines.value(0, "VALLIQUIDO").toDouble(), 20);
    EXPECT_EQ(lines.value(0, "PRCDESCRI").toString(), "");
    EXPECT_EQ(lines.value(1, "FRNNRO").toInt(), 7);
    EXPECT_DOUBLE_EQ(lines.value(1, "VALILIQUIDO").toDouble(), 15.43);
    EXPECT_DOUBLE_EQ(lines.value(1, "VALLIQUIDO").toDouble(), 13.89);
    EXPECT_EQ(lines.value(1, "PRCDESCRI").toString(), "10,00 %");
    EXPECT_EQ(lines.value(1, "SEMANA").toString(), "12");
    EXPECT_EQ(lines.value(1, "ANO").toString(), "2024");
    EXPECT_EQ(lines.value(1, "UNVEND").toString(), "KG");
    EXPECT_EQ(lines.value(1, "APROVADO").toString(), "N");
    EXPECT_EQ(lines.value(1, "DATAENTRG").toDateTime(), QDate(2024, 3, 18).startOfDay());

    // the print: the named copies queued, the requisition marked printed
    EXPECT_EQ(f.documents().queueRequisition(8), 2);
    const auto queue = f.scenario.rows(f.scenario.invoicingDatabase(),
                                       "SELECT TIPDOC, DOCNRO, VIA FROM FRNENCIMPR WHERE UTIL = 'ANA' ORDER BY VIA");
    ASSERT_EQ(queue.rows.size(), 2u);
    EXPECT_EQ(queue.value(0, "TIPDOC").toInt(), 1);
    EXPECT_EQ(queue.value(0, "VIA").toString(), "Arquivo");
    EXPECT_EQ(f.inv().scalar("SELECT PRINTE FROM FRNREQMAS WHERE REQNRO = 8").toString(), "S");
}

TEST_P(SupplierDocumentsTest, NothingTickedWritesNoRequisition)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f);
    EXPECT_FALSE(f.documents().writeRequisition().has_value());
    EXPECT_EQ(f.messages.errors, QStringList{"Não Existem Artigos a Requisitar !!"});
    EXPECT_EQ(f.messages.beeps, 1);
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQMAS"), 0);
}

// A ticked row that cannot make a line refuses the whole document.
struct Refusal {
    const char* label;
    std::function<void(RequirementsFixture&)> setUp;
    const char* message;
};

const Refusal refusals[] = {
    {"delivery_date_empty", [](auto& f) { f.addProposal("MP-2", 1, 3, "Fornecedor 3", 1, 0, QDate()); },
     "Artigo MP-2, fornecedor 3: DATA DE ENTREGA INVALIDA !!!"},
    {"delivery_before_the_working_date",
     [](auto& f) { f.addProposal("MP-2", 1, 3, "Fornecedor 3", 1, 0, QDate(2024, 3, 14)); },
     "Artigo MP-2, fornecedor 3: A DATA DE ENTREGA NÃO PODE SER INFERIOR À DATA DA ENCOMENDA!!!"},
    {"delivery_missing_from_the_calendar",
     [](auto& f) { f.addProposal("MP-2", 1, 3, "Fornecedor 3", 1, 0, QDate(2024, 3, 19)); },
     "Artigo MP-2, fornecedor 3: Data inexistente no Calendário !!! 19/03/2024"},
    {"delivery_on_a_saturday", [](auto& f) { f.addProposal("MP-2", 1, 3, "Fornecedor 3", 1, 0, QDate(2024, 3, 16)); },
     "Artigo MP-2, fornecedor 3: Intoduza a Data de um Dia Útil !!!"},
    {"supplier_missing", [](auto& f) { f.addProposal("MP-2", 1, 99, "Fantasma", 1); },
     "Artigo MP-2, fornecedor 99: FORNECEDOR INEXISTENTE !!!"},
    {"supplier_zero", [](auto& f) { f.addProposal("MP-2", 1, 0, "Sem número", 1); },
     "Artigo MP-2, fornecedor 0: FORNECEDOR INEXISTENTE !!!"},
    {"article_missing", [](auto& f) { f.addProposal("MP-9", 1, 3, "Fornecedor 3", 1); },
     "Artigo MP-9, fornecedor 3: Artigo Inexistente : MP-9"},
};

class DocumentRefusalTest : public ::testing::TestWithParam<std::tuple<Refusal, Engine>> {};

TEST_P(DocumentRefusalTest, NeitherDocumentIsWritten)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    RequirementsFixture f(engine);
    docSetUp(f);
    f.addProposal("MP-1", 10, 12, "Fornecedor 12", 1);
    c.setUp(f);
    EXPECT_FALSE(f.documents().writeRequisition().has_value());
    EXPECT_TRUE(f.documents().writePurchaseOrders().empty());
    EXPECT_EQ(f.messages.errors, (QStringList{c.message, c.message}));
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQMAS") + f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQDET")
                  + f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS")
                  + f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCDET"),
              0);
    EXPECT_EQ(f.inv().scalar("SELECT EFNRO1 FROM STKPARGER").toInt(), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, DocumentRefusalTest,
                         ::testing::Combine(::testing::ValuesIn(refusals), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<Refusal>);

// The date check the grid runs on leaving the delivery-date cell.
TEST_P(SupplierDocumentsTest, DeliveryDateCheck)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    SupplierDocuments documents = f.documents();
    EXPECT_EQ(documents.deliveryDateProblem(QDate(2024, 3, 18)), "");
    EXPECT_EQ(documents.deliveryDateProblem(QVariant()), "DATA DE ENTREGA INVALIDA !!!");
    EXPECT_EQ(documents.deliveryDateProblem(QDate(2024, 3, 16).startOfDay()), "Intoduza a Data de um Dia Útil !!!");
}

TEST_P(SupplierDocumentsTest, PurchaseOrdersOnePerSupplierWithNumbersCounterAndTotals)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f, "2");
    // 501 and 502 are taken: the run's orders are 503 and 504
    insertRows(f.inv(), "FRNENCMAS", {"ENCNRO", "UTILIZADOR", "PRINTE"}, {{501, "OUTRO", "N"}, {502, "OUTRO", "N"}});
    f.addProposal("MP-1", 200, 12, "Fornecedor 12", 0.5, 5); // gross 100.00, discount 5.00
    f.addProposal("MP-2", 10, 12, "Fornecedor 12", 5); // gross 50.00
    f.addProposal("CX-A", 3, 30, "Fornecedor 30", 2);

    const PurchaseOrderRun run = f.documents().writePurchaseOrders();
    ASSERT_EQ(run.numbers, (std::vector<int>{503, 504})) << f.messages.errors.join("; ").toStdString();
    EXPECT_EQ(f.inv().scalar("SELECT EFNRO2 FROM STKPARGER WHERE ANO = '2024'").toInt(), 504);
    const auto headers = f.scenario.rows(
        f.scenario.invoicingDatabase(),
        "SELECT ENCNRO, FRNNRO, FRNNOM, VALMERC, VALDESC, VALTOT, VALLIQUIDO, VALLIQCAR, TOTQTD, QTDCAR, "
        "DESC_LOCALIDADE, DESC_MORADA1, LOCDESCARGA, TIPOENC, PRINTE, UTILIZADOR, ANO, DATEMI, DATAABERTURA, "
        "HORAABERTURA FROM FRNENCMAS WHERE ENCNRO > 502 ORDER BY ENCNRO");
    ASSERT_EQ(headers.rows.size(), 2u);
    // the dates whole, not their year
    EXPECT_EQ(headers.value(0, "DATEMI").toDateTime(), RequirementsFixture::WorkingDate.startOfDay());
    const QDateTime opened = headers.value(0, "HORAABERTURA").toDateTime();
    EXPECT_LE(std::abs(opened.secsTo(QDateTime::currentDateTime())), 600);
    EXPECT_EQ(headers.value(0, "DATAABERTURA").toDateTime(), opened.date().startOfDay());
    EXPECT_EQ(headers.value(0, "FRNNRO").toInt(), 12);
    EXPECT_DOUBLE_EQ(headers.value(0, "VALMERC").toDouble(), 150);
    EXPECT_DOUBLE_EQ(headers.value(0, "VALDESC").toDouble(), 5);
    for (const char* column : {"VALTOT", "VALLIQUIDO", "VALLIQCAR"})
        EXPECT_DOUBLE_EQ(headers.value(0, column).toDouble(), 145) << column;
    EXPECT_DOUBLE_EQ(headers.value(0, "TOTQTD").toDouble(), 210);
    EXPECT_DOUBLE_EQ(headers.value(0, "QTDCAR").toDouble(), 210);
    EXPECT_EQ(headers.value(0, "DESC_LOCALIDADE").toString(), "Maia");
    EXPECT_EQ(headers.value(0, "DESC_MORADA1").toString(), "Armazém");
    EXPECT_EQ(headers.value(0, "TIPOENC").toString(), "M");
    EXPECT_EQ(headers.value(0, "UTILIZADOR").toString(), User);
    EXPECT_EQ(headers.value(1, "FRNNRO").toInt(), 30);
    EXPECT_DOUBLE_EQ(headers.value(1, "VALTOT").toDouble(), 6);
    const auto lines = f.scenario.rows(f.scenario.invoicingDatabase(),
                                       "SELECT ENCNRO, DETAIL, ARTIGO, VALLIQUIDO, PRCDESCRI, QTDCAR, TOTENT, SEMANA "
                                       "FROM FRNENCDET ORDER BY ENCNRO, DETAIL");
    ASSERT_EQ(lines.rows.size(), 3u);
    EXPECT_EQ(lines.value(0, "ARTIGO").toString(), "MP-1");
    EXPECT_DOUBLE_EQ(lines.value(0, "VALLIQUIDO").toDouble(), 95);
    EXPECT_EQ(lines.value(0, "PRCDESCRI").toString(), "5,00 %");
    EXPECT_EQ(lines.value(1, "DETAIL").toInt(), 2);
    EXPECT_EQ(lines.value(2, "ENCNRO").toInt(), 504);
    EXPECT_EQ(lines.value(2, "DETAIL").toInt(), 1);

    // the print queues the run's unprinted orders, one row per copy
    EXPECT_EQ(f.documents().queuePurchaseOrders(run), 2);
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCIMPR WHERE UTIL = 'ANA' AND DOCNRO >= 503"), 4);
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS WHERE PRINTE = 'S'"), 2);
    f.documents().emptyQueue();
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCIMPR"), 0);
}

// The order's own observation lines: written empty, filled in later by
// purchasing, printed in the order's totals band.
TEST_P(SupplierDocumentsTest, OrderObservationsPrintWithTheTotals)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f);
    f.addProposal("MP-1", 10, 12, "Fornecedor 12", 1);
    f.addProposal("CX-A", 3, 30, "Fornecedor 30", 2);
    const PurchaseOrderRun run = f.documents().writePurchaseOrders();
    ASSERT_EQ(run.numbers, (std::vector<int>{1, 2})) << f.messages.errors.join("; ").toStdString();
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS WHERE OBSERV1 = '' AND OBSERV2 = ''"), 2);
    f.inv().exec("UPDATE FRNENCMAS SET OBSERV1 = 'Entregar de manhã', OBSERV2 = 'Paletes retornáveis' "
                 "WHERE ENCNRO = 1");
    f.inv().exec("UPDATE STKPARGER SET EFVIA3 = NULL");
    ASSERT_EQ(f.documents().queuePurchaseOrders(run), 1);

    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("orders.pdf"));
    const PurchaseOrderPrint print = PurchaseOrderPrint::read(f.inv(), User, run.first(), run.last(), "2024");
    kv::report::exportDocument(PurchaseOrderReport(print, std::nullopt, false).render(),
                               kv::report::ExportFormat::Pdf, file);
    QProcess pdf;
    pdf.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    pdf.waitForFinished();
    const QStringList pages = QString::fromUtf8(pdf.readAllStandardOutput()).split(QLatin1Char('\f'));
    ASSERT_GE(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(pages[i].contains(QStringLiteral("TOTAL ( € )"))) << i;
        EXPECT_TRUE(pages[i].contains(QStringLiteral("15/03/2024"))) << i; // the issue date
        EXPECT_EQ(pages[i].contains(QStringLiteral("Entregar de manhã")), i == 0) << i;
        EXPECT_EQ(pages[i].contains(QStringLiteral("Paletes retornáveis")), i == 0) << i;
    }
}

TEST_P(SupplierDocumentsTest, RunWithoutTickedRowsWritesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f);
    EXPECT_TRUE(f.documents().writePurchaseOrders().empty());
    EXPECT_TRUE(f.messages.errors.isEmpty());
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS"), 0);
}

// A run the parameters refuse: nothing written, the counter as it was.
struct RefusedRun {
    const char* label;
    std::function<void(RequirementsFixture&)> setUp;
    const char* message;
};

const RefusedRun refusedRuns[] = {
    {"no_parameters_for_the_year", [](auto& f) { f.inv().exec("UPDATE STKPARGER SET ANO = '2023'"); },
     "PARÂMETROS GERAIS DE APROVISIONAMENTO INEXISTENTES !!!"},
    {"series_out_of_range", [](auto& f) { f.inv().exec("UPDATE UTILIZADORES SET SERIEFRN = '7'"); },
     "A série \"7\" de encomendas a fornecedores do utilizador ANA não é válida: tem de ser de 1 a 5."},
    {"user_missing", [](auto& f) { f.inv().exec("DELETE FROM UTILIZADORES"); }, "UTILIZADOR INEXISTENTE !!!"},
    {"no_delivery_place", [](auto& f) { f.inv().exec("DELETE FROM LOCCARGA"); }, "LOCAL DE DESCARGA 1 INEXISTENTE !!!"},
    {"delivery_place_without_postal_code", [](auto& f) { f.inv().exec("DELETE FROM CODPOSTAL"); },
     "CÓDIGO POSTAL DO LOCAL DE DESCARGA 1 INEXISTENTE !!!"},
};

class RefusedRunTest : public ::testing::TestWithParam<std::tuple<RefusedRun, Engine>> {};

TEST_P(RefusedRunTest, LeavesNothing)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    RequirementsFixture f(engine);
    docSetUp(f);
    f.addProposal("MP-1", 10, 12, "Fornecedor 12", 1);
    f.addProposal("MP-2", 10, 30, "Fornecedor 30", 1);
    c.setUp(f);
    EXPECT_TRUE(f.documents().writePurchaseOrders().empty());
    EXPECT_EQ(f.messages.errors, QStringList{c.message});
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS") + f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCDET"),
              0);
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM STKPARGER WHERE EFNRO1 <> 0"), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RefusedRunTest,
                         ::testing::Combine(::testing::ValuesIn(refusedRuns), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<RefusedRun>);

// Two workstations of one user writing documents at once from the same two
// ticked rows (suppliers 12 and 30), each `runs` times through its own
// connections: every number handed out, and why a workstation failed.
struct DocAtOnce {
    std::multiset<int> numbers;
    std::string failures;
};

DocAtOnce docAtOnce(RequirementsFixture& f, int runs, const std::function<std::vector<int>(SupplierDocuments&)>& write)
{
    docSetUp(f);
    f.addProposal("MP-1", 10, 12, "Fornecedor 12", 1);
    f.addProposal("MP-2", 10, 30, "Fornecedor 30", 1);
    std::vector<int> got[2];
    std::string failures[2];
    auto app2 = f.scenario.applicationDatabase();
    auto inv2 = f.scenario.invoicingDatabase();
    auto workstation = [&](int which) {
        try {
            kv::db::Connection& app = which == 0 ? f.app() : *app2;
            kv::db::Connection& inv = which == 0 ? f.inv() : *inv2;
            test::RecordedMessages messages;
            SupplierDocuments documents(app, inv, messages,
                                        {User, QStringLiteral("2024"), RequirementsFixture::WorkingDate});
            for (int i = 0; i < runs; ++i) {
                const std::vector<int> numbers = write(documents);
                got[which].insert(got[which].end(), numbers.begin(), numbers.end());
                QThread::msleep(1);
            }
            if (!messages.errors.isEmpty())
                failures[which] = messages.errors.join("; ").toStdString();
        } catch (const kv::db::DbError& e) {
            failures[which] = e.fullText().toStdString();
        }
    };
    std::thread first(workstation, 0), second(workstation, 1);
    first.join();
    second.join();
    DocAtOnce result;
    for (int which = 0; which < 2; ++which) {
        result.numbers.insert(got[which].begin(), got[which].end());
        result.failures += failures[which];
    }
    return result;
}

// Two workstations writing orders in the same series at once never share a
// number, and the counter ends at the highest.
TEST_P(SupplierDocumentsTest, TwoWorkstationsNumberingAtOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    constexpr int Runs = 8;
    const DocAtOnce done =
        docAtOnce(f, Runs, [](SupplierDocuments& documents) { return documents.writePurchaseOrders().numbers; });
    ASSERT_EQ(done.failures, "");
    EXPECT_EQ(done.numbers.size(), static_cast<std::size_t>(4 * Runs));
    EXPECT_EQ(std::set<int>(done.numbers.begin(), done.numbers.end()).size(), done.numbers.size());
    EXPECT_EQ(f.inv().scalar("SELECT EFNRO1 FROM STKPARGER").toInt(), *done.numbers.rbegin());
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS"), 4 * Runs);
}

// Two workstations of one user writing requisitions at once: each gets
// numbers of its own, every requisition whole with its lines.
TEST_P(SupplierDocumentsTest, TwoWorkstationsNumberingRequisitionsAtOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    constexpr int Runs = 8;
    const DocAtOnce done = docAtOnce(f, Runs, [](SupplierDocuments& documents) {
        const std::optional<int> number = documents.writeRequisition();
        return number ? std::vector<int>{*number} : std::vector<int>{};
    });
    ASSERT_EQ(done.failures, "");
    std::multiset<int> expected;
    for (int number = 1; number <= 2 * Runs; ++number)
        expected.insert(number);
    EXPECT_EQ(done.numbers, expected);
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQMAS"), 2 * Runs);
    // every requisition holds its own two lines, none another's
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQDET D JOIN FRNREQMAS M ON M.UTILIZADOR = D.UTILIZADOR "
                               "AND M.REQNRO = D.REQNRO WHERE D.DETAIL IN (1, 2)"),
              2 * 2 * Runs);
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQDET"), 2 * 2 * Runs);
}

// The next calculation counts what was just written: the requisition as
// requested quantity, the purchase order as undelivered supplier lines.
TEST_P(SupplierDocumentsTest, NextCalculationCountsTheNewDocuments)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f);
    RequirementsCalculation calc = f.calculation(RequirementVariant::Requisition);
    ASSERT_TRUE(calc.preselect(f.limits()));
    calc.calculate(f.limits());
    f.addProposal("MP-1", 100, 12, "Fornecedor 12", 1);
    ASSERT_TRUE(f.documents().writeRequisition().has_value());
    f.app().exec("UPDATE LOGARTGFORN SET QUANTIDADE = 50");
    ASSERT_FALSE(f.documents().writePurchaseOrders().empty());
    calc.calculate(f.limits());
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "QTDREQINT").toDouble(), 100);
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "TOTQTDENCFRN").toDouble(), 50);
    EXPECT_DOUBLE_EQ(f.requirement("MP-1", "TOTCONSUMO").toDouble(), 350);
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGFRNENC"), 1);
}

// What keeps the requirement forms from opening, in the order checked.
TEST_P(SupplierDocumentsTest, ParametersTheFormsNeed)
{
    KV_SKIP_WITHOUT(GetParam());
    RequirementsFixture f(GetParam());
    docSetUp(f);
    insertRows(f.inv(), "PARGER", {"ANO"}, {{"2024"}});
    SupplierDocuments documents = f.documents();
    EXPECT_EQ(documents.parametersProblem(), "");
    EXPECT_EQ(documents.userSeries(true), "1");
    f.app().exec("UPDATE ORCPARGER SET DEPARTAMENTO = ' '");
    EXPECT_EQ(documents.parametersProblem(), "Departamento de Compras não está parametrizado ... !");
    f.app().exec("DELETE FROM ORCPARGER");
    EXPECT_EQ(documents.parametersProblem(), "Parâmentos Gerais Inexistentes ... !");
    f.inv().exec("DELETE FROM PARGER");
    EXPECT_EQ(documents.parametersProblem(), "Parâmetros Gestão Comercial Inexistentes !!");
    f.inv().exec("DELETE FROM UTILIZADORES");
    EXPECT_FALSE(documents.userSeries(false).has_value());
}

KV_ENGINE_SUITE(SupplierDocumentsTest);

} // namespace
