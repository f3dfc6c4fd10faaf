#pragma once

#include "commercial/forms/CommercialEnvironment.h"

#include <QString>
#include <QVariant>

namespace kv::commercial {

// A postal code as the shared tables hold it (DTTABELAS.CODPOSTAL and
// DTTABELAS.PAISES): its locality, its zone's telephone prefix, and its
// country with the country's prefixes. The files with an address fill
// their country and prefixes from it.
struct PostalPlace {
    bool found = false; // the code is a postal code (an empty one never is)
    bool countryFound = false; // its country is in the countries' table
    QString locality;
    QString country;
    QVariant zonePrefix; // TELCODZONA of the postal code
    QVariant countryPrefix; // TELCODPAIS of the country
    QVariant taxPrefix; // SIGLA of the country

    // Located in the open shared tables, which stand on the rows found.
    static PostalPlace of(const CommercialEnvironment& environment, const QString& code);
};

} // namespace kv::commercial
