#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <vector>

namespace kv::db {
class Connection;
class Dataset;
} // namespace kv::db

namespace kv::commercial {

// The accounting switch of the working year: the commercial tables link to
// the accounting only when PARGER.CONTABILIDADE is exactly "S" (an empty,
// lower-case or any other value keeps the link off).
bool accountingLinkOn(const QVariant& contabilidade);
// Reads the year's PARGER row; no row keeps the link off.
bool accountingLinkOn(kv::db::Connection& invoicing, const QString& year);

// Which accounts of the chart a field accepts. Account codes compare as
// text, character by character, so "68" as the lower limit admits "681" and
// "7" and refuses "6".
struct AccountRange {
    QString from; // lowest code admitted; empty: no lower limit
    QString through; // highest code admitted; empty: no such limit
    QString below; // codes must be lower than this; empty: no such limit
    QString type; // only accounts of this TIPO; empty: any type
    QStringList excluded; // codes refused although inside the limits

    bool admits(const QString& code, const QString& accountType) const;
    bool operator==(const AccountRange& other) const = default;

    static AccountRange familySales(); // from "68"
    static AccountRange familyPurchases(); // from "30"
    static AccountRange countryRoots(); // integration accounts from "21", "27" excluded
    static AccountRange vatAccounts(); // "243" through "2438999999999"
    static AccountRange bankAccounts(); // below "20"
};

// What a code is in a lookup set.
enum class LinkStatus {
    Empty, // nothing to look up: accepted
    Found,
    NotFound, // unknown to the year, or outside the set's range
    NotPosting // found, but its TIPO is not "L" and the field wants a posting code
};

// One row of a lookup set: the code, its name (NOME, DESIGN or DESCRICAO)
// and its type (TIPO; empty for VAT codes).
struct LinkedCode {
    QString code;
    QString name;
    QString type;
};

// The working year's rows of one lookup set (a range of the chart of
// accounts, the posting cost centres or the accounting's VAT codes), read
// once and kept by code: every check and refresh is one keyed search. The
// list holds the same rows in code order for the lookup dialog.
class LookupSet {
public:
    enum class Kind { Accounts, CostCentres, VatCodes };

    ~LookupSet();
    LookupSet(const LookupSet&) = delete;
    LookupSet& operator=(const LookupSet&) = delete;

    Kind kind() const { return m_kind; }
    // The code column of the list (CONTA, CODIGO).
    QString codeColumn() const;
    // The name column of the list (NOME, DESIGN, DESCRICAO).
    QString nameColumn() const;

    // Exact match of the whole code, letter case counting; VAT codes are
    // numbers, so " 05" finds code 5.
    const LinkedCode* find(const QString& code) const;
    // `entry`, when given, gets the row found (nullptr when none).
    LinkStatus check(const QString& code, bool postingOnly, const LinkedCode** entry = nullptr) const;
    int size() const { return static_cast<int>(m_codes.size()); }

    // The list under the lookup dialog; position() puts it on a code's row
    // (false, list unmoved, when the code is not in the set).
    kv::db::Dataset& list() { return *m_list; }
    bool position(const QString& code);

private:
    friend class AccountLookups;
    LookupSet(Kind kind, std::shared_ptr<kv::db::Connection> accounting, const QString& year,
              const AccountRange& range);
    QString key(const QString& code) const;

    Kind m_kind;
    AccountRange m_range;
    std::unique_ptr<kv::db::Dataset> m_list;
    std::vector<LinkedCode> m_codes; // in list order
    QHash<QString, int> m_rows; // code -> row of the list
};

// The lookup sets of one form while it is open: built at its activation for
// the working year, each set read from the accounting database the first
// time a field asks for it and shared by every field of that range. While
// the accounting switch is off no set is read and none is given.
class AccountLookups {
public:
    AccountLookups(std::shared_ptr<kv::db::Connection> accounting, QString year, bool linkOn);
    ~AccountLookups();
    AccountLookups(const AccountLookups&) = delete;
    AccountLookups& operator=(const AccountLookups&) = delete;

    bool linkOn() const { return m_linkOn; }
    const QString& year() const { return m_year; }

    // nullptr while the switch is off. Throws kv::db::DbError when the
    // accounting database refuses the read.
    LookupSet* accounts(const AccountRange& range);
    LookupSet* costCentres(); // CCUSTO rows of TIPO "L"
    LookupSet* vatCodes(); // the accounting's IVA

    // Drops every set read (the form closes).
    void close();

private:
    LookupSet* set(LookupSet::Kind kind, const AccountRange& range);

    std::shared_ptr<kv::db::Connection> m_accounting;
    QString m_year;
    bool m_linkOn;
    std::vector<std::unique_ptr<LookupSet>> m_sets;
};

} // namespace kv::commercial
