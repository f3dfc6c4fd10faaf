#include "platform/db/TwoDatabaseWork.h"

#include "platform/db/DbError.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QUuid>
#include <algorithm>

namespace kv::db {
namespace {

// Journal states: the second step was made, or refused for good.
const QString Concluded = QStringLiteral("C");
const QString Refused = QStringLiteral("R");

struct JournalRow {
    bool exists = false;
    QString state;
    QString reason;
};

JournalRow readJournal(Connection& second, const QString& id)
{
    const QueryResult rows =
        second.query(QStringLiteral("SELECT ESTADO, MOTIVO FROM OPERDIARIO WHERE OPERID = :OPERID"), {{"OPERID", id}});
    if (rows.isEmpty())
        return {};
    return {true, rows.value(0, QStringLiteral("ESTADO")).toString(),
            rows.value(0, QStringLiteral("MOTIVO")).toString()};
}

// Writes the journal row unless one is there; true when this call wrote it.
// A second writer of the same operation waits for the first (the key's lock on
// PostgreSQL, the write transaction on SQLite) and then writes nothing.
bool writeJournal(Connection& second, const TwoDatabaseOperation& operation, const QString& state,
                  const QString& reason)
{
    return second.exec(QStringLiteral("INSERT INTO OPERDIARIO (OPERID, TIPO, DESCRICAO, UTIL, DATAHORA, "
                                      "ESTADO, MOTIVO) VALUES (:OPERID, :TIPO, :DESCRICAO, :UTIL, "
                                      ":DATAHORA, :ESTADO, :MOTIVO) ON CONFLICT (OPERID) DO NOTHING"),
                       {{"OPERID", operation.id},
                        {"TIPO", operation.kind},
                        {"DESCRICAO", operation.description},
                        {"UTIL", operation.user},
                        {"DATAHORA", QDateTime::currentDateTime()},
                        {"ESTADO", state},
                        {"MOTIVO", reason.isEmpty() ? QVariant() : QVariant(reason)}})
           == 1;
}

void clearPending(Connection& first, const QString& id)
{
    first.exec(QStringLiteral("DELETE FROM OPERPENDENTE WHERE OPERID = :OPERID"), {{"OPERID", id}});
}

QString failureText(const std::exception& error)
{
    if (const auto* db = dynamic_cast<const DbError*>(&error))
        return db->fullText();
    return QString::fromUtf8(error.what());
}

TwoDatabaseResult pending(const TwoDatabaseOperation& operation, const QString& why)
{
    return {operation.id, TwoDatabaseResult::Status::Pending,
            QStringLiteral("A operação «%1» ficou pendente e será concluída mais tarde:\n%2")
                .arg(operation.description, why)};
}

} // namespace

TwoDatabaseRefusal::TwoDatabaseRefusal(const QString& reason)
    : std::runtime_error(reason.toStdString()), m_reason(reason)
{
}

void TwoDatabaseKinds::add(TwoDatabaseKind kind)
{
    const QString name = kind.name;
    m_kinds.insert_or_assign(name, std::move(kind));
}

const TwoDatabaseKind* TwoDatabaseKinds::find(const QString& name) const
{
    const auto it = m_kinds.find(name);
    return it == m_kinds.end() ? nullptr : &it->second;
}

TwoDatabaseWork::TwoDatabaseWork(const TwoDatabaseKinds& kinds, DatabasesByRole databases)
    : m_kinds(kinds), m_databases(std::move(databases))
{
}

Connection& TwoDatabaseWork::database(const QString& role) const
{
    const std::shared_ptr<Connection> connection = m_databases.value(role);
    if (!connection)
        throw DbError(DbError::Kind::State, QStringLiteral("A base de dados «%1» não está aberta.").arg(role));
    return *connection;
}

TwoDatabaseResult TwoDatabaseWork::run(const QString& kindName, const QString& description, const QString& user,
                                       const FirstStep& firstStep)
{
    const TwoDatabaseKind* kind = m_kinds.find(kindName);
    if (!kind)
        throw DbError(DbError::Kind::State, QStringLiteral("Tipo de operação desconhecido: «%1».").arg(kindName));
    Connection& first = database(kind->first);
    Connection& second = database(kind->second);
    // Inside a caller's transaction step 1 would not be durable before step 2.
    if (first.inTransaction() || second.inTransaction())
        throw DbError(DbError::Kind::State,
                      QStringLiteral("A operação «%1» não pode correr dentro de outra transação.").arg(description));

    TwoDatabaseOperation operation;
    operation.id = QUuid::createUuid().toString(QUuid::WithoutBraces);
    operation.kind = kind->name;
    operation.description = description;
    operation.user = user;
    const QDateTime now = QDateTime::currentDateTime();
    operation.time = now.addMSecs(-now.time().msec());
    QString data;
    {
        Transaction transaction(first, TransactionMode::Write);
        data = QString::fromUtf8(
            QJsonDocument(QJsonObject::fromVariantMap(firstStep(first))).toJson(QJsonDocument::Compact));
        first.exec(QStringLiteral("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) "
                                  "VALUES (:OPERID, :TIPO, :DESCRICAO, :DADOS, :UTIL, :DATAHORA)"),
                   {{"OPERID", operation.id},
                    {"TIPO", operation.kind},
                    {"DESCRICAO", operation.description},
                    {"DADOS", data},
                    {"UTIL", operation.user},
                    {"DATAHORA", operation.time}});
        transaction.commit();
    }
    // Step 2 sees the data as a recovery would, read back from its JSON.
    operation.data = QJsonDocument::fromJson(data.toUtf8()).object().toVariantMap();
    return finish(operation, *kind);
}

TwoDatabaseResult TwoDatabaseWork::finish(const TwoDatabaseOperation& operation, const TwoDatabaseKind& kind)
{
    JournalRow journal;
    try {
        Connection& first = database(kind.first);
        Connection& second = database(kind.second);
        journal = readJournal(second, operation.id);
        if (!journal.exists) {
            try {
                Transaction transaction(second, TransactionMode::Write);
                if (writeJournal(second, operation, Concluded, {})) {
                    kind.secondStep(second, operation);
                    transaction.commit();
                }
            } catch (const TwoDatabaseRefusal& refusal) {
                // Kept in the journal first: from here no step 2 of this
                // operation can run, so undoing step 1 is safe.
                Transaction transaction(second, TransactionMode::Write);
                writeJournal(second, operation, Refused, refusal.reason());
                transaction.commit();
            }
            journal = readJournal(second, operation.id);
        }
        if (journal.state != Refused) {
            if (kind.complete) {
                Transaction transaction(first, TransactionMode::Write);
                kind.complete(first, operation);
                clearPending(first, operation.id);
                transaction.commit();
            } else {
                clearPending(first, operation.id);
            }
            return {operation.id, TwoDatabaseResult::Status::Done, {}};
        }

        // The row lock makes one of two recoveries undo step 1; the other
        // finds the pending record gone.
        Transaction transaction(first, TransactionMode::Write);
        const QString lock = first.dialect() == Dialect::Postgres ? QStringLiteral(" FOR UPDATE") : QString();
        if (first
                .scalar(QStringLiteral("SELECT OPERID FROM OPERPENDENTE WHERE OPERID = :OPERID") + lock,
                        {{"OPERID", operation.id}})
                .isValid()) {
            kind.compensate(first, operation, journal.reason);
            clearPending(first, operation.id);
        }
        transaction.commit();
    } catch (const std::exception& error) {
        if (journal.state == Refused)
            return {operation.id, TwoDatabaseResult::Status::Pending,
                    QStringLiteral("A operação «%1» foi recusada (%2), mas não foi possível anular o que já "
                                   "tinha sido gravado:\n%3\nSerá tentado de novo mais tarde.")
                        .arg(operation.description, journal.reason, failureText(error))};
        return pending(operation, failureText(error));
    }
    return {operation.id, TwoDatabaseResult::Status::Refused,
            QStringLiteral("A operação «%1» foi recusada: %2\nO que já tinha sido gravado foi anulado.")
                .arg(operation.description, journal.reason)};
}

std::vector<TwoDatabaseResult> TwoDatabaseWork::recover()
{
    std::vector<TwoDatabaseResult> results;
    QStringList roles = m_databases.keys();
    std::sort(roles.begin(), roles.end());
    for (const QString& role : roles) {
        Connection& first = *m_databases.value(role);
        if (!first.tableExists(QStringLiteral("OPERPENDENTE")))
            continue;
        const QueryResult rows = first.query(QStringLiteral(
            "SELECT OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA FROM OPERPENDENTE ORDER BY DATAHORA, OPERID"));
        for (std::size_t row = 0; row < rows.rows.size(); ++row) {
            TwoDatabaseOperation operation;
            operation.id = rows.value(row, QStringLiteral("OPERID")).toString();
            operation.kind = rows.value(row, QStringLiteral("TIPO")).toString();
            operation.description = rows.value(row, QStringLiteral("DESCRICAO")).toString();
            operation.user = rows.value(row, QStringLiteral("UTIL")).toString();
            operation.time = rows.value(row, QStringLiteral("DATAHORA")).toDateTime();
            QJsonParseError parsed;
            const QJsonDocument data =
                QJsonDocument::fromJson(rows.value(row, QStringLiteral("DADOS")).toString().toUtf8(), &parsed);
            const TwoDatabaseKind* kind = m_kinds.find(operation.kind);
            if (!kind || kind->first != role) {
                results.push_back(
                    pending(operation, QStringLiteral("este programa não conhece o tipo de operação «%1» da base de "
                                                      "dados «%2».")
                                           .arg(operation.kind, role)));
            } else if (parsed.error != QJsonParseError::NoError || !data.isObject()) {
                results.push_back(pending(operation, QStringLiteral("os dados guardados da operação são ilegíveis.")));
            } else {
                operation.data = data.object().toVariantMap();
                results.push_back(finish(operation, *kind));
            }
        }
    }
    return results;
}

QStringList TwoDatabaseWork::messages(const std::vector<TwoDatabaseResult>& results)
{
    QStringList texts;
    for (const TwoDatabaseResult& result : results)
        if (!result.message.isEmpty())
            texts << result.message;
    return texts;
}

} // namespace kv::db
