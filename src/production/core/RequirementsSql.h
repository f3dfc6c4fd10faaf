#pragma once

#include <QString>

namespace kv::production {

// The statements of the requirements calculation that the benchmark runs
// alike on the raw engines.

// Application database: the planned raw-material consumption of the selected
// customer-order lines (`lines`: ENCNRO, DETAIL, CLINRO, ARTIGO) of the
// user's ticked pre-selection rows with a quantity, each consumption row
// once. Columns: ARTIGO, CONSUMO, then for the manufacture variant CONSUMIDO,
// QTDAPROV, QUANTFINAL, QTDPROD of the row's own open production order.
QString requirementConsumptionSql(bool manufacture, const QString& lines);

// Invoicing database: per article of `consumption` (ARTIGO, QUANTIDADE) that
// the article file holds: ARTIGO, DESIGNACAO, UNCOMPRA, QUANTIDADE, stock,
// undelivered supplier-order quantity, unapproved requisition quantity,
// supplier-order quantity for customer orders inside :E1-:E2, stock reserved
// for those orders, COMPRIM, LARGURA, ALTURA.
QString requirementNettingSql(const QString& consumption);

} // namespace kv::production
