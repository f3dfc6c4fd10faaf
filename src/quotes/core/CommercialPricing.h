#pragma once

#include "quotes/core/QuoteRow.h"

#include "platform/text/Fixed4.h"

#include <QString>

namespace kv::quotes {

// The three commercial costs of the general costing parameters (`ORCPARGER`
// row 1).
struct CommercialParameters {
    QString name[3]; // DESIGNCOM1..3; empty: the cost is not used
    QString incidence[3]; // TIPINCID1..3: "P" on the sale price, "C" on the cost
    bool subsidiaryInCost3 = false; // COMPS1 "S"
};

// Commercial costs, proposed prices, client prices and the closing
// computations on a quote's summary row. The nine commercial cost values are
// kept between the calculation and the editing of the percentages, with the
// `commercial-cost state` telling whether the summary row's value already
// includes them, so that editing a percentage never adds them twice.
class CommercialPricing {
public:
    // Commercial costs not yet in the summary row's value (after the totals).
    void reset();
    bool included() const { return m_included; }
    // Value in fixed point of commercial cost k (1 to 3) for quantity n (1 to 3).
    kv::text::Fixed4 cost(int k, int n) const { return m_cost[k - 1][n - 1]; }

    // Entering a percentage: the summary row's value goes back to the cost.
    void restoreCost(QuoteRow& summary);
    // The percentage of a commercial cost without name is 0.
    static void clearUnnamed(QuoteRow& summary, const CommercialParameters& parameters);

    // The commercial costs and proposed prices of the summary row (on the
    // cost, or grossed up on the sale price); the margin columns filled from
    // commercial cost 3; the value becomes the sale value.
    void calculate(QuoteRow& summary, const CommercialParameters& parameters, int priceDecimals);

    // A client price typed for quantity n: its client value (rounded to the
    // price decimals).
    static void setClientPrice(QuoteRow& summary, int n, double price, int priceDecimals);

    // The closing of the summary row: order and approval columns reset,
    // client values, net margins per quantity (a quantity whose client value
    // is 0 gets a margin percent of 0), the manual mark.
    static void close(QuoteRow& summary, int priceDecimals);

private:
    bool m_included = false;
    kv::text::Fixed4 m_cost[3][3];
};

} // namespace kv::quotes
