#pragma once

#include "platform/db/FieldDef.h"

#include <QString>
#include <QStringList>

namespace kv::db {

enum class Dialect { Sqlite, Postgres };

// The few things SQL says differently on the two engines. Statements are
// written once in portable SQL; these helpers fill the gaps.
namespace sql {

// A table or column name as a quoted identifier, so a name that is a keyword
// or holds spaces or signs still works. PostgreSQL keeps the names the schema
// wrote unquoted in lower case (and reports them in upper case, as SQLite
// does), so an all-upper-case name is quoted in lower case there.
QString identifier(Dialect dialect, const QString& name);

// Name of the collation that text columns use: case-insensitive, accent-aware.
QString textCollation(Dialect dialect);

// The column type of a field type in a table definition (text with the
// text collation).
QString columnType(Dialect dialect, FieldType type, int size);

// Expression for the year / month / day of a date-time expression, as an integer.
QString yearOf(Dialect dialect, const QString& expr);
QString monthOf(Dialect dialect, const QString& expr);
QString dayOf(Dialect dialect, const QString& expr);

// a || b || ... with NULLs treated as empty text.
QString concat(Dialect dialect, const QStringList& parts);

// INSERT ... that updates the listed columns when the key already exists.
// Values are the parameters named as the columns (":CODIGO", ...).
QString upsert(Dialect dialect, const QString& table, const QStringList& keyColumns, const QStringList& otherColumns);

// Condition "expr begins with the value of parameter :param", without regard
// to case (the text collation's rule). LIKE is avoided: PostgreSQL refuses it
// on the case-insensitive collation, and wildcards in the value must not count.
QString startsWith(Dialect dialect, const QString& expr, const QString& param);

// Condition "expr matches the LIKE pattern in parameter :param" (the user's
// own wildcards count), without regard to case on both engines.
QString likePattern(Dialect dialect, const QString& expr, const QString& param);

} // namespace sql
} // namespace kv::db
