#include "platform/report/FieldFormat.h"

#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <QDate>
#include <QDateTime>

namespace kv::report {

namespace {

bool isNumber(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Double:
    case QMetaType::Float:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong: return true;
    default: return false;
    }
}

QString zeros(int decimals) { return decimals > 0 ? QStringLiteral(".") + QString(decimals, u'0') : QString(); }

} // namespace

FieldFormat::FieldFormat(Kind kind, int decimals, QString pattern)
    : m_kind(kind), m_decimals(decimals), m_pattern(std::move(pattern))
{
}

FieldFormat FieldFormat::money(int decimals) { return {Kind::Money, decimals}; }
FieldFormat FieldFormat::number(int decimals) { return {Kind::Number, decimals}; }
FieldFormat FieldFormat::fixed(int decimals) { return {Kind::Fixed, decimals}; }
FieldFormat FieldFormat::pattern(const QString& format) { return {Kind::Pattern, 0, format}; }
FieldFormat FieldFormat::percent() { return {Kind::Percent, 0}; }
FieldFormat FieldFormat::date() { return {Kind::Date, 0}; }
FieldFormat FieldFormat::dateTime() { return {Kind::DateTime, 0}; }
FieldFormat FieldFormat::hoursMinutes() { return {Kind::HoursMinutes, 0}; }

bool FieldFormat::isNumeric(const QVariant& value) const
{
    return isNumber(value) && m_kind != Kind::HoursMinutes && m_kind != Kind::Date && m_kind != Kind::DateTime;
}

QString FieldFormat::text(const QVariant& value) const
{
    if (value.isNull() || !value.isValid())
        return {};
    const bool numeric = isNumber(value);
    const double v = numeric ? value.toDouble() : 0.0;
    switch (m_kind) {
    case Kind::Money: return numeric ? kv::text::money(v, m_decimals) : value.toString();
    case Kind::Number: return numeric ? kv::text::number(v, m_decimals) : value.toString();
    case Kind::Fixed: return numeric ? kv::text::fixed(v, m_decimals) : value.toString();
    case Kind::Pattern: return numeric ? kv::text::formatted(v, m_pattern) : value.toString();
    case Kind::Percent: return numeric ? kv::text::percent(v) : value.toString();
    case Kind::HoursMinutes: return numeric ? kv::text::hoursMinutesText(v) : value.toString();
    case Kind::Date: return kv::text::date(value.toDate());
    case Kind::DateTime: return kv::text::dateTime(value.toDateTime());
    case Kind::Auto: break;
    }
    if (numeric)
        return kv::text::plain(v);
    if (value.typeId() == QMetaType::QDate)
        return kv::text::date(value.toDate());
    if (value.typeId() == QMetaType::QDateTime) {
        const QDateTime dt = value.toDateTime();
        return dt.time() == QTime(0, 0) ? kv::text::date(dt.date()) : kv::text::dateTime(dt);
    }
    return value.toString();
}

QString FieldFormat::sheetFormat() const
{
    switch (m_kind) {
    case Kind::Money: return QStringLiteral("#,##0%1 \"€\"").arg(zeros(m_decimals));
    case Kind::Number: return QStringLiteral("#,##0%1").arg(zeros(m_decimals));
    case Kind::Fixed: return QStringLiteral("0%1").arg(zeros(m_decimals));
    case Kind::Pattern: return m_pattern;
    case Kind::Percent: return QStringLiteral("General\" %\"");
    default: return {};
    }
}

} // namespace kv::report
