#pragma once

#include "platform/db/Params.h"
#include "platform/db/SqlDialect.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <vector>

namespace kv::db {

// A statement whose named parameters (":WAno", ":OLD_CODIGO", ":Edit_Artigo1.Text")
// were turned into the engine's numbered placeholders. Each distinct name
// (without regard to case) gets one number, in order of first appearance.
// String literals, quoted identifiers, comments and PostgreSQL casts ("::")
// are left alone, so a colon inside them is never taken for a parameter.
class NamedSql {
public:
    NamedSql() = default;
    NamedSql(const QString& sql, Dialect dialect);

    const QString& source() const { return m_source; }
    const QByteArray& text() const { return m_text; } // UTF-8, with ?N or $N
    const QStringList& names() const { return m_names; } // index i is placeholder i + 1

    // The values of the placeholders, in order; a name without a value throws DbError.
    std::vector<QVariant> bind(const Params& params) const;

private:
    QString m_source;
    QByteArray m_text;
    QStringList m_names;
};

} // namespace kv::db
