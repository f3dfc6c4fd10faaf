// Calculating and storing a sub-quote of 30 cost lines for three quantities,
// against writing the same rows raw in one transaction, on an embedded
// application database.
#include "quotes/core/CostTables.h"
#include "platform/notify/MessageSink.h"
#include "quotes/core/QuoteEngine.h"
#include "quotes/core/QuoteRepository.h"
#include "schema/Schema.h"

#include "platform/db/Connection.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

using namespace kv::quotes;

namespace {

class SilentMessages : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override {}
    void information(const QString&) override {}
};

struct Plant {
    QTemporaryDir dir;
    std::shared_ptr<kv::db::Connection> db;
    CostTables tables;
    SilentMessages messages;
    QuoteRow row;

    Plant()
    {
        kv::db::ConnectionSettings s;
        s.alias = QStringLiteral("BDESPECIF01");
        s.database = dir.filePath(QStringLiteral("bench.db"));
        db = kv::db::Connection::open(s);
        kv::schema::Schema::standard().create(*db, kv::schema::Database::Application);
        for (int n = 1; n <= 3; ++n)
            if (!db->columnExists("ORCMAS", QStringLiteral("VALSUB%1").arg(n)))
                db->exec(QStringLiteral("ALTER TABLE ORCMAS ADD VALSUB%1 REAL").arg(n));
        kv::db::Transaction tx(*db);
        db->exec("INSERT INTO MAQUINAS (CODIGO, DESIGNACAO, NROCORES, CUSTOHORA, UNDPROD, FACTOR1, TIPOMAQUINA, "
                 "ACEPASSMIN1, ACEPASSMIN2) VALUES (1, 'Impressora', 4, 60, 'U', 5000, 1, 0.5, 0.8)");
        db->exec("INSERT INTO MAQUINAS (CODIGO, DESIGNACAO, NROCORES, CUSTOHORA, UNDPROD, FACTOR1, TIPOMAQUINA, "
                 "ACECORTANTEMIN1) VALUES (2, 'Corte e Vinco', 0, 50, 'U', 2000, 2, 0.4)");
        db->exec("INSERT INTO PAPEIS (CODIGO, DESIGNACAO, GRAMAGEM, PRECO, TIPOCALC) VALUES (1, 'Cartolina', 300, 0.8, "
                 "'1')");
        db->exec("INSERT INTO TINTAS (CODIGO, DESIGNACAO, GRAMAGEM, PRECO) VALUES (1, 'Tinta', 2, 10)");
        db->exec("INSERT INTO VERNIZES (CODIGO, DESIGNACAO, GRAMAGEM, PRECO) VALUES (1, 'Verniz', 5, 4)");
        db->exec("INSERT INTO CUSTFIXOS (CODIGO, DESIGNACAO, PRECO, MATPRIMA) VALUES (1, 'Cliché', 25, 'S')");
        db->exec("INSERT INTO ACABAMENTO (CODIGO, DESIGNACAO, CUSTOFIXO, PERC, TIPOCUSTO, UNIDADE) "
                 "VALUES (1, 'Embalagem', 12, 0, '2', 'M')");
        db->exec("INSERT INTO OPERCORTE (CODIGO, DESIGNACAO, CUSTOPPLANO, UNIDADE) VALUES (1, 'Guilhotina', 5, 'M')");
        db->exec("INSERT INTO TIRAGLIQ (CODIGO, QTD1, QTD2, PRCACAB1A, PRCIMPR1A) VALUES (1, 1, 1000000, 5, 10)");
        db->exec("INSERT INTO PROCMAS (CODIGO, DESIGNACAO) VALUES (1, 'Trinta linhas')");
        const int types[][2] = {{1, 1}, {2, 1}, {3, 1}, {1, 2}, {10, 1}, {7, 1}, {9, 1}};
        for (int i = 0; i < 29; ++i) // with the board line of the printing machine: 30 lines
            db->exec("INSERT INTO PROCDET (CODIGO, DETAIL, TIPOTABELA, CODTAB, DESTAB) VALUES (1, :D, :T, :C, 'x')",
                     {{"D", i + 1}, {"T", types[i % 7][0]}, {"C", types[i % 7][1]}});
        db->exec("INSERT INTO PROCMASTEMP (UTIL, CODIGO, DESIGNACAO) VALUES ('BENCH', 1, 'Trinta linhas')");
        tx.commit();
        tables = CostTables::load(*db);
        row.set("CODIGO", 1);
        row.set("SUBCODIGO", 0);
        row.set("UNIDADE", QStringLiteral("M"));
        row.set("QTDORC1", 5.0);
        row.set("QTDORC2", 10.0);
        row.set("QTDORC3", 20.0);
        row.set("UNDPLANO", 4);
        row.set("PLNCOMPRIM1", 100.0);
        row.set("PLNLARGURA1", 70.0);
        row.set("PLNCOMPRIM2", 0.0);
        row.set("NROCORES", 2);
        row.set("SUPERFIMPR", 50.0);
        row.set("CARTOLINA", 1);
        row.set("ACABNORMAL", QStringLiteral("S"));
        for (const char* c : {"PRDHORACV", "ACERTOCV", "PRDHORAIMP", "ACERTOIMP"})
            row.set(QString::fromLatin1(c), 1);
    }

    QuoteEngine engine()
    {
        QuoteSession s;
        s.application = db.get();
        s.tables = &tables;
        s.messages = &messages;
        s.user = QStringLiteral("BENCH");
        return QuoteEngine(s);
    }
};

Plant& plant()
{
    static int argc = 1;
    static char name[] = "kv_quotes_bench";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    static Plant p;
    return p;
}

void CalculateAndStoreSubQuote(benchmark::State& state)
{
    Plant& p = plant();
    QuoteEngine engine = p.engine();
    auto first = engine.start(p.row); // creates the 30 lines
    if (!first || first->lines.size() != 30)
        state.SkipWithError("the procedure did not give 30 lines");
    for (auto _ : state) {
        auto sq = engine.start(p.row); // recalculates all 30 lines and stores them with the row
        benchmark::DoNotOptimize(sq);
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(CalculateAndStoreSubQuote)->Unit(benchmark::kMicrosecond);

void RawInsertSameRows(benchmark::State& state)
{
    Plant& p = plant();
    QuoteRepository repo(*p.db);
    QuoteEngine engine = p.engine();
    const auto sq = engine.start(p.row);
    for (auto _ : state) {
        kv::db::Transaction tx(*p.db);
        repo.saveRow(sq->row);
        repo.replaceLines(1, 0, sq->lines);
        repo.saveRow(sq->row);
        tx.commit();
    }
    state.SetItemsProcessed(state.iterations() * 30);
}
BENCHMARK(RawInsertSameRows)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
