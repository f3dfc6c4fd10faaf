#include "quotes/core/QuoteRepository.h"

#include "platform/db/Connection.h"
#include "platform/db/NumberAllocator.h"

#include <stdexcept>

namespace kv::quotes {

namespace {

QString insertStatement(const QString& table, const QStringList& columns)
{
    QStringList params;
    for (const QString& c : columns)
        params << QLatin1Char(':') + c;
    return QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
        .arg(table, columns.join(QLatin1Char(',')), params.join(QLatin1Char(',')));
}

const QString& rowInsertSql()
{
    static const QString sql = insertStatement(QStringLiteral("ORCMAS"), quoteRowLayout().names());
    return sql;
}

const QString& rowUpdateSql()
{
    static const QString sql = [] {
        QStringList sets;
        for (const QString& c : quoteRowLayout().names())
            sets << QStringLiteral("%1 = :%1").arg(c);
        return QStringLiteral("UPDATE ORCMAS SET %1 WHERE CODIGO = :OLD_CODIGO AND SUBCODIGO = :OLD_SUBCODIGO")
            .arg(sets.join(QLatin1Char(',')));
    }();
    return sql;
}

const QStringList& lineColumns()
{
    static const QStringList columns = {"CODIGO",    "SUBCODIGO", "DETAIL",    "TIPOTABELA", "CODTAB",  "DESIGN",
                                        "TIPOCUSTO", "PRECO",     "VALQTD1",   "VALQTD2",    "VALQTD3", "NROPASSAGENS",
                                        "PRDHOR",    "ACERTO",    "PERC",      "CONSUM1",    "CONSUM2", "CONSUM3",
                                        "QUANTID",   "CODPRDHOR", "CODACERTO", "TMPACERTO",  "TMPPREV"};
    return columns;
}

std::vector<QuoteRow> toRows(const kv::db::QueryResult& result)
{
    const RecordLayout& layout = quoteRowLayout();
    // "SELECT *" gives the columns in the table's order, which the layout
    // follows: each is looked for where the previous one left off before
    // the whole list is searched (a row has some 130 columns).
    std::vector<int> from;
    int next = 0;
    for (const RecordColumn& c : layout.columns()) {
        int index = next < result.columns.size() && result.columns[next].compare(c.name, Qt::CaseInsensitive) == 0
                        ? next
                        : result.columnIndex(c.name);
        from.push_back(index);
        if (index >= 0)
            next = index + 1;
    }
    std::vector<QuoteRow> rows;
    for (const auto& values : result.rows) {
        QuoteRow row;
        for (int i = 0; i < layout.size(); ++i)
            if (from[static_cast<std::size_t>(i)] >= 0)
                row.setAt(i, values[static_cast<std::size_t>(from[static_cast<std::size_t>(i)])]);
        rows.push_back(std::move(row));
    }
    return rows;
}

kv::db::Params rowParams(const QuoteRow& row)
{
    kv::db::Params p;
    const auto& columns = row.layout().columns();
    for (int i = 0; i < row.layout().size(); ++i)
        p.set(columns[static_cast<std::size_t>(i)].name, row.valueAt(i));
    return p;
}

} // namespace

QuoteRepository::QuoteRepository(kv::db::Connection& connection) : m_db(connection) {}

std::optional<QuoteRow> QuoteRepository::row(int quoteNumber, int subQuote)
{
    auto rows =
        toRows(m_db.query(QStringLiteral("SELECT * FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO"),
                          {{"CODIGO", quoteNumber}, {"SUBCODIGO", subQuote}}));
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

std::optional<QuoteRow> QuoteRepository::row(int quoteNumber, int subQuote, const QStringList& columns)
{
    // Column names come from the program, never from typed text.
    auto rows =
        toRows(m_db.query(QStringLiteral("SELECT %1 FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO")
                              .arg(columns.join(QLatin1Char(','))),
                          {{"CODIGO", quoteNumber}, {"SUBCODIGO", subQuote}}));
    if (rows.empty())
        return std::nullopt;
    return std::move(rows.front());
}

bool QuoteRepository::rowExists(int quoteNumber, int subQuote)
{
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM ORCMAS WHERE CODIGO = :CODIGO AND SUBCODIGO = :SUBCODIGO"),
                {{"CODIGO", quoteNumber}, {"SUBCODIGO", subQuote}})
        .isValid();
}

std::vector<QuoteRow> QuoteRepository::subQuoteRows(int quoteNumber)
{
    return toRows(m_db.query(QStringLiteral("SELECT * FROM ORCMAS WHERE CODIGO = :WOrcNro AND SUBCODIGO <> 99 "
                                            "ORDER BY CODIGO, SUBCODIGO"),
                             {{"WOrcNro", quoteNumber}}));
}

void QuoteRepository::insertRow(const QuoteRow& row) { m_db.exec(rowInsertSql(), rowParams(row)); }

bool QuoteRepository::updateRow(const QuoteRow& row)
{
    kv::db::Params p = rowParams(row);
    p.set("OLD_CODIGO", row.quoteNumber());
    p.set("OLD_SUBCODIGO", row.subQuote());
    return m_db.exec(rowUpdateSql(), p) > 0;
}

void QuoteRepository::saveRow(const QuoteRow& row)
{
    if (!updateRow(row))
        insertRow(row);
}

void QuoteRepository::deleteSummaryRow(int quoteNumber)
{
    m_db.exec(QStringLiteral("DELETE FROM ORCMAS WHERE CODIGO = :WOrcNro AND SUBCODIGO = 99"),
              {{"WOrcNro", quoteNumber}});
}

std::vector<QuoteRow> QuoteRepository::quoteRows(int quoteNumber)
{
    return toRows(m_db.query(QStringLiteral("SELECT * FROM ORCMAS WHERE CODIGO = :WOrcNro ORDER BY CODIGO, SUBCODIGO"),
                             {{"WOrcNro", quoteNumber}}));
}

bool QuoteRepository::quoteExists(int quoteNumber)
{
    return m_db.scalar(QStringLiteral("SELECT 1 FROM ORCMAS WHERE CODIGO = :WOrcNro"), {{"WOrcNro", quoteNumber}})
        .isValid();
}

void QuoteRepository::deleteQuote(int quoteNumber)
{
    m_db.exec(QStringLiteral("DELETE FROM ORCDET WHERE CODIGO = :WOrcNro"), {{"WOrcNro", quoteNumber}});
    m_db.exec(QStringLiteral("DELETE FROM ORCMAS WHERE CODIGO = :WOrcNro"), {{"WOrcNro", quoteNumber}});
}

void QuoteRepository::zeroMissingSecondFormat(int quoteNumber)
{
    m_db.exec(QStringLiteral("UPDATE ORCMAS SET PLNCOMPRIM2 = 0 WHERE CODIGO = :WOrcNro AND PLNCOMPRIM2 IS NULL"),
              {{"WOrcNro", quoteNumber}});
    m_db.exec(QStringLiteral("UPDATE ORCMAS SET PLNLARGURA2 = 0 WHERE CODIGO = :WOrcNro AND PLNLARGURA2 IS NULL"),
              {{"WOrcNro", quoteNumber}});
}

namespace {

// The series becomes part of a column name: only 1 to 5 ever get there.
QString seriesColumn(int series)
{
    if (series < 1 || series > 5)
        throw std::invalid_argument("a quote series is 1 to 5");
    return QStringLiteral("ORCNRO%1").arg(series);
}

kv::db::Counter seriesCounterColumn(int series)
{
    return {QStringLiteral("ORCPARGER"), seriesColumn(series), QStringLiteral("CODIGO = 1"), {}};
}

} // namespace

std::optional<long long> QuoteRepository::seriesCounter(int series)
{
    const auto result =
        m_db.query(QStringLiteral("SELECT %1 FROM ORCPARGER WHERE CODIGO = 1").arg(seriesColumn(series)));
    if (result.rows.empty())
        return std::nullopt;
    return result.rows.front().front().toLongLong();
}

int QuoteRepository::claimQuoteNumber(int series, int wanted)
{
    kv::db::NumberAllocator numbers(m_db);
    const kv::db::Counter counter = seriesCounterColumn(series);
    if (numbers.claim(counter, wanted, {QStringLiteral("ORCMAS"), QStringLiteral("CODIGO"), {}, {}}))
        return wanted;
    // A number outside the series may already be in use further on.
    for (;;) {
        const int number = static_cast<int>(numbers.next(counter));
        if (!quoteExists(number))
            return number;
    }
}

bool QuoteRepository::raiseSeriesCounter(int series, int number)
{
    return m_db.exec(QStringLiteral("UPDATE ORCPARGER SET %1 = CASE WHEN COALESCE(%1, 0) < :NUMBER "
                                    "THEN :NUMBER ELSE %1 END WHERE CODIGO = 1")
                         .arg(seriesColumn(series)),
                     {{"NUMBER", number}})
           > 0;
}

std::vector<CostLine> QuoteRepository::lines(int quoteNumber, int subQuote)
{
    return toLines(m_db.query(QStringLiteral("SELECT * FROM ORCDET WHERE CODIGO = :WOrcNro AND SUBCODIGO = :WSubOrc "
                                             "ORDER BY CODIGO, SUBCODIGO, DETAIL"),
                              {{"WOrcNro", quoteNumber}, {"WSubOrc", subQuote}}));
}

std::vector<CostLine> QuoteRepository::quoteLines(int quoteNumber)
{
    return toLines(m_db.query(QStringLiteral("SELECT * FROM ORCDET WHERE CODIGO = :WOrcNro "
                                             "ORDER BY CODIGO, SUBCODIGO, DETAIL"),
                              {{"WOrcNro", quoteNumber}}));
}

std::vector<CostLine> QuoteRepository::toLines(const kv::db::QueryResult& result)
{
    std::vector<int> at;
    for (const QString& c : lineColumns())
        at.push_back(result.columnIndex(c));
    std::vector<CostLine> out;
    out.reserve(result.rows.size());
    for (const auto& values : result.rows) {
        auto v = [&](int i) {
            const int index = at[static_cast<std::size_t>(i)];
            return index < 0 ? QVariant() : values[static_cast<std::size_t>(index)];
        };
        auto d = [&](int i) { return v(i).toDouble(); };
        auto n = [&](int i) { return static_cast<int>(v(i).toLongLong()); };
        CostLine l;
        l.quoteNumber = n(0);
        l.subQuote = n(1);
        l.detail = n(2);
        l.tableType = n(3);
        l.tableCode = n(4);
        l.designation = v(5).toString();
        l.costClass = v(6).toString().trimmed();
        l.price = d(7);
        l.value = {d(8), d(9), d(10)};
        l.passes = n(11);
        l.factor = d(12);
        l.makeReady = d(13);
        l.percentage = d(14);
        l.consumption = {d(15), d(16), d(17)};
        l.kilometres = d(18);
        l.grade = n(19);
        l.makeReadyChoice = n(20);
        l.makeReadyHm = d(21);
        l.plannedTime = v(22);
        out.push_back(std::move(l));
    }
    return out;
}

void QuoteRepository::replaceLines(int quoteNumber, int subQuote, const std::vector<CostLine>& lines)
{
    m_db.exec(QStringLiteral("DELETE FROM ORCDET WHERE CODIGO = :WOrcNro AND SUBCODIGO = :WSubOrc"),
              {{"WOrcNro", quoteNumber}, {"WSubOrc", subQuote}});
    static const QString sql = insertStatement(QStringLiteral("ORCDET"), lineColumns());
    for (const CostLine& l : lines) {
        m_db.exec(sql, {{"CODIGO", quoteNumber},
                        {"SUBCODIGO", subQuote},
                        {"DETAIL", l.detail},
                        {"TIPOTABELA", l.tableType},
                        {"CODTAB", l.tableCode},
                        {"DESIGN", l.designation},
                        {"TIPOCUSTO", l.costClass},
                        {"PRECO", l.price},
                        {"VALQTD1", l.value[0]},
                        {"VALQTD2", l.value[1]},
                        {"VALQTD3", l.value[2]},
                        {"NROPASSAGENS", l.passes},
                        {"PRDHOR", l.factor},
                        {"ACERTO", l.makeReady},
                        {"PERC", l.percentage},
                        {"CONSUM1", l.consumption[0]},
                        {"CONSUM2", l.consumption[1]},
                        {"CONSUM3", l.consumption[2]},
                        {"QUANTID", l.kilometres},
                        {"CODPRDHOR", l.grade},
                        {"CODACERTO", l.makeReadyChoice},
                        {"TMPACERTO", l.makeReadyHm},
                        {"TMPPREV", l.plannedTime}});
    }
}

bool QuoteRepository::procedureExists(int code)
{
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM PROCMAS WHERE CODIGO = :CODIGO"), {{"CODIGO", code}})
               .toLongLong()
           > 0;
}

QString QuoteRepository::procedureName(int code)
{
    return m_db.scalar(QStringLiteral("SELECT DESIGNACAO FROM PROCMAS WHERE CODIGO = :CODIGO"), {{"CODIGO", code}})
        .toString();
}

std::vector<int> QuoteRepository::chosenProcedures(const QString& user)
{
    const auto result = m_db.query(
        QStringLiteral("SELECT CODIGO FROM PROCMASTEMP WHERE UTIL = :WUtil ORDER BY UTIL, CODIGO"), {{"WUtil", user}});
    std::vector<int> out;
    for (const auto& r : result.rows)
        out.push_back(static_cast<int>(r[0].toLongLong()));
    return out;
}

void QuoteRepository::addChosenProcedure(const QString& user, int code, const QString& designation)
{
    m_db.exec(QStringLiteral("INSERT INTO PROCMASTEMP (UTIL,CODIGO,DESIGNACAO) VALUES (:WUtil,:CODIGO,:DESIGNACAO)"),
              {{"WUtil", user}, {"CODIGO", code}, {"DESIGNACAO", designation.left(30)}});
}

void QuoteRepository::removeChosenProcedure(const QString& user, int code)
{
    m_db.exec(QStringLiteral("DELETE FROM PROCMASTEMP WHERE UTIL = :WUtil AND CODIGO = :CODIGO"),
              {{"WUtil", user}, {"CODIGO", code}});
}

void QuoteRepository::clearChosenProcedures(const QString& user)
{
    m_db.exec(QStringLiteral("DELETE FROM PROCMASTEMP WHERE UTIL = :WUtil"), {{"WUtil", user}});
}

std::vector<ProcedureLine> QuoteRepository::chosenProcedureLines(const QString& user)
{
    const auto result = m_db.query(QStringLiteral("SELECT D.CODIGO, D.DETAIL, D.TIPOTABELA, D.CODTAB, D.DESTAB "
                                                  "FROM PROCMASTEMP T JOIN PROCDET D ON D.CODIGO = T.CODIGO "
                                                  "WHERE T.UTIL = :WUtil ORDER BY T.CODIGO, D.DETAIL"),
                                   {{"WUtil", user}});
    std::vector<ProcedureLine> out;
    for (const auto& r : result.rows) {
        ProcedureLine l;
        l.procedure = static_cast<int>(r[0].toLongLong());
        l.detail = static_cast<int>(r[1].toLongLong());
        l.tableType = static_cast<int>(r[2].toLongLong());
        l.tableCode = static_cast<int>(r[3].toLongLong());
        l.designation = r[4].toString();
        out.push_back(l);
    }
    return out;
}

std::optional<CommercialParameters> QuoteRepository::commercialParameters()
{
    const auto result = m_db.query(QStringLiteral("SELECT * FROM ORCPARGER WHERE CODIGO = 1"));
    if (result.isEmpty())
        return std::nullopt;
    CommercialParameters p;
    for (int k = 0; k < 3; ++k) {
        p.name[k] = result.value(0, QStringLiteral("DESIGNCOM%1").arg(k + 1)).toString().trimmed();
        p.incidence[k] = result.value(0, QStringLiteral("TIPINCID%1").arg(k + 1)).toString().trimmed().toUpper();
    }
    p.subsidiaryInCost3 = result.value(0, QStringLiteral("COMPS1")).toString().trimmed() == QLatin1String("S");
    return p;
}

} // namespace kv::quotes
