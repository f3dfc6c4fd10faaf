// The quote consultation's reads at the volumes of a plant (40,000 quotes of
// five rows, 20,000 customers and articles), on SQLite (file) and PostgreSQL
// (the test server): a one-month and a one-customer selection (first screen
// and count), and twenty row changes (the summary row, the article and its
// classification read by key), each against the bare statements returning
// the same rows through the connection.
#include "quotes/core/ArticleClassification.h"
#include "quotes/core/QuoteConsultation.h"
#include "quotes/core/QuoteRepository.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>

using namespace kv::quotes;
using kv::db::Dialect;

namespace {

constexpr int Quotes = 40000;
constexpr int Customers = 20000;
constexpr int FirstScreen = 1024; // the rows a dataset reads as it opens
const QDate FirstDay(2021, 1, 1);

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

QString article(int i) { return QStringLiteral("ART%1").arg(i % Customers, 6, 10, QLatin1Char('0')); }

// Summary rows one by one (their dates bound as the program binds them),
// then sub-quotes 0 to 3 copied from them.
void fillApplication(kv::db::Connection& db)
{
    kv::schema::Schema::standard().create(db, kv::schema::Database::Application);
    kv::db::Transaction tx(db);
    for (int i = 1; i <= Quotes; ++i)
        db.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, VNDNRO, NOSREF, DESIGN1, MANUAL_AUTO, "
                "APROVADO, QTDORC1, QTDORC2, QTDORC3, VALMP1, VALCM1, VALTR1, MARGEMLIQ1, UNIDADE) VALUES (:C, 99, "
                ":D, :Cli, 'Cliente', :Vnd, :Art, 'Caixa', 'M', 'N', 5, 10, 20, 100, 50, 10, 20, 'M')",
                {{"C", i},
                 {"D", QDateTime(FirstDay.addDays(i % 1200), QTime(10, 0))},
                 {"Cli", (i * 7919) % Customers},
                 {"Vnd", 1 + i % 20},
                 {"Art", article(i)}});
    db.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, VNDNRO, NOSREF, DESIGN1, MANUAL_AUTO, "
            "APROVADO) SELECT M.CODIGO, S.K, M.DATEMI, M.CLINRO, M.NOME, M.VNDNRO, M.NOSREF, M.DESIGN1, "
            "M.MANUAL_AUTO, M.APROVADO FROM ORCMAS M, (SELECT 0 AS K UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL "
            "SELECT 3) S WHERE M.SUBCODIGO = 99");
    tx.commit();
    if (db.dialect() == Dialect::Postgres)
        db.exec(QStringLiteral("ANALYZE"));
}

void fillInvoicing(kv::db::Connection& db)
{
    kv::schema::Schema::standard().create(db, kv::schema::Database::Invoicing);
    kv::db::Transaction tx(db);
    db.exec("INSERT INTO PARCUSTOM (CODIGO, GRUPOTIPO1) VALUES ('1', 'A')");
    for (int n = 1; n <= 9; ++n)
        db.exec("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM) VALUES ('A', :N, 'Tabela')",
                {{"N", QString::number(n)}});
    for (int n = 1; n <= 9; ++n)
        for (int code = 1; code <= 30; ++code)
            db.exec("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO) VALUES ('A', 'PORTUGAL', :N, "
                    ":C, 'Valor')",
                    {{"N", QString::number(n)}, {"C", code}});
    for (int i = 0; i < Customers; ++i)
        db.exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, CUSTOM1, CUSTOM5, CUSTOM9) VALUES (:C, "
                "'Artigo', '1', :A, :B, :A)",
                {{"C", article(i)}, {"A", 1 + i % 30}, {"B", 1 + (i * 7) % 30}});
    tx.commit();
    if (db.dialect() == Dialect::Postgres)
        db.exec(QStringLiteral("ANALYZE"));
}

struct Plant {
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> inv;
    QStringList pgNames;
};

struct Plants {
    QTemporaryDir dir;
    std::map<Dialect, Plant> plants;

    std::shared_ptr<kv::db::Connection> open(Dialect dialect, const QString& name, Plant& plant)
    {
        if (dialect == Dialect::Sqlite) {
            kv::db::ConnectionSettings s;
            s.alias = QStringLiteral("BDESPECIF01");
            s.database = dir.filePath(name + QStringLiteral(".db"));
            return kv::db::Connection::open(s);
        }
        const QString database = QStringLiteral("kv_bench_consult_") + name;
        {
            auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(database));
            admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(database));
        }
        plant.pgNames << database;
        return kv::db::Connection::open(pgSettings(database));
    }

    Plant& get(Dialect dialect)
    {
        auto it = plants.find(dialect);
        if (it != plants.end())
            return it->second;
        Plant p;
        p.app = open(dialect, QStringLiteral("app"), p);
        p.inv = open(dialect, QStringLiteral("inv"), p);
        fillApplication(*p.app);
        fillInvoicing(*p.inv);
        return plants.emplace(dialect, std::move(p)).first->second;
    }

    ~Plants()
    {
        for (auto& [dialect, p] : plants) {
            p.app.reset();
            p.inv.reset();
            for (const QString& name : p.pgNames) {
                try {
                    auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
                    admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
                } catch (...) {
                }
            }
        }
    }
};

Plants& plants()
{
    static Plants instance;
    return instance;
}

Dialect dialectOf(const benchmark::State& state) { return state.range(0) == 0 ? Dialect::Sqlite : Dialect::Postgres; }

Plant* plantFor(benchmark::State& state)
{
    if (dialectOf(state) == Dialect::Postgres && !hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    state.SetLabel(dialectOf(state) == Dialect::Sqlite ? "sqlite" : "pg");
    return &plants().get(dialectOf(state));
}

// range(1): 0 one month of every customer and origin, 1 one customer over every date.
ConsultationSelection selectionOf(const benchmark::State& state)
{
    ConsultationSelection s;
    s.origin = ConsultationSelection::Origin::Both;
    s.salesmanFrom = 0;
    if (state.range(1) == 0) {
        s.dateFrom = QDate(2022, 3, 1);
        s.dateTo = QDate(2022, 3, 31);
    } else {
        s.customerFrom = s.customerTo = 4321;
        s.dateFrom = QDate(2000, 1, 1);
        s.dateTo = QDate(2030, 12, 31);
    }
    return s;
}

void BM_Selection(benchmark::State& state)
{
    Plant* p = plantFor(state);
    if (!p)
        return;
    const ConsultationSelection s = selectionOf(state);
    kv::db::Dataset list(QStringLiteral("ORCMAS"));
    list.setMode(kv::db::DatasetMode::ReadOnly);
    list.setConnection(p->app);
    for (auto _ : state) {
        QuoteConsultation::open(list, s);
        benchmark::DoNotOptimize(list.fetchedCount());
        benchmark::DoNotOptimize(QuoteConsultation::count(*p->app, s));
    }
}

void BM_Selection_Bare(benchmark::State& state)
{
    Plant* p = plantFor(state);
    if (!p)
        return;
    const ConsultationSelection s = selectionOf(state);
    const QString sql = QuoteConsultation::listSql(s, p->app->dialect()) + QStringLiteral(" LIMIT %1").arg(FirstScreen);
    const kv::db::Params params = QuoteConsultation::params(s);
    const QString count =
        QStringLiteral("SELECT COUNT(*) FROM (%1) X").arg(QuoteConsultation::listSql(s, p->app->dialect()));
    for (auto _ : state) {
        benchmark::DoNotOptimize(p->app->query(sql, params).rows.size());
        benchmark::DoNotOptimize(p->app->scalar(count, params));
    }
}

// Twenty quotes spread over the table.
int quoteAt(int i) { return 1 + (i * 1999) % Quotes; }

void BM_RowChanges(benchmark::State& state)
{
    Plant* p = plantFor(state);
    if (!p)
        return;
    ArticleClassification classification(*p->inv);
    classification.readGroups();
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            const auto row = QuoteRepository(*p->app).row(quoteAt(i), 99);
            benchmark::DoNotOptimize(classification.article(row->text(QStringLiteral("NOSREF"))).valueNames);
        }
}

void BM_RowChanges_Bare(benchmark::State& state)
{
    Plant* p = plantFor(state);
    if (!p)
        return;
    for (auto _ : state)
        for (int i = 0; i < 20; ++i) {
            const auto row =
                p->app->query("SELECT * FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = 99", {{"C", quoteAt(i)}});
            const QString code = row.value(0, QStringLiteral("NOSREF")).toString();
            benchmark::DoNotOptimize(p->inv->query("SELECT * FROM ARTIGOSCLS WHERE CODIGO = :C", {{"C", code}}));
            benchmark::DoNotOptimize(
                p->inv->query("SELECT TABCOD, TABNOM FROM PARGRUPOS WHERE TABGRUPO = 'A' ORDER BY TABGRUPO, TABCOD"));
            benchmark::DoNotOptimize(p->inv->query("SELECT TABCOD, CODIGO, DESIGNACAO FROM CUSTARTG WHERE TABGRUPO = "
                                                   "'A' AND PAIS = 'PORTUGAL' ORDER BY TABGRUPO, TABCOD, CODIGO"));
        }
}

void selectionArgs(benchmark::internal::Benchmark* b)
{
    for (int engine : {0, 1})
        for (int kind : {0, 1})
            b->Args({engine, kind});
}

BENCHMARK(BM_Selection)->Apply(selectionArgs)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_Selection_Bare)->Apply(selectionArgs)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_RowChanges)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);
BENCHMARK(BM_RowChanges_Bare)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
