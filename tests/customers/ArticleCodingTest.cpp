// The automatic article coding on both engines: the parts of a group in
// their order, the sequence number at its position (typed, or the next of
// the articles that share the classification), the scope of the numbering,
// and the claim that keeps two workstations from handing out one code.
#include "customers/coding/core/ArticleCoding.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

using kv::customers::ArticleCoding;
using kv::customers::CodingFields;
using kv::customers::NumberMode;
using kv::customers::SequenceSettings;
using kv::test::Engine;

namespace {

// Group "1": style (part 1, binds the numbering), board (part 2, free once
// passed), print (no part), size (part 3, binds).
struct Company {
    explicit Company(Engine engine)
    {
        scenario.createInstallation(engine);
        db = scenario.invoicingDatabase();
        kv::test::insertRows(
            *db, "PARCUSTOM",
            {"CODIGO", "GRUPOTIPO1", "GRUPOTIPO2", "GRUPOTIPO10", "GRUPOTIPO11", "REFER1", "SEQREFINI1", "REFDIG1"},
            {{"1", "1", "X", "2", "1", "A", 4, 3}});
        kv::test::insertRows(*db, "PARGRUPOS", {"TABGRUPO", "TABCOD", "TABNOM", "SEQREF", "REFER", "PAIS"},
                             {{"1", "1", "Estilo", "1", "S", "N"},
                              {"1", "2", "Cartão", "2", "N", "S"},
                              {"1", "3", "Impressão", "0", "N", "N"},
                              {"1", "4", "Tamanho", "3", "S", "N"},
                              {"2", "1", "Outro", "1", "S", "N"}});
        kv::test::insertRows(*db, "CUSTARTG",
                             {"TABGRUPO", "PAIS", "TABCOD", "CODIGO", "DESIGNACAO", "REDUZCODIGO", "REDUZDESIGN"},
                             {{"1", "PORTUGAL", "1", 1, "Caixa", "CXA", "CAIXA"},
                              {"1", "PORTUGAL", "1", 2, "Sem código", "", "NADA"},
                              {"1", "ESPANHA", "1", 3, "Caja", "CAJ", "CAJA"},
                              {"1", "PORTUGAL", "2", 5, "Branca", "AB", "BRANCA"},
                              {"1", "PORTUGAL", "3", 9, "Offset", "OF", "OFFSET"},
                              {"1", "PORTUGAL", "4", 7, "Pequena", "P", "PEQ"}});
        kv::test::insertRows(*db, "ARTIGOSCLS",
                             {"CODIGO", "DESIGNACAO", "GRELHA", "CUSTOM1", "CUSTOM2", "CUSTOM3", "CUSTOM4", "CUSTOM5",
                              "CUSTOM6", "CUSTOM7", "CUSTOM8", "CUSTOM9"},
                             {article("CXA007AB", "N", 1, 5),
                              // Later in text order, but no number at the position.
                              article("CXAXYZAB", "N", 1, 5),
                              // Not of the grid: never counted.
                              article("CXA050AB", "S", 1, 5),
                              // Another board: outside the series while the board binds.
                              article("CXA020AB", "N", 1, 6), article("005CXAAB", "N", 1, 5),
                              article("CXAAB004P", "N", 1, 6, 0, 7)});
    }

    static QVariantList article(const char* code, const char* grid, int c1, int c2, int c3 = 0, int c4 = 0)
    {
        return {code, "Artigo", grid, c1, c2, c3, c4, 0, 0, 0, 0, 0};
    }

    ArticleCoding coding(const char* workstation = "POSTO1")
    {
        return ArticleCoding(db, QString::fromLatin1(workstation), QStringLiteral("ANA"));
    }

    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
};

CodingFields fields(std::initializer_list<int> values)
{
    CodingFields f;
    std::size_t n = 0;
    for (int v : values) {
        if (v > 0)
            f[n] = v;
        ++n;
    }
    return f;
}

struct BuildCase {
    const char* label;
    CodingFields fields;
    SequenceSettings sequence;
    const char* manual;
    const char* code;
    const char* designation;
    bool numberPlaced;
    bool badlyParameterised;
};

const SequenceSettings AfterStyle{NumberMode::Automatic, 4, 3};

const BuildCase buildCases[] = {
    // The number after the style; the board, not reached yet, binds it.
    {"next_of_series", fields({1, 5}), AfterStyle, "", "CXA008AB", "CAIXA BRANCA", true, false},
    {"no_match_starts_at_one", fields({1, 5, 0, 7}), AfterStyle, "", "CXA001ABP", "CAIXA BRANCA PEQ", true, false},
    // A table without a part stays in scope while its field holds a value.
    {"table_without_part_binds", fields({1, 5, 9}), AfterStyle, "", "CXA001AB", "CAIXA BRANCA", true, false},
    // Once passed, the board is free: CXAAB004P (board 6) counts.
    {"passed_free_table",
     fields({1, 5, 0, 7}),
     {NumberMode::Automatic, 6, 3},
     "",
     "CXAAB005P",
     "CAIXA BRANCA PEQ",
     true,
     false},
    {"number_first", fields({1, 5}), {NumberMode::Automatic, 1, 3}, "", "006CXAAB", "CAIXA BRANCA", true, false},
    {"off_boundary_places_none",
     fields({1, 5}),
     {NumberMode::Automatic, 5, 3},
     "",
     "CXAAB",
     "CAIXA BRANCA",
     false,
     false},
    {"beyond_end_places_none",
     fields({1, 5}),
     {NumberMode::Automatic, 9, 3},
     "",
     "CXAAB",
     "CAIXA BRANCA",
     false,
     false},
    {"mode_none", fields({1, 5}), {NumberMode::None, 4, 3}, "", "CXAAB", "CAIXA BRANCA", false, false},
    {"manual_number", fields({1, 5}), {NumberMode::Manual, 4, 4}, "0042", "CXA0042AB", "CAIXA BRANCA", true, false},
    // No sequence settings (a group other than 1 to 9): no number.
    {"group_without_settings", fields({1, 5}), {}, "", "CXAAB", "CAIXA BRANCA", false, false},
    {"value_missing_adds_nothing", fields({4, 5}), AfterStyle, "", "AB", "BRANCA", false, false},
    // Another country's value is not read.
    {"other_country_not_read", fields({3, 5}), AfterStyle, "", "AB", "BRANCA", false, false},
    {"empty_reduced_code_stops", fields({2, 5}), AfterStyle, "", "", "", false, true},
};

class Building : public ::testing::TestWithParam<std::tuple<BuildCase, Engine>> {};

TEST_P(Building, BuildsTheCodeAndDesignation)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Company company(engine);
    ArticleCoding coding = company.coding();
    const auto built = coding.build("1", c.sequence, c.fields, QString::fromLatin1(c.manual));
    EXPECT_EQ(built.code, QString::fromUtf8(c.code));
    EXPECT_EQ(built.designation, QString::fromUtf8(c.designation));
    EXPECT_EQ(built.numberPlaced, c.numberPlaced);
    EXPECT_EQ(built.badlyParameterised, c.badlyParameterised);
}

INSTANTIATE_TEST_SUITE_P(Coding, Building,
                         ::testing::Combine(::testing::ValuesIn(buildCases), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<BuildCase>);

class Coding : public ::testing::TestWithParam<Engine> {};

TEST_P(Coding, TheGreatestNumberCountsNotTheLastCodeInTextOrder)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    kv::test::insertRows(*company.db, "ARTIGOSCLS",
                         {"CODIGO", "GRELHA", "CUSTOM1", "CUSTOM2", "CUSTOM3", "CUSTOM4", "CUSTOM5", "CUSTOM6",
                          "CUSTOM7", "CUSTOM8", "CUSTOM9"},
                         {{"CXA012", "N", 1, 5, 0, 0, 0, 0, 0, 0, 0},
                          {"CXA9", "N", 1, 5, 0, 0, 0, 0, 0, 0, 0},
                          {"CXA09ZZ", "N", 1, 5, 0, 0, 0, 0, 0, 0, 0}});
    ArticleCoding coding = company.coding();
    // "CXA9" and "CXAXYZAB" sort last; 9 is the shorter digits' value, 12 the greatest.
    EXPECT_EQ(coding.build("1", AfterStyle, fields({1, 5})).code, "CXA013AB");
}

TEST_P(Coding, ANumberOutgrowingItsWidthStaysWhole)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    kv::test::insertRows(*company.db, "ARTIGOSCLS",
                         {"CODIGO", "GRELHA", "CUSTOM1", "CUSTOM2", "CUSTOM3", "CUSTOM4", "CUSTOM5", "CUSTOM6",
                          "CUSTOM7", "CUSTOM8", "CUSTOM9"},
                         {{"CXA999AB", "N", 1, 5, 0, 0, 0, 0, 0, 0, 0}});
    ArticleCoding coding = company.coding();
    EXPECT_EQ(coding.build("1", AfterStyle, fields({1, 5})).code, "CXA1000AB");
}

TEST_P(Coding, TwoWorkstationsNeverGetTheSameCode)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    ArticleCoding first = company.coding("POSTO1");
    ArticleCoding second = company.coding("POSTO2");

    const QString code = first.build("1", AfterStyle, fields({1, 5})).code;
    ASSERT_EQ(code, "CXA008AB");
    EXPECT_EQ(first.confirm(code), ArticleCoding::Confirmation::Accepted);
    // The claimed code is passed over by the other workstation's numbering...
    EXPECT_EQ(second.build("1", AfterStyle, fields({1, 5})).code, "CXA009AB");
    // ... and refused to it when typed.
    EXPECT_EQ(second.confirm(code), ArticleCoding::Confirmation::Taken);
    // The holder keeps its claim when it confirms again.
    EXPECT_EQ(first.confirm(code), ArticleCoding::Confirmation::Accepted);

    first.release(code);
    EXPECT_EQ(second.build("1", AfterStyle, fields({1, 5})).code, "CXA008AB");
}

struct ConfirmCase {
    const char* label;
    const char* code;
    ArticleCoding::Confirmation expected;
};

const ConfirmCase confirmCases[] = {
    {"new_code", "CXA008AB", ArticleCoding::Confirmation::Accepted},
    {"stored_of_any_grid", "CXA050AB", ArticleCoding::Confirmation::Taken},
    {"empty", "", ArticleCoding::Confirmation::Empty},
    {"sixteen_characters", "ABCDEFGHIJKLMNOP", ArticleCoding::Confirmation::Accepted},
    {"seventeen_characters", "ABCDEFGHIJKLMNOPQ", ArticleCoding::Confirmation::TooLong},
};

class Confirming : public ::testing::TestWithParam<std::tuple<ConfirmCase, Engine>> {};

TEST_P(Confirming, ClaimsOnlyANewCodeThatFits)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Company company(engine);
    ArticleCoding coding = company.coding();
    EXPECT_EQ(coding.confirm(QString::fromLatin1(c.code)), c.expected);
    const int claims = company.db->scalar("SELECT COUNT(*) FROM RESERVAS").toInt();
    EXPECT_EQ(claims, c.expected == ArticleCoding::Confirmation::Accepted ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(Coding, Confirming,
                         ::testing::Combine(::testing::ValuesIn(confirmCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ConfirmCase>);

TEST_P(Coding, ParametersGiveEachTypeItsGroup)
{
    KV_SKIP_WITHOUT(GetParam());
    Company company(GetParam());
    ArticleCoding coding = company.coding();
    const auto parameters = coding.readParameters();
    ASSERT_TRUE(parameters);
    EXPECT_EQ(ArticleCoding::groupOfType(*parameters, "1"), std::optional<QString>("1"));
    EXPECT_EQ(ArticleCoding::groupOfType(*parameters, "10"), std::optional<QString>("2"));
    // Type 11 is refused as the type message says (1 to 10), its group notwithstanding.
    for (const char* refused : {"11", "0", "", " 1", "01", "A"})
        EXPECT_EQ(ArticleCoding::groupOfType(*parameters, refused), std::nullopt) << refused;

    const auto first = parameters->sequence("1");
    EXPECT_EQ(first.mode, NumberMode::Automatic);
    EXPECT_EQ(first.position, 4);
    EXPECT_EQ(first.width, 3);
    EXPECT_FALSE(parameters->sequence("X").placesNumber());

    const auto tables = coding.tables("1");
    ASSERT_EQ(tables.size(), 4u);
    EXPECT_EQ(tables[0].table, 3); // SEQREF "0" first, without a part
    EXPECT_FALSE(tables[0].hasPart());
    EXPECT_EQ(tables[1].name, "Estilo");

    company.db->exec("DELETE FROM PARCUSTOM");
    EXPECT_FALSE(coding.readParameters());
}

KV_ENGINE_SUITE(Coding);

} // namespace
