#pragma once

#include "platform/db/Connection.h"
#include "platform/db/TwoDatabaseWork.h"

#include <QStringList>
#include <array>
#include <functional>
#include <memory>
#include <optional>

namespace kv::notify {
class MessageSink;
}

namespace kv::customers {

// The two switches of the year's commercial parameters.
struct AccountSwitches {
    QString accounting; // CONTABILIDADE
    QString automatic; // CONTABAUTO

    // "N" means no accounting link; any other value links.
    bool linked() const { return accounting != QLatin1String("N"); }
    // The automatic creation runs for any value but "N" ...
    bool createsAutomatically() const { return linked() && automatic != QLatin1String("N"); }
    // ... while the automatic mode's lists and "Conta&b" need "S".
    bool automaticMode() const { return accounting == QLatin1String("S") && automatic == QLatin1String("S"); }
    bool manualMode() const { return accounting == QLatin1String("S") && automatic == QLatin1String("N"); }
};

// The account columns of a country row, account n at index n - 1.
struct CountryAccounts {
    QString country;
    QString taxPrefix; // SIGLA
    QString market; // MERCADO
    std::array<QString, 5> roots;
    std::array<int, 5> digits{};
    std::array<QString, 5> openFlags;
};

// What the accounts take of a customer.
struct AccountCustomer {
    int code = 0;
    QString codeText; // as shown in "Cliente :"; the decimal code when empty
    QString name;
    QString currency;
    QString taxPrefix;
    QString taxNumber;
    QString address1;
    QString address2;
    QString postalCode;
};

// Account n built for a customer (or why it could not be).
struct BuiltAccount {
    QString root;
    QString account;
    int level = 0;
    QString error; // the message; empty when built
    bool ok() const { return error.isEmpty(); }
};

// How an account's edit and "Abrir" button stand after a step, and the
// account the customer's row takes (when `assign`).
struct AccountStep {
    bool editEnabled = true;
    bool buttonEnabled = true;
    bool assign = false; // the customer's account n := account
    QString account;
    bool error = false;
    bool written = false; // a chart row was opened
};

// The messages of a bulk run, gathered to be shown at its end.
struct BulkRunResult {
    QStringList messages;
    int customers = 0;
    int accountsWritten = 0;
};

// A customer's accounts in the chart of the accounting database: account
// numbers built from the country of the customer's postal code, opened with
// their period-total rows and the annual recap, each opening in one
// transaction of the accounting database.
class CustomerAccounts {
public:
    using Status = std::function<void(const QString&)>; // status panel 0
    using Progress = std::function<void(int done, int total)>;

    CustomerAccounts(std::shared_ptr<kv::db::Connection> invoicing, std::shared_ptr<kv::db::Connection> accounting,
                     QString year, kv::notify::MessageSink& messages, Status status = {});

    static AccountSwitches readSwitches(kv::db::Connection& invoicing, const QString& year);
    // The country of a postal code, read by key; none when the postal code or
    // its country is missing.
    std::optional<CountryAccounts> countryOfPostalCode(const QString& postalCode) const;
    std::optional<CountryAccounts> country(const QString& name) const;

    // Account n (1 to 5) for a customer part, refused below the minimum level.
    BuiltAccount build(int n, const CountryAccounts& country, const QString& customerPart, int minimumLevel) const;
    bool exists(const QString& account) const;
    // Opens a built account unless the chart has it: chart row, period rows
    // (foreign-currency rows too when the customer has a currency) and, for
    // accounts under "211", the recap, in one transaction. True when written.
    bool open(const BuiltAccount& built, const AccountCustomer& customer, const CountryAccounts& country);

    // The automatic creation of account n, on the page or at the save; a
    // failure beeps and shows its message.
    AccountStep createAutomatically(int n, const AccountCustomer& customer, bool newCustomer,
                                    const QString& accountInEdit);
    // "Abrir" n: builds with the minimum level 2 and opens whatever the open
    // flag says.
    AccountStep openButton(int n, const AccountCustomer& customer, bool insertMode);

    // "Conta&b": every customer's accounts, in code order, read a page at a
    // time. Each account's customer column and chart rows are written as one
    // two-database operation. Messages are gathered, not shown.
    BulkRunResult openAll(kv::db::TwoDatabaseWork& work, const QString& user, const Progress& progress = {});

    // The kind of the bulk run's operations; the customer file registers it.
    static kv::db::TwoDatabaseKind bulkAccountKind();

    // The posting accounts the manual mode picks from, by name.
    static QString postingAccountsSql();
    kv::db::Params postingAccountsParams() const;

    static int minimumAutomaticLevel(int n) { return n == 4 ? 4 : n == 5 ? 5 : 2; }

private:
    static QString customerPart(const AccountCustomer& customer);
    void setStatus(const QString& text) const;

    std::shared_ptr<kv::db::Connection> m_invoicing;
    std::shared_ptr<kv::db::Connection> m_accounting;
    QString m_year;
    kv::notify::MessageSink& m_messages;
    Status m_status;
};

} // namespace kv::customers
