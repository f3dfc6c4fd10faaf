#pragma once

#include "shell/SubsystemUnit.h"

namespace kv::commercial {

// The commercial tables in the program: their shared datasets and forms.
kv::shell::SubsystemUnit commercialUnit();

} // namespace kv::commercial
