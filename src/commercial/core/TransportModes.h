#pragma once

#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

namespace kv::commercial {

// The transport modes a shipping method names (TIPO), in their order: the
// code and its name. There is no mode "6".
const std::vector<std::pair<QString, QString>>& transportModes();
QStringList transportModeCodes();
// The name of a mode; empty for any other value.
QString transportModeName(const QString& code);

} // namespace kv::commercial
