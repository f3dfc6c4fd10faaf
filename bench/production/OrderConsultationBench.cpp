// The production-order consultation's reads at the volumes of a plant
// (20,000 orders a year over three years, 500,000 planned consumption
// lines), on SQLite (file) and PostgreSQL (the test server): the list as it
// opens on the default limits (a month back, a year ahead) and a search of
// one order number, each with its count, and twenty orders' consumption read
// by key, each against the bare statements returning the same rows through
// the connection.
#include "production/core/OrderConsultation.h"
#include "schema/Schema.h"
#include "support/BenchDatabase.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>
#include <map>

using namespace kv::production;
using kv::db::Dialect;

namespace {

constexpr int OrdersAYear = 20000;
const QStringList Years{QStringLiteral("2022"), QStringLiteral("2023"), QStringLiteral("2024")};
constexpr int LinesPerOrder = 8; // 60,000 orders x 8 = 480,000 consumption lines
constexpr int Window = kv::db::WindowedList::RowsBefore + kv::db::WindowedList::RowsAfter; // read as it opens
const QDate Today(2024, 6, 15);

// Orders spread over their year's weeks, produced but for the last months;
// eight consumption lines each, copied from the orders in one statement.
void fill(kv::db::Connection& db)
{
    kv::schema::Schema::standard().create(db, kv::schema::Database::Application);
    kv::db::Transaction tx(db);
    for (int y = 0; y < Years.size(); ++y) {
        const QDate first(Years[y].toInt(), 1, 1);
        for (int n = 1; n <= OrdersAYear; ++n) {
            const QDate production = first.addDays(n * 365 / OrdersAYear);
            const bool produced = production < Today.addDays(-60);
            db.exec("INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, ORCNRO, CLINRO, CLISIGLA, "
                    "ARTIGO, DESIGNACAO, QUANTIDADE, UNVEND, DATAENT, DATAPROD, SEMANAPROD, PRODUZ, IMPR) VALUES (:A, "
                    ":S, :N, 0, 1, :N, :N, :C, 'CLIENTE', :Art, 'Caixa', 1000, 'UN', :E, :P, :SP, :Pr, 'N')",
                    {{"A", Years[y]},
                     {"S", QStringLiteral("%1").arg(1 + n * 52 / OrdersAYear, 2, 10, QLatin1Char('0'))},
                     {"N", n},
                     {"C", 1 + (n * 7919) % 5000},
                     {"Art", QStringLiteral("ART%1").arg(n % 8000, 6, 10, QLatin1Char('0'))},
                     {"E", production.addDays(3).startOfDay()},
                     {"P", production.startOfDay()},
                     {"SP", QStringLiteral("%1").arg(1 + production.dayOfYear() / 7, 2, 10, QLatin1Char('0'))},
                     {"Pr", produced ? QStringLiteral("S") : QStringLiteral("N")}});
        }
    }
    QStringList lines;
    for (int d = 1; d <= LinesPerOrder; ++d)
        lines << QStringLiteral("SELECT %1 AS K").arg(d);
    db.exec(QStringLiteral("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOCUSTO, ARTIGO, "
                           "DESIGN, UNIDADE, CONSUMO) SELECT O.ANO, O.ORDNRO, O.SUBORC, O.DETAIL, L.K, "
                           "CASE WHEN L.K < 6 THEN 'MP' ELSE 'CM' END, 'MAT' || L.K, 'Material', 'KGS', 12.5 "
                           "FROM ORDFABDET O, (%1) L")
                .arg(lines.join(QStringLiteral(" UNION ALL "))));
    tx.commit();
    if (db.dialect() == Dialect::Postgres)
        db.exec(QStringLiteral("ANALYZE"));
}

struct Plants {
    std::map<Dialect, std::unique_ptr<kv::bench::BenchDatabase>> plants;

    std::shared_ptr<kv::db::Connection> get(Dialect dialect)
    {
        auto& plant = plants[dialect];
        if (!plant) {
            plant = std::make_unique<kv::bench::BenchDatabase>(dialect, QStringLiteral("kv_bench_prodcons"),
                                                               QStringLiteral("BDESPECIF01"));
            fill(*plant->connection);
        }
        return plant->connection;
    }
};

Plants& plants()
{
    static Plants instance;
    return instance;
}

std::shared_ptr<kv::db::Connection> plantFor(benchmark::State& state)
{
    const Dialect dialect = state.range(0) == 0 ? Dialect::Sqlite : Dialect::Postgres;
    if (dialect == Dialect::Postgres && !kv::bench::hasServer()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    state.SetLabel(dialect == Dialect::Sqlite ? "sqlite" : "pg");
    return plants().get(dialect);
}

// range(1): 0 the default limits, 1 one order number over every date.
OrderSelection selectionOf(const benchmark::State& state)
{
    OrderSelection s = OrderSelection::defaults(Today);
    if (state.range(1) == 1) {
        s.numberFrom = s.numberTo = 15321;
        s.deliveryFrom = s.productionFrom = QDate(2000, 1, 1);
        s.deliveryTo = s.productionTo = QDate(2030, 12, 31);
    }
    return s;
}

void BM_List(benchmark::State& state)
{
    const auto db = plantFor(state);
    if (!db)
        return;
    const OrderSelection s = selectionOf(state);
    kv::db::Dataset list(QStringLiteral("ORDFABDET"));
    list.setMode(kv::db::DatasetMode::ReadOnly);
    list.setConnection(db);
    kv::db::WindowedList window(list, {});
    for (auto _ : state) {
        OrderConsultation::open(window, OrderModel::Slots, s);
        benchmark::DoNotOptimize(list.fetchedCount());
        benchmark::DoNotOptimize(OrderConsultation::count(window, OrderModel::Slots, s));
    }
}

void BM_List_Bare(benchmark::State& state)
{
    const auto db = plantFor(state);
    if (!db)
        return;
    const OrderSelection s = selectionOf(state);
    const QString sql = OrderConsultation::listSql(OrderModel::Slots, s, db->dialect());
    const QString first = sql + QStringLiteral(" LIMIT %1").arg(Window);
    const QString count = QStringLiteral("SELECT COUNT(*) FROM ORDFABDET WHERE ")
                          + OrderConsultation::listShape(OrderModel::Slots, s, db->dialect()).where;
    const kv::db::Params params = OrderConsultation::params(OrderModel::Slots, s);
    for (auto _ : state) {
        benchmark::DoNotOptimize(db->query(first, params).rows.size());
        benchmark::DoNotOptimize(db->scalar(count, params));
    }
}

// Twenty orders spread over the last year.
int orderAt(int i) { return 1 + (i * 997) % OrdersAYear; }

void BM_Consumption(benchmark::State& state)
{
    const auto db = plantFor(state);
    if (!db)
        return;
    kv::db::Dataset consumption(QStringLiteral("ORCCONSUMOS"));
    consumption.setMode(kv::db::DatasetMode::ReadOnly);
    consumption.setConnection(db);
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            OrderConsultation::openConsumption(consumption, QStringLiteral("2024"), orderAt(i), 0, 1);
            benchmark::DoNotOptimize(consumption.fetchedCount());
        }
}

void BM_Consumption_Bare(benchmark::State& state)
{
    const auto db = plantFor(state);
    if (!db)
        return;
    for (auto _ : state)
        for (int i = 0; i < 20; ++i)
            benchmark::DoNotOptimize(db->query(OrderConsultation::consumptionSql(), {{"WOfAno", QStringLiteral("2024")},
                                                                                      {"WOfOrdNro", orderAt(i)},
                                                                                      {"WSubOrc", 0},
                                                                                      {"WOfDetail", 1}}));
}

void listArgs(benchmark::internal::Benchmark* b)
{
    for (int engine : {0, 1})
        for (int kind : {0, 1})
            b->Args({engine, kind});
}

BENCHMARK(BM_List)->Apply(listArgs)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_List_Bare)->Apply(listArgs)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Consumption)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Consumption_Bare)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
