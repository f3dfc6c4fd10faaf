#include "platform/db/SqlDialect.h"

namespace kv::db::sql {

QString identifier(Dialect dialect, const QString& name)
{
    QString text = dialect == Dialect::Postgres && name == name.toUpper() ? name.toLower() : name;
    text.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + text + QLatin1Char('"');
}

QString textCollation(Dialect)
{
    // The same name on both engines, so the schema's DDL reads alike.
    return QStringLiteral("pt_ci");
}

QString columnType(Dialect dialect, FieldType type, int size)
{
    const QString collate = QStringLiteral(" COLLATE ") + textCollation(dialect);
    switch (type) {
    case FieldType::Text: return QStringLiteral("VARCHAR(%1)").arg(size) + collate;
    case FieldType::Memo: return QStringLiteral("TEXT") + collate;
    case FieldType::Int16: return QStringLiteral("SMALLINT");
    case FieldType::Int32: return QStringLiteral("INTEGER");
    case FieldType::Int64: return QStringLiteral("BIGINT");
    case FieldType::Float: return QStringLiteral("DOUBLE PRECISION");
    case FieldType::DateTime: return QStringLiteral("TIMESTAMP");
    case FieldType::Blob: return dialect == Dialect::Postgres ? QStringLiteral("BYTEA") : QStringLiteral("BLOB");
    }
    return {};
}

static QString datePart(Dialect dialect, const QString& expr, const char* sqliteFormat, const char* pgField)
{
    if (dialect == Dialect::Sqlite)
        return QStringLiteral("CAST(strftime('%1', %2) AS INTEGER)").arg(QLatin1String(sqliteFormat), expr);
    return QStringLiteral("CAST(EXTRACT(%1 FROM %2) AS INTEGER)").arg(QLatin1String(pgField), expr);
}

QString yearOf(Dialect dialect, const QString& expr) { return datePart(dialect, expr, "%Y", "YEAR"); }
QString monthOf(Dialect dialect, const QString& expr) { return datePart(dialect, expr, "%m", "MONTH"); }
QString dayOf(Dialect dialect, const QString& expr) { return datePart(dialect, expr, "%d", "DAY"); }

QString concat(Dialect dialect, const QStringList& parts)
{
    if (parts.isEmpty())
        return QStringLiteral("''");
    if (dialect == Dialect::Postgres)
        return QStringLiteral("CONCAT(%1)").arg(parts.join(QStringLiteral(", ")));
    QStringList wrapped;
    for (const QString& part : parts)
        wrapped << QStringLiteral("COALESCE(%1, '')").arg(part);
    return QStringLiteral("(%1)").arg(wrapped.join(QStringLiteral(" || ")));
}

QString upsert(Dialect, const QString& table, const QStringList& keyColumns, const QStringList& otherColumns)
{
    const QStringList all = keyColumns + otherColumns;
    QStringList values;
    for (const QString& column : all)
        values << QLatin1Char(':') + column;
    QString sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3) ON CONFLICT (%4) ")
                      .arg(table, all.join(QStringLiteral(", ")), values.join(QStringLiteral(", ")),
                           keyColumns.join(QStringLiteral(", ")));
    if (otherColumns.isEmpty())
        return sql + QStringLiteral("DO NOTHING");
    QStringList sets;
    for (const QString& column : otherColumns)
        sets << QStringLiteral("%1 = excluded.%1").arg(column);
    return sql + QStringLiteral("DO UPDATE SET ") + sets.join(QStringLiteral(", "));
}

QString startsWith(Dialect dialect, const QString& expr, const QString& param)
{
    const QString p = QLatin1Char(':') + param;
    if (dialect == Dialect::Sqlite)
        return QStringLiteral("(substr(%1, 1, length(%2)) = %2 COLLATE %3)").arg(expr, p, textCollation(dialect));
    return QStringLiteral("(substr(CAST(%1 AS TEXT), 1, char_length(CAST(%2 AS TEXT))) = CAST(%2 AS TEXT) COLLATE %3)")
        .arg(expr, p, textCollation(dialect));
}

QString likePattern(Dialect dialect, const QString& expr, const QString& param)
{
    const QString p = QLatin1Char(':') + param;
    if (dialect == Dialect::Sqlite)
        return QStringLiteral("(%1 LIKE %2)").arg(expr, p);
    // The case-insensitive collation refuses LIKE: the plain byte order with
    // ILIKE gives the same matches.
    return QStringLiteral("(CAST(%1 AS TEXT) COLLATE \"C\" ILIKE CAST(%2 AS TEXT))").arg(expr, p);
}

} // namespace kv::db::sql
