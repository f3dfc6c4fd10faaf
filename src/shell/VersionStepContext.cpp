#include "shell/VersionStepContext.h"

#include "shell/Subsystems.h"

#include "schema/DemoInstallation.h"

namespace kv::shell {

VersionStepContext::VersionStepContext(db::Connection& application, const LoginState& state)
    : m_db(application), m_state(state)
{
}

void VersionStepContext::addColumn(const QString& table, const QString& column, db::FieldType type, int size)
{
    if (m_db.columnExists(table, column))
        return;
    m_db.exec(QStringLiteral("ALTER TABLE %1 ADD COLUMN %2 %3")
                  .arg(table, column, schema::sqlType(type, size, m_db.dialect())));
}

void VersionStepContext::createTable(const QString& name)
{
    if (m_db.tableExists(name))
        return;
    for (const schema::Table& table : Subsystems::createdTables())
        if (table.name == name)
            m_db.exec(schema::Schema::standard().createStatement(table, m_db.dialect()));
}

bool VersionStepContext::rowExists(const QString& table, const QString& keyColumn, const QVariant& key)
{
    return m_db
               .scalar(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :KEY").arg(table, keyColumn),
                       {{"KEY", key}})
               .toInt() > 0;
}

bool VersionStepContext::demoCompany()
{
    return rowExists(QStringLiteral("UTILIZADORES"), QStringLiteral("NRO"), schema::DemoInstallation::user());
}

} // namespace kv::shell
