#include "costing/core/GeneralParameters.h"

#include "costing/core/SqlName.h"

#include "platform/db/DbError.h"
#include "platform/text/NumberText.h"

namespace kv::costing {

using kv::db::DbError;

namespace {

bool sameValue(const QVariant& a, const QVariant& b)
{
    const bool aNull = !a.isValid() || a.isNull();
    const bool bNull = !b.isValid() || b.isNull();
    if (aNull || bNull)
        return aNull == bNull;
    return a == b;
}

qint64 counterValue(const QVariant& value) { return value.isValid() && !value.isNull() ? value.toLongLong() : 0; }

} // namespace

const QStringList& GeneralParameters::counterColumns()
{
    static const QStringList columns{"ORCNRO1", "ORCNRO2", "ORCNRO3", "ORCNRO4", "ORCNRO5",
                                     "OFNRO1",  "OFNRO2",  "OFNRO3",  "OFNRO4",  "OFNRO5"};
    return columns;
}

QString GeneralParameters::missingRowMessage() { return QStringLiteral("Parâmetros Gerais Inexistentes !!"); }

bool GeneralParameters::ensureRow()
{
    kv::db::Transaction transaction(m_db);
    const long long created = m_db.exec(QStringLiteral(
        "INSERT INTO ORCPARGER (CODIGO) SELECT 1 WHERE NOT EXISTS (SELECT 1 FROM ORCPARGER WHERE CODIGO = 1)"));
    transaction.commit();
    return created > 0;
}

QString GeneralParameters::counterKeptMessage(const CounterKept& kept)
{
    return QStringLiteral("Outro posto de trabalho já deu o número %1 do contador %2: o contador fica em %1 "
                          "e não em %3.")
        .arg(kept.stored)
        .arg(kept.column)
        .arg(kept.typed);
}

std::vector<CounterKept> GeneralParameters::save(const std::vector<ParameterChange>& changes)
{
    std::vector<CounterKept> kept;
    QStringList typedCounters;
    QStringList assignments;
    kv::db::Params params;
    for (const ParameterChange& change : changes) {
        if (sameValue(change.read, change.edited))
            continue;
        const QString column = sqlName(change.column).toUpper();
        if (column == QLatin1String("CODIGO"))
            continue; // the row is always row 1
        if (counterColumns().contains(column)) {
            // Compared with what the row holds now, in the same statement.
            assignments << QStringLiteral("%1 = CASE WHEN COALESCE(%1, 0) = :READ_%1 THEN :%1 "
                                          "WHEN COALESCE(%1, 0) > :%1 THEN %1 ELSE :%1 END")
                               .arg(column);
            params.set(QStringLiteral("READ_") + column, counterValue(change.read));
            params.set(column, counterValue(change.edited));
            typedCounters << column;
        } else {
            assignments << QStringLiteral("%1 = :%1").arg(column);
            params.set(column, change.edited);
        }
    }
    if (assignments.isEmpty())
        return kept;
    kv::db::Transaction transaction(m_db);
    const long long written = m_db.exec(
        QStringLiteral("UPDATE ORCPARGER SET %1 WHERE CODIGO = 1").arg(assignments.join(QStringLiteral(", "))), params);
    if (written == 0)
        throw DbError(DbError::Kind::NotFound, missingRowMessage());
    if (!typedCounters.isEmpty()) {
        // Read inside the transaction that wrote them: what this save left.
        const kv::db::QueryResult stored = m_db.query(
            QStringLiteral("SELECT %1 FROM ORCPARGER WHERE CODIGO = 1").arg(typedCounters.join(QStringLiteral(", "))));
        for (qsizetype i = 0; i < typedCounters.size(); ++i) {
            const qint64 typed = params.value(typedCounters[i]).toLongLong();
            const qint64 now = counterValue(stored.rows.front()[std::size_t(i)]);
            if (now != typed)
                kept.push_back({typedCounters[i], typed, now});
        }
    }
    transaction.commit();
    return kept;
}

bool isIncidence(const QString& text) { return text == QLatin1String("P") || text == QLatin1String("C"); }

StockLinkCheck checkWarehouse(kv::db::Dataset& warehouses, const QString& text)
{
    StockLinkCheck check;
    if (text.isEmpty() || text == QLatin1String("0"))
        return check;
    const auto code = kv::text::parseInteger(text);
    if (code && warehouses.isOpen() && warehouses.locate(QStringLiteral("CODIGO"), *code)) {
        check.name = warehouses.value(QStringLiteral("NOME")).toString();
        return check;
    }
    check.accepted = false;
    check.message = QStringLiteral("ARMAZÉM INEXISTENTE !!!");
    return check;
}

namespace {

QString nameOf(kv::db::Dataset& rows, const QString& key, const QVariant& code, const QString& name)
{
    if (!code.isValid() || code.isNull() || !rows.isOpen() || !rows.locate(key, code))
        return {};
    return rows.value(name).toString();
}

} // namespace

QString warehouseName(kv::db::Dataset& warehouses, const QVariant& code)
{
    return nameOf(warehouses, QStringLiteral("CODIGO"), code, QStringLiteral("NOME"));
}

QString transactionName(kv::db::Dataset& transactions, const QVariant& code)
{
    return nameOf(transactions, QStringLiteral("TRSCOD"), code, QStringLiteral("TRSNOM"));
}

std::unique_ptr<kv::db::Dataset> departmentList(std::shared_ptr<kv::db::Connection> invoicing)
{
    auto list = std::make_unique<kv::db::Dataset>(QStringLiteral("DEP_COMPRAS"));
    list->setConnection(std::move(invoicing));
    list->setMode(kv::db::DatasetMode::ReadOnly);
    list->setSql(QStringLiteral("Select * From DEP_COMPRAS Order By DEPARTAMENTO"));
    return list;
}

StockLinkCheck checkTransaction(kv::db::Dataset& transactions, const QString& text, TransactionKind kind)
{
    StockLinkCheck check;
    if (text.isEmpty())
        return check;
    const auto code = kv::text::parseInteger(text);
    if (!code || !transactions.isOpen() || !transactions.locate(QStringLiteral("TRSCOD"), *code)) {
        check.accepted = false;
        check.message = QStringLiteral("Transacção Inexistente ...");
        return check;
    }
    const QString type = transactions.value(QStringLiteral("TRSTIP")).toString();
    if (kind == TransactionKind::Entry && type != QLatin1String("E")) {
        check.accepted = false;
        check.message = QStringLiteral("Esta transacção não é de entrada em armazém...");
    } else if (kind == TransactionKind::Issue && type != QLatin1String("S")) {
        check.accepted = false;
        check.message = QStringLiteral("Esta transacção não é de saída de armazém...");
    } else {
        check.name = transactions.value(QStringLiteral("TRSNOM")).toString();
    }
    return check;
}

} // namespace kv::costing
