#pragma once

#include "quotes/approval/core/QuoteApproval.h"

namespace kv::quotes::approval::test {

// Quote 700 of the approval fixture at 12 for 150, order 11 of series 1
// dated 15-03-2024, delivered 8 on 15-03 and 4 on 22-03 (positions 1 and 3),
// to a delivery address of its own.
inline OrderRequest fixtureRequest()
{
    const QDate orderDate(2024, 3, 15);
    OrderRequest r;
    r.quoteNumber = 700;
    r.customer = 10;
    r.article = QStringLiteral("ART-1");
    r.series = QStringLiteral("1");
    r.orderNumber = 11;
    r.customerReference = QStringLiteral("PED-77");
    r.orderDate = orderDate;
    r.deliveries[0] = {orderDate, 8};
    r.deliveries[2] = {QDate(2024, 3, 22), 4};
    r.address = {QStringLiteral("Armazém 3"), QStringLiteral("Zona Industrial"), QStringLiteral("4470-000"),
                 QStringLiteral("MAIA")};
    r.input.quantity = 12;
    r.input.price = 150;
    return r;
}

} // namespace kv::quotes::approval::test
