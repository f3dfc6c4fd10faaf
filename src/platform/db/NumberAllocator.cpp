#include "platform/db/NumberAllocator.h"

#include "platform/db/DbError.h"
#include "platform/db/engine/NativeConnection.h"

namespace kv::db {

namespace {

const QString NumberParam = QStringLiteral("KV_NUMBER");

Params withNumber(Params params, long long number)
{
    params.set(NumberParam, number);
    return params;
}

[[noreturn]] void missingCounter(const Counter& counter)
{
    throw DbError(DbError::Kind::NotFound,
                  QStringLiteral("O contador %1 da tabela %2 não existe: não há numeração para o documento.")
                      .arg(counter.column, counter.table));
}

} // namespace

QString NumberAllocator::where(const QString& condition) const
{
    return condition.trimmed().isEmpty() ? QString() : QStringLiteral(" WHERE ") + condition;
}

long long NumberAllocator::next(const Counter& counter)
{
    const Dialect dialect = m_db.dialect();
    const QString column = sql::identifier(dialect, counter.column);
    // The raise and the read are one statement: the row is locked (PostgreSQL)
    // or the database is (SQLite) from the read to the commit.
    const QString text = QStringLiteral("UPDATE %1 SET %2 = COALESCE(%2, 0) + 1%3 RETURNING %2")
                             .arg(sql::identifier(dialect, counter.table), column, where(counter.condition));
    m_db.native().finishReaders();
    const QueryResult result = m_db.query(text, counter.params);
    if (result.rows.empty())
        missingCounter(counter);
    if (result.rows.size() > 1)
        throw DbError(
            DbError::Kind::State,
            QStringLiteral("O contador %1 da tabela %2 está em mais de uma linha.").arg(counter.column, counter.table));
    return result.rows.front().front().toLongLong();
}

bool NumberAllocator::claim(const Counter& counter, long long number, const NumberColumn& documents)
{
    const Dialect dialect = m_db.dialect();
    Transaction transaction(m_db);
    // Touching the counter's row first makes a second workstation claiming
    // the same number wait here until the first has stored its document.
    const QString column = sql::identifier(dialect, counter.column);
    const long long touched =
        m_db.exec(QStringLiteral("UPDATE %1 SET %2 = CASE WHEN COALESCE(%2, 0) < :%3 THEN :%3 ELSE %2 END%4")
                      .arg(sql::identifier(dialect, counter.table), column, NumberParam, where(counter.condition)),
                  withNumber(counter.params, number));
    if (touched == 0)
        missingCounter(counter);
    QString used =
        QStringLiteral("SELECT 1 FROM %1 WHERE %2 = :%3")
            .arg(sql::identifier(dialect, documents.table), sql::identifier(dialect, documents.column), NumberParam);
    if (!documents.condition.trimmed().isEmpty())
        used += QStringLiteral(" AND (%1)").arg(documents.condition);
    if (m_db.scalar(used, withNumber(documents.params, number)).isValid()) {
        transaction.rollback();
        return false;
    }
    transaction.commit();
    return true;
}

} // namespace kv::db
