// Generating 500 work-list rows (a quote of two sub-quotes of 25 cost lines
// each, one customer order per row) through the generation core, one
// two-database operation per row, against inserting the same order rows,
// consumption rows and records with bare statements, one transaction per
// row, on both engines.
#include "production/core/OrderGeneration.h"
#include "support/TwoDatabases.h"

#include "platform/db/Connection.h"
#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"

#include <QCoreApplication>
#include <QUuid>
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

struct Plant {
    kv::bench::TwoDatabases databases;
    std::shared_ptr<kv::db::Connection> application = databases.application;
    std::shared_ptr<kv::db::Connection> invoicing = databases.invoicing;
    kv::db::TwoDatabaseKinds kinds;
    int nextOrder = 1;

    explicit Plant(Dialect dialect)
        : databases(dialect, QStringLiteral("kv_bench_generation"))
    {
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
};

Plant* plantFor(benchmark::State& state) { return kv::bench::plantFor<Plant>(state); }

void BM_Generation(benchmark::State& state)
{
    Plant* plant = plantFor(state);
    if (!plant)
        return;
    kv::bench::QuietMessages quiet;
    kv::db::TwoDatabaseWork work = plant->databases.work(plant->kinds);
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

// The same rows with bare statements, each row's values bound as generation
// binds them: per work-list row, one transaction
// with both order rows, their consumption rows, the record and the pending
// operation, one with the mark and its journal row, then the pending
// operation cleared.
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
            const QString id = QUuid::createUuid().toString(QUuid::WithoutBraces);
            kv::db::Transaction t(app);
            app.exec("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) VALUES (:I, 'X', "
                     "'X', '{}', 'BENCH', :T)",
                     {{"I", id}, {"T", QDateTime::currentDateTime()}});
            app.exec("INSERT INTO ORDFABENC (ANO, ENCNRO, ENCDETAIL, SEMANA, ORDNRO, DETAIL) VALUES ('2024', :E, 1, "
                     "'11', :E, 1)",
                     {{"E", order}});
            for (int s = 0; s < SubQuotes; ++s) {
                for (int d = 1; d <= Lines; ++d)
                    app.exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOTABELA, CODTAB, "
                             "DESIGN, UNIDADE, TIPOCUSTO, QTDAPROV, NROPASSAGENS, PRDHOR, ACERTO, CONSUMO, SUPIMPRESS, "
                             "DATAENT, ARTIGO, ENTRADA) VALUES (:ANO, :CODIGO, :SUBCODIGO, :ENCDETAIL, :DETAIL, "
                             ":TIPOTABELA, :CODTAB, :DESIGN, :UNIDADE, :TIPOCUSTO, :QTDAPROV, :NROPASSAGENS, :PRDHOR, "
                             ":ACERTO, :CONSUMO, :SUPIMPRESS, :DATAENT, :ARTIGO, 1)",
                             {{"ANO", "2024"},
                              {"CODIGO", order},
                              {"SUBCODIGO", s},
                              {"ENCDETAIL", 1},
                              {"DETAIL", d},
                              {"TIPOTABELA", 8},
                              {"CODTAB", 1},
                              {"DESIGN", "Cartolina"},
                              {"UNIDADE", "KGS"},
                              {"TIPOCUSTO", "MP"},
                              {"QTDAPROV", 12.0},
                              {"NROPASSAGENS", 0},
                              {"PRDHOR", 0.0},
                              {"ACERTO", 0.0},
                              {"CONSUMO", 1.5},
                              {"SUPIMPRESS", 50.0},
                              {"DATAENT", Day.startOfDay()},
                              {"ARTIGO", "CART"}});
                app.exec("INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, ORCNRO, CLINRO, "
                         "CLISIGLA, ARTIGO, QUANTIDADE, DATAEMI, DATAENT, DATAPROD, SEMANAPROD, QTDPROD, UNVEND, "
                         "PRODUZ, QUANTFINAL, IMPR, NPLANOS, DESIGNACAO, DATENT2, DATENT3, DATENT4, DATENT5, QTD1, "
                         "QTD2, QTD3, QTD4, QTD5, PLNCOMPRIM1, PLNLARGURA1, PLNCOMPRIM2, PLNLARGURA2, COMPRIM, "
                         "LARGURA, ALTURA, NROENT) VALUES (:ANO, :SEMANA, :ORDNRO, :SUBORC, 1, :ORDNRO, :ORCNRO, "
                         ":CLINRO, :CLISIGLA, :ARTIGO, :QUANTIDADE, :DATAEMI, :DATAENT, :DATAENT, :SEMANAPROD, 0, "
                         ":UNVEND, 'N', :QUANTIDADE, 'N', :NPLANOS, :DESIGNACAO, :DATAENT, :DATAENT, :DATAENT, "
                         ":DATAENT, :QUANTIDADE, 0, 0, 0, 0, :PLNCOMPRIM1, :PLNLARGURA1, :PLNCOMPRIM2, :PLNLARGURA2, "
                         ":COMPRIM, :LARGURA, :ALTURA, :NROENT)",
                         {{"ANO", "2024"},
                          {"SEMANA", "11"},
                          {"ORDNRO", order},
                          {"SUBORC", s},
                          {"ORCNRO", Quote},
                          {"CLINRO", 10},
                          {"CLISIGLA", "CLI"},
                          {"ARTIGO", "ART-1"},
                          {"QUANTIDADE", 12.0},
                          {"DATAEMI", Day.startOfDay()},
                          {"DATAENT", Day.startOfDay()},
                          {"SEMANAPROD", "11"},
                          {"UNVEND", "MIL"},
                          {"NPLANOS", 3000.0},
                          {"DESIGNACAO", "Caixa"},
                          {"PLNCOMPRIM1", 100.0},
                          {"PLNLARGURA1", 70.0},
                          {"PLNCOMPRIM2", 0.0},
                          {"PLNLARGURA2", 0.0},
                          {"COMPRIM", 0.0},
                          {"LARGURA", 0.0},
                          {"ALTURA", 0.0},
                          {"NROENT", 1}});
            }
            t.commit();
            kv::db::Connection& inv = *plant->invoicing;
            kv::db::Transaction mark(inv);
            inv.exec("INSERT INTO OPERDIARIO (OPERID, TIPO, ESTADO, DATAHORA) VALUES (:I, 'X', 'C', :T)",
                     {{"I", id}, {"T", QDateTime::currentDateTime()}});
            inv.exec("UPDATE ENCCLIDET SET ORDFAB = :E WHERE ANO = '2024' AND SEMANA = '11' AND ENCNRO = :E AND "
                     "DETAIL = 1",
                     {{"E", order}});
            mark.commit();
            app.exec("DELETE FROM OPERPENDENTE WHERE OPERID = :I", {{"I", id}});
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
    kv::bench::plants<Plant>().clear();
    benchmark::Shutdown();
    return 0;
}
