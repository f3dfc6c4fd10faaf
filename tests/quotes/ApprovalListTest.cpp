// What the approval list reads and writes without widgets, on both engines:
// the chart sets of a summary row, the article's stock, the customer order
// as its print shows it (each looked-up text on its own, the financial
// discount), one print run's queue and monthly chart rows, the order print's
// pages and the approved totals page.
#include "quotes/core/ArticleStock.h"
#include "quotes/core/ChartRows.h"
#include "quotes/core/CustomerOrderPrint.h"
#include "quotes/core/QuotePrintData.h"
#include "quotes/print/CustomerOrderReport.h"
#include "quotes/print/InternalQuotePages.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

#include "platform/text/NumberText.h"

#include <QDateTime>

using namespace kv::quotes;
using kv::test::Engine;

namespace {

QStringList texts(const kv::report::Document& document, int page = -1)
{
    QStringList out;
    for (const auto& p : document.pages)
        if (page < 0 || p.number == page)
            for (const auto& band : p.bands)
                for (const auto& item : band.items)
                    if (item.kind == kv::report::RenderedItem::Kind::Text)
                        out << item.text;
    return out;
}

// --- chart sets

struct ChartSetCase {
    std::string label;
    int set;
    std::vector<std::pair<int, QString>> slices; // sequence and legend
};

class ChartSets : public ::testing::TestWithParam<ChartSetCase> {};

TEST_P(ChartSets, slicesOfTheFirstQuantity)
{
    QuoteRow row;
    const char* columns[] = {"VALMP1",  "VALPS1", "VALCM1",   "VALMO1",   "VALEM1",
                             "VALSUB1", "VALTR1", "VALCOM1A", "VALCOM2A", "MARGEMVALOR"};
    for (int i = 0; i < 10; ++i)
        row.set(QString::fromLatin1(columns[i]), double(i + 1));
    row.set("VALMP2", 99.0);
    const auto slices = ChartRows::costSlices(GetParam().set, row);
    ASSERT_EQ(slices.size(), GetParam().slices.size());
    for (std::size_t i = 0; i < slices.size(); ++i) {
        EXPECT_EQ(slices[i].sequence, GetParam().slices[i].first);
        EXPECT_EQ(slices[i].label, GetParam().slices[i].second);
    }
    // Each legend carries its own column's value.
    const std::map<QString, double> expected{{"Mat.Prima", 1}, {"Prod.Subs", 2}, {"Máquinas", 3},  {"Mão Obra", 4},
                                             {"Embalagem", 5}, {"Subcontra", 6}, {"Transport", 7}, {"Estrutura", 8},
                                             {"Comissão", 9},  {"Margem", 10}};
    for (const auto& slice : slices)
        EXPECT_DOUBLE_EQ(slice.value, expected.at(slice.label)) << slice.label.toStdString();
}

const std::vector<std::pair<int, QString>> kBase{{1, "Mat.Prima"}, {2, "Prod.Subs"}, {3, "Máquinas"},
                                                 {4, "Mão Obra"},  {5, "Embalagem"}, {6, "Subcontra"}};
std::vector<std::pair<int, QString>> allSlices()
{
    auto all = kBase;
    all.insert(all.end(), {{7, "Transport"}, {8, "Estrutura"}, {9, "Comissão"}, {10, "Margem"}});
    return all;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ChartSets,
    ::testing::Values(ChartSetCase{"baseCost", 1, kBase},
                      ChartSetCase{"commercial", 2, {{6, "Transport"}, {7, "Estrutura"}, {8, "Comissão"}}},
                      ChartSetCase{"orderTotal", 3, allSlices()}, ChartSetCase{"noSuchSet", 4, {}}),
    [](const auto& testCase) { return testCase.param.label; });

// --- the invoicing database

class InvoicingTest : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        db = scenario.invoicingDatabase();
        db->exec("DELETE FROM PARGER");
        kv::test::insertRows(*db, "PARGER", {"ANO", "PRC_DECIMAIS", "DECIMAISQTD"}, {{"2024", 2, 3}});
        kv::test::insertRows(*db, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE"}, {{"9999-001", "Vila Nova"}});
        kv::test::insertRows(*db, "CNDPGT", {"CODIGO", "NRDIAS", "DESCRI", "PRCDESC"},
                             {{901, 30.0, "Dias em Cheque", 5.0}, {902, 60.0, "Dias", 0.0}});
        kv::test::insertRows(*db, "VENDEDORES", {"CODIGO", "NOME"}, {{901, "Vendedor Um"}});
        kv::test::insertRows(*db, "AGENTES", {"CODIGO", "NOME"}, {{901, "Agente Um"}, {902, "Agente Dois"}});
        kv::test::insertRows(*db, "FORMAS", {"FORMA", "DESIGNFORMA", "DESIGNLOCALIDADE"},
                             {{"EXW", "Ex Works", "Fábrica"}});
        kv::test::insertRows(*db, "ENCCLIMAS",
                             {"ENCNRO", "CLINRO", "DATEMI", "VOSENC", "VENDEDOR", "AGENTE", "AGENTE2", "CNDPGT",
                              "FORMA", "CLINOM", "CODPOSTAL", "PAIS", "VALMERC", "VALDESC", "VALLIQUIDO"},
                             {{7001, 45, QDateTime(QDate(2024, 3, 15), QTime()), "PO-12", 901, 901, 902, 901, "EXW",
                               "Caixas Lda", "9999-001", "PORTUGAL", 1000.0, 0.0, 1000.0}});
    }

    void addLines(int count)
    {
        for (int i = 1; i <= count; ++i)
            kv::test::insertRows(*db, "ENCCLIDET",
                                 {"ENCNRO", "DETAIL", "ARTIGO", "DESIGNACAO", "QUANTID", "QTDENCCV", "PRECOVENDA",
                                  "VALLIQUIDO", "DATAENTRG", "SEMANA"},
                                 {{7001, i, "CX-1", QStringLiteral("Caixa %1").arg(i), 1000.5, 2.25, 0.2, 200.1,
                                   QDateTime(QDate(2024, 4, 1), QTime()), 14}});
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

class OrderPrintData : public InvoicingTest {};

TEST_P(OrderPrintData, readsTheOrderWithItsTextsAndDiscount)
{
    addLines(2);
    const auto order = CustomerOrderPrint::load(*db, 7001, "2024");
    ASSERT_TRUE(order.has_value());
    EXPECT_EQ(order->customer, 45);
    EXPECT_EQ(order->locality, "Vila Nova");
    EXPECT_EQ(order->salesman, "Vendedor Um");
    EXPECT_EQ(order->agent1, "Agente Um");
    EXPECT_EQ(order->agent2, "Agente Dois");
    EXPECT_EQ(order->paymentCondition, "30 Dias em Cheque 5%");
    EXPECT_EQ(order->transport, "Ex Works");
    EXPECT_EQ(order->quantityDecimals, 3);
    ASSERT_EQ(order->lines.size(), 2u);
    EXPECT_EQ(order->lines[1].designation, "Caixa 2");
    EXPECT_DOUBLE_EQ(order->quantityTotal(), 2001);
    EXPECT_DOUBLE_EQ(order->quantityCvTotal(), 4.5);
    EXPECT_DOUBLE_EQ(order->financialDiscount(), 50);
    EXPECT_DOUBLE_EQ(order->orderTotal(), 950);
    EXPECT_FALSE(CustomerOrderPrint::load(*db, 7002, "2024").has_value());
}

struct MissingCase {
    std::string label;
    const char* statement;
    // The texts that must be empty; every other one keeps its value.
    std::vector<const char*> empty;
    double discount;
};

class OrderPrintLookups : public ::testing::TestWithParam<std::tuple<MissingCase, Engine>> {};

TEST_P(OrderPrintLookups, aMissingRowLeavesOnlyItsOwnTextEmpty)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    scenario.createInstallation(engine);
    auto db = scenario.invoicingDatabase();
    kv::test::insertRows(*db, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE"}, {{"9999-001", "Vila Nova"}});
    kv::test::insertRows(*db, "CNDPGT", {"CODIGO", "NRDIAS", "DESCRI", "PRCDESC"}, {{901, 30.0, "Dias", 5.0}});
    kv::test::insertRows(*db, "VENDEDORES", {"CODIGO", "NOME"}, {{901, "Vendedor Um"}});
    kv::test::insertRows(*db, "AGENTES", {"CODIGO", "NOME"}, {{901, "Agente Um"}, {902, "Agente Dois"}});
    kv::test::insertRows(*db, "FORMAS", {"FORMA", "DESIGNFORMA"}, {{"EXW", "Ex Works"}});
    kv::test::insertRows(
        *db, "ENCCLIMAS",
        {"ENCNRO", "CLINRO", "VENDEDOR", "AGENTE", "AGENTE2", "CNDPGT", "FORMA", "CODPOSTAL", "VALLIQUIDO"},
        {{7001, 45, 901, 901, 902, 901, "EXW", "9999-001", 1000.0}});
    db->exec(QString::fromLatin1(c.statement));
    const auto order = CustomerOrderPrint::load(*db, 7001, "2024");
    ASSERT_TRUE(order.has_value());
    const std::map<std::string, QString> shown{
        {"locality", order->locality}, {"salesman", order->salesman},        {"agent1", order->agent1},
        {"agent2", order->agent2},     {"payment", order->paymentCondition}, {"transport", order->transport}};
    for (const auto& [name, text] : shown) {
        const bool mustBeEmpty =
            std::find_if(c.empty.begin(), c.empty.end(), [&](const char* e) { return name == e; }) != c.empty.end();
        EXPECT_EQ(text.isEmpty(), mustBeEmpty) << name;
    }
    EXPECT_DOUBLE_EQ(order->financialDiscount(), c.discount);
    EXPECT_DOUBLE_EQ(order->orderTotal(), 1000 - c.discount);
}

const MissingCase kMissing[] = {
    {"nothingMissing", "SELECT 1", {}, 50},
    {"postalCode", "DELETE FROM CODPOSTAL WHERE CODPOSTAL = '9999-001'", {"locality"}, 50},
    {"paymentCondition", "DELETE FROM CNDPGT WHERE CODIGO = 901", {"payment"}, 0},
    {"paymentConditionWithoutDiscount", "UPDATE CNDPGT SET PRCDESC = 0 WHERE CODIGO = 901", {}, 0},
    {"salesman", "DELETE FROM VENDEDORES WHERE CODIGO = 901", {"salesman"}, 50},
    {"secondAgentZero", "UPDATE ENCCLIMAS SET AGENTE2 = 0", {"agent2"}, 50},
    {"firstAgentUnknown", "DELETE FROM AGENTES WHERE CODIGO = 901", {"agent1"}, 50},
    {"transport", "DELETE FROM FORMAS", {"transport"}, 50},
};
INSTANTIATE_TEST_SUITE_P(Cases, OrderPrintLookups,
                         ::testing::Combine(::testing::ValuesIn(kMissing), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<MissingCase>);

TEST(OrderPrintText, paymentConditionWithAndWithoutDiscount)
{
    EXPECT_EQ(CustomerOrderPrint::paymentText(30, "Dias em Cheque", 5), "30 Dias em Cheque 5%");
    EXPECT_EQ(CustomerOrderPrint::paymentText(30, "Dias em Cheque", 2.5), "30 Dias em Cheque 2,5%");
    EXPECT_EQ(CustomerOrderPrint::paymentText(60, "Dias", 0), "60 Dias");
}

TEST_P(OrderPrintData, aRunQueuesTheOrderOnceAndChartsTheCustomersMonthsOnce)
{
    kv::test::insertRows(*db, "ENCVALCLI", {"UTIL", "ANO", "CODIGO", "ENCOME01", "ENCOME02", "ENCOME12"},
                         {{"ANA", "2024", 45, 100.04, 0.0, 12.36}});
    kv::test::insertRows(*db, "ENCCLIIMPR", {"UTIL", "DOCNRO"}, {{"ANA", 6000}, {"RUI", 6000}});
    kv::test::insertRows(*db, "FACSALDOS", {"UTIL", "PROGRAMA", "SEQUENCIA", "LEGENDA", "VALOR"},
                         {{"ANA", "ORCP032", 13, "Velho", 1.0}, {"RUI", "ORCP032", 1, "Jan", 5.0}});
    const auto order = CustomerOrderPrint::load(*db, 7001, "2024");
    ASSERT_TRUE(order.has_value());
    for (int run = 0; run < 2; ++run)
        CustomerOrderPrint::prepareRun(*db, "ANA", *order, "2024", "ORCP032");

    EXPECT_EQ(CustomerOrderPrint::queued(*db, "ANA"), std::vector<qint64>{7001});
    EXPECT_EQ(CustomerOrderPrint::queued(*db, "RUI"), std::vector<qint64>{6000});
    ChartRows chart(*db, ChartRows::Table::FacSaldos, "ANA", "ORCP032");
    const auto slices = chart.slices();
    ASSERT_EQ(slices.size(), 12u);
    EXPECT_EQ(slices[0].label, "Jan");
    EXPECT_DOUBLE_EQ(slices[0].value, 100.0); // to 1 decimal, not added to by the second run
    EXPECT_EQ(slices[11].label, "Dez");
    EXPECT_DOUBLE_EQ(slices[11].value, 12.4);
    EXPECT_EQ(ChartRows(*db, ChartRows::Table::FacSaldos, "RUI", "ORCP032").slices().size(), 1u);
}

TEST_P(OrderPrintData, aCustomerWithoutMonthlyValuesGetsNoChartRows)
{
    const auto order = CustomerOrderPrint::load(*db, 7001, "2024");
    ASSERT_TRUE(order.has_value());
    CustomerOrderPrint::prepareRun(*db, "ANA", *order, "2024", "ORCP032");
    EXPECT_TRUE(ChartRows(*db, ChartRows::Table::FacSaldos, "ANA", "ORCP032").slices().empty());
    EXPECT_EQ(CustomerOrderPrint::queued(*db, "ANA"), std::vector<qint64>{7001});
}

TEST_P(OrderPrintData, pagesRepeatTheHeadingAndTheTotalsFollowTheLastLine)
{
    addLines(60);
    const auto order = CustomerOrderPrint::load(*db, 7001, "2024");
    ASSERT_TRUE(order.has_value());
    const kv::report::Document document = CustomerOrderReport::render(*order, "Empresa Teste");
    ASSERT_GE(document.pageCount(), 2);
    for (const auto& page : document.pages) {
        const QStringList onPage = texts(document, page.number);
        EXPECT_TRUE(onPage.contains("Vendedor Um")) << page.number;
        EXPECT_TRUE(onPage.contains("Vila Nova") || onPage.contains("9999-001 Vila Nova")) << page.number;
        EXPECT_TRUE(onPage.contains("30 Dias em Cheque 5%")) << page.number;
    }
    const QStringList last = texts(document, document.pages.back().number);
    // Quantities with the year's three decimals.
    EXPECT_TRUE(last.contains(kv::text::money(60030, 3))) << last.join('|').toStdString();
    EXPECT_TRUE(last.contains(kv::text::money(950, 2)));
    EXPECT_TRUE(last.contains(kv::text::money(50, 2)));
    EXPECT_FALSE(texts(document, 1).contains("Total da Encomenda : "));
}

TEST_P(OrderPrintData, anOrderWithoutLinesPrintsTheHeadingAndTheTotals)
{
    const auto order = CustomerOrderPrint::load(*db, 7001, "2024");
    ASSERT_TRUE(order.has_value());
    const QStringList all = texts(CustomerOrderReport::render(*order, "Empresa Teste"));
    EXPECT_TRUE(all.contains("PO-12"));
    EXPECT_TRUE(all.contains("Total da Encomenda : "));
    EXPECT_TRUE(all.contains(kv::text::money(0, 3)));
}

class Stock : public InvoicingTest {};

TEST_P(Stock, theArticlesWarehousesOfTheYear)
{
    db->exec("DELETE FROM ARTIGOSCLS WHERE CODIGO = 'CX-9'");
    kv::test::insertRows(*db, "ARTIGOSCLS", {"CODIGO", "DESIGNACAO", "EXIQTD", "UNVENDA"},
                         {{"CX-9", "Caixa", 12.5, "MLH"}});
    kv::test::insertRows(
        *db, "STKARTGARMZ", {"ARTIGO", "ANO", "CODIGO", "EXIQTD", "EXIVAL"},
        {{"CX-9", "2024", 2, 5.0, 50.0}, {"CX-9", "2024", 1, 7.5, 70.0}, {"CX-9", "2023", 1, 1.0, 1.0}});
    const ArticleStock stock = ArticleStock::read(*db, "CX-9", "2024");
    EXPECT_TRUE(stock.found);
    EXPECT_DOUBLE_EQ(stock.quantity, 12.5);
    EXPECT_EQ(stock.unit, "MLH");
    ASSERT_EQ(stock.warehouses.size(), 2u);
    EXPECT_EQ(stock.warehouses[0].warehouse, 1);
    EXPECT_DOUBLE_EQ(stock.warehouses[1].value, 50.0);
    EXPECT_FALSE(ArticleStock::read(*db, "NAO-EXISTE", "2024").found);
    EXPECT_FALSE(ArticleStock::read(*db, "", "2024").found);
}

INSTANTIATE_TEST_SUITE_P(Engines, OrderPrintData, ::testing::ValuesIn(kv::test::engines()), kv::test::engineTestName);
INSTANTIATE_TEST_SUITE_P(Engines, Stock, ::testing::ValuesIn(kv::test::engines()), kv::test::engineTestName);

// --- the approved totals page

struct ApprovedPageCase {
    std::string label;
    bool approved;
    bool showsPriceAndMargin;
};

class ApprovedPage : public ::testing::TestWithParam<ApprovedPageCase> {};

TEST_P(ApprovedPage, approvedPriceAndMarginOnlyOnTheApprovalListsPage)
{
    QuotePrintData data;
    data.quoteNumber = 51;
    QuoteRow summary;
    summary.set("CODIGO", 51);
    summary.set("SUBCODIGO", 99);
    summary.set("PRECOADJUD", 123.456);
    summary.set("MARGEMPRC", 12.5);
    data.summary = summary;
    InternalPrintInputs inputs;
    inputs.priceDecimals = 3;
    inputs.approved = GetParam().approved;
    const QStringList all = texts(InternalQuotePages(data, inputs).render(InternalPage::Totals));
    EXPECT_TRUE(all.contains("PREÇO APROVADO :"));
    EXPECT_EQ(all.contains(kv::text::money(123.456, 3)), GetParam().showsPriceAndMargin);
    EXPECT_EQ(all.contains("12,5 %"), GetParam().showsPriceAndMargin);
}

INSTANTIATE_TEST_SUITE_P(Cases, ApprovedPage,
                         ::testing::Values(ApprovedPageCase{"approvalList", true, true},
                                           ApprovedPageCase{"otherForms", false, false}),
                         [](const auto& testCase) { return testCase.param.label; });

} // namespace
