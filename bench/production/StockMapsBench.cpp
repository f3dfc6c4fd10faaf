// The two stock maps at a plant's volumes: 200,000 stock articles, 20,000
// production orders of ten planned-consumption lines over a year, 50,000
// supplier-order lines, 20,000 technical sheets of 2,000 customers and
// 200,000 customer-order lines, on SQLite (files) and PostgreSQL (the test
// server). Each map is measured against the same work hand-written: one
// grouped read, one read of the stock of all the map's codes, one grouped
// read of the open quantities, and the rows inserted one statement each in
// one transaction.
#include "production/core/ConsumptionForecast.h"
#include "production/core/CustomerStockMap.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "support/BenchDatabase.h"
#include "support/EmbeddedDatabase.h"

#include <benchmark/benchmark.h>

#include <QDate>
#include <QHash>
#include <map>

namespace {

using kv::db::Dialect;

constexpr int Articles = 200000;
constexpr int Orders = 20000;
constexpr int LinesPerOrder = 10;
constexpr int Materials = 5000; // the articles the consumption lines name
constexpr int SupplierLines = 50000;
constexpr int Customers = 2000;
constexpr int SheetsPerCustomer = 10;
constexpr int OrderLines = 200000;
const QString User = QStringLiteral("ANA");
const QDate First(2024, 3, 1);
const QDate Last(2024, 3, 31);

QString code(const QString& number) { return QStringLiteral("'A' || CAST(100000 + (%1) AS VARCHAR(10))").arg(number); }

struct Plant {
    kv::bench::BenchDatabase applicationDb;
    kv::bench::BenchDatabase invoicingDb;
    kv::db::Connection& application = *applicationDb.connection;
    kv::db::Connection& invoicing = *invoicingDb.connection;

    explicit Plant(Dialect dialect)
        : applicationDb(dialect, QStringLiteral("kv_bench_maps_app"), QStringLiteral("PRDXKAVORIME01")),
          invoicingDb(dialect, QStringLiteral("kv_bench_maps_inv"), QStringLiteral("PRDXFACTUR01"))
    {
        using kv::bench::dayAfter;
        using kv::bench::numbers;
        kv::bench::createTables(application, kv::schema::Database::Application,
                                {"ORCCONSUMOS", "IMPCONSUMOS", "PLN_FICTEC", "WORKRELCXA"});
        kv::bench::createTables(invoicing, kv::schema::Database::Invoicing, {"ARTIGOSCLS", "ENCCLIDET"});
        if (!invoicing.tableExists(QStringLiteral("FRNENCDET")))
            invoicing.exec(QStringLiteral("CREATE TABLE FRNENCDET (ENCNRO INTEGER NOT NULL, DETAIL INTEGER NOT NULL, "
                                          "DATAENTRG TIMESTAMP, ARTIGO VARCHAR(16) COLLATE pt_ci, "
                                          "QTDCAR DOUBLE PRECISION, TOTENT VARCHAR(1), PRIMARY KEY (ENCNRO, DETAIL))"));
        {
            kv::db::Transaction transaction(application);
            application.exec(
                numbers(Orders * LinesPerOrder)
                + QStringLiteral("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, "
                                 "ARTIGO, DESIGN, CONSUMO, DATAENT) SELECT '2024', 1 + (I - 1) / %1, 0, 1, "
                                 "1 + (I - 1) % %1, I % 11, %2, 'Material ' || CAST(I % %3 AS VARCHAR(10)), "
                                 "(I % 100) * 0.5, %4 FROM N")
                      .arg(LinesPerOrder)
                      .arg(code(QStringLiteral("(I * 7919) % %1").arg(Materials)))
                      .arg(Materials)
                      .arg(dayAfter(dialect, QStringLiteral("2024-01-01"),
                                    QStringLiteral("((I - 1) / %1) % 365").arg(LinesPerOrder))));
            application.exec(
                numbers(Customers * SheetsPerCustomer)
                + QStringLiteral("INSERT INTO PLN_FICTEC (CLIENTE, ARTIGO, DESIGNACAO, MATPRIMA, MATDESCRI, NOME) "
                                 "SELECT 1 + (I - 1) / %1, %2, 'CAIXA ' || CAST(I AS VARCHAR(10)), %3, 'Plano', "
                                 "'Cliente ' || CAST(1 + (I - 1) / %1 AS VARCHAR(10)) FROM N")
                      .arg(SheetsPerCustomer)
                      .arg(code(QStringLiteral("%1 + I").arg(Materials)))
                      .arg(code(QStringLiteral("I % %1").arg(Materials))));
            transaction.commit();
        }
        {
            kv::db::Transaction transaction(invoicing);
            invoicing.exec(numbers(Articles)
                           + QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, EXIQTD) SELECT %1, "
                                            "'Artigo ' || CAST(I AS VARCHAR(10)), I % 1000 FROM N")
                                 .arg(code(QStringLiteral("I - 1"))));
            invoicing.exec(numbers(SupplierLines)
                           + QStringLiteral("INSERT INTO FRNENCDET (ENCNRO, DETAIL, DATAENTRG, ARTIGO, QTDCAR, TOTENT) "
                                            "SELECT 1 + (I - 1) / 5, 1 + (I - 1) % 5, %1, %2, I % 50, "
                                            "CASE WHEN I % 3 = 0 THEN 'S' ELSE 'N' END FROM N")
                                 .arg(dayAfter(dialect, QStringLiteral("2024-01-01"), QStringLiteral("I % 365")))
                                 .arg(code(QStringLiteral("I % %1").arg(Materials))));
            invoicing.exec(
                numbers(OrderLines)
                + QStringLiteral("INSERT INTO ENCCLIDET (ENCNRO, DETAIL, CLINRO, ARTIGO, QTDCAR) "
                                 "SELECT 1 + (I - 1) / 4, 1 + (I - 1) % 4, 1 + I % %1, %2, I % 70 FROM N")
                      .arg(Customers)
                      .arg(code(QStringLiteral("%1 + 1 + I % %2").arg(Materials).arg(Customers * SheetsPerCustomer))));
            transaction.commit();
        }
        if (dialect == Dialect::Postgres) {
            application.exec(QStringLiteral("ANALYZE"));
            invoicing.exec(QStringLiteral("ANALYZE"));
        }
    }
};

std::map<Dialect, std::unique_ptr<Plant>>& plants()
{
    static std::map<Dialect, std::unique_ptr<Plant>> all;
    return all;
}

Plant* plantFor(benchmark::State& state)
{
    if (!kv::bench::engineAvailable(state))
        return nullptr;
    auto& plant = plants()[kv::bench::dialectOf(state)];
    if (!plant)
        plant = std::make_unique<Plant>(kv::bench::dialectOf(state));
    return plant.get();
}

kv::db::Params bareRange()
{
    return {{QStringLiteral("DE1"), First.startOfDay()}, {QStringLiteral("DE2"), Last.addDays(1).startOfDay()}};
}

// The stock of the codes in one statement, by code.
QHash<QString, double> bareStock(kv::db::Connection& invoicing, const QStringList& codes)
{
    kv::db::Params params;
    QStringList names;
    for (qsizetype i = 0; i < codes.size(); ++i) {
        names << QStringLiteral(":K%1").arg(i);
        params.set(QStringLiteral("K%1").arg(i), codes.at(i));
    }
    QHash<QString, double> stock;
    if (codes.isEmpty())
        return stock;
    for (const auto& row :
         invoicing
             .query(QStringLiteral("SELECT CODIGO, EXIQTD FROM ARTIGOSCLS WHERE CODIGO IN (%1)").arg(names.join(',')),
                    params)
             .rows)
        stock.insert(row.at(0).toString().toUpper(), row.at(1).toDouble());
    return stock;
}

void BM_ForecastMap(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::production::ConsumptionForecast forecast(plant->application, plant->invoicing);
    int articles = 0;
    for (auto _ : state)
        articles = forecast.build(User, First, Last).articles;
    state.counters["articles"] = articles;
}
BENCHMARK(BM_ForecastMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BareForecastMap(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& app = plant->application;
    kv::db::Connection& inv = plant->invoicing;
    for (auto _ : state) {
        const auto lines = app.query(QStringLiteral("SELECT ARTIGO, MIN(DESIGN), SUM(CONSUMO) FROM ORCCONSUMOS WHERE "
                                                    "DATAENT >= :DE1 AND DATAENT < :DE2 AND TIPOTABELA NOT IN "
                                                    "(1, 7, 9, 10) GROUP BY ARTIGO"),
                                     bareRange());
        QStringList codes;
        for (const auto& row : lines.rows)
            codes << row.at(0).toString();
        const QHash<QString, double> stock = bareStock(inv, codes);
        QHash<QString, double> open;
        for (const auto& row : inv.query(QStringLiteral("SELECT ARTIGO, SUM(QTDCAR) FROM FRNENCDET WHERE DATAENTRG >= "
                                                        ":DE1 AND DATAENTRG < :DE2 AND TOTENT = 'N' GROUP BY ARTIGO"),
                                         bareRange())
                                   .rows)
            open.insert(row.at(0).toString().toUpper(), row.at(1).toDouble());
        kv::db::Transaction transaction(app);
        app.exec(QStringLiteral("DELETE FROM IMPCONSUMOS WHERE UTIL = :U AND PROGRAMA = 'ORCP104'"), {{"U", User}});
        for (const auto& row : lines.rows) {
            const QString key = row.at(0).toString().toUpper();
            app.exec(QStringLiteral("INSERT INTO IMPCONSUMOS (UTIL, PROGRAMA, ARTIGO, DESIGNACAO, CONSUMO, EXIQTD, "
                                    "UNIDADE, QTDENC) VALUES (:U, 'ORCP104', :A, :D, :C, :E, 'Kgs', :Q)"),
                     {{"U", User},
                      {"A", row.at(0)},
                      {"D", row.at(1)},
                      {"C", row.at(2)},
                      {"E", stock.value(key)},
                      {"Q", open.value(key)}});
        }
        transaction.commit();
    }
}
BENCHMARK(BM_BareForecastMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_CustomerStockMap(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::production::CustomerStockMap map(plant->application, plant->invoicing);
    int rows = 0;
    for (auto _ : state)
        rows = map.build(User, {});
    state.counters["rows"] = rows;
}
BENCHMARK(BM_CustomerStockMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BareCustomerStockMap(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& app = plant->application;
    kv::db::Connection& inv = plant->invoicing;
    for (auto _ : state) {
        const auto sheets = app.query(
            QStringLiteral("SELECT CLIENTE, ARTIGO, MATPRIMA FROM PLN_FICTEC WHERE CLIENTE "
                           "BETWEEN 1 AND 99999999 AND ARTIGO BETWEEN '' AND "
                           "'ZZZZZZZZZZZZZZZZ' AND %1 AND %2")
                .arg(kv::db::sql::likePattern(app.dialect(), QStringLiteral("DESIGNACAO"), QStringLiteral("PD")),
                     kv::db::sql::likePattern(app.dialect(), QStringLiteral("NOME"), QStringLiteral("PN"))),
            {{"PD", QStringLiteral("%")}, {"PN", QStringLiteral("%")}});
        QStringList codes;
        for (const auto& row : sheets.rows)
            codes << row.at(1).toString() << row.at(2).toString();
        codes.removeDuplicates();
        QHash<QString, double> stock;
        for (qsizetype start = 0; start < codes.size(); start += 900)
            stock.insert(bareStock(inv, codes.mid(start, 900)));
        QHash<QString, double> ordered;
        for (const auto& row : inv.query(QStringLiteral("SELECT CLINRO, ARTIGO, SUM(QTDCAR) FROM ENCCLIDET GROUP BY "
                                                        "CLINRO, ARTIGO"))
                                   .rows)
            ordered.insert(row.at(0).toString() + '\t' + row.at(1).toString().toUpper(), row.at(2).toDouble());
        kv::db::Transaction transaction(app);
        app.exec(QStringLiteral("DELETE FROM WORKRELCXA WHERE UTIL = :U"), {{"U", User}});
        for (const auto& row : sheets.rows) {
            const double product = stock.value(row.at(1).toString().toUpper());
            const double raw = stock.value(row.at(2).toString().toUpper());
            const double quantity = ordered.value(row.at(0).toString() + '\t' + row.at(1).toString().toUpper());
            app.exec(QStringLiteral("INSERT INTO WORKRELCXA (UTIL, CLIENTE, ARTIGO, MATPRM, EXIQTD_PRD, EXIQTD_MTP, "
                                    "QTDENC, QTD_DIF) VALUES (:U, :C, :A, :M, :P, :R, :Q, :D)"),
                     {{"U", User},
                      {"C", row.at(0)},
                      {"A", row.at(1)},
                      {"M", row.at(2)},
                      {"P", product},
                      {"R", raw},
                      {"Q", quantity},
                      {"D", raw + product - quantity}});
        }
        transaction.commit();
    }
}
BENCHMARK(BM_BareCustomerStockMap)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kv::bench::runBenchmarks(
        argc, argv, [] {}, [] { plants().clear(); });
}
