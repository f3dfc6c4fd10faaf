// The customer views' rebuild at the volumes the customer file is made for:
// 20,000 customers with 500,000 invoices of two lines (1,000,000 lines) and
// 300,000 receipts over two years, on SQLite (file) and PostgreSQL (the test
// server), the rows made by a few set-based statements. The rebuild empties
// the user's four work tables and refills them with one customer's sales and
// receipts by month and by year in one transaction, then reads them as the
// views show them; the bare run sends the same statements through the
// connection.
#include "customers/parts/CustomerTotals.h"

#include "platform/db/Connection.h"
#include "support/BareCustomerViews.h"
#include "support/BenchDatabase.h"
#include "support/EmbeddedDatabase.h"

#include <benchmark/benchmark.h>

#include <map>

namespace {

using kv::db::Dialect;

constexpr int Customers = 20000;
constexpr int Invoices = 500000;
constexpr int LinesPerInvoice = 2;
constexpr int Receipts = 300000;
const QString User = QStringLiteral("ANA");

struct Company {
    kv::bench::BenchDatabase database;
    kv::db::Connection& invoicing = *database.connection;

    explicit Company(Dialect dialect)
        : database(dialect, QStringLiteral("kv_bench_views_inv"), QStringLiteral("PRDXFACTUR01"))
    {
        kv::bench::createTables(
            invoicing, kv::schema::Database::Invoicing,
            {"FACMOVIM", "FACMOVDET", "CLICOBREC", "WORKVENDASMES", "WORKVENDASANO", "WORKCLIRECMES", "WORKCLIRECANO"});
        kv::db::Transaction transaction(invoicing);
        kv::bench::CustomerSales{Customers, Invoices, LinesPerInvoice, Receipts, QStringLiteral("2023-01-01"), 730}
            .fill(invoicing);
        transaction.commit();
        if (dialect == Dialect::Postgres)
            invoicing.exec(QStringLiteral("ANALYZE"));
    }
};

std::map<Dialect, std::unique_ptr<Company>>& companies()
{
    static std::map<Dialect, std::unique_ptr<Company>> all;
    return all;
}

kv::db::Connection* invoicingFor(benchmark::State& state)
{
    if (!kv::bench::engineAvailable(state))
        return nullptr;
    auto& company = companies()[kv::bench::dialectOf(state)];
    if (!company)
        company = std::make_unique<Company>(kv::bench::dialectOf(state));
    return &company->invoicing;
}

int customerAt(int i) { return 1 + (i * 7919) % Customers; }

void BM_ViewsRebuild(benchmark::State& state)
{
    kv::db::Connection* db = invoicingFor(state);
    if (!db)
        return;
    int i = 0;
    for (auto _ : state) {
        const int customer = customerAt(i++);
        kv::customers::CustomerTotals::rebuild(*db, User, customer);
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::salesByMonth(*db, User, customer));
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::salesByYear(*db, User, customer));
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::receiptsByMonth(*db, User, customer));
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::receiptsByYear(*db, User, customer));
    }
}
BENCHMARK(BM_ViewsRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_BareViewsRebuild(benchmark::State& state)
{
    kv::db::Connection* db = invoicingFor(state);
    if (!db)
        return;
    const kv::bench::BareCustomerViews views(db->dialect());
    int i = 0;
    for (auto _ : state)
        views.run(*db, User, customerAt(i++));
}
BENCHMARK(BM_BareViewsRebuild)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kv::bench::runBenchmarks(
        argc, argv, [] {}, [] { companies().clear(); });
}
