#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QString>
#include <QStringList>
#include <QVariant>
#include <memory>
#include <vector>

namespace kv::costing {

// One column of the general costing parameters as the form read it and as
// the user left it.
struct ParameterChange {
    QString column;
    QVariant read;
    QVariant edited;
};

// A counter that another workstation raised past the value the user typed
// while the form was open: the higher number stays.
struct CounterKept {
    QString column;
    qint64 typed = 0;
    qint64 stored = 0;
};

// The one row (CODIGO 1) of ORCPARGER: created when missing, saved column by
// column, and the checks of its stock link.
class GeneralParameters {
public:
    explicit GeneralParameters(kv::db::Connection& application) : m_db(application) {}

    // Creates row 1 with every other column empty when it is missing; true
    // when it did. Two workstations doing it at once create one row.
    bool ensureRow();

    // Writes, in one transaction, only the columns whose edited value differs
    // from the value read. A quote or production-order counter is written as
    // typed only when nobody raised it since the form read it; when another
    // workstation did, the higher of the two stays, so a number already
    // given out is never given again; each counter kept higher than typed is
    // returned so that the user can be told. Throws DbError when the row is
    // gone or the database refuses it; nothing is written then.
    std::vector<CounterKept> save(const std::vector<ParameterChange>& changes);

    // What the form tells the user of a counter kept higher than typed.
    static QString counterKeptMessage(const CounterKept& kept);

    // ORCNRO1..ORCNRO5 and OFNRO1..OFNRO5.
    static const QStringList& counterColumns();

    static QString missingRowMessage(); // "Parâmetros Gerais Inexistentes !!"

private:
    kv::db::Connection& m_db;
};

// The commercial cost line's base: "P" the sale price, "C" the cost price.
bool isIncidence(const QString& text);

// The outcome of a stock-link field check: refused with a message, or
// accepted with the name its label shows (empty for no link).
struct StockLinkCheck {
    bool accepted = true;
    QString message;
    QString name;
};

// A warehouse typed in the form: empty or "0" is no warehouse; any other
// value must be a CODIGO of the warehouses (DTSTKPRD.STKARMZ).
StockLinkCheck checkWarehouse(kv::db::Dataset& warehouses, const QString& text);

// The names the stock-link labels show for the row's values: the
// warehouse's NOME, the transaction's TRSNOM; empty when there is none.
QString warehouseName(kv::db::Dataset& warehouses, const QVariant& code);
QString transactionName(kv::db::Dataset& transactions, const QVariant& code);

// The purchasing departments (DEP_COMPRAS of the invoicing database) that
// the department field offers, by name; read only.
std::unique_ptr<kv::db::Dataset> departmentList(std::shared_ptr<kv::db::Connection> invoicing);

enum class TransactionKind { Entry, Issue };

// A stock transaction typed in the form: empty is no transaction; any other
// code must be a TRSCOD of DTSTKPRD.STKTRS of the kind the field needs.
StockLinkCheck checkTransaction(kv::db::Dataset& transactions, const QString& text, TransactionKind kind);

} // namespace kv::costing
