#pragma once

#include <QString>
#include <optional>

namespace kv::db {
class Connection;
}

namespace kv::customers {

// The designations and prices of an article per country (ARTIGOSPAIS).
class ArticleCountries {
public:
    // Gives the article one row for every country of PAISES it lacks (an
    // empty designation, no prices), in one statement: the number of rows
    // added; nothing when PAISES is empty.
    // The article's rows (parameter WMoeArtigo) by country.
    static QString rowsSql();

    static std::optional<long long> addMissing(kv::db::Connection& invoicing, const QString& article);
};

} // namespace kv::customers
