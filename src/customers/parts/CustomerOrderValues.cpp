#include "customers/parts/CustomerOrderValues.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "platform/text/DecimalRounding.h"

#include <QDateTime>
#include <QSet>
#include <vector>

namespace kv::customers {

namespace {

QString monthColumn(int month) { return QStringLiteral("ENCOME%1").arg(month, 2, 10, QLatin1Char('0')); }

// The user's monthly values written some rows to a statement: a year of a
// few thousand customers takes a few hundred statements, not tens of
// thousands of round trips. The user and the year are bound once a statement.
class MonthlyRows {
public:
    MonthlyRows(kv::db::Connection& db, kv::db::Params userAndYear) : m_db(db), m_userAndYear(std::move(userAndYear)) {}

    void add(int customer, int month, double value)
    {
        m_rows.push_back({customer, month, value});
        if (m_rows.size() == kRowsPerStatement)
            flush();
    }

    void flush()
    {
        if (m_rows.empty())
            return;
        QStringList tuples;
        kv::db::Params params = m_userAndYear;
        for (std::size_t r = 0; r < m_rows.size(); ++r) {
            tuples << QStringLiteral("(:WUtil,:WAno,:C%1,:M%1,:V%1)").arg(r);
            params.set(QStringLiteral("C%1").arg(r), m_rows[r].customer);
            params.set(QStringLiteral("M%1").arg(r), m_rows[r].month);
            params.set(QStringLiteral("V%1").arg(r), m_rows[r].value);
        }
        m_db.exec(QStringLiteral("INSERT INTO WORKENCVALCLI (UTIL,ANO,CODIGO,MES,VALOR) VALUES %1")
                      .arg(tuples.join(QLatin1Char(','))),
                  params);
        m_rows.clear();
    }

private:
    struct Row {
        int customer;
        int month;
        double value;
    };
    static constexpr std::size_t kRowsPerStatement = 25;
    kv::db::Connection& m_db;
    kv::db::Params m_userAndYear;
    std::vector<Row> m_rows;
};

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
    const kv::db::Dialect dialect = invoicing.dialect();
    const int y = year.toInt();
    const kv::db::Params userAndYear{{QStringLiteral("WUtil"), user}, {QStringLiteral("WAno"), year}};

    kv::db::Transaction transaction(invoicing);
    // A range of the order date rather than its year, so the date's index serves.
    const auto sums = invoicing.query(
        QStringLiteral("SELECT ENCD.CLINRO, %1 AS MES, SUM(ENCD.VALLIQUIDO) FROM ENCCLIDET ENCD "
                       "WHERE ENCD.DATEMI >= :Inicio AND ENCD.DATEMI < :Fim AND ENCD.ARTIGO IS NOT NULL "
                       "GROUP BY ENCD.CLINRO, %1")
            .arg(kv::db::sql::monthOf(dialect, QStringLiteral("ENCD.DATEMI"))),
        {{QStringLiteral("Inicio"), QDateTime(QDate(y, 1, 1), QTime(0, 0))},
         {QStringLiteral("Fim"), QDateTime(QDate(y + 1, 1, 1), QTime(0, 0))}});

    invoicing.exec(QStringLiteral("DELETE FROM WORKENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno"), userAndYear);
    invoicing.exec(QStringLiteral("DELETE FROM ENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno"), userAndYear);
    MonthlyRows work(invoicing, userAndYear);
    QSet<int> customers;
    for (const auto& row : sums.rows) {
        const int customer = row.at(0).toInt();
        work.add(customer, row.at(1).toInt(), kv::text::roundDecimal(row.at(2).toDouble(), 0));
        customers.insert(customer);
    }
    work.flush();

    // One row per customer of the work rows: the months are whole units, so
    // their sums in the database are exact.
    QStringList columns;
    QStringList values;
    for (int month = 1; month <= 12; ++month) {
        columns << monthColumn(month);
        values << QStringLiteral("SUM(CASE WHEN MES = %1 THEN VALOR ELSE 0 END)").arg(month);
    }
    invoicing.exec(QStringLiteral("INSERT INTO ENCVALCLI (UTIL, ANO, CODIGO, %1, ENCOME13) SELECT UTIL, ANO, "
                                  "CODIGO, %2, SUM(VALOR) FROM WORKENCVALCLI WHERE UTIL = :WUtil AND ANO = :WAno "
                                  "GROUP BY UTIL, ANO, CODIGO")
                       .arg(columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", "))),
                   userAndYear);
    transaction.commit();
    return static_cast<int>(customers.size());
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
