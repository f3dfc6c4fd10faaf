// The rights editor's choice of a user at a plant's volumes: 150 programs per
// application key, 30 users, 3 companies sharing one application database
// (27,000 rights rows). The first choice of a user (missing rows created,
// first chapter shown) against inserting the same rows raw in one
// transaction; a second choice (nothing to create) against a bare keyed read
// of the same rows. On SQLite always, on PostgreSQL when KV_TEST_PG_* is set.
// Ends with the ratios (goal: at most 2x).
#include "useradmin/core/RightsRows.h"

#include "platform/db/Dataset.h"
#include "platform/install/Installation.h"
#include "schema/InstallationBuilder.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace {

using kv::db::Connection;
using kv::useradmin::RightsRows;

constexpr int Programs = 150;
constexpr int Users = 30;
constexpr int Companies = 3;
const QString Key = QStringLiteral("KAVORIMETAS");
const QString NewUser = QStringLiteral("U30"); // has no rows until chosen

std::map<std::string, double> g_seconds;

QString chapterOf(int program) { return QStringLiteral("Capitulo %1").arg(program % 10, 2, 10, QLatin1Char('0')); }
QString programName(int program) { return QStringLiteral("Programa %1").arg(program, 3, 10, QLatin1Char('0')); }

struct Company {
    QTemporaryDir dir;
    std::optional<kv::install::Installation> installation;
    std::shared_ptr<Connection> db;

    const QString prefix = QStringLiteral("kv_bench_useradmin_");
    bool onServer = false;

    explicit Company(bool postgres) : onServer(postgres)
    {
        dropServerDatabases(); // left by a run that did not end
        kv::schema::InstallationOptions options;
        options.workstation = QStringLiteral("BENCH");
        if (postgres)
            options.postgres = kv::schema::PostgresServer{qEnvironmentVariable("KV_TEST_PG_HOST"),
                                                          qEnvironmentVariableIntValue("KV_TEST_PG_PORT"),
                                                          qEnvironmentVariable("KV_TEST_PG_USER"),
                                                          {},
                                                          prefix};
        installation = kv::schema::InstallationBuilder(options).create(dir.filePath(QStringLiteral("inst")));
        auto settings = installation->alias(kv::schema::CompanyAliases::forCompany(1).application);
        settings.user = qEnvironmentVariable("KV_TEST_PG_USER");
        db = Connection::open(settings);

        kv::db::Transaction transaction(*db);
        db->exec(QStringLiteral("DELETE FROM APLICACAOMST"));
        db->exec(QStringLiteral("DELETE FROM APLICACAOCAP"));
        for (const QString& key : {Key, QStringLiteral("MODULO BASE")}) {
            for (int c = 0; c < 10; ++c)
                db->exec(QStringLiteral("INSERT INTO APLICACAOCAP (APLICACAO, CAPITULO) VALUES (:A, :C)"),
                         {{"A", key}, {"C", chapterOf(c)}});
            for (int p = 0; p < Programs; ++p)
                db->exec(QStringLiteral("INSERT INTO APLICACAOMST (APLICACAO, CAPITULO, PROGRAMA) VALUES (:A, :C, :P)"),
                         {{"A", key}, {"C", chapterOf(p)}, {"P", programName(p)}});
        }
        for (int u = 1; u < Users; ++u)
            for (int e = 1; e <= Companies; ++e)
                for (const QString& key : {Key, QStringLiteral("MODULO BASE")})
                    for (int p = 0; p < Programs; ++p)
                        insertRow(key, p, e, QStringLiteral("U%1").arg(u, 2, 10, QLatin1Char('0')));
        transaction.commit();
    }

    ~Company()
    {
        db.reset();
        dropServerDatabases();
    }

    void dropServerDatabases()
    {
        if (!onServer)
            return;
        kv::db::ConnectionSettings admin;
        admin.alias = QStringLiteral("BENCHPG");
        admin.dialect = kv::db::Dialect::Postgres;
        admin.host = qEnvironmentVariable("KV_TEST_PG_HOST");
        admin.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
        admin.user = qEnvironmentVariable("KV_TEST_PG_USER");
        admin.database = QStringLiteral("postgres");
        auto server = Connection::open(admin);
        const auto aliases = kv::schema::CompanyAliases::forCompany(1);
        for (const QString& alias : {kv::schema::InstallationBuilder::generalAlias(), aliases.application,
                                     aliases.invoicing, aliases.accounting})
            server->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(prefix + alias.toLower()));
    }

    void insertRow(const QString& key, int program, int company, const QString& user)
    {
        db->exec(QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, "
                                "INSERIR, ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES "
                                "(:A, :C, :P, :E, :U, :S, :S, :S, :S, :S, :S, :S, :S, :S)"),
                 {{"A", key},
                  {"C", chapterOf(program)},
                  {"P", programName(program)},
                  {"E", company},
                  {"U", user},
                  {"S", QStringLiteral("S")}});
    }

    void forgetNewUser() { db->exec(QStringLiteral("DELETE FROM APLICACAODET WHERE UTIL = :U"), {{"U", NewUser}}); }

    // What the editor does when the user is chosen: the missing rows, then
    // the first chapter's rights.
    int choose()
    {
        RightsRows::createMissingRows(db, Key, 1, NewUser);
        kv::db::Dataset work(QStringLiteral("WORKDET"));
        work.setConnection(db);
        work.setSql(RightsRows::workSql());
        work.setMode(kv::db::DatasetMode::Cached);
        work.setUpdateStatements(RightsRows::workStatements());
        work.setParam(QStringLiteral("WAplicacao"), Key);
        work.setParam(QStringLiteral("WCapitulo"), chapterOf(0));
        work.setParam(QStringLiteral("WEmpNro"), 1);
        work.setParam(QStringLiteral("WUtil"), NewUser);
        work.open();
        return work.recordCount();
    }
};

// The companies of the run, by engine; emptied before the program ends, while
// the database layer is still whole.
std::map<bool, std::unique_ptr<Company>> g_companies;

Company& company(bool postgres)
{
    auto& c = g_companies[postgres];
    if (!c)
        c = std::make_unique<Company>(postgres);
    return *c;
}

bool skipped(benchmark::State& state, bool postgres)
{
    if (postgres && qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST")) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return true;
    }
    return false;
}

void record(benchmark::State& state, const std::string& name, double seconds)
{
    const double perIteration = seconds / double(state.iterations());
    auto it = g_seconds.find(name);
    if (it == g_seconds.end() || perIteration < it->second)
        g_seconds[name] = perIteration;
}

// Times `work` alone. `fresh`: the new user has no rows before each run;
// otherwise the user has been chosen once already.
void measure(benchmark::State& state, bool postgres, const char* name, bool fresh,
             const std::function<void(Company&)>& work)
{
    if (skipped(state, postgres))
        return;
    Company& c = company(postgres);
    if (!fresh)
        c.choose();
    double seconds = 0;
    for (auto _ : state) {
        if (fresh) {
            state.PauseTiming();
            c.forgetNewUser();
            state.ResumeTiming();
        }
        const auto start = std::chrono::steady_clock::now();
        work(c);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    record(state, name, seconds);
}

void choose(Company& c) { benchmark::DoNotOptimize(c.choose()); }

void rawInsert(Company& c)
{
    kv::db::Transaction transaction(*c.db);
    for (int p = 0; p < Programs; ++p)
        c.insertRow(Key, p, 1, NewUser);
    transaction.commit();
}

void keyedRead(Company& c)
{
    const auto rows =
        c.db->query(QStringLiteral("SELECT * FROM APLICACAODET WHERE APLICACAO = :A AND EMPNRO = :E AND UTIL = :U"),
                    {{"A", Key}, {"E", 1}, {"U", NewUser}});
    benchmark::DoNotOptimize(rows.rows.size());
}

void firstChoice(benchmark::State& state, bool postgres, const char* name)
{
    measure(state, postgres, name, true, choose);
}
void bareInsert(benchmark::State& state, bool postgres, const char* name)
{
    measure(state, postgres, name, true, rawInsert);
}
void secondChoice(benchmark::State& state, bool postgres, const char* name)
{
    measure(state, postgres, name, false, choose);
}
void bareRead(benchmark::State& state, bool postgres, const char* name)
{
    measure(state, postgres, name, false, keyedRead);
}

BENCHMARK_CAPTURE(firstChoice, sqlite, false, "first choice sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareInsert, sqlite, false, "raw insert sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(secondChoice, sqlite, false, "second choice sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareRead, sqlite, false, "keyed read sqlite")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(firstChoice, pg, true, "first choice pg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareInsert, pg, true, "raw insert pg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(secondChoice, pg, true, "second choice pg")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(bareRead, pg, true, "keyed read pg")->Unit(benchmark::kMillisecond);

void ratio(const char* label, const char* ours, const char* bare)
{
    if (!g_seconds.count(ours) || !g_seconds.count(bare))
        return;
    const double r = g_seconds[ours] / g_seconds[bare];
    std::printf("%-4s %-34s %8.2f ms vs %8.2f ms  ratio %.2fx (goal <= 2x)\n", r <= 2.0 ? "OK" : "SLOW", label,
                g_seconds[ours] * 1000, g_seconds[bare] * 1000, r);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nRights editor summary (best of the runs):\n");
    ratio("first choice of a user, SQLite", "first choice sqlite", "raw insert sqlite");
    ratio("second choice of a user, SQLite", "second choice sqlite", "keyed read sqlite");
    ratio("first choice of a user, PostgreSQL", "first choice pg", "raw insert pg");
    ratio("second choice of a user, PostgreSQL", "second choice pg", "keyed read pg");
    std::fflush(stdout);
    g_companies.clear();
    benchmark::Shutdown();
    return 0;
}
