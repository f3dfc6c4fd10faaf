#pragma once

#include "costing/core/CodeKey.h"

#include "platform/db/Dataset.h"

#include <QString>
#include <functional>

namespace kv::costing {

// The tables priced in quotes by class or unit (fixed costs, subcontracts)
// open only when the general costing parameters have their row 1. Opens the
// parameters' dataset when it is closed (it stays open) and stands on row 1;
// false when there is none.
bool generalParametersDefined(kv::db::Dataset& parameters);
QString parametersUndefinedMessage(); // "Parâmetros Gerais não estão Definidos !!"

// "S" or "N", exactly.
QStringList yesNo();
QString fixedCostFlagMessage(); // "Digite [S] ou [N] !!!"
QString accessoryFlagMessage(); // "Digite S ou N "

// The calculation units of a subcontract, in the order of the form's legend.
const QStringList& subcontractUnits(); // "UN", "UND", "MIL", "M2", "KG"

enum class UnitVerdict {
    Accepted,
    NoConsumption, // "KG" needs the grams per square metre: the focus goes there
    Unknown // not one of the five units: the focus stays in the unit
};

// The unit typed for a subcontract, with the text of its consumption field.
UnitVerdict checkSubcontractUnit(const QString& unit, const QString& consumption);
QString unitVerdictMessage(UnitVerdict verdict);

// A transport cost's code: any whole number but 0 (negative ones too) that
// its 32-bit column holds. Empty and 0 are refused with a beep alone; text
// that is not a whole number is refused like a code out of range.
KeyCheck checkTransportCode(const QString& text, const std::function<bool(qint64)>& exists);

// A destination typed into a transport row: found by its exact text in the
// countries, regions or provinces list.
enum class Destination { Country, Region, Province };
QString unknownDestinationMessage(Destination destination); // "País Inexistente !!!", ...

// The customer of a raw-material row: a whole number from 1 to 999999
// (Empty, Invalid or Free; whether the customer exists is the caller's).
KeyCheck checkCustomerNumber(const QString& text);
QString unknownCustomerMessage(); // "Cliente Inexistente ... "
QString customerArticleTakenMessage(); // "Este artigo já existe para o cliente !!! "

} // namespace kv::costing
