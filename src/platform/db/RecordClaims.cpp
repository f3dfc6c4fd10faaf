#include "platform/db/RecordClaims.h"

#include "platform/db/DbError.h"
#include "platform/db/SqlDialect.h"

#include <QDateTime>

namespace kv::db {

namespace {

QString claimKey(const QVariant& key) { return key.toString().trimmed(); }

QString name(const Connection& db, const QString& identifier) { return sql::identifier(db.dialect(), identifier); }

} // namespace

RecordClaims::RecordClaims(Connection& connection, QString workstation, QString user)
    : m_db(connection), m_workstation(std::move(workstation)), m_user(std::move(user))
{
}

RecordClaims::Outcome RecordClaims::claim(const QString& table, const QString& column, const QVariant& key)
{
    const Params claimParams{{QStringLiteral("TABELA"), table}, {QStringLiteral("CHAVE"), claimKey(key)}};
    try {
        Transaction transaction(m_db);
        if (!m_db.query(QStringLiteral("SELECT 1 FROM %1 WHERE %2 = :CHAVE").arg(name(m_db, table), name(m_db, column)),
                        {{QStringLiteral("CHAVE"), key}})
                 .isEmpty())
            return Outcome::Stored;
        const QueryResult holder = m_db.query(
            QStringLiteral("SELECT POSTO FROM RESERVAS WHERE TABELA = :TABELA AND CHAVE = :CHAVE"), claimParams);
        if (!holder.isEmpty())
            return holder.value(0, QStringLiteral("POSTO")).toString().trimmed() == m_workstation.trimmed()
                       ? Outcome::Claimed
                       : Outcome::HeldElsewhere;
        Params row = claimParams;
        row.set(QStringLiteral("POSTO"), m_workstation);
        row.set(QStringLiteral("UTIL"), m_user);
        row.set(QStringLiteral("DATAHORA"), QDateTime::currentDateTime());
        m_db.exec(QStringLiteral("INSERT INTO RESERVAS (TABELA, CHAVE, POSTO, UTIL, DATAHORA) "
                                 "VALUES (:TABELA, :CHAVE, :POSTO, :UTIL, :DATAHORA)"),
                  row);
        transaction.commit();
        return Outcome::Claimed;
    } catch (const DbError& error) {
        // Two workstations claiming at once: the unique key lets one in.
        if (error.kind() == DbError::Kind::Constraint)
            return Outcome::HeldElsewhere;
        throw;
    }
}

void RecordClaims::release(const QString& table, const QVariant& key)
{
    const QString sql =
        QStringLiteral("DELETE FROM RESERVAS WHERE TABELA = :TABELA AND CHAVE = :CHAVE AND POSTO = :POSTO");
    const Params params{{QStringLiteral("TABELA"), table},
                        {QStringLiteral("CHAVE"), claimKey(key)},
                        {QStringLiteral("POSTO"), m_workstation}};
    if (m_db.inTransaction()) {
        m_db.exec(sql, params);
        return;
    }
    Transaction transaction(m_db);
    m_db.exec(sql, params);
    transaction.commit();
}

long long RecordClaims::proposeNext(const QString& table, const QString& column)
{
    long long next =
        m_db.scalar(QStringLiteral("SELECT MAX(%1) FROM %2").arg(name(m_db, column), name(m_db, table))).toLongLong()
        + 1;
    while (heldElsewhere(table, next))
        ++next;
    return next;
}

bool RecordClaims::heldElsewhere(const QString& table, const QVariant& key)
{
    return !m_db.query(QStringLiteral(
                           "SELECT 1 FROM RESERVAS WHERE TABELA = :TABELA AND CHAVE = :CHAVE AND POSTO <> :POSTO"),
                       {{QStringLiteral("TABELA"), table},
                        {QStringLiteral("CHAVE"), claimKey(key)},
                        {QStringLiteral("POSTO"), m_workstation}})
                .isEmpty();
}

void RecordClaims::releaseWorkstation(Connection& connection, const QString& workstation)
{
    if (!connection.tableExists(QStringLiteral("RESERVAS")))
        return;
    Transaction transaction(connection);
    connection.exec(QStringLiteral("DELETE FROM RESERVAS WHERE POSTO = :POSTO"),
                    {{QStringLiteral("POSTO"), workstation}});
    transaction.commit();
}

} // namespace kv::db
