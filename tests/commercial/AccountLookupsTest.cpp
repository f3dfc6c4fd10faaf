#include "commercial/core/AccountLookups.h"

#include "platform/db/Dataset.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::commercial::accountingLinkOn;
using kv::commercial::AccountLookups;
using kv::commercial::AccountRange;
using kv::commercial::LinkStatus;
using kv::commercial::LookupSet;
using kv::test::Engine;

namespace {

const QString Year = QStringLiteral("2024");

// A small chart with the edges of every range: text limits, types, another
// year's account, letter case.
void addChart(kv::db::Connection& accounting)
{
    const QStringList columns{"ANO", "CONTA", "NOME", "TIPO"};
    std::vector<QVariantList> rows;
    const char* const chart[][3] = {{"19", "Caixa", "L"},
                                    {"1201", "Banco", "L"},
                                    {"20", "Terceiros", "L"},
                                    {"21", "Clientes", "I"},
                                    {"2111", "Clientes c/c", "L"},
                                    {"242", "Retenções", "L"},
                                    {"243", "IVA", "R"},
                                    {"2432", "IVA Dedutível", "L"},
                                    {"2438999999999", "IVA Fim", "L"},
                                    {"24389999999991", "Fora", "L"},
                                    {"2439", "IVA Outro", "L"},
                                    {"27", "Acréscimos", "I"},
                                    {"270", "Acréscimos c/c", "I"},
                                    {"3", "Existências", "I"},
                                    {"6", "Custos", "L"},
                                    {"68", "Outros Custos", "L"},
                                    {"681", "Impostos", "L"},
                                    {"7", "Proveitos", "R"},
                                    {"7121", "Vendas Produtos", "L"},
                                    {"7A", "Vendas Diversas", "L"}};
    for (const auto& account : chart)
        rows.push_back({Year, account[0], QString::fromUtf8(account[1]), account[2]});
    rows.push_back({QStringLiteral("2023"), "7999", "Só do ano anterior", "L"});
    kv::test::insertRows(accounting, "PLANOIDENT", columns, rows);
    kv::test::insertRows(accounting, "CCUSTO", {"ANO", "CODIGO", "DESIGN", "TIPO"},
                         {{Year, "CC01", "Impressão", "L"},
                          {Year, "CC02", "Produção", "R"},
                          {Year, "CC03", "Colagem", "l"},
                          {QStringLiteral("2023"), "CC04", "Antigo", "L"}});
    kv::test::insertRows(accounting, "IVA", {"ANO", "CODIGO", "PRCIVA", "DESCRICAO"},
                         {{Year, 2, 23.0, "Taxa Normal"}, {Year, 5, 0.0, "Isento"}, {"2023", 7, 6.0, "Antiga"}});
}

enum class SetOf { Sales, Purchases, Roots, Vat, Banks, CostCentres, VatCodes };

struct CheckCase {
    const char* label;
    SetOf set;
    const char* code;
    bool postingOnly;
    LinkStatus status;
    const char* name = "";
};

class AccountChecks : public ::testing::TestWithParam<std::tuple<CheckCase, Engine>> {};

LookupSet* setOf(AccountLookups& lookups, SetOf set)
{
    switch (set) {
    case SetOf::Sales: return lookups.accounts(AccountRange::familySales());
    case SetOf::Purchases: return lookups.accounts(AccountRange::familyPurchases());
    case SetOf::Roots: return lookups.accounts(AccountRange::countryRoots());
    case SetOf::Vat: return lookups.accounts(AccountRange::vatAccounts());
    case SetOf::Banks: return lookups.accounts(AccountRange::bankAccounts());
    case SetOf::CostCentres: return lookups.costCentres();
    case SetOf::VatCodes: return lookups.vatCodes();
    }
    return nullptr;
}

TEST_P(AccountChecks, AsTheFieldsSeeThem)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    kv::test::Scenario scenario;
    scenario.createInstallation(engine);
    auto accounting = scenario.accountingDatabase();
    addChart(*accounting);

    AccountLookups lookups(accounting, Year, true);
    LookupSet* set = setOf(lookups, c.set);
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->check(QString::fromUtf8(c.code), c.postingOnly), c.status);
    if (c.status == LinkStatus::Found || c.status == LinkStatus::NotPosting) {
        ASSERT_NE(set->find(QString::fromUtf8(c.code)), nullptr);
        EXPECT_EQ(set->find(QString::fromUtf8(c.code))->name, QString::fromUtf8(c.name));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ranges, AccountChecks,
    ::testing::Combine(
        ::testing::Values(
            // Sales from "68": a text limit, so "7" is inside and "6" is not.
            CheckCase{"sales_6_below_68", SetOf::Sales, "6", true, LinkStatus::NotFound},
            CheckCase{"sales_68", SetOf::Sales, "68", true, LinkStatus::Found, "Outros Custos"},
            CheckCase{"sales_681", SetOf::Sales, "681", true, LinkStatus::Found, "Impostos"},
            CheckCase{"sales_7_not_posting", SetOf::Sales, "7", true, LinkStatus::NotPosting, "Proveitos"},
            CheckCase{"sales_7121", SetOf::Sales, "7121", true, LinkStatus::Found, "Vendas Produtos"},
            CheckCase{"sales_last_year_only", SetOf::Sales, "7999", true, LinkStatus::NotFound},
            CheckCase{"sales_other_letter_case", SetOf::Sales, "7a", true, LinkStatus::NotFound},
            CheckCase{"sales_partial_code", SetOf::Sales, "712", true, LinkStatus::NotFound},
            CheckCase{"sales_empty", SetOf::Sales, "", true, LinkStatus::Empty},
            // Purchases from "30": "3" lies below.
            CheckCase{"purchases_3_below_30", SetOf::Purchases, "3", true, LinkStatus::NotFound},
            CheckCase{"purchases_68", SetOf::Purchases, "68", true, LinkStatus::Found, "Outros Custos"},
            // Roots: integration accounts from "21" without "27" itself.
            CheckCase{"roots_27_excluded", SetOf::Roots, "27", false, LinkStatus::NotFound},
            CheckCase{"roots_270", SetOf::Roots, "270", false, LinkStatus::Found, "Acréscimos c/c"},
            CheckCase{"roots_3", SetOf::Roots, "3", false, LinkStatus::Found, "Existências"},
            CheckCase{"roots_posting_refused", SetOf::Roots, "2111", false, LinkStatus::NotFound},
            CheckCase{"roots_21", SetOf::Roots, "21", false, LinkStatus::Found, "Clientes"},
            // VAT accounts from "243" through "2438999999999", both included.
            CheckCase{"vat_242", SetOf::Vat, "242", true, LinkStatus::NotFound},
            CheckCase{"vat_2439", SetOf::Vat, "2439", true, LinkStatus::NotFound},
            CheckCase{"vat_243_not_posting", SetOf::Vat, "243", true, LinkStatus::NotPosting, "IVA"},
            CheckCase{"vat_243_type_free", SetOf::Vat, "243", false, LinkStatus::Found, "IVA"},
            CheckCase{"vat_2432", SetOf::Vat, "2432", true, LinkStatus::Found, "IVA Dedutível"},
            CheckCase{"vat_upper_bound", SetOf::Vat, "2438999999999", true, LinkStatus::Found, "IVA Fim"},
            CheckCase{"vat_past_upper_bound", SetOf::Vat, "24389999999991", true, LinkStatus::NotFound},
            // Banks below "20".
            CheckCase{"banks_19", SetOf::Banks, "19", false, LinkStatus::Found, "Caixa"},
            CheckCase{"banks_1201", SetOf::Banks, "1201", false, LinkStatus::Found, "Banco"},
            CheckCase{"banks_20_excluded", SetOf::Banks, "20", false, LinkStatus::NotFound},
            // Cost centres: the year's posting ones only ("l" is not "L").
            CheckCase{"centre_posting", SetOf::CostCentres, "CC01", true, LinkStatus::Found, "Impressão"},
            CheckCase{"centre_not_posting", SetOf::CostCentres, "CC02", true, LinkStatus::NotFound},
            CheckCase{"centre_lower_case_type", SetOf::CostCentres, "CC03", true, LinkStatus::NotFound},
            CheckCase{"centre_last_year_only", SetOf::CostCentres, "CC04", true, LinkStatus::NotFound},
            // The accounting's VAT codes are numbers of the year.
            CheckCase{"vat_code", SetOf::VatCodes, "5", false, LinkStatus::Found, "Isento"},
            CheckCase{"vat_code_as_typed", SetOf::VatCodes, " 02", false, LinkStatus::Found, "Taxa Normal"},
            CheckCase{"vat_code_last_year_only", SetOf::VatCodes, "7", false, LinkStatus::NotFound},
            CheckCase{"vat_code_not_a_number", SetOf::VatCodes, "x", false, LinkStatus::NotFound}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<CheckCase>);

class Lookups : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        scenario.createInstallation(GetParam());
        accounting = scenario.accountingDatabase();
        addChart(*accounting);
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> accounting;
};

TEST_P(Lookups, SwitchOffReadsNoSet)
{
    AccountLookups lookups(accounting, Year, false);
    EXPECT_FALSE(lookups.linkOn());
    EXPECT_EQ(lookups.accounts(AccountRange::familySales()), nullptr);
    EXPECT_EQ(lookups.costCentres(), nullptr);
    EXPECT_EQ(lookups.vatCodes(), nullptr);
}

TEST_P(Lookups, OneSetPerRangeReadOnce)
{
    AccountLookups lookups(accounting, Year, true);
    LookupSet* sales = lookups.accounts(AccountRange::familySales());
    EXPECT_EQ(lookups.accounts(AccountRange::familySales()), sales);
    EXPECT_NE(lookups.accounts(AccountRange::familyPurchases()), sales);
    // Checks search what was read: a chart changed meanwhile is seen at the
    // next activation only.
    accounting->exec("DELETE FROM PLANOIDENT");
    EXPECT_EQ(sales->check("7121", true), LinkStatus::Found);
    AccountLookups next(accounting, Year, true);
    EXPECT_EQ(next.accounts(AccountRange::familySales())->check("7121", true), LinkStatus::NotFound);
}

TEST_P(Lookups, ListHoldsTheRangeAndPositionsOnACode)
{
    AccountLookups lookups(accounting, Year, true);
    LookupSet* vat = lookups.accounts(AccountRange::vatAccounts());
    EXPECT_EQ(vat->size(), 3); // 243, 2432, 2438999999999
    EXPECT_EQ(vat->list().recordCount(), 3);
    ASSERT_TRUE(vat->position("2432"));
    EXPECT_EQ(vat->list().value("CONTA").toString(), "2432");
    EXPECT_FALSE(vat->position("242"));
    EXPECT_EQ(vat->list().value("CONTA").toString(), "2432");
}

KV_ENGINE_SUITE(Lookups);

struct SwitchCase {
    const char* label;
    QVariant contabilidade;
    bool on;
};

class AccountingSwitch : public ::testing::TestWithParam<SwitchCase> {};

// On exactly when CONTABILIDADE is "S".
TEST_P(AccountingSwitch, OnlyS) { EXPECT_EQ(accountingLinkOn(GetParam().contabilidade), GetParam().on); }

INSTANTIATE_TEST_SUITE_P(
    Values, AccountingSwitch,
    ::testing::Values(SwitchCase{"S", QStringLiteral("S"), true}, SwitchCase{"N", QStringLiteral("N"), false},
                      SwitchCase{"lower_s", QStringLiteral("s"), false}, SwitchCase{"empty", QStringLiteral(""), false},
                      SwitchCase{"other_letter", QStringLiteral("X"), false}, SwitchCase{"null", QVariant(), false}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST_P(Lookups, SwitchReadFromTheYearsParameters)
{
    auto invoicing = scenario.invoicingDatabase();
    invoicing->exec("DELETE FROM PARGER");
    EXPECT_FALSE(accountingLinkOn(*invoicing, Year)); // no row for the year
    kv::test::insertRows(*invoicing, "PARGER", {"ANO", "CONTABILIDADE"}, {{Year, "S"}, {"2023", "N"}});
    EXPECT_TRUE(accountingLinkOn(*invoicing, Year));
    EXPECT_FALSE(accountingLinkOn(*invoicing, "2023"));
}

} // namespace
