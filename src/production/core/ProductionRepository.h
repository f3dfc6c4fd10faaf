#pragma once

#include "production/core/PlannedConsumption.h"

#include <QDate>
#include <QString>
#include <QVariant>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
struct QueryResult;
} // namespace kv::db

namespace kv::production {

// A date column's parameter; null for an invalid date.
QVariant dateParameter(const QDate& date);

// The key of an ORDFABDET order row: the customer order's year, week and
// number, the sub-quote and the production-order slot.
struct OrderRowKey {
    QString year; // ANO
    QString week; // SEMANA
    int orderNumber = 0; // ORDNRO
    int subQuote = 0; // SUBORC
    int slot = 0; // DETAIL
};

// A customer-order line of the invoicing database, as generation reads it.
struct OrderLine {
    QString year; // ANO
    QString week; // SEMANA
    int orderNumber = 0; // ENCNRO
    int detail = 0; // DETAIL
    int quoteNumber = 0; // ORCNRO
    int customer = 0; // CLINRO
    QString article; // ARTIGO
    QString designation; // DESIGNACAO
    QString salesUnit; // UNVEND
    double compri = 0, largur = 0, altura = 0; // COMPRI, LARGUR, ALTURA
    QString customerReference; // VOSREF
    double quantity = 0; // QTDCAR
    QDate issued; // DATEMI
    QDate delivery; // DATAENTRG
    QDate production; // DATAPROD
    int productionOrder = 0; // ORDFAB

    static OrderLine fromRow(const kv::db::QueryResult& rows, std::size_t row);
};

// One row of a user's generation work list (TEMPENCCLIDET).
struct WorkListRow {
    QString year;
    QString week;
    int orderNumber = 0;
    int detail = 0;
    QString article;
    QString designation;
    QString salesUnit;
    double compri = 0, largur = 0;
    double quantity = 0; // QTDCAR
    QDate delivery; // DATENT
    int customer = 0;
    bool generate = true; // GERAR "S"
    int slot = 0; // the first of OFNRO1..5 ticked; 0 when none is
};

// The order row values generation reads back before a merge.
struct StoredOrderRow {
    int quoteNumber = 0; // ORCNRO
    QString article;
    double quantity = 0; // QUANTIDADE
    QDate firstDelivery; // DATAENT
    double deliveryQuantity[5] = {0, 0, 0, 0, 0}; // QTD1..QTD5
};

// The statements of generation over the production-order tables of the
// application database (ORDFABDET, ORDFABRICO, ORCCONSUMOS, TEMPENCCLIDET,
// ORDFABENC). Each call is one statement or one read; the caller opens the
// transaction that groups them.
class ProductionRepository {
public:
    explicit ProductionRepository(kv::db::Connection& connection);

    // --- the work list, one user's rows only ---
    static QString workListSql(); // the user's rows (:UTIL) in the order generation takes them
    void clearWorkList(const QString& user);
    void insertWorkListRow(const QString& user, const OrderLine& line);
    std::vector<WorkListRow> workList(const QString& user); // ANO, SEMANA, ENCNRO, DATENT order
    // Sets GERAR or OFNRO1..OFNRO5 ("S"/"N") of one row; false for another column.
    bool setWorkListFlag(const QString& user, const WorkListRow& row, const QString& column, bool ticked);
    void removeWorkListRow(const QString& user, const WorkListRow& row);

    // --- order rows ---
    // The row, locked against a merge by another workstation until the
    // caller's transaction ends (on SQLite the write transaction already is).
    std::optional<StoredOrderRow> lockOrderRow(const OrderRowKey& key);
    bool orderRowExists(const OrderRowKey& key);
    // The week of another order row of the key's year, number, sub-quote and
    // slot, or empty: such rows would share one key of planned consumption.
    QString otherWeekOfSlot(const OrderRowKey& key);
    void insertOrderRow(const OrderRowKey& key, const OrderLine& line, const kv::quotes::QuoteRow& quote,
                        const QString& customerShortName, const QDate& issued, const QDate& delivery,
                        const QString& productionWeek, double quantity, const ConsumptionPlan& plan);
    // A merged line: quantity added, sheets of the merged quantity, and its
    // delivery in the first free one of deliveries 2 to 5 (quantity 0).
    void mergeIntoOrderRow(const OrderRowKey& key, const StoredOrderRow& stored, double added, double sheets,
                           const QDate& delivery);

    // --- planned consumption ---
    // Create: the rows of a new order item, in place of any left under its key.
    void createConsumption(const OrderRowKey& key, const QDate& delivery, const ConsumptionPlan& plan);
    // Rewrite for a merged quantity: rows of the same key only; others stay.
    void rewriteConsumption(const OrderRowKey& key, const ConsumptionPlan& plan);

    // --- the generation record of a customer-order line ---
    bool lineRecorded(const QString& year, int orderNumber, int lineDetail);
    void recordLine(const OrderLine& line, int slot, const QString& user, const QDate& date);

    // --- model "T" ---
    bool modelTRowExists(const QString& year, int orderNumber, int subQuote, int lineDetail);
    void insertModelTRow(const OrderLine& line, int subQuote, const kv::quotes::QuoteRow& quote,
                         const QString& customerShortName, const QDate& issued, const QDate& delivery,
                         double quantity);

private:
    kv::db::Connection& m_db;
};

} // namespace kv::production
