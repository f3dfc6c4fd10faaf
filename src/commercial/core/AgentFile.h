#pragma once

#include "customers/parts/DepartmentContacts.h"

#include <QList>
#include <QString>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::commercial {

// The agents (AGENTES) with their department contacts of kind "A": what the
// agents file writes, without widgets.
class AgentFile {
public:
    AgentFile();

    const kv::customers::DepartmentContacts& contacts() const { return m_contacts; }

    // The notes folder of the working year (PARGER.PATHINFAGENTES) as stored;
    // empty without the year's row.
    static QString notesFolder(kv::db::Connection& invoicing, const QString& year);

    // The agent row pending in `agents` and its four contact blocks, in one
    // transaction: the contacts are written only with the agent, and a
    // refused agent leaves its contacts as they were.
    void store(kv::db::Dataset& agents, int agent, const QList<kv::customers::ContactDetails>& blocks) const;
    // The current agent of `agents` with its contact rows, in one transaction.
    void remove(kv::db::Dataset& agents) const;

private:
    kv::customers::DepartmentContacts m_contacts;
};

} // namespace kv::commercial
