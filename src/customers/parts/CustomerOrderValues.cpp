#include "customers/parts/CustomerOrderValues.h"

#include "platform/db/Connection.h"
#include "platform/db/SqlDialect.h"
#include "platform/text/DecimalRounding.h"
#include "platform/text/Fixed4.h"

#include <QDateTime>
#include <map>

namespace kv::customers {

namespace {

QString monthColumn(int month) { return QStringLiteral("ENCOME%1").arg(month, 2, 10, QLatin1Char('0')); }

// Rows written a hundred to a statement: a year of a few thousand customers
// is a few dozen statements, not tens of thousands of round trips.
class RowInserter {
public:
    RowInserter(kv::db::Connection& db, QString table, QStringList columns)
        : m_db(db), m_table(std::move(table)), m_columns(std::move(columns))
    {
    }

    void add(const QVariantList& values)
    {
        m_rows.append(values);
        if (m_rows.size() == kRowsPerStatement)
            flush();
    }

    void flush()
    {
        if (m_rows.isEmpty())
            return;
        QStringList tuples;
        kv::db::Params params;
        for (qsizetype r = 0; r < m_rows.size(); ++r) {
            QStringList names;
            for (qsizetype c = 0; c < m_columns.size(); ++c) {
                const QString name = QStringLiteral("R%1C%2").arg(r).arg(c);
                names << QLatin1Char(':') + name;
                params.set(name, m_rows[r].at(c));
            }
            tuples << QLatin1Char('(') + names.join(QLatin1Char(',')) + QLatin1Char(')');
        }
        m_db.exec(QStringLiteral("INSERT INTO %1 (%2) VALUES %3")
                      .arg(m_table, m_columns.join(QLatin1Char(',')), tuples.join(QLatin1Char(','))),
                  params);
        m_rows.clear();
    }

private:
    static constexpr qsizetype kRowsPerStatement = 100;
    kv::db::Connection& m_db;
    QString m_table;
    QStringList m_columns;
    QList<QVariantList> m_rows;
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
    std::map<int, MonthlyOrderValues> customers;
    RowInserter work(invoicing, QStringLiteral("WORKENCVALCLI"),
                     {QStringLiteral("UTIL"), QStringLiteral("CODIGO"), QStringLiteral("ANO"), QStringLiteral("MES"),
                      QStringLiteral("VALOR")});
    for (const auto& row : sums.rows) {
        const int customer = row.at(0).toInt();
        const int month = row.at(1).toInt();
        const double value = kv::text::roundDecimal(row.at(2).toDouble(), 0);
        work.add({user, customer, year, month, value});
        if (month >= 1 && month <= 12)
            customers[customer].months[static_cast<std::size_t>(month - 1)] = value;
    }
    work.flush();

    QStringList columns{QStringLiteral("UTIL"), QStringLiteral("ANO"), QStringLiteral("CODIGO")};
    for (int month = 1; month <= 13; ++month)
        columns << monthColumn(month);
    RowInserter totals(invoicing, QStringLiteral("ENCVALCLI"), columns);
    for (const auto& [customer, row] : customers) {
        kv::text::Fixed4 total;
        QVariantList values{user, year, customer};
        for (const double value : row.months) {
            total += kv::text::Fixed4::fromDouble(value);
            values << value;
        }
        values << total.toDouble();
        totals.add(values);
    }
    totals.flush();
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
