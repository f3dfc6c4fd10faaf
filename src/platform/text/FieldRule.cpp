#include "platform/text/FieldRule.h"

#include "platform/text/NumberText.h"

namespace kv::text {

bool FieldRule::passes(const QString& text) const
{
    switch (kind) {
    case Kind::None: return true;
    case Kind::NotEmpty: return !text.isEmpty();
    case Kind::OneOf: return accepted.contains(text, Qt::CaseSensitive);
    case Kind::IntegerRange: {
        const auto number = parseInteger(text);
        return number && *number >= low && *number <= high;
    }
    }
    return true;
}

FieldRule FieldRule::notEmpty(const QString& message)
{
    FieldRule rule;
    rule.kind = Kind::NotEmpty;
    rule.message = message;
    return rule;
}

FieldRule FieldRule::oneOf(const QStringList& accepted, const QString& message)
{
    FieldRule rule;
    rule.kind = Kind::OneOf;
    rule.accepted = accepted;
    rule.message = message;
    return rule;
}

FieldRule FieldRule::integerRange(qint64 low, qint64 high, const QString& message)
{
    FieldRule rule;
    rule.kind = Kind::IntegerRange;
    rule.low = low;
    rule.high = high;
    rule.message = message;
    return rule;
}

} // namespace kv::text
