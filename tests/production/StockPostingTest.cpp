// Stock posting: the movement line, prices, both average-cost methods, the
// article's and warehouse's stock, the consumption columns, the sequence
// and month marker, the document lines and the clean-up.

#include "production/StockFixture.h"

#include "support/Engines.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

namespace kv::production::test {
namespace {

using kv::test::Engine;

struct Stock {
    double quantity;
    double value;
    double averageCost;
    double lastEntryPrice;
};

struct PostingCase {
    const char* label;
    // STKTRS of the movement: TRSTIP, DEVOLUCAO, TRSCALC, PMCUST, PULENT, CONSUMO
    const char* transaction[6];
    const char* costMethod;
    Stock before; // CART-1, standard cost 2
    double quantity;
    const char* type;
    double price;
    double consumed; // QTD_CONSUMO (VAL_CONSUMO is it times the price)
    Stock after;
    bool warehouseRow;
    double warehouseQuantity;
};

const PostingCase postingCases[] = {
    {"issue_at_average_cost", {"S", "N", "3", "S", "N", "S"}, "1", {100, 250, 2.5, 0}, 10, "SAI", 2.5, 10,
     {90, 225, 2.5, 0}, true, -10},
    {"issue_at_standard_cost", {"S", "N", "1", "S", "N", "N"}, "1", {100, 250, 2.5, 0}, 10, "SAI", 2, 0,
     {90, 230, 230.0 / 90, 0}, true, -10},
    {"issue_to_zero_takes_the_price", {"S", "N", "3", "S", "N", "N"}, "1", {10, 25, 2.5, 0}, 10, "SAI", 2.5, 0,
     {0, 0, 2.5, 0}, true, -10},
    {"issue_into_negative_stock", {"S", "N", "1", "S", "N", "N"}, "1", {5, 5, 1, 0}, 10, "SAI", 2, 0,
     {-5, -15, 3, 0}, true, -10},
    {"negative_cost_takes_the_price", {"E", "N", "3", "S", "S", "N"}, "1", {-5, 10, 0, 0}, 1, "ENT", 2, 0,
     {-4, 12, 2, 2}, true, 1},
    {"unpriced_without_average_cost", {"S", "N", "1", "N", "N", "N"}, "1", {100, 250, 2.5, 0}, 10, "SAI", 2, 0,
     {90, 230, 2.5, 0}, true, -10},
    {"method_2_averages_the_price", {"E", "N", "1", "S", "S", "N"}, "2", {100, 200, 3, 1}, 10, "ENT", 2, 0,
     {110, 220, 2.5, 2}, true, 10},
    {"method_2_zero_price_keeps_cost", {"S", "N", "5", "S", "N", "N"}, "2", {100, 200, 3, 0}, 10, "SAI", 0, 0,
     {90, 200, 3, 0}, true, -10},
    {"method_2_without_cost_takes_price", {"S", "N", "1", "S", "N", "N"}, "2", {0, 0, 0, 0}, 10, "SAI", 2, 0,
     {-10, -20, 2, 0}, true, -10},
    {"last_entry_price_only_on_entries", {"S", "N", "1", "S", "S", "N"}, "2", {100, 200, 2, 7}, 10, "SAI", 2, 0,
     {90, 180, 2, 7}, true, -10},
    {"return_keeps_stock_recalculates_cost", {"S", "S", "1", "S", "N", "N"}, "2", {100, 250, 2.5, 0}, 10, "DEV", 2,
     0, {100, 250, 2.25, 0}, true, 0},
    {"return_flag_neither_S_nor_N_is_an_issue", {"S", "X", "1", "S", "N", "N"}, "1", {100, 250, 2.5, 0}, 10, "SAI",
     2, 0, {90, 230, 230.0 / 90, 0}, true, -10},
    {"entry_consumption_is_negative", {"E", "N", "1", "S", "N", "S"}, "1", {100, 250, 2.5, 0}, 10, "ENT", 2, -10,
     {110, 270, 270.0 / 110, 0}, true, 10},
    {"nothing_moves_without_quantity", {"S", "N", "1", "S", "N", "S"}, "1", {100, 250, 2.5, 0}, 0, "SAI", 2, 0,
     {100, 250, 2.5, 0}, false, 0},
};

class PostingRulesTest : public ::testing::TestWithParam<std::tuple<PostingCase, Engine>> {};

TEST_P(PostingRulesTest, MovementArticleAndWarehouse)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    StockFixture f(engine);
    kv::db::Connection& inv = f.invoicing();
    inv.exec("UPDATE PARGER SET CALCULOPMC = :M WHERE ANO = '2024'", {{"M", c.costMethod}});
    inv.exec("UPDATE ARTIGOSCLS SET EXIQTD = :Q, EXIVAL = :V, PMCUSTO = :P, PULENTRA = :U WHERE CODIGO = 'CART-1'",
             {{"Q", c.before.quantity}, {"V", c.before.value}, {"P", c.before.averageCost}, {"U", c.before.lastEntryPrice}});
    kv::test::insertRows(inv, "STKTRS", {"TRSCOD", "REDNOM", "TRSTIP", "DEVOLUCAO", "TRSCALC", "PMCUST", "PULENT", "CONSUMO"},
                         {{99, "Teste", c.transaction[0], c.transaction[1], c.transaction[2], c.transaction[3],
                           c.transaction[4], c.transaction[5]}});
    {
        kv::db::Transaction transaction(inv);
        f.posting().post(901, 1, {"CART-1", c.quantity, 99, 1, 5, 77, StockFixture::Day});
        transaction.commit();
    }

    const auto mov = inv.query("SELECT TRSTIP, QUANTIDADE, PRECO, VALOR, EXIQTD, EXIVAL, PMC, PUE, QTD_CONSUMO, "
                               "VAL_CONSUMO, TRSDESCRI, ANO, MES, ORDFAB, CLINRO, ARMNRO_1 FROM STKMOV");
    ASSERT_EQ(mov.rows.size(), 1u);
    EXPECT_EQ(mov.value(0, "TRSTIP").toString(), c.type);
    EXPECT_DOUBLE_EQ(mov.value(0, "PRECO").toDouble(), c.price);
    EXPECT_DOUBLE_EQ(mov.value(0, "VALOR").toDouble(), c.price * c.quantity);
    EXPECT_DOUBLE_EQ(mov.value(0, "QTD_CONSUMO").toDouble(), c.consumed);
    EXPECT_DOUBLE_EQ(mov.value(0, "VAL_CONSUMO").toDouble(), c.consumed * c.price);
    EXPECT_NEAR(mov.value(0, "EXIQTD").toDouble(), c.after.quantity, 1e-9);
    EXPECT_NEAR(mov.value(0, "EXIVAL").toDouble(), c.after.value, 1e-9);
    EXPECT_NEAR(mov.value(0, "PMC").toDouble(), c.after.averageCost, 1e-9);
    EXPECT_NEAR(mov.value(0, "PUE").toDouble(), c.after.lastEntryPrice, 1e-9);
    EXPECT_EQ(mov.value(0, "TRSDESCRI").toString(), "Teste");
    EXPECT_EQ(mov.value(0, "ANO").toString() + mov.value(0, "MES").toString(), "202403");
    EXPECT_EQ(mov.value(0, "ORDFAB").toInt() * 1000 + mov.value(0, "CLINRO").toInt() * 10 + mov.value(0, "ARMNRO_1").toInt(), 77051);

    const auto art = inv.query("SELECT EXIQTD, EXIVAL, PMCUSTO, PULENTRA FROM ARTIGOSCLS WHERE CODIGO = 'CART-1'");
    EXPECT_NEAR(art.value(0, "EXIQTD").toDouble(), c.after.quantity, 1e-9);
    EXPECT_NEAR(art.value(0, "EXIVAL").toDouble(), c.after.value, 1e-9);
    EXPECT_NEAR(art.value(0, "PMCUSTO").toDouble(), c.after.averageCost, 1e-9);
    EXPECT_NEAR(art.value(0, "PULENTRA").toDouble(), c.after.lastEntryPrice, 1e-9);

    const auto armz = inv.query("SELECT EXIQTD, EXIVAL, EXIQTD00 FROM STKARTGARMZ WHERE ARTIGO = 'CART-1' AND "
                                "ANO = '2024' AND CODIGO = 1");
    ASSERT_EQ(armz.rows.size(), c.warehouseRow ? 1u : 0u);
    if (c.warehouseRow) {
        EXPECT_DOUBLE_EQ(armz.value(0, "EXIQTD").toDouble(), c.warehouseQuantity);
        EXPECT_DOUBLE_EQ(armz.value(0, "EXIQTD00").toDouble(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Posting, PostingRulesTest,
                         ::testing::Combine(::testing::ValuesIn(postingCases), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<PostingCase>);

class StockPostingTest : public ::testing::TestWithParam<Engine> {};

// Sequence per article and date, whatever the order the dates come in; the
// marker on the month's last movement only.
TEST_P(StockPostingTest, SequenceAndMonthMarkerAcrossDates)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    kv::db::Connection& inv = f.invoicing();
    const QDate march20(2024, 3, 20), march10(2024, 3, 10), april2(2024, 4, 2);
    {
        kv::db::Transaction transaction(inv);
        StockPosting posting = f.posting();
        int line = 1;
        for (const QDate& date : {march20, march20, april2, march10, march20})
            posting.post(901, line++, {"CART-1", 1, 10, 1, 5, 77, date});
        transaction.commit();
    }
    const auto rows = inv.query("SELECT DETAIL, SEQNRO, ARTIGOSMES, MES FROM STKMOV ORDER BY DETAIL");
    ASSERT_EQ(rows.rows.size(), 5u);
    const int expectedSequence[] = {1, 2, 1, 1, 3};
    const int expectedMarker[] = {0, 0, 1, 0, 1}; // March's last is line 5 (the 20th, sequence 3)
    for (std::size_t i = 0; i < 5; ++i) {
        EXPECT_EQ(rows.value(i, "SEQNRO").toInt(), expectedSequence[i]) << "line " << i + 1;
        EXPECT_EQ(rows.value(i, "ARTIGOSMES").toInt(), expectedMarker[i]) << "line " << i + 1;
    }
}

// A movement dated before the month's last one leaves the marker where it is.
TEST_P(StockPostingTest, AnEarlierMovementKeepsTheMarkerOnTheLast)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    kv::db::Connection& inv = f.invoicing();
    kv::db::Transaction transaction(inv);
    StockPosting posting = f.posting();
    posting.post(901, 1, {"CART-1", 1, 10, 1, 5, 77, QDate(2024, 3, 25)});
    posting.post(901, 2, {"CART-1", 1, 10, 1, 5, 77, QDate(2024, 3, 5)});
    transaction.commit();
    EXPECT_EQ(inv.scalar("SELECT DETAIL FROM STKMOV WHERE ARTIGOSMES = 1").toInt(), 1);
    EXPECT_EQ(inv.scalar("SELECT COUNT(*) FROM STKMOV WHERE ARTIGOSMES = 1").toInt(), 1);
}

TEST_P(StockPostingTest, DocumentNumberAndLinesFollowTheUsersCounter)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    kv::db::Connection& inv = f.invoicing();
    // Another program's line already in document 901.
    kv::test::insertRows(inv, "STKMOV", {"DOCNRO", "DETAIL", "ARTNRO", "ANO"}, {{901, 4, "X", "2023"}});
    kv::db::Transaction transaction(inv);
    StockPosting posting = f.posting();
    EXPECT_TRUE(posting.userExists());
    const int document = posting.takeDocument();
    EXPECT_EQ(document, StockFixture::FirstDocument);
    EXPECT_EQ(posting.nextLine(document), 5);
    EXPECT_EQ(posting.nextLine(902), 1);
    transaction.commit();
    EXPECT_EQ(f.counter(), 901);
}

TEST_P(StockPostingTest, LookupsFindOnlyStockArticles)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    kv::test::insertRows(f.invoicing(), "ARTIGOSCLS", {"CODIGO", "TIPOARTIGO", "GRELHA"},
                         {{"SERV-1", "3", "N"}, {"GRID-1", "1", "S"}, {"PLAIN-1", "1", QVariant()}});
    StockPosting posting = f.posting();
    EXPECT_TRUE(posting.article("CART-1"));
    EXPECT_TRUE(posting.article("PLAIN-1"));
    EXPECT_FALSE(posting.article("SERV-1"));
    EXPECT_FALSE(posting.article("GRID-1"));
    EXPECT_FALSE(posting.article("NADA"));
    EXPECT_TRUE(posting.transaction(10));
    EXPECT_FALSE(posting.transaction(11));
    EXPECT_TRUE(posting.warehouseExists(2));
    EXPECT_FALSE(posting.warehouseExists(3));
}

// Postings write the columns the clean-up fills; the clean-up fills those of
// other programs' movements of the working year only.
TEST_P(StockPostingTest, CleanUpFillsTheEmptyColumnsOfTheWorkingYear)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    kv::db::Connection& inv = f.invoicing();
    kv::test::insertRows(inv, "STKMOV", {"DOCNRO", "DETAIL", "ARTNRO", "ANO"}, {{500, 1, "X", "2024"}, {500, 2, "X", "2023"}});
    {
        kv::db::Transaction transaction(inv);
        f.posting().post(901, 1, {"CART-1", 1, 10, 1, 5, 77, StockFixture::Day});
        transaction.commit();
    }
    const QString columns = "FORNEC, ARMNRO_2, MOEDA, VALCAMB, DOCAUXREDNOM, CCUSTO, ENCNROCLI, ENCFFRNNRO, "
                            "ENCFRNDETAIL, ENCFRNANO, ENCFRNSEMANA, PREVISAO, FRNFACNRO, CONFER, UTIL, TERMNRO, "
                            "ENCCLIDET, MAT_DETAIL, DESPERD, EXTRA, UPC_DIARIO, UPC_DOCNRO, UPC_SEQNRO, TC, PRECO_M2, "
                            "PRECO_MOEM2";
    const QString expected = "0|0||0|||0|0|0||0|0|0|N||0|0|0|0|0||0|0|0|0|0";
    const auto line = [&](int doc, int detail) {
        const auto rows =
            inv.query("SELECT " + columns + " FROM STKMOV WHERE DOCNRO = :D AND DETAIL = :L", {{"D", doc}, {"L", detail}});
        QStringList values;
        for (const QVariant& v : rows.rows.at(0))
            values << (v.isNull() ? QStringLiteral("NULL") : v.toString());
        return values.join('|');
    };
    EXPECT_EQ(line(901, 1), expected);
    f.posting().cleanUp();
    EXPECT_EQ(line(500, 1), expected);
    EXPECT_EQ(inv.scalar("SELECT ORDFAB FROM STKMOV WHERE DOCNRO = 500 AND DETAIL = 1").toInt(), 0);
    EXPECT_TRUE(inv.scalar("SELECT CONFER FROM STKMOV WHERE DOCNRO = 500 AND DETAIL = 2").isNull());
}

// What another program writes into the article meanwhile is kept.
TEST_P(StockPostingTest, AnotherProgramsStockChangeIsKept)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    StockPosting posting = f.posting();
    ASSERT_TRUE(posting.article("CART-1")); // as a form would have read it
    auto other = f.scenario.connect(f.invoicing().alias());
    other->exec("UPDATE ARTIGOSCLS SET EXIQTD = EXIQTD + 50, EXIVAL = EXIVAL + 125 WHERE CODIGO = 'CART-1'");
    {
        kv::db::Transaction transaction(f.invoicing());
        posting.post(901, 1, {"CART-1", 10, 10, 1, 5, 77, StockFixture::Day});
        transaction.commit();
    }
    EXPECT_DOUBLE_EQ(f.value(f.invoicing(), "SELECT EXIQTD FROM ARTIGOSCLS WHERE CODIGO = 'CART-1'").toDouble(), 140);
    EXPECT_DOUBLE_EQ(f.value(f.invoicing(), "SELECT EXIVAL FROM ARTIGOSCLS WHERE CODIGO = 'CART-1'").toDouble(), 355);
}

KV_ENGINE_SUITE(StockPostingTest);

} // namespace
} // namespace kv::production::test
