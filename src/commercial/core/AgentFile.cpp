#include "commercial/core/AgentFile.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

namespace kv::commercial {

AgentFile::AgentFile() : m_contacts(kv::customers::DepartmentContacts::agents()) {}

QString AgentFile::notesFolder(kv::db::Connection& invoicing, const QString& year)
{
    return invoicing.scalar(QStringLiteral("SELECT PATHINFAGENTES FROM PARGER WHERE ANO = :ANO"), {{"ANO", year}})
        .toString()
        .trimmed();
}

namespace {

// The dataset's pending changes inside the caller's transaction; a refusal
// keeps them pending, as a refused apply of the dataset alone would.
void applyInside(kv::db::Transaction& transaction, kv::db::Dataset& rows)
{
    rows.applyUpdates();
    transaction.commit();
}

} // namespace

void AgentFile::store(kv::db::Dataset& agents, int agent, const QList<kv::customers::ContactDetails>& blocks) const
{
    kv::db::Connection& invoicing = *agents.connection();
    kv::db::Transaction transaction(invoicing);
    m_contacts.write(invoicing, agent, blocks);
    applyInside(transaction, agents);
}

void AgentFile::remove(kv::db::Dataset& agents) const
{
    kv::db::Connection& invoicing = *agents.connection();
    const int agent = agents.value(QStringLiteral("CODIGO")).toInt();
    kv::db::Transaction transaction(invoicing);
    m_contacts.remove(invoicing, agent);
    agents.deleteRecord();
    try {
        applyInside(transaction, agents);
    } catch (...) {
        agents.cancelUpdates();
        throw;
    }
}

} // namespace kv::commercial
