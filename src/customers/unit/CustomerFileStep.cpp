#include "customers/unit/CustomerFileStep.h"

#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::customers {

using kv::schema::Database;

void addCustomerFileTables(kv::shell::VersionStepContext& step)
{
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    if (!invoicing)
        return;
    step.createMissingTables({QStringLiteral("RESERVAS"), QStringLiteral("FACMOVIM"), QStringLiteral("FACMOVDET"),
                              QStringLiteral("WORKVENDASMES"), QStringLiteral("WORKVENDASANO"),
                              QStringLiteral("WORKCLIRECMES"), QStringLiteral("WORKCLIRECANO")});
    // The receivables' and receipts' columns the views read, where the
    // invoicing application's tables lack them.
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
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
