#pragma once

#include "shell/LoginState.h"

#include "platform/db/Connection.h"
#include "platform/db/FieldDef.h"

#include <QString>
#include <QVariant>

namespace kv::shell {

// What a unit's version step works with: the company's application
// database inside the step's transaction, the login, and the additions that
// leave alone what already exists.
class VersionStepContext {
public:
    VersionStepContext(db::Connection& application, const LoginState& state);

    db::Connection& db() { return m_db; }
    const LoginState& state() const { return m_state; }

    void addColumn(const QString& table, const QString& column, db::FieldType type, int size = 0);
    // Creates a table of the units' created tables (Subsystems::createdTables).
    void createTable(const QString& name);
    bool rowExists(const QString& table, const QString& keyColumn, const QVariant& key);
    // True for the demo company of a demo installation (its users include the
    // demo user), where a step may add demo rows to what it creates.
    bool demoCompany();

private:
    db::Connection& m_db;
    const LoginState& m_state;
};

} // namespace kv::shell
