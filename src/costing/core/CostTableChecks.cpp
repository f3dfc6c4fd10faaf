#include "costing/core/CostTableChecks.h"

#include "platform/text/NumberText.h"

namespace kv::costing {

bool generalParametersDefined(kv::db::Dataset& parameters)
{
    if (!parameters.isOpen())
        parameters.open();
    return parameters.locate(QStringLiteral("CODIGO"), 1);
}

QString parametersUndefinedMessage() { return QStringLiteral("Parâmetros Gerais não estão Definidos !!"); }

QStringList yesNo() { return {QStringLiteral("S"), QStringLiteral("N")}; }

QString fixedCostFlagMessage() { return QStringLiteral("Digite [S] ou [N] !!!"); }

QString accessoryFlagMessage() { return QStringLiteral("Digite S ou N "); }

const QStringList& subcontractUnits()
{
    static const QStringList units{QStringLiteral("UN"), QStringLiteral("UND"), QStringLiteral("MIL"),
                                   QStringLiteral("M2"), QStringLiteral("KG")};
    return units;
}

UnitVerdict checkSubcontractUnit(const QString& unit, const QString& consumption)
{
    if (unit == QLatin1String("KG") && consumption.isEmpty())
        return UnitVerdict::NoConsumption;
    return subcontractUnits().contains(unit, Qt::CaseSensitive) ? UnitVerdict::Accepted : UnitVerdict::Unknown;
}

QString unitVerdictMessage(UnitVerdict verdict)
{
    switch (verdict) {
    case UnitVerdict::NoConsumption: return QStringLiteral("Não inseriu o consumo p/ M2");
    case UnitVerdict::Unknown: return QStringLiteral("Insira a unidade de cálculo para o subcontrato ...");
    case UnitVerdict::Accepted: break;
    }
    return {};
}

KeyCheck checkTransportCode(const QString& text, const std::function<bool(qint64)>& exists)
{
    KeyCheck check = checkKey(text, {-2147483648LL, 2147483647LL}, kv::db::FieldType::Int32, exists);
    if (check.verdict != KeyVerdict::Empty && check.verdict != KeyVerdict::Invalid && check.code == 0)
        return {};
    return check;
}

QString unknownDestinationMessage(Destination destination)
{
    switch (destination) {
    case Destination::Country: return QStringLiteral("País Inexistente !!!");
    case Destination::Region: return QStringLiteral("Região Inexistente !!!");
    case Destination::Province: break;
    }
    return QStringLiteral("Província Inexistente !!!");
}

KeyCheck checkCustomerNumber(const QString& text) { return checkKey(text, {}, kv::db::FieldType::Int32, {}); }

QString unknownCustomerMessage() { return QStringLiteral("Cliente Inexistente ... "); }

QString customerArticleTakenMessage() { return QStringLiteral("Este artigo já existe para o cliente !!! "); }

} // namespace kv::costing
