// The approval list's customer figures and monthly order values at the
// volumes of a plant (2,000 customers, 100,000 invoices of 5 lines, 50,000
// receipts, 100,000 orders of 5 lines over five years), on SQLite (file)
// and PostgreSQL (the test server): a customer's row display (the work
// tables of sales and receipts rebuilt and read, the receivables, the order
// book, the article's stock) and the monthly order values of a year
// (CreateEncValores), each against the bare statements doing the same work.
#include "customers/parts/CustomerOrderValues.h"
#include "customers/parts/CustomerTotals.h"
#include "quotes/core/ArticleStock.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "support/BareCustomerViews.h"
#include "support/BenchDatabase.h"

#include <QCoreApplication>
#include <QDateTime>
#include <benchmark/benchmark.h>
#include <map>

using kv::customers::CustomerOrderValues;
using kv::customers::CustomerTotals;
using kv::db::Dialect;

namespace {

constexpr int Customers = 2000;
constexpr int Documents = 100000; // invoices, and orders
constexpr int LinesPerDocument = 5;
constexpr int Receipts = 50000;
const QString Year = QStringLiteral("2024");
const QString User = QStringLiteral("BENCH");

using kv::bench::numbers;

QString dayAfter(Dialect dialect, const QString& days)
{
    return kv::bench::dayAfter(dialect, QStringLiteral("2020-01-01"), days);
}

void fillInvoicing(kv::db::Connection& db)
{
    kv::schema::Schema::standard().create(db, kv::schema::Database::Invoicing);
    const Dialect d = db.dialect();
    kv::db::Transaction tx(db);
    db.exec(numbers(Customers) + QStringLiteral("INSERT INTO CLIENTES (CODIGO, NOME) SELECT I, 'Cliente' FROM N"));
    db.exec(numbers(Customers)
            + QStringLiteral("INSERT INTO CLIVALCOB (CODIGO, DEB0, DEB30, TITULOS) SELECT I, 100, 50, 10 FROM N"));
    kv::bench::CustomerSales{Customers, Documents, LinesPerDocument, Receipts, QStringLiteral("2020-01-01"), 1826}.fill(
        db);
    db.exec(numbers(Documents)
            + QStringLiteral("INSERT INTO ENCCLIMAS (ENCNRO, CLINRO, DATEMI) SELECT I, 1 + I % %1, %2 FROM N")
                  .arg(Customers)
                  .arg(dayAfter(d, QStringLiteral("I % 1826"))));
    // Every tenth line still to deliver, every fiftieth without an article.
    db.exec(numbers(Documents * LinesPerDocument)
            + QStringLiteral("INSERT INTO ENCCLIDET (ENCNRO, DETAIL, CLINRO, DATEMI, DATAENTRG, ARTIGO, VALLIQUIDO, "
                             "VALLIQCAR, QTDCAR, TOTENT) SELECT 1 + (I - 1) / %1, 1 + (I - 1) % %1, "
                             "1 + (1 + (I - 1) / %1) % %2, %3, %4, CASE WHEN I % 50 = 0 THEN NULL ELSE 'ART' END, "
                             "123.45, 12.5, 100, CASE WHEN I % 10 = 0 THEN 'N' ELSE 'S' END FROM N")
                  .arg(LinesPerDocument)
                  .arg(Customers)
                  .arg(dayAfter(d, QStringLiteral("(1 + (I - 1) / %1) % 1826").arg(LinesPerDocument)),
                       dayAfter(d, QStringLiteral("30 + (1 + (I - 1) / %1) % 1826").arg(LinesPerDocument))));
    db.exec(QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, EXIQTD, UNVENDA) VALUES ('ART', 'Artigo', 10, "
                           "'UN')"));
    db.exec(QStringLiteral("INSERT INTO STKARTGARMZ (ARTIGO, ANO, CODIGO, EXIQTD, EXIVAL) VALUES ('ART', '2024', 1, "
                           "10, 100)"));
    tx.commit();
    if (d == Dialect::Postgres)
        db.exec(QStringLiteral("ANALYZE"));
}

std::map<Dialect, std::unique_ptr<kv::bench::BenchDatabase>>& plants()
{
    static std::map<Dialect, std::unique_ptr<kv::bench::BenchDatabase>> all;
    return all;
}

kv::db::Connection* invoicingFor(benchmark::State& state)
{
    if (!kv::bench::engineAvailable(state))
        return nullptr;
    auto& plant = plants()[kv::bench::dialectOf(state)];
    if (!plant) {
        plant = std::make_unique<kv::bench::BenchDatabase>(
            kv::bench::dialectOf(state), QStringLiteral("kv_bench_apprlist_inv"), QStringLiteral("PRDXFACTUR01"));
        fillInvoicing(*plant->connection);
    }
    return plant->connection.get();
}

// Twenty customers spread over the file.
int customerAt(int i) { return 1 + (i * 97) % Customers; }

void BM_CustomerRowDisplay(benchmark::State& state)
{
    kv::db::Connection* db = invoicingFor(state);
    if (!db)
        return;
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            const int customer = customerAt(i);
            CustomerTotals::rebuild(*db, User, customer);
            benchmark::DoNotOptimize(CustomerTotals::salesByMonth(*db, User, customer));
            benchmark::DoNotOptimize(CustomerTotals::salesByYear(*db, User, customer));
            benchmark::DoNotOptimize(CustomerTotals::receiptsByMonth(*db, User, customer));
            benchmark::DoNotOptimize(CustomerTotals::receiptsByYear(*db, User, customer));
            benchmark::DoNotOptimize(CustomerTotals::receivables(*db, customer, true));
            benchmark::DoNotOptimize(CustomerOrderValues::orderBook(*db, customer));
            benchmark::DoNotOptimize(kv::quotes::ArticleStock::read(*db, QStringLiteral("ART"), Year));
        }
}

void BM_CustomerRowDisplay_Bare(benchmark::State& state)
{
    kv::db::Connection* db = invoicingFor(state);
    if (!db)
        return;
    const Dialect d = db->dialect();
    const kv::bench::BareCustomerViews views(d);
    const QString bookYear = kv::db::sql::yearOf(d, QStringLiteral("ENCD.DATAENTRG"));
    const QString bookMonth = kv::db::sql::monthOf(d, QStringLiteral("ENCD.DATAENTRG"));
    const QString book = QStringLiteral("SELECT %1 AS ANO, %2 AS MES, SUM(ENCD.VALLIQCAR), SUM(ENCD.QTDCAR) "
                                        "FROM ENCCLIDET ENCD JOIN ENCCLIMAS ENCM ON ENCM.ENCNRO = ENCD.ENCNRO "
                                        "JOIN CLIENTES CLI ON CLI.CODIGO = ENCM.CLINRO "
                                        "WHERE ENCD.TOTENT = 'N' AND ENCM.CLINRO = :WCliNro "
                                        "GROUP BY %1, %2 ORDER BY ANO DESC, MES DESC")
                             .arg(bookYear, bookMonth);
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            const kv::db::Params params{{QStringLiteral("WCliNro"), customerAt(i)}};
            views.run(*db, User, customerAt(i));
            benchmark::DoNotOptimize(db->query(QStringLiteral("SELECT DEB0, DEB30, DEB3060, DEB6090, DEB90120, "
                                                              "DEB120180, DEB180, TITULOS, PREDAT FROM CLIVALCOB "
                                                              "WHERE CODIGO = :WCliNro"),
                                               params));
            benchmark::DoNotOptimize(db->query(book, params));
            benchmark::DoNotOptimize(
                db->query(QStringLiteral("SELECT EXIQTD, UNVENDA FROM ARTIGOSCLS WHERE CODIGO = 'ART'")));
            benchmark::DoNotOptimize(db->query(QStringLiteral(
                "SELECT CODIGO, EXIQTD, EXIVAL FROM STKARTGARMZ WHERE ARTIGO = 'ART' AND ANO = '2024'")));
        }
}

void BM_CreateEncValores(benchmark::State& state)
{
    kv::db::Connection* db = invoicingFor(state);
    if (!db)
        return;
    for (auto _ : state)
        benchmark::DoNotOptimize(CustomerOrderValues::rebuildMonthly(*db, User, Year));
}

// One bare grouped insert of the year's monthly values, after its delete.
void BM_CreateEncValores_Bare(benchmark::State& state)
{
    kv::db::Connection* db = invoicingFor(state);
    if (!db)
        return;
    const QString month = kv::db::sql::monthOf(db->dialect(), QStringLiteral("ENCD.DATEMI"));
    const kv::db::Params params{{QStringLiteral("WUtil"), QStringLiteral("BARE")},
                                {QStringLiteral("WAno"), Year},
                                {QStringLiteral("Inicio"), QDateTime(QDate(2024, 1, 1), QTime(0, 0))},
                                {QStringLiteral("Fim"), QDateTime(QDate(2025, 1, 1), QTime(0, 0))}};
    for (auto _ : state) {
        kv::db::Transaction tx(*db);
        db->exec(QStringLiteral("DELETE FROM WORKENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno"), params);
        db->exec(
            QStringLiteral("INSERT INTO WORKENCVALCLI (UTIL, CODIGO, ANO, MES, VALOR) SELECT :WUtil, ENCD.CLINRO, "
                           ":WAno, %1, ROUND(SUM(ENCD.VALLIQUIDO)) FROM ENCCLIDET ENCD WHERE ENCD.DATEMI >= :Inicio "
                           "AND ENCD.DATEMI < :Fim AND ENCD.ARTIGO IS NOT NULL GROUP BY ENCD.CLINRO, %1")
                .arg(month),
            params);
        tx.commit();
    }
}

BENCHMARK(BM_CustomerRowDisplay)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_CustomerRowDisplay_Bare)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_CreateEncValores)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_CreateEncValores_Bare)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    plants().clear();
    return 0;
}
