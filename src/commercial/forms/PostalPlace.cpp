#include "commercial/forms/PostalPlace.h"

#include "platform/db/Dataset.h"

namespace kv::commercial {

PostalPlace PostalPlace::of(const CommercialEnvironment& environment, const QString& code)
{
    PostalPlace place;
    kv::db::Dataset& codes = environment.dataset(QStringLiteral("DTTABELAS.CODPOSTAL"));
    const QString typed = code.trimmed();
    if (typed.isEmpty() || !codes.isOpen() || !codes.locate(QStringLiteral("CODPOSTAL"), typed))
        return place;
    place.found = true;
    place.locality = codes.value(QStringLiteral("LOCALIDADE")).toString();
    place.country = codes.value(QStringLiteral("PAIS")).toString();
    place.zonePrefix = codes.value(QStringLiteral("TELCODZONA"));
    kv::db::Dataset& countries = environment.dataset(QStringLiteral("DTTABELAS.PAISES"));
    if (place.country.trimmed().isEmpty() || !countries.isOpen()
        || !countries.locate(QStringLiteral("PAIS"), place.country))
        return place;
    place.countryFound = true;
    place.countryPrefix = countries.value(QStringLiteral("TELCODPAIS"));
    place.taxPrefix = countries.value(QStringLiteral("SIGLA"));
    return place;
}

} // namespace kv::commercial
