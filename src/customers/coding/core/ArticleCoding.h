#pragma once

#include "platform/db/RecordClaims.h"

#include <QString>
#include <QVariantList>
#include <array>
#include <memory>
#include <optional>
#include <vector>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// How a customisation group numbers its codes (PARCUSTOM.REFERn).
enum class NumberMode {
    None, // "N": the code is only the parts
    Manual, // "M": the number is typed
    Automatic // anything else: the next number of the articles that match
};

// A group's sequence settings. A group without them (other than "1" to "9")
// places no number.
struct SequenceSettings {
    NumberMode mode = NumberMode::None;
    int position = 0; // character position of the number in the code, from 1
    int width = 0; // digits of the number
    bool placesNumber() const { return mode != NumberMode::None && position > 0; }
};

// One classification table of a group (a PARGRUPOS row).
struct CodingTable {
    int table = 0; // TABCOD 1..9
    QString name; // TABNOM
    QString order; // SEQREF: "0" or empty, no part in the code
    bool inScope = false; // REFER "S": its value binds the numbering
    bool perCountry = false; // PAIS other than "N"
    bool hasPart() const { return !order.isEmpty() && order != QLatin1String("0"); }
};

// A value of a table for "PORTUGAL" (a CUSTARTG row).
struct CodingValue {
    QString designation;
    QString reducedCode;
    QString reducedDesignation;
};

// The nine classification fields as typed: empty or a whole number.
using CodingFields = std::array<std::optional<int>, 9>;

// What the code building gives back.
struct BuiltCode {
    QString code;
    QString designation;
    bool numberPlaced = false;
    // A value with an empty reduced code stopped the building; the code stays
    // as built until then.
    bool badlyParameterised = false;
    // The bounds the automatic number was looked for with (per table: low, high).
    std::array<std::pair<int, int>, 9> bounds{};
};

// The article types and their groups, read once from PARCUSTOM row "1".
struct CodingParameters {
    std::array<QString, 11> groups; // GRUPOTIPO1..11
    std::array<SequenceSettings, 9> sequences; // per group "1".."9"
    QString baseCountry; // PAISBASE
    // The settings of a group: none for a group other than "1" to "9".
    SequenceSettings sequence(const QString& group) const;
};

// The automatic article coding: the code and designation of a new article
// from its classification values, with a sequence number typed or taken as
// the next among the stored articles of the same values. Reads only: the
// code is claimed at confirmation, so that two workstations never hand out
// the same one.
class ArticleCoding {
public:
    // Longest code an article holds (ARTIGOSCLS.CODIGO).
    static constexpr int CodeLength = 16;
    static constexpr int DesignationLength = 40;
    static constexpr int MaxValue = 32767; // what ARTIGOSCLS.CUSTOMn holds

    ArticleCoding(std::shared_ptr<kv::db::Connection> invoicing, QString workstation, QString user);

    // PARCUSTOM row "1"; nothing when it is missing.
    std::optional<CodingParameters> readParameters();
    // The group of an article type "1".."10"; nothing for another text. Type
    // "11" is refused like any other: the type message names 1 to 10.
    static std::optional<QString> groupOfType(const CodingParameters& parameters, const QString& type);

    // The group's tables in code order (SEQREF).
    std::vector<CodingTable> tables(const QString& group);
    // A value of a table for "PORTUGAL", by key.
    std::optional<CodingValue> value(const QString& group, int table, int number);

    // Builds the code: the parts of the tables in order, the number at the
    // sequence position (typed in `manualNumber` for the manual mode; the
    // next free one otherwise). A position off the parts' boundaries places
    // no number.
    BuiltCode build(const QString& group, const SequenceSettings& sequence, const CodingFields& fields,
                    const QString& manualNumber = {});

    // The greatest number at the sequence position among the articles of the
    // grid ("N") whose classification lies within the bounds, read as a
    // number (codes without digits there do not count); 0 when none.
    long long greatestNumber(const SequenceSettings& sequence, const std::array<std::pair<int, int>, 9>& bounds);

    // The values of one table for "PORTUGAL" (the lookup list), parameters
    // WtabGrupo and WTabCod.
    static QString valueListSql();

    // The numbering's filter on ARTIGOSCLS with its parameters, for the list
    // of the articles found.
    static QString matchingCondition();
    static QVariantList matchingParameters(const std::array<std::pair<int, int>, 9>& bounds);

    enum class Confirmation {
        Accepted, // the code is claimed for this workstation
        Empty, // nothing to confirm
        TooLong, // longer than an article code holds
        Taken // stored, or another workstation is opening it
    };
    // Claims the code for the article about to be opened. A claim this
    // workstation holds already is kept.
    Confirmation confirm(const QString& code);
    // Gives up a code this workstation claimed.
    void release(const QString& code);
    // Stored or held by another workstation.
    bool codeTaken(const QString& code);

    kv::db::RecordClaims& claims() { return m_claims; }

private:
    QString numberText(long long number, const SequenceSettings& sequence) const;
    QString nextNumber(const QString& codeSoFar, const QString& rest, const SequenceSettings& sequence,
                       const std::array<std::pair<int, int>, 9>& bounds);

    std::shared_ptr<kv::db::Connection> m_db;
    kv::db::RecordClaims m_claims;
};

} // namespace kv::customers
