#pragma once

#include "platform/db/Connection.h"
#include "support/Engines.h"

#include <memory>
#include <optional>

namespace kv::quotes::test {

// A fresh application database of a temporary installation on one engine:
// a file in a temporary folder for SQLite, a database with a unique name on
// the test server for PostgreSQL (dropped afterwards), with the schema of
// the installation and the columns its version steps add to the quote
// tables. Not available when the engine is absent (no KV_TEST_PG_HOST).
class QuoteDatabase {
public:
    explicit QuoteDatabase(kv::db::Dialect dialect);
    ~QuoteDatabase();
    bool available() const { return m_connection != nullptr; }
    kv::db::Connection& connection() { return *m_connection; }
    // A second connection to the same database, as another workstation has.
    std::shared_ptr<kv::db::Connection> openAnother() { return m_database->open(QStringLiteral("BDESPECIF01")); }

private:
    std::optional<kv::test::ScratchDatabase> m_database;
    std::shared_ptr<kv::db::Connection> m_connection;
};

} // namespace kv::quotes::test
