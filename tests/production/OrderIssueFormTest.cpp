// The issue forms TORCF102 and TORCF106 on the plain company: defaults and
// copies, the limit checks, the listing and reprint, a print run with its
// preview, queue and marks, and the runs that must change nothing.
#include "production/IssueOrders.h"

#include "production/forms/ProductionForms.h"

#include "platform/report/PreviewWindow.h"
#include "support/CompanySession.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

using namespace kv::production;
using namespace kv::production::test;
using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

// The plain company (working date 15-03-2024) with the fixture's orders,
// the year's parameters, a calendar day, copy names in slots 1 to 3 and the
// issue right.
class IssueSession : public kv::test::CompanySession {
public:
    IssueSession(kv::test::Scenario& scenario, Engine engine) : CompanySession(scenario, engine, Company::Plain)
    {
        issueStoreOrders(*application(), *invoicing());
        kv::test::insertRows(*invoicing(), QStringLiteral("PARGER"), {"ANO", "PATHFOTO"}, {{"2024", ""}});
        kv::test::insertRows(*invoicing(), QStringLiteral("PARCUSTOM"), {"CODIGO"}, {{"1"}});
        kv::test::insertRows(*invoicing(), QStringLiteral("CALENDARIO"), {"DATA", "ANO", "DIASEM", "TIPODIA", "SEMANA"},
                             {{QDateTime(issueDay, QTime(0, 0)), "2024", "Sex", "TB", 11},
                              {QDateTime(issueDay.addDays(-1), QTime(0, 0)), "2024", "Qui", "TB", 11},
                              {QDateTime(QDate(2024, 1, 1), QTime(0, 0)), "2024", "Seg", "FE", 1}});
        application()->exec(QStringLiteral("UPDATE ORCPARGER SET OFVIA1 = 'Produção', OFVIA2 = 'Armazém', "
                                           "OFVIA3 = 'Qualidade' WHERE CODIGO = 1"));
        grantRights(QStringLiteral("KAVORIMETAS"), QStringLiteral("Planeamento"),
                    QStringLiteral("Emissao Ordens de Fabrico"), "S", "S", "S", "S");
        m_state = registerProductionForms(session(), scenario.forms());
        scenario.messages().clear();
    }
    ~IssueSession() override { closeForms(); }

    FormDriver open(const char* form = "TORCF102")
    {
        FormDriver driver = scenario().open(QString::fromLatin1(form));
        scenario().settle();
        return driver;
    }

    // Confirms the article limits, which lists the orders.
    void list(FormDriver& form)
    {
        form.focus("Edit_ArtNro2");
        form.tab();
        scenario().settle();
    }

    QStringList printed()
    {
        QStringList list;
        for (const auto& row : application()
                                   ->query(QStringLiteral("SELECT ORDNRO, DETAIL, SUBORC FROM ORDFABDET "
                                                          "WHERE IMPR = 'S' ORDER BY ORDNRO, DETAIL, SUBORC"))
                                   .rows)
            list << QStringLiteral("%1/%2/%3").arg(row[0].toInt()).arg(row[1].toInt()).arg(row[2].toInt());
        return list;
    }
    long long queued() { return application()->scalar(QStringLiteral("SELECT COUNT(*) FROM ORDFABIMPR")).toLongLong(); }

    // Clicks "&Imprimir" and returns what the preview showed (the queue rows
    // counted while it was open).
    kv::report::Document print(FormDriver& form, long long* rowsWhileOpen = nullptr)
    {
        kv::report::Document shown;
        scenario().onDialog([&](FormDriver& preview) {
            shown = qobject_cast<kv::report::PreviewWindow*>(preview.window())->document();
            if (rowsWhileOpen)
                *rowsWhileOpen = queued();
            preview.close();
        });
        form.click("BitPreview");
        scenario().settle();
        return shown;
    }

private:
    std::shared_ptr<ProductionSessionState> m_state;
};

class OrderIssueForms : public ::testing::TestWithParam<Engine> {};

TEST_P(OrderIssueForms, opensWithItsDefaultsAndNoList)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    IssueSession company(scenario, GetParam());
    FormDriver form = company.open();
    EXPECT_EQ(form.caption(), QStringLiteral("Emissão de Ordens de Fabrico"));
    EXPECT_EQ(form.text("Edit_CliNro1"), "1");
    EXPECT_EQ(form.text("Edit_CliNro2"), "999999999");
    EXPECT_EQ(form.text("Edit_DocNro2"), "999999999");
    EXPECT_EQ(form.text("Edit_DatEnt1"), "15/03/2024");
    EXPECT_EQ(form.text("Edit_DatProd2"), "15/03/2024");
    EXPECT_EQ(form.text("Edit_ArtNro1"), "");
    EXPECT_EQ(form.text("Edit_ArtNro2"), "ZZZZZZZZZZZZZZZZ");
    EXPECT_EQ(form.text("Edit_SemEnt1"), "11");
    EXPECT_EQ(form.text("Edit_DiaSemProd2"), "Sex");
    EXPECT_EQ(form.text("DBEdit2"), QStringLiteral("Armazém"));
    for (const char* named : {"ChkVia1", "ChkVia2", "ChkVia3"})
        EXPECT_TRUE(form.isChecked(named)) << named;
    for (const char* unnamed : {"ChkVia4", "ChkVia5", "ChkVia6"})
        EXPECT_FALSE(form.isChecked(unnamed)) << unnamed;
    EXPECT_TRUE(form.isChecked("ChkFoto"));
    EXPECT_FALSE(form.isChecked("ChkImpress"));
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
    EXPECT_EQ(form.gridTitles("DBGrid1"), (QStringList{"Ano", "Sm", "OF Nº", "Cli.Nº", "Cliente", "Artigo", "Designação",
                                                        "Quant.", "Und", "Dat.Ent.", "Dat.Prod.", "Impr."}));
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
    EXPECT_TRUE(form.isVisible("BitPreview"));
    EXPECT_EQ(scenario.messages().transcript(), QStringList{});
}

struct IssueLimitCase {
    const char* label;
    const char* field;
    const char* text;
    const char* message;
    const char* focus;
};

const IssueLimitCase issueLimitCases[] = {
    {"customerFromEmpty", "Edit_CliNro1", "", "Cliente Inválido", "Edit_CliNro1"},
    {"customerToEmpty", "Edit_CliNro2", "", "Cliente Inválido", "Edit_CliNro2"},
    {"customersInverted", "Edit_CliNro2", "0", "Limite de Clientes Inválido", "Edit_CliNro1"},
    {"orderToEmpty", "Edit_DocNro2", "", "Limite inválido inválida !!!", "Edit_DocNro2"},
    {"ordersInverted", "Edit_DocNro2", "0", "Selecção inválida !!!", "Edit_DocNro1"},
    {"deliveriesInverted", "Edit_DatEnt2", "14/03/2024", "LIMITE DE DATAS INVÁLIDO", "Edit_DatEnt1"},
    {"productionsInverted", "Edit_DatProd2", "01/01/2024", "LIMITE DE DATAS INVÁLIDO", "Edit_DatProd1"},
    {"articlesInverted", "Edit_ArtNro2", "", "LIMITE DE ARTIGOS INVÁLIDO", "Edit_ArtNro1"},
};

class IssueLimits : public ::testing::TestWithParam<std::tuple<IssueLimitCase, Engine>> {};

TEST_P(IssueLimits, warnAndListNothing)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    IssueSession company(scenario, engine);
    FormDriver form = company.open();
    if (std::string(c.label) == "articlesInverted") {
        form.type("Edit_ArtNro1", "B");
        form.tab();
    }
    form.type(c.field, c.text);
    form.tab();
    scenario.settle();
    EXPECT_EQ(scenario.messages().transcript(), (QStringList{"<beep>", QString::fromUtf8(c.message)}));
    EXPECT_EQ(form.focused(), c.focus);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueLimits,
                         ::testing::Combine(::testing::ValuesIn(issueLimitCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<IssueLimitCase>);

TEST_P(OrderIssueForms, listsOnAConfirmedLimitAndRelistsForAReprint)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    IssueSession company(scenario, GetParam());
    FormDriver form = company.open();
    company.list(form);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    EXPECT_EQ(form.gridCell("DBGrid1", 2, 2), "103");
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(form.text("Label_Count"), "3");
    form.click("ChkImpress");
    scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 4);
    form.click("ChkImpress");
    scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    // Entering the first limit closes the list.
    form.focus("Edit_CliNro1");
    scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
}

TEST_P(OrderIssueForms, printsTheListInTheChosenCopiesAndMarksIt)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    IssueSession company(scenario, GetParam());
    FormDriver form = company.open();
    company.list(form);
    form.click("ChkVia2");
    long long rowsWhileOpen = 0;
    const kv::report::Document shown = company.print(form, &rowsWhileOpen);
    EXPECT_EQ(rowsWhileOpen, 6); // three items in two copies
    // The order twice per item (two pages each), then one cutting
    // requisition, two inspection pages and one label per item.
    EXPECT_EQ(shown.pageCount(), 12 + 3 + 6 + 3);
    EXPECT_EQ(company.queued(), 0);
    EXPECT_EQ(company.printed(), (QStringList{"100/1/0", "100/1/3", "101/1/0", "103/1/0"}));
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 0);
    EXPECT_EQ(scenario.messages().transcript(), QStringList{});
}

struct IssueRefusedCase {
    const char* label;
    bool list;
    bool untickCopies;
    const char* model;
};

const IssueRefusedCase issueRefusedCases[] = {
    {"noCopyTicked", true, true, "M"},
    {"modelWithoutDocuments", true, false, "P"},
    {"noListOpen", false, false, "M"},
};

class IssueRefused : public ::testing::TestWithParam<std::tuple<IssueRefusedCase, Engine>> {};

TEST_P(IssueRefused, queuesAndMarksNothing)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    IssueSession company(scenario, engine);
    company.state().WTipoOrdFab = QString::fromLatin1(c.model);
    FormDriver form = company.open();
    if (c.list)
        company.list(form);
    if (c.untickCopies)
        for (const char* box : {"ChkVia1", "ChkVia2", "ChkVia3"})
            form.click(box);
    form.click("BitPreview");
    scenario.settle();
    EXPECT_EQ(scenario.messages().beeps(), 1);
    EXPECT_EQ(company.queued(), 0);
    EXPECT_EQ(company.printed(), QStringList{"101/1/0"});
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueRefused,
                         ::testing::Combine(::testing::ValuesIn(issueRefusedCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<IssueRefusedCase>);

TEST_P(OrderIssueForms, modelTQueuesTheOrdersYearAndPrintsTwoPagesPerCopy)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    IssueSession company(scenario, GetParam());
    company.state().WTipoOrdFab = QStringLiteral("T");
    const QDateTime day(issueDay, QTime(0, 0));
    kv::test::insertRows(*company.application(), QStringLiteral("ORDFABRICO"),
                         {"ANO", "ORDNRO", "SUBORC", "DETAIL", "CLINRO", "ARTIGO", "DATAENT", "DATAPROD", "PRODUZ",
                          "IMPR", "CCOL_MAT1", "CCOL_TMAT1"},
                         {{"2023", 200, 0, 1, 10, "ART-T", day, day, "N", "N", 7, 8},
                          {"2023", 200, 2, 1, 10, "ART-T", day, day, "N", "N", 7, 7},
                          {"2023", 200, 0, 2, 10, "ART-T", day.addDays(1), day.addDays(1), "N", "N", 0, 0}});
    FormDriver form = company.open("TORCF106");
    EXPECT_EQ(form.gridTitles("DBGrid1"), (QStringList{"OF Nº", "Dat.Ent.", "Dat.Prod.", "Cli.Nº", "Cliente", "Artigo",
                                                        "Designação", "Quant.", "Und", "Impr."}));
    company.list(form);
    ASSERT_EQ(form.gridRowCount("DBGrid1"), 2);
    form.click("ChkVia2");
    form.click("ChkVia3");
    long long rowsWhileOpen = 0;
    const kv::report::Document shown = company.print(form, &rowsWhileOpen);
    EXPECT_EQ(rowsWhileOpen, 2);
    ASSERT_EQ(shown.pageCount(), 4);
    QStringList first;
    for (const auto& band : shown.pages[0].bands)
        for (const auto& item : band.items)
            first << item.text;
    EXPECT_TRUE(first.contains(QStringLiteral(" 1 ")));
    EXPECT_TRUE(first.contains(QStringLiteral("Cartolina 350"))); // board 7 of lamination line 1
    QStringList third;
    for (const auto& band : shown.pages[2].bands)
        for (const auto& item : band.items)
            third << item.text;
    EXPECT_TRUE(third.contains(QStringLiteral("Acessório")));
    EXPECT_FALSE(third.contains(QStringLiteral("Cartolina 350"))); // table type 7: no designation
    // Every line of the number and customer-order line is marked.
    EXPECT_EQ(company.application()
                  ->scalar(QStringLiteral("SELECT COUNT(*) FROM ORDFABRICO WHERE IMPR = 'S' AND ANO = '2023'"))
                  .toInt(),
              2);
}

struct IssueLookupCase {
    const char* label;
    const char* form;
    const char* caption;
};

const IssueLookupCase issueLookupCases[] = {{"detail", "TORCF102", "Localizar"}, {"modelT", "TORCF106", "Lookup"}};

class IssueLookups : public ::testing::TestWithParam<std::tuple<IssueLookupCase, Engine>> {};

// Insert in the customer limit offers the customers by code; the chosen code
// is the limit at once, and the articles' alphabetic lookup lists by name.
TEST_P(IssueLookups, customerByCodeArticleByName)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    IssueSession company(scenario, engine);
    kv::test::addCustomers(*company.invoicing(), {{10, "Cliente Dez"}, {20, "Alfa Vinte"}});
    kv::test::addArticles(*company.invoicing(), {{"ART-A", "Zeta caixa", "1"}, {"ART-D", "Alfa caixa", "1"}});
    FormDriver form = company.open(c.form);
    form.focus("Edit_CliNro2");
    scenario.onDialog([&c](FormDriver& dialog) {
        EXPECT_EQ(dialog.caption(), QString::fromLatin1(c.caption));
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"Cliente Nº", "Nome do Cliente"}));
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    form.insert();
    scenario.settle();
    EXPECT_EQ(form.text("Edit_CliNro2"), "20");
    form.focus("Edit_ArtNro1");
    scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridCell("Grid", 0, 0), QStringLiteral("Alfa caixa"));
        dialog.click("OKBtn");
    });
    form.ctrlInsert();
    scenario.settle();
    EXPECT_EQ(form.text("Edit_ArtNro1"), "ART-D");
}

INSTANTIATE_TEST_SUITE_P(Cases, IssueLookups,
                         ::testing::Combine(::testing::ValuesIn(issueLookupCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<IssueLookupCase>);

// The demo company as delivered: its copy names, calendar and parameters let
// a new user open the issue at once.
TEST_P(OrderIssueForms, demoCompanyOpensWithItsCopyNames)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    scenario.login(GetParam(), Company::Demo);
    const auto state = registerProductionForms(scenario.session(), scenario.forms());
    scenario.messages().clear();
    FormDriver form = scenario.open(QStringLiteral("TORCF102"));
    scenario.settle();
    EXPECT_EQ(scenario.messages().transcript(), QStringList{});
    EXPECT_EQ(form.text("DBEdit1"), QStringLiteral("Produção"));
    EXPECT_TRUE(form.isChecked("ChkVia3"));
    EXPECT_FALSE(form.text("Edit_SemEnt1").isEmpty());
    EXPECT_TRUE(form.isVisible("BitPreview"));
    form.close();
    scenario.settle();
}

KV_ENGINE_SUITE(OrderIssueForms);

} // namespace
