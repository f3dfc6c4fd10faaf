// The customer views' rebuild (an embedded SQLite file with the
// definition's indexes): 20,000 customers with 100,000 invoices of two
// lines (200,000 lines, a fifth of the volume the file is made for) and
// 60,000 receipts over two years. The rebuild empties the user's four work
// tables and refills them with one customer's sales and receipts by month
// and by year in one transaction, then reads them as the views show them;
// the bare run sends the same statements through the connection.
#include "customers/parts/CustomerTotals.h"

#include "platform/db/Connection.h"
#include "support/EmbeddedDatabase.h"

#include <benchmark/benchmark.h>

#include <QDateTime>

namespace {

constexpr int Customers = 20000;
constexpr int Invoices = 100000;
constexpr int Receipts = 60000;
const QString User = QStringLiteral("ANA");

struct Company {
    kv::bench::EmbeddedDatabase database{
        QStringLiteral("factur.db"),
        kv::schema::Database::Invoicing,
        {"FACMOVIM", "FACMOVDET", "CLICOBREC", "WORKVENDASMES", "WORKVENDASANO", "WORKCLIRECMES", "WORKCLIRECANO"}};
    std::shared_ptr<kv::db::Connection> invoicing = database.connection;

    Company()
    {
        const QDateTime start(QDate(2023, 1, 1), QTime(0, 0));
        kv::db::Transaction transaction(*invoicing);
        for (int i = 0; i < Invoices; ++i) {
            invoicing->exec(QStringLiteral("INSERT INTO FACMOVIM (TIPDOC, DOCNRO, CLINRO, DATEMI) "
                                           "VALUES ('FT', :D, :C, :E)"),
                            {{"D", i}, {"C", 1 + i % Customers}, {"E", start.addDays(i % 730)}});
            for (int line = 1; line <= 2; ++line)
                invoicing->exec(QStringLiteral("INSERT INTO FACMOVDET (TIPDOC, DOCNRO, DETAIL, VAL_VENDA) "
                                               "VALUES ('FT', :D, :L, :V)"),
                                {{"D", i}, {"L", line}, {"V", 100.0 + line}});
        }
        for (int r = 0; r < Receipts; ++r)
            invoicing->exec(QStringLiteral("INSERT INTO CLICOBREC (RECIBO, CLIENTE, DATEMI, VALTOT) "
                                           "VALUES (:R, :C, :E, 250)"),
                            {{"R", r}, {"C", 1 + r % Customers}, {"E", start.addDays(r % 730)}});
        transaction.commit();
    }
};

Company& company()
{
    static Company instance;
    return instance;
}

void BM_ViewsRebuild(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    int i = 0;
    for (auto _ : state) {
        const int customer = 1 + (i++ * 7919) % Customers;
        kv::customers::CustomerTotals::rebuild(db, User, customer);
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::salesByMonth(db, User, customer));
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::salesByYear(db, User, customer));
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::receiptsByMonth(db, User, customer));
        benchmark::DoNotOptimize(kv::customers::CustomerTotals::receiptsByYear(db, User, customer));
    }
}
BENCHMARK(BM_ViewsRebuild)->Unit(benchmark::kMillisecond);

void BM_BareViewsRebuild(benchmark::State& state)
{
    kv::db::Connection& db = *company().invoicing;
    const QString year = QStringLiteral("strftime('%Y', %1)");
    const QString month = QStringLiteral("CAST(strftime('%m', %1) AS INTEGER)");
    const QString fy = year.arg(QStringLiteral("FAC.DATEMI"));
    const QString fm = month.arg(QStringLiteral("FAC.DATEMI"));
    const QString ry = year.arg(QStringLiteral("REC.DATEMI"));
    const QString rm = month.arg(QStringLiteral("REC.DATEMI"));
    const QString sales = QStringLiteral("FROM FACMOVIM FAC JOIN FACMOVDET DET ON DET.TIPDOC = FAC.TIPDOC AND "
                                         "DET.DOCNRO = FAC.DOCNRO WHERE FAC.CLINRO = :WCliNro ");
    const QString receipts = QStringLiteral("FROM CLICOBREC REC WHERE REC.CLIENTE = :WCliNro ");
    int i = 0;
    for (auto _ : state) {
        const kv::db::Params params{{"WUtil", User}, {"WCliNro", 1 + (i++ * 7919) % Customers}};
        {
            kv::db::Transaction transaction(db);
            for (const char* table : {"WORKVENDASMES", "WORKVENDASANO", "WORKCLIRECMES", "WORKCLIRECANO"})
                db.exec(QStringLiteral("DELETE FROM %1 WHERE UTIL = :WUtil").arg(QLatin1String(table)), params);
            db.exec(QStringLiteral("INSERT INTO WORKVENDASMES (UTIL,CLINRO,ANO,MES,VALOR) SELECT :WUtil, FAC.CLINRO, "
                                   "%1, %2, SUM(DET.VAL_VENDA) %3 GROUP BY FAC.CLINRO, %1, %2")
                        .arg(fy, fm, sales),
                    params);
            db.exec(QStringLiteral("INSERT INTO WORKVENDASANO (UTIL,CLINRO,ANO,VALOR) SELECT :WUtil, FAC.CLINRO, %1, "
                                   "SUM(DET.VAL_VENDA) %2 GROUP BY FAC.CLINRO, %1")
                        .arg(fy, sales),
                    params);
            db.exec(QStringLiteral("INSERT INTO WORKCLIRECMES (UTIL,CLINRO,ANO,MES,VALREC) SELECT :WUtil, "
                                   "REC.CLIENTE, %1, %2, SUM(REC.VALTOT) %3 GROUP BY REC.CLIENTE, %1, %2")
                        .arg(ry, rm, receipts),
                    params);
            db.exec(QStringLiteral("INSERT INTO WORKCLIRECANO (UTIL,CLINRO,ANO,VALREC) SELECT :WUtil, REC.CLIENTE, "
                                   "%1, SUM(REC.VALTOT) %2 GROUP BY REC.CLIENTE, %1")
                        .arg(ry, receipts),
                    params);
            transaction.commit();
        }
        for (const char* read : {"SELECT ANO, MES, VALOR FROM WORKVENDASMES", "SELECT ANO, VALOR FROM WORKVENDASANO",
                                 "SELECT ANO, MES, VALREC FROM WORKCLIRECMES", "SELECT ANO, VALREC FROM WORKCLIRECANO"})
            benchmark::DoNotOptimize(db.query(QLatin1String(read)
                                                  + QStringLiteral(" WHERE UTIL = :WUtil AND "
                                                                   "CLINRO = :WCliNro ORDER BY ANO"),
                                              params));
    }
}
BENCHMARK(BM_BareViewsRebuild)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv)
{
    return kv::bench::runBenchmarks(argc, argv, [] { company(); });
}
