#include "production/core/OrderRangeLimits.h"

namespace kv::production {

using kv::text::LimitKind;
using kv::text::LimitPair;
using kv::text::LimitWarning;

LimitPair customerLimits(const QString& name)
{
    LimitPair pair{name, LimitKind::Integer, qint64(1), qint64(99999999)};
    pair.emptyFromRefused = LimitWarning::box(QStringLiteral("Cliente Inválido"));
    pair.emptyTo = LimitWarning::box(QStringLiteral("Cliente Inválido"));
    pair.inverted = LimitWarning::box(QStringLiteral("Limite de Clientes Inválido"));
    pair.reopensSelection = true;
    return pair;
}

LimitPair orderNumberLimits(const QString& name)
{
    LimitPair pair{name, LimitKind::Integer, qint64(1), qint64(999999999)};
    pair.emptyTo = LimitWarning::box(QStringLiteral("Limite inválido inválida !!!"));
    pair.inverted = LimitWarning::box(QStringLiteral("Selecção inválida !!!"));
    pair.reopensSelection = true;
    return pair;
}

LimitPair orderDateLimits(const QString& name, const QDate& from, const QDate& to)
{
    LimitPair pair{name, LimitKind::Date, from, to};
    pair.inverted = LimitWarning::box(QStringLiteral("LIMITE DE DATAS INVÁLIDO"));
    pair.reopensSelection = true;
    return pair;
}

LimitPair articleLimits(const QString& name)
{
    LimitPair pair{name, LimitKind::Text, QString(), QString(16, QLatin1Char('Z'))};
    pair.inverted = LimitWarning::box(QStringLiteral("LIMITE DE ARTIGOS INVÁLIDO"));
    pair.reopensSelection = true;
    return pair;
}

} // namespace kv::production
