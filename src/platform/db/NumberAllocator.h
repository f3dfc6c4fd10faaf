#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Params.h"

#include <QString>

namespace kv::db {

// A counter column of a parameter table: the one row of `table` that
// `condition` picks (SQL over bound parameters; empty for a one-row table).
struct Counter {
    QString table;
    QString column;
    QString condition;
    Params params;
};

// Where the documents keep their numbers, to tell whether a number is in use.
struct NumberColumn {
    QString table;
    QString column;
    QString condition; // narrows the documents (a series, a year); may be empty
    Params params;
};

// Document numbers that no two workstations ever get alike. Every call runs
// inside the caller's transaction, so a save that fails uses no number: the
// raise is rolled back with the rest of the document.
class NumberAllocator {
public:
    explicit NumberAllocator(Connection& connection) : m_db(connection) {}

    // Raises the counter by one and returns the new value, in one statement:
    // two workstations raising it at once wait for each other and get
    // different numbers. An empty counter gives 1. Throws DbError when the
    // counter's row is missing.
    long long next(const Counter& counter);

    // A number typed by the user or proposed earlier, checked as the document
    // is stored: false when a document already holds it (another workstation
    // stored it meanwhile), and nothing changes. Otherwise the counter is
    // raised to the number when it is lower, so the next one given is above it.
    bool claim(const Counter& counter, long long number, const NumberColumn& documents);

private:
    QString where(const QString& condition) const;
    Connection& m_db;
};

} // namespace kv::db
