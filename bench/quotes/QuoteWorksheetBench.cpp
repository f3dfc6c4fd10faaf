// The quote worksheet's reads at a realistic volume (40,000 quote rows and
// about 1,000,000 cost lines, and a tenth of that to show growth), on SQLite
// always and on PostgreSQL when KV_TEST_PG_* is set, each against the same
// statements through the engine's own client API:
// - opening a stored sub-quote as leaving the sub-quote field does (sub-quote
//   0, the row, the summary row) with its lines for the grid;
// - the quote lookup and the base-quote lookups by number and by name: the
//   first screen, then a typed name;
// - on an invoicing database of 20,000 customers and 100,000 articles, the
//   customer lookups by code and by name and the article lookups by code and
//   by designation (first screen, then a typed text), and the customer and
//   article checks of the customer page against the raw keyed reads.
#include "quotes/core/QuoteHeader.h"
#include "quotes/core/QuoteLookupList.h"
#include "quotes/core/QuoteRepository.h"
#include "quotes/core/WorksheetReferences.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/notify/MessageSink.h"

#include <benchmark/benchmark.h>
#include <libpq-fe.h>
#include <sqlite3.h>

#include <QCollator>
#include <QCoreApplication>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace kv::quotes;
using kv::db::Dialect;

namespace {

constexpr int LinesPerSubQuote = 33; // three sub-quote rows a quote: 99 lines a quote
const QString TypedName = QStringLiteral("Cliente 25");

class SilentMessages : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override {}
    void information(const QString&) override {}
};

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

// Quotes 1..n, each with sub-quotes 0, 1, 2 and the summary row 99; every
// fifth quote approved; customer names spread over 5,000 customers; 33 lines
// per sub-quote.
void fill(kv::db::Connection& db, int quotes)
{
    kv::schema::Schema::standard().create(db, kv::schema::Database::Application);
    kv::db::Transaction tx(db);
    db.exec(
        QStringLiteral(
            "WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1), "
            "S(K) AS (SELECT 0 UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 99) "
            "INSERT INTO ORCMAS (CODIGO, SUBCODIGO, CLINRO, NOME, NOSREF, DESIGN1, UNIDADE, QTDORC1, QTDORC2, "
            "QTDORC3, UNDPLANO, PLNCOMPRIM1, PLNLARGURA1, PLNCOMPRIM2, PLNLARGURA2, NROCORES, VALORORC1, APROVADO) "
            "SELECT I, K, (I * 7919) % 5000, 'Cliente ' || ((I * 7919) % 5000), 'REF' || I, 'Caixa de cartão ' || I, "
            "'M', 5, 10, 20, 4, 100, 70, 0, 0, 4, 431.06, CASE WHEN I % 5 = 0 THEN 'S' ELSE 'N' END FROM N, S")
            .arg(quotes));
    db.exec(QStringLiteral(
                "WITH RECURSIVE D(J) AS (SELECT 1 UNION ALL SELECT J + 1 FROM D WHERE J < %1) "
                "INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL, TIPOTABELA, CODTAB, DESIGN, TIPOCUSTO, PRECO, VALQTD1, "
                "VALQTD2, VALQTD3, NROPASSAGENS, PRDHOR, ACERTO, PERC, CONSUM1, CONSUM2, CONSUM3, QUANTID, CODPRDHOR, "
                "CODACERTO, TMPACERTO) "
                "SELECT M.CODIGO, M.SUBCODIGO, J, 1 + J % 10, J, 'Linha de custo ' || J, 'MP', 0.8, 242.59, 485.18, 0, "
                "1, 5000, 0.5, 0, 303.24, 606.48, 0, 0, 1, 1, 0.3 FROM ORCMAS M, D WHERE M.SUBCODIGO <> 99")
                .arg(LinesPerSubQuote));
    tx.commit();
    if (db.dialect() == Dialect::Postgres)
        db.exec(QStringLiteral("ANALYZE"));
}

constexpr int Customers = 20'000;
constexpr int Articles = 100'000;

// Customers 1..20,000 with names spread over the alphabet's digits; articles
// ART000001.. of which every fourth is a consumable (type "10") and every
// tenth a raw material, the rest products.
void fillInvoicing(kv::db::Connection& db)
{
    kv::schema::Schema::standard().create(db, kv::schema::Database::Invoicing);
    kv::db::Transaction tx(db);
    db.exec(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1) "
                           "INSERT INTO CLIENTES (CODIGO, NOME, MORADA1, CODPOSTAL, CNDPGT, VENDEDOR, MERCADO) "
                           "SELECT I, 'Cliente ' || ((I * 7919) % %1), 'Rua ' || I, '4050-123', 2, 1, 'N' FROM N")
                .arg(Customers));
    db.exec(QStringLiteral("WITH RECURSIVE N(I) AS (SELECT 1 UNION ALL SELECT I + 1 FROM N WHERE I < %1) "
                           "INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, CODIVA, UNVENDA, COMPRIM, "
                           "LARGURA, ALTURA) "
                           "SELECT 'ART' || %2, 'Caixa ' || ((I * 7919) % %1), "
                           "CASE WHEN I % 4 = 0 THEN '10' WHEN I % 10 = 1 THEN '6' ELSE '1' END, 2, 'UN', 300, 200, "
                           "100 FROM N")
                .arg(Articles)
                .arg(db.dialect() == Dialect::Postgres ? QStringLiteral("LPAD(CAST(I AS TEXT), 6, '0')")
                                                       : QStringLiteral("SUBSTR('000000' || I, -6, 6)")));
    tx.commit();
    if (db.dialect() == Dialect::Postgres)
        db.exec(QStringLiteral("ANALYZE"));
}

struct Volume {
    std::shared_ptr<kv::db::Connection> db;
    std::string path; // SQLite file
    std::string conninfo; // PostgreSQL
    QString pgName;
    int quotes = 0;
};

struct Volumes {
    QTemporaryDir dir;
    std::map<std::pair<Dialect, int>, Volume> volumes;

    Volume& get(Dialect dialect, int rows)
    {
        const int quotes = rows / 4;
        auto it = volumes.find({dialect, quotes});
        if (it != volumes.end())
            return it->second;
        Volume v;
        v.quotes = quotes;
        if (dialect == Dialect::Sqlite) {
            kv::db::ConnectionSettings s;
            s.alias = QStringLiteral("BDESPECIF01");
            s.database = dir.filePath(QStringLiteral("quotes%1.db").arg(quotes));
            v.path = s.database.toStdString();
            v.db = kv::db::Connection::open(s);
        } else {
            v.pgName = QStringLiteral("kv_bench_quotes_%1").arg(quotes);
            {
                auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
                admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(v.pgName));
                admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(v.pgName));
            }
            v.db = kv::db::Connection::open(pgSettings(v.pgName));
            const auto s = pgSettings(v.pgName);
            v.conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                             .arg(s.host)
                             .arg(s.port)
                             .arg(s.user, v.pgName)
                             .toStdString();
        }
        fill(*v.db, quotes);
        return volumes.emplace(std::make_pair(dialect, quotes), std::move(v)).first->second;
    }

    // The invoicing database, kept under the quote count -1.
    Volume& invoicing(Dialect dialect)
    {
        auto it = volumes.find({dialect, -1});
        if (it != volumes.end())
            return it->second;
        Volume v;
        if (dialect == Dialect::Sqlite) {
            kv::db::ConnectionSettings s;
            s.alias = QStringLiteral("BDFACTURA");
            s.database = dir.filePath(QStringLiteral("invoicing.db"));
            v.path = s.database.toStdString();
            v.db = kv::db::Connection::open(s);
        } else {
            v.pgName = QStringLiteral("kv_bench_invoicing");
            {
                auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
                admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(v.pgName));
                admin->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE template0 ENCODING 'UTF8'").arg(v.pgName));
            }
            v.db = kv::db::Connection::open(pgSettings(v.pgName));
            const auto s = pgSettings(v.pgName);
            v.conninfo = QStringLiteral("host=%1 port=%2 user=%3 dbname=%4")
                             .arg(s.host)
                             .arg(s.port)
                             .arg(s.user, v.pgName)
                             .toStdString();
        }
        fillInvoicing(*v.db);
        return volumes.emplace(std::make_pair(dialect, -1), std::move(v)).first->second;
    }

    ~Volumes()
    {
        for (auto& [key, v] : volumes) {
            v.db.reset();
            if (key.first == Dialect::Postgres) {
                try {
                    auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
                    admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(v.pgName));
                } catch (...) {
                }
            }
        }
    }
};

std::unique_ptr<Volumes>& volumeStore()
{
    static std::unique_ptr<Volumes> instance = std::make_unique<Volumes>();
    return instance;
}

Volumes& volumes() { return *volumeStore(); }

// The quotes opened in turn: spread over the table, none approved.
int quoteAt(std::int64_t i, int quotes)
{
    const int q = static_cast<int>((i * 7919) % quotes) + 1;
    return q % 5 == 0 ? q - 1 : q;
}

// --- raw engines ---------------------------------------------------------------

// Values as a program holds them, so that the raw side does the same work.
double take(sqlite3_stmt* st, int columns)
{
    double sum = 0;
    for (int c = 0; c < columns; ++c) {
        switch (sqlite3_column_type(st, c)) {
        case SQLITE_INTEGER: sum += double(sqlite3_column_int64(st, c)); break;
        case SQLITE_FLOAT: sum += sqlite3_column_double(st, c); break;
        case SQLITE_TEXT:
            sum += QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(st, c)),
                                     sqlite3_column_bytes(st, c))
                       .size();
            break;
        default: break;
        }
    }
    return sum;
}

double take(PGresult* r)
{
    double sum = 0;
    for (int i = 0; i < PQntuples(r); ++i)
        for (int c = 0; c < PQnfields(r); ++c)
            if (!PQgetisnull(r, i, c))
                sum += QString::fromUtf8(PQgetvalue(r, i, c), PQgetlength(r, i, c)).size();
    return sum;
}

int comparePt(void* arg, int l1, const void* t1, int l2, const void* t2)
{
    return static_cast<QCollator*>(arg)->compare(QString::fromUtf8(static_cast<const char*>(t1), l1),
                                                 QString::fromUtf8(static_cast<const char*>(t2), l2));
}

struct RawSqlite {
    sqlite3* db = nullptr;
    QCollator collator{QLocale(QLocale::Portuguese, QLocale::Portugal)};
    std::map<std::string, sqlite3_stmt*> statements;

    explicit RawSqlite(const std::string& path)
    {
        sqlite3_open(path.c_str(), &db);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        sqlite3_create_collation_v2(db, "pt_ci", SQLITE_UTF8, &collator, comparePt, nullptr);
    }
    ~RawSqlite()
    {
        for (auto& [sql, st] : statements)
            sqlite3_finalize(st);
        sqlite3_close(db);
    }
    // Runs a statement with positional values, prepared once, and takes every value.
    double run(const std::string& sql, const std::vector<QVariant>& values)
    {
        sqlite3_stmt*& st = statements[sql];
        if (!st)
            sqlite3_prepare_v2(db, sql.c_str(), -1, &st, nullptr);
        sqlite3_reset(st);
        for (int i = 0; i < static_cast<int>(values.size()); ++i) {
            if (values[i].typeId() == QMetaType::QString) {
                const QByteArray text = values[i].toString().toUtf8();
                sqlite3_bind_text(st, i + 1, text.constData(), int(text.size()), SQLITE_TRANSIENT);
            } else {
                sqlite3_bind_int64(st, i + 1, values[i].toLongLong());
            }
        }
        double sum = 0;
        while (sqlite3_step(st) == SQLITE_ROW)
            sum += take(st, sqlite3_column_count(st));
        return sum;
    }
};

struct RawPg {
    PGconn* conn = nullptr;
    explicit RawPg(const std::string& conninfo) : conn(PQconnectdb(conninfo.c_str())) {}
    ~RawPg() { PQfinish(conn); }
    double run(const std::string& sql, const std::vector<QVariant>& values)
    {
        std::vector<QByteArray> texts;
        std::vector<const char*> pointers;
        for (const QVariant& v : values)
            texts.push_back(v.toString().toUtf8());
        for (const QByteArray& t : texts)
            pointers.push_back(t.constData());
        PGresult* r =
            PQexecParams(conn, sql.c_str(), int(pointers.size()), nullptr, pointers.data(), nullptr, nullptr, 0);
        const double sum = take(r);
        PQclear(r);
        return sum;
    }
};

// The statement text with ":NAME" markers turned into the engine's positional ones.
std::string positional(const QString& sql, Dialect dialect)
{
    QString text = sql;
    static const QRegularExpression marker(QStringLiteral(":([A-Za-z_][A-Za-z0-9_]*)"));
    std::vector<QString> names;
    QString out;
    qsizetype from = 0;
    for (auto it = marker.globalMatch(text); it.hasNext();) {
        const auto m = it.next();
        out += text.mid(from, m.capturedStart() - from);
        auto found = std::find(names.begin(), names.end(), m.captured(1));
        if (found == names.end()) {
            names.push_back(m.captured(1));
            found = names.end() - 1;
        }
        const auto index = found - names.begin() + 1;
        out += dialect == Dialect::Postgres ? QStringLiteral("$%1").arg(index) : QStringLiteral("?%1").arg(index);
        from = m.capturedEnd();
    }
    out += text.mid(from);
    return out.toStdString();
}

const std::string ExistsSql = "SELECT 1 FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO";
const std::string RowSql = "SELECT * FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO";
const std::string SummarySql =
    "SELECT CLINRO,NOME,MORADA1,MORADA2,CODPOSTAL,CNDPGT,VNDNRO,NOSREF,CODIVA,UNDVND,VOSREF,COMPRIM,LARGURA,"
    "ALTURA,DESIGN1,DESIGN2,DESIGN3,DESIGN4,DESIGN5,DESIGN6,OBSERV1,OBSERV2,OBSERV3,PRCCOM1,PRCCOM2,PRCCOM3,"
    "UNIDADE,APROVADO FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO";
const std::string LinesSql =
    "SELECT * FROM ORCDET WHERE CODIGO = :WOrcNro AND SUBCODIGO = :WSubOrc ORDER BY CODIGO, SUBCODIGO, DETAIL";

// The reads of leaving the sub-quote field on a stored sub-quote 1, and its lines.
template <class Raw>
double rawOpening(Raw& raw, Dialect dialect, int quote)
{
    const std::string e = positional(QString::fromStdString(ExistsSql), dialect);
    const std::string row = positional(QString::fromStdString(RowSql), dialect);
    const std::string summary = positional(QString::fromStdString(SummarySql), dialect);
    const std::string lines = positional(QString::fromStdString(LinesSql), dialect);
    double sum = raw.run(e, {quote, 0});
    sum += raw.run(row, {quote, 1});
    sum += raw.run(summary, {quote, 99});
    return sum + raw.run(lines, {quote, 1});
}

// --- benchmarks ----------------------------------------------------------------

Dialect dialectOf(const benchmark::State& state) { return state.range(0) == 0 ? Dialect::Sqlite : Dialect::Postgres; }

bool skipped(benchmark::State& state)
{
    if (dialectOf(state) == Dialect::Postgres && !hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return true;
    }
    return false;
}

void label(benchmark::State& state)
{
    state.SetLabel(QStringLiteral("%1 %2 rows")
                       .arg(dialectOf(state) == Dialect::Sqlite ? "sqlite" : "pg")
                       .arg(state.range(1))
                       .toStdString());
}

void BM_OpenSubQuote(benchmark::State& state)
{
    if (skipped(state))
        return;
    Volume& v = volumes().get(dialectOf(state), int(state.range(1)));
    SilentMessages messages;
    std::int64_t i = 0;
    for (auto _ : state) {
        const int quote = quoteAt(i++, v.quotes);
        QuoteHeader header(*v.db, messages);
        const SubQuoteOpening opening = header.openSubQuote(quote, 1, QDate(2024, 3, 15), true);
        if (opening.kind != SubQuoteOpening::Kind::StoredSubQuote)
            state.SkipWithError("sub-quote not opened");
        benchmark::DoNotOptimize(QuoteRepository(*v.db).lines(quote, 1));
    }
    label(state);
}

void BM_OpenSubQuote_Raw(benchmark::State& state)
{
    if (skipped(state))
        return;
    const Dialect dialect = dialectOf(state);
    Volume& v = volumes().get(dialect, int(state.range(1)));
    std::int64_t i = 0;
    if (dialect == Dialect::Sqlite) {
        RawSqlite raw(v.path);
        for (auto _ : state)
            benchmark::DoNotOptimize(rawOpening(raw, dialect, quoteAt(i++, v.quotes)));
    } else {
        RawPg raw(v.conninfo);
        for (auto _ : state)
            benchmark::DoNotOptimize(rawOpening(raw, dialect, quoteAt(i++, v.quotes)));
    }
    label(state);
}

// range(2): 0 the quote lookup, 1 base quotes by number, 2 base quotes by
// name; range(3): 0 the first screen, 1 the first screen and a typed name.
QuoteLookupList::Kind kindOf(const benchmark::State& state)
{
    return state.range(2) == 0   ? QuoteLookupList::Kind::Quotes
           : state.range(2) == 1 ? QuoteLookupList::Kind::BaseByNumber
                                 : QuoteLookupList::Kind::BaseByName;
}

double readWindow(kv::db::Dataset& list)
{
    double sum = 0;
    const int rows = list.recordCount();
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < list.fieldCount(); ++c)
            sum += list.valueAt(r, c).toString().size();
    return sum;
}

void BM_Lookup(benchmark::State& state)
{
    if (skipped(state))
        return;
    Volume& v = volumes().get(dialectOf(state), int(state.range(1)));
    const bool typed = state.range(3) == 1;
    for (auto _ : state) {
        QuoteLookupList list(v.db, kindOf(state));
        list.open();
        double sum = readWindow(list.dataset());
        if (typed) {
            list.position(TypedName);
            sum += readWindow(list.dataset());
        }
        benchmark::DoNotOptimize(sum);
    }
    label(state);
}

void BM_Lookup_Raw(benchmark::State& state)
{
    if (skipped(state))
        return;
    const Dialect dialect = dialectOf(state);
    Volume& v = volumes().get(dialect, int(state.range(1)));
    const bool typed = state.range(3) == 1;
    // The statements the list runs, taken from the list itself.
    QuoteLookupList list(v.db, kindOf(state));
    list.open();
    const std::string first = positional(list.dataset().sql(), dialect);
    list.position(TypedName);
    const std::string window = positional(list.dataset().sql(), dialect);
    auto run = [&](auto& raw) {
        for (auto _ : state) {
            double sum = raw.run(first, {});
            if (typed)
                sum += raw.run(window, {TypedName});
            benchmark::DoNotOptimize(sum);
        }
    };
    if (dialect == Dialect::Sqlite) {
        RawSqlite raw(v.path);
        run(raw);
    } else {
        RawPg raw(v.conninfo);
        run(raw);
    }
    label(state);
}

// range(1): 3 customers by code, 4 by name, 5 articles by code, 6 by
// designation; range(2): 0 the first screen, 1 then a typed text.
QuoteLookupList::Kind invoicingKind(const benchmark::State& state)
{
    switch (state.range(1)) {
    case 3: return QuoteLookupList::Kind::CustomersByCode;
    case 4: return QuoteLookupList::Kind::CustomersByName;
    case 5: return QuoteLookupList::Kind::ArticlesByCode;
    default: return QuoteLookupList::Kind::ArticlesByDesignation;
    }
}

QString typedText(const benchmark::State& state)
{
    const char* typed[] = {"12345", "Cliente 125", "ART050000", "Caixa 5"};
    return QString::fromLatin1(typed[state.range(1) - 3]);
}

void invoicingLabel(benchmark::State& state, const char* what)
{
    state.SetLabel(QStringLiteral("%1 %2").arg(dialectOf(state) == Dialect::Sqlite ? "sqlite" : "pg", what).toStdString());
}

const char* lookupName(const benchmark::State& state)
{
    const char* names[] = {"customers by code", "customers by name", "articles by code", "articles by designation"};
    const char* typedNames[] = {"customers by code, typed", "customers by name, typed", "articles by code, typed",
                                "articles by designation, typed"};
    return state.range(2) == 1 ? typedNames[state.range(1) - 3] : names[state.range(1) - 3];
}

void BM_PageLookup(benchmark::State& state)
{
    if (skipped(state))
        return;
    Volume& v = volumes().invoicing(dialectOf(state));
    const bool typed = state.range(2) == 1;
    const QString text = typedText(state);
    for (auto _ : state) {
        QuoteLookupList list(v.db, invoicingKind(state));
        list.open();
        double sum = readWindow(list.dataset());
        if (typed) {
            list.position(text);
            sum += readWindow(list.dataset());
        }
        benchmark::DoNotOptimize(sum);
    }
    invoicingLabel(state, lookupName(state));
}

void BM_PageLookup_Raw(benchmark::State& state)
{
    if (skipped(state))
        return;
    const Dialect dialect = dialectOf(state);
    Volume& v = volumes().invoicing(dialect);
    const bool typed = state.range(2) == 1;
    const QString text = typedText(state);
    QuoteLookupList list(v.db, invoicingKind(state));
    list.open();
    const std::string first = positional(list.dataset().sql(), dialect);
    list.position(text);
    const std::string window = positional(list.dataset().sql(), dialect);
    const bool numeric = invoicingKind(state) == QuoteLookupList::Kind::CustomersByCode;
    const QVariant key = numeric ? QVariant(text.toInt()) : QVariant(text);
    auto run = [&](auto& raw) {
        for (auto _ : state) {
            double sum = raw.run(first, {});
            if (typed)
                sum += raw.run(window, {key});
            benchmark::DoNotOptimize(sum);
        }
    };
    if (dialect == Dialect::Sqlite) {
        RawSqlite raw(v.path);
        run(raw);
    } else {
        RawPg raw(v.conninfo);
        run(raw);
    }
    invoicingLabel(state, lookupName(state));
}

// range(1): 0 the customer check (the customer's row), 1 the article check
// among the products the lookup offers.
const std::string CustomerCheckSql = "SELECT CODIGO, NOME, MORADA1, MORADA2, CODPOSTAL, CNDPGT, VENDEDOR "
                                     "FROM CLIENTES WHERE CODIGO = :CODIGO";
const std::string ArticleCheckSql = "SELECT CODIGO, DESIGNACAO, CODIVA, UNVENDA, VOSREF, COMPRIM, LARGURA, ALTURA "
                                    "FROM ARTIGOSCLS WHERE CODIGO = :CODIGO";

QString articleCode(std::int64_t i)
{
    return QStringLiteral("ART%1").arg(static_cast<int>((i * 7919) % Articles) + 1, 6, 10, QLatin1Char('0'));
}

void BM_PageCheck(benchmark::State& state)
{
    if (skipped(state))
        return;
    Volume& v = volumes().invoicing(dialectOf(state));
    const WorksheetReferences references(*v.db, *v.db);
    std::int64_t i = 0;
    for (auto _ : state) {
        if (state.range(1) == 0)
            benchmark::DoNotOptimize(references.customer((i++ * 7919) % Customers + 1));
        else
            benchmark::DoNotOptimize(references.article(articleCode(i++), true));
    }
    invoicingLabel(state, state.range(1) == 0 ? "customer check" : "article check");
}

void BM_PageCheck_Raw(benchmark::State& state)
{
    if (skipped(state))
        return;
    const Dialect dialect = dialectOf(state);
    Volume& v = volumes().invoicing(dialect);
    const std::string sql =
        state.range(1) == 0
            ? positional(QString::fromStdString(CustomerCheckSql), dialect)
            : positional(QString::fromStdString(ArticleCheckSql) + QStringLiteral(" AND ")
                             + WorksheetReferences::productCondition(*v.db),
                         dialect);
    std::int64_t i = 0;
    auto run = [&](auto& raw) {
        for (auto _ : state) {
            const QVariant key =
                state.range(1) == 0 ? QVariant(static_cast<int>((i * 7919) % Customers + 1)) : QVariant(articleCode(i));
            ++i;
            benchmark::DoNotOptimize(raw.run(sql, {key}));
        }
    };
    if (dialect == Dialect::Sqlite) {
        RawSqlite raw(v.path);
        run(raw);
    } else {
        RawPg raw(v.conninfo);
        run(raw);
    }
    invoicingLabel(state, state.range(1) == 0 ? "customer check" : "article check");
}

void pageLookupArgs(benchmark::internal::Benchmark* b)
{
    for (int engine : {0, 1})
        for (int kind : {3, 4, 5, 6})
            for (int typed : {0, 1})
                b->Args({engine, kind, typed});
}

void pageCheckArgs(benchmark::internal::Benchmark* b)
{
    for (int engine : {0, 1})
        for (int which : {0, 1})
            b->Args({engine, which});
}

void volumesArgs(benchmark::internal::Benchmark* b)
{
    for (int engine : {0, 1})
        for (int rows : {4'000, 40'000})
            b->Args({engine, rows});
}

void lookupArgs(benchmark::internal::Benchmark* b)
{
    for (int engine : {0, 1})
        for (int rows : {4'000, 40'000})
            for (int kind : {0, 1, 2})
                for (int typed : {0, 1})
                    if (typed == 0 || kind == 2)
                        b->Args({engine, rows, kind, typed});
}

BENCHMARK(BM_OpenSubQuote)->Apply(volumesArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_OpenSubQuote_Raw)->Apply(volumesArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_Lookup)->Apply(lookupArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_Lookup_Raw)->Apply(lookupArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_PageLookup)->Apply(pageLookupArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_PageLookup_Raw)->Apply(pageLookupArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_PageCheck)->Apply(pageCheckArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);
BENCHMARK(BM_PageCheck_Raw)->Apply(pageCheckArgs)->Unit(benchmark::kMicrosecond)->MinTime(0.5);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    volumeStore().reset(); // the connections close while the application still runs
    return 0;
}
