// The closing of model-"T" orders: sheet counts and consumptions by
// TIPOCALC, the checks before posting with their error rows, and one
// document over two orders.

#include "production/StockFixture.h"

#include "production/core/WholeOrderClosing.h"
#include "quotes/core/CostTables.h"
#include "support/Engines.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

namespace kv::production::test {
namespace {

using kv::test::Engine;
using kv::test::insertRows;

TEST(WholeOrderFigures, GrossSheetsRoundHalfAwayFromZeroWithinABand)
{
    const std::vector<kv::quotes::WasteBand> bands{{1, 0, 100, 0, 0, {}}, {2, 101, 1000, 10, 0, {}}};
    struct Case {
        double produced;
        int unitsPerSheet;
        std::optional<double> expected;
    };
    const Case cases[] = {
        {25, 2, 13}, // 12.5 net sheets, no waste
        {400, 2, 220}, // 200 net + 10 %
        {0, 2, 0},
        {100, 0, std::nullopt}, // no units per sheet
        {5000, 2, std::nullopt}, // 2500 net: in no band
    };
    for (const Case& c : cases)
        EXPECT_EQ(grossSheets(c.produced, c.unitsPerSheet, bands), c.expected) << c.produced << "/" << c.unitsPerSheet;
}

TEST(WholeOrderFigures, ConsumptionByCalculationType)
{
    const SheetFigures sheets{1000, 0.5, 13}; // Q 1000, A 0.5 m2, S 13
    const SheetFigures none{1000, 0.5, 0};
    struct Case {
        bool glue;
        const char* calculation;
        const SheetFigures* figures;
        double expected;
    };
    // G = 200 g/m2 -> 0.2; PERC 3.
    const Case cases[] = {
        {true, "1", &sheets, 0.5 * 0.2 * 13},   {true, "1", &none, 0},       {true, "2", &sheets, 0.2 * 1000 / 1000},
        {true, "3", &sheets, 3 * 0.2 * 1000 / 1000}, {true, "4", &sheets, 0.5 * 0.2 * 13 / 100}, {true, "9", &sheets, 0},
        {false, "2", &sheets, 13},               {false, "1", &sheets, 0.5 * 0.2 * 13}, {false, "1", &none, 0},
    };
    for (const Case& c : cases) {
        const double got = c.glue ? glueConsumption(c.calculation, 200, 3, *c.figures)
                                  : boardConsumption(c.calculation, 200, *c.figures);
        EXPECT_DOUBLE_EQ(got, c.expected) << (c.glue ? "glue " : "board ") << c.calculation;
    }
}

// The stock fixture with model-"T" orders of numbers 800 on, each with its
// quote row (2 units per sheet), board 9001 ("CART-1", by weight) and glue
// 9002 (not in stock unless given an article), one band without waste.
struct WholeBed {
    explicit WholeBed(Engine engine) : stock(engine)
    {
        kv::db::Connection& app = stock.application();
        app.exec("UPDATE ORCPARGER SET TRS_ENTRADA = 20, TRS_SAIDA = 10, ARM_ENTRADA = 2, ARM_SAIDA = 1 WHERE CODIGO = 1");
        app.exec("DELETE FROM TIRAGLIQ");
        insertRows(app, "TIRAGLIQ", {"CODIGO", "QTD1", "QTD2", "PRCACAB1A"}, {{1, 0, 100000, 0}});
        insertRows(app, "PAPEIS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "TIPOCALC"},
                   {{9001, "CART-1", "Cartolina", 200, "1"}});
        limits.orderFrom = 800;
        limits.orderTo = 899;
        limits.deliveryFrom = limits.deliveryTo = StockFixture::Day;
    }

    void addOrder(int number, double length = 50, double width = 100, int glue = 0, const QString& year = "2024")
    {
        insertRows(stock.application(), "ORDFABRICO",
                   {"ANO", "ORDNRO", "SUBORC", "DETAIL", "ORCNRO", "CLINRO", "ARTIGO", "DATAENT", "QUANTIDADE",
                    "PLCOMPRI", "PLLARGUR", "PRODUZ", "ACTSTK", "CCOL_MAT1", "CCOL_TMAT1", "COL_MAT1"},
                   {{year, number, 0, 1, 8000 + number, 5, "CAIXA-1", QDateTime(StockFixture::Day, QTime(0, 0)),
                     1000, length, width, "N", "N", 9001, 8, glue}});
        if (!stock.application().scalar("SELECT CODIGO FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = 0",
                                        {{"C", 8000 + number}}).isValid())
            insertRows(stock.application(), "ORCMAS", {"CODIGO", "SUBCODIGO", "UNDPLANO"}, {{8000 + number, 0, 2}});
    }
    void tick(int number, double produced)
    {
        stock.application().exec("UPDATE WORKORDFAB SET QTDPROD = :Q, PRODUZ = 'S' WHERE UTIL = 'ANA' AND ORDNRO = :N",
                                  {{"Q", produced}, {"N", number}});
    }

    StockFixture stock;
    WholeOrderClosing list{stock.application(), "ANA"};
    ClosingLimits limits;
};

class WholeOrderClosingTest : public ::testing::TestWithParam<Engine> {};

TEST_P(WholeOrderClosingTest, OneDocumentOverTwoOrdersWithIssuesAndEntries)
{
    KV_SKIP_WITHOUT(GetParam());
    WholeBed bed(GetParam());
    bed.addOrder(801);
    bed.addOrder(802);
    bed.addOrder(803, 0); // no sheet format: never listed
    bed.list.rebuild(bed.limits);
    EXPECT_EQ(bed.stock.application().scalar("SELECT COUNT(*) FROM WORKORDFAB WHERE UTIL = 'ANA'").toInt(), 2);
    bed.tick(801, 25); // 12.5 net sheets -> 13
    bed.tick(802, 100); // 50 sheets
    EXPECT_TRUE(bed.list.checkTyped().isEmpty());
    StockPosting posting = bed.stock.posting();
    std::vector<int> checked;
    EXPECT_EQ(bed.list.checkMaterials(posting, [&checked](int order) { checked.push_back(order); }), 0);
    EXPECT_EQ(checked, (std::vector<int>{801, 802})); // what the status bar names, in list order
    ProductionClosing closing = bed.stock.closing(ClosingModel::WholeOrders);
    std::vector<int> closed;
    const ClosingOutcome outcome =
        closing.run(bed.list.orders(StockFixture::Day), {}, [&closed](int order) { closed.push_back(order); });
    EXPECT_EQ(closed, (std::vector<int>{801, 802}));
    EXPECT_EQ(outcome.document, StockFixture::FirstDocument);
    const auto lines =
        bed.stock.invoicing().query("SELECT DOCNRO, DETAIL, ARTNRO, QUANTIDADE, ORDFAB FROM STKMOV ORDER BY DETAIL");
    ASSERT_EQ(lines.rows.size(), 4u);
    // A = 0.5 x 1 m2, G = 0.2: 0.1 kg a sheet.
    const double expected[] = {1.3, 25, 5, 100};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(lines.value(i, "DOCNRO").toInt(), StockFixture::FirstDocument);
        EXPECT_EQ(lines.value(i, "DETAIL").toInt(), static_cast<int>(i) + 1);
        EXPECT_NEAR(lines.value(i, "QUANTIDADE").toDouble(), expected[i], 1e-9) << i;
    }
    EXPECT_EQ(bed.stock.application().scalar("SELECT COUNT(*) FROM ORDFABRICO WHERE PRODUZ = 'S' AND ACTSTK = 'S'").toInt(),
              2);
}

// One number, sub-quote and slot in two years: both are listed, and only
// the ticked one closes.
TEST_P(WholeOrderClosingTest, OrdersSharingANumberAcrossYearsCloseApart)
{
    KV_SKIP_WITHOUT(GetParam());
    WholeBed bed(GetParam());
    bed.addOrder(810, 50, 100, 0, "2023");
    bed.addOrder(810, 50, 100, 0, "2024");
    bed.list.rebuild(bed.limits);
    kv::db::Connection& db = bed.stock.application();
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM WORKORDFAB WHERE UTIL = 'ANA'").toInt(), 2);
    db.exec("UPDATE WORKORDFAB SET QTDPROD = 100, PRODUZ = 'S' WHERE UTIL = 'ANA' AND ANO = '2024'");
    StockPosting posting = bed.stock.posting();
    EXPECT_EQ(bed.list.checkMaterials(posting), 0);
    ProductionClosing closing = bed.stock.closing(ClosingModel::WholeOrders);
    EXPECT_EQ(closing.run(bed.list.orders(StockFixture::Day)).closed, 1);
    EXPECT_EQ(db.scalar("SELECT PRODUZ FROM ORDFABRICO WHERE ANO = '2024' AND ORDNRO = 810").toString(), "S");
    EXPECT_EQ(db.scalar("SELECT PRODUZ FROM ORDFABRICO WHERE ANO = '2023' AND ORDNRO = 810").toString(), "N");
}

TEST_P(WholeOrderClosingTest, ChecksBeforePostingTellWhatIsWrong)
{
    KV_SKIP_WITHOUT(GetParam());
    WholeBed bed(GetParam());
    bed.addOrder(811, 50, 0); // no width
    bed.addOrder(812, 50, 100, 9002); // a glue not in COLAS
    bed.list.rebuild(bed.limits);

    bed.stock.application().exec("UPDATE WORKORDFAB SET PRODUZ = 'S' WHERE ORDNRO = 812");
    EXPECT_EQ(bed.list.checkTyped(), "Verifique as confirmações de Produção - Qtd.Produzida = 0");
    bed.tick(811, 10);
    bed.tick(812, 10);
    EXPECT_EQ(bed.list.checkTyped(), "O.F. sem formato plano definido ...");
    bed.stock.application().exec("UPDATE WORKORDFAB SET PRODUZ = 'N' WHERE ORDNRO = 811");
    EXPECT_TRUE(bed.list.checkTyped().isEmpty()); // unticked rows are not checked

    StockPosting posting = bed.stock.posting();
    EXPECT_EQ(bed.list.checkMaterials(posting), 1);
    auto errors = bed.stock.application().query(
        "SELECT ORDNRO, CODTAB, DETAIL, DESIGNACAO, ERRO FROM ACTUALFECHOOF WHERE UTIL = 'ANA' ORDER BY DETAIL");
    ASSERT_EQ(errors.rows.size(), 1u);
    EXPECT_EQ(errors.value(0, "ORDNRO").toInt(), 812);
    EXPECT_EQ(errors.value(0, "CODTAB").toInt(), 9002);
    EXPECT_EQ(errors.value(0, "DESIGNACAO").toString(), "");
    EXPECT_EQ(errors.value(0, "ERRO").toString(), "Cola Inexistente ...");

    // Mended: a glue that is no stock article, a quote without units per
    // sheet and a finished article that is no stock article are reported.
    insertRows(bed.stock.application(), "COLAS", {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "TIPOCALC"},
               {{9002, "COLA-X", "Cola branca", 20, "2"}});
    bed.stock.application().exec("UPDATE ORCMAS SET UNDPLANO = 0 WHERE CODIGO = 8812");
    bed.stock.application().exec("UPDATE WORKORDFAB SET ARTIGO = 'NAO-HA' WHERE ORDNRO = 812");
    EXPECT_EQ(bed.list.checkMaterials(posting), 3);
    errors = bed.stock.application().query("SELECT ERRO FROM ACTUALFECHOOF WHERE UTIL = 'ANA' ORDER BY DETAIL");
    EXPECT_EQ(errors.value(0, "ERRO").toString(), "Unidades por Plano Inexistentes ...");
    EXPECT_EQ(errors.value(1, "ERRO").toString(), "Artigo Inexistente : COLA-X");
    EXPECT_EQ(errors.value(2, "ERRO").toString(), "Artigo Inexistente : NAO-HA");
}

KV_ENGINE_SUITE(WholeOrderClosingTest);

} // namespace
} // namespace kv::production::test
