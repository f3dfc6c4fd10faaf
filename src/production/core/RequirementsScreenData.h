#pragma once

#include <QString>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::production {

// The statements behind the requirements screen's lists and look-ups, and
// the few single values it shows. Parameters: :WUTIL the user; :E1/:E2 the
// order limits; :A1/:A2 the article limits; :D1 the first delivery day and
// :D2 the day after the last.
namespace RequirementsScreenData {

// Application database.
QString preselection(); // LOGSELENC1, the user's pre-selection (editable)
QString requirements(); // LOGARTIGOS
QString supplierLines(); // LOGFRNENC of :ARTIGO
QString proposal(); // LOGARTGFORN1, the user's proposal (editable)

// Invoicing database.
QString limitArticles(); // ENCCLIDET, the open lines inside the order and article limits
QString openLines(); // ENCCLIDETCONS of :CLINRO and :ARTIGO inside the limits
QString supplierOrder(); // FRNENCMAS :ENCNRO
QString supplierOrderLines(); // FRNENCDET :ENCNRO
QString priceList(); // STKARTGFORN of :CODARTG
QString suppliers(bool byName);

// The open order headers of an order look-up, in one of its four orders.
enum class OrderLookupOrder { Number, CustomerName, DateCustomerNumber, DateCustomerName };
QString openOrders(OrderLookupOrder order);

std::optional<QString> customerName(kv::db::Connection& invoicing, int customer);
std::optional<QString> supplierName(kv::db::Connection& invoicing, int supplier);
// The text of a payment condition: days, document type and description,
// then the discount and "%" when there is one (numbers in general
// format); empty for a code missing from the table.
QString paymentConditionText(kv::db::Connection& invoicing, int code);
// The locality of a postal code; empty when it is missing.
QString locality(kv::db::Connection& invoicing, const QString& postalCode);
// The picture folder (PATHFOTO) of the year's commercial parameters.
QString pictureFolder(kv::db::Connection& invoicing, const QString& year);
// CORESTAMANHOS "S": the requisition prints colour and size, else dimensions.
bool printsColoursAndSizes(kv::db::Connection& invoicing, const QString& year);

} // namespace RequirementsScreenData

} // namespace kv::production
