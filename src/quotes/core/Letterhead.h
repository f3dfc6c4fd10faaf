#pragma once

#include <QString>
#include <array>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::quotes {

// A colour as red, green, blue.
struct LetterheadColour {
    int red = 0;
    int green = 0;
    int blue = 0;
    bool operator==(const LetterheadColour&) const = default;
};

struct LetterheadStyle {
    bool bold = false;
    bool italic = false;
    bool operator==(const LetterheadStyle&) const = default;
};

// One of the eight letterhead lines of the year's FACTURAOBS row.
struct LetterheadLine {
    QString text;
    QString font;
    int size = 0;
    QString colour;
    QString boldFlag;
    QString italicFlag;
};

// The company's letterhead of a working year (kept outside this system).
struct Letterhead {
    static constexpr int Lines = 8;
    std::array<LetterheadLine, Lines> lines;

    // The year's row; nothing when the year has none.
    static std::optional<Letterhead> read(kv::db::Connection& invoicing, const QString& year);

    // The colour of a name, matched exactly (case and accents as written);
    // nothing for any other name, which keeps the line's look.
    static std::optional<LetterheadColour> colour(const QString& name);
    // The style of a pair of "S"/"N" flags; nothing for any other pair.
    static std::optional<LetterheadStyle> style(const QString& boldFlag, const QString& italicFlag);
};

} // namespace kv::quotes
