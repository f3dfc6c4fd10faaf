// An issue run of 500 quotes in 3 copies (queue filled, quotes marked, letter
// pages read, queue emptied) against the same inserts and updates written raw
// in one transaction, on both engines.
#include "quotes/core/QuoteIssue.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace kv::quotes;
using kv::db::Dialect;

namespace {

constexpr int Quotes = 500;
const QStringList Copies{"Original", "Duplicado", "Arquivo"};
const QDate IssueDay(2024, 3, 15);

bool hasPg() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

kv::db::ConnectionSettings pgSettings(const QString& database)
{
    kv::db::ConnectionSettings s;
    s.alias = QStringLiteral("BDESPECIF01");
    s.dialect = Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

const QString PgName = QStringLiteral("kv_bench_quote_issue");

struct Plant {
    QTemporaryDir dir;
    std::shared_ptr<kv::db::Connection> application;
    std::shared_ptr<kv::db::Connection> invoicing;

    explicit Plant(Dialect dialect)
    {
        if (dialect == Dialect::Postgres) {
            auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(PgName));
            admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(PgName));
            application = kv::db::Connection::open(pgSettings(PgName));
            invoicing = application;
        } else {
            kv::db::ConnectionSettings s;
            s.alias = QStringLiteral("BDESPECIF01");
            s.database = dir.filePath(QStringLiteral("bench.db"));
            application = kv::db::Connection::open(s);
            s.alias = QStringLiteral("BDFACTURACAO");
            s.database = dir.filePath(QStringLiteral("facturacao.db"));
            invoicing = kv::db::Connection::open(s);
        }
        kv::schema::Schema::standard().create(*application, kv::schema::Database::Application);
        invoicing->exec(
            "CREATE TABLE IF NOT EXISTS CODPOSTAL (CODPOSTAL VARCHAR(8) PRIMARY KEY, LOCALIDADE VARCHAR(30))");
        invoicing->exec("INSERT INTO CODPOSTAL VALUES ('4000-001', 'PORTO')");
        kv::db::Transaction tx(*application);
        for (int n = 1; n <= Quotes; ++n)
            application->exec(
                "INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, CODPOSTAL, PRINTE, QTDORC1, "
                "PRECOCLI1, QTDORC2, PRECOCLI2, QTDORC3, PRECOCLI3, UNDVND, UNIDADE) VALUES (:C, 99, :D, "
                ":C, 'Cliente', '4000-001', 'N', 1000, 1.5, 2000, 1.4, 5000, 1.2, 'Mil', 'U')",
                {{"C", n}, {"D", QDateTime(IssueDay, QTime(0, 0))}});
        tx.commit();
    }
    ~Plant()
    {
        const bool pg = application->dialect() == Dialect::Postgres;
        invoicing.reset();
        application.reset();
        if (pg) {
            try {
                auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
                admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(PgName));
            } catch (...) {
            }
        }
    }
    void unmark() { application->exec("UPDATE ORCMAS SET PRINTE = 'N'"); }
};

std::map<Dialect, std::unique_ptr<Plant>>& plants()
{
    static std::map<Dialect, std::unique_ptr<Plant>> all;
    return all;
}

Plant* plantFor(benchmark::State& state)
{
    const Dialect dialect = state.range(0) == 0 ? Dialect::Sqlite : Dialect::Postgres;
    if (dialect == Dialect::Postgres && !hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    auto& plant = plants()[dialect];
    if (!plant)
        plant = std::make_unique<Plant>(dialect);
    return plant.get();
}

IssueSelection daySelection()
{
    IssueSelection s;
    s.fromDate = IssueDay;
    s.toDate = IssueDay;
    return s;
}

void BM_IssueRun(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    LetterTexts texts;
    texts.priceDecimals = 2;
    for (auto _ : state) {
        state.PauseTiming();
        plant->unmark();
        state.ResumeTiming();
        QuoteIssue issue(*plant->application, QStringLiteral("BENCH"));
        issue.queue(daySelection(), Copies);
        const LetterPages pages = issue.pages(daySelection(), Copies, texts, LetterLayout::Quality, *plant->invoicing);
        benchmark::DoNotOptimize(pages.rows.size());
        issue.emptyQueue();
    }
}

// The bare statements of the same run: the selection, 1,500 queue inserts
// and 500 marks in one transaction, the queue and the rows read back, the
// queue emptied.
void BM_IssueRun_Raw(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& db = *plant->application;
    for (auto _ : state) {
        state.PauseTiming();
        plant->unmark();
        state.ResumeTiming();
        const auto selected =
            db.query("SELECT CODIGO FROM ORCMAS WHERE SUBCODIGO = 99 AND PRINTE = 'N' ORDER BY CODIGO");
        {
            kv::db::Transaction tx(db);
            for (const auto& row : selected.rows) {
                for (const QString& copy : Copies)
                    db.exec("INSERT INTO ORCAMIMPR (ORCNRO, UTIL, VIA) VALUES (:N, 'BENCH', :V)",
                            {{"N", row[0]}, {"V", copy}});
                db.exec("UPDATE ORCMAS SET PRINTE = 'S' WHERE CODIGO = :N AND SUBCODIGO = 99", {{"N", row[0]}});
            }
            tx.commit();
        }
        benchmark::DoNotOptimize(db.query("SELECT * FROM ORCAMIMPR WHERE UTIL = 'BENCH' ORDER BY ORCNRO").rows.size());
        benchmark::DoNotOptimize(db.query("SELECT * FROM ORCMAS WHERE SUBCODIGO = 99 AND CODIGO IN (SELECT ORCNRO FROM "
                                          "ORCAMIMPR WHERE UTIL = 'BENCH')")
                                     .rows.size());
        db.exec("DELETE FROM ORCAMIMPR WHERE UTIL = 'BENCH'");
    }
}

BENCHMARK(BM_IssueRun)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IssueRun_Raw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    plants().clear();
    benchmark::Shutdown();
    return 0;
}
