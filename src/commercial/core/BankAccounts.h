#pragma once

#include <QDateTime>
#include <QString>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::commercial {

// The kind of account every bank holds and that is never deleted on its own:
// demand deposits.
inline const QString DemandDepositKind = QStringLiteral("0");

// What a kind button or the demand-deposit account says when its kind is
// not (or no longer) in the kinds table.
QString missingKindMessage(const QString& kind);

// The accounts of one bank (BANCOSSALDOS), one per kind of account, over the
// invoicing connection the banks are kept on. Changes stay pending in
// rows() until they are applied, alone or with the bank's own row.
class BankAccounts {
public:
    explicit BankAccounts(std::shared_ptr<kv::db::Connection> invoicing);
    ~BankAccounts();
    BankAccounts(const BankAccounts&) = delete;
    BankAccounts& operator=(const BankAccounts&) = delete;

    kv::db::Dataset& rows() const { return *m_rows; }
    // Reads the accounts of `bank` afresh; what was pending is dropped.
    void openFor(int bank);
    void close();
    int bank() const { return m_bank; }

    // The description of a kind as the kinds table holds it now; none when
    // the kind is undefined.
    std::optional<QString> kindDescription(const QString& kind) const;
    bool has(const QString& kind) const;
    // Stands on the account of `kind`; false when the bank has none.
    bool locate(const QString& kind);
    // A new account of `kind` for the bank, pending: the kind's description
    // copied, opened `now`.
    void start(const QString& kind, const QString& description, const QDateTime& now);
    // The demand-deposit account the bank lacks, pending; false when it has
    // one already or its kind is undefined (`kindMissing` then true).
    bool startMissingDemandAccount(const QDateTime& now, bool& kindMissing);

    // Deletes the current bank of `banks` with every one of its accounts in
    // one transaction: all or nothing; when the database refuses, the bank
    // and its accounts stay as they were.
    static void deleteBank(kv::db::Dataset& banks);

private:
    std::shared_ptr<kv::db::Connection> m_connection;
    std::unique_ptr<kv::db::Dataset> m_rows;
    int m_bank = 0;
};

} // namespace kv::commercial
