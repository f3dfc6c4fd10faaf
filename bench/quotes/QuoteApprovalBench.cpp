// Approving a quote of five sub-quotes of 30 cost lines as a customer order of
// two deliveries (the quote read and worked out again, every check, the quote
// marks, the pending record, the order and its counter across the two
// databases) against raw statements reading and writing the same rows, on
// both engines.
#include "quotes/approval/core/QuoteApproval.h"
#include "schema/Schema.h"
#include "support/CompanyDatabases.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QUuid>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using namespace kv::quotes::approval;
using kv::db::Dialect;

namespace {

constexpr int SubQuotes = 5;
constexpr int Lines = 30;
constexpr int Quote = 900;
const QDate OrderDay(2024, 3, 15);

class Quiet : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override {}
    void information(const QString&) override {}
};

struct Plant {
    kv::bench::CompanyDatabases databases;
    std::shared_ptr<kv::db::Connection> application = databases.application;
    std::shared_ptr<kv::db::Connection> invoicing = databases.invoicing;
    kv::quotes::CostTables tables;
    kv::db::TwoDatabaseKinds kinds;
    int nextOrder = 1;

    explicit Plant(Dialect dialect)
        : databases(dialect, QStringLiteral("kv_bench_approval_app"), QStringLiteral("kv_bench_approval_inv"))
    {
        fill();
        tables = kv::quotes::CostTables::load(*application);
        kinds.add(approvalKind());
    }

    void fill()
    {
        kv::db::Connection& app = *application;
        kv::db::Connection& inv = *invoicing;
        kv::db::Transaction a(app);
        app.exec("INSERT INTO ORCPARGER (CODIGO, TIPINCID1, TIPINCID2) VALUES (1, 'P', 'C')");
        app.exec("INSERT INTO TIRAGLIQ (CODIGO, QTD1, QTD2, PRCACAB1A, PRCACAB2A, PRCIMPR1A, PRCIMPR2A) "
                 "VALUES (1, 0, 1000000000, 2, 3, 5, 7)");
        app.exec("INSERT INTO PAPEIS (CODIGO, DESIGNACAO, GRAMAGEM, PRECO, TIPOCALC) VALUES (1, 'Cartolina', 300, "
                 "0.8, '1')");
        app.exec("INSERT INTO TINTAS (CODIGO, DESIGNACAO, GRAMAGEM, PRECO) VALUES (1, 'Tinta', 2, 10)");
        app.exec("INSERT INTO VERNIZES (CODIGO, DESIGNACAO, GRAMAGEM, PRECO) VALUES (1, 'Verniz', 5, 4)");
        app.exec("INSERT INTO CUSTFIXOS (CODIGO, DESIGNACAO, PRECO, MAOOBRA) VALUES (1, 'Preparação', 25, 'S')");
        app.exec("INSERT INTO MAQUINAS (CODIGO, DESIGNACAO, TIPOMAQUINA, NROCORES, CUSTOHORA, FACTOR1, ACEPASSMIN1, "
                 "ACEPASSMIN2) VALUES (1, 'Offset', 1, 4, 60, 5000, 0.5, 0.25)");
        const int types[5][2] = {{8, 1}, {2, 1}, {3, 1}, {10, 1}, {1, 1}};
        for (int s = 0; s < SubQuotes; ++s) {
            app.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, UNIDADE, UNDPLANO, NROCORES, ACABNORMAL, SUPERFIMPR, "
                     "PLNCOMPRIM1, PLNLARGURA1, QTDORC1) VALUES (:C, :S, 'M', 4, 4, 'S', 50, 100, 70, :Q)",
                     {{"C", Quote}, {"S", s}, {"Q", 12.0 / (s + 1)}});
            for (int d = 1; d <= Lines; ++d) {
                const auto& t = types[(d - 1) % 5];
                app.exec("INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL, TIPOTABELA, CODTAB, PRECO, NROPASSAGENS, "
                         "CODPRDHOR, CODACERTO) VALUES (:C, :S, :D, :T, :K, 1, 1, 1, 1)",
                         {{"C", Quote}, {"S", s}, {"D", d}, {"T", t[0]}, {"K", t[1]}});
            }
        }
        app.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, UNIDADE, QTDORC1, CLINRO, NOME, NOSREF, DESIGN1, VNDNRO, "
                 "PRCCOM1, PRCCOM2, APROVADO, QTDADJUD) VALUES (:C, 99, 'M', 12, 10, 'Cliente', 'ART-1', 'Caixa', 1, "
                 "5, 2, 'N', 0)",
                 {{"C", Quote}});
        a.commit();
        kv::db::Transaction i(inv);
        inv.exec("INSERT INTO PARGER (ANO, PRC_DECIMAIS) VALUES ('2024', 2)");
        inv.exec(
            "INSERT INTO ENCPARGER (ANO, ENCNRO1, ENCNRO2, ENCNRO3, ENCNRO4, ENCNRO5) VALUES ('2024', 0, 0, 0, 0, 0)");
        inv.exec("INSERT INTO CODPOSTAL (CODPOSTAL, LOCALIDADE, PAIS) VALUES ('4000-123', 'PORTO', 'PORTUGAL')");
        inv.exec("INSERT INTO CLIENTES (CODIGO, NOME, MORADA1, CODPOSTAL, CNDPGT, NIF) VALUES (10, 'Cliente', "
                 "'Rua 1', '4000-123', 1, '500100200')");
        inv.exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, UNVENDA, COMPRIM, LARGURA, ALTURA) VALUES ('ART-1', "
                 "'Caixa', 'MIL', 30, 20, 10)");
        inv.exec("INSERT INTO CALENDARIO (DATA, ANO, DIASEM, TIPODIA, SEMANA) VALUES (:D, '2024', 'Sex', 'TB', 11)",
                 {{"D", OrderDay.startOfDay()}});
        i.commit();
    }

    OrderRequest request()
    {
        OrderRequest r;
        r.quoteNumber = Quote;
        r.customer = 10;
        r.article = QStringLiteral("ART-1");
        r.orderNumber = nextOrder++;
        r.orderDate = OrderDay;
        r.deliveries[0] = {OrderDay, 8};
        r.deliveries[1] = {OrderDay.addDays(7), 4};
        r.input = {12, 150, false, true};
        return r;
    }
};

std::map<Dialect, std::unique_ptr<Plant>>& plants()
{
    static std::map<Dialect, std::unique_ptr<Plant>> all;
    return all;
}

Plant* plantFor(benchmark::State& state)
{
    const Dialect dialect = state.range(0) == 0 ? Dialect::Sqlite : Dialect::Postgres;
    if (dialect == Dialect::Postgres && !kv::bench::hasPostgres()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    auto& plant = plants()[dialect];
    if (!plant)
        plant = std::make_unique<Plant>(dialect);
    return plant.get();
}

void BM_Approval(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    Quiet quiet;
    QuoteApproval approval(*plant->application, *plant->invoicing, quiet,
                           {QStringLiteral("BENCH"), OrderDay, QStringLiteral("2024"), 2});
    kv::db::TwoDatabaseWork work(plant->kinds, {{kv::db::role::application(), plant->application},
                                                {kv::db::role::invoicing(), plant->invoicing}});
    for (auto _ : state) {
        const auto prepared = approval.prepare(plant->request(), plant->tables);
        if (!prepared || approval.save(work, *prepared).status != ApprovalSave::Status::Approved) {
            state.SkipWithError("aprovação recusada");
            return;
        }
    }
}

// The same reads and writes as bare statements: the quote's rows and lines,
// the customer, postal code, article, calendar and counters read, the quote
// marked with the pending record in one transaction, the order, its lines,
// the counter and the journal row in another, the pending record cleared.
void BM_Approval_Raw(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& app = *plant->application;
    kv::db::Connection& inv = *plant->invoicing;
    for (auto _ : state) {
        const int number = plant->nextOrder++;
        benchmark::DoNotOptimize(
            app.query("SELECT * FROM ORCMAS WHERE CODIGO = :C ORDER BY SUBCODIGO", {{"C", Quote}}).rows.size());
        benchmark::DoNotOptimize(
            app.query("SELECT * FROM ORCDET WHERE CODIGO = :C ORDER BY SUBCODIGO, DETAIL", {{"C", Quote}}).rows.size());
        benchmark::DoNotOptimize(app.query("SELECT TIPINCID1, TIPINCID2 FROM ORCPARGER WHERE CODIGO = 1").rows.size());
        for (const char* sql :
             {"SELECT * FROM CLIENTES WHERE CODIGO = 10", "SELECT * FROM CODPOSTAL WHERE CODPOSTAL = '4000-123'",
              "SELECT * FROM ARTIGOSCLS WHERE CODIGO = 'ART-1'", "SELECT * FROM ENCPARGER WHERE ANO = '2024'"})
            benchmark::DoNotOptimize(inv.query(QString::fromLatin1(sql)).rows.size());
        benchmark::DoNotOptimize(
            inv.query("SELECT * FROM CALENDARIO WHERE DATA = :D", {{"D", OrderDay.startOfDay()}}).rows.size());
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        {
            kv::db::Transaction tx(app);
            app.exec("UPDATE ORCMAS SET QTDADJUD = 12, PRECOADJUD = 150, ENCNRO = :N WHERE CODIGO = :C AND "
                     "SUBCODIGO <> 99",
                     {{"N", number}, {"C", Quote}});
            app.exec("UPDATE ORCMAS SET APROVADO = 'S', ENCNRO = :N WHERE CODIGO = :C AND SUBCODIGO = 99",
                     {{"N", number}, {"C", Quote}});
            app.exec("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) VALUES (:I, 'X', 'X', "
                     "'{}', 'BENCH', :T)",
                     {{"I", id}, {"T", QDateTime::currentDateTime()}});
            tx.commit();
        }
        {
            kv::db::Transaction tx(inv);
            inv.exec("INSERT INTO OPERDIARIO (OPERID, TIPO, ESTADO, DATAHORA) VALUES (:I, 'X', 'C', :T)",
                     {{"I", id}, {"T", QDateTime::currentDateTime()}});
            inv.exec("UPDATE ENCPARGER SET ENCNRO1 = :N WHERE ANO = '2024'", {{"N", number}});
            inv.exec("INSERT INTO ENCCLIMAS (ENCNRO, CLINRO, VALMERC) VALUES (:N, 10, 1800)", {{"N", number}});
            for (int d = 1; d <= 2; ++d)
                inv.exec("INSERT INTO ENCCLIDET (ENCNRO, DETAIL, ARTIGO, QUANTID) VALUES (:N, :D, 'ART-1', 6)",
                         {{"N", number}, {"D", d}});
            tx.commit();
        }
        app.exec("DELETE FROM OPERPENDENTE WHERE OPERID = :I", {{"I", id}});
    }
}

BENCHMARK(BM_Approval)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Approval_Raw)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

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
