#pragma once

#include "production/core/RequirementLimits.h"

#include <QString>
#include <array>
#include <functional>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::production {

// Materials requirements of open customer orders, worked out in the user's
// work tables of the application database (LOGSELENC, LOGARTIGOS, LOGFRNENC,
// LOGARTGFORN) from the invoicing database's orders, articles, supplier
// orders, requisitions and price lists. The two databases are separate
// connections: each step reads the keyed set it needs from one and writes it
// into the other in bulk, a fixed number of statements whatever the volume.
// Each step replaces the user's rows in one transaction; other users' rows
// are never touched.
class RequirementsCalculation {
public:
    RequirementsCalculation(kv::db::Connection& application, kv::db::Connection& invoicing, QString user,
                            RequirementVariant variant);

    // Empties the user's pre-selection and requirements (entering an order or
    // article limit).
    void clearSelection();

    // The (customer, finished article) pairs of the open order lines inside
    // the limits, with the outstanding quantity less the article's stock to
    // process (none to process: 0 and unticked). True when the user has at
    // least one row.
    bool preselect(const RequirementLimits& limits);

    // The requirement per raw-material article of the ticked pre-selection
    // rows with a quantity, netted against stock, undelivered supplier-order
    // lines and unapproved requisitions; with the open supplier-order lines of
    // those articles. `progress` is told after each step (done, total).
    void calculate(const RequirementLimits& limits, const std::function<void(int, int)>& progress = {});

    // The supplier proposal of the user's requirements: the price list's
    // supplier (the lowest supplier number when the article has several), its
    // price, else the standard cost, else the average cost (4 decimals);
    // ticked when it has a supplier, a price and a quantity.
    void propose(const QDate& today);

private:
    kv::db::Connection& m_app;
    kv::db::Connection& m_inv;
    QString m_user;
    RequirementVariant m_variant;
};

// A price list's quantity tiers: the quantity up to which each applies and
// its discount percentage, tiers 1 to 4.
struct DiscountTiers {
    double baseDiscount = 0;
    std::array<double, 4> quantity{};
    std::array<double, 4> discount{};
};

// The discount of a quantity: the base discount, replaced by each tier in
// turn whose quantity reaches the ordered one (the last such tier wins; an
// empty tier reaches only a quantity of 0 or less). The purchasing
// application keeps the tiers with this meaning.
double tierDiscount(const DiscountTiers& tiers, double quantity);

// The editable part of a proposal row, as the grid's editors change it.
struct ProposalChoice {
    int supplier = 0;
    QString name;
    double price = 0;
    bool ticked = false;
};

// Leaving the supplier editor: a known supplier (`name` from the supplier
// file) names the row and ticks it, the price kept; an unknown number is
// refused ("FORNECEDOR INEXISTENTE !!!", returned) and leaves the row
// without supplier, name or price, unticked; none (0) unticks it too.
QString leaveSupplier(ProposalChoice& row, const std::optional<QString>& name);

// Leaving the price editor: a supplier without a price is refused
// ("INSIRA O PREÇO PARA ESTE ARTIGO !!!", returned; the supplier editor
// takes the focus); anything else ticks the row.
QString leavePrice(ProposalChoice& row);

} // namespace kv::production
