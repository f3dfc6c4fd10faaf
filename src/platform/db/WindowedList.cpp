#include "platform/db/WindowedList.h"

#include "platform/db/Connection.h"

namespace kv::db {

namespace {

// Marks the window's rows before the key (0) and at or after it (1).
const QString WindowColumn = QStringLiteral("JANELA");

} // namespace

WindowedList::WindowedList(Dataset& dataset, Shape shape) : m_dataset(dataset), m_shape(std::move(shape)) {}

QString WindowedList::whereWith(const QString& condition) const
{
    QStringList parts;
    if (!m_shape.where.isEmpty())
        parts << QStringLiteral("(%1)").arg(m_shape.where);
    if (!condition.isEmpty())
        parts << condition;
    return parts.isEmpty() ? QString() : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

QString WindowedList::orderText(bool descending) const
{
    QStringList columns;
    for (const QString& column : m_shape.order)
        columns << (descending ? column + QStringLiteral(" DESC") : column);
    return columns.join(QStringLiteral(", "));
}

// A row-value comparison walks the order's index on both engines.
QString WindowedList::keyCondition(const QString& op, int columns) const
{
    QStringList names;
    QStringList params;
    for (int i = 0; i < columns; ++i) {
        names << m_shape.order.at(i);
        params << QStringLiteral(":CHAVE%1").arg(i);
    }
    if (columns == 1)
        return QStringLiteral("%1 %2 %3").arg(names.first(), op, params.first());
    return QStringLiteral("(%1) %2 (%3)").arg(names.join(QStringLiteral(", ")), op, params.join(QStringLiteral(", ")));
}

void WindowedList::openFirst()
{
    m_dataset.close();
    m_dataset.setSql(QStringLiteral("SELECT %1, 1 AS %2 FROM %3%4 ORDER BY %5 LIMIT %6")
                         .arg(m_shape.columns, WindowColumn, m_shape.table, whereWith({}), orderText(false))
                         .arg(RowsBefore + RowsAfter));
    m_dataset.open();
    m_dataset.first();
    m_moreBefore = false;
    // A full window may have rows after it; one row more than fits would tell for sure.
    m_moreAfter = m_dataset.recordCount() >= RowsBefore + RowsAfter;
}

void WindowedList::openLast()
{
    m_dataset.close();
    m_dataset.setSql(
        QStringLiteral("SELECT * FROM (SELECT %1, 0 AS %2 FROM %3%4 ORDER BY %5 LIMIT %7) L ORDER BY %6")
            .arg(m_shape.columns, WindowColumn, m_shape.table, whereWith({}), orderText(true), orderText(false))
            .arg(RowsBefore + RowsAfter));
    m_dataset.open();
    m_dataset.last();
    m_moreBefore = m_dataset.recordCount() >= RowsBefore + RowsAfter;
    m_moreAfter = false;
}

void WindowedList::openAt(const QVariantList& key) { openWindow(key, RowsBefore, RowsAfter); }

void WindowedList::openWindow(const QVariantList& key, int before, int after)
{
    const int columns = std::min<int>(key.size(), m_shape.order.size());
    if (columns == 0) {
        openFirst();
        return;
    }
    m_dataset.close();
    m_dataset.setSql(QStringLiteral("SELECT * FROM (SELECT %1, 0 AS %2 FROM %3%4 ORDER BY %5 LIMIT %8) B "
                                    "UNION ALL "
                                    "SELECT * FROM (SELECT %1, 1 AS %2 FROM %3%6 ORDER BY %7 LIMIT %9) A "
                                    "ORDER BY %7")
                         .arg(m_shape.columns, WindowColumn, m_shape.table,
                              whereWith(keyCondition(QStringLiteral("<"), columns)), orderText(true),
                              whereWith(keyCondition(QStringLiteral(">="), columns)), orderText(false))
                         .arg(before)
                         .arg(after));
    for (int i = 0; i < columns; ++i)
        m_dataset.setParam(QStringLiteral("CHAVE%1").arg(i), key.at(i));
    m_dataset.open();
    m_dataset.first();
    int rowsBefore = 0;
    while (!m_dataset.eof() && m_dataset.value(WindowColumn).toInt() == 0) {
        m_dataset.next();
        ++rowsBefore;
    }
    m_moreBefore = rowsBefore >= before;
    m_moreAfter = m_dataset.recordCount() - rowsBefore >= after;
    if (m_dataset.eof())
        m_dataset.last();
}

bool WindowedList::atEdge()
{
    if (!m_dataset.isOpen() || m_dataset.isEmpty())
        return false;
    const int row = m_dataset.currentRow();
    return (row == m_dataset.recordCount() - 1 && m_moreAfter) || (row == 0 && m_moreBefore);
}

bool WindowedList::follow()
{
    if (!atEdge())
        return false;
    if (m_dataset.currentRow() == 0 && m_moreBefore)
        openWindow(currentKey(), RowsAfter, RowsBefore);
    else
        openWindow(currentKey(), RowsBefore, RowsAfter);
    return true;
}

QVariantList WindowedList::currentKey() const
{
    QVariantList key;
    if (!m_dataset.isOpen() || m_dataset.isEmpty())
        return key;
    for (const QString& column : m_shape.order)
        key << m_dataset.value(column);
    return key;
}

long long WindowedList::count()
{
    // Only the shape's own condition takes parameters: the window's keys are not in it.
    Params params;
    if (!m_shape.where.isEmpty())
        for (const QString& name : m_dataset.params().names())
            if (!name.startsWith(QStringLiteral("CHAVE"), Qt::CaseInsensitive))
                params.set(name, m_dataset.param(name));
    return m_dataset.connection()
        ->scalar(QStringLiteral("SELECT COUNT(*) FROM %1%2").arg(m_shape.table, whereWith({})), params)
        .toLongLong();
}

} // namespace kv::db
