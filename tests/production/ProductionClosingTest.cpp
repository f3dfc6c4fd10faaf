// The closing of production orders across the two databases: one document
// per run, the orders' changes, the consumed quantities, refusals and
// failures at each step finished by the next run, and a second workstation.

#include "production/StockFixture.h"

#include "support/Engines.h"
#include "support/TableRows.h"

#include <gtest/gtest.h>

#include <chrono>
#include <latch>
#include <thread>

namespace kv::production::test {
namespace {

using kv::test::Engine;

// Model "T": an issue of the board and the entry of the finished box.
ClosingOrder wholeOrder(int number, double produced = 500)
{
    ClosingOrder order;
    order.year = "2024";
    order.orderNumber = number;
    order.detail = 1;
    order.ticked = true;
    order.produced = produced;
    order.movements = {{"CART-1", 12.5, 10, 1, 5, number, StockFixture::Day},
                       {"CAIXA-1", produced, 20, 2, 5, number, StockFixture::Day}};
    return order;
}

ClosingOrder slotOrder(int number, double listed, double produced, double consumed, bool ticked = false)
{
    ClosingOrder order;
    order.year = "2024";
    order.week = "12";
    order.orderNumber = number;
    order.detail = 1;
    order.ticked = ticked;
    order.produced = produced;
    order.listedProduced = listed;
    if (consumed != 0) {
        order.consumptions = {{1, "CART-1", consumed}};
        order.movements = {{"CART-1", consumed, 10, 1, 5, number, StockFixture::Day}};
    }
    return order;
}

int count(kv::db::Connection& db, const QString& sql) { return db.scalar(sql).toInt(); }

class ProductionClosingTest : public ::testing::TestWithParam<Engine> {};

TEST_P(ProductionClosingTest, WholeOrdersGoIntoOneDocumentAndAreMarkedPosted)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addWholeOrder(501);
    f.addWholeOrder(502);
    std::vector<int> progress;
    ProductionClosing closing = f.closing(ClosingModel::WholeOrders);
    const ClosingOutcome outcome =
        closing.run({wholeOrder(501), wholeOrder(502, 300)}, [&](int percent) { progress.push_back(percent); });

    EXPECT_FALSE(outcome.stopped);
    EXPECT_EQ(outcome.document, StockFixture::FirstDocument);
    EXPECT_EQ(outcome.closed, 2);
    EXPECT_EQ(progress, (std::vector<int>{50, 100}));
    EXPECT_EQ(f.counter(), StockFixture::FirstDocument);
    const auto lines = f.invoicing().query("SELECT DOCNRO, DETAIL, ARTNRO, TRSTIP, ORDFAB FROM STKMOV ORDER BY DETAIL");
    ASSERT_EQ(lines.rows.size(), 4u);
    const char* expected[] = {"901|1|CART-1|SAI|501", "901|2|CAIXA-1|ENT|501", "901|3|CART-1|SAI|502",
                              "901|4|CAIXA-1|ENT|502"};
    for (std::size_t i = 0; i < 4; ++i) {
        QStringList values;
        for (const QVariant& v : lines.rows[i])
            values << v.toString();
        EXPECT_EQ(values.join('|'), expected[i]);
    }
    EXPECT_DOUBLE_EQ(f.value(f.invoicing(), "SELECT EXIQTD FROM ARTIGOSCLS WHERE CODIGO = 'CAIXA-1'").toDouble(), 800);
    EXPECT_DOUBLE_EQ(f.value(f.invoicing(), "SELECT EXIQTD FROM ARTIGOSCLS WHERE CODIGO = 'CART-1'").toDouble(), 75);
    EXPECT_EQ(count(f.application(), "SELECT COUNT(*) FROM ORDFABRICO WHERE PRODUZ = 'S' AND ACTSTK = 'S'"), 2);
    EXPECT_EQ(count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM OPERDIARIO WHERE ESTADO = 'C'"), 2);
    EXPECT_TRUE(f.messages.errors.isEmpty()) << f.messages.errors.join('\n').toStdString();
}

// An order stays open until ticked or produced in full; what was consumed
// accumulates over the closings, each run in a document of its own.
TEST_P(ProductionClosingTest, SlotOrdersClosePartlyThenInFull)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addSlotOrder(601, 1000, 400);
    ProductionClosing closing = f.closing(ClosingModel::OrderSlots);
    const auto order = [&] {
        return f.application().query("SELECT QTDPROD, PRODUZ FROM ORDFABDET WHERE ORDNRO = 601");
    };
    const auto consumed = [&] {
        return f.value(f.application(), "SELECT CONSUMIDO FROM ORCCONSUMOS WHERE CODIGO = 601").toDouble();
    };

    EXPECT_EQ(closing.run({slotOrder(601, 400, 300, 120)}).document, 901);
    EXPECT_DOUBLE_EQ(order().value(0, "QTDPROD").toDouble(), 700);
    EXPECT_EQ(order().value(0, "PRODUZ").toString(), "N");
    EXPECT_DOUBLE_EQ(consumed(), 120);

    EXPECT_EQ(closing.run({slotOrder(601, 700, 300, 35)}).document, 902);
    EXPECT_DOUBLE_EQ(order().value(0, "QTDPROD").toDouble(), 1000);
    EXPECT_EQ(order().value(0, "PRODUZ").toString(), "S");
    EXPECT_DOUBLE_EQ(consumed(), 155);
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV"), 2);
}

TEST_P(ProductionClosingTest, ARunWithoutConsumptionTakesNoNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addSlotOrder(601, 1000, 0);
    const ClosingOutcome outcome = f.closing(ClosingModel::OrderSlots).run({slotOrder(601, 0, 200, 0, true)});
    EXPECT_EQ(outcome.document, 0);
    EXPECT_EQ(outcome.closed, 1);
    EXPECT_EQ(f.counter(), 900);
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ FROM ORDFABDET WHERE ORDNRO = 601").toString(), "S");
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV"), 0);
}

TEST_P(ProductionClosingTest, AMissingUserStopsBeforeAnyWrite)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addWholeOrder(501);
    f.invoicing().exec("DELETE FROM UTILIZADORES");
    const ClosingOutcome outcome = f.closing(ClosingModel::WholeOrders).run({wholeOrder(501)});
    EXPECT_TRUE(outcome.stopped);
    EXPECT_EQ(f.messages.errors, QStringList{"Utilizador Inexistente : ANA"});
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ FROM ORDFABRICO WHERE ORDNRO = 501").toString(), "N");
    EXPECT_EQ(count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
}

// An article gone since the list was built: the order closes only with all
// its movements, so it stays open and nothing is posted.
TEST_P(ProductionClosingTest, AnArticleGoneUndoesTheOrdersClosing)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addWholeOrder(501);
    f.invoicing().exec("UPDATE ARTIGOSCLS SET TIPOARTIGO = '3' WHERE CODIGO = 'CAIXA-1'");
    const ClosingOutcome outcome = f.closing(ClosingModel::WholeOrders).run({wholeOrder(501)});
    EXPECT_TRUE(outcome.stopped);
    ASSERT_EQ(f.messages.errors.size(), 1);
    EXPECT_TRUE(f.messages.errors[0].contains("Artigo Inexistente : CAIXA-1")) << f.messages.errors[0].toStdString();
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ FROM ORDFABRICO WHERE ORDNRO = 501").toString(), "N");
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV"), 0);
    EXPECT_EQ(f.counter(), 900);
    EXPECT_EQ(count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
}

// A second workstation whose list still shows the order finds it closed and
// posts nothing for it.
TEST_P(ProductionClosingTest, TwoWorkstationsClosingOneOrderPostItOnce)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addWholeOrder(501);
    f.addWholeOrder(502);
    ProductionClosing first = f.closing(ClosingModel::WholeOrders);
    ProductionClosing second = f.otherWorkstation(ClosingModel::WholeOrders);
    EXPECT_EQ(first.run({wholeOrder(501)}).closed, 1);
    const ClosingOutcome outcome = second.run({wholeOrder(501), wholeOrder(502)});
    EXPECT_EQ(outcome.skipped, 1);
    EXPECT_EQ(outcome.closed, 1);
    EXPECT_EQ(f.messages.notices, QStringList{"A O.F. 501 já foi fechada noutro posto de trabalho."});
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV WHERE ORDFAB = 501"), 2);
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV WHERE ORDFAB = 502"), 2);
}

// Two workstations confirming the same order at the same moment: one closes
// it and posts its movements, the other finds it closed.
TEST_P(ProductionClosingTest, TwoWorkstationsAtOnceOnePosts)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addWholeOrder(501);
    StockMessages otherMessages;
    auto otherApplication = f.scenario.connect(f.application().alias());
    auto otherInvoicing = f.scenario.connect(f.invoicing().alias());
    ProductionClosing first = f.closing(ClosingModel::WholeOrders);
    ProductionClosing second(f.kinds, otherApplication, otherInvoicing, {"ANA", "2024", ClosingModel::WholeOrders},
                             otherMessages);
    ClosingOutcome outcomes[2];
    std::latch start(2);
    std::thread other([&] {
        start.arrive_and_wait();
        outcomes[1] = second.run({wholeOrder(501)});
    });
    start.arrive_and_wait();
    outcomes[0] = first.run({wholeOrder(501)});
    other.join();

    EXPECT_FALSE(outcomes[0].stopped || outcomes[1].stopped)
        << (f.messages.errors + otherMessages.errors).join('\n').toStdString();
    EXPECT_EQ(outcomes[0].skipped + outcomes[1].skipped, 1);
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV WHERE ORDFAB = 501"), 2);
    EXPECT_EQ(f.counter(), StockFixture::FirstDocument);
    EXPECT_DOUBLE_EQ(f.value(f.invoicing(), "SELECT EXIQTD FROM ARTIGOSCLS WHERE CODIGO = 'CAIXA-1'").toDouble(), 500);
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ || ACTSTK FROM ORDFABRICO WHERE ORDNRO = 501").toString(), "SS");
}

// Another workstation writes the line the posting chose into the same
// document before it commits: the posting waits for it, finds the key taken
// and takes the next line. (On SQLite the write transactions take turns, so
// the line is read after the other commits and never clashes.)
TEST_P(ProductionClosingTest, AClashOnADocumentLineIsRetried)
{
    if (GetParam() != Engine::Postgres)
        GTEST_SKIP() << "only the server lets two writers read the same last line";
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addWholeOrder(501);
    auto other = f.scenario.connect(f.invoicing().alias());
    auto watcher = f.scenario.connect(f.invoicing().alias());
    auto otherTransaction = std::make_unique<kv::db::Transaction>(*other);
    other->exec("INSERT INTO STKMOV (DOCNRO, DETAIL, ARTNRO, ANO) VALUES (901, 1, 'OUTRO', '2023')");

    ProductionClosing closing = f.closing(ClosingModel::WholeOrders);
    ClosingOutcome outcome;
    std::thread run([&] { outcome = closing.run({wholeOrder(501)}); });
    // Until the posting waits on the other workstation's line.
    bool waiting = false;
    for (int i = 0; i < 1000 && !waiting; ++i) {
        waiting = watcher->scalar("SELECT COUNT(*) FROM pg_stat_activity WHERE datname = current_database() AND "
                                  "wait_event_type = 'Lock'")
                      .toInt()
                  > 0;
        if (!waiting)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_TRUE(waiting);
    otherTransaction->commit();
    run.join();

    EXPECT_FALSE(outcome.stopped) << f.messages.errors.join('\n').toStdString();
    EXPECT_EQ(outcome.document, StockFixture::FirstDocument);
    EXPECT_EQ(f.counter(), StockFixture::FirstDocument);
    const auto lines = f.invoicing().query("SELECT DETAIL, ARTNRO FROM STKMOV WHERE DOCNRO = 901 ORDER BY DETAIL");
    ASSERT_EQ(lines.rows.size(), 3u);
    EXPECT_EQ(lines.value(0, "ARTNRO").toString(), "OUTRO");
    EXPECT_EQ(lines.value(1, "DETAIL").toInt() * 10 + lines.value(2, "DETAIL").toInt(), 23);
}

// Order numbers repeat across years: the closing changes the listed year's
// order only.
TEST_P(ProductionClosingTest, TheListedYearsOrderIsClosed)
{
    KV_SKIP_WITHOUT(GetParam());
    StockFixture f(GetParam());
    f.addSlotOrder(601, 1000, 0);
    kv::test::insertRows(f.application(), "ORDFABDET",
                         {"ANO", "SEMANA", "ORDNRO", "SUBORC", "DETAIL", "QUANTIDADE", "QUANTFINAL", "QTDPROD", "PRODUZ"},
                         {{"2023", "12", 601, 0, 1, 1000, 1000, 0, "N"}});
    f.addWholeOrder(501);
    kv::test::insertRows(f.application(), "ORDFABRICO", {"ANO", "ORDNRO", "SUBORC", "DETAIL", "PRODUZ", "ACTSTK"},
                         {{"2023", 501, 0, 1, "N", "N"}});
    f.closing(ClosingModel::OrderSlots).run({slotOrder(601, 0, 1000, 0)});
    f.closing(ClosingModel::WholeOrders).run({wholeOrder(501)});
    const auto rows = f.application().query("SELECT ANO, QTDPROD, PRODUZ FROM ORDFABDET WHERE ORDNRO = 601 ORDER BY ANO");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.value(0, "PRODUZ").toString() + rows.value(1, "PRODUZ").toString(), "NS");
    EXPECT_DOUBLE_EQ(rows.value(0, "QTDPROD").toDouble(), 0);
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ || ACTSTK FROM ORDFABRICO WHERE ORDNRO = 501 AND ANO = '2023'")
                  .toString(),
              "NN");
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ || ACTSTK FROM ORDFABRICO WHERE ORDNRO = 501 AND ANO = '2024'")
                  .toString(),
              "SS");
}

// A server refusal inside step 2, or a failure after either step, leaves the
// closing pending; the next run finishes it and posts every movement once.
struct StepFailure {
    const char* label;
    bool application; // the database the failure is forced in
    const char* table;
    const char* event;
    int movementsLeft; // after the failed run
};

class ClosingFailureTest : public ::testing::TestWithParam<std::tuple<StepFailure, Engine>> {};

TEST_P(ClosingFailureTest, TheNextRunFinishesTheClosingOnce)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    StockFixture f(engine);
    f.addWholeOrder(501);
    kv::db::Connection& target = c.application ? f.application() : f.invoicing();
    const QString table = QString::fromLatin1(c.table);
    const QString event = QString::fromLatin1(c.event);
    if (engine == Engine::Postgres) {
        target.exec("CREATE FUNCTION kv_forced_failure() RETURNS trigger AS $$ BEGIN RAISE EXCEPTION 'falha forçada'; "
                    "END $$ LANGUAGE plpgsql");
        target.exec(QString("CREATE TRIGGER kv_fail BEFORE %1 ON %2 FOR EACH ROW EXECUTE FUNCTION kv_forced_failure()")
                        .arg(event, table));
    } else {
        target.exec(QString("CREATE TRIGGER kv_fail BEFORE %1 ON %2 BEGIN SELECT RAISE(ABORT, 'falha forçada'); END")
                        .arg(event, table));
    }

    ProductionClosing closing = f.closing(ClosingModel::WholeOrders);
    const ClosingOutcome failed = closing.run({wholeOrder(501), wholeOrder(502)});
    EXPECT_TRUE(failed.stopped);
    ASSERT_EQ(f.messages.errors.size(), 1);
    EXPECT_TRUE(f.messages.errors[0].contains("falha forçada")) << f.messages.errors[0].toStdString();
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV"), c.movementsLeft);
    EXPECT_EQ(f.counter(), c.movementsLeft == 0 ? 900 : 901);
    EXPECT_EQ(count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 1);
    EXPECT_EQ(f.value(f.application(), "SELECT ACTSTK FROM ORDFABRICO WHERE ORDNRO = 501").toString(), "N");

    target.exec(engine == Engine::Postgres ? QString("DROP TRIGGER kv_fail ON %1").arg(table)
                                           : QString("DROP TRIGGER kv_fail"));
    f.messages.errors.clear();
    const ClosingOutcome again = closing.run({});
    EXPECT_FALSE(again.stopped);
    EXPECT_TRUE(f.messages.errors.isEmpty()) << f.messages.errors.join('\n').toStdString();
    EXPECT_EQ(count(f.invoicing(), "SELECT COUNT(*) FROM STKMOV WHERE DOCNRO = 901"), 2);
    EXPECT_EQ(f.counter(), 901);
    EXPECT_EQ(count(f.application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 0);
    EXPECT_EQ(f.value(f.application(), "SELECT PRODUZ || ACTSTK FROM ORDFABRICO WHERE ORDNRO = 501").toString(), "SS");
    EXPECT_DOUBLE_EQ(f.value(f.invoicing(), "SELECT EXIQTD FROM ARTIGOSCLS WHERE CODIGO = 'CAIXA-1'").toDouble(), 500);
}

const StepFailure stepFailures[] = {
    {"movement_refused_in_step_2", false, "STKMOV", "INSERT", 0},
    {"journal_refused_after_step_1", false, "OPERDIARIO", "INSERT", 0},
    {"failure_after_step_2", true, "OPERPENDENTE", "DELETE", 2},
};

INSTANTIATE_TEST_SUITE_P(Closing, ClosingFailureTest,
                         ::testing::Combine(::testing::ValuesIn(stepFailures), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<StepFailure>);

KV_ENGINE_SUITE(ProductionClosingTest);

} // namespace
} // namespace kv::production::test
