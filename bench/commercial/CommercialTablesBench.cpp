// The commercial tables over large tables on an embedded SQLite file, each
// against the bare engine in the same run: the postal codes' form over
// 200,000 codes (the grid return: one row applied, the table read again and
// the form back on that row; the lookup's open and incremental search), and
// the families' "&Artigos" over 100,000 articles (cost centres worked out,
// then one prepared statement per article in one transaction).
#include "commercial/core/ArticleFamilies.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedDatabase.h"
#include "platform/db/Dataset.h"
#include "platform/notify/MessageSink.h"

#include <benchmark/benchmark.h>

#include <QHash>

namespace {

constexpr int PostalCodes = 200000;
constexpr int Articles = 100000;
constexpr int FamilyCount = 300;

QString postalCode(int i)
{
    return QStringLiteral("%1-%2").arg(1000 + i / 1000).arg(i % 1000, 3, 10, QLatin1Char('0'));
}

struct Company {
    kv::bench::EmbeddedDatabase database{
        QStringLiteral("factur.db"), kv::schema::Database::Invoicing, {"CODPOSTAL", "FAMILIAS", "ARTIGOSCLS"}};
    std::shared_ptr<kv::db::Connection> invoicing = database.connection;

    Company()
    {
        kv::db::Transaction transaction(*invoicing);
        for (int i = 0; i < PostalCodes; ++i)
            invoicing->exec(QStringLiteral("INSERT INTO CODPOSTAL (CODPOSTAL, LOCALIDADE, PAIS, REGIAO) "
                                           "VALUES (:C, :L, 'PORTUGAL', 'NORTE')"),
                            {{"C", postalCode(i)}, {"L", QStringLiteral("Localidade %1").arg(i % 5000)}});
        for (int f = 0; f < FamilyCount; ++f)
            invoicing->exec(QStringLiteral("INSERT INTO FAMILIAS (FAMILIA, CCUSTO, CCUSTOMERC, CCUSTOSERV) "
                                           "VALUES (:F, 'CC10', 'CC11', 'CC12')"),
                            {{"F", QStringLiteral("FAMILIA %1").arg(f)}});
        for (int a = 0; a < Articles; ++a)
            invoicing->exec(QStringLiteral("INSERT INTO ARTIGOSCLS (CODIGO, FAMILIA, TIPOARTIGO) VALUES (:C, :F, :T)"),
                            {{"C", QStringLiteral("ART%1").arg(a, 7, 10, QLatin1Char('0'))},
                             // One article in a thousand names a family the table lacks.
                             {"F", QStringLiteral("FAMILIA %1").arg(a % 1000 == 0 ? 9999 : a % FamilyCount)},
                             {"T", QString::number(1 + a % 11)}});
        transaction.commit();
    }
};

Company& company()
{
    static Company instance;
    return instance;
}

// The messages of a run, counted instead of shown.
class CountingSink : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString&) override { ++messages; }
    void information(const QString&) override { ++messages; }
    int messages = 0;
};

// The shared dataset DTTABELAS.CODPOSTAL as the form opens it.
void setUpPostalCodes(kv::db::Dataset& rows)
{
    rows.setConnection(company().invoicing);
    rows.setSql(QStringLiteral("SELECT * FROM CODPOSTAL ORDER BY CODPOSTAL"));
    rows.setMode(kv::db::DatasetMode::Cached);
    rows.setUpdateStatements(kv::db::UpdateStatements::forTable(
        QStringLiteral("CODPOSTAL"),
        {"CODPOSTAL", "TELCODZONA", "LOCALIDADE", "PAIS", "REGIAO", "PROVINCIA", "ZONAGEOGRAF"}, {"CODPOSTAL"}));
}

// The grid return of the postal codes' form: the row edited is applied, the
// table read again and the form put back on that row.
void BM_PostalGridReturn(benchmark::State& state)
{
    kv::db::Dataset rows(QStringLiteral("CODPOSTAL"));
    setUpPostalCodes(rows);
    rows.open();
    int i = 0;
    for (auto _ : state) {
        const QString key = postalCode((i * 7919) % PostalCodes);
        rows.locate(QStringLiteral("CODPOSTAL"), key);
        rows.edit();
        rows.setValue(QStringLiteral("LOCALIDADE"), QStringLiteral("Nova %1").arg(i++));
        rows.post();
        rows.applyUpdates();
        rows.close();
        rows.open();
        benchmark::DoNotOptimize(rows.locate(QStringLiteral("CODPOSTAL"), key));
    }
}
BENCHMARK(BM_PostalGridReturn)->Unit(benchmark::kMillisecond);

void BM_BarePostalGridReturn(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state) {
        const QString key = postalCode((i * 7919) % PostalCodes);
        {
            kv::db::Transaction transaction(db);
            db.exec(QStringLiteral("UPDATE CODPOSTAL SET LOCALIDADE = :L WHERE CODPOSTAL = :C"),
                    {{"L", QStringLiteral("Nova %1").arg(i++)}, {"C", key}});
            transaction.commit();
        }
        const kv::db::QueryResult all = db.query(QStringLiteral("SELECT * FROM CODPOSTAL ORDER BY CODPOSTAL"));
        std::size_t row = 0;
        while (row < all.rows.size() && all.rows[row][0].toString() != key)
            ++row;
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_BarePostalGridReturn)->Unit(benchmark::kMillisecond);

// The lookup over the postal codes opened and searched by locality, as the
// lookup dialog's incremental search does (the start of the text, any case).
void BM_PostalLookupSearch(benchmark::State& state)
{
    int i = 0;
    for (auto _ : state) {
        kv::db::Dataset rows(QStringLiteral("CODPOSTAL"));
        setUpPostalCodes(rows);
        rows.open();
        benchmark::DoNotOptimize(rows.locate(QStringLiteral("LOCALIDADE"),
                                             QStringLiteral("localidade %1").arg((i++ * 37) % 5000),
                                             kv::db::LocateCaseInsensitive | kv::db::LocatePartialKey));
    }
}
BENCHMARK(BM_PostalLookupSearch)->Unit(benchmark::kMillisecond);

void BM_BarePostalLookupSearch(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state) {
        const kv::db::QueryResult all = db.query(QStringLiteral("SELECT * FROM CODPOSTAL ORDER BY CODPOSTAL"));
        const QString wanted = QStringLiteral("localidade %1").arg((i++ * 37) % 5000);
        std::size_t row = 0;
        while (row < all.rows.size() && !all.rows[row][2].toString().startsWith(wanted, Qt::CaseInsensitive))
            ++row;
        benchmark::DoNotOptimize(row);
    }
}
BENCHMARK(BM_BarePostalLookupSearch)->Unit(benchmark::kMillisecond);

// "&Artigos": every article's cost centre from its family and type.
void BM_ArticleCostCentres(benchmark::State& state)
{
    CountingSink sink;
    for (auto _ : state)
        benchmark::DoNotOptimize(kv::commercial::updateArticleCostCentres(*company().invoicing, sink));
    state.counters["articles"] = Articles;
}
BENCHMARK(BM_ArticleCostCentres)->Unit(benchmark::kMillisecond);

void BM_BarePreparedUpdates(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    for (auto _ : state) {
        QHash<QString, QStringList> families;
        for (const auto& row :
             db.query(QStringLiteral("SELECT FAMILIA, CCUSTO, CCUSTOMERC, CCUSTOSERV FROM FAMILIAS")).rows)
            families.insert(row[0].toString(), {row[1].toString(), row[2].toString(), row[3].toString()});
        const auto articles =
            db.query(QStringLiteral("SELECT CODIGO, FAMILIA, TIPOARTIGO FROM ARTIGOSCLS ORDER BY CODIGO"));
        kv::db::Transaction transaction(db);
        for (const auto& row : articles.rows) {
            const auto family = families.constFind(row[1].toString());
            if (family == families.constEnd())
                continue;
            const int type = row[2].toInt();
            const QString centre = type == 1 || type == 4 ? family->at(0)
                                   : type == 2            ? family->at(1)
                                   : type == 3            ? family->at(2)
                                                          : QString();
            db.exec(QStringLiteral("UPDATE ARTIGOSCLS SET CCUSTO = :WCCusto WHERE CODIGO = :WCodigo"),
                    {{"WCCusto", centre}, {"WCodigo", row[0]}});
        }
        transaction.commit();
    }
}
BENCHMARK(BM_BarePreparedUpdates)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kv::bench::runBenchmarks(argc, argv, [] { company(); });
}
