#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::customers {

// The customer file as the program assembles it: its forms (no menu entry).
kv::shell::SubsystemUnit customersUnit();

} // namespace kv::customers
