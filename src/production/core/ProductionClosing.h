#pragma once

#include "platform/db/TwoDatabaseWork.h"
#include "platform/notify/MessageSink.h"
#include "production/core/StockPosting.h"

#include <QString>
#include <functional>
#include <vector>

namespace kv::production {

// Which order table a closing closes: `ORDFABRICO` (model "T") or
// `ORDFABDET` (every other model).
enum class ClosingModel { WholeOrders, OrderSlots };

// A consumption typed against a planned-consumption line (`ORCCONSUMOS`).
struct ClosingConsumption {
    int line = 0; // ORCCONSUMOS.DETAIL (WRK_DETAIL)
    QString article;
    double quantity = 0;
};

// One listed order as the closing form hands it over, with the movements it
// worked out. The order is named by its whole key.
struct ClosingOrder {
    QString year;
    QString week; // ORDFABDET only
    int orderNumber = 0;
    int subQuote = 0;
    int detail = 0;
    bool ticked = false;
    double produced = 0; // ORDFABDET: the quantity typed, added to QTDPROD
    double listedProduced = 0; // ORDFABDET: QTDPROD as the list found it
    std::vector<ClosingConsumption> consumptions; // ORDFABDET: raise CONSUMIDO
    std::vector<StockMovement> movements;
};

struct ClosingSettings {
    QString user;
    QString workingYear;
    ClosingModel model = ClosingModel::WholeOrders;
};

struct ClosingOutcome {
    bool stopped = false; // the run ended before its last order
    int document = 0; // the run's stock document; 0 when no movement was written
    int closed = 0; // orders whose changes and movements were written
    int skipped = 0; // orders another workstation closed first
};

// The closing of production orders with their stock posting, across the
// application and invoicing databases. Each order is one two-database
// operation: step 1 writes the order's changes under a condition only one
// workstation meets, with its movements in the pending record; step 2 posts
// those movements (document counter, lines, warehouse rows, article values,
// markers) and the journal row in one invoicing transaction; step 3 clears
// the pending record and marks the order's stock posted. A crash or a
// refusal anywhere neither loses nor repeats a movement: every run first
// finishes what an earlier one left pending.
class ProductionClosing {
public:
    static QString kindName();
    // The kind as the program registers it, so that any later process
    // finishes a closing this one left pending.
    static kv::db::TwoDatabaseKind kind();

    // `known` are the program's kinds (recovery finishes every pending
    // operation of the two databases).
    ProductionClosing(const kv::db::TwoDatabaseKinds& known, std::shared_ptr<kv::db::Connection> application,
                      std::shared_ptr<kv::db::Connection> invoicing, ClosingSettings settings,
                      kv::notify::MessageSink& messages);
    ProductionClosing(const ProductionClosing&) = delete;
    ProductionClosing& operator=(const ProductionClosing&) = delete;

    // Finishes the pending operations; false (the messages shown) when one
    // could not be finished.
    bool finishPending();

    // Closes the orders in their order. `working` is told each order's
    // number as its closing starts; `progress` gets the whole percentage of
    // the orders done.
    ClosingOutcome run(const std::vector<ClosingOrder>& orders, const std::function<void(int)>& progress = {},
                       const std::function<void(int)>& working = {});

    // The clean-up of the working year's movements when a closing form closes.
    void cleanUp();

private:
    kv::db::TwoDatabaseWork work();

    kv::db::TwoDatabaseKinds m_kinds;
    std::shared_ptr<kv::db::Connection> m_application;
    std::shared_ptr<kv::db::Connection> m_invoicing;
    ClosingSettings m_settings;
    kv::notify::MessageSink& m_messages;
    bool m_consumptionYear = false;
    int m_lastDocument = 0;
};

} // namespace kv::production
