#pragma once

#include "platform/db/RecordClaims.h"

#include <QString>
#include <QVariantMap>
#include <memory>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::customers {

class CustomerSaveStep;

// What the customer's postal code says of where the customer is: the postal
// code's row and the row of its own country (never another country's).
struct PostalPlace {
    bool found = false; // the postal code exists
    QString locality, zone, region, province, telZone;
    bool countryFound = false;
    QString country, market, taxPrefix, telCountry;
};

// A check of the save that failed: the page of the customer form to show,
// the message and the field to focus (empty: the focus stays).
struct SaveRefusal {
    int page = 0;
    QString message;
    QString field;
};

// The customer file's rules and writes on the invoicing database: new
// numbers with their claims, the field checks that read other tables (all by
// key), and the save of a customer with the rows stored beside it.
class CustomerFile {
public:
    static constexpr long long HighestNumber = 999999999;
    static const QString Table; // "CLIENTES"

    enum class NumberCheck { Accepted, OutOfRange, Taken };

    // `accounting` holds the currencies (may be null where none are read).
    CustomerFile(std::shared_ptr<kv::db::Connection> invoicing, QString workstation, QString user,
                 std::shared_ptr<kv::db::Connection> accounting = {});

    kv::db::Connection& connection() const { return *m_db; }
    kv::db::RecordClaims& claims() { return m_claims; }

    // "&Inserir": the highest number stored plus one, passing over numbers
    // other workstations are creating (whatever the list's order).
    long long proposeNumber();
    // Leaving the new number: in range, not stored, and now claimed for this
    // workstation (a claim it already holds is kept).
    NumberCheck acceptNumber(long long number);
    // A new customer given up: its claim ends.
    void releaseNumber(long long number);

    // The customer that already has this taxpayer number, other than
    // `customer`; none for "." (no number).
    std::optional<int> taxpayerHolder(const QString& taxpayer, int customer);

    PostalPlace postalPlace(const QString& postalCode);
    // An existing salesman (0 and empty are none).
    bool salesmanExists(long long salesman);

    // The checks of the save, in their order, over the row being stored;
    // the first that fails.
    std::optional<SaveRefusal> saveRefusal(const kv::db::Dataset& customers);

    // Stores the customer row being edited in `customers` (a cached dataset
    // over CLIENTES) with the steps' rows, in one transaction: the country's
    // market, taxpayer prefix and country from its own postal code, the
    // groups of a new customer, no agent as 0. A new customer's claim ends in
    // the same transaction. On a failure nothing is stored, the row keeps its
    // changes and the exception reaches the caller.
    // False when the update-error dialog left the row unwritten (Skip).
    bool store(kv::db::Dataset& customers, bool isNew, const std::vector<CustomerSaveStep*>& steps);

    // The row of a code table (postal codes, salesmen, ...) found by its key
    // columns; empty when there is none or a key is empty. The currencies
    // (CNTPMOEDA) are the accounting database's.
    QVariantMap codeRow(const QString& table, const QStringList& keyColumns, const QVariantList& keys);
    kv::db::Connection& databaseOf(const QString& table) const;
    std::shared_ptr<kv::db::Connection> connectionOf(const QString& table) const;

    // The statement of the name search: every column, names matching a LIKE
    // pattern in :EDIT_NOMECLI.TEXT (bound, never pasted), in name order.
    QString nameSearchSql() const;

private:
    std::shared_ptr<kv::db::Connection> m_db;
    std::shared_ptr<kv::db::Connection> m_accounting;
    kv::db::RecordClaims m_claims;
};

} // namespace kv::customers
