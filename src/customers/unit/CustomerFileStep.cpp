#include "customers/unit/CustomerFileStep.h"

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

} // namespace kv::customers
