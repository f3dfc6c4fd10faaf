#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// One customisation table of a group as its form keeps it.
struct CustomisationTable {
    QString group; // TABGRUPO
    QString table; // TABCOD "1".."9"
    QString name; // TABNOM
    bool perCountry = false; // PARGRUPOS.PAIS other than "N"
    QString baseCountry; // PARCUSTOM.PAISBASE, the default base of a new country
};

// The values of the customisation tables (CUSTARTG) per country: which
// country a form maintains, the seeding of a new country from a base one,
// the number proposed for a new value and the numbers an article can hold.
class CustomisationTables {
public:
    static constexpr int LowestValue = 1;
    static constexpr int HighestValue = 32767; // what ARTIGOSCLS.CUSTOMn holds
    static inline const QString Portugal = QStringLiteral("PORTUGAL");

    explicit CustomisationTables(std::shared_ptr<kv::db::Connection> invoicing);

    // The table's PARGRUPOS row with PARCUSTOM row "1"; nothing when either
    // is missing.
    std::optional<CustomisationTable> read(const QString& group, const QString& table);

    enum class CountryChoice {
        Maintain, // the country has rows: maintain it
        FirstUse, // the table has no row at all: its first rows are "PORTUGAL"'s
        NeedsBase // only other countries have rows: seed it from a base country
    };
    CountryChoice choose(const CustomisationTable& table, const QString& country);

    enum class Seeding {
        Maintain, // the new country is ready (seeded, or empty beside other countries' rows)
        MissingBase // the table is empty and the base is another country
    };
    // Copies every row of the base country into the new one (the rows the
    // new country lacks), in one transaction.
    Seeding seed(const CustomisationTable& table, const QString& country, const QString& base);

    // The last number of the country plus one; 1 for an empty country.
    int proposal(const CustomisationTable& table, const QString& country);

    // The values of the table (parameters WTabGrupo, WTabCod; TabPais for one
    // country): one country or every country by number, or every country by
    // country for the list of the whole table.
    enum class Rows { OneCountry, EveryCountry, EveryCountryByCountry };
    static QString valuesSql(Rows rows);

    // Whether an article's classification column can hold the number.
    static bool holdsValue(long long number) { return number >= LowestValue && number <= HighestValue; }
    // "TABELA DE <name> (ARTIGOS)".
    static QString title(const QString& name);
    // The rights program of the group's tables.
    static QString rightsProgram(const QString& digit);

private:
    bool hasRows(const CustomisationTable& table, const QString* country);

    std::shared_ptr<kv::db::Connection> m_db;
};

} // namespace kv::customers
