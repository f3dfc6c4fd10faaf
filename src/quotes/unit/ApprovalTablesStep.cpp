#include "quotes/unit/ApprovalTablesStep.h"

#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::quotes {

using kv::schema::Database;

void addApprovalTables(kv::shell::VersionStepContext& step)
{
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    if (!invoicing)
        return;
    step.createMissingTables({QStringLiteral("ENCCLIMAS"), QStringLiteral("ENCCLIDET"), QStringLiteral("ENCCLIIMPR"),
                              QStringLiteral("ENCVALCLI"), QStringLiteral("WORKENCVALCLI"),
                              QStringLiteral("FACSALDOS")});
    step.addColumn(Database::Invoicing, QStringLiteral("PARGER"), QStringLiteral("DECIMAISQTD"),
                   kv::db::FieldType::Int16);
    // Orders kept by the invoicing application before this version lack the
    // indexes the approval's reads by customer, article and date need.
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    for (const char* table : {"ENCCLIMAS", "ENCCLIDET"})
        if (const kv::schema::Table* t = definition.table(Database::Invoicing, QString::fromLatin1(table)))
            for (const QString& index : definition.indexStatements(*t))
                invoicing->exec(index);
}

} // namespace kv::quotes
