#pragma once

#include "quotes/core/ChartRows.h"
#include "quotes/core/QuoteRow.h"

#include <array>

namespace kv::quotes {

// The values page of a quote viewer: for each of a summary row's three
// quantities the costs by class, the base and commercial costs, margins,
// prices and the order total, and the chart of one quantity.
class QuoteValues {
public:
    static constexpr int kRows = 16;
    enum class Format { Money, Percent, Total };

    // Row labels as the page shows them, top to bottom.
    static const std::array<QString, kRows>& labels();
    static Format format(int row);

    // The quote consultation's page, or the one seen from a production
    // order: no subcontract row (the base cost is the five classes), no unit
    // line, "Margem (%)" from MARGEMPRC and the chart's margin slice from
    // VALCOM3A, VALCOM3B and MARGEMVALOR.
    enum class Variant { Consultation, ProductionOrder };
    // The row of the subcontracts, which the production-order page leaves out.
    static constexpr int kSubcontractRow = 5;

    // Null columns count as 0.
    static QuoteValues of(const QuoteRow& summary, Variant variant = Variant::Consultation);

    double amount(int row, int quantity) const { return m_amounts[row][quantity - 1]; }
    // The amount as the page shows it: money and totals in the currency
    // format (money with the year's price decimals, totals with two),
    // percentages with one decimal.
    QString text(int row, int quantity, int priceDecimals) const;
    double baseCost(int quantity) const;
    double commercialCost(int quantity) const;
    double orderTotal(int quantity) const;
    // "Margem (%) : " of the page (`PRCCOM3`).
    QString marginText() const;
    // "( Unidade de Orçamentação : Unidade )" or "... : Milheiro )".
    QString unitLine() const { return m_unitLine; }

    // The chart of a quantity (1 to 3): the user's rows of the program
    // replaced by base cost, commercial cost and net margin, each rounded
    // to cents.
    // One transaction: a failed write leaves the previous chart.
    void writeChart(kv::db::Connection& application, const QString& user, const QString& program, int quantity) const;

private:
    std::array<std::array<double, 3>, kRows> m_amounts{};
    std::array<double, 3> m_chartMargin{}; // the chart's "Margem" slice per quantity
    double m_marginPercent = 0;
    QString m_unitLine;
};

} // namespace kv::quotes
