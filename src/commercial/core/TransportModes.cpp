#include "commercial/core/TransportModes.h"

namespace kv::commercial {

const std::vector<std::pair<QString, QString>>& transportModes()
{
    static const std::vector<std::pair<QString, QString>> modes{
        {QStringLiteral("1"), QStringLiteral("Marítimo")},
        {QStringLiteral("2"), QStringLiteral("Ferroviário")},
        {QStringLiteral("3"), QStringLiteral("Rodoviário")},
        {QStringLiteral("4"), QStringLiteral("Aéreo")},
        {QStringLiteral("5"), QStringLiteral("Remessas Postais")},
        {QStringLiteral("7"), QStringLiteral("Inst.Fixas de Transporte")},
        {QStringLiteral("8"), QStringLiteral("Transp.p/Navegação Interior")},
        {QStringLiteral("9"), QStringLiteral("Propulsão própria")}};
    return modes;
}

QStringList transportModeCodes()
{
    QStringList codes;
    for (const auto& [code, name] : transportModes())
        codes << code;
    return codes;
}

QString transportModeName(const QString& code)
{
    for (const auto& [known, name] : transportModes())
        if (known == code)
            return name;
    return {};
}

} // namespace kv::commercial
