#pragma once

#include "shell/LoginState.h"

#include "platform/db/Connection.h"
#include "platform/db/FieldDef.h"
#include "schema/Schema.h"

#include <utility>
#include <vector>

#include <QString>
#include <QVariant>

namespace kv::shell {

// What a unit's version step works with: the company's application
// database inside the step's transaction, the login, and the additions that
// leave alone what already exists.
class VersionStepContext {
public:
    using OtherDatabases = std::vector<std::pair<schema::Database, db::Connection*>>;

    // `tableBeingChanged`, when given, is told each table a step alters, so a
    // refusal because another workstation holds it can name it.
    VersionStepContext(db::Connection& application, const LoginState& state, QString* tableBeingChanged = nullptr,
                       OtherDatabases otherDatabases = {});

    db::Connection& db() { return m_db; }
    const LoginState& state() const { return m_state; }

    void addColumn(const QString& table, const QString& column, db::FieldType type, int size = 0);
    // Creates a table of the units' created tables (Subsystems::createdTables).
    void createTable(const QString& name);
    bool rowExists(const QString& table, const QString& keyColumn, const QVariant& key);
    // True for the demo company of a demo installation (its users include the
    // demo user), where a step may add demo rows to what it creates.
    bool demoCompany();
    // Creates the tables of the definition that a company database (the
    // application's and the others given) does not hold yet; a name is
    // looked for only in the databases whose definition has it.
    void createMissingTables(const QStringList& names);
    // Creates the secondary indexes the definition gives an application
    // table that an older version created without them.
    void createMissingIndexes(const QString& table);

    // The company's database `database`: the application's, or one the
    // update was given; nullptr otherwise.
    db::Connection* companyDatabase(schema::Database database);
    // Adds a column to a table of a company database that lacks it; true
    // when it was added, false when it was there (or the database was not given).
    bool addColumn(schema::Database database, const QString& table, const QString& column, db::FieldType type,
                   int size = 0);

private:
    db::Connection& m_db;
    const LoginState& m_state;
    QString* m_tableBeingChanged;
    OtherDatabases m_otherDatabases;
};

} // namespace kv::shell
