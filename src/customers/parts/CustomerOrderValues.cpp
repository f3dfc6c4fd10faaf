#include "customers/parts/CustomerOrderValues.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"

#include <QDateTime>

namespace kv::customers {

namespace {

QString monthColumn(int month) { return QStringLiteral("ENCOME%1").arg(month, 2, 10, QLatin1Char('0')); }

} // namespace

QList<OrderBookMonth> CustomerOrderValues::orderBook(kv::db::Connection& invoicing, int customer)
{
    const kv::db::Dialect dialect = invoicing.dialect();
    const QString year = kv::db::sql::yearOf(dialect, QStringLiteral("ENCD.DATAENTRG"));
    const QString month = kv::db::sql::monthOf(dialect, QStringLiteral("ENCD.DATAENTRG"));
    const auto result = invoicing.query(
        QStringLiteral("SELECT %1 AS ANO, %2 AS MES, SUM(ENCD.VALLIQCAR) AS VALOR, SUM(ENCD.QTDCAR) AS QTDCAR "
                       "FROM ENCCLIDET ENCD JOIN ENCCLIMAS ENCM ON ENCM.ENCNRO = ENCD.ENCNRO "
                       "JOIN CLIENTES CLI ON CLI.CODIGO = ENCM.CLINRO "
                       "WHERE ENCD.TOTENT = 'N' AND ENCM.CLINRO = :WCliNro "
                       "GROUP BY %1, %2 ORDER BY ANO DESC, MES DESC")
            .arg(year, month),
        {{QStringLiteral("WCliNro"), customer}});
    QList<OrderBookMonth> book;
    for (const auto& row : result.rows)
        book.append({row.at(0).toInt(), row.at(1).toInt(), row.at(3).toDouble(), row.at(2).toDouble()});
    return book;
}

int CustomerOrderValues::rebuildMonthly(kv::db::Connection& invoicing, const QString& user, const QString& year)
{
    const int y = year.toInt();
    kv::db::Params params{{QStringLiteral("WUtil"), user}, {QStringLiteral("WAno"), year}};

    kv::db::Transaction transaction(invoicing);
    invoicing.exec(QStringLiteral("DELETE FROM WORKENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno"), params);
    invoicing.exec(QStringLiteral("DELETE FROM ENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno"), params);
    // Each month summed as the project's 4-decimal fixed point (whole
    // ten-thousandths, exact in 64-bit integers on both engines), then rounded
    // half away from zero to whole units in integer arithmetic; the order
    // date as a range of the year, so that its index serves.
    const QString tenThousandths =
        QStringLiteral("CAST(SUM(CAST(ROUND(ENCD.VALLIQUIDO * 10000) AS BIGINT)) AS BIGINT)");
    const QString month = kv::db::sql::monthOf(invoicing.dialect(), QStringLiteral("ENCD.DATEMI"));
    params.set(QStringLiteral("Inicio"), QDateTime(QDate(y, 1, 1), QTime(0, 0)));
    params.set(QStringLiteral("Fim"), QDateTime(QDate(y + 1, 1, 1), QTime(0, 0)));
    invoicing.exec(QStringLiteral("INSERT INTO WORKENCVALCLI (UTIL, ANO, CODIGO, MES, VALOR) "
                                  "SELECT UTIL, ANO, CODIGO, MES, CASE WHEN S >= 0 THEN (S + 5000) / 10000 "
                                  "ELSE -((5000 - S) / 10000) END FROM (SELECT :WUtil AS UTIL, :WAno AS ANO, "
                                  "ENCD.CLINRO AS CODIGO, %1 AS MES, %2 AS S FROM ENCCLIDET ENCD "
                                  "WHERE ENCD.DATEMI >= :Inicio AND ENCD.DATEMI < :Fim AND ENCD.ARTIGO IS NOT NULL "
                                  "GROUP BY ENCD.CLINRO, %1) M")
                       .arg(month, tenThousandths),
                   params);

    // One row per customer of the work rows: the months are whole units, so
    // their sums are exact.
    QStringList columns;
    QStringList values;
    for (int m = 1; m <= 12; ++m) {
        columns << monthColumn(m);
        values << QStringLiteral("SUM(CASE WHEN MES = %1 THEN VALOR ELSE 0 END)").arg(m);
    }
    const long long customers =
        invoicing.exec(QStringLiteral("INSERT INTO ENCVALCLI (UTIL, ANO, CODIGO, %1, ENCOME13) SELECT UTIL, ANO, "
                                      "CODIGO, %2, SUM(VALOR) FROM WORKENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno "
                                      "GROUP BY UTIL, ANO, CODIGO")
                           .arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))),
                       params);
    transaction.commit();
    return static_cast<int>(customers);
}

std::optional<MonthlyOrderValues> CustomerOrderValues::monthly(kv::db::Connection& invoicing, const QString& user,
                                                               const QString& year, int customer)
{
    QStringList columns;
    for (int month = 1; month <= 13; ++month)
        columns << monthColumn(month);
    const auto result = invoicing.query(
        QStringLiteral("SELECT %1 FROM ENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno AND CODIGO = :Codigo")
            .arg(columns.join(", ")),
        {{QStringLiteral("WUtil"), user}, {QStringLiteral("WAno"), year}, {QStringLiteral("Codigo"), customer}});
    if (result.isEmpty())
        return std::nullopt;
    MonthlyOrderValues values;
    const auto& row = result.rows.front();
    for (std::size_t i = 0; i < 12; ++i)
        values.months[i] = row.at(i).toDouble();
    values.total = row.at(12).toDouble();
    return values;
}

} // namespace kv::customers
