// The customer form's reads over 20,000 customers (an embedded SQLite file
// with the definition's indexes): opening the list on a customer, by number
// and by name, the new number's proposal and claim, the taxpayer check and
// a name search, each against the same statements run through the bare
// connection in the same run.
#include "customers/core/CustomerFile.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/db/WindowedList.h"
#include "schema/Schema.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QTemporaryDir>

namespace {

constexpr int Customers = 20000;

struct Company {
    QTemporaryDir folder;
    std::shared_ptr<kv::db::Connection> invoicing;

    Company()
    {
        kv::db::ConnectionSettings settings;
        settings.database = folder.filePath(QStringLiteral("factur.db"));
        invoicing = kv::db::Connection::open(settings);
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        for (const char* name : {"CLIENTES", "RESERVAS"}) {
            const kv::schema::Table& table = *schema.table(kv::schema::Database::Invoicing, QString::fromLatin1(name));
            invoicing->exec(schema.createStatement(table, invoicing->dialect()));
            for (const QString& index : schema.indexStatements(table))
                invoicing->exec(index);
        }
        kv::db::Transaction transaction(*invoicing);
        for (int i = 1; i <= Customers; ++i)
            invoicing->exec(
                QStringLiteral("INSERT INTO CLIENTES (CODIGO, NOME, NIF) VALUES (:C, :N, :F)"),
                {{"C", i * 3},
                 {"N", QStringLiteral("Cliente %1 Lda").arg((i * 7919) % Customers, 5, 10, QLatin1Char('0'))},
                 {"F", QString::number(500000000 + i)}});
        transaction.commit();
    }
};

Company& company()
{
    static Company instance;
    return instance;
}

void BM_ListOpenOnCustomer(benchmark::State& state)
{
    kv::db::Dataset list(QStringLiteral("CLIENTES"));
    list.setConnection(company().invoicing);
    kv::db::WindowedList window(list,
                                {QStringLiteral("*"), QStringLiteral("CLIENTES"), {}, {QStringLiteral("CODIGO")}});
    int key = 0;
    for (auto _ : state) {
        window.openAt({(key++ * 997) % (Customers * 3)});
        list.last();
        benchmark::DoNotOptimize(list.value(QStringLiteral("CODIGO")));
    }
}
BENCHMARK(BM_ListOpenOnCustomer)->Unit(benchmark::kMillisecond);

void BM_BareWindowOnCustomer(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int key = 0;
    for (auto _ : state) {
        const kv::db::QueryResult rows =
            db.query(QStringLiteral(
                         "SELECT * FROM (SELECT *, 0 AS JANELA FROM CLIENTES WHERE CODIGO < :K ORDER BY CODIGO DESC "
                         "LIMIT 20) B UNION ALL SELECT * FROM (SELECT *, 1 AS JANELA FROM CLIENTES WHERE CODIGO >= :K "
                         "ORDER BY CODIGO LIMIT 200) A ORDER BY CODIGO"),
                     {{"K", (key++ * 997) % (Customers * 3)}});
        benchmark::DoNotOptimize(rows.rows.size());
    }
}
BENCHMARK(BM_BareWindowOnCustomer)->Unit(benchmark::kMillisecond);

void BM_ListCount(benchmark::State& state)
{
    kv::db::Dataset list(QStringLiteral("CLIENTES"));
    list.setConnection(company().invoicing);
    kv::db::WindowedList window(list,
                                {QStringLiteral("*"), QStringLiteral("CLIENTES"), {}, {QStringLiteral("CODIGO")}});
    for (auto _ : state)
        benchmark::DoNotOptimize(window.count());
}
BENCHMARK(BM_ListCount)->Unit(benchmark::kMillisecond);

void BM_ProposeAndClaim(benchmark::State& state)
{
    kv::customers::CustomerFile file(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    for (auto _ : state) {
        const long long number = file.proposeNumber();
        benchmark::DoNotOptimize(file.acceptNumber(number));
        file.releaseNumber(number);
    }
}
BENCHMARK(BM_ProposeAndClaim)->Unit(benchmark::kMillisecond);

void BM_BareProposeAndClaim(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    for (auto _ : state) {
        const long long number = db.scalar(QStringLiteral("SELECT MAX(CODIGO) FROM CLIENTES")).toLongLong() + 1;
        db.query(
            QStringLiteral("SELECT 1 FROM RESERVAS WHERE TABELA = 'CLIENTES' AND CHAVE = :C AND POSTO <> 'POSTO1'"),
            {{"C", QString::number(number)}});
        kv::db::Transaction claim(db);
        db.query(QStringLiteral("SELECT 1 FROM CLIENTES WHERE CODIGO = :C"), {{"C", number}});
        db.query(QStringLiteral("SELECT POSTO FROM RESERVAS WHERE TABELA = 'CLIENTES' AND CHAVE = :C"),
                 {{"C", QString::number(number)}});
        db.exec(QStringLiteral(
                    "INSERT INTO RESERVAS (TABELA, CHAVE, POSTO, UTIL) VALUES ('CLIENTES', :C, 'POSTO1', 'ANA')"),
                {{"C", QString::number(number)}});
        claim.commit();
        kv::db::Transaction release(db);
        db.exec(QStringLiteral("DELETE FROM RESERVAS WHERE TABELA = 'CLIENTES' AND CHAVE = :C AND POSTO = 'POSTO1'"),
                {{"C", QString::number(number)}});
        release.commit();
    }
}
BENCHMARK(BM_BareProposeAndClaim)->Unit(benchmark::kMillisecond);

void BM_TaxpayerCheck(benchmark::State& state)
{
    kv::customers::CustomerFile file(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(file.taxpayerHolder(QString::number(500000000 + (i++ % Customers)), 1));
}
BENCHMARK(BM_TaxpayerCheck)->Unit(benchmark::kMicrosecond);

void BM_BareTaxpayerCheck(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            db.scalar(QStringLiteral("SELECT MIN(CODIGO) FROM CLIENTES WHERE NIF = :N AND CODIGO <> 1"),
                      {{"N", QString::number(500000000 + (i++ % Customers))}}));
}
BENCHMARK(BM_BareTaxpayerCheck)->Unit(benchmark::kMicrosecond);

void BM_NameSearch(benchmark::State& state)
{
    kv::customers::CustomerFile file(company().invoicing, QStringLiteral("POSTO1"), QStringLiteral("ANA"));
    kv::db::Dataset list(QStringLiteral("CLIENTES"));
    list.setConnection(company().invoicing);
    for (auto _ : state) {
        list.close();
        list.setSql(file.nameSearchSql());
        list.setParam(QStringLiteral("EDIT_NOMECLI.TEXT"), QStringLiteral("Cliente 123%"));
        list.open();
        benchmark::DoNotOptimize(list.recordCount());
    }
}
BENCHMARK(BM_NameSearch)->Unit(benchmark::kMillisecond);

void BM_BareNameSearch(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    for (auto _ : state)
        benchmark::DoNotOptimize(
            db.query(QStringLiteral("SELECT * FROM CLIENTES WHERE NOME LIKE :P ORDER BY NOME, CODIGO"),
                     {{"P", QStringLiteral("Cliente 123%")}})
                .rows.size());
}
BENCHMARK(BM_BareNameSearch)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
