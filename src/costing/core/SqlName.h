#pragma once

#include <QString>
#include <QStringList>

namespace kv::costing {

// Table and column names come from the members' descriptions, never from
// what a user typed; still, a name that is not a plain identifier is refused
// before it reaches a statement.
QString sqlName(const QString& name);
QStringList sqlNames(const QStringList& names);

} // namespace kv::costing
