#pragma once

#include "platform/db/Connection.h"

#include <QDate>
#include <QString>
#include <optional>

namespace kv::production {

// A stock transaction (`STKTRS`) as a posting reads it.
struct StockTransaction {
    int code = 0;
    QString direction; // TRSTIP: "E" entry, "S" issue
    QString returned; // DEVOLUCAO: "S" a return
    QString pricing; // TRSCALC: "3" average cost, "5" not priced, other standard cost
    QString averageCost; // PMCUST: "N" leaves the average cost alone
    QString lastEntryPrice; // PULENT: "S" entries set the last entry price
    QString consumption; // CONSUMO: "S" a consumption
    QString shortName; // REDNOM

    // "ENT", "SAI" or "DEV". An issue whose return flag is neither "S" nor
    // "N" is an issue: posting it as nothing would write a movement no report
    // counts.
    QString movementType() const;
};

// A stock article (`ARTIGOSCLS` with `TIPOARTIGO` not "3" and not a grid).
struct StockArticle {
    QString code;
    QString designation;
    double quantity = 0; // EXIQTD
    double value = 0; // EXIVAL
    double averageCost = 0; // PMCUSTO
    double lastEntryPrice = 0; // PULENTRA
    double standardCost = 0; // CUSTOPADRAO
};

// One movement a closing posts.
struct StockMovement {
    QString article;
    double quantity = 0;
    int transaction = 0;
    int warehouse = 0;
    int customer = 0; // CLINRO
    int order = 0; // ORDFAB
    QDate date;
};

// What a posted movement wrote.
struct PostedMovement {
    int document = 0;
    int line = 0;
    int sequence = 0;
    QString type;
    double price = 0;
    double value = 0;
};

// The unit price and the article's totals after a movement: the posting
// rules without a database.
struct ArticleChange {
    double price = 0;
    double value = 0;
    bool stockChanges = false; // false: no warehouse row, no totals, no prices
    double quantityDelta = 0;
    double valueDelta = 0;
    StockArticle after;
};
ArticleChange applyMovement(const StockTransaction& transaction, const StockArticle& before, double quantity,
                            const QString& costMethod);

// Stock posting into the invoicing database: the user's stock document,
// one `STKMOV` line per movement, the article's stock per warehouse and
// year, its totals, last entry price and average cost, the month marker.
//
// `post` runs inside the caller's transaction, so that one order's
// movements and the document counter are written together or not at all.
// Stock and cost change by relative updates on the values read under the
// article's row lock: what other programs wrote meanwhile is kept.
class StockPosting {
public:
    // `costMethod` is the working year's PARGER.CALCULOPMC.
    StockPosting(kv::db::Connection& invoicing, QString user, QString workingYear, QString costMethod);

    // Reads the working year's average-cost method.
    static QString costMethodOf(kv::db::Connection& invoicing, const QString& workingYear);

    std::optional<StockTransaction> transaction(int code);
    bool warehouseExists(int code);
    std::optional<StockArticle> article(const QString& code);
    bool userExists();

    // Raises the user's document counter and returns the new number.
    int takeDocument();
    // The line the next movement of `document` takes (the last one + 1).
    int nextLine(int document);

    // Posts one movement as line `line` of `document`; throws DbError with
    // Kind::NotFound when the article or transaction is not there.
    PostedMovement post(int document, int line, const StockMovement& movement);

    // Fills the empty columns of the working year's movements that other
    // programs left empty, in one statement.
    void cleanUp();

private:
    void markLastOfMonth(const StockMovement& movement);

    kv::db::Connection& m_db;
    QString m_user;
    QString m_year;
    QString m_costMethod;
};

} // namespace kv::production
