#pragma once

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "support/BenchDatabase.h"

#include <benchmark/benchmark.h>

namespace kv::bench {

// The statements of a customer's views rebuilt and read (the user's four work
// tables of sales and receipts by month and by year emptied and refilled in
// one transaction, then read), sent through the bare connection: what the
// customer form and the approval list are measured against.
class BareCustomerViews {
public:
    explicit BareCustomerViews(kv::db::Dialect dialect)
    {
        const auto year = [dialect](const char* date) {
            return QStringLiteral("CAST(%1 AS VARCHAR(4))").arg(kv::db::sql::yearOf(dialect, QLatin1String(date)));
        };
        const QString salesYear = year("FAC.DATEMI");
        const QString salesMonth = kv::db::sql::monthOf(dialect, QStringLiteral("FAC.DATEMI"));
        const QString receiptYear = year("REC.DATEMI");
        const QString receiptMonth = kv::db::sql::monthOf(dialect, QStringLiteral("REC.DATEMI"));
        const QString sales = QStringLiteral("FROM FACMOVIM FAC JOIN FACMOVDET DET ON DET.TIPDOC = FAC.TIPDOC AND "
                                             "DET.DOCNRO = FAC.DOCNRO WHERE FAC.CLINRO = :WCliNro ");
        const QString receipts = QStringLiteral("FROM CLICOBREC REC WHERE REC.CLIENTE = :WCliNro ");
        m_fills = {QStringLiteral("INSERT INTO WORKVENDASMES (UTIL,CLINRO,ANO,MES,VALOR) SELECT :WUtil, FAC.CLINRO, "
                                  "%1, %2, SUM(DET.VAL_VENDA) %3 GROUP BY FAC.CLINRO, %1, %2")
                       .arg(salesYear, salesMonth, sales),
                   QStringLiteral("INSERT INTO WORKVENDASANO (UTIL,CLINRO,ANO,VALOR) SELECT :WUtil, FAC.CLINRO, %1, "
                                  "SUM(DET.VAL_VENDA) %2 GROUP BY FAC.CLINRO, %1")
                       .arg(salesYear, sales),
                   QStringLiteral("INSERT INTO WORKCLIRECMES (UTIL,CLINRO,ANO,MES,VALREC) SELECT :WUtil, "
                                  "REC.CLIENTE, %1, %2, SUM(REC.VALTOT) %3 GROUP BY REC.CLIENTE, %1, %2")
                       .arg(receiptYear, receiptMonth, receipts),
                   QStringLiteral("INSERT INTO WORKCLIRECANO (UTIL,CLINRO,ANO,VALREC) SELECT :WUtil, REC.CLIENTE, "
                                  "%1, SUM(REC.VALTOT) %2 GROUP BY REC.CLIENTE, %1")
                       .arg(receiptYear, receipts)};
    }

    void run(kv::db::Connection& db, const QString& user, int customer) const
    {
        const kv::db::Params params{{QStringLiteral("WUtil"), user}, {QStringLiteral("WCliNro"), customer}};
        {
            kv::db::Transaction transaction(db);
            for (const char* table : Tables)
                db.exec(QStringLiteral("DELETE FROM %1 WHERE UTIL = :WUtil").arg(QLatin1String(table)), params);
            for (const QString& fill : m_fills)
                db.exec(fill, params);
            transaction.commit();
        }
        for (const char* read : {"SELECT ANO, MES, VALOR FROM WORKVENDASMES WHERE UTIL = :WUtil AND CLINRO = "
                                 ":WCliNro ORDER BY CLINRO, ANO, MES",
                                 "SELECT ANO, VALOR FROM WORKVENDASANO WHERE UTIL = :WUtil AND CLINRO = :WCliNro "
                                 "ORDER BY CLINRO, ANO",
                                 "SELECT ANO, MES, VALREC FROM WORKCLIRECMES WHERE UTIL = :WUtil AND CLINRO = "
                                 ":WCliNro ORDER BY CLINRO, ANO, MES",
                                 "SELECT ANO, VALREC FROM WORKCLIRECANO WHERE UTIL = :WUtil AND CLINRO = :WCliNro "
                                 "ORDER BY CLINRO, ANO"})
            benchmark::DoNotOptimize(db.query(QLatin1String(read), params));
    }

private:
    static constexpr const char* Tables[] = {"WORKVENDASMES", "WORKVENDASANO", "WORKCLIRECMES", "WORKCLIRECANO"};
    QStringList m_fills;
};

// The rows the views read, made by the database: `invoices` invoices of
// `lines` lines and `receipts` receipts, spread over `customers` customers and
// over `days` days from `start`. The caller holds the transaction.
struct CustomerSales {
    int customers = 0;
    int invoices = 0;
    int lines = 0;
    int receipts = 0;
    QString start;
    int days = 0;

    void fill(kv::db::Connection& db) const
    {
        const QString day = dayAfter(db.dialect(), start, QStringLiteral("I % %1").arg(days));
        db.exec(numbers(invoices)
                + QStringLiteral("INSERT INTO FACMOVIM (TIPDOC, DOCNRO, CLINRO, DATEMI) SELECT 'FT', I, 1 + I % %1, "
                                 "%2 FROM N")
                      .arg(customers)
                      .arg(day));
        db.exec(numbers(invoices * lines)
                + QStringLiteral("INSERT INTO FACMOVDET (TIPDOC, DOCNRO, DETAIL, VAL_VENDA) SELECT 'FT', "
                                 "1 + (I - 1) / %1, 1 + (I - 1) % %1, 10.25 FROM N")
                      .arg(lines));
        db.exec(numbers(receipts)
                + QStringLiteral("INSERT INTO CLICOBREC (RECIBO, CLIENTE, DATEMI, VALTOT) SELECT I, 1 + I % %1, %2, "
                                 "75.5 FROM N")
                      .arg(customers)
                      .arg(day));
    }
};

} // namespace kv::bench
