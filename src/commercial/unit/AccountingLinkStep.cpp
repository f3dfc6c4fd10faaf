#include "commercial/unit/AccountingLinkStep.h"

#include "shell/VersionStepContext.h"

namespace kv::commercial {

using kv::schema::Database;

void addAccountingLinkTables(kv::shell::VersionStepContext& step)
{
    const std::pair<Database, QStringList> created[] = {
        {Database::Accounting, {QStringLiteral("PLANOIDENT"), QStringLiteral("IVA")}},
        {Database::Invoicing, {QStringLiteral("CONTAB_FAMILIAS")}}};
    // Only what is still missing is new: the accounting program may have
    // made its tables long before.
    std::vector<std::pair<Database, QStringList>> made;
    for (const auto& [database, tables] : created) {
        kv::db::Connection* connection = step.companyDatabase(database);
        if (!connection)
            continue;
        QStringList missing;
        for (const QString& table : tables)
            if (!connection->tableExists(table))
                missing << table;
        step.createMissingTables(missing);
        made.emplace_back(database, missing);
    }
    // The cost centres a company had took postings: its machines name them.
    if (step.addColumn(Database::Accounting, QStringLiteral("CCUSTO"), QStringLiteral("TIPO"), kv::db::FieldType::Text,
                       1))
        step.companyDatabase(Database::Accounting)->exec(QStringLiteral("UPDATE CCUSTO SET TIPO = 'L'"));

    if (!step.demoCompany() || !step.state().WData.isValid())
        return;
    const QHash<QString, QVariant> year{
        {QStringLiteral("ANO"), QStringLiteral("%1").arg(step.state().WData.year(), 4, 10, QLatin1Char('0'))}};
    const kv::schema::Schema& schema = kv::schema::Schema::standard();
    for (const auto& [database, tables] : made) {
        if (tables.isEmpty())
            continue;
        kv::db::Connection& connection = *step.companyDatabase(database);
        schema.addMissingRows(connection, database, kv::schema::RowScope::Demo, {}, tables);
        schema.addMissingRows(connection, database, kv::schema::RowScope::DemoYear, year, tables);
    }
}

} // namespace kv::commercial
