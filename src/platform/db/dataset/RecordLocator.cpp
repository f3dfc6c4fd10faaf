#include "platform/db/dataset/RecordLocator.h"

#include "platform/db/dataset/FieldConversion.h"

#include <QDateTime>

namespace kv::db {

RecordLocator::RecordLocator(const Dataset& dataset, const QStringList& fields, const QVariantList& values, int options)
    : m_options(options)
{
    for (qsizetype i = 0; i < fields.size(); ++i) {
        const int c = dataset.fieldIndex(fields[i]);
        if (c < 0)
            throw DbError(
                DbError::Kind::NotFound,
                QStringLiteral("O conjunto de dados «%1» não tem o campo «%2».").arg(dataset.name(), fields[i]));
        const FieldDef& def = dataset.fieldDef(c);
        m_columns.push_back(c);
        m_types.push_back(def.type);
        const QVariant v = i < values.size() ? values[i] : QVariant();
        if (v.isNull() || (options & LocatePartialKey && !isNumericType(def.type)))
            m_wanted.push_back(v.isNull() ? QVariant() : QVariant(v.toString()));
        else {
            try {
                FieldDef loose = def;
                loose.size = 0; // a longer search text simply finds nothing
                m_wanted.push_back(FieldConversion::convert(loose, v));
            } catch (const DbError&) {
                m_canMatch = false; // a value the field cannot hold matches no row
                return;
            }
        }
    }
}

bool RecordLocator::matches(const std::function<QVariant(int)>& valueOf) const
{
    const Qt::CaseSensitivity cs = m_options & LocateCaseInsensitive ? Qt::CaseInsensitive : Qt::CaseSensitive;
    for (std::size_t i = 0; i < m_columns.size(); ++i) {
        const QVariant have = valueOf(m_columns[i]);
        const QVariant& want = m_wanted[i];
        if (want.isNull() || have.isNull()) {
            if (want.isNull() != have.isNull())
                return false;
            continue;
        }
        const FieldType type = m_types[i];
        if (type == FieldType::Text || type == FieldType::Memo
            || (m_options & LocatePartialKey && !isNumericType(type))) {
            const QString text = type == FieldType::DateTime
                                     ? have.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                                     : have.toString();
            const QString key = want.toString();
            if (m_options & LocatePartialKey ? !text.startsWith(key, cs) : text.compare(key, cs) != 0)
                return false;
        } else if (type == FieldType::Float) {
            if (have.toDouble() != want.toDouble())
                return false;
        } else if (!FieldConversion::same(have, want)) {
            return false;
        }
    }
    return true;
}

} // namespace kv::db
