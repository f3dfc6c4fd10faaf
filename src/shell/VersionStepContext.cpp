#include "shell/VersionStepContext.h"

#include "shell/Subsystems.h"

#include "schema/DemoInstallation.h"

namespace kv::shell {

VersionStepContext::VersionStepContext(db::Connection& application, const LoginState& state, QString* tableBeingChanged,
                                       OtherDatabases otherDatabases)
    : m_db(application), m_state(state), m_tableBeingChanged(tableBeingChanged),
      m_otherDatabases(std::move(otherDatabases))
{
}

void VersionStepContext::addColumn(const QString& table, const QString& column, db::FieldType type, int size)
{
    if (m_db.columnExists(table, column))
        return;
    if (m_tableBeingChanged)
        *m_tableBeingChanged = table;
    m_db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                  .arg(table, column, schema::sqlType(type, size, m_db.dialect())));
}

void VersionStepContext::createTable(const QString& name)
{
    if (m_db.tableExists(name))
        return;
    if (m_tableBeingChanged)
        *m_tableBeingChanged = name;
    for (const schema::Table& table : Subsystems::createdTables())
        if (table.name == name) {
            m_db.exec(schema::Schema::standard().createStatement(table, m_db.dialect()));
            for (const QString& index : schema::Schema::standard().indexStatements(table))
                m_db.exec(index);
        }
}

bool VersionStepContext::rowExists(const QString& table, const QString& keyColumn, const QVariant& key)
{
    return m_db.scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :KEY").arg(table, keyColumn), {{"KEY", key}})
               .toInt()
           > 0;
}

bool VersionStepContext::demoCompany()
{
    return rowExists(QStringLiteral("UTILIZADORES"), QStringLiteral("NRO"), schema::DemoInstallation::user());
}

void VersionStepContext::createMissingTables(const QStringList& names)
{
    const schema::Schema& definition = schema::Schema::standard();
    auto create = [&](db::Connection& connection, schema::Database database) {
        for (const QString& name : names)
            if (definition.table(database, name) && !connection.tableExists(name)) {
                if (m_tableBeingChanged)
                    *m_tableBeingChanged = name;
                const schema::Table& table = *definition.table(database, name);
                connection.exec(definition.createStatement(table, connection.dialect()));
                for (const QString& index : definition.indexStatements(table))
                    connection.exec(index);
            }
    };
    for (const auto& [database, connection] : m_otherDatabases)
        create(*connection, database);
    create(m_db, schema::Database::Application);
}

db::Connection* VersionStepContext::companyDatabase(schema::Database database)
{
    if (database == schema::Database::Application)
        return &m_db;
    for (const auto& [given, connection] : m_otherDatabases)
        if (given == database)
            return connection;
    return nullptr;
}

bool VersionStepContext::addColumn(schema::Database database, const QString& table, const QString& column,
                                   db::FieldType type, int size)
{
    db::Connection* connection = companyDatabase(database);
    if (!connection || connection->columnExists(table, column))
        return false;
    if (m_tableBeingChanged)
        *m_tableBeingChanged = table;
    connection->exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                         .arg(table, column, schema::sqlType(type, size, connection->dialect())));
    return true;
}

void VersionStepContext::createMissingIndexes(const QString& name)
{
    const schema::Schema& definition = schema::Schema::standard();
    const schema::Table* table = definition.table(schema::Database::Application, name);
    if (!table || !m_db.tableExists(name))
        return;
    if (m_tableBeingChanged)
        *m_tableBeingChanged = name;
    for (const QString& index : definition.indexStatements(*table))
        m_db.exec(index);
}

} // namespace kv::shell
