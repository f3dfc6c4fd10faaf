#include "platform/db/dataset/FieldConversion.h"

#include "platform/db/DbError.h"
#include "platform/db/engine/NativeConnection.h"
#include "platform/db/engine/RowStore.h"

#include <QDateTime>
#include <cmath>
#include <limits>

namespace kv::db {

namespace {

[[noreturn]] void refuseValue(const FieldDef& def, const QString& text)
{
    throw DbError(DbError::Kind::ValueRange, text.arg(def.name));
}

} // namespace

QVariant FieldConversion::nullOf(FieldType type) { return RowStore::nullValue(type); }

QVariant FieldConversion::convert(const FieldDef& def, const QVariant& value)
{
    if (isNullValue(value) || !value.isValid())
        return nullOf(def.type);
    switch (def.type) {
    case FieldType::Text:
    case FieldType::Memo: {
        QString text = value.metaType().id() == QMetaType::QDateTime
                           ? value.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"))
                           : value.toString();
        if (def.type == FieldType::Text && def.size > 0 && text.size() > def.size)
            throw DbError(DbError::Kind::TextTooLong,
                          QStringLiteral("O texto do campo «%1» tem %2 caracteres e o campo aceita no máximo %3.")
                              .arg(def.name)
                              .arg(text.size())
                              .arg(def.size));
        return QVariant(text);
    }
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: {
        qlonglong v = 0;
        bool ok = false;
        const int id = value.metaType().id();
        if (id == QMetaType::Double || id == QMetaType::Float) {
            const double d = value.toDouble();
            ok = std::isfinite(d) && d == std::trunc(d) && std::fabs(d) < 9.2e18;
            v = ok ? qlonglong(d) : 0;
        } else if (id == QMetaType::QString || id == QMetaType::QByteArray) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return nullOf(def.type);
            v = text.toLongLong(&ok);
        } else {
            v = value.toLongLong(&ok);
        }
        if (!ok)
            refuseValue(def, QStringLiteral("«%2» não é um número inteiro válido para o campo «%1».")
                                 .arg(QStringLiteral("%1"), value.toString()));
        qlonglong low = std::numeric_limits<qlonglong>::min(), high = std::numeric_limits<qlonglong>::max();
        if (def.type == FieldType::Int16) {
            low = -32768;
            high = 32767;
        } else if (def.type == FieldType::Int32) {
            low = std::numeric_limits<int>::min();
            high = std::numeric_limits<int>::max();
        }
        if (v < low || v > high)
            throw DbError(DbError::Kind::ValueRange,
                          QStringLiteral("O valor %1 está fora dos limites do campo «%2» (%3 a %4).")
                              .arg(v)
                              .arg(def.name)
                              .arg(low)
                              .arg(high));
        return def.type == FieldType::Int64 ? QVariant(v) : QVariant(int(v));
    }
    case FieldType::Float: {
        bool ok = false;
        double v;
        if (value.metaType().id() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return nullOf(def.type);
            v = text.toDouble(&ok);
            if (!ok)
                v = QString(text).replace(QLatin1Char(','), QLatin1Char('.')).toDouble(&ok);
        } else {
            v = value.toDouble(&ok);
        }
        if (!ok || !std::isfinite(v))
            refuseValue(def, QStringLiteral("«%2» não é um número válido para o campo «%1».")
                                 .arg(QStringLiteral("%1"), value.toString()));
        return QVariant(v);
    }
    case FieldType::DateTime: {
        QDateTime dt;
        if (value.metaType().id() == QMetaType::QDate)
            dt = value.toDate().startOfDay();
        else if (value.metaType().id() == QMetaType::QString) {
            const QString text = value.toString().trimmed();
            if (text.isEmpty())
                return nullOf(def.type);
            qint64 jd = 0;
            int ms = 0;
            const QByteArray utf8 = text.toUtf8();
            if (RowStore::parseDateTime(utf8.constData(), std::size_t(utf8.size()), jd, ms))
                dt = RowStore::dateTimeValue(jd, ms).toDateTime();
        } else
            dt = value.toDateTime();
        if (!dt.isValid())
            refuseValue(def, QStringLiteral("«%2» não é uma data válida para o campo «%1».")
                                 .arg(QStringLiteral("%1"), value.toString()));
        return QVariant(dt);
    }
    case FieldType::Blob: return QVariant(value.toByteArray());
    }
    return value;
}

bool FieldConversion::same(const QVariant& a, const QVariant& b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull();
    return a == b;
}

} // namespace kv::db
