#pragma once

#include "platform/text/FieldRule.h"

namespace kv::costing {

using kv::text::FieldRule;

} // namespace kv::costing
