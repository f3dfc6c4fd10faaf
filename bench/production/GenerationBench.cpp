// Generating 500 work-list rows (a quote of two sub-quotes of 25 cost lines
// each, one customer order per row) through the generation core, one
// two-database operation per row, against inserting the same order rows,
// consumption rows and records with bare statements, one transaction per
// row, on both engines.
#include "production/core/OrderGeneration.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

using kv::db::Dialect;

namespace {

constexpr int Rows = 500;
constexpr int SubQuotes = 2;
constexpr int Lines = 25;
constexpr int Quote = 900;
const QDate Day(2024, 3, 15);

bool hasPg() { return !qEnvironmentVariableIsEmpty("KV_TEST_PG_HOST"); }

kv::db::ConnectionSettings pgSettings(const QString& database)
{
    kv::db::ConnectionSettings s;
    s.alias = database;
    s.dialect = Dialect::Postgres;
    s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
    s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
    s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    s.database = database;
    return s;
}

const QString PgNames[2] = {QStringLiteral("kv_bench_generation_app"), QStringLiteral("kv_bench_generation_inv")};

class Quiet : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override {}
    void information(const QString&) override {}
};

struct Plant {
    QTemporaryDir dir;
    std::shared_ptr<kv::db::Connection> application;
    std::shared_ptr<kv::db::Connection> invoicing;
    kv::db::TwoDatabaseKinds kinds;
    int nextOrder = 1;

    explicit Plant(Dialect dialect)
    {
        if (dialect == Dialect::Postgres) {
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
        fill();
        kinds.add(kv::production::OrderGeneration::kind());
    }

    void fill()
    {
        kv::db::Connection& app = *application;
        kv::db::Transaction a(app);
        app.exec("INSERT INTO TIRAGLIQ (CODIGO, QTD1, QTD2, PRCACAB1A, PRCACAB2A, PRCIMPR1A) "
                 "VALUES (1, 0, 1000000000, 2, 3, 5)");
        app.exec("INSERT INTO PAPEIS (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM, TIPOCALC) VALUES (1, 'CART', 'Cartolina', "
                 "300, '1')");
        app.exec("INSERT INTO TINTAS (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM) VALUES (1, 'TINTA', 'Tinta', 2)");
        app.exec("INSERT INTO VERNIZES (CODIGO, ARTIGO, DESIGNACAO, GRAMAGEM) VALUES (1, 'VERNIZ', 'Verniz', 5)");
        app.exec("INSERT INTO CUSTFIXOS (CODIGO, DESIGNACAO, MAOOBRA) VALUES (1, 'Preparação', 'S')");
        app.exec("INSERT INTO MAQUINAS (CODIGO, DESIGNACAO, TIPOMAQUINA, FACTOR1, ACEPASSMIN1) "
                 "VALUES (1, 'Offset', 1, 5000, 0.5)");
        const int types[5] = {8, 2, 3, 10, 1};
        const char* classes[5] = {"MP", "MP", "MP", "MO", "CM"};
        for (int s = 0; s < SubQuotes; ++s) {
            app.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DESIGN1, UNIDADE, UNDPLANO, NROCORES, ACABNORMAL, "
                     "SUPERFIMPR, PLNCOMPRIM1, PLNLARGURA1, QTDORC1) VALUES (:C, :S, 'Caixa', 'M', 4, 4, 'S', 50, "
                     "100, 70, :Q)",
                     {{"C", Quote}, {"S", s}, {"Q", 12.0 / (s + 1)}});
            for (int d = 1; d <= Lines; ++d)
                app.exec("INSERT INTO ORCDET (CODIGO, SUBCODIGO, DETAIL, TIPOTABELA, CODTAB, DESIGN, TIPOCUSTO, "
                         "NROPASSAGENS, CODPRDHOR, CODACERTO) VALUES (:C, :S, :D, :T, 1, 'Linha', :K, 1, 1, 1)",
                         {{"C", Quote},
                          {"S", s},
                          {"D", d},
                          {"T", types[(d - 1) % 5]},
                          {"K", QString::fromLatin1(classes[(d - 1) % 5])}});
        }
        a.commit();
        kv::db::Transaction i(*invoicing);
        invoicing->exec("INSERT INTO CLIENTES (CODIGO, NOME, SIGLA) VALUES (10, 'Cliente', 'CLI')");
        invoicing->exec("INSERT INTO CALENDARIO (DATA, ANO, DIASEM, TIPODIA, SEMANA) VALUES (:D, '2024', 'Sex', "
                        "'TB', 11)",
                        {{"D", Day.startOfDay()}});
        i.commit();
    }

    // Customer orders of one line each, new numbers every run.
    int addLines()
    {
        const int first = nextOrder;
        kv::db::Transaction i(*invoicing);
        for (int n = 0; n < Rows; ++n)
            invoicing->exec("INSERT INTO ENCCLIDET (ENCNRO, DETAIL, ANO, SEMANA, DATAENTRG, CLINRO, ARTIGO, UNVEND, "
                            "QTDCAR, TOTENT, ANULA, ORDFAB, ORCNRO, DATEMI, DATAPROD) VALUES (:E, 1, '2024', '11', :D, "
                            "10, 'ART-1', 'MIL', 12, 'N', 'N', 0, :Q, :D, :D)",
                            {{"E", nextOrder++}, {"D", Day.startOfDay()}, {"Q", Quote}});
        i.commit();
        return first;
    }

    ~Plant()
    {
        const bool pg = application->dialect() == Dialect::Postgres;
        invoicing.reset();
        application.reset();
        if (pg) {
            try {
                auto admin = kv::db::Connection::open(pgSettings(QStringLiteral("postgres")));
                for (const QString& name : PgNames)
                    admin->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
            } catch (...) {
            }
        }
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
    if (dialect == Dialect::Postgres && !hasPg()) {
        state.SkipWithError("KV_TEST_PG_HOST not set");
        return nullptr;
    }
    auto& plant = plants()[dialect];
    if (!plant)
        plant = std::make_unique<Plant>(dialect);
    return plant.get();
}

void BM_Generation(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    Quiet quiet;
    kv::db::TwoDatabaseWork work(plant->kinds, {{kv::db::role::application(), plant->application},
                                                {kv::db::role::invoicing(), plant->invoicing}});
    kv::production::OrderGeneration generation(*plant->application, *plant->invoicing, work, quiet,
                                               {QStringLiteral("BENCH"), Day, false});
    kv::production::GenerationLimits limits;
    limits.issuedFrom = limits.deliveryFrom = Day;
    limits.issuedTo = limits.deliveryTo = Day;
    for (auto _ : state) {
        state.PauseTiming();
        plant->addLines();
        generation.buildWorkList(generation.openLines(limits));
        state.ResumeTiming();
        if (generation.generate() != Rows * SubQuotes) {
            state.SkipWithError("geração incompleta");
            return;
        }
    }
}

// The same rows with bare statements: per work-list row, one transaction
// with both order rows, their consumption rows and the record, then the mark.
void BM_Generation_Raw(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::db::Connection& app = *plant->application;
    for (auto _ : state) {
        state.PauseTiming();
        const int first = plant->addLines();
        state.ResumeTiming();
        for (int order = first; order < first + Rows; ++order) {
            kv::db::Transaction t(app);
            app.exec("INSERT INTO ORDFABENC (ANO, ENCNRO, ENCDETAIL, SEMANA, ORDNRO, DETAIL) VALUES ('2024', :E, 1, "
                     "'11', :E, 1)",
                     {{"E", order}});
            for (int s = 0; s < SubQuotes; ++s) {
                for (int d = 1; d <= Lines; ++d)
                    app.exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, CODTAB, "
                             "DESIGN, UNIDADE, TIPOCUSTO, QTDAPROV, NROPASSAGENS, PRDHOR, ACERTO, CONSUMO, SUPIMPRESS, "
                             "DATAENT, ARTIGO, ENTRADA) VALUES ('2024', :E, :S, 1, :D, 8, 1, 'Linha', 'KGS', 'MP', 12, "
                             "0, 0, 0, 1.5, 50, :DT, 'CART', 1)",
                             {{"E", order}, {"S", s}, {"D", d}, {"DT", Day.startOfDay()}});
                app.exec("INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, ORCNRO, CLINRO, "
                         "QUANTIDADE, DATAENT, DATENT2, DATENT3, DATENT4, DATENT5, QTD1, QTD2, QTD3, QTD4, QTD5, "
                         "PRODUZ, IMPR, NPLANOS) VALUES ('2024', '11', :E, :S, 1, :E, 900, 10, 12, :DT, :DT, :DT, "
                         ":DT, :DT, 12, 0, 0, 0, 0, 'N', 'N', 3000)",
                         {{"E", order}, {"S", s}, {"DT", Day.startOfDay()}});
            }
            t.commit();
            plant->invoicing->exec("UPDATE ENCCLIDET SET ORDFAB = :E WHERE ANO = '2024' AND SEMANA = '11' AND "
                                   "ENCNRO = :E AND DETAIL = 1",
                                   {{"E", order}});
        }
    }
}

BENCHMARK(BM_Generation)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Generation_Raw)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

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
