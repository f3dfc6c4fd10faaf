#include "platform/text/RangeLimits.h"

#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"

#include <stdexcept>

namespace kv::text {

RangeLimits::RangeLimits(std::vector<LimitPair> pairs) : m_pairs(std::move(pairs)), m_values(m_pairs.size())
{
    reset();
}

LimitPair RangeLimits::customers()
{
    LimitPair pair{QStringLiteral("customers"), LimitKind::Integer, qint64(0), qint64(99999999)};
    pair.emptyFrom = LimitPair::EmptyFrom::ShowsZero;
    pair.inverted = LimitWarning::box(QStringLiteral("Limite de Clientes Inválido ..."));
    return pair;
}

LimitPair RangeLimits::salesmen()
{
    LimitPair pair{QStringLiteral("salesmen"), LimitKind::Integer, qint64(1), qint64(99999999)};
    pair.inverted = LimitWarning::box(QStringLiteral("Limite de Vendedores Inválido ..."));
    return pair;
}

LimitPair RangeLimits::articles()
{
    LimitPair pair{QStringLiteral("articles"), LimitKind::Text, QString(), QString(16, QLatin1Char('Z'))};
    pair.inverted = LimitWarning::box(QStringLiteral("LIMITE DE ARTIGOS INVÁLIDO"));
    return pair;
}

LimitPair RangeLimits::numbers()
{
    LimitPair pair{QStringLiteral("numbers"), LimitKind::Integer, qint64(1), qint64(999999999)};
    pair.emptyFrom = LimitPair::EmptyFrom::Zero;
    pair.emptyTo = {QStringLiteral("Limite inválido !!!"), true, false};
    pair.inverted = {QStringLiteral("Selecção inválida !!!"), true, true};
    return pair;
}

LimitPair RangeLimits::dates(const QDate& workingDate)
{
    LimitPair pair{QStringLiteral("dates"), LimitKind::Date, workingDate, workingDate};
    pair.inverted = LimitWarning::box(QStringLiteral("LIMITE DE DATAS INVÁLIDO"));
    pair.reopensSelection = true;
    pair.clearsStatus = true;
    return pair;
}

LimitPair RangeLimits::approvalCustomers()
{
    LimitPair pair{QStringLiteral("customers"), LimitKind::Integer, qint64(0), qint64(999999999)};
    pair.emptyFrom = LimitPair::EmptyFrom::Zero;
    pair.emptyToKeeps = true;
    pair.reopensSelection = true;
    return pair;
}

namespace {

void warnOfLimit(const LimitWarning& warning, LimitExit& exit)
{
    exit.outcome = LimitExit::Outcome::Invalid;
    exit.message = warning.text;
    exit.inStatusBar = warning.inStatusBar;
    exit.focusFrom = warning.focusFrom;
}

} // namespace

int RangeLimits::indexOf(const QString& name) const
{
    for (std::size_t i = 0; i < m_pairs.size(); ++i) {
        if (m_pairs[i].name == name)
            return static_cast<int>(i);
    }
    throw std::invalid_argument("no limit pair " + name.toStdString());
}

const LimitPair& RangeLimits::pair(const QString& name) const { return m_pairs[indexOf(name)]; }

void RangeLimits::reset()
{
    for (std::size_t i = 0; i < m_pairs.size(); ++i)
        m_values[i] = {m_pairs[i].fromDefault, m_pairs[i].toDefault};
}

QString RangeLimits::defaultText(const QString& name, LimitSide side) const
{
    const LimitPair& limits = pair(name);
    const QVariant value = side == LimitSide::From ? limits.fromDefault : limits.toDefault;
    switch (limits.kind) {
    case LimitKind::Date: return date(value.toDate());
    case LimitKind::Integer:
        if (limits.single && value.toLongLong() == 0)
            return {};
        return QString::number(value.toLongLong());
    case LimitKind::Text: break;
    }
    return value.toString();
}

QVariant RangeLimits::from(const QString& name) const { return m_values[indexOf(name)].from; }

QVariant RangeLimits::to(const QString& name) const { return m_values[indexOf(name)].to; }

void RangeLimits::set(const QString& name, LimitSide side, const QVariant& value)
{
    Values& values = m_values[indexOf(name)];
    (side == LimitSide::From ? values.from : values.to) = value;
}

// A number limit is 0 before its text is read, so an unreadable number
// leaves 0; an unreadable date keeps the limit it had.
bool RangeLimits::read(const LimitPair& limits, const QString& text, QVariant& value, LimitExit& exit) const
{
    switch (limits.kind) {
    case LimitKind::Text: value = text; return true;
    case LimitKind::Integer: {
        value = qint64(0);
        const auto number = parseInteger(text);
        if (!number) {
            exit.outcome = LimitExit::Outcome::Unreadable;
            exit.message = notAnIntegerMessage(text);
            return false;
        }
        value = *number;
        return true;
    }
    case LimitKind::Date: {
        const auto day = parseDate(text);
        if (!day) {
            exit.outcome = LimitExit::Outcome::Unreadable;
            exit.message = notADateMessage(text);
            return false;
        }
        value = *day;
        return true;
    }
    }
    return false;
}

void RangeLimits::check(const LimitPair& limits, const Values& values, const QString& fromText, const QString& toText,
                        LimitExit& exit) const
{
    bool inverted = false;
    switch (limits.kind) {
    case LimitKind::Integer: inverted = values.to.toLongLong() < values.from.toLongLong(); break;
    case LimitKind::Date: inverted = values.to.toDate() < values.from.toDate(); break;
    case LimitKind::Text:
        // Character codes, as typed: lower case orders after capitals.
        inverted = QString::compare(toText, fromText, Qt::CaseSensitive) < 0;
        break;
    }
    if (inverted && !limits.inverted.text.isEmpty()) {
        warnOfLimit(limits.inverted, exit);
        return;
    }
    exit.reopen = limits.reopensSelection;
}

LimitExit RangeLimits::leave(const QString& name, LimitSide side, const QString& fromText, const QString& toText)
{
    const int index = indexOf(name);
    const LimitPair& limits = m_pairs[index];
    Values& values = m_values[index];
    LimitExit exit;
    exit.clearStatus = limits.clearsStatus;

    if (limits.checksOnEitherExit) {
        if (read(limits, fromText, values.from, exit) && read(limits, toText, values.to, exit))
            check(limits, values, fromText, toText, exit);
        return exit;
    }

    if (side == LimitSide::From) {
        if (fromText.trimmed().isEmpty() && !limits.emptyFromRefused.text.isEmpty()) {
            warnOfLimit(limits.emptyFromRefused, exit);
            return exit;
        }
        if (fromText.trimmed().isEmpty() && limits.emptyFrom != LimitPair::EmptyFrom::Unreadable) {
            values.from = limits.kind == LimitKind::Text ? QVariant(QString()) : QVariant(qint64(0));
            if (limits.emptyFrom == LimitPair::EmptyFrom::ShowsZero) {
                exit.shows = true;
                exit.shownText = QStringLiteral("0");
            }
            return exit;
        }
        read(limits, fromText, values.from, exit);
        return exit;
    }

    if (toText.trimmed().isEmpty() && limits.emptyToKeeps)
        return exit;
    if (toText.trimmed().isEmpty() && !limits.emptyTo.text.isEmpty()) {
        values.to = qint64(0);
        warnOfLimit(limits.emptyTo, exit);
        return exit;
    }
    if (read(limits, toText, values.to, exit))
        check(limits, values, fromText, toText, exit);
    return exit;
}

} // namespace kv::text
