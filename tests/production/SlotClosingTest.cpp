// The closing of ORDFABDET orders from typed consumptions: the lists, the
// checks before posting, partial and final closings and the document.

#include "production/StockFixture.h"

#include "production/core/SlotClosing.h"
#include "support/Engines.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

namespace kv::production::test {
namespace {

using kv::test::Engine;
using kv::test::insertRows;

// The stock fixture with the issue parameters, and orders of numbers 700 on
// (quote 700 + number) delivered on the fixture's day.
struct SlotBed {
    explicit SlotBed(Engine engine) : stock(engine)
    {
        stock.application().exec("UPDATE ORCPARGER SET TRS_SAIDA = 10, ARM_SAIDA = 1 WHERE CODIGO = 1");
        limits.orderFrom = 700;
        limits.orderTo = 799;
        limits.deliveryFrom = StockFixture::Day;
        limits.deliveryTo = StockFixture::Day;
    }

    // An open order with its quote row (unless `withQuote` is false) and
    // the planned lines given as (line, table type, article).
    void addOrder(int number, double quantity, double produced, bool withQuote = true,
                  std::vector<std::tuple<int, int, QString>> lines = {{1, 8, "CART-1"}},
                  const QString& year = "2024", const QString& week = "12")
    {
        insertRows(stock.application(), "ORDFABDET",
                   {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "ORCNRO", "CLINRO", "ARTIGO", "DATAENT",
                    "QUANTIDADE", "QUANTFINAL", "QTDPROD", "PRODUZ"},
                   {{year, week, number, 0, 1, 7000 + number, 5, "CAIXA-1", QDateTime(StockFixture::Day, QTime(0, 0)),
                     quantity, quantity, produced, "N"}});
        if (withQuote && !stock.application().scalar("SELECT CODIGO FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = 0",
                                                     {{"C", 7000 + number}}).isValid())
            insertRows(stock.application(), "ORCMAS", {"CODIGO", "SUBCODIGO", "CARTOLINA"}, {{7000 + number, 0, 3}});
        for (const auto& [line, type, article] : lines)
            insertRows(stock.application(), "ORCCONSUMOS",
                       {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "ARTIGO"},
                       {{year, number, 0, 1, line, type, article}});
    }

    // What the user types: produced quantity and tick of an order.
    void type(int number, double produced, bool ticked)
    {
        stock.application().exec("UPDATE WORKORDFAB SET QTDPROD = :Q, PRODUZ = :P WHERE UTIL = 'ANA' AND ORDNRO = :N",
                                  {{"Q", produced}, {"P", ticked ? "S" : "N"}, {"N", number}});
    }
    void consume(int number, int line, double quantity)
    {
        stock.application().exec("UPDATE WORKORDFABDET SET QUANTIDADE = :Q WHERE UTIL = 'ANA' AND ORDNRO = :N "
                                  "AND WRK_DETAIL = :L",
                                  {{"Q", quantity}, {"N", number}, {"L", line}});
    }

    ClosingOutcome run()
    {
        ProductionClosing closing = stock.closing(ClosingModel::OrderSlots);
        return closing.run(list.orders(StockFixture::Day));
    }

    QString order(int number)
    {
        const auto row = stock.application().query(
            "SELECT QTDPROD, PRODUZ FROM ORDFABDET WHERE ORDNRO = :N", {{"N", number}});
        return row.value(0, "QTDPROD").toString() + "|" + row.value(0, "PRODUZ").toString();
    }

    StockFixture stock;
    SlotClosing list{stock.application(), "ANA"};
    ClosingLimits limits;
};

class SlotClosingTest : public ::testing::TestWithParam<Engine> {};

TEST_P(SlotClosingTest, ListsWhatIsLeftToProduceAndTheBoardLines)
{
    KV_SKIP_WITHOUT(GetParam());
    SlotBed bed(GetParam());
    bed.addOrder(701, 1000, 400, true, {{1, 8, "CART-1"}, {2, 4, "COLA-1"}});
    bed.addOrder(702, 500, 0, false);
    bed.list.rebuild(bed.limits);

    const auto listed = bed.stock.application().query(
        "SELECT ANO, SEMANA, ORDNRO, QUANTIDADE, QTDPROD, CCOL_MAT1, CCOL_TMAT1 FROM WORKORDFAB WHERE UTIL = 'ANA'");
    ASSERT_EQ(listed.rows.size(), 1u); // the order without a quote row is not listed
    EXPECT_EQ(listed.value(0, "ORDNRO").toInt(), 701);
    EXPECT_EQ(listed.value(0, "ANO").toString(), "2024");
    EXPECT_DOUBLE_EQ(listed.value(0, "QUANTIDADE").toDouble(), 600);
    EXPECT_DOUBLE_EQ(listed.value(0, "QTDPROD").toDouble(), 0);
    EXPECT_EQ(listed.value(0, "CCOL_MAT1").toInt(), 3);
    EXPECT_EQ(listed.value(0, "CCOL_TMAT1").toInt(), 8);
    const auto lines = bed.stock.application().query("SELECT WRK_DETAIL, ARTIGO FROM WORKORDFABDET WHERE UTIL = 'ANA'");
    ASSERT_EQ(lines.rows.size(), 1u); // boards only
    EXPECT_EQ(lines.value(0, "ARTIGO").toString(), "CART-1");
}

// One number, sub-quote and slot in three years and two weeks: each order is
// listed and closed on its own, with its own consumption lines.
TEST_P(SlotClosingTest, OrdersSharingANumberAcrossWeeksAndYearsCloseApart)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        const char* year;
        const char* week;
        bool withLine;
        double produced; // typed
        bool ticked;
        double consumed; // typed on line 1
        const char* expected; // QTDPROD|PRODUZ after the run
    };
    const Case cases[] = {{"2024", "12", true, 0, false, 0, "0|N"},
                          {"2023", "12", true, 300, true, 5, "300|S"},
                          {"2025", "13", false, 100, false, 0, "100|N"}};
    SlotBed bed(GetParam());
    for (const Case& c : cases)
        bed.addOrder(750, 1000, 0, true,
                     c.withLine ? std::vector<std::tuple<int, int, QString>>{{1, 8, "CART-1"}}
                                : std::vector<std::tuple<int, int, QString>>{},
                     c.year, c.week);
    bed.list.rebuild(bed.limits);
    kv::db::Connection& db = bed.stock.application();
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM WORKORDFAB WHERE UTIL = 'ANA'").toInt(), 3);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM WORKORDFABDET WHERE UTIL = 'ANA'").toInt(), 2);
    for (const Case& c : cases) {
        const kv::db::Params key{{"A", c.year}, {"S", c.week}, {"Q", c.produced}, {"P", c.ticked ? "S" : "N"},
                                 {"C", c.consumed}};
        db.exec("UPDATE WORKORDFAB SET QTDPROD = :Q, PRODUZ = :P WHERE UTIL = 'ANA' AND ANO = :A AND SEMANA = :S", key);
        db.exec("UPDATE WORKORDFABDET SET QUANTIDADE = :C WHERE UTIL = 'ANA' AND ANO = :A AND SEMANA = :S", key);
    }
    const ClosingOutcome outcome = bed.run();
    EXPECT_FALSE(outcome.stopped);
    for (const Case& c : cases) {
        const kv::db::Params key{{"A", c.year}, {"S", c.week}};
        const auto row = db.query("SELECT QTDPROD, PRODUZ FROM ORDFABDET WHERE ANO = :A AND SEMANA = :S AND ORDNRO = 750",
                                  key);
        EXPECT_EQ(row.value(0, "QTDPROD").toString() + "|" + row.value(0, "PRODUZ").toString(), c.expected)
            << c.year << "/" << c.week;
        if (c.withLine) {
            EXPECT_DOUBLE_EQ(
                db.scalar("SELECT COALESCE(CONSUMIDO, 0) FROM ORCCONSUMOS WHERE ANO = :A AND CODIGO = 750", key)
                    .toDouble(),
                c.consumed)
                << c.year;
        }
    }

    bed.list.rebuild(bed.limits); // the closed order leaves the list, the others stay
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM WORKORDFAB WHERE UTIL = 'ANA' AND ANO = '2023'").toInt(), 0);
    EXPECT_EQ(db.scalar("SELECT COUNT(*) FROM WORKORDFAB WHERE UTIL = 'ANA'").toInt(), 2);
}

TEST_P(SlotClosingTest, PartialAndFinalClosings)
{
    KV_SKIP_WITHOUT(GetParam());
    struct Case {
        double produced;
        bool ticked;
        const char* expected; // QTDPROD|PRODUZ
    };
    const Case cases[] = {{600, false, "1000|S"}, {300, false, "700|N"}, {100, true, "500|S"}};
    SlotBed bed(GetParam());
    for (int number = 710; number < 713; ++number)
        bed.addOrder(number, 1000, 400);
    bed.list.rebuild(bed.limits);
    int number = 710;
    for (const Case& c : cases)
        bed.type(number++, c.produced, c.ticked);
    EXPECT_TRUE(bed.list.checkProduced().isEmpty());
    const ClosingOutcome outcome = bed.run();
    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.document, 0); // no consumption: no document number taken
    EXPECT_EQ(bed.stock.counter(), 900);
    number = 710;
    for (const Case& c : cases)
        EXPECT_EQ(bed.order(number++), c.expected) << c.produced;

    bed.list.rebuild(bed.limits);
    EXPECT_DOUBLE_EQ(
        bed.stock.application().scalar("SELECT QUANTIDADE FROM WORKORDFAB WHERE UTIL = 'ANA' AND ORDNRO = 711").toDouble(),
        300);
    EXPECT_EQ(bed.stock.application().scalar("SELECT COUNT(*) FROM WORKORDFAB WHERE UTIL = 'ANA'").toInt(), 1);
}

TEST_P(SlotClosingTest, TwoBoardLinesGoIntoOneDocumentAndRaiseTheirConsumption)
{
    KV_SKIP_WITHOUT(GetParam());
    SlotBed bed(GetParam());
    bed.addOrder(720, 1000, 0, true, {{1, 8, "CART-1"}, {2, 8, "CART-1"}});
    bed.list.rebuild(bed.limits);
    bed.type(720, 200, false);
    bed.consume(720, 1, 120);
    bed.consume(720, 2, 35);
    StockPosting posting = bed.stock.posting();
    EXPECT_EQ(bed.list.checkConsumptions(posting), 0);
    const ClosingOutcome outcome = bed.run();
    EXPECT_EQ(outcome.document, StockFixture::FirstDocument);
    const auto moves = bed.stock.invoicing().query("SELECT DOCNRO, QUANTIDADE FROM STKMOV ORDER BY DETAIL");
    ASSERT_EQ(moves.rows.size(), 2u);
    EXPECT_DOUBLE_EQ(moves.value(0, "QUANTIDADE").toDouble(), 120);
    EXPECT_DOUBLE_EQ(moves.value(1, "QUANTIDADE").toDouble(), 35);
    EXPECT_EQ(moves.value(1, "DOCNRO").toInt(), StockFixture::FirstDocument);
    const auto consumed =
        bed.stock.application().query("SELECT CONSUMIDO FROM ORCCONSUMOS WHERE CODIGO = 720 ORDER BY DETAIL");
    EXPECT_DOUBLE_EQ(consumed.value(0, "CONSUMIDO").toDouble(), 120);
    EXPECT_DOUBLE_EQ(consumed.value(1, "CONSUMIDO").toDouble(), 35);
    EXPECT_EQ(bed.order(720), "200|N");
}

TEST_P(SlotClosingTest, ChecksBeforePostingStopTheRun)
{
    KV_SKIP_WITHOUT(GetParam());
    SlotBed bed(GetParam());
    bed.addOrder(730, 1000, 0, true, {{1, 8, "NAO-HA"}, {2, 8, "CART-1"}});
    bed.list.rebuild(bed.limits);

    bed.type(730, 0, true);
    EXPECT_EQ(bed.list.checkProduced(), "Verifique as confirmações de Produção - Qtd.Produzida = 0");
    bed.type(730, 0, false);
    EXPECT_TRUE(bed.list.checkProduced().isEmpty()); // unticked rows are not checked

    StockPosting posting = bed.stock.posting();
    bed.consume(730, 1, 10);
    bed.consume(730, 2, 5);
    EXPECT_EQ(bed.list.checkConsumptions(posting), 1);
    bed.stock.application().exec("UPDATE ORCPARGER SET TRS_SAIDA = 99, ARM_SAIDA = 98 WHERE CODIGO = 1");
    EXPECT_EQ(bed.list.checkConsumptions(posting), 3); // rows written afresh
    const auto errors = bed.stock.application().query(
        "SELECT ORDNRO, CODTAB, DETAIL, ERRO FROM ACTUALFECHOOF WHERE UTIL = 'ANA' ORDER BY DETAIL");
    ASSERT_EQ(errors.rows.size(), 3u);
    EXPECT_EQ(errors.value(0, "ERRO").toString(), "Cod.Movimento de Saida inexistente ...99");
    EXPECT_EQ(errors.value(1, "ERRO").toString(), "Armazem Matéria Prima Inexistente 98");
    EXPECT_EQ(errors.value(2, "ERRO").toString(), "Artigo Inexistente -> NAO-HA");
    EXPECT_EQ(errors.value(2, "ORDNRO").toInt(), 730);
    EXPECT_EQ(errors.value(2, "CODTAB").toInt(), 0);
}

TEST_P(SlotClosingTest, CancelDropsTicksQuantitiesAndConsumptions)
{
    KV_SKIP_WITHOUT(GetParam());
    SlotBed bed(GetParam());
    bed.addOrder(740, 1000, 0);
    bed.list.rebuild(bed.limits);
    bed.type(740, 50, true);
    bed.consume(740, 1, 10);
    bed.list.cancel();
    EXPECT_EQ(bed.stock.application().scalar("SELECT PRODUZ FROM WORKORDFAB WHERE ORDNRO = 740").toString(), "N");
    EXPECT_DOUBLE_EQ(bed.stock.application().scalar("SELECT QUANTIDADE FROM WORKORDFABDET WHERE ORDNRO = 740").toDouble(),
                     0);
}

KV_ENGINE_SUITE(SlotClosingTest);

} // namespace
} // namespace kv::production::test
