#include "platform/ui/FieldText.h"

#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

namespace kv::ui {

using kv::db::FieldType;

QString fieldText(FieldType type, const QVariant& value)
{
    if (!value.isValid() || value.isNull())
        return {};
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64: return QString::number(value.toLongLong());
    case FieldType::Float: return kv::text::plain(value.toDouble());
    case FieldType::DateTime: {
        const QDateTime when = value.toDateTime();
        if (when.time() == QTime(0, 0))
            return kv::text::date(when.date());
        return kv::text::dateTime(when);
    }
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Blob: break;
    }
    return value.toString();
}

bool parseFieldText(FieldType type, const QString& text, QVariant* value, QString* error)
{
    const QString trimmed = text.trimmed();
    if (type != FieldType::Text && type != FieldType::Memo && type != FieldType::Blob && trimmed.isEmpty()) {
        *value = QVariant();
        return true;
    }
    switch (type) {
    case FieldType::Int16:
    case FieldType::Int32:
    case FieldType::Int64:
        if (auto number = kv::text::parseInteger(trimmed)) {
            *value = QVariant::fromValue<qlonglong>(*number);
            return true;
        }
        *error = kv::text::notAnIntegerMessage(text);
        return false;
    case FieldType::Float:
        if (auto number = kv::text::parseNumber(trimmed)) {
            *value = *number;
            return true;
        }
        *error = kv::text::notANumberMessage(text);
        return false;
    case FieldType::DateTime:
        if (auto date = kv::text::parseDate(trimmed)) {
            *value = QDateTime(*date, QTime(0, 0));
            return true;
        }
        *error = kv::text::notADateMessage(text);
        return false;
    case FieldType::Text:
    case FieldType::Memo:
    case FieldType::Blob: break;
    }
    *value = text;
    return true;
}

} // namespace kv::ui
