#include "platform/report/FontMap.h"

#include <array>
#include <utility>

namespace kv::report {

namespace {

const std::array<std::pair<const char*, const char*>, 5> kSubstitutes{{
    {"Arial", "Liberation Sans"},
    {"Arial Narrow", "Liberation Sans Narrow"},
    {"Times New Roman", "Liberation Serif"},
    {"Courier New", "Liberation Mono"},
    {"Comic Sans MS", "Comic Neue"},
}};

} // namespace

QString FontMap::family(const QString& family)
{
    for (const auto& [windows, installed] : kSubstitutes)
        if (family.compare(QLatin1String(windows), Qt::CaseInsensitive) == 0)
            return QString::fromLatin1(installed);
    return family;
}

QFont FontMap::map(const QFont& font)
{
    const QString mapped = family(font.family());
    if (mapped == font.family())
        return font;
    QFont out = font;
    out.setFamily(mapped);
    return out;
}

void FontMap::install()
{
    static const bool installed = [] {
        for (const auto& [windows, substitute] : kSubstitutes)
            QFont::insertSubstitution(QString::fromLatin1(windows), QString::fromLatin1(substitute));
        return true;
    }();
    Q_UNUSED(installed);
}

} // namespace kv::report
