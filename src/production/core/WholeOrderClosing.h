#pragma once

#include "platform/db/Connection.h"
#include "production/core/ProductionClosing.h"
#include "production/core/SlotClosing.h"

#include <QDate>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace kv::quotes {
struct WasteBand;
}

namespace kv::production {

class StockPosting;

// What one order's consumptions are worked out from.
struct SheetFigures {
    double produced = 0; // Q, QTDPROD
    double area = 0; // A, square metres of the sheet format
    double grossSheets = 0; // S
};

// Gross sheets of a produced quantity: net sheets by the units per sheet,
// the waste of their band, rounded half away from zero. Empty when the units
// per sheet are 0 or no band holds the net count.
std::optional<double> grossSheets(double produced, int unitsPerSheet, const std::vector<kv::quotes::WasteBand>& bands);
// Consumption of a glue (`COLAS`) and of a board or paper (`PAPEIS`) by
// their TIPOCALC; `grams` is GRAMAGEM as stored.
double glueConsumption(const QString& calculation, double grams, double percentage, const SheetFigures& figures);
double boardConsumption(const QString& calculation, double grams, const SheetFigures& figures);

// The closing of model-"T" orders (`ORDFABRICO`): the user's order list,
// the checks before posting and the orders handed to ProductionClosing with
// their material issues and finished-goods entry.
class WholeOrderClosing {
public:
    WholeOrderClosing(kv::db::Connection& application, QString user);

    // Rebuilds the list from the limits, set-based.
    void rebuild(const ClosingLimits& limits);
    void cancel();

    // Pass 1: the message that stops the run, empty when none.
    QString checkTyped();
    // Pass 2: the materials, sheet count and articles of every ticked
    // order. Writes the user's `ACTUALFECHOOF` rows afresh; returns how many.
    // `working` is told each order's number as its check starts.
    int checkMaterials(StockPosting& posting, const std::function<void(int)>& working = {});
    // The ticked orders in list order with their movements.
    std::vector<ClosingOrder> orders(const QDate& movementDate);

private:
    struct Material {
        bool found = false;
        QString article;
        QString designation;
        double grams = 0;
        double percentage = 0;
        QString calculation;
    };
    Material material(int tableType, int code);
    kv::db::QueryResult ticked();
    std::vector<kv::quotes::WasteBand> bands();

    kv::db::Connection& m_db;
    QString m_user;
};

} // namespace kv::production
