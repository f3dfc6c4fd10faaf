#include "platform/db/PrintQueue.h"

#include "platform/db/Connection.h"

#include <algorithm>

namespace kv::db {

PrintQueue::PrintQueue(Connection& db, PrintQueueTable table, QString user, PrintQueueKind kind)
    : m_db(db), m_table(std::move(table)), m_user(std::move(user)), m_kind(std::move(kind))
{
}

QStringList PrintQueue::chosenCopies(const QStringList& names, const std::array<bool, CopySlots>& ticked)
{
    QStringList copies;
    for (int slot = 0; slot < CopySlots && slot < names.size(); ++slot) {
        const QString name = names[slot].trimmed();
        if (ticked[slot] && !name.isEmpty() && !copies.contains(name))
            copies << name;
    }
    return copies;
}

void PrintQueue::empty()
{
    m_db.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = :WUtil").arg(m_table.table, m_table.user),
              {{QStringLiteral("WUtil"), m_user}});
}

void PrintQueue::fill(const std::vector<qint64>& documents, const QStringList& copies,
                      const std::function<void(Connection&, qint64)>& mark,
                      const std::function<void(int, int, qint64)>& progress)
{
    // The table's key is (document, user, copy). Inserted only when absent: a name given twice, or a row another run of
    // the same user left, still makes one row per document and copy.
    const bool withCopies = !m_table.copy.isEmpty();
    const bool withKind = !m_kind.column.isEmpty();
    QStringList columns{m_table.document, m_table.user};
    QStringList markers{QStringLiteral(":WOrcNro"), QStringLiteral(":WUtil")};
    if (withCopies) {
        columns << m_table.copy;
        markers << QStringLiteral(":WVia");
    }
    if (withKind) {
        columns << m_kind.column;
        markers << QStringLiteral(":WKind");
    }
    const QString insert =
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT DO NOTHING")
            .arg(m_table.table, columns.join(QStringLiteral(", ")), markers.join(QStringLiteral(", ")));
    const QStringList single{QString()};
    Transaction transaction(m_db);
    empty();
    const int total = static_cast<int>(documents.size());
    int done = 0;
    for (const qint64 document : documents) {
        for (const QString& copy : withCopies ? copies : single) {
            kv::db::Params p{{QStringLiteral("WOrcNro"), document}, {QStringLiteral("WUtil"), m_user}};
            if (withCopies)
                p.set(QStringLiteral("WVia"), copy);
            if (withKind)
                p.set(QStringLiteral("WKind"), m_kind.value);
            m_db.exec(insert, p);
        }
        if (mark)
            mark(m_db, document);
        ++done;
        if (progress)
            progress(done, total, document);
    }
    transaction.commit();
}

std::vector<PrintQueueRow> PrintQueue::rows(qint64 from, qint64 to, const QStringList& copies) const
{
    const QString copyColumn = m_table.copy.isEmpty() ? QStringLiteral("''") : m_table.copy;
    kv::db::Params params{
        {QStringLiteral("WOrcNro1"), from}, {QStringLiteral("WOrcNro2"), to}, {QStringLiteral("WUtil"), m_user}};
    QString kindCondition;
    if (!m_kind.column.isEmpty()) {
        kindCondition = QStringLiteral(" AND %1 = :WKind").arg(m_kind.column);
        params.set(QStringLiteral("WKind"), m_kind.value);
    }
    const QueryResult result =
        m_db.query(QStringLiteral("SELECT %1, %2 FROM %3 WHERE %1 >= :WOrcNro1 AND %1 <= :WOrcNro2 AND %4 = :WUtil%5 "
                                  "ORDER BY %1")
                       .arg(m_table.document, copyColumn, m_table.table, m_table.user, kindCondition),
                   params);
    std::vector<PrintQueueRow> rows;
    rows.reserve(result.rows.size());
    for (const auto& row : result.rows)
        rows.push_back({row[0].toLongLong(), row[1].toString()});
    const auto slot = [&copies](const QString& copy) {
        const qsizetype at = copies.indexOf(copy);
        return at < 0 ? copies.size() : at;
    };
    std::stable_sort(rows.begin(), rows.end(), [&slot](const PrintQueueRow& a, const PrintQueueRow& b) {
        return a.document != b.document ? a.document < b.document : slot(a.copy) < slot(b.copy);
    });
    return rows;
}

} // namespace kv::db
