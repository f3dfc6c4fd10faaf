// The article form's reads and writes over 200,000 articles (an embedded
// SQLite file with the definition's indexes): what the activation reads
// (the customisation row, the year's parameters, the tables of the type's
// group), a new code's check and claim, and the save of a new article, each
// against the same statements run through the bare connection in the same
// run. Nothing reads the articles table whole.
#include "customers/articles/ArticleFile.h"
#include "platform/db/Connection.h"
#include "schema/Schema.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

constexpr int Articles = 200000;

struct Company {
    QTemporaryDir folder;
    std::shared_ptr<kv::db::Connection> invoicing;

    Company()
    {
        kv::db::ConnectionSettings settings;
        settings.database = folder.filePath(QStringLiteral("factur.db"));
        invoicing = kv::db::Connection::open(settings);
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        for (const char* name : {"ARTIGOSCLS", "RESERVAS", "PARCUSTOM", "PARGRUPOS", "CUSTARTG", "PARGER"}) {
            const kv::schema::Table& table = *schema.table(kv::schema::Database::Invoicing, QString::fromLatin1(name));
            invoicing->exec(schema.createStatement(table, invoicing->dialect()));
            for (const QString& index : schema.indexStatements(table))
                invoicing->exec(index);
        }
        kv::db::Transaction transaction(*invoicing);
        for (int i = 1; i <= Articles; ++i)
            invoicing->exec(QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, CUSTOM1, CUSTOM2) "
                                           "VALUES (:C, :D, '1', :X, :Y)"),
                            {{"C", QStringLiteral("CX%1").arg(i, 7, 10, QLatin1Char('0'))},
                             {"D", QStringLiteral("Caixa %1").arg(i)},
                             {"X", i % 7},
                             {"Y", i % 11}});
        invoicing->exec(QStringLiteral("INSERT INTO PARCUSTOM (CODIGO, GRUPOTIPO1, REFARTIGO) VALUES ('1', 'C', 'N')"));
        invoicing->exec(QStringLiteral("INSERT INTO PARGER (ANO, COMARTIGO, CONTABILIDADE) VALUES ('2024', 'S', 'N')"));
        for (int t = 1; t <= 9; ++t)
            invoicing->exec(QStringLiteral("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM) VALUES ('C', :T, :N)"),
                            {{"T", QString::number(t)}, {"N", QStringLiteral("Tabela %1").arg(t)}});
        for (int v = 1; v <= 3000; ++v)
            invoicing->exec(QStringLiteral("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO) "
                                           "VALUES ('C', 'PORTUGAL', :T, :C, :D)"),
                            {{"T", QString::number(v % 9 + 1)}, {"C", v}, {"D", QStringLiteral("Valor %1").arg(v)}});
        transaction.commit();
    }
};

Company& company()
{
    static Company instance;
    return instance;
}

kv::customers::ArticleTexts newArticle(const QString& code)
{
    return {{"CODIGO", code},     {"DESIGNACAO", "Caixa nova"},
            {"TIPOARTIGO", "1"},  {"UNVENDA", "UND"},
            {"PRECO1", "12,5"},   {"COMPRIM", "300"},
            {"CUSTOM1", "3"},     {"CUSTOM2", "7"},
            {"VOSREF", "REF-77"}, {"CODIVA", "2"}};
}

void BM_Activation(benchmark::State& state)
{
    kv::customers::ArticleFile file(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    for (auto _ : state) {
        const QVariantMap parameters = file.customisationParameters();
        benchmark::DoNotOptimize(file.codeRow(QStringLiteral("PARGER"), {QStringLiteral("ANO")}, {"2024"}));
        benchmark::DoNotOptimize(file.groupTables(kv::customers::ArticleFile::groupOfType(parameters, "1")));
        for (int n = 1; n <= 9; ++n)
            benchmark::DoNotOptimize(file.customisationName(QStringLiteral("C"), n, n * 10));
    }
}
BENCHMARK(BM_Activation)->Unit(benchmark::kMicrosecond);

void BM_BareActivation(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.query(QStringLiteral("SELECT * FROM PARCUSTOM WHERE CODIGO = '1'")));
        benchmark::DoNotOptimize(db.query(QStringLiteral("SELECT * FROM PARGER WHERE ANO = '2024'")));
        benchmark::DoNotOptimize(db.query(QStringLiteral("SELECT TABCOD, TABNOM FROM PARGRUPOS WHERE TABGRUPO = 'C'")));
        for (int n = 1; n <= 9; ++n)
            benchmark::DoNotOptimize(db.scalar(QStringLiteral("SELECT DESIGNACAO FROM CUSTARTG WHERE TABGRUPO = 'C' "
                                                              "AND PAIS = 'PORTUGAL' AND TABCOD = :T AND CODIGO = :C"),
                                               {{"T", QString::number(n)}, {"C", n * 10}}));
    }
}
BENCHMARK(BM_BareActivation)->Unit(benchmark::kMicrosecond);

void BM_CodeCheckAndClaim(benchmark::State& state)
{
    kv::customers::ArticleFile file(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    int i = 0;
    for (auto _ : state) {
        const QString code = QStringLiteral("NV%1").arg(i++);
        benchmark::DoNotOptimize(file.acceptCode(code));
        file.releaseCode(code);
    }
}
BENCHMARK(BM_CodeCheckAndClaim)->Unit(benchmark::kMicrosecond);

void BM_BareCodeCheckAndClaim(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state) {
        const QString code = QStringLiteral("NV%1").arg(i++);
        kv::db::Transaction claim(db);
        db.query(QStringLiteral("SELECT 1 FROM ARTIGOSCLS WHERE CODIGO = :C"), {{"C", code}});
        db.query(QStringLiteral("SELECT POSTO FROM RESERVAS WHERE TABELA = 'ARTIGOSCLS' AND CHAVE = :C"),
                 {{"C", code}});
        db.exec(QStringLiteral("INSERT INTO RESERVAS (TABELA, CHAVE, POSTO, UTIL) VALUES ('ARTIGOSCLS', :C, 'POSTO1', "
                               "'ANA')"),
                {{"C", code}});
        claim.commit();
        kv::db::Transaction release(db);
        db.exec(QStringLiteral("DELETE FROM RESERVAS WHERE TABELA = 'ARTIGOSCLS' AND CHAVE = :C AND POSTO = 'POSTO1'"),
                {{"C", code}});
        release.commit();
    }
}
BENCHMARK(BM_BareCodeCheckAndClaim)->Unit(benchmark::kMicrosecond);

// A new article saved (its code claimed first, as the form does), then
// removed again so that every run meets 200,000 articles.
void BM_Save(benchmark::State& state)
{
    kv::customers::ArticleFile file(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state) {
        const QString code = QStringLiteral("SV%1").arg(i++);
        state.PauseTiming();
        file.acceptCode(code);
        state.ResumeTiming();
        benchmark::DoNotOptimize(file.save(newArticle(code), QDate(2024, 3, 15)));
        state.PauseTiming();
        db.exec(QStringLiteral("DELETE FROM ARTIGOSCLS WHERE CODIGO = :C"), {{"C", code}});
        state.ResumeTiming();
    }
}
BENCHMARK(BM_Save)->Unit(benchmark::kMicrosecond);

void BM_BareSave(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state) {
        const QString code = QStringLiteral("SV%1").arg(i++);
        state.PauseTiming();
        db.exec(QStringLiteral("INSERT INTO RESERVAS (TABELA, CHAVE, POSTO, UTIL) VALUES ('ARTIGOSCLS', :C, 'POSTO1', "
                               "'ANA')"),
                {{"C", code}});
        state.ResumeTiming();
        kv::db::Transaction transaction(db);
        db.query(QStringLiteral("SELECT 1 FROM ARTIGOSCLS WHERE CODIGO = :C"), {{"C", code}});
        db.exec(QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, UNVENDA, PRECO1, COMPRIM, "
                               "CUSTOM1, CUSTOM2, VOSREF, CODIVA, GRELHA, ROTURA, DESCONTINUADO, MEDIDAS, "
                               "CODIGOGRELHA, NROFOTOS, DTABERTURA) VALUES (:C, 'Caixa nova', '1', 'UND', 12.5, 300, "
                               "3, 7, 'REF-77', 2, 'N', 'N', 'N', 'S', 0, 0, :D)"),
                {{"C", code}, {"D", QDateTime(QDate(2024, 3, 15), QTime(0, 0))}});
        db.exec(QStringLiteral("DELETE FROM RESERVAS WHERE TABELA = 'ARTIGOSCLS' AND CHAVE = :C AND POSTO = 'POSTO1'"),
                {{"C", code}});
        transaction.commit();
        state.PauseTiming();
        db.exec(QStringLiteral("DELETE FROM ARTIGOSCLS WHERE CODIGO = :C"), {{"C", code}});
        state.ResumeTiming();
    }
}
BENCHMARK(BM_BareSave)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
