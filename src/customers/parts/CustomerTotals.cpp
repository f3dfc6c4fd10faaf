#include "customers/parts/CustomerTotals.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"

namespace kv::customers {

namespace {

QString yearText(kv::db::Dialect dialect, const QString& date)
{
    return QStringLiteral("CAST(%1 AS VARCHAR(4))").arg(kv::db::sql::yearOf(dialect, date));
}

kv::db::Params userAndCustomer(const QString& user, int customer)
{
    return {{QStringLiteral("WUtil"), user}, {QStringLiteral("WCliNro"), customer}};
}

QList<MonthTotal> months(kv::db::Connection& invoicing, const QString& table, const QString& valueColumn,
                         const QString& user, int customer)
{
    const auto rows = invoicing.query(QStringLiteral("SELECT ANO, MES, %1 FROM %2 WHERE UTIL = :WUtil AND CLINRO = "
                                                     ":WCliNro ORDER BY CLINRO, ANO, MES")
                                          .arg(valueColumn, table),
                                      userAndCustomer(user, customer));
    QList<MonthTotal> totals;
    for (const auto& row : rows.rows)
        totals.append({row.at(0).toString(), row.at(1).toInt(), row.at(2).toDouble()});
    return totals;
}

QList<YearTotal> years(kv::db::Connection& invoicing, const QString& table, const QString& valueColumn,
                       const QString& user, int customer)
{
    const auto rows = invoicing.query(
        QStringLiteral("SELECT ANO, %1 FROM %2 WHERE UTIL = :WUtil AND CLINRO = :WCliNro ORDER BY CLINRO, ANO")
            .arg(valueColumn, table),
        userAndCustomer(user, customer));
    QList<YearTotal> totals;
    for (const auto& row : rows.rows)
        totals.append({row.at(0).toString(), row.at(1).toDouble()});
    return totals;
}

} // namespace

double Receivables::total() const
{
    double sum = 0;
    for (int i = 0; i < 7; ++i)
        sum += amounts[static_cast<std::size_t>(i)];
    return sum;
}

void CustomerTotals::rebuild(kv::db::Connection& invoicing, const QString& user, int customer)
{
    const kv::db::Dialect dialect = invoicing.dialect();
    const QString salesYear = yearText(dialect, QStringLiteral("FAC.DATEMI"));
    const QString salesMonth = kv::db::sql::monthOf(dialect, QStringLiteral("FAC.DATEMI"));
    const QString receiptYear = yearText(dialect, QStringLiteral("REC.DATEMI"));
    const QString receiptMonth = kv::db::sql::monthOf(dialect, QStringLiteral("REC.DATEMI"));
    const QString sales = QStringLiteral("FROM FACMOVIM FAC JOIN FACMOVDET DET ON DET.TIPDOC = FAC.TIPDOC AND "
                                         "DET.DOCNRO = FAC.DOCNRO WHERE FAC.CLINRO = :WCliNro ");
    const QString receipts = QStringLiteral("FROM CLICOBREC REC WHERE REC.CLIENTE = :WCliNro ");
    const kv::db::Params params = userAndCustomer(user, customer);

    kv::db::Transaction transaction(invoicing);
    for (const QString& table : {QStringLiteral("WORKVENDASMES"), QStringLiteral("WORKVENDASANO"),
                                 QStringLiteral("WORKCLIRECMES"), QStringLiteral("WORKCLIRECANO")})
        invoicing.exec(QStringLiteral("DELETE FROM %1 WHERE UTIL = :WUtil").arg(table), params);
    invoicing.exec(QStringLiteral("INSERT INTO WORKVENDASMES (UTIL,CLINRO,ANO,MES,VALOR) SELECT :WUtil, FAC.CLINRO, "
                                  "%1, %2, SUM(DET.VAL_VENDA) %3 GROUP BY FAC.CLINRO, %1, %2")
                       .arg(salesYear, salesMonth, sales),
                   params);
    invoicing.exec(QStringLiteral("INSERT INTO WORKVENDASANO (UTIL,CLINRO,ANO,VALOR) SELECT :WUtil, FAC.CLINRO, %1, "
                                  "SUM(DET.VAL_VENDA) %2 GROUP BY FAC.CLINRO, %1")
                       .arg(salesYear, sales),
                   params);
    invoicing.exec(QStringLiteral("INSERT INTO WORKCLIRECMES (UTIL,CLINRO,ANO,MES,VALREC) SELECT :WUtil, REC.CLIENTE, "
                                  "%1, %2, SUM(REC.VALTOT) %3 GROUP BY REC.CLIENTE, %1, %2")
                       .arg(receiptYear, receiptMonth, receipts),
                   params);
    invoicing.exec(QStringLiteral("INSERT INTO WORKCLIRECANO (UTIL,CLINRO,ANO,VALREC) SELECT :WUtil, REC.CLIENTE, %1, "
                                  "SUM(REC.VALTOT) %2 GROUP BY REC.CLIENTE, %1")
                       .arg(receiptYear, receipts),
                   params);
    transaction.commit();
}

QList<MonthTotal> CustomerTotals::salesByMonth(kv::db::Connection& invoicing, const QString& user, int customer)
{
    return months(invoicing, QStringLiteral("WORKVENDASMES"), QStringLiteral("VALOR"), user, customer);
}

QList<YearTotal> CustomerTotals::salesByYear(kv::db::Connection& invoicing, const QString& user, int customer)
{
    return years(invoicing, QStringLiteral("WORKVENDASANO"), QStringLiteral("VALOR"), user, customer);
}

QList<MonthTotal> CustomerTotals::receiptsByMonth(kv::db::Connection& invoicing, const QString& user, int customer)
{
    return months(invoicing, QStringLiteral("WORKCLIRECMES"), QStringLiteral("VALREC"), user, customer);
}

QList<YearTotal> CustomerTotals::receiptsByYear(kv::db::Connection& invoicing, const QString& user, int customer)
{
    return years(invoicing, QStringLiteral("WORKCLIRECANO"), QStringLiteral("VALREC"), user, customer);
}

Receivables CustomerTotals::receivables(kv::db::Connection& invoicing, int customer, bool treasury)
{
    Receivables result;
    if (!treasury)
        return result;
    const auto row =
        invoicing.query(QStringLiteral("SELECT DEB0, DEB30, DEB3060, DEB6090, DEB90120, DEB120180, DEB180, "
                                       "TITULOS, PREDAT FROM CLIVALCOB WHERE CODIGO = :WCodigo"),
                        {{QStringLiteral("WCodigo"), customer}});
    if (row.isEmpty())
        return result;
    result.found = true;
    for (std::size_t i = 0; i < result.amounts.size(); ++i)
        result.amounts[i] = row.rows.front().at(i).toDouble();
    return result;
}

} // namespace kv::customers
