// The raw material per customer article TORCF015: the customer and product
// that key a new row, checked against the invoicing database; one row per
// customer and product; the raw material, the only thing an existing row
// changes; the list by customer number or name.
#include "costing/FormFixtures.h"
#include "support/TableRows.h"

using namespace kv::costing;
using namespace kv::costing::test;
using kv::test::FormDriver;

namespace {

using kv::costing::test::operator<<;

// Two customers, two products, a service and two raw materials; customer
// 101 has product PR-A made of MP-1.
struct CustomerArticles {
    kv::test::Scenario scenario;
    CostingSession session;

    explicit CustomerArticles(Engine engine) : session(scenario, engine)
    {
        session.grant("Tintas", "S");
        kv::test::addCustomers(*session.invoicing(), {{101, "Zeta Vinhos, S.A."}, {102, "Alfa Doces, Lda"}});
        session.addArticle("PR-A", "Caixa de Vinho", "1", 0, 0);
        session.addArticle("PR-B", "Caixa de Doces", "1", 0, 0);
        session.addArticle("SV-1", "Serviço de Montagem", "3", 0, 0);
        session.addArticle("MP-1", "Canal B Kraft", "6", 0.6, 0.6);
        session.addArticle("MP-2", "Cartolina Branca", "8", 0.2, 0.2);
        session.application()->exec(
            "INSERT INTO PLN_FICTEC (CLIENTE, ARTIGO, DESIGNACAO, MATPRIMA, MATDESCRI, NOME) VALUES "
            "(101, 'PR-A', 'Caixa de Vinho', 'MP-1', 'Canal B Kraft', 'Zeta Vinhos, S.A.')");
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF015");
        scenario.wait();
        return form;
    }

    void typeAndEnter(FormDriver& form, const QString& field, const QString& text)
    {
        scenario.messages().clear();
        form.type(field, text);
        form.enter();
        scenario.wait();
    }

    kv::db::QueryResult stored()
    {
        return session.application()->query(
            "SELECT CLIENTE, ARTIGO, DESIGNACAO, MATPRIMA, MATDESCRI, NOME FROM PLN_FICTEC ORDER BY CLIENTE, ARTIGO");
    }
};

struct CustomerCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus;
    QString name; // beside the field
};

class CustomerNumber : public ::testing::TestWithParam<std::tuple<CustomerCase, Engine>> {};

TEST_P(CustomerNumber, IsCheckedAgainstTheCustomers)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    CustomerArticles table(engine);
    FormDriver form = table.open();
    form.click("BotInserir");
    EXPECT_EQ(form.text("Edit_Codigo"), "");
    table.typeAndEnter(form, "Edit_Codigo", c.typed);
    EXPECT_EQ(table.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    EXPECT_EQ(form.text("Label_Nome"), c.name);
}

const QStringList CustomerInvalidCode{"<beep>", "Codigo Inválido ... <ENTER>"};

INSTANTIATE_TEST_SUITE_P(
    Costing, CustomerNumber,
    ::testing::Combine(
        ::testing::Values(CustomerCase{"empty", "", {"<beep>"}, "Edit_Codigo", ""},
                          CustomerCase{"zero", "0", CustomerInvalidCode, "Edit_Codigo", ""},
                          CustomerCase{"above the bounds", "1000000", CustomerInvalidCode, "Edit_Codigo", ""},
                          CustomerCase{"not a whole number", "12a", CustomerInvalidCode, "Edit_Codigo", ""},
                          CustomerCase{"unknown", "999", {"<beep>", "Cliente Inexistente ... "}, "Edit_Codigo", ""},
                          CustomerCase{"known", "102", {}, "Edit_Artigo", "Alfa Doces, Lda"}),
        ::testing::ValuesIn(engines())),
    caseName<CustomerCase>);

struct ArticleCase {
    const char* label;
    QString customer;
    QString product;
    QString material; // typed when the product passed
    QStringList transcript;
    QString focus;
    int rows; // stored afterwards
};

class CustomerArticle : public ::testing::TestWithParam<std::tuple<ArticleCase, Engine>> {};

TEST_P(CustomerArticle, IsMadeOnceForACustomer)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    CustomerArticles table(engine);
    FormDriver form = table.open();
    form.click("BotInserir");
    table.typeAndEnter(form, "Edit_Codigo", c.customer);
    table.typeAndEnter(form, "Edit_Artigo", c.product);
    if (form.focused() == "Edit_MatPrm")
        table.typeAndEnter(form, "Edit_MatPrm", c.material);
    EXPECT_EQ(table.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    EXPECT_EQ(table.stored().rows.size(), static_cast<std::size_t>(c.rows));
}

QStringList customerUnknownArticle(const QString& typed) { return {"<beep>", "Artigo Inexistente ou Inválido !!! " + typed}; }

INSTANTIATE_TEST_SUITE_P(
    Costing, CustomerArticle,
    ::testing::Combine(
        ::testing::Values(
            ArticleCase{"a service is no product", "102", "SV-1", "", customerUnknownArticle("SV-1"), "Edit_Artigo", 1},
            ArticleCase{"a raw material is no product", "102", "MP-1", "", customerUnknownArticle("MP-1"), "Edit_Artigo", 1},
            ArticleCase{"the same product twice",
                        "101",
                        "PR-A",
                        "",
                        {"<beep>", "Este artigo já existe para o cliente !!! "},
                        "Edit_Codigo",
                        1},
            ArticleCase{"a product is no raw material", "102", "PR-A", "PR-B", customerUnknownArticle("PR-B"), "Edit_MatPrm",
                        1},
            ArticleCase{"no raw material", "102", "PR-A", "", customerUnknownArticle(""), "Edit_MatPrm", 1},
            ArticleCase{"the product for another customer", "102", "PR-A", "MP-2", {}, "DBGrid1", 2},
            ArticleCase{"another product", "101", "PR-B", "MP-1", {}, "DBGrid1", 2}),
        ::testing::ValuesIn(engines())),
    caseName<ArticleCase>);

// A new row takes the names of its customer, product and raw material; an
// existing row changes its raw material only.
TEST(CustomerArticles, RowsTakeTheNamesAndExistingRowsTheirRawMaterialOnly)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        CustomerArticles table(engine);
        FormDriver form = table.open();
        form.click("BotInserir");
        table.typeAndEnter(form, "Edit_Codigo", "102");
        table.typeAndEnter(form, "Edit_Artigo", "PR-B");
        table.typeAndEnter(form, "Edit_MatPrm", "MP-2");
        auto rows = table.stored();
        ASSERT_EQ(rows.rows.size(), 2u) << engineName(engine);
        EXPECT_EQ(rows.value(1, "CLIENTE").toInt(), 102);
        EXPECT_EQ(rows.value(1, "NOME").toString(), "Alfa Doces, Lda");
        EXPECT_EQ(rows.value(1, "DESIGNACAO").toString(), "Caixa de Doces");
        EXPECT_EQ(rows.value(1, "MATDESCRI").toString(), "Cartolina Branca");

        // The first row: its product field is shown only.
        form.clickRow("DBGrid1", 0);
        form.focus("Edit_MatPrm");
        table.scenario.wait();
        EXPECT_EQ(form.text("Edit_Artigo"), "PR-A");
        form.type("Edit_Artigo", "PR-B");
        form.tab();
        table.typeAndEnter(form, "Edit_MatPrm", "MP-2");
        rows = table.stored();
        ASSERT_EQ(rows.rows.size(), 2u);
        EXPECT_EQ(rows.value(0, "ARTIGO").toString(), "PR-A") << engineName(engine);
        EXPECT_EQ(rows.value(0, "MATPRIMA").toString(), "MP-2") << engineName(engine);
        EXPECT_EQ(rows.value(0, "MATDESCRI").toString(), "Cartolina Branca") << engineName(engine);
        EXPECT_TRUE(table.scenario.messages().transcript().isEmpty());
    }
}

// The maker tag stands in panel 0 from activation on, through every field
// of a new row and the print, and no label lights up on entry.
TEST(CustomerArticles, KeepsTheMakerTagInPanelZeroAndNoLabelLightsUp)
{
    for (Engine engine : engines()) {
        if (!CostingSession::available(engine))
            continue;
        CustomerArticles table(engine);
        FormDriver form = table.open();
        const QString tag = table.session.state().WMarca;
        ASSERT_FALSE(tag.isEmpty());
        EXPECT_EQ(form.statusPanel(0), tag) << engineName(engine);
        EXPECT_EQ(form.statusPanel(1), "") << engineName(engine);
        const QColor normal = form.colour("Label_Codigo");
        form.click("BotInserir");
        table.scenario.wait();
        struct CustomerStep {
            QString field;
            QString caption;
            QString typed;
        };
        for (const CustomerStep& step :
             {CustomerStep{"Edit_Codigo", "Label_Codigo", "102"}, CustomerStep{"Edit_Artigo", "Label_Artigo", "PR-B"},
              CustomerStep{"Edit_MatPrm", "Label_MatPrm", "MP-2"}}) {
            ASSERT_EQ(form.focused(), step.field) << engineName(engine);
            EXPECT_EQ(form.colour(step.caption), normal) << step.caption.toStdString();
            EXPECT_EQ(form.statusPanel(0), tag) << step.field.toStdString();
            table.typeAndEnter(form, step.field, step.typed);
            EXPECT_EQ(form.statusPanel(0), tag) << step.field.toStdString();
        }
        EXPECT_TRUE(table.scenario.messages().transcript().isEmpty());
        EXPECT_EQ(table.stored().rows.size(), 2u);
        // The raw material's searches are told by the field's tooltip, not on the status bar.
        EXPECT_EQ(form.find("Edit_MatPrm")->toolTip(),
                  "Tecla <Insert> - Procura Numérica, <Ctrl-Insert> - Procura Alfabética");
        printList(table.scenario, form, false);
        EXPECT_EQ(form.statusPanel(0), tag) << engineName(engine);
        EXPECT_EQ(form.statusPanel(1), "") << engineName(engine);
    }
}

struct CustomerListCase {
    const char* label;
    bool alphabetic;
    QStringList customers; // first column of each line
    QString orderText;
};

class CustomerArticleList : public ::testing::TestWithParam<std::tuple<CustomerListCase, Engine>> {};

TEST_P(CustomerArticleList, ListsByCustomerNumberOrName)
{
    const auto& [c, engine] = GetParam();
    SKIP_WITHOUT(engine);
    CustomerArticles table(engine);
    table.session.application()->exec(
        "INSERT INTO PLN_FICTEC (CLIENTE, ARTIGO, DESIGNACAO, MATPRIMA, MATDESCRI, NOME) VALUES "
        "(102, 'PR-B', 'Caixa de Doces', 'MP-2', 'Cartolina Branca', 'Alfa Doces, Lda')");
    FormDriver form = table.open();
    const kv::report::Document document = printList(table.scenario, form, c.alphabetic);
    QStringList customers;
    QStringList header;
    for (const auto& page : document.pages)
        for (const auto& band : page.bands) {
            if (band.kind == kv::report::BandKind::Detail && !band.items.empty())
                customers << band.items.front().text;
            if (band.kind == kv::report::BandKind::PageHeader)
                for (const auto& item : band.items)
                    header << item.text;
        }
    EXPECT_EQ(customers, c.customers);
    EXPECT_TRUE(header.contains(c.orderText));
    EXPECT_TRUE(header.contains("Artigos / Mat.Prima por Cliente"));
    EXPECT_EQ(table.session.dataset("ZURIVAVEZA.PLN_FICTEC").sql(), "Select * From PLN_FICTEC Order By CLIENTE,ARTIGO");
}

INSTANTIATE_TEST_SUITE_P(
    Costing, CustomerArticleList,
    ::testing::Combine(::testing::Values(CustomerListCase{"by number", false, {"101", "102"}, "Ord.Numérica"},
                                         CustomerListCase{"by name", true, {"102", "101"}, "Ord.Alfabética"}),
                       ::testing::ValuesIn(engines())),
    caseName<CustomerListCase>);

} // namespace
