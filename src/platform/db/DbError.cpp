#include "platform/db/DbError.h"

namespace kv::db {

DbError::DbError(Kind kind, QString text, QString driverText)
    : std::runtime_error((driverText.isEmpty() ? text : text + QStringLiteral("\n") + driverText).toStdString()),
      m_kind(kind), m_text(std::move(text)), m_driverText(std::move(driverText))
{
}

QString DbError::fullText() const
{
    if (m_driverText.isEmpty())
        return m_text;
    return m_text + QStringLiteral("\n") + m_driverText;
}

} // namespace kv::db
