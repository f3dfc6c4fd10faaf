// Closing 500 production orders of five movements each (four material
// issues and the finished-goods entry, about 2,500 movements) into a large
// STKMOV through the two-database closing, against the same reads, inserts
// and updates as bare statements, one transaction per order, on both engines.
#include "production/core/ProductionClosing.h"
#include "support/BenchDatabase.h"
#include "support/EmbeddedDatabase.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"

#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace kv::production;
using kv::db::Dialect;

namespace {

constexpr int Orders = 500;
constexpr int Articles = 20000;
const QDate Day(2024, 3, 20);

class Quiet : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { last = text; }
    void information(const QString&) override {}
    QString last;
};

QString article(int n) { return QStringLiteral("A%1").arg(n % Articles); }

struct Plant {
    kv::bench::BenchDatabase applicationDb;
    kv::bench::BenchDatabase invoicingDb;
    std::shared_ptr<kv::db::Connection> application;
    std::shared_ptr<kv::db::Connection> invoicing;
    kv::db::TwoDatabaseKinds kinds;
    int nextOrder = 1;
    int nextRawDocument = 5000000;

    Plant(Dialect dialect, int movements)
        : applicationDb(dialect, QStringLiteral("kv_bench_closing_app"), QStringLiteral("BDESPECIF01")),
          invoicingDb(dialect, QStringLiteral("kv_bench_closing_inv"), QStringLiteral("BDFACTURA")),
          application(applicationDb.connection), invoicing(invoicingDb.connection)
    {
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        schema.create(*application, kv::schema::Database::Application);
        schema.create(*invoicing, kv::schema::Database::Invoicing);
        if (!application->tableExists(QStringLiteral("ORDFABRICO")))
            application->exec(QStringLiteral(
                "CREATE TABLE ORDFABRICO (ANO VARCHAR(4) NOT NULL, ORDNRO INTEGER NOT NULL, SUBORC INTEGER NOT NULL, "
                "DETAIL INTEGER NOT NULL, PRODUZ VARCHAR(1), ACTSTK VARCHAR(1), PRIMARY KEY (ANO, ORDNRO, SUBORC, DETAIL))"));
        fill(movements);
        kinds.add(ProductionClosing::kind());
    }

    void fill(int movements)
    {
        kv::db::Connection& inv = *invoicing;
        kv::db::Transaction t(inv);
        inv.exec("INSERT INTO PARGER (ANO, CALCULOPMC) VALUES ('2024', '1')");
        inv.exec("INSERT INTO UTILIZADORES (NRO, STKMTPDOCNRO) VALUES ('BENCH', 900)");
        inv.exec("INSERT INTO STKARMAZEM (CODIGO, NOME) VALUES (1, 'MP')");
        inv.exec("INSERT INTO STKARMAZEM (CODIGO, NOME) VALUES (2, 'PA')");
        inv.exec("INSERT INTO STKTRS (TRSCOD, REDNOM, TRSTIP, DEVOLUCAO, TRSCALC, PMCUST, PULENT, CONSUMO) "
                 "VALUES (10, 'Saida', 'S', 'N', '3', 'S', 'N', 'S')");
        inv.exec("INSERT INTO STKTRS (TRSCOD, REDNOM, TRSTIP, DEVOLUCAO, TRSCALC, PMCUST, PULENT, CONSUMO) "
                 "VALUES (20, 'Entrada', 'E', 'N', '1', 'S', 'S', 'N')");
        inv.exec(kv::bench::numbers(Articles)
                 + QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, GRELHA, EXIQTD, EXIVAL, "
                                "PMCUSTO, PULENTRA, CUSTOPADRAO) SELECT 'A' || (I - 1), 'Artigo', '6', 'N', 1000000, 2000000, "
                                "2, 2, 2 FROM N"));
        inv.exec(kv::bench::numbers(movements)
                     + QStringLiteral("INSERT INTO STKMOV (DOCNRO, DETAIL, ARTNRO, DATMOV, SEQNRO, ARTIGOSMES, ANO, MES, "
                                "TRSCOD, TRSTIP, QUANTIDADE, PRECO, VALOR) SELECT 1 + I / 100, 1 + I % 100, "
                                "'A' || (I % %1), :D, 1 + I / %1, 0, '2024', '01', 10, 'SAI', 1, 2, 2 FROM N")
                           .arg(Articles),
                 {{"D", QDate(2024, 1, 15).startOfDay()}});
        t.commit();
    }

    // 500 open orders, each with four material issues and one entry.
    std::vector<ClosingOrder> openOrders()
    {
        std::vector<ClosingOrder> orders;
        kv::db::Transaction t(*application);
        for (int i = 0; i < Orders; ++i) {
            const int number = nextOrder++;
            application->exec("INSERT INTO ORDFABRICO (ANO, ORDNRO, SUBORC, DETAIL, PRODUZ, ACTSTK) "
                              "VALUES ('2024', :N, 0, 1, 'N', 'N')",
                              {{"N", number}});
            ClosingOrder order;
            order.year = QStringLiteral("2024");
            order.orderNumber = number;
            order.detail = 1;
            order.ticked = true;
            for (int m = 0; m < 4; ++m)
                order.movements.push_back({article(number * 7 + m), 3.5, 10, 1, 5, number, Day});
            order.movements.push_back({article(number * 7 + 4), 1000, 20, 2, 5, number, Day});
            orders.push_back(std::move(order));
        }
        t.commit();
        return orders;
    }
};

std::map<std::pair<Dialect, int>, std::unique_ptr<Plant>>& plants()
{
    static std::map<std::pair<Dialect, int>, std::unique_ptr<Plant>> all;
    return all;
}

Plant* plantFor(benchmark::State& state)
{
    if (!kv::bench::engineAvailable(state))
        return nullptr;
    const Dialect dialect = kv::bench::dialectOf(state);
    const std::pair<Dialect, int> key{dialect, static_cast<int>(state.range(1))};
    if (!plants().count(key)) {
        plants().clear(); // one large pair of databases at a time
        plants()[key] = std::make_unique<Plant>(dialect, key.second);
    }
    return plants()[key].get();
}

void report(benchmark::State& state)
{
    state.SetItemsProcessed(static_cast<int64_t>(state.iterations()) * Orders * 5);
}

void BM_Closing(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    Quiet quiet;
    ProductionClosing closing(plant->kinds, plant->application, plant->invoicing,
                              {QStringLiteral("BENCH"), QStringLiteral("2024"), ClosingModel::WholeOrders}, quiet);
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<ClosingOrder> orders = plant->openOrders();
        state.ResumeTiming();
        if (closing.run(orders).stopped) {
            state.SkipWithError(quiet.last.toStdString().c_str());
            return;
        }
    }
    report(state);
}

// The same statements without the closing: the order's changes in one
// application transaction, its movements in one invoicing transaction.
void BM_Closing_Raw(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& app = *plant->application;
    kv::db::Connection& inv = *plant->invoicing;
    const QString lock = inv.dialect() == Dialect::Postgres ? QStringLiteral(" FOR UPDATE") : QString();
    for (auto _ : state) {
        state.PauseTiming();
        const std::vector<ClosingOrder> orders = plant->openOrders();
        state.ResumeTiming();
        const int document = plant->nextRawDocument++;
        int line = 1;
        for (const ClosingOrder& order : orders) {
            const kv::db::Params key{{"N", order.orderNumber}};
            {
                kv::db::Transaction t(app);
                app.exec("UPDATE ORDFABRICO SET PRODUZ = 'S' WHERE ANO = '2024' AND ORDNRO = :N AND SUBORC = 0 AND "
                         "DETAIL = 1 AND PRODUZ = 'N'",
                         key);
                t.commit();
            }
            {
                kv::db::Transaction t(inv);
                if (line == 1)
                    inv.exec("UPDATE UTILIZADORES SET STKMTPDOCNRO = STKMTPDOCNRO + 1 WHERE NRO = 'BENCH'");
                inv.scalar("SELECT MAX(DETAIL) FROM STKMOV WHERE DOCNRO = :D", {{"D", document}});
                for (const StockMovement& m : order.movements) {
                    const kv::db::Params art{{"A", m.article}};
                    inv.query("SELECT TRSTIP, DEVOLUCAO, TRSCALC, PMCUST, PULENT, CONSUMO, REDNOM FROM STKTRS "
                              "WHERE TRSCOD = :T",
                              {{"T", m.transaction}});
                    inv.query("SELECT EXIQTD, EXIVAL, PMCUSTO, PULENTRA, CUSTOPADRAO FROM ARTIGOSCLS WHERE CODIGO = :A"
                                  + lock,
                              art);
                    const kv::db::Params w{
                        {"A", m.article}, {"W", m.warehouse}, {"Q", m.quantity}, {"V", m.quantity * 2}};
                    inv.exec("INSERT INTO STKARTGARMZ (ARTIGO, ANO, CODIGO, EXIQTD00, EXIVAL00, EXIQTD, EXIVAL) "
                             "VALUES (:A, '2024', :W, 0, 0, 0, 0) ON CONFLICT (ARTIGO, ANO, CODIGO) DO NOTHING",
                             w);
                    inv.exec("UPDATE STKARTGARMZ SET EXIQTD = EXIQTD - :Q, EXIVAL = EXIVAL - :V WHERE ARTIGO = :A "
                             "AND ANO = '2024' AND CODIGO = :W",
                             w);
                    const int sequence = inv.scalar("SELECT MAX(SEQNRO) FROM STKMOV WHERE ARTNRO = :A AND DATMOV = :D",
                                                    {{"A", m.article}, {"D", m.date.startOfDay()}})
                                             .toInt()
                                         + 1;
                    inv.exec("INSERT INTO STKMOV (DOCNRO, DETAIL, ARTNRO, DATMOV, SEQNRO, ARTIGOSMES, ANO, MES, TRSCOD, "
                             "TRSTIP, QUANTIDADE, PRECO, VALOR, ORDFAB, CLINRO, ARMNRO_1) VALUES (:DOC, :L, :A, :D, :S, "
                             "0, '2024', '03', :T, 'SAI', :Q, 2, :V, :O, 5, :W)",
                             {{"DOC", document},
                              {"L", line++},
                              {"A", m.article},
                              {"D", m.date.startOfDay()},
                              {"S", sequence},
                              {"T", m.transaction},
                              {"Q", m.quantity},
                              {"V", m.quantity * 2},
                              {"O", m.order},
                              {"W", m.warehouse}});
                    inv.exec("UPDATE STKMOV SET ARTIGOSMES = 0 WHERE ANO = '2024' AND MES = '03' AND ARTNRO = :A AND "
                             "ARTIGOSMES <> 0",
                             art);
                    inv.query("SELECT DOCNRO, DETAIL, SEQNRO FROM STKMOV WHERE ANO = '2024' AND MES = '03' AND "
                              "ARTNRO = :A ORDER BY DATMOV DESC, SEQNRO DESC LIMIT 1",
                              art);
                    inv.exec("UPDATE STKMOV SET ARTIGOSMES = 1 WHERE DOCNRO = :DOC AND DETAIL = :L",
                             {{"DOC", document}, {"L", line - 1}});
                    inv.exec("UPDATE ARTIGOSCLS SET EXIQTD = EXIQTD - :Q, EXIVAL = EXIVAL - :V, PMCUSTO = 2, "
                             "PULENTRA = 2 WHERE CODIGO = :A",
                             w);
                }
                t.commit();
            }
            {
                kv::db::Transaction t(app);
                app.exec("UPDATE ORDFABRICO SET ACTSTK = 'S' WHERE ANO = '2024' AND ORDNRO = :N AND SUBORC = 0 AND "
                         "DETAIL = 1",
                         key);
                t.commit();
            }
        }
    }
    report(state);
}

} // namespace

// Arguments: engine (0 SQLite, 1 PostgreSQL), movements already stored; each
// pair of databases serves the closing and its raw twin before the next one
// is built.
int main(int argc, char** argv)
{
    const auto registerAll = [] {
        for (int engine : {0, 1})
            for (int movements : {200000, 2000000})
                for (const auto& [name, function] :
                     {std::pair{"BM_Closing", &BM_Closing}, std::pair{"BM_Closing_Raw", &BM_Closing_Raw}})
                    benchmark::RegisterBenchmark(name, function)
                        ->Args({engine, movements})
                        ->Iterations(1)
                        ->Unit(benchmark::kMillisecond);
    };
    return kv::bench::runBenchmarks(argc, argv, registerAll, [] { plants().clear(); });
}
