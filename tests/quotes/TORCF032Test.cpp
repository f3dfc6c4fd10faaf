// The approval list TORCF032 on a logged-in demo company: activation and
// rights, the list opened by the limit fields with its kind filter and
// orders, the row display (values, chart sets, article, stock, customer
// figures with the order book), "&Aprovar" through a scripted approval form,
// the internal print with the approved page and the customer order print.
#include "quotes/forms/QuoteForms.h"
#include "quotes/forms/TORCF032.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

#include "platform/db/Dataset.h"
#include "platform/report/PreviewWindow.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "quotes/core/ChartRows.h"

#include <QComboBox>
#include <QTabWidget>
#include <QTableWidget>

#include <gtest/gtest.h>

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

struct QuoteSpec {
    int number;
    int dayOffset; // from the working date
    int customer;
    int salesman;
    const char* article;
    const char* origin;
    int order; // ENCNRO
};

// Quotes of the working date: 9001 and 9003 of article PRV-1 (in the file),
// 9002 of an article that is not, 9003 automatic; 9004 of another customer
// with its order 8801; 9005 the day before.
const QuoteSpec Quotes[] = {{9001, 0, 501, 2, "PRV-1", "M", 0},
                            {9002, 0, 502, 1, "NAO-EXISTE", "M", 0},
                            {9003, 0, 501, 1, "PRV-0", "A", 0},
                            {9004, 0, 503, 3, "PRV-1", "M", 8801},
                            {9005, -1, 501, 1, "PRV-1", "M", 0}};

struct ApprovalList {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> inv;
    QDate today;
    QString user;
    std::vector<approval::ApprovalContext> approvals; // what the scripted approval form was given
    approval::ApprovalOutcome outcome;

    explicit ApprovalList(Engine engine, Company company = Company::Demo)
    {
        kv::shell::Session& session = scenario.login(engine, company);
        kv::ui::FormRegistry& forms = scenario.forms();
        registerQuoteForms(
            [&session, &forms] {
                return QuoteFormsEnvironment{&session.state(), &session.dataModules(), &forms, &session.installation()};
            },
            forms,
            [this](const approval::ApprovalContext& context, QWidget*) {
                approvals.push_back(context);
                return outcome;
            });
        app = session.dataModules().connections().DbKavorime;
        inv = session.dataModules().connections().DbFacturacao;
        today = session.state().WData;
        user = session.state().WUtil;
        if (company == Company::Demo) {
            inv->exec("DELETE FROM PARCUSTOM");
            inv->exec("INSERT INTO PARCUSTOM (CODIGO, GRUPOTIPO1) VALUES ('1', 'G')");
        }
        scenario.messages().clear();
    }

    void addQuotes()
    {
        // the demo's own quotes are out of the day's selection
        app->exec("UPDATE ORCMAS SET DATEMI = :D WHERE CODIGO < 9000", {{"D", QDateTime(QDate(1990, 1, 1), QTime())}});
        for (const QuoteSpec& q : Quotes)
            app->exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, VNDNRO, NOSREF, DESIGN1, "
                      "MANUAL_AUTO, APROVADO, ENCNRO, QTDORC1, QTDORC2, QTDORC3, VALMP1, VALCM1, VALTR1, VALCOM1A, "
                      "MARGEMVALOR, PRECOADJUD, QTDADJUD, MARGEMPRC, UNIDADE) VALUES (:C, 99, :D, :Cli, 'Cliente', "
                      ":Vnd, :Art, 'Caixa', :M, 'N', :Enc, 1000, 2000, 0, 100.5, 50.25, 10, 5, 20, 0.25, 4000, 12.5, "
                      "'M')",
                      {{"C", q.number},
                       // a minute apart, so that no two quotes tie in any order
                       {"D", QDateTime(today.addDays(q.dayOffset), QTime(9, q.number % 10))},
                       {"Cli", q.customer},
                       {"Vnd", q.salesman},
                       {"Art", QString::fromLatin1(q.article)},
                       {"M", QString::fromLatin1(q.origin)},
                       {"Enc", q.order}});
    }

    // Article PRV-1 of type 1 classified in group "G", with its stock; PRV-0
    // of type 1 without a classification.
    void addArticles()
    {
        inv->exec("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM) VALUES ('G', '1', 'Cor')");
        inv->exec("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO) VALUES ('G', 'PORTUGAL', '1', 4, "
                  "'Azul')");
        kv::test::insertRows(
            *inv, "ARTIGOSCLS",
            {"CODIGO", "DESIGNACAO", "TIPOARTIGO", "FAMILIA", "PRECO1", "CUSTOM1", "EXIQTD", "UNVENDA"},
            {{"PRV-1", "Caixa de prova", "1", "CAIXAS", 0.3, 4, 12.5, "UN"},
             {"PRV-0", "Caixa simples", "1", "CAIXAS", 0.1, 0, 0.0, "MLH"}});
        kv::test::insertRows(*inv, "STKARTGARMZ", {"ARTIGO", "ANO", "CODIGO", "EXIQTD", "EXIVAL"},
                             {{"PRV-1", scenario.session().state().WAno, 1, 12.5, 125.0}});
    }

    // Customer 503: receivables, and its order 8801 with open lines in two
    // delivery months.
    void addCustomerFigures()
    {
        inv->exec("DELETE FROM CLIVALCOB WHERE CODIGO = 503");
        inv->exec("DELETE FROM CLIENTES WHERE CODIGO IN (501, 502, 503)");
        kv::test::insertRows(*inv, "CLIENTES", {"CODIGO", "NOME"}, {{501, "Um"}, {502, "Dois"}, {503, "Tres"}});
        kv::test::insertRows(*inv, "CLIVALCOB", {"CODIGO", "DEB0", "DEB30", "TITULOS", "PREDAT"},
                             {{503, 100.0, 50.0, 1000.0, 500.0}});
        kv::test::insertRows(*inv, "ENCCLIMAS",
                             {"ENCNRO", "CLINRO", "DATEMI", "CLINOM", "VALMERC", "VALDESC", "VALLIQUIDO"},
                             {{8801, 503, QDateTime(today, QTime()), "Tres", 300.0, 0.0, 300.0}});
        for (int line = 1; line <= 3; ++line)
            kv::test::insertRows(
                *inv, "ENCCLIDET",
                {"ENCNRO", "DETAIL", "CLINRO", "DATEMI", "DATAENTRG", "ARTIGO", "DESIGNACAO", "QUANTID", "VALLIQUIDO",
                 "VALLIQCAR", "QTDCAR", "TOTENT"},
                {{8801, line, 503, QDateTime(today, QTime()), QDateTime(QDate(2030, line == 3 ? 2 : 1, 10), QTime()),
                  "PRV-1", "Caixa", 1000.0, 100.0, 100.0, 1000.0, "N"}});
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF032");
        scenario.settle();
        return form;
    }
    // Leaving the second customer field opens the list.
    void openList(FormDriver& form)
    {
        form.focus("Edit_CliNro2");
        form.enter();
        scenario.settle();
    }
    static TORCF032* list(FormDriver& form) { return qobject_cast<TORCF032*>(form.window()); }
    static QList<int> listed(FormDriver& form)
    {
        QList<int> out;
        for (const QString& number : form.gridColumn("DBGrid1", 0))
            out << number.toInt();
        return out;
    }
    void showRow(FormDriver& form, int row)
    {
        form.clickRow("DBGrid1", row);
        scenario.settle();
    }
};

struct ActivationCase {
    std::string label;
    Company company;
    const char* statement; // on the invoicing database
    const char* message;
};

class ApprovalListActivation : public ::testing::TestWithParam<std::tuple<ActivationCase, Engine>> {};

TEST_P(ApprovalListActivation, closesWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ApprovalList t(engine, c.company);
    if (*c.statement)
        t.inv->exec(QString::fromLatin1(c.statement));
    FormDriver form = t.open();
    EXPECT_EQ(t.scenario.messages().texts(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_FALSE(form.isOpen());
}

const ActivationCase kActivation[] = {
    {"noRightsRow", Company::Plain, "", "Não pode aceder a este Programa"},
    {"noYearParameters", Company::Demo, "DELETE FROM PARGER", "PARAMETROS GERAIS, Inexistentes"}};
INSTANTIATE_TEST_SUITE_P(Cases, ApprovalListActivation,
                         ::testing::Combine(::testing::ValuesIn(kActivation), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ActivationCase>);

class ApprovalListForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ApprovalListForm, startsEmptyAndTheSecondCustomerFieldOpensTheDaysQuotes)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    FormDriver form = t.open();
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
    EXPECT_EQ(form.text("Edit_CliNro1"), "");
    EXPECT_EQ(form.text("Edit_CliNro2"), "999999999");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
    EXPECT_FALSE(form.isVisible("TBCons"));
    t.openList(form);
    EXPECT_EQ(ApprovalList::listed(form), (QList<int>{9001, 9002, 9003, 9004}));
    EXPECT_TRUE(form.isVisible("TBCons"));
    // Entering the first customer field closes the list again.
    form.focus("Edit_CliNro1");
    t.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
    EXPECT_FALSE(form.isVisible("TBCons"));
}

struct ListCase {
    std::string label;
    std::function<void(FormDriver&)> change; // before the list opens
    QList<int> expected;
};

class ApprovalListFilters : public ::testing::TestWithParam<std::tuple<ListCase, Engine>> {};

TEST_P(ApprovalListFilters, limitsKindAndOrder)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ApprovalList t(engine);
    t.addQuotes();
    FormDriver form = t.open();
    c.change(form);
    t.scenario.settle();
    t.openList(form);
    EXPECT_EQ(ApprovalList::listed(form), c.expected);
}

void chooseKind(FormDriver& form, int index)
{
    auto* kind = form.find<QComboBox>("Edit_TipOrc");
    kind->setCurrentIndex(index);
    emit kind->activated(index);
}

const ListCase kLists[] = {
    {"defaultsByDate", [](FormDriver&) {}, {9001, 9002, 9003, 9004}},
    {"manualOnly", [](FormDriver& f) { chooseKind(f, 0); }, {9001, 9002, 9004}},
    {"automaticOnly", [](FormDriver& f) { chooseKind(f, 1); }, {9003}},
    {"byArticle", [](FormDriver& f) { f.click("RadArtigo"); }, {9002, 9003, 9001, 9004}},
    {"bySalesman", [](FormDriver& f) { f.click("RadVendedor"); }, {9002, 9003, 9001, 9004}},
    {"oneCustomer",
     [](FormDriver& f) {
         f.type("Edit_CliNro1", "503");
         f.enter();
         f.type("Edit_CliNro2", "503");
     },
     {9004}},
    {"secondCustomerBelowTheFirstIsAcceptedAndEmpty",
     [](FormDriver& f) {
         f.type("Edit_CliNro1", "503");
         f.enter();
         f.type("Edit_CliNro2", "502");
     },
     {}},
    {"fromTheDayBefore",
     [](FormDriver& f) {
         f.type("Edit_Data1", kv::text::date(kv::text::parseDate(f.text("Edit_Data2"))->addDays(-1)));
         f.enter();
     },
     {9005, 9001, 9002, 9003, 9004}},
};
INSTANTIATE_TEST_SUITE_P(Cases, ApprovalListFilters,
                         ::testing::Combine(::testing::ValuesIn(kLists), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ListCase>);

TEST_P(ApprovalListForm, aSecondDateBeforeTheFirstIsRefusedAndTheListStaysClosed)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    FormDriver form = t.open();
    form.type("Edit_Data2", kv::text::date(t.today.addDays(-1)));
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(t.scenario.messages().texts(), QStringList{"LIMITE DE DATAS INVÁLIDO"});
    EXPECT_EQ(form.focused(), "Edit_Data1");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
}

TEST_P(ApprovalListForm, rowDisplayShowsTheQuoteArticleStockAndCustomer)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    t.addArticles();
    t.addCustomerFigures();
    FormDriver form = t.open();
    t.openList(form);
    form.find<QTabWidget>("NB")->setCurrentIndex(1);
    t.showRow(form, 3); // 9004, customer 503
    EXPECT_EQ(form.text("Label_OrcNro"), "9004");
    EXPECT_EQ(form.text("Label_Familia"), "CAIXAS");
    EXPECT_EQ(form.text("Label_QtdAdjud"), "4000");
    EXPECT_EQ(form.text("Label_Valor7_1"), "150,75 €");
    EXPECT_EQ(form.text("BotChart2"), "2000");
    EXPECT_EQ(form.text("LabelArtigo1"), "Cor");
    EXPECT_EQ(form.text("Label_NomeCustom1"), "Azul");
    EXPECT_EQ(form.text("Label_ExiQtd"), kv::text::number(12.5, 2));
    EXPECT_EQ(form.text("Label_UnVenda"), "UN");
    EXPECT_EQ(form.find<QTableWidget>("DBGridArmazens")->rowCount(), 1);
    EXPECT_EQ(form.text("Figura9"), kv::text::money(150, 2)); // bills and post-dated amounts left out
    auto* book = form.find<QTableWidget>("GridCarteira");
    ASSERT_EQ(book->rowCount(), 2);
    EXPECT_EQ(book->item(0, 1)->text(), "2"); // the newest delivery month first
    EXPECT_EQ(book->item(1, 3)->text(), kv::text::money(200, 2));

    // The quote of an article that is not in the file: nothing of 9004 stays.
    t.showRow(form, 1);
    EXPECT_EQ(form.text("Label_OrcNro"), "9002");
    EXPECT_EQ(form.text("Label_Familia"), "");
    EXPECT_EQ(form.text("LabelArtigo1"), "");
    EXPECT_EQ(form.text("Label_ExiQtd"), "");
    EXPECT_EQ(form.find<QTableWidget>("DBGridArmazens")->rowCount(), 0);
    EXPECT_EQ(form.find<QTableWidget>("GridCarteira")->rowCount(), 0);
    EXPECT_EQ(form.text("Figura9"), kv::text::money(0, 2));
}

TEST_P(ApprovalListForm, costPagesRefillTheirChartSets)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    FormDriver form = t.open();
    t.openList(form);
    t.showRow(form, 0);
    form.find<QTabWidget>("NBOrcam")->setCurrentIndex(1);
    t.scenario.settle();
    ChartRows chart(*t.app, ChartRows::Table::Saldos1, t.user, "ORCP032");
    const std::pair<int, std::size_t> pages[] = {
        {TORCF032::BaseCost, 6u}, {TORCF032::CommercialCost, 3u}, {TORCF032::OrderTotal, 10u}};
    for (const auto& [page, slices] : pages) {
        form.find<QTabWidget>("NBFICTEC")->setCurrentIndex(page);
        t.scenario.settle();
        EXPECT_EQ(chart.slices().size(), slices) << page;
        EXPECT_TRUE(form.isVisible("Label_Valor7_1")) << page;
    }
    EXPECT_DOUBLE_EQ(chart.slices().back().value, 20.0); // the margin
}

TEST_P(ApprovalListForm, approvalRebuildsTheOrderValuesAndStandsOnTheLastRow)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    t.addCustomerFigures();
    t.inv->exec("DELETE FROM ENCVALCLI");
    FormDriver form = t.open();
    t.openList(form);
    t.showRow(form, 1);
    t.outcome.approved = true;
    form.click("BotAprova");
    t.scenario.settle();
    ASSERT_EQ(t.approvals.size(), 1u);
    EXPECT_EQ(t.approvals[0].quoteNumber, 9002);
    EXPECT_EQ(t.approvals[0].summary.customer, 502);
    EXPECT_EQ(form.gridCurrentRow("DBGrid1"), 3);
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(
        t.inv->scalar("SELECT ENCOME13 FROM ENCVALCLI WHERE UTIL = :U AND CODIGO = 503", {{"U", t.user}}).toDouble(),
        300.0);
    EXPECT_EQ(form.statusPanel(0), "");

    // An approval form closed without approving writes no order values.
    t.inv->exec("DELETE FROM ENCVALCLI");
    t.outcome.approved = false;
    form.click("BotAprova");
    t.scenario.settle();
    EXPECT_EQ(t.approvals.size(), 2u);
    EXPECT_EQ(t.inv->scalar("SELECT COUNT(*) FROM ENCVALCLI").toInt(), 0);
}

TEST_P(ApprovalListForm, printPreviewsTwoPagesThenTheApprovedPageAndTheLookupsStillWork)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    // a demo quote with its sub-quotes, in the day's selection
    t.app->exec("UPDATE ORCMAS SET DATEMI = :D, PRECOADJUD = 0.25, MARGEMPRC = 12.5, MANUAL_AUTO = 'M', VNDNRO = 1, "
                "CLINRO = 501, NOSREF = 'PRV-1' WHERE CODIGO = 1",
                {{"D", QDateTime(t.today, QTime(8, 0))}});
    FormDriver form = t.open();
    t.openList(form);
    ASSERT_EQ(ApprovalList::listed(form).value(0), 1) << ApprovalList::listed(form).size();
    QStringList titles;
    QStringList lastPage;
    for (int i = 0; i < 3; ++i)
        t.scenario.onDialog([&](FormDriver& window) {
            titles << window.caption();
            lastPage.clear();
            for (const auto& page : qobject_cast<kv::report::PreviewWindow*>(window.window())->document().pages)
                for (const auto& band : page.bands)
                    for (const auto& item : band.items)
                        lastPage << item.text;
            window.close();
        });
    ApprovalList::list(form)->BitPrintClick();
    t.scenario.settle();
    EXPECT_EQ(titles.size(), 3);
    EXPECT_TRUE(lastPage.contains("PREÇO APROVADO :"));
    EXPECT_TRUE(lastPage.contains("12,5 %"));
    EXPECT_EQ(ChartRows(*t.app, ChartRows::Table::Saldos1, t.user, "ORCP032").slices().size(), 6u);

    // The salesman lookup after a print.
    int listedSalesmen = -1;
    t.scenario.onDialog([&](FormDriver& lookup) {
        listedSalesmen = lookup.gridRowCount("Grid");
        lookup.escape();
    });
    form.focus("Edit_VndNro1");
    form.insert();
    t.scenario.settle();
    EXPECT_GT(listedSalesmen, 0);
}

TEST_P(ApprovalListForm, orderPrintOfTheApprovedQuoteAndNothingWithoutAnOrder)
{
    KV_SKIP_WITHOUT(GetParam());
    ApprovalList t(GetParam());
    t.addQuotes();
    t.addCustomerFigures();
    FormDriver form = t.open();
    t.openList(form);
    t.showRow(form, 0); // 9001 has no order
    form.click("BitPrintEnc");
    t.scenario.settle();
    EXPECT_EQ(t.scenario.pendingDialogHandlers(), 0);

    QStringList printed;
    t.scenario.onDialog([&](FormDriver& window) {
        printed << window.caption();
        for (const auto& page : qobject_cast<kv::report::PreviewWindow*>(window.window())->document().pages)
            for (const auto& band : page.bands)
                for (const auto& item : band.items)
                    printed << item.text;
        window.close();
    });
    t.showRow(form, 3); // 9004, order 8801
    form.click("BitPrintEnc");
    t.scenario.settle();
    EXPECT_EQ(printed.value(0), "Emissão de N/ Encomenda");
    EXPECT_TRUE(printed.contains("8801"));
    EXPECT_TRUE(printed.contains("Total da Encomenda : "));
    EXPECT_EQ(t.inv->scalar("SELECT COUNT(*) FROM ENCCLIIMPR WHERE UTIL = :U", {{"U", t.user}}).toInt(), 1);
}

INSTANTIATE_TEST_SUITE_P(Engines, ApprovalListForm, ::testing::ValuesIn(kv::test::engines()), kv::test::engineTestName);

} // namespace
