// Approving a quote of five sub-quotes of 30 cost lines as a customer order of
// two deliveries (the quote read and worked out again, every check, the quote
// marks, the pending record, the order and its counter across the two
// databases) against raw statements reading and writing the same rows, on
// both engines.
#include "quotes/approval/core/QuoteApproval.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"
#include "support/BenchDatabase.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QJsonObject>
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
    kv::bench::BenchDatabase applicationDatabase;
    kv::bench::BenchDatabase invoicingDatabase;
    std::shared_ptr<kv::db::Connection> application = applicationDatabase.connection;
    std::shared_ptr<kv::db::Connection> invoicing = invoicingDatabase.connection;
    kv::quotes::CostTables tables;
    kv::db::TwoDatabaseKinds kinds;
    int nextOrder = 1;

    explicit Plant(Dialect dialect)
        : applicationDatabase(dialect, QStringLiteral("kv_bench_approval_app"), QStringLiteral("BDESPECIF01")),
          invoicingDatabase(dialect, QStringLiteral("kv_bench_approval_inv"), QStringLiteral("BDFACTURA"))
    {
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        schema.create(*application, kv::schema::Database::Application);
        schema.create(*invoicing, kv::schema::Database::Invoicing);
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
    if (!kv::bench::engineAvailable(state))
        return nullptr;
    const Dialect dialect = kv::bench::dialectOf(state);
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

// An INSERT of every column of `row`, and its values as parameters.
std::pair<QString, kv::db::Params> insertOf(const QString& table, const QVariantMap& row)
{
    QStringList markers;
    kv::db::Params params;
    for (auto it = row.begin(); it != row.end(); ++it) {
        markers << QLatin1Char(':') + it.key();
        params.set(it.key(), it.value());
    }
    return {QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                .arg(table, row.keys().join(QStringLiteral(", ")), markers.join(QStringLiteral(", "))),
            params};
}

// The statements an approval sends, bare and in the same transactions: the
// checks and reads of the quote, customer, postal code, article, calendar and
// counters; the quote's previous marks read and its rows marked with the
// pending record; the journal row, the counter raised, the order and its two
// lines of every column, the pending record cleared. The order's rows are
// those of one prepared approval, so both sides write the same values; what
// this side leaves out is the working out of the quote.
void BM_Approval_Raw(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& app = *plant->application;
    kv::db::Connection& inv = *plant->invoicing;
    Quiet quiet;
    QuoteApproval approval(app, inv, quiet, {QStringLiteral("BENCH"), OrderDay, QStringLiteral("2024"), 2});
    OrderRequest model = plant->request();
    model.orderNumber = 999999; // the order's values only; never written
    const auto prepared = approval.prepare(model, plant->tables);
    if (!prepared) {
        state.SkipWithError("aprovação recusada");
        return;
    }
    const auto [headerSql, headerParams] = insertOf(QStringLiteral("ENCCLIMAS"), prepared->header);
    std::vector<std::pair<QString, kv::db::Params>> lines;
    for (const QVariant& line : prepared->lines)
        lines.push_back(insertOf(QStringLiteral("ENCCLIDET"), line.toMap()));
    // The pending record's data: the order's rows and the quote rows' marks before.
    const kv::db::QueryResult before =
        app.query("SELECT SUBCODIGO, CLINRO, NOSREF, VALORADJUD, MARGEMVALOR, MARGEMPRC, DATADJUD, QTDADJUD, "
                  "PRECOADJUD, ANO, SEMANA, ENCNRO, APROVADO FROM ORCMAS WHERE CODIGO = :C",
                  {{"C", Quote}});
    QVariantList previous;
    for (const auto& row : before.rows) {
        QVariantMap marks;
        for (qsizetype c = 0; c < before.columns.size(); ++c)
            marks.insert(before.columns[c], row[static_cast<std::size_t>(c)]);
        previous << marks;
    }
    const QString pendingData =
        QString::fromUtf8(QJsonDocument(QJsonObject::fromVariantMap({{QStringLiteral("header"), prepared->header},
                                                                     {QStringLiteral("lines"), prepared->lines},
                                                                     {QStringLiteral("previous"), previous}}))
                              .toJson(QJsonDocument::Compact));
    const kv::db::Params quote{{"C", Quote}};
    const kv::db::Params year{{"ANO", QStringLiteral("2024")}};
    for (auto _ : state) {
        const int number = plant->nextOrder++;
        const kv::db::Params order{{"N", number}};
        // The checks and reads of "Confir".
        benchmark::DoNotOptimize(inv.scalar("SELECT ENCNRO1 FROM ENCPARGER WHERE ANO = :ANO", year));
        benchmark::DoNotOptimize(inv.scalar("SELECT ENCNRO FROM ENCCLIMAS WHERE ENCNRO = :N", order));
        benchmark::DoNotOptimize(inv.scalar("SELECT ANO FROM ENCPARGER WHERE ANO = :ANO", year));
        benchmark::DoNotOptimize(inv.query("SELECT TIPODIA, SEMANA FROM CALENDARIO WHERE DATA >= :F AND DATA < :T",
                                           {{"F", OrderDay.startOfDay()}, {"T", OrderDay.addDays(1).startOfDay()}}));
        benchmark::DoNotOptimize(inv.scalar("SELECT ENCNRO FROM ENCCLIMAS WHERE ENCNRO = :N", order));
        benchmark::DoNotOptimize(
            app.query("SELECT NOME, DESIGN1, VNDNRO FROM ORCMAS WHERE CODIGO = :C AND SUBCODIGO = 99", quote));
        benchmark::DoNotOptimize(inv.query("SELECT MORADA1, MORADA2, CODPOSTAL, CNDPGT, SIGLANIF, NIF, AGENTE, "
                                           "METEXPEDICAO, CODDES, DESFIX, ISEIVA, MOEDA, FORMA FROM CLIENTES "
                                           "WHERE CODIGO = 10"));
        benchmark::DoNotOptimize(inv.query("SELECT PAIS FROM CODPOSTAL WHERE CODPOSTAL = '4000-123'"));
        benchmark::DoNotOptimize(
            inv.query("SELECT UNVENDA, COMPRIM, LARGURA, ALTURA, VOSREF FROM ARTIGOSCLS WHERE CODIGO = 'ART-1'"));
        benchmark::DoNotOptimize(
            app.query("SELECT SUBCODIGO, UNIDADE, UNDPLANO, NROCORES, ACABNORMAL, RELEVO, SUPERFIMPR, PESOJANELAS, "
                      "PLNCOMPRIM1, PLNLARGURA1, PLNCOMPRIM2, PLNLARGURA2, QTDORC1 FROM ORCMAS "
                      "WHERE CODIGO = :C AND SUBCODIGO <> 99 ORDER BY SUBCODIGO",
                      quote));
        benchmark::DoNotOptimize(
            app.query("SELECT SUBCODIGO, DETAIL, TIPOTABELA, CODTAB, PRECO, PERC, QUANTID, NROPASSAGENS, CODPRDHOR, "
                      "CODACERTO FROM ORCDET WHERE CODIGO = :C AND SUBCODIGO <> 99 ORDER BY SUBCODIGO, DETAIL",
                      quote));
        // The quote marked, with the pending record.
        const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
        const kv::db::Params marks{{"C", Quote},
                                   {"CLINRO", 10},
                                   {"NOSREF", "ART-1"},
                                   {"VALOR", 1800.0},
                                   {"MARGEM", 100.0},
                                   {"PRC", 5.0},
                                   {"DATA", OrderDay.startOfDay()},
                                   {"QTD", 12.0},
                                   {"PRECO", 150.0},
                                   {"ANO", "2024"},
                                   {"SEMANA", "11"},
                                   {"N", number}};
        {
            kv::db::Transaction tx(app, kv::db::TransactionMode::Write);
            benchmark::DoNotOptimize(app.query("SELECT SUBCODIGO, CLINRO, NOSREF, VALORADJUD, MARGEMVALOR, "
                                               "MARGEMPRC, DATADJUD, QTDADJUD, PRECOADJUD, ANO, SEMANA, ENCNRO, "
                                               "APROVADO FROM ORCMAS WHERE CODIGO = :C",
                                               quote));
            app.exec("UPDATE ORCMAS SET CLINRO = :CLINRO, NOSREF = :NOSREF, VALORADJUD = :VALOR, MARGEMVALOR = "
                     ":MARGEM, MARGEMPRC = :PRC, DATADJUD = :DATA, QTDADJUD = :QTD, PRECOADJUD = :PRECO, ANO = :ANO, "
                     "SEMANA = :SEMANA, ENCNRO = :N WHERE CODIGO = :C AND SUBCODIGO <> 99",
                     marks);
            app.exec("UPDATE ORCMAS SET NOSREF = :NOSREF, CLINRO = :CLINRO WHERE CODIGO = :C AND SUBCODIGO = 99",
                     marks);
            app.exec("UPDATE ORCMAS SET DATADJUD = CASE WHEN COALESCE(QTDADJUD, 0) = 0 THEN :DATA ELSE DATADJUD "
                     "END, QTDADJUD = :QTD, PRECOADJUD = :PRECO, VALORADJUD = :VALOR, MARGEMVALOR = :MARGEM, "
                     "MARGEMPRC = :PRC, ANO = :ANO, SEMANA = :SEMANA, ENCNRO = :N, APROVADO = 'S' "
                     "WHERE CODIGO = :C AND SUBCODIGO = 99 AND (APROVADO IS NULL OR APROVADO <> 'S')",
                     marks);
            app.exec("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) VALUES (:I, "
                     "'ORC.APROVACAO', 'Aprovação', :D, 'BENCH', :T)",
                     {{"I", id}, {"D", pendingData}, {"T", QDateTime::currentDateTime()}});
            tx.commit();
        }
        // The order with the journal row, the number claimed against the counter.
        benchmark::DoNotOptimize(inv.query("SELECT ESTADO, MOTIVO FROM OPERDIARIO WHERE OPERID = :I", {{"I", id}}));
        {
            kv::db::Transaction tx(inv, kv::db::TransactionMode::Write);
            inv.exec("INSERT INTO OPERDIARIO (OPERID, TIPO, DESCRICAO, UTIL, DATAHORA, ESTADO, MOTIVO) VALUES (:I, "
                     "'ORC.APROVACAO', 'Aprovação', 'BENCH', :T, 'C', NULL) ON CONFLICT (OPERID) DO NOTHING",
                     {{"I", id}, {"T", QDateTime::currentDateTime()}});
            inv.exec("UPDATE ENCPARGER SET ENCNRO1 = CASE WHEN COALESCE(ENCNRO1, 0) < :N THEN :N ELSE ENCNRO1 END "
                     "WHERE ANO = '2024'",
                     order);
            benchmark::DoNotOptimize(inv.scalar("SELECT 1 FROM ENCCLIMAS WHERE ENCNRO = :N", order));
            kv::db::Params header = headerParams;
            header.set(QStringLiteral("ENCNRO"), number);
            inv.exec(headerSql, header);
            for (const auto& [sql, values] : lines) {
                kv::db::Params line = values;
                line.set(QStringLiteral("ENCNRO"), number);
                inv.exec(sql, line);
            }
            tx.commit();
        }
        benchmark::DoNotOptimize(inv.query("SELECT ESTADO, MOTIVO FROM OPERDIARIO WHERE OPERID = :I", {{"I", id}}));
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
