#include "costing/core/CodeMeanings.h"

namespace kv::costing {

QString meaningOf(const std::vector<CodeMeaning>& meanings, const QString& code)
{
    for (const CodeMeaning& meaning : meanings)
        if (meaning.code == code)
            return meaning.text;
    return {};
}

QStringList codesOf(const std::vector<CodeMeaning>& meanings)
{
    QStringList codes;
    for (const CodeMeaning& meaning : meanings)
        codes << meaning.code;
    return codes;
}

const std::vector<CodeMeaning>& paperTypes()
{
    static const std::vector<CodeMeaning> types{{QStringLiteral("P"), QStringLiteral("Papel")},
                                                {QStringLiteral("C"), QStringLiteral("Cartolina")}};
    return types;
}

const std::vector<CodeMeaning>& boardCalculations()
{
    static const std::vector<CodeMeaning> types{{QStringLiteral("1"), QStringLiteral("Bobinas")},
                                                {QStringLiteral("2"), QStringLiteral("Resmas")}};
    return types;
}

QString paperTypeListText(const QString& code)
{
    return code == QLatin1String("P") ? QStringLiteral("Papel") : QStringLiteral("Cartolinas");
}

QString boardCalculationListText(const QString& code)
{
    return code == QLatin1String("1") ? QStringLiteral("Bobinas") : QStringLiteral("Resmas");
}

const std::vector<CodeMeaning>& glueRules()
{
    static const std::vector<CodeMeaning> rules{
        {QStringLiteral("1"), QStringLiteral("Área x Consumo(Gr) x Nº Planos x Preço")},
        {QStringLiteral("2"), QStringLiteral("Consumo(Kgs) p/ 1000 Caixas x Preço")},
        {QStringLiteral("3"), QStringLiteral("(%) * Consumo(Kgs) p/ 1000 Caixas x Preço")},
        {QStringLiteral("4"), QStringLiteral("(Área x Consumo(Kgs) x Nº Planos x Preço)/100")}};
    return rules;
}

QStringList glueRuleLines()
{
    QStringList lines;
    for (const CodeMeaning& rule : glueRules())
        lines << rule.code + QStringLiteral(" - ") + rule.text;
    return lines;
}

const std::vector<CodeMeaning>& finishCostTypes()
{
    static const std::vector<CodeMeaning> types{{QStringLiteral("1"), QStringLiteral("Mão de Obra")},
                                                {QStringLiteral("2"), QStringLiteral("Embalagem")}};
    return types;
}

bool finishUnitAccepted(const QString& fixedCost, const QString& unit)
{
    return fixedCost.isEmpty() || unit == QLatin1String("U") || unit == QLatin1String("M");
}

} // namespace kv::costing
