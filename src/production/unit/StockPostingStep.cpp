#include "production/unit/StockPostingStep.h"

#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::production {

using kv::schema::Database;

void addStockPostingTables(kv::shell::VersionStepContext& step)
{
    step.createMissingTables(
        {QStringLiteral("ACTUALFECHOOF"), QStringLiteral("IMPCONSUMOS"), QStringLiteral("WORKRELCXA")});
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    if (!invoicing || !invoicing->tableExists(QStringLiteral("STKMOV")))
        return;
    // Movements kept by the stock application before this version lack the
    // indexes each posting's sequence and month marker are read on.
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    if (const kv::schema::Table* movements = definition.table(Database::Invoicing, QStringLiteral("STKMOV")))
        for (const QString& index : definition.indexStatements(*movements))
            invoicing->exec(index);
}

} // namespace kv::production
