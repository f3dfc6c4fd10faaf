#include "platform/db/QuoteOrderExample.h"

#include "schema/Schema.h"

#include <QThread>

namespace kv::db::test {

void createExampleTables(Connection& first, Connection& second)
{
    const schema::Schema& schema = schema::Schema::standard();
    for (const char* table : {"OPERPENDENTE", "OPERDIARIO"}) {
        first.exec(schema.createStatement(*schema.table(schema::Database::Application, QString::fromLatin1(table)),
                                          first.dialect()));
        second.exec(schema.createStatement(*schema.table(schema::Database::Invoicing, QString::fromLatin1(table)),
                                           second.dialect()));
    }
    first.exec(QStringLiteral("CREATE TABLE TST_ORCAMENTO (NRO INTEGER NOT NULL PRIMARY KEY, APROVADO VARCHAR(1), "
                              "ANULACOES INTEGER)"));
    // No key on ORCNRO: an order written twice shows as two rows.
    second.exec(QStringLiteral("CREATE TABLE TST_ENCOMENDA (ORCNRO INTEGER, VALOR DOUBLE PRECISION)"));
    second.exec(QStringLiteral("CREATE TABLE TST_BLOQUEIO (ORCNRO INTEGER NOT NULL PRIMARY KEY)"));
}

TwoDatabaseKind exampleKind(std::function<void(const TwoDatabaseOperation&)> inSecondStep, int delayMs)
{
    TwoDatabaseKind kind;
    kind.name = QString::fromLatin1(ExampleKind);
    kind.first = QStringLiteral("application");
    kind.second = QStringLiteral("invoicing");
    kind.secondStep = [inSecondStep, delayMs](Connection& second, const TwoDatabaseOperation& operation) {
        if (inSecondStep)
            inSecondStep(operation);
        const int number = operation.data.value(QStringLiteral("NRO")).toInt();
        if (second.scalar(QStringLiteral("SELECT ORCNRO FROM TST_BLOQUEIO WHERE ORCNRO = :NRO"), {{"NRO", number}})
                .isValid())
            throw TwoDatabaseRefusal(QStringLiteral("o cliente do orçamento %1 está bloqueado.").arg(number));
        second.exec(QStringLiteral("INSERT INTO TST_ENCOMENDA (ORCNRO, VALOR) VALUES (:NRO, :VALOR)"),
                    {{"NRO", number}, {"VALOR", operation.data.value(QStringLiteral("VALOR"))}});
        if (delayMs > 0)
            QThread::msleep(static_cast<unsigned long>(delayMs));
    };
    kind.compensate = [delayMs](Connection& first, const TwoDatabaseOperation& operation, const QString&) {
        if (delayMs > 0)
            QThread::msleep(static_cast<unsigned long>(delayMs));
        first.exec(QStringLiteral("UPDATE TST_ORCAMENTO SET APROVADO = 'N', ANULACOES = ANULACOES + 1 "
                                  "WHERE NRO = :NRO"),
                   {{"NRO", operation.data.value(QStringLiteral("NRO")).toInt()}});
    };
    return kind;
}

TwoDatabaseWork::FirstStep approveQuote(int number, double value)
{
    return [number, value](Connection& first) {
        if (first.exec(QStringLiteral("UPDATE TST_ORCAMENTO SET APROVADO = 'S' WHERE NRO = :NRO"), {{"NRO", number}})
            != 1)
            throw DbError(DbError::Kind::NotFound, QStringLiteral("Orçamento inexistente: %1").arg(number));
        return QVariantMap{{QStringLiteral("NRO"), number}, {QStringLiteral("VALOR"), value}};
    };
}

QString quoteDescription(int number) { return QStringLiteral("Aprovação do orçamento %1").arg(number); }

} // namespace kv::db::test
