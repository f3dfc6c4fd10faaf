// The customisation tables' countries on both engines: the first use of a
// table, a new country seeded from its base, the number proposed for a new
// value, the numbers an article can hold; and the per-country rows an
// article is given before its designations and prices are typed.
#include "customers/coding/core/ArticleCountries.h"
#include "customers/coding/core/CustomisationTables.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::customers::ArticleCountries;
using kv::customers::CustomisationTable;
using kv::customers::CustomisationTables;
using kv::test::Engine;
using Choice = CustomisationTables::CountryChoice;
using Seeding = CustomisationTables::Seeding;

namespace {

struct TablesCompany {
    explicit TablesCompany(Engine engine)
    {
        scenario.createInstallation(engine);
        db = scenario.invoicingDatabase();
        kv::test::insertRows(*db, "PARCUSTOM", {"CODIGO", "PAISBASE"}, {{"1", "PORTUGAL"}});
        kv::test::insertRows(*db, "PARGRUPOS", {"TABGRUPO", "TABCOD", "TABNOM", "PAIS"},
                             {{"1", "1", "Estilo", "S"}, {"1", "2", "Cartão", "N"}});
        kv::test::insertRows(*db, "PAISES", {"PAIS"}, {{"PORTUGAL"}, {"ESPANHA"}, {"FRANCA"}});
    }

    void values(const char* country, std::initializer_list<int> numbers, const char* table = "1")
    {
        for (int n : numbers)
            kv::test::insertRows(*db, "CUSTARTG",
                                 {"TABGRUPO", "PAIS", "TABCOD", "CODIGO", "DESIGNACAO", "REDUZCODIGO", "REDUZDESIGN"},
                                 {{"1", country, table, n, QStringLiteral("Valor %1").arg(n), "V", "VALOR"}});
    }

    int count(const char* country)
    {
        return db
            ->scalar("SELECT COUNT(*) FROM CUSTARTG WHERE TABGRUPO = '1' AND TABCOD = '1' AND PAIS = :Pais",
                     {{"Pais", country}})
            .toInt();
    }

    CustomisationTable table(const char* code = "1") { return *tables().read("1", code); }
    CustomisationTables tables() const { return CustomisationTables(db); }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

class Tables : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        company.emplace(GetParam());
    }
    std::optional<TablesCompany> company;
};

TEST_P(Tables, ReadsTheTableWithItsBaseCountry)
{
    const auto table = company->tables().read("1", "1");
    ASSERT_TRUE(table);
    EXPECT_EQ(table->name, "Estilo");
    EXPECT_TRUE(table->perCountry);
    EXPECT_EQ(table->baseCountry, "PORTUGAL");
    EXPECT_FALSE(company->table("2").perCountry);
    EXPECT_FALSE(company->tables().read("1", "3"));
    company->db->exec("DELETE FROM PARCUSTOM");
    EXPECT_FALSE(company->tables().read("1", "1"));
}

TEST_P(Tables, TheFirstUseOfATableWhateverTheCountry)
{
    EXPECT_EQ(company->tables().choose(company->table(), "ESPANHA"), Choice::FirstUse);
    // Another table's rows do not count.
    company->values("ESPANHA", {1}, "2");
    EXPECT_EQ(company->tables().choose(company->table(), "ESPANHA"), Choice::FirstUse);
}

TEST_P(Tables, ANewCountryIsSeededFromItsBaseOnce)
{
    company->values("PORTUGAL", {1, 2, 12});
    const auto table = company->table();
    EXPECT_EQ(company->tables().choose(table, "PORTUGAL"), Choice::Maintain);
    EXPECT_EQ(company->tables().choose(table, "ESPANHA"), Choice::NeedsBase);

    EXPECT_EQ(company->tables().seed(table, "ESPANHA", "PORTUGAL"), Seeding::Maintain);
    EXPECT_EQ(company->count("ESPANHA"), 3);
    EXPECT_EQ(company->db->scalar("SELECT DESIGNACAO FROM CUSTARTG WHERE PAIS = 'ESPANHA' AND CODIGO = 12").toString(),
              "Valor 12");
    // Seeded again (a second pass through the base field): nothing doubles.
    EXPECT_EQ(company->tables().seed(table, "ESPANHA", "PORTUGAL"), Seeding::Maintain);
    EXPECT_EQ(company->count("ESPANHA"), 3);
    EXPECT_EQ(company->tables().choose(table, "ESPANHA"), Choice::Maintain);

    // A second new country is seeded from a base among all the table's countries.
    company->values("ESPANHA", {20});
    EXPECT_EQ(company->tables().seed(table, "FRANCA", "ESPANHA"), Seeding::Maintain);
    EXPECT_EQ(company->count("FRANCA"), 4);
}

TEST_P(Tables, ABaseWithoutRows)
{
    const auto table = company->table();
    // The table is empty: the base must be the country itself.
    EXPECT_EQ(company->tables().seed(table, "ESPANHA", "ITALIA"), Seeding::MissingBase);
    EXPECT_EQ(company->tables().seed(table, "ESPANHA", "espanha"), Seeding::Maintain);
    // The table has rows: the new country opens empty.
    company->values("PORTUGAL", {1});
    EXPECT_EQ(company->tables().seed(table, "FRANCA", "ITALIA"), Seeding::Maintain);
    EXPECT_EQ(company->count("FRANCA"), 0);
}

TEST_P(Tables, TheProposalFollowsTheCountrysLastNumber)
{
    const auto table = company->table();
    EXPECT_EQ(company->tables().proposal(table, "PORTUGAL"), 1);
    company->values("PORTUGAL", {3, 12});
    company->values("ESPANHA", {40});
    EXPECT_EQ(company->tables().proposal(table, "PORTUGAL"), 13);
}

TEST_P(Tables, ArticlesGetEveryMissingCountryOnce)
{
    kv::test::insertRows(*company->db, "ARTIGOSPAIS", {"ARTIGO", "PAIS", "DESIGNACAO", "PRECO1"},
                         {{"CXA001", "ESPANHA", "Caja", 2.5}, {"OUTRO", "PORTUGAL", "", 0}});
    EXPECT_EQ(ArticleCountries::addMissing(*company->db, "CXA001"), std::optional<long long>(2));
    EXPECT_EQ(ArticleCountries::addMissing(*company->db, "CXA001"), std::optional<long long>(0));
    EXPECT_EQ(company->db->scalar("SELECT COUNT(*) FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001'").toInt(), 3);
    // What was typed for a country stays.
    const auto kept = company->db->query("SELECT DESIGNACAO, PRECO1 FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001' AND "
                                         "PAIS = 'ESPANHA'");
    EXPECT_EQ(kept.rows[0][0].toString(), "Caja");
    EXPECT_DOUBLE_EQ(kept.rows[0][1].toDouble(), 2.5);
    // A new row has no prices.
    EXPECT_TRUE(
        company->db->scalar("SELECT PRECO1 FROM ARTIGOSPAIS WHERE ARTIGO = 'CXA001' AND PAIS = 'FRANCA'").isNull());

    company->db->exec("DELETE FROM PAISES");
    EXPECT_EQ(ArticleCountries::addMissing(*company->db, "NOVO"), std::nullopt);
}

KV_ENGINE_SUITE(Tables);

TEST(CustomisationValues, HoldOnlyWhatAnArticleStores)
{
    struct Case {
        long long number;
        bool holds;
    };
    for (const Case c : {Case{0, false}, Case{-3, false}, Case{1, true}, Case{32767, true}, Case{32768, false}})
        EXPECT_EQ(CustomisationTables::holdsValue(c.number), c.holds) << c.number;
    EXPECT_EQ(CustomisationTables::title("Estilo"), "TABELA DE ESTILO (ARTIGOS)");
}

} // namespace
