#pragma once

#include "platform/text/RangeLimits.h"

#include <QDate>
#include <QString>

namespace kv::production {

// The limit pairs with which the production-order lists are chosen (the
// consultation and the closings): their bounds and messages, each pair
// reopening the selection when left valid.
kv::text::LimitPair customerLimits(const QString& name);
kv::text::LimitPair orderNumberLimits(const QString& name);
kv::text::LimitPair orderDateLimits(const QString& name, const QDate& from, const QDate& to);
kv::text::LimitPair articleLimits(const QString& name);

} // namespace kv::production
