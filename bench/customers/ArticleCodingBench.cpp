// The automatic coding's numbering and "&Paises" over 200,000 articles (an
// embedded SQLite file with the definition's indexes), one series of which
// holds 10,000 articles: the code built with the next number of the series,
// and the missing countries added to a new article, each against the same
// statements run through the bare connection in the same run.
#include "customers/coding/core/ArticleCoding.h"
#include "customers/coding/core/ArticleCountries.h"
#include "platform/db/Connection.h"
#include "schema/Schema.h"

#include <benchmark/benchmark.h>

#include <QTemporaryDir>

namespace {

constexpr int Articles = 200000;
constexpr int Series = 10000;
constexpr int Countries = 60;

const kv::customers::SequenceSettings Sequence{kv::customers::NumberMode::Automatic, 4, 5};

struct Company {
    QTemporaryDir folder;
    std::shared_ptr<kv::db::Connection> invoicing;

    Company()
    {
        kv::db::ConnectionSettings settings;
        settings.database = folder.filePath(QStringLiteral("factur.db"));
        invoicing = kv::db::Connection::open(settings);
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        for (const char* name : {"ARTIGOSCLS", "RESERVAS", "PARGRUPOS", "CUSTARTG", "PAISES", "ARTIGOSPAIS"}) {
            const kv::schema::Table& table = *schema.table(kv::schema::Database::Invoicing, QString::fromLatin1(name));
            invoicing->exec(schema.createStatement(table, invoicing->dialect()));
            for (const QString& index : schema.indexStatements(table))
                invoicing->exec(index);
        }
        kv::db::Connection& db = *invoicing;
        kv::db::Transaction transaction(db);
        db.exec("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM, SEQREF, REFER, PAIS) VALUES "
                "('1', '1', 'Estilo', '1', 'S', 'N'), ('1', '2', 'Cartão', '2', 'S', 'N')");
        db.exec("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO, REDUZCODIGO, REDUZDESIGN) VALUES "
                "('1', 'PORTUGAL', '1', 1, 'Caixa', 'CXA', 'CAIXA'), ('1', 'PORTUGAL', '2', 1, 'Micro', 'MC', "
                "'MICRO')");
        for (int i = 0; i < Countries; ++i)
            db.exec("INSERT INTO PAISES (PAIS) VALUES (:P)",
                    {{"P", QStringLiteral("PAIS %1").arg(i, 2, 10, QLatin1Char('0'))}});
        for (int i = 0; i < Articles; ++i) {
            const bool inSeries = i < Series;
            db.exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, GRELHA, CUSTOM1, CUSTOM2, CUSTOM3, CUSTOM4, CUSTOM5, "
                    "CUSTOM6, CUSTOM7, CUSTOM8, CUSTOM9) VALUES (:C, 'Artigo', 'N', :A, :B, 0, 0, 0, 0, 0, 0, 0)",
                    {{"C", inSeries ? QStringLiteral("CXA%1MC").arg(i * 3, 5, 10, QLatin1Char('0'))
                                    : QStringLiteral("X%1").arg(i, 7, 10, QLatin1Char('0'))},
                     {"A", inSeries ? 1 : 2 + i % 20},
                     {"B", inSeries ? 1 : 1 + i % 7}});
        }
        transaction.commit();
    }
};

Company& company()
{
    static Company instance;
    return instance;
}

void BM_Numbering(benchmark::State& state)
{
    kv::customers::ArticleCoding coding(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    kv::customers::CodingFields fields;
    fields[0] = 1;
    fields[1] = 1;
    for (auto _ : state)
        benchmark::DoNotOptimize(coding.build(QStringLiteral("1"), Sequence, fields).code);
}
BENCHMARK(BM_Numbering)->Unit(benchmark::kMicrosecond);

// The statements of the numbering: the group's tables, each value, the
// series' greatest number, the new code not stored nor claimed.
void BM_BareNumbering(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.query("SELECT TABCOD, TABNOM, SEQREF, REFER, PAIS FROM PARGRUPOS WHERE TABGRUPO = "
                                          ":WtabGrupo ORDER BY TABGRUPO, SEQREF, TABCOD",
                                          {{"WtabGrupo", "1"}}));
        for (const char* table : {"1", "2"})
            benchmark::DoNotOptimize(db.query("SELECT DESIGNACAO, REDUZCODIGO, REDUZDESIGN FROM CUSTARTG WHERE "
                                              "TABGRUPO = :G AND PAIS = :P AND TABCOD = :T AND CODIGO = :C",
                                              {{"G", "1"}, {"P", "PORTUGAL"}, {"T", table}, {"C", 1}}));
        kv::db::Params params{{"Posicao", 4}, {"Largura", 5}, {"Grelha", "N"}};
        for (int n = 1; n <= 9; ++n) {
            params.set(QStringLiteral("L%1").arg(n), n <= 2 ? 1 : 0);
            params.set(QStringLiteral("H%1").arg(n), n <= 2 ? 1 : 999);
        }
        QString sql = QStringLiteral("SELECT MAX(CAST(SUBSTR(CODIGO, :Posicao, :Largura) AS BIGINT)) FROM ARTIGOSCLS "
                                     "WHERE GRELHA = :Grelha");
        for (int n = 1; n <= 9; ++n)
            sql += QStringLiteral(" AND CUSTOM%1 BETWEEN :L%1 AND :H%1").arg(n);
        sql += QStringLiteral(" AND SUBSTR(CODIGO, :Posicao, :Largura) <> '' AND SUBSTR(CODIGO, :Posicao, :Largura) "
                              "NOT GLOB '*[^0-9]*'");
        const long long next = db.scalar(sql, params).toLongLong() + 1;
        const QString code = QStringLiteral("CXA%1MC").arg(next, 5, 10, QLatin1Char('0'));
        benchmark::DoNotOptimize(db.query("SELECT 1 FROM ARTIGOSCLS WHERE CODIGO = :C", {{"C", code}}));
        benchmark::DoNotOptimize(db.query("SELECT POSTO FROM RESERVAS WHERE TABELA = :T AND CHAVE = :C",
                                          {{"T", "ARTIGOSCLS"}, {"C", code}}));
    }
}
BENCHMARK(BM_BareNumbering)->Unit(benchmark::kMicrosecond);

void BM_AddCountries(benchmark::State& state)
{
    int article = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            kv::customers::ArticleCountries::addMissing(*company().invoicing, QStringLiteral("NOVO%1").arg(article++)));
}
BENCHMARK(BM_AddCountries)->Unit(benchmark::kMicrosecond);

void BM_BareAddCountries(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int article = 0;
    for (auto _ : state) {
        kv::db::Transaction transaction(db);
        benchmark::DoNotOptimize(db.query("SELECT 1 FROM PAISES LIMIT 1"));
        benchmark::DoNotOptimize(
            db.exec("INSERT INTO ARTIGOSPAIS (ARTIGO, PAIS, DESIGNACAO) SELECT CAST(:Artigo AS VARCHAR(16)), P.PAIS, "
                    "'' FROM PAISES P WHERE NOT EXISTS (SELECT 1 FROM ARTIGOSPAIS A WHERE A.ARTIGO = :Artigo AND "
                    "A.PAIS = P.PAIS)",
                    {{"Artigo", QStringLiteral("BARE%1").arg(article++)}}));
        transaction.commit();
    }
}
BENCHMARK(BM_BareAddCountries)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
