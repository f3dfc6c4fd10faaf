#include "costing/core/SqlName.h"

#include <QRegularExpression>
#include <stdexcept>

namespace kv::costing {

QString sqlName(const QString& name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
    if (!plain.match(name).hasMatch())
        throw std::invalid_argument("not a plain SQL name: " + name.toStdString());
    return name;
}

QStringList sqlNames(const QStringList& names)
{
    QStringList checked;
    for (const QString& name : names)
        checked << sqlName(name);
    return checked;
}

} // namespace kv::costing
