// The requirements calculation (manufacture variant) and the supplier
// proposal for a month's open orders, on two embedded SQLite files as the
// application and invoicing databases: 200,000 articles, 20,000 customer
// orders of the year each generated into one production order with ten
// planned-consumption rows, 30,000 supplier-order lines, 30,000 requisition
// lines, 10,000 reservations and two price-list rows per raw material. The
// raw run sends the same statements and the same transfers (one read, one
// prepared multi-row insert per batch) through the SQLite C API.
#include "production/core/RequirementsCalculation.h"
#include "production/core/RequirementsSql.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "platform/text/DecimalRounding.h"
#include "schema/Schema.h"

#include <QCollator>
#include <QCoreApplication>
#include <QDateTime>
#include <QHash>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>

#include <map>
#include <string>
#include <variant>
#include <vector>

using namespace kv::production;

namespace {

constexpr int Articles = 200000;
constexpr int RawMaterials = 5000;
constexpr int Orders = 20000;
constexpr int ConsumptionRows = 10;
constexpr int SupplierLines = 30000;
constexpr int RequisitionLines = 30000;
const QString User = QStringLiteral("ANA");

QString material(int i) { return QStringLiteral("MP%1").arg(i % RawMaterials, 6, 10, QLatin1Char('0')); }
QString product(int i) { return QStringLiteral("PA%1").arg(i % 20000, 6, 10, QLatin1Char('0')); }

RequirementLimits march()
{
    RequirementLimits limits;
    limits.deliveryFrom = QDate(2024, 3, 1);
    limits.deliveryTo = QDate(2024, 3, 31);
    return limits;
}

bool hasPg() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

kv::db::ConnectionSettings pgSettings(const QString& database)
{
    kv::db::ConnectionSettings s;
    s.alias = database;
    s.dialect = kv::db::Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

const QString PgNames[2] = {QStringLiteral("kv_bench_req_app"), QStringLiteral("kv_bench_req_inv")};

struct Plant {
    QTemporaryDir dir;
    kv::db::Dialect dialect;
    std::shared_ptr<kv::db::Connection> application;
    std::shared_ptr<kv::db::Connection> invoicing;

    explicit Plant(kv::db::Dialect engine) : dialect(engine)
    {
        if (dialect == kv::db::Dialect::Postgres) {
            auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
            for (const QString& name : PgNames) {
                admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
                admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(name));
            }
            application = kv::db::Connection::open(pgSettings(PgNames[0]));
            invoicing = kv::db::Connection::open(pgSettings(PgNames[1]));
        } else {
            kv::db::ConnectionSettings s;
            s.alias = QStringLiteral("BDESPECIF01");
            s.database = dir.filePath(QStringLiteral("aplicacao.db"));
            application = kv::db::Connection::open(s);
            s.alias = QStringLiteral("BDFACTURA");
            s.database = dir.filePath(QStringLiteral("facturacao.db"));
            invoicing = kv::db::Connection::open(s);
        }
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        schema.create(*application, kv::schema::Database::Application);
        schema.create(*invoicing, kv::schema::Database::Invoicing);
        // what a consumption used arrives with a version step
        application->exec("ALTER TABLE ORCCONSUMOS ADD COLUMN CONSUMIDO DOUBLE PRECISION");
        fill();
        if (dialect == kv::db::Dialect::Postgres) // the statistics autovacuum would gather before long
            for (auto* db : {application.get(), invoicing.get()})
                db->exec("ANALYZE");
        RequirementsCalculation(*application, *invoicing, User, RequirementVariant::Manufacture).preselect(march());
    }

    void fill()
    {
        kv::db::Connection& inv = *invoicing;
        kv::db::Connection& app = *application;
        kv::db::Transaction i(inv);
        for (int a = 0; a < Articles; ++a) {
            const bool raw = a < RawMaterials;
            inv.exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, UNCOMPRA, UNVENDA, EXIQTD, CUSTOPADRAO, PMCUSTO) "
                     "VALUES (:C, :D, 'KG', 'KG', :E, :P, :M)",
                     {{"C", raw ? material(a) : QStringLiteral("AR%1").arg(a, 6, 10, QLatin1Char('0'))},
                      {"D", QStringLiteral("Artigo %1").arg(a)},
                      {"E", a % 7 == 0 ? 50.0 : 0.0},
                      {"P", 1.0 + a % 13 * 0.01},
                      {"M", 1.1}});
        }
        for (int p = 0; p < 20000; ++p)
            inv.exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, UNVENDA) VALUES (:C, 'Caixa', 'MIL')",
                     {{"C", product(p)}});
        for (int c = 1; c <= 2000; ++c)
            inv.exec("INSERT INTO CLIENTES (CODIGO, NOME, SIGLA) VALUES (:C, 'Cliente', 'CLI')", {{"C", c}});
        for (int o = 1; o <= Orders; ++o) {
            const QDateTime delivery = QDate(2024, 1, 1).addDays(o % 360).startOfDay();
            inv.exec("INSERT INTO ENCCLIMAS (ENCNRO, CLINRO, TOTENT) VALUES (:E, :C, 'N')",
                     {{"E", o}, {"C", 1 + o % 2000}});
            inv.exec("INSERT INTO ENCCLIDET (ENCNRO, DETAIL, CLINRO, ARTIGO, TIPOREG, TOTENT, QTDCAR, DATAENTRG) "
                     "VALUES (:E, 1, :C, :A, 'A', 'N', 1000, :D)",
                     {{"E", o}, {"C", 1 + o % 2000}, {"A", product(o)}, {"D", delivery}});
        }
        for (int l = 0; l < SupplierLines; ++l) {
            if (l % 10 == 0)
                inv.exec("INSERT INTO FRNENCMAS (ENCNRO, FRNNRO, FRNNOM, DATEMI) VALUES (:E, 12, 'Fornecedor', :D)",
                         {{"E", l / 10}, {"D", QDate(2024, 2, 1).startOfDay()}});
            inv.exec("INSERT INTO FRNENCDET (ENCNRO, DETAIL, ARTIGO, TIPOREG, TOTENT, QUANTID, QTDCAR, ENCCLINRO) "
                     "VALUES (:E, :D, :A, 'A', :T, 20, 10, :C)",
                     {{"E", l / 10}, {"D", l % 10 + 1}, {"A", material(l * 7)}, {"T", l % 3 ? "N" : "S"}, {"C", l}});
        }
        for (int l = 0; l < RequisitionLines; ++l)
            inv.exec("INSERT INTO FRNREQDET (UTILIZADOR, REQNRO, DETAIL, ARTIGO, QUANTID, APROVADO) "
                     "VALUES ('OUTRO', :R, :D, :A, 5, :P)",
                     {{"R", l / 10}, {"D", l % 10 + 1}, {"A", material(l * 11)}, {"P", l % 4 ? "N" : "S"}});
        for (int r = 0; r < 10000; ++r)
            inv.exec("INSERT INTO STKENCEXIST (ANO, ENCNRO, ARTIGO, EXTRA, EXIQTD) VALUES ('2024', :E, :A, '', 3)",
                     {{"E", r * 2}, {"A", material(r * 3)}});
        for (int m = 0; m < RawMaterials; ++m)
            for (int s : {12, 30})
                inv.exec("INSERT INTO STKARTGFORN (CODARTG, CODFORN, NOME, PRECO, PRCDESC, VOSREF) "
                         "VALUES (:A, :S, 'Fornecedor', :P, 2, 'REF')",
                         {{"A", material(m)}, {"S", s}, {"P", m % 5 ? 0.71 + s * 0.001 : 0.0}});
        i.commit();
        kv::db::Transaction a(app);
        for (int o = 1; o <= Orders; ++o) {
            const QDate delivery = QDate(2024, 1, 1).addDays(o % 360);
            const QString week = QStringLiteral("%1").arg(delivery.weekNumber(), 2, 10, QLatin1Char('0'));
            app.exec("INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, QUANTFINAL, QTDPROD, PRODUZ) "
                     "VALUES ('2024', :S, :O, 0, 1, :O, 1000, :P, 'N')",
                     {{"S", week}, {"O", o}, {"P", o % 4 * 100.0}});
            app.exec("INSERT INTO ORDFABENC (ANO, ENCNRO, ENCDETAIL, SEMANA, ORDNRO, DETAIL) "
                     "VALUES ('2024', :O, 1, :S, :O, 1)",
                     {{"S", week}, {"O", o}});
            for (int d = 1; d <= ConsumptionRows; ++d)
                app.exec(
                    "INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, TIPOCUSTO, "
                    "ARTIGO, CONSUMO, CONSUMIDO, QTDAPROV) VALUES ('2024', :O, 0, 1, :D, :T, 'MP', :A, :C, :U, 1000)",
                    {{"O", o},
                     {"D", d},
                     {"T", d % 2 ? 8 : 6},
                     {"A", material(o * 13 + d)},
                     {"C", 123.4567 * d},
                     {"U", d % 3 * 1.5}});
        }
        a.commit();
    }
};

Plant* plantFor(benchmark::State& state)
{
    static std::map<int, std::unique_ptr<Plant>> plants;
    const bool pg = state.range(0) == 1;
    if (pg && !hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    auto& plant = plants[pg ? 1 : 0];
    if (!plant)
        plant = std::make_unique<Plant>(pg ? kv::db::Dialect::Postgres : kv::db::Dialect::Sqlite);
    return plant.get();
}

void BM_CalculationAndProposal(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    Plant& p = *plant;
    RequirementsCalculation calc(*p.application, *p.invoicing, User, RequirementVariant::Manufacture);
    for (auto _ : state) {
        calc.calculate(march());
        calc.propose(QDate(2024, 3, 1));
    }
    state.counters["artigos"] = p.application->scalar("SELECT COUNT(*) FROM LOGARTIGOS").toDouble();
}
BENCHMARK(BM_CalculationAndProposal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// --- the same on the engines' own client APIs ---

using Value = std::variant<std::monostate, long long, double, std::string>;
using Row = std::vector<Value>;
using Binds = std::map<std::string, Value>;

int rawCompare(void* arg, int l1, const void* t1, int l2, const void* t2)
{
    return static_cast<QCollator*>(arg)->compare(QString::fromUtf8(static_cast<const char*>(t1), l1),
                                                 QString::fromUtf8(static_cast<const char*>(t2), l2));
}

// A raw connection: statements with the named parameters of the core's text
// (":UTIL"), values as the engine gives them.
struct RawDb {
    virtual ~RawDb() = default;
    virtual void exec(const std::string& sql, const Binds& binds = {}) = 0;
    virtual std::vector<Row> read(const std::string& sql, const Binds& binds = {},
                                  std::vector<std::string>* columns = nullptr) = 0;
    // One prepared multi-row insert per batch, as the transfer does.
    virtual void insert(const std::string& table, const std::vector<std::string>& columns,
                        const std::vector<Row>& rows) = 0;
    virtual void begin() = 0;
    void transfer(RawDb& source, const std::string& select, const Binds& binds, const std::string& table)
    {
        std::vector<std::string> columns;
        const std::vector<Row> rows = source.read(select, binds, &columns);
        insert(table, columns, rows);
    }
};

std::string batchInsertSql(const std::string& table, const std::vector<std::string>& columns, std::size_t count,
                           bool numbered)
{
    std::string sql = "INSERT INTO ";
    sql.append(table).append(" (");
    for (std::size_t c = 0; c < columns.size(); ++c)
        sql.append(c ? ", " : "").append(columns[c]);
    sql.append(") VALUES ");
    int n = 0;
    for (std::size_t r = 0; r < count; ++r) {
        sql.append(r ? ",(" : "(");
        for (std::size_t c = 0; c < columns.size(); ++c) {
            sql.append(c ? "," : "");
            if (numbered)
                sql.append("$").append(std::to_string(++n));
            else
                sql.append("?");
        }
        sql.append(")");
    }
    return sql;
}

struct Raw final : RawDb {
    sqlite3* db = nullptr;
    QCollator collator{QLocale(QStringLiteral("pt_PT"))};
    std::map<std::string, sqlite3_stmt*> statements;

    explicit Raw(const QString& path)
    {
        sqlite3_open(path.toUtf8().constData(), &db);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        sqlite3_create_collation_v2(db, "pt_ci", SQLITE_UTF8, &collator, rawCompare, nullptr);
        sqlite3_busy_timeout(db, 10000);
    }
    ~Raw()
    {
        for (auto& [sql, st] : statements)
            sqlite3_finalize(st);
        sqlite3_close(db);
    }
    sqlite3_stmt* prepared(const std::string& sql, const Binds& binds)
    {
        sqlite3_stmt*& st = statements[sql];
        if (!st && sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db));
        sqlite3_reset(st);
        if (!binds.empty())
            for (int i = 1; i <= sqlite3_bind_parameter_count(st); ++i) {
                const auto it = binds.find(sqlite3_bind_parameter_name(st, i));
                bind(st, i, it == binds.end() ? Value() : it->second);
            }
        return st;
    }
    static void bind(sqlite3_stmt* st, int i, const Value& v)
    {
        if (const auto* n = std::get_if<long long>(&v))
            sqlite3_bind_int64(st, i, *n);
        else if (const auto* d = std::get_if<double>(&v))
            sqlite3_bind_double(st, i, *d);
        else if (const auto* t = std::get_if<std::string>(&v))
            sqlite3_bind_text(st, i, t->c_str(), int(t->size()), SQLITE_TRANSIENT);
        else
            sqlite3_bind_null(st, i);
    }
    void begin() override { exec("BEGIN IMMEDIATE"); }
    void exec(const std::string& sql, const Binds& binds = {}) override
    {
        sqlite3_stmt* st = prepared(sql, binds);
        if (sqlite3_step(st) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db));
    }
    std::vector<Row> read(const std::string& sql, const Binds& binds = {},
                          std::vector<std::string>* columns = nullptr) override
    {
        sqlite3_stmt* st = prepared(sql, binds);
        std::vector<Row> rows;
        if (columns) {
            columns->clear();
            for (int c = 0; c < sqlite3_column_count(st); ++c)
                columns->push_back(sqlite3_column_name(st, c));
        }
        while (sqlite3_step(st) == SQLITE_ROW) {
            Row row;
            for (int c = 0; c < sqlite3_column_count(st); ++c) {
                switch (sqlite3_column_type(st, c)) {
                case SQLITE_INTEGER: row.emplace_back(static_cast<long long>(sqlite3_column_int64(st, c))); break;
                case SQLITE_FLOAT: row.emplace_back(sqlite3_column_double(st, c)); break;
                case SQLITE_NULL: row.emplace_back(); break;
                default: row.emplace_back(std::string(reinterpret_cast<const char*>(sqlite3_column_text(st, c))));
                }
            }
            rows.push_back(std::move(row));
        }
        return rows;
    }
    void insert(const std::string& table, const std::vector<std::string>& columns,
                const std::vector<Row>& rows) override
    {
        const std::size_t perBatch = std::max<std::size_t>(1, 999 / columns.size());
        for (std::size_t start = 0; start < rows.size(); start += perBatch) {
            const std::size_t count = std::min(perBatch, rows.size() - start);
            sqlite3_stmt* st = prepared(batchInsertSql(table, columns, count, false), {});
            int i = 1;
            for (std::size_t r = 0; r < count; ++r)
                for (const Value& v : rows[start + r])
                    bind(st, i++, v);
            if (sqlite3_step(st) != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(db));
        }
    }
};

struct PgRaw final : RawDb {
    PGconn* conn = nullptr;
    std::map<std::string, std::pair<std::string, std::vector<std::string>>> translated; // named -> $n, names
    std::map<std::string, std::string> prepared; // $n text -> statement name

    explicit PgRaw(const QString& database)
    {
        const std::string info = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                                     .arg(qEnvironmentVariable("KV_TEST_PG_HOST"))
                                     .arg(qEnvironmentVariableIntValue("KV_TEST_PG_PORT"))
                                     .arg(qEnvironmentVariable("KV_TEST_PG_USER"), database)
                                     .toStdString();
        conn = PQconnectdb(info.c_str());
        if (PQstatus(conn) != CONNECTION_OK)
            throw std::runtime_error(PQerrorMessage(conn));
        PQsetNoticeProcessor(conn, [](void*, const char*) {}, nullptr);
    }
    ~PgRaw() override { PQfinish(conn); }
    // ":NAME" to "$n", each name one number.
    const std::pair<std::string, std::vector<std::string>>& numbered(const std::string& sql)
    {
        auto it = translated.find(sql);
        if (it != translated.end())
            return it->second;
        std::string out;
        std::vector<std::string> names;
        for (std::size_t i = 0; i < sql.size();) {
            if (sql[i] == ':' && i + 1 < sql.size() && std::isalpha(static_cast<unsigned char>(sql[i + 1]))) {
                std::size_t e = i + 1;
                while (e < sql.size() && (std::isalnum(static_cast<unsigned char>(sql[e])) || sql[e] == '_'))
                    ++e;
                const std::string name = sql.substr(i, e - i);
                auto at = std::find(names.begin(), names.end(), name);
                if (at == names.end())
                    at = names.insert(names.end(), name);
                out.append("$").append(std::to_string(at - names.begin() + 1));
                i = e;
            } else {
                out += sql[i++];
            }
        }
        return translated.emplace(sql, std::make_pair(out, names)).first->second;
    }
    static std::optional<std::string> textOf(const Value& v)
    {
        if (const auto* n = std::get_if<long long>(&v))
            return std::to_string(*n);
        if (const auto* d = std::get_if<double>(&v)) {
            char buffer[32];
            std::snprintf(buffer, sizeof buffer, "%.17g", *d);
            return std::string(buffer);
        }
        if (const auto* t = std::get_if<std::string>(&v))
            return *t;
        return std::nullopt;
    }
    PGresult* run(const std::string& text, const std::vector<std::optional<std::string>>& values)
    {
        std::string& name = prepared[text];
        if (name.empty()) {
            name = std::to_string(prepared.size()).insert(0, 1, 'r');
            PGresult* p = PQprepare(conn, name.c_str(), text.c_str(), 0, nullptr);
            const bool ok = PQresultStatus(p) == PGRES_COMMAND_OK;
            PQclear(p);
            if (!ok)
                throw std::runtime_error(PQerrorMessage(conn));
        }
        std::vector<const char*> pointers;
        for (const auto& v : values)
            pointers.push_back(v ? v->c_str() : nullptr);
        PGresult* r = PQexecPrepared(conn, name.c_str(), int(pointers.size()), pointers.data(), nullptr, nullptr, 0);
        if (PQresultStatus(r) != PGRES_COMMAND_OK && PQresultStatus(r) != PGRES_TUPLES_OK) {
            const std::string message = PQerrorMessage(conn);
            PQclear(r);
            throw std::runtime_error(message);
        }
        return r;
    }
    PGresult* runNamed(const std::string& sql, const Binds& binds)
    {
        const auto& [text, names] = numbered(sql);
        std::vector<std::optional<std::string>> values;
        for (const auto& name : names) {
            const auto it = binds.find(name);
            values.push_back(it == binds.end() ? std::nullopt : textOf(it->second));
        }
        return run(text, values);
    }
    void begin() override { exec("BEGIN"); }
    void exec(const std::string& sql, const Binds& binds = {}) override { PQclear(runNamed(sql, binds)); }
    std::vector<Row> read(const std::string& sql, const Binds& binds = {},
                          std::vector<std::string>* columns = nullptr) override
    {
        PGresult* r = runNamed(sql, binds);
        if (columns) {
            columns->clear();
            for (int c = 0; c < PQnfields(r); ++c)
                columns->push_back(PQfname(r, c));
        }
        std::vector<Row> rows(static_cast<std::size_t>(PQntuples(r)));
        for (int i = 0; i < PQntuples(r); ++i)
            for (int c = 0; c < PQnfields(r); ++c)
                rows[i].push_back(PQgetisnull(r, i, c) ? Value() : Value(std::string(PQgetvalue(r, i, c))));
        PQclear(r);
        return rows;
    }
    void insert(const std::string& table, const std::vector<std::string>& columns,
                const std::vector<Row>& rows) override
    {
        const std::size_t perBatch = std::max<std::size_t>(1, 999 / columns.size());
        for (std::size_t start = 0; start < rows.size(); start += perBatch) {
            const std::size_t count = std::min(perBatch, rows.size() - start);
            std::vector<std::optional<std::string>> values;
            for (std::size_t r = 0; r < count; ++r)
                for (const Value& v : rows[start + r])
                    values.push_back(textOf(v));
            PQclear(run(batchInsertSql(table, columns, count, true), values));
        }
    }
};

double rawNum(const Value& v)
{
    if (const auto* n = std::get_if<long long>(&v))
        return double(*n);
    if (const auto* d = std::get_if<double>(&v))
        return *d;
    if (const auto* t = std::get_if<std::string>(&v))
        return std::strtod(t->c_str(), nullptr); // PostgreSQL gives every value as text
    return 0;
}

std::string text(const QString& s) { return s.toStdString(); }

void rawCalculationAndProposal(RawDb& app, RawDb& inv)
{
    const Binds limits{{":UTIL", text(User)},
                       {":E1", 1LL},
                       {":E2", 999999999LL},
                       {":C1", 1LL},
                       {":C2", 999999999LL},
                       {":A1", std::string()},
                       {":A2", std::string("ZZZZZZZZZZZZZZZZ")},
                       {":D1", std::string("2024-03-01 00:00:00")},
                       {":D2", std::string("2024-04-01 00:00:00")}};
    const Binds user{{":UTIL", text(User)}};
    app.exec("CREATE TEMPORARY TABLE IF NOT EXISTS KV_REQLINHAS (ENCNRO INTEGER, DETAIL INTEGER, CLINRO INTEGER, "
             "ARTIGO VARCHAR(16) COLLATE pt_ci)");
    app.exec("DELETE FROM KV_REQLINHAS");
    inv.exec("CREATE TEMPORARY TABLE IF NOT EXISTS KV_REQCONSUMO (ARTIGO VARCHAR(16) COLLATE pt_ci, "
             "QUANTIDADE DOUBLE PRECISION)");
    inv.exec("DELETE FROM KV_REQCONSUMO");
    app.begin();
    app.exec("DELETE FROM LOGSELENC WHERE UTIL = :UTIL AND PROCESSAR = 'N' AND QUANTIDADE = 0", user);
    app.transfer(inv,
                 "SELECT D.ENCNRO, D.DETAIL, M.CLINRO, D.ARTIGO FROM ENCCLIDET D JOIN ENCCLIMAS M ON M.ENCNRO = "
                 "D.ENCNRO WHERE D.TOTENT = 'N' AND D.ENCNRO >= :E1 AND D.ENCNRO <= :E2 AND D.ARTIGO >= :A1 AND "
                 "D.ARTIGO <= :A2 AND M.CLINRO >= :C1 AND M.CLINRO <= :C2 AND D.DATAENTRG >= :D1 AND D.DATAENTRG < :D2",
                 limits, "KV_REQLINHAS");
    std::map<std::string, std::size_t> at;
    std::vector<Row> sums;
    for (const Row& r : app.read(text(requirementConsumptionSql(true, QStringLiteral("KV_REQLINHAS"))), user)) {
        const double remaining = rawNum(r[1]) - rawNum(r[2]);
        const double approved = rawNum(r[3]);
        const double q = approved == 0.0
                             ? kv::text::roundDecimal(remaining, 3)
                             : kv::text::roundDecimal(remaining / approved * (rawNum(r[4]) - rawNum(r[5])), 3);
        const std::string article = std::get<std::string>(r[0]);
        const auto it = at.find(article);
        if (it == at.end()) {
            at.emplace(article, sums.size());
            sums.push_back({article, q});
        } else {
            sums[it->second][1] = rawNum(sums[it->second][1]) + q;
        }
    }
    inv.insert("KV_REQCONSUMO", {"ARTIGO", "QUANTIDADE"}, sums);
    std::vector<Row> rows, kept;
    for (const Row& r : inv.read(text(requirementNettingSql(QStringLiteral("KV_REQCONSUMO"))), limits)) {
        const double quantity = rawNum(r[3]);
        double toOrder =
            std::max(0.0, kv::text::roundDecimal(quantity - (rawNum(r[8]) + rawNum(r[7]) + rawNum(r[6])), 3));
        double toProcess =
            std::max(0.0, kv::text::roundDecimal(quantity - (rawNum(r[4]) + rawNum(r[5]) + rawNum(r[6])), 3));
        if (toProcess == 0.0)
            continue;
        rows.push_back({text(User), r[0], r[1], r[2], quantity, rawNum(r[4]), rawNum(r[5]), rawNum(r[6]), toProcess,
                        rawNum(r[7]), rawNum(r[8]), toOrder, r[9], r[10], r[11]});
        kept.push_back({r[0], quantity});
    }
    app.exec("DELETE FROM LOGARTIGOS WHERE UTIL = :UTIL", user);
    app.insert("LOGARTIGOS",
               {"UTIL", "ARTIGO", "DESIGN", "UNIDADE", "QUANTIDADE", "TOTEXIQTD", "TOTQTDENCFRN", "QTDREQINT",
                "TOTCONSUMO", "QTDENCFRN", "EXIQTD", "QTDAENC", "COMPRIM", "LARGURA", "ALTURA"},
               rows);
    inv.exec("DELETE FROM KV_REQCONSUMO");
    inv.insert("KV_REQCONSUMO", {"ARTIGO", "QUANTIDADE"}, kept);
    app.exec("DELETE FROM LOGFRNENC WHERE UTIL = :UTIL", user);
    app.transfer(inv,
                 "SELECT CAST(:UTIL AS VARCHAR(15)) AS UTIL, D.ARTIGO AS CODIGOMP, D.ENCNRO, D.DETAIL AS ENCDETAIL, "
                 "M.DATEMI, D.DATAENTRG, M.FRNNRO, M.FRNNOM AS FRNNOME, D.QUANTID AS QTDENC, D.QTDCAR, 0 AS NRDIAS, "
                 "D.ENCCLINRO FROM FRNENCDET D JOIN FRNENCMAS M ON M.ENCNRO = D.ENCNRO JOIN KV_REQCONSUMO K ON "
                 "K.ARTIGO = D.ARTIGO WHERE D.TIPOREG = 'A' AND D.TOTENT = 'N'",
                 user, "LOGFRNENC");
    app.exec("COMMIT");

    inv.exec("CREATE TEMPORARY TABLE IF NOT EXISTS KV_REQPROPOSTA (ARTIGO VARCHAR(16) COLLATE pt_ci, DESIGN "
             "VARCHAR(40) COLLATE pt_ci, QUANTIDADE DOUBLE PRECISION)");
    inv.exec("DELETE FROM KV_REQPROPOSTA");
    inv.transfer(app,
                 "SELECT ARTIGO, DESIGN, TOTCONSUMO AS QUANTIDADE FROM LOGARTIGOS WHERE UTIL = :UTIL AND "
                 "TOTCONSUMO <> 0",
                 user, "KV_REQPROPOSTA");
    std::vector<Row> proposal;
    for (const Row& r : inv.read("SELECT P.ARTIGO, P.DESIGN, P.QUANTIDADE, S.CODFORN, S.NOME, S.PRECO, S.PRCDESC, "
                                 "S.VOSREF, A.CUSTOPADRAO, A.PMCUSTO FROM KV_REQPROPOSTA P LEFT JOIN STKARTGFORN S ON "
                                 "S.CODARTG = P.ARTIGO AND S.CODFORN = (SELECT MIN(S2.CODFORN) FROM STKARTGFORN S2 "
                                 "WHERE S2.CODARTG = P.ARTIGO) LEFT JOIN ARTIGOSCLS A ON A.CODIGO = P.ARTIGO")) {
        double price = kv::text::roundDecimal(rawNum(r[5]), 4);
        if (price == 0.0)
            price = kv::text::roundDecimal(rawNum(r[8]), 4);
        if (price == 0.0)
            price = kv::text::roundDecimal(rawNum(r[9]), 4);
        const long long supplier = static_cast<long long>(rawNum(r[3]));
        const std::string name = std::holds_alternative<std::string>(r[4]) ? std::get<std::string>(r[4]) : "";
        const bool ticked = price != 0.0 && supplier > 0 && !name.empty() && rawNum(r[2]) != 0.0;
        proposal.push_back({text(User), r[0], r[1], rawNum(r[2]), supplier, name, price, rawNum(r[6]), r[7],
                            std::string("2024-03-01 00:00:00"), std::string(ticked ? "S" : "N"), std::string("A")});
    }
    app.begin();
    app.exec("DELETE FROM LOGARTGFORN WHERE UTIL = :UTIL", user);
    app.insert("LOGARTGFORN",
               {"UTIL", "ARTIGO", "DESIGN", "QUANTIDADE", "FORNECEDOR", "NOME", "PRECO", "DESCTO", "VOSREF",
                "DATAENTRG", "PROCESSAR", "TIPOREG"},
               proposal);
    app.exec("COMMIT");
}

void BM_RawCalculationAndProposal(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    std::unique_ptr<RawDb> app, inv;
    if (plant->dialect == kv::db::Dialect::Postgres) {
        app = std::make_unique<PgRaw>(PgNames[0]);
        inv = std::make_unique<PgRaw>(PgNames[1]);
    } else {
        app = std::make_unique<Raw>(plant->dir.filePath(QStringLiteral("aplicacao.db")));
        inv = std::make_unique<Raw>(plant->dir.filePath(QStringLiteral("facturacao.db")));
    }
    for (auto _ : state)
        rawCalculationAndProposal(*app, *inv);
}
BENCHMARK(BM_RawCalculationAndProposal)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
