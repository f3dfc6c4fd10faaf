#include "costing/core/CodeKey.h"

#include "platform/text/NumberText.h"

#include <algorithm>

namespace kv::costing {

KeyBounds storableBounds(const KeyBounds& bounds, kv::db::FieldType keyType)
{
    qint64 low = bounds.minimum;
    qint64 high = bounds.maximum;
    switch (keyType) {
    case kv::db::FieldType::Int16:
        low = std::max<qint64>(low, -32768);
        high = std::min<qint64>(high, 32767);
        break;
    case kv::db::FieldType::Int32:
        low = std::max<qint64>(low, -2147483648LL);
        high = std::min<qint64>(high, 2147483647LL);
        break;
    default: break;
    }
    return {low, high};
}

KeyCheck checkKey(const QString& text, const KeyBounds& bounds, kv::db::FieldType keyType,
                  const std::function<bool(qint64)>& exists)
{
    KeyCheck check;
    if (text.trimmed().isEmpty())
        return check;
    const std::optional<qint64> code = kv::text::parseInteger(text);
    const KeyBounds storable = storableBounds(bounds, keyType);
    if (!code || *code < storable.minimum || *code > storable.maximum) {
        check.verdict = KeyVerdict::Invalid;
        return check;
    }
    check.code = *code;
    check.verdict = exists && exists(*code) ? KeyVerdict::Taken : KeyVerdict::Free;
    return check;
}

qint64 proposeKey(std::optional<qint64> highest) { return highest ? *highest + 1 : 1; }

QString invalidKeyMessage() { return QStringLiteral("Codigo Inválido ... <ENTER>"); }

QString takenKeyMessage() { return QStringLiteral("REGISTO JÁ FOI ABERTO ... <ENTER>"); }

} // namespace kv::costing
