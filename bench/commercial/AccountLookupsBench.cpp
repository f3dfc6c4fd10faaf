// The account link fields of the families form over a chart of 50,000
// accounts in the working year (an embedded SQLite file): the activation
// reading the sales set (accounts from "68") and the scroll through 300
// families naming their 27 sales accounts each, against the same read and
// the same lookups in a bare QHash in the same run.
#include "commercial/core/AccountLookups.h"

#include "platform/db/Connection.h"
#include "schema/Schema.h"

#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QHash>
#include <QTemporaryDir>

namespace {

using kv::commercial::AccountLookups;
using kv::commercial::AccountRange;
using kv::commercial::LinkStatus;

constexpr int ChartSize = 50000;
constexpr int Families = 300;
constexpr int AccountsPerFamily = 27;
const QString Year = QStringLiteral("2024");

struct Chart {
    QTemporaryDir folder;
    std::shared_ptr<kv::db::Connection> accounting;
    std::vector<QString> familyCodes; // 300 x 27 stored codes

    Chart()
    {
        kv::db::ConnectionSettings settings;
        settings.database = folder.filePath(QStringLiteral("contab.db"));
        accounting = kv::db::Connection::open(settings);
        const kv::schema::Schema& schema = kv::schema::Schema::standard();
        accounting->exec(schema.createStatement(*schema.table(kv::schema::Database::Accounting, "PLANOIDENT"),
                                                accounting->dialect()));
        kv::db::Transaction transaction(*accounting);
        std::vector<QString> sales;
        for (int i = 0; i < ChartSize; ++i) {
            // Classes 1 to 7 of the chart; about two fifths of it in the sales range.
            const QString code = QString::number(i % 5 < 2 ? 7 : 1 + i % 6) + QString::number(100000 + i);
            accounting->exec(QStringLiteral("INSERT INTO PLANOIDENT (ANO, CONTA, NOME, TIPO, GRAU) "
                                            "VALUES (:ANO, :CONTA, :NOME, :TIPO, 4)"),
                             {{"ANO", Year},
                              {"CONTA", code},
                              {"NOME", QStringLiteral("Conta %1 do plano").arg(code)},
                              {"TIPO", i % 10 == 0 ? QStringLiteral("R") : QStringLiteral("L")}});
            if (code.startsWith(QLatin1Char('7')))
                sales.push_back(code);
        }
        transaction.commit();
        for (int i = 0; i < Families * AccountsPerFamily; ++i)
            familyCodes.push_back(i % 50 == 0 ? QStringLiteral("6999999")
                                              : sales[(static_cast<std::size_t>(i) * 37) % sales.size()]);
    }
};

Chart& chart()
{
    static Chart instance;
    return instance;
}

struct BareEntry {
    QString name;
    QString type;
};

QHash<QString, BareEntry> bareRead(kv::db::Connection& accounting)
{
    const AccountRange range = AccountRange::familySales();
    const kv::db::QueryResult rows = accounting.query(
        QStringLiteral("SELECT CONTA, NOME, TIPO FROM PLANOIDENT WHERE ANO = :ANO ORDER BY ANO, CONTA"),
        {{"ANO", Year}});
    QHash<QString, BareEntry> hash;
    hash.reserve(static_cast<qsizetype>(rows.rows.size()));
    for (const auto& row : rows.rows) {
        const QString code = row[0].toString();
        const QString type = row[2].toString();
        if (range.admits(code, type))
            hash.insert(code, {row[1].toString(), type});
    }
    return hash;
}

// The activation: the sales set read and keyed.
void BM_OpenSalesSet(benchmark::State& state)
{
    Chart& c = chart();
    for (auto _ : state) {
        AccountLookups lookups(c.accounting, Year, true);
        benchmark::DoNotOptimize(lookups.accounts(AccountRange::familySales())->size());
    }
}
BENCHMARK(BM_OpenSalesSet)->Unit(benchmark::kMillisecond);

void BM_BareReadIntoHash(benchmark::State& state)
{
    Chart& c = chart();
    for (auto _ : state)
        benchmark::DoNotOptimize(bareRead(*c.accounting).size());
}
BENCHMARK(BM_BareReadIntoHash)->Unit(benchmark::kMillisecond);

// One scroll through the families: each family's 27 labels.
void BM_FamilyLabels(benchmark::State& state)
{
    Chart& c = chart();
    AccountLookups lookups(c.accounting, Year, true);
    kv::commercial::LookupSet& sales = *lookups.accounts(AccountRange::familySales());
    std::vector<QString> labels(AccountsPerFamily);
    for (auto _ : state) {
        for (std::size_t i = 0; i < c.familyCodes.size(); ++i) {
            const QString& code = c.familyCodes[i];
            QString& label = labels[i % AccountsPerFamily];
            const kv::commercial::LinkedCode* found = nullptr;
            switch (sales.check(code, true, &found)) {
            case LinkStatus::Found: label = found->name; break;
            case LinkStatus::NotFound: label = QStringLiteral("Conta Inexistente ..."); break;
            case LinkStatus::NotPosting: label = QStringLiteral("Conta não é de Lançamento"); break;
            case LinkStatus::Empty: label.clear(); break;
            }
        }
        benchmark::DoNotOptimize(labels.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.familyCodes.size()));
}
BENCHMARK(BM_FamilyLabels)->Unit(benchmark::kMicrosecond);

void BM_BareHashLabels(benchmark::State& state)
{
    Chart& c = chart();
    const QHash<QString, BareEntry> sales = bareRead(*c.accounting);
    std::vector<QString> labels(AccountsPerFamily);
    for (auto _ : state) {
        for (std::size_t i = 0; i < c.familyCodes.size(); ++i) {
            QString& label = labels[i % AccountsPerFamily];
            const auto at = sales.constFind(c.familyCodes[i]);
            if (at == sales.constEnd())
                label = QStringLiteral("Conta Inexistente ...");
            else if (at->type != QLatin1String("L"))
                label = QStringLiteral("Conta não é de Lançamento");
            else
                label = at->name;
        }
        benchmark::DoNotOptimize(labels.data());
    }
    state.SetItemsProcessed(state.iterations() * static_cast<int64_t>(c.familyCodes.size()));
}
BENCHMARK(BM_BareHashLabels)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
