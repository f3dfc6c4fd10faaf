#include "commercial/core/WorkingYear.h"

#include "platform/db/Connection.h"

namespace kv::commercial {

bool workingYearExists(kv::db::Connection& invoicing, const QString& year)
{
    return invoicing.scalar(QStringLiteral("SELECT COUNT(*) FROM PARGER WHERE ANO = :ANO"), {{"ANO", year}}).toInt() >
           0;
}

} // namespace kv::commercial
