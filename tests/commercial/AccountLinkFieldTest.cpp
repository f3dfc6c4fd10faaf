#include "commercial/forms/AccountLinkField.h"

#include "platform/db/Dataset.h"
#include "platform/ui/DbEdit.h"
#include "platform/ui/Form.h"
#include "support/Scenario.h"

#include <QGridLayout>
#include <QLineEdit>

using kv::commercial::AccountLinkField;
using kv::commercial::AccountLinkSpec;
using kv::commercial::AccountLookups;
using kv::commercial::AccountRange;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

// A form of the test's own over the demo families: a sales account, a cost
// centre checked on its stored value (with a beep) and a plain field to
// leave them for.
class LinkForm : public kv::ui::Form {
public:
    LinkForm(std::shared_ptr<kv::db::Connection> invoicing, std::shared_ptr<kv::db::Connection> accounting,
             const QString& year)
        : m_lookups(accounting, year, kv::commercial::accountingLinkOn(*invoicing, year))
    {
        setObjectName(QStringLiteral("LinkForm"));
        families.setConnection(invoicing);
        families.setSql(QStringLiteral("SELECT FAMILIA, CCUSTO, CONTAVENDAS FROM FAMILIAS ORDER BY FAMILIA"));
        families.setMode(kv::db::DatasetMode::Cached);
        families.setUpdateStatements(kv::db::UpdateStatements::forTable(
            QStringLiteral("FAMILIAS"), {"FAMILIA", "CCUSTO", "CONTAVENDAS"}, {"FAMILIA"}));

        sales = new AccountLinkField(*this, {QStringLiteral("Edit_ContaVendas"), QStringLiteral("Label_ContaVendas")},
                                     body());
        sales->setField(&families, QStringLiteral("CONTAVENDAS"));
        AccountLinkSpec centreSpec{QStringLiteral("Edit_CCusto"), QStringLiteral("Label_CCusto"), 40};
        centreSpec.checksTypedText = false;
        centreSpec.beep = true;
        centreSpec.notFound = centreSpec.labelNotFound = QStringLiteral("CENTRO DE CUSTO INEXISTENTE !!!");
        centreSpec.notPosting = centreSpec.labelNotPosting = QStringLiteral("CENTRO DE CUSTO NÃO É DE LANÇAMENTO !!!");
        centreSpec.lookupCaption = QStringLiteral("Localizar");
        centre = new AccountLinkField(*this, centreSpec, body());
        centre->setField(&families, QStringLiteral("CCUSTO"));
        auto* next = new QLineEdit(body());
        next->setObjectName(QStringLiteral("Edit_Next"));

        auto* grid = new QGridLayout(body());
        grid->addWidget(sales, 0, 0);
        grid->addWidget(centre, 1, 0);
        grid->addWidget(next, 2, 0);
        connect(&families, &kv::db::Dataset::currentChanged, this, [this] {
            sales->refresh();
            centre->refresh();
        });
    }

    kv::db::Dataset families;
    AccountLinkField* sales;
    AccountLinkField* centre;

protected:
    void FormActivate() override
    {
        families.open();
        sales->activate(m_lookups.accounts(AccountRange::familySales()));
        centre->activate(m_lookups.costCentres());
        EnableEvents();
        focusField(sales->edit());
    }

private:
    AccountLookups m_lookups;
};

struct Fixture {
    explicit Fixture(Engine engine, bool linkOn = true)
    {
        session = &scenario.login(engine, kv::test::Company::Demo);
        year = session->state().WAno;
        if (!linkOn)
            scenario.invoicingDatabase()->exec("UPDATE PARGER SET CONTABILIDADE = 'N'");
        // The first family in code order, with a cost centre gone from the year.
        scenario.invoicingDatabase()->exec("UPDATE FAMILIAS SET CCUSTO = 'CC99' WHERE FAMILIA = 'CAIXAS CANELADO'");
        scenario.messages().clear();
        form = new LinkForm(scenario.invoicingDatabase(), scenario.accountingDatabase(), year);
        driver = scenario.show(form);
    }

    QString column(const QString& name) const { return form->families.value(name).toString(); }

    kv::test::Scenario scenario;
    kv::shell::Session* session = nullptr;
    QString year;
    LinkForm* form = nullptr;
    FormDriver driver;
};

struct ExitCase {
    const char* label;
    const char* field;
    const char* typed;
    QStringList transcript;
    const char* labelText;
    bool focusStays;
};

class AccountExit : public ::testing::TestWithParam<std::tuple<ExitCase, Engine>> {};

TEST_P(AccountExit, ChecksTheCodeAndNamesIt)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Fixture f(engine);
    const QString field = QString::fromLatin1(c.field);
    const QString label = QStringLiteral("Label_") + field.mid(5);
    f.scenario.messages().clear();
    f.driver.type(field, QString::fromUtf8(c.typed));
    f.driver.tab();
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(f.driver.text(label), QString::fromUtf8(c.labelText));
    EXPECT_EQ(f.driver.focused(), c.focusStays ? field : (field == "Edit_ContaVendas" ? "Edit_CCusto" : "Edit_Next"));
    // The code stays in the row whatever the check said.
    EXPECT_EQ(f.column(field == "Edit_ContaVendas" ? "CONTAVENDAS" : "CCUSTO"), QString::fromUtf8(c.typed));
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AccountExit,
    ::testing::Combine(
        ::testing::Values(
            ExitCase{"sales_below_range", "Edit_ContaVendas", "6", {"Conta Inexistente ..."}, "", true},
            ExitCase{"sales_not_posting", "Edit_ContaVendas", "71", {"Conta não é de Lançamento"}, "", true},
            ExitCase{"sales_found", "Edit_ContaVendas", "7122", {}, "Vendas Produtos - Intracom.", false},
            ExitCase{"sales_cleared", "Edit_ContaVendas", "", {}, "", false},
            ExitCase{"centre_unknown", "Edit_CCusto", "CC98", {"<beep>", "CENTRO DE CUSTO INEXISTENTE !!!"}, "", true},
            ExitCase{"centre_found", "Edit_CCusto", "CC02", {}, "Corte e Vinco", false}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<ExitCase>);

struct LookupCase {
    const char* label;
    const char* start; // the code stored before the lookup; nullptr: the demo family's
    const char* button;
    const char* code; // in the field and the row afterwards
    const char* name;
};

class AccountLookup : public ::testing::TestWithParam<std::tuple<LookupCase, Engine>> {};

// OK takes the code chosen; Cancel leaves field, row and label as they were.
TEST_P(AccountLookup, OkWritesTheCodeAndCancelNothing)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Fixture f(engine);
    f.driver.focus("Edit_ContaVendas");
    if (c.start) {
        // A code the lookup list cannot stand on: Cancel must not take the
        // row the list happens to be on instead.
        f.form->families.edit();
        f.form->families.setValue("CONTAVENDAS", QString::fromLatin1(c.start));
        f.form->sales->refresh();
    }
    QString caption;
    f.scenario.onDialog([&](FormDriver& dialog) {
        caption = dialog.caption();
        dialog.type("SearchText", "7213");
        dialog.click(c.button);
    });
    f.driver.insert();
    f.scenario.settle();
    EXPECT_EQ(caption, "Localizar Conta");
    EXPECT_EQ(f.driver.text("Edit_ContaVendas"), c.code);
    EXPECT_EQ(f.column("CONTAVENDAS"), c.code);
    EXPECT_EQ(f.driver.text("Label_ContaVendas"), QString::fromUtf8(c.name));
    EXPECT_TRUE(f.scenario.messages().texts().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(
    Fields, AccountLookup,
    ::testing::Combine(
        ::testing::Values(LookupCase{"ok", nullptr, "OKBtn", "7213", "Serviços - Outros Mercados"},
                          LookupCase{"cancel", nullptr, "CancelBtn", "7121", "Vendas Produtos - Nacional"},
                          LookupCase{"cancel_on_unknown_code", "6", "CancelBtn", "6", "Conta Inexistente ..."}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<LookupCase>);

class AccountLink : public ::testing::TestWithParam<Engine> {};

TEST_P(AccountLink, RefreshNamesStoredCodesWithoutAMessage)
{
    KV_SKIP_WITHOUT(GetParam());
    Fixture f(GetParam());
    // First family: its cost centre is not the year's; its account is.
    EXPECT_EQ(f.driver.text("Label_CCusto"), "CENTRO DE CUSTO INEXISTENTE !!!");
    EXPECT_EQ(f.driver.text("Label_ContaVendas"), "Vendas Produtos - Nacional");
    f.form->families.next();
    EXPECT_EQ(f.driver.text("Label_CCusto"), "Vendas - Produtos");
    EXPECT_TRUE(f.scenario.messages().transcript().isEmpty());
}

// Before a row is applied its codes are checked as on leaving them.
TEST_P(AccountLink, VerifyRefusesAStoredCodeAndTakesTheFocus)
{
    KV_SKIP_WITHOUT(GetParam());
    Fixture f(GetParam());
    f.driver.focus("Edit_Next");
    EXPECT_FALSE(f.form->centre->verify());
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().transcript(), QStringList({"<beep>", "CENTRO DE CUSTO INEXISTENTE !!!"}));
    EXPECT_EQ(f.driver.focused(), "Edit_CCusto");
    EXPECT_TRUE(f.form->sales->verify());
}

TEST_P(AccountLink, SwitchOffLeavesTheFieldsUnreachableAndUnnamed)
{
    KV_SKIP_WITHOUT(GetParam());
    Fixture f(GetParam(), false);
    EXPECT_FALSE(f.form->sales->linked());
    EXPECT_TRUE(f.form->sales->edit()->isReadOnly());
    EXPECT_EQ(f.form->sales->edit()->focusPolicy(), Qt::NoFocus);
    EXPECT_EQ(f.driver.text("Label_ContaVendas"), "");
    EXPECT_EQ(f.driver.text("Label_CCusto"), "");
    // No lookup opens (a dialog would fail the test).
    EXPECT_FALSE(f.form->sales->lookup());
    EXPECT_EQ(f.column("CONTAVENDAS"), "7121");
}

KV_ENGINE_SUITE(AccountLink);

} // namespace
