// Open-and-walk and apply benchmarks of the dataset layer against the raw
// engine APIs, on SQLite always and on PostgreSQL when KV_TEST_PG_* is set.
// Ends with one summary line per ratio and the memory of the cached rows.
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <malloc.h>
#include <sqlite3.h>

#include <QDateTime>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <map>
#include <string>

using namespace kv::db;

namespace {

constexpr int WalkRows = 1'000'000;
constexpr int ApplyRows = 100'000;

const char* const CreateBig =
    "CREATE TABLE BIG (CODIGO INTEGER NOT NULL PRIMARY KEY, DESIGNACAO VARCHAR(40), QTD INTEGER, "
    "PRECO FLOAT, DATA TIMESTAMP)";
const char* const CreateTarget =
    "CREATE TABLE ALVO (CODIGO INTEGER NOT NULL PRIMARY KEY, DESIGNACAO VARCHAR(40), QTD INTEGER, "
    "PRECO FLOAT, DATA TIMESTAMP)";
const char* const WalkSql = "SELECT CODIGO, DESIGNACAO, QTD, PRECO, DATA FROM BIG ORDER BY CODIGO";
const char* const InsertSql =
    "INSERT INTO ALVO (CODIGO, DESIGNACAO, QTD, PRECO, DATA) VALUES (:CODIGO, :DESIGNACAO, :QTD, :PRECO, :DATA)";

// Raw row data: each value at its declared binary size (INTEGER 4 bytes, FLOAT
// 8, TIMESTAMP 8) plus the bytes of the text; what the rows are, not how an
// engine or a cache happens to keep them.
constexpr double RawFixedBytes = 4 + 4 + 8 + 8;

std::map<std::string, double> g_seconds; // best time per benchmark, for the ratios
double g_rawBytes[2] = {0, 0}; // raw row data of the walk, per engine

void record(const std::string& name, double seconds)
{
    auto it = g_seconds.find(name);
    if (it == g_seconds.end() || seconds < it->second)
        g_seconds[name] = seconds;
}

double now() { return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count(); }

QString designation(int i) { return QStringLiteral("Artigo de embalagem %1").arg(i); }

// Dates spread over four years and through the day, as documents are.
QByteArray benchDate(int i)
{
    const QDate day = QDate(2020, 1, 1).addDays(i % 1500);
    const int second = i % 86400;
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%04d-%02d-%02d %02d:%02d:%02d", day.year(), day.month(), day.day(),
                  second / 3600, second / 60 % 60, second % 60);
    return QByteArray(buffer);
}

// --- the two databases -------------------------------------------------------

struct Sqlite {
    QTemporaryDir dir;
    QString path;
    std::shared_ptr<Connection> connection;

    Sqlite()
    {
        path = dir.filePath(QStringLiteral("bench.db"));
        ConnectionSettings s;
        s.alias = QStringLiteral("BENCH");
        s.database = path;
        connection = Connection::open(s);
        connection->exec(QString::fromLatin1(CreateBig));
        connection->exec(QString::fromLatin1(CreateTarget));
        sqlite3* db = nullptr;
        sqlite3_open(path.toUtf8().constData(), &db);
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO BIG VALUES (?1, ?2, ?3, ?4, ?5)", -1, &st, nullptr);
        for (int i = 0; i < WalkRows; ++i) {
            const QByteArray d = designation(i).toUtf8();
            sqlite3_bind_int64(st, 1, i);
            sqlite3_bind_text(st, 2, d.constData(), int(d.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(st, 3, i % 1000);
            sqlite3_bind_double(st, 4, i * 0.25);
            const QByteArray when = benchDate(i);
            sqlite3_bind_text(st, 5, when.constData(), int(when.size()), SQLITE_TRANSIENT);
            sqlite3_step(st);
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        sqlite3_close(db);
    }
};

Sqlite& sqliteDb()
{
    static Sqlite instance;
    return instance;
}

bool hasPg() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

struct Pg {
    QString name = QStringLiteral("kv_bench_db");
    std::shared_ptr<Connection> connection;
    std::string conninfo;

    static ConnectionSettings settings(const QString& database)
    {
        ConnectionSettings s;
        s.alias = QStringLiteral("BENCHPG");
        s.dialect = Dialect::Postgres;
        s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
        s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
        s.user = qEnvironmentVariable("KV_TEST_PG_USER");
        s.database = database;
        return s;
    }

    Pg()
    {
        {
            auto admin = Connection::open(settings(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
        }
        connection = Connection::open(settings(name));
        connection->exec(QString::fromLatin1(CreateBig));
        connection->exec(QString::fromLatin1(CreateTarget));
        connection->exec(
            QStringLiteral("INSERT INTO BIG SELECT g, 'Artigo de embalagem ' || g, g % 1000, g * 0.25, "
                           "TIMESTAMP '2020-01-01' + (g % 1500) * INTERVAL '1 day' + (g % 86400) * INTERVAL '1 second' "
                           "FROM generate_series(0, %1) g")
                .arg(WalkRows - 1));
        connection->exec(QStringLiteral("ANALYZE BIG"));
        const ConnectionSettings s = settings(name);
        conninfo =
            QStringLiteral("host=%1 port=%2 user=%3 dbname=%4").arg(s.host).arg(s.port).arg(s.user, name).toStdString();
    }
    ~Pg()
    {
        connection.reset();
        try {
            auto admin = Connection::open(settings(QStringLiteral("postgres")));
            admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (...) {
        }
    }
};

Pg& pgDb()
{
    static Pg instance;
    return instance;
}

std::shared_ptr<Connection> connectionFor(Dialect dialect)
{
    return dialect == Dialect::Sqlite ? sqliteDb().connection : pgDb().connection;
}

// --- walk ----------------------------------------------------------------------

// Every field of every row read once, through cached Field objects.
double walkDataset(Dialect dialect, Dataset* keep = nullptr)
{
    Dataset local(QStringLiteral("BIG"));
    Dataset& ds = keep ? *keep : local;
    ds.setConnection(connectionFor(dialect));
    ds.setSql(QString::fromLatin1(WalkSql));
    ds.setMode(DatasetMode::ReadOnly);
    ds.open();
    Field codigo = ds.field(QStringLiteral("CODIGO")), designacao = ds.field(QStringLiteral("DESIGNACAO")),
          qtd = ds.field(QStringLiteral("QTD")), preco = ds.field(QStringLiteral("PRECO")),
          data = ds.field(QStringLiteral("DATA"));
    double sum = 0;
    int rows = 0;
    for (; !ds.eof(); ds.next()) {
        sum += double(codigo.asInt()) + double(qtd.asInt()) + preco.asFloat();
        sum += double(designacao.asString().size());
        sum += data.asDateTime().isValid() ? 1 : 0;
        ++rows;
    }
    benchmark::DoNotOptimize(sum);
    if (rows != WalkRows)
        std::fprintf(stderr, "walk read %d rows\n", rows);
    return sum;
}

// The raw SQLite walk: prepare, step through every row handing it to readRow,
// which adds to the checksum and returns the row's raw data size.
template <typename ReadRow>
void rawSqliteWalk(benchmark::State& state, const std::string& key, ReadRow readRow)
{
    const QByteArray path = sqliteDb().path.toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open(path.constData(), &db);
    for (auto _ : state) {
        const double start = now();
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, WalkSql, -1, &st, nullptr);
        double sum = 0, bytes = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            bytes += readRow(st, sum);
        sqlite3_finalize(st);
        benchmark::DoNotOptimize(sum);
        g_rawBytes[0] = bytes;
        record(key, now() - start);
    }
    sqlite3_close(db);
}

// Values as the engine gives them: numbers, and text as bytes.
void BM_Walk_Sqlite_Raw(benchmark::State& state)
{
    rawSqliteWalk(state, "walk sqlite raw", [](sqlite3_stmt* st, double& sum) {
        sum += double(sqlite3_column_int64(st, 0)) + double(sqlite3_column_int64(st, 2)) + sqlite3_column_double(st, 3);
        const unsigned char* text = sqlite3_column_text(st, 1);
        const int length = sqlite3_column_bytes(st, 1);
        const unsigned char* date = sqlite3_column_text(st, 4);
        const int dateLength = sqlite3_column_bytes(st, 4);
        sum += length + dateLength + (text ? text[0] : 0) + (date ? date[0] : 0);
        return RawFixedBytes + length;
    });
}

// The same raw read, building the values a Qt program works with (QString,
// QDateTime): what of the difference is the layer and what is Qt's.
QDateTime dateFromText(const char* text, int length)
{
    if (length < 19)
        return {};
    auto num = [text](int at, int width) {
        int v = 0;
        for (int i = 0; i < width; ++i)
            v = v * 10 + (text[at + i] - '0');
        return v;
    };
    return QDateTime(QDate(num(0, 4), num(5, 2), num(8, 2)), QTime(num(11, 2), num(14, 2), num(17, 2)), Qt::UTC);
}

void BM_Walk_Sqlite_RawQt(benchmark::State& state)
{
    rawSqliteWalk(state, "walk sqlite raw+qt", [](sqlite3_stmt* st, double& sum) {
        sum += double(sqlite3_column_int64(st, 0)) + double(sqlite3_column_int64(st, 2)) + sqlite3_column_double(st, 3);
        const int length = sqlite3_column_bytes(st, 1);
        const QString text = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, 1)), length);
        const QDateTime date =
            dateFromText(reinterpret_cast<const char*>(sqlite3_column_text(st, 4)), sqlite3_column_bytes(st, 4));
        sum += double(text.size()) + (date.isValid() ? 1 : 0);
        return RawFixedBytes + length;
    });
}

void BM_Walk_Sqlite_Dataset(benchmark::State& state)
{
    sqliteDb();
    for (auto _ : state) {
        const double start = now();
        walkDataset(Dialect::Sqlite);
        record("walk sqlite dataset", now() - start);
    }
}

void BM_Walk_Pg_Raw(benchmark::State& state)
{
    if (!hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return;
    }
    PGconn* conn = PQconnectdb(pgDb().conninfo.c_str());
    for (auto _ : state) {
        const double start = now();
        PGresult* r = PQexec(conn, WalkSql);
        double sum = 0, bytes = 0;
        const int rows = PQntuples(r);
        for (int i = 0; i < rows; ++i) {
            sum += double(std::atoll(PQgetvalue(r, i, 0))) + double(std::atoll(PQgetvalue(r, i, 2)))
                   + std::atof(PQgetvalue(r, i, 3));
            const int length = PQgetlength(r, i, 1);
            sum += length + PQgetvalue(r, i, 1)[0] + PQgetvalue(r, i, 4)[0];
            bytes += RawFixedBytes + length;
        }
        PQclear(r);
        benchmark::DoNotOptimize(sum);
        g_rawBytes[1] = bytes;
        record("walk pg raw", now() - start);
    }
    PQfinish(conn);
}

void BM_Walk_Pg_Dataset(benchmark::State& state)
{
    if (!hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return;
    }
    pgDb();
    for (auto _ : state) {
        const double start = now();
        walkDataset(Dialect::Postgres);
        record("walk pg dataset", now() - start);
    }
}

// --- apply ---------------------------------------------------------------------

void BM_Apply_Sqlite_Raw(benchmark::State& state)
{
    const QByteArray path = sqliteDb().path.toUtf8();
    sqlite3* db = nullptr;
    sqlite3_open(path.constData(), &db);
    sqlite3_busy_timeout(db, 10000);
    for (auto _ : state) {
        state.PauseTiming();
        sqlite3_exec(db, "DELETE FROM ALVO", nullptr, nullptr, nullptr);
        std::vector<QByteArray> names;
        for (int i = 0; i < ApplyRows; ++i)
            names.push_back(designation(i).toUtf8());
        state.ResumeTiming();
        const double start = now();
        const QByteArray date("2024-03-15 10:30:00");
        sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
        sqlite3_stmt* st = nullptr;
        sqlite3_prepare_v2(db, "INSERT INTO ALVO (CODIGO, DESIGNACAO, QTD, PRECO, DATA) VALUES (?1, ?2, ?3, ?4, ?5)",
                           -1, &st, nullptr);
        for (int i = 0; i < ApplyRows; ++i) {
            sqlite3_bind_int64(st, 1, i);
            sqlite3_bind_text(st, 2, names[std::size_t(i)].constData(), int(names[std::size_t(i)].size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(st, 3, i % 1000);
            sqlite3_bind_double(st, 4, i * 0.25);
            sqlite3_bind_text(st, 5, date.constData(), int(date.size()), SQLITE_TRANSIENT);
            if (sqlite3_step(st) != SQLITE_DONE)
                state.SkipWithError(sqlite3_errmsg(db));
            sqlite3_reset(st);
        }
        sqlite3_finalize(st);
        sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr);
        record("apply sqlite raw", now() - start);
    }
    sqlite3_exec(db, "DELETE FROM ALVO", nullptr, nullptr, nullptr);
    sqlite3_close(db);
}

void BM_Apply_Pg_Raw(benchmark::State& state)
{
    if (!hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return;
    }
    PGconn* conn = PQconnectdb(pgDb().conninfo.c_str());
    for (auto _ : state) {
        state.PauseTiming();
        PQclear(PQexec(conn, "DELETE FROM ALVO"));
        std::vector<QByteArray> names;
        for (int i = 0; i < ApplyRows; ++i)
            names.push_back(designation(i).toUtf8());
        state.ResumeTiming();
        const double start = now();
        const QByteArray date("2024-03-15 10:30:00");
        PQclear(PQexec(conn, "BEGIN"));
        PQclear(PQprepare(conn, "ins",
                          "INSERT INTO ALVO (CODIGO, DESIGNACAO, QTD, PRECO, DATA) VALUES ($1, $2, $3, $4, $5)", 5,
                          nullptr));
        for (int i = 0; i < ApplyRows; ++i) {
            const QByteArray code = QByteArray::number(i), qtd = QByteArray::number(i % 1000),
                             price = QByteArray::number(i * 0.25, 'g', 17);
            const char* values[] = {code.constData(), names[std::size_t(i)].constData(), qtd.constData(),
                                    price.constData(), date.constData()};
            PGresult* r = PQexecPrepared(conn, "ins", 5, values, nullptr, nullptr, 0);
            if (PQresultStatus(r) != PGRES_COMMAND_OK)
                state.SkipWithError(PQresultErrorMessage(r));
            PQclear(r);
        }
        PQclear(PQexec(conn, "COMMIT"));
        PQclear(PQexec(conn, "DEALLOCATE ins"));
        record("apply pg raw", now() - start);
    }
    PQclear(PQexec(conn, "DELETE FROM ALVO"));
    PQfinish(conn);
}

void applyDataset(benchmark::State& state, Dialect dialect, const char* key)
{
    auto connection = connectionFor(dialect);
    for (auto _ : state) {
        state.PauseTiming();
        connection->exec(QStringLiteral("DELETE FROM ALVO"));
        Dataset ds(QStringLiteral("ALVO"));
        ds.setConnection(connection);
        ds.setSql(QStringLiteral("SELECT * FROM ALVO ORDER BY CODIGO"));
        ds.setUpdateStatements({QString::fromLatin1(InsertSql), {}, {}});
        ds.open();
        Field codigo = ds.field(QStringLiteral("CODIGO")), designacao = ds.field(QStringLiteral("DESIGNACAO")),
              qtd = ds.field(QStringLiteral("QTD")), preco = ds.field(QStringLiteral("PRECO")),
              data = ds.field(QStringLiteral("DATA"));
        const QDateTime when(QDate(2024, 3, 15), QTime(10, 30));
        const double cacheStart = now();
        for (int i = 0; i < ApplyRows; ++i) {
            ds.append();
            codigo.setValue(i);
            designacao.setValue(designation(i));
            qtd.setValue(i % 1000);
            preco.setValue(i * 0.25);
            data.setValue(when);
            ds.post();
        }
        record(std::string(key) + " caching", now() - cacheStart);
        state.ResumeTiming();
        const double start = now();
        ds.applyUpdates();
        record(key, now() - start);
        state.PauseTiming();
        ds.close();
        state.ResumeTiming();
    }
    connection->exec(QStringLiteral("DELETE FROM ALVO"));
}

void BM_Apply_Sqlite_Dataset(benchmark::State& state) { applyDataset(state, Dialect::Sqlite, "apply sqlite dataset"); }

void BM_Apply_Pg_Dataset(benchmark::State& state)
{
    if (!hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return;
    }
    applyDataset(state, Dialect::Postgres, "apply pg dataset");
}

BENCHMARK(BM_Walk_Sqlite_Raw)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Walk_Sqlite_RawQt)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Walk_Sqlite_Dataset)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Walk_Pg_Raw)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Walk_Pg_Dataset)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Apply_Sqlite_Raw)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Apply_Sqlite_Dataset)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Apply_Pg_Raw)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();
BENCHMARK(BM_Apply_Pg_Dataset)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

// Heap taken by the million cached rows (all fetched), against the raw row data.
double cachedBytes(Dialect dialect)
{
    malloc_trim(0);
    const std::size_t before = mallinfo2().uordblks;
    Dataset ds(QStringLiteral("BIG"));
    ds.setConnection(connectionFor(dialect));
    ds.setSql(QString::fromLatin1(WalkSql));
    ds.setMode(DatasetMode::ReadOnly);
    ds.open();
    ds.recordCount();
    const std::size_t after = mallinfo2().uordblks;
    return double(after) - double(before);
}

void ratio(const char* what, const std::string& dataset, const std::string& raw)
{
    if (!g_seconds.count(dataset) || !g_seconds.count(raw))
        return;
    std::printf("RATIO %-28s dataset %8.1f ms  raw %8.1f ms  ratio %.2fx (goal <= 1.5x)\n", what,
                g_seconds[dataset] * 1000, g_seconds[raw] * 1000, g_seconds[dataset] / g_seconds[raw]);
}

} // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    std::printf("\nDatabase layer summary (best of the runs):\n");
    ratio("walk 1M rows, SQLite", "walk sqlite dataset", "walk sqlite raw");
    ratio("walk 1M rows, SQLite (Qt values)", "walk sqlite dataset", "walk sqlite raw+qt");
    ratio("walk 1M rows, PostgreSQL", "walk pg dataset", "walk pg raw");
    ratio("apply 100k inserts, SQLite", "apply sqlite dataset", "apply sqlite raw");
    ratio("apply 100k inserts, PostgreSQL", "apply pg dataset", "apply pg raw");
    for (const char* key : {"apply sqlite dataset caching", "apply pg dataset caching"})
        if (g_seconds.count(key))
            std::printf("INFO  %-28s %8.1f ms (append/setValue/post of 100k rows, not in the ratio)\n", key,
                        g_seconds[key] * 1000);
    const Dialect dialects[] = {Dialect::Sqlite, Dialect::Postgres};
    for (int i = 0; i < 2; ++i) {
        if (g_rawBytes[i] <= 0)
            continue;
        const double cached = cachedBytes(dialects[i]);
        std::printf("MEMORY %-27s cached %7.1f MB  raw row data %7.1f MB  ratio %.2fx (goal <= 2x)\n",
                    i == 0 ? "1M rows, SQLite" : "1M rows, PostgreSQL", cached / 1e6, g_rawBytes[i] / 1e6,
                    cached / g_rawBytes[i]);
    }
    benchmark::Shutdown();
    return 0;
}
