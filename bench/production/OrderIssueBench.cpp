// An issue run of 200 production-order items in two copies: the user's queue
// filled with the slots marked, the documents' rows read for the whole queue,
// the four documents rendered for the preview, the queue emptied; against the
// same four documents rendered over the same rows prepared in memory.
#include "production/core/OrderDocuments.h"
#include "production/core/OrderIssue.h"
#include "production/print/OrderDocumentReports.h"

#include "support/EmbeddedDatabase.h"

#include <QDateTime>
#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <memory>

using namespace kv::production;

namespace {

constexpr int Items = 200;
const QStringList Copies{"Produção", "Qualidade"};
const QDate IssueDay(2024, 3, 15);
const QString User = QStringLiteral("ANA");

struct IssuePlant {
    kv::bench::EmbeddedDatabase application{QStringLiteral("aplicacao.db"), kv::schema::Database::Application,
                                            {"ORDFABDET", "ORCCONSUMOS", "ORCMAS", "PAPEIS", "ORDFABIMPR"}};
    kv::bench::EmbeddedDatabase invoicing{QStringLiteral("facturacao.db"), kv::schema::Database::Invoicing,
                                          {"ENCCLIMAS", "CODPOSTAL"}};
    std::vector<IssueItem> items;
    OrderDocumentData inMemory;

    IssuePlant()
    {
        kv::db::Connection& app = *application.connection;
        const QDateTime day(IssueDay, QTime(0, 0));
        kv::db::Transaction tx(app);
        app.exec("INSERT INTO PAPEIS (CODIGO, DESIGNACAO, GRAMAGEM, TIPOPAP) VALUES (7, 'Cartolina 350', 350, 'C')");
        for (int n = 1; n <= Items; ++n) {
            app.exec("INSERT INTO ORDFABDET (ANO, SEMANA, ORDNRO, SUBORC, DETAIL, ENCNRO, ORCNRO, CLINRO, CLISIGLA, "
                     "ARTIGO, DESIGNACAO, QUANTIDADE, DATAEMI, DATAENT, DATENT2, DATENT3, DATENT4, DATENT5, DATAPROD, "
                     "PRODUZ, IMPR, REPETICAO, TAMPA, CAIXA, QTD1, QTDPLT1A, QTDPLT1B) VALUES ('2024', '11', :N, 0, "
                     "1, :N, :N, 10, 'CLI10', 'ART-A', 'Caixa', 3000, :D, :D, :D, :D, :D, :D, :D, 'N', 'N', 'N', "
                     "'S', 'S', 3000, 4, 30)",
                     {{"N", n}, {"D", day}});
            app.exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, NOME, CODPOSTAL, DESIGN1, NOSREF) VALUES (:N, 0, "
                     "'Cliente', '4000-001', 'Caixa', 'ART-A')",
                     {{"N", n}});
            const char* lines[][3] = {{"MP", "8", "Cartolina 350"}, {"MP", "9", "Tinta"},  {"CM", "12", "Impressora"},
                                      {"CM", "12", "Cortante"},     {"PS", "5", "Verniz"}, {"MO", "20", "Colagem"},
                                      {"EM", "20", "Caixa exterior"}};
            int detail = 0;
            for (const auto& line : lines)
                app.exec("INSERT INTO ORCCONSUMOS (ANO, CODIGO, SUBCODIGO, ENCDETAIL, DETAIL, TIPOCUSTO, TIPOTABELA, "
                         "CODTAB, DESIGN, CONSUMO, ENTRADA) VALUES ('2024', :N, 0, 1, :L, :T, :K, 7, :S, 1.3, 1)",
                         {{"N", n}, {"L", ++detail}, {"T", line[0]}, {"K", QString::fromLatin1(line[1]).toInt()},
                          {"S", QString::fromUtf8(line[2])}});
            items.push_back({"2024", "11", n, 1, 0});
        }
        tx.commit();
        kv::db::Connection& inv = *invoicing.connection;
        kv::db::Transaction itx(inv);
        inv.exec("INSERT INTO CODPOSTAL (CODPOSTAL, LOCALIDADE) VALUES ('4000-001', 'PORTO')");
        for (int n = 1; n <= Items; ++n)
            inv.exec("INSERT INTO ENCCLIMAS (ENCNRO, VOSENC, CLINOM) VALUES (:N, 'PO', 'Cliente')", {{"N", n}});
        itx.commit();

        // The rows the documents print, read once and kept for the in-memory run.
        OrderIssue issue(app, User, IssueModel::Detail);
        issue.queue(items, Copies);
        inMemory = readOrderDocuments(app, inv, User);
        issue.emptyQueue();
        app.exec("UPDATE ORDFABDET SET IMPR = 'N'");
    }
};

std::unique_ptr<IssuePlant>& issuePlant()
{
    static std::unique_ptr<IssuePlant> plant;
    return plant;
}

const DocumentLook Look{QStringLiteral("Cartonagem do Vale, Lda"), QStringLiteral("Rodapé"), {}};

void BM_OrderIssueRun(benchmark::State& state)
{
    IssuePlant& plant = *issuePlant();
    kv::db::Connection& app = *plant.application.connection;
    for (auto _ : state) {
        OrderIssue issue(app, User, IssueModel::Detail);
        issue.queue(plant.items, Copies);
        const OrderDocumentData data = readOrderDocuments(app, *plant.invoicing.connection, User);
        const kv::report::Document document = OrderDocumentReports(data, Look).render();
        benchmark::DoNotOptimize(document.pageCount());
        issue.emptyQueue();
        // The items are listed once: a later run marks them again (as a reprint does), the same writes.
    }
}
BENCHMARK(BM_OrderIssueRun)->Unit(benchmark::kMillisecond)->MinTime(1.0);

void BM_OrderIssueMemory(benchmark::State& state)
{
    IssuePlant& plant = *issuePlant();
    for (auto _ : state) {
        const kv::report::Document document = OrderDocumentReports(plant.inMemory, Look).render();
        benchmark::DoNotOptimize(document.pageCount());
    }
}
BENCHMARK(BM_OrderIssueMemory)->Unit(benchmark::kMillisecond)->MinTime(1.0);

} // namespace

int main(int argc, char** argv)
{
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    issuePlant() = std::make_unique<IssuePlant>();
    benchmark::RunSpecifiedBenchmarks();
    issuePlant().reset();
    benchmark::Shutdown();
    return 0;
}
