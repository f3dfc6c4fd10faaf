#pragma once

#include <QString>

namespace kv::db {
class Connection;
}

namespace kv::commercial {

// Whether the commercial parameters (`PARGER`) hold a row for the working
// year: several commercial tables refuse to open without one.
bool workingYearExists(kv::db::Connection& invoicing, const QString& year);

} // namespace kv::commercial
