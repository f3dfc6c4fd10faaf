#include "customers/unit/CustomerFileStep.h"

#include "platform/db/Connection.h"
#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::customers {

using kv::schema::Database;

void addCustomerFileTables(kv::shell::VersionStepContext& step)
{
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    // The accounting side of the customer accounts, where the accounting
    // application's chart lacks it: period totals, recap, the chart's columns.
    if (step.companyDatabase(Database::Accounting)) {
        step.createMissingTables(
            {QStringLiteral("PLANOVAL"), QStringLiteral("PLANOESTRG"), QStringLiteral("RECAPCLIMAS")});
        if (const kv::schema::Table* t = definition.table(Database::Accounting, QStringLiteral("PLANOIDENT")))
            for (const kv::schema::Column& column : t->columns)
                if (!column.key)
                    step.addColumn(Database::Accounting, t->name, column.name, column.type, column.size);
    }
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    if (!invoicing)
        return;
    step.createMissingTables({QStringLiteral("RESERVAS"), QStringLiteral("FACMOVIM"), QStringLiteral("FACMOVDET"),
                              QStringLiteral("WORKVENDASMES"), QStringLiteral("WORKVENDASANO"),
                              QStringLiteral("WORKCLIRECMES"), QStringLiteral("WORKCLIRECANO")});
    // The receivables' and receipts' columns the views read, where the
    // invoicing application's tables lack them.
    for (const char* table : {"CLIVALCOB", "CLICOBREC"})
        if (const kv::schema::Table* t = definition.table(Database::Invoicing, QString::fromLatin1(table)))
            for (const kv::schema::Column& column : t->columns)
                if (!column.key)
                    step.addColumn(Database::Invoicing, t->name, column.name, column.type, column.size);
    for (const char* table : {"CLIENTES", "ARTIGOSCLS", "FACMOVIM", "CLICOBREC"})
        if (const kv::schema::Table* t = definition.table(Database::Invoicing, QString::fromLatin1(table)))
            if (invoicing->tableExists(t->name))
                for (const QString& index : definition.indexStatements(*t))
                    invoicing->exec(index);
}

void keyInvoicingLines(kv::shell::VersionStepContext& step)
{
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    const QString table = QStringLiteral("CLIFACAUTO");
    if (!invoicing || !invoicing->tableExists(table))
        return;
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    const kv::schema::Table* target = definition.table(Database::Invoicing, table);
    // The old key's index keeps its name while the table lives: the rows wait
    // in a holding table while the table is made again under the new key.
    const QString holding = QStringLiteral("CLIFACAUTO_ANTERIOR");
    kv::db::Transaction transaction(*invoicing);
    if (invoicing->tableExists(holding))
        invoicing->exec(QStringLiteral("DROP TABLE %1").arg(holding));
    invoicing->exec(QStringLiteral("CREATE TABLE %1 AS SELECT * FROM %2").arg(holding, table));
    invoicing->exec(QStringLiteral("DROP TABLE %1").arg(table));
    invoicing->exec(definition.createStatement(*target, invoicing->dialect()));
    for (const QString& index : definition.indexStatements(*target))
        invoicing->exec(index);
    QStringList columns;
    QStringList values;
    for (const kv::schema::Column& column : target->columns) {
        if (!invoicing->columnExists(holding, column.name))
            continue;
        columns << column.name;
        if (column.name == QLatin1String("POSICAO"))
            values << QStringLiteral("COALESCE(POSICAO, 1)");
        else if (column.name == QLatin1String("ARTIGO"))
            values << QStringLiteral("COALESCE(ARTIGO, '')");
        else
            values << column.name;
    }
    invoicing->exec(QStringLiteral("INSERT INTO %1 (%2) SELECT %3 FROM %4")
                        .arg(table, columns.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")), holding));
    invoicing->exec(QStringLiteral("DROP TABLE %1").arg(holding));
    transaction.commit();
}

} // namespace kv::customers
