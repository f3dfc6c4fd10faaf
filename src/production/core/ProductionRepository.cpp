#include "production/core/ProductionRepository.h"

#include "platform/db/Connection.h"

namespace kv::production {

ProductionRepository::ProductionRepository(kv::db::Connection& connection)
    : m_db(connection)
{
}

bool ProductionRepository::orderRowExists(const OrderRowKey& key)
{
    return m_db
        .scalar(QStringLiteral("SELECT 1 FROM ORDFABDET WHERE ANO = :ANO AND SEMANA = :SEMANA AND ORDNRO = :ORDNRO "
                               "AND SUBORC = :SUBORC AND DETAIL = :DETAIL"),
                {{"ANO", key.year},
                 {"SEMANA", key.week},
                 {"ORDNRO", key.orderNumber},
                 {"SUBORC", key.subQuote},
                 {"DETAIL", key.slot}})
        .isValid();
}

} // namespace kv::production
