#include "quotes/core/ChartRows.h"

#include "quotes/core/Amounts.h"

#include "platform/db/Connection.h"
#include "platform/text/Fixed4.h"

namespace kv::quotes {

using kv::text::Fixed4;

ChartRows::ChartRows(kv::db::Connection& connection, Table table, QString user, QString program)
    : m_db(connection), m_table(table), m_user(std::move(user)), m_program(std::move(program))
{
}

QString ChartRows::tableName() const
{
    switch (m_table) {
    case Table::Saldos: break;
    case Table::Saldos1: return QStringLiteral("SALDOS1");
    case Table::FacSaldos: return QStringLiteral("FACSALDOS");
    }
    return QStringLiteral("SALDOS");
}

void ChartRows::clear()
{
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE UTIL = :WUtil AND PROGRAMA = :WProg").arg(tableName()),
              {{"WUtil", m_user}, {"WProg", m_program}});
}

void ChartRows::addSlice(int sequence, const QString& label, double value, int priceDecimals)
{
    const double rounded = roundMoney(value, priceDecimals);
    const kv::db::Params key{{"WUtil", m_user}, {"WProg", m_program}, {"WSequencia", sequence}};
    const QVariant current = m_db.scalar(
        QStringLiteral("SELECT VALOR FROM %1 WHERE UTIL = :WUtil AND PROGRAMA = :WProg AND SEQUENCIA = :WSequencia")
            .arg(tableName()),
        key);
    if (current.isValid()) {
        kv::db::Params p = key;
        p.set("WValor", addExact(current.toDouble(), rounded));
        m_db.exec(QStringLiteral("UPDATE %1 SET VALOR = :WValor WHERE UTIL = :WUtil AND PROGRAMA = :WProg "
                                 "AND SEQUENCIA = :WSequencia")
                      .arg(tableName()),
                  p);
    } else {
        kv::db::Params p = key;
        p.set("WLegenda", label.left(9));
        p.set("WValor", rounded);
        m_db.exec(QStringLiteral("INSERT INTO %1 (UTIL,PROGRAMA,SEQUENCIA,LEGENDA,VALOR) "
                                 "VALUES (:WUtil,:WProg,:WSequencia,:WLegenda,:WValor)")
                      .arg(tableName()),
                  p);
    }
}

void ChartRows::replace(const std::vector<Slice>& slices, int decimals)
{
    kv::db::Transaction transaction(m_db);
    clear();
    for (const Slice& slice : slices)
        addSlice(slice.sequence, slice.label, slice.value, decimals);
    transaction.commit();
}

std::vector<ChartRows::Slice> ChartRows::slices()
{
    const auto result = m_db.query(QStringLiteral("SELECT SEQUENCIA, LEGENDA, VALOR FROM %1 WHERE UTIL = :WUtil AND "
                                                  "PROGRAMA = :WProg ORDER BY UTIL, PROGRAMA, SEQUENCIA")
                                       .arg(tableName()),
                                   {{"WUtil", m_user}, {"WProg", m_program}});
    std::vector<Slice> out;
    for (const auto& r : result.rows)
        out.push_back({static_cast<int>(r[0].toLongLong()), r[1].toString(), r[2].toDouble()});
    return out;
}

std::vector<ChartRows::Slice> ChartRows::quoteSlices(const QuoteRow& s)
{
    auto sum = [&s](std::initializer_list<const char*> columns) {
        Fixed4 total;
        for (const char* c : columns)
            total += Fixed4::fromDouble(s.number(QString::fromLatin1(c)));
        return total.toDouble();
    };
    return {
        {1, QStringLiteral("C.Base"), sum({"VALMP1", "VALMO1", "VALCM1", "VALEM1", "VALPS1", "VALSUB1"})},
        {2, QStringLiteral("C.Comerci"), sum({"VALTR1", "VALCOM1A", "VALCOM2A"})},
        {3, QStringLiteral("Margem"), s.number("MARGEMVALOR")},
    };
}

std::vector<ChartRows::Slice> ChartRows::costSlices(int set, const QuoteRow& s)
{
    const std::vector<Slice> base{{1, QStringLiteral("Mat.Prima"), s.number("VALMP1")},
                                  {2, QStringLiteral("Prod.Subs"), s.number("VALPS1")},
                                  {3, QStringLiteral("Máquinas"), s.number("VALCM1")},
                                  {4, QStringLiteral("Mão Obra"), s.number("VALMO1")},
                                  {5, QStringLiteral("Embalagem"), s.number("VALEM1")},
                                  {6, QStringLiteral("Subcontra"), s.number("VALSUB1")}};
    auto commercial = [&s](int first) {
        return std::vector<Slice>{{first, QStringLiteral("Transport"), s.number("VALTR1")},
                                  {first + 1, QStringLiteral("Estrutura"), s.number("VALCOM1A")},
                                  {first + 2, QStringLiteral("Comissão"), s.number("VALCOM2A")}};
    };
    switch (set) {
    case 1: return base;
    case 2: return commercial(6);
    case 3: {
        std::vector<Slice> all = base;
        for (Slice& slice : commercial(7))
            all.push_back(std::move(slice));
        all.push_back({10, QStringLiteral("Margem"), s.number("MARGEMVALOR")});
        return all;
    }
    default: break;
    }
    return {};
}

} // namespace kv::quotes
