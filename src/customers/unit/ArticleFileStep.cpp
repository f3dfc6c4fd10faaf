#include "customers/unit/ArticleFileStep.h"

#include "schema/Schema.h"
#include "shell/VersionStepContext.h"

namespace kv::customers {

using kv::schema::Database;

void addArticleFileColumns(kv::shell::VersionStepContext& step)
{
    kv::db::Connection* invoicing = step.companyDatabase(Database::Invoicing);
    if (!invoicing)
        return;
    step.createMissingTables({QStringLiteral("RESERVAS"), QStringLiteral("PARCUSTOM"), QStringLiteral("ARTIGOSPAIS")});
    const kv::schema::Schema& definition = kv::schema::Schema::standard();
    if (const kv::schema::Table* t = definition.table(Database::Invoicing, QStringLiteral("PARCUSTOM")))
        for (const kv::schema::Column& column : t->columns)
            if (column.name == QLatin1String("REFARTIGO") || column.name == QLatin1String("PAISBASE"))
                step.addColumn(Database::Invoicing, t->name, column.name, column.type, column.size);
    // The automatic coding's series are read on the articles' customisation values.
    if (const kv::schema::Table* t = definition.table(Database::Invoicing, QStringLiteral("ARTIGOSCLS")))
        if (invoicing->tableExists(t->name))
            for (const QString& index : definition.indexStatements(*t))
                invoicing->exec(index);
}

} // namespace kv::customers
