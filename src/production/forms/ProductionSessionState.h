#pragma once

#include "production/core/SelectedOrder.h"

namespace kv::production {

// What the production forms keep for the whole run of the program: made
// with the session's form registrations and gone with them.
struct ProductionSessionState {
    SelectedOrder selected; // what the consultation hands the forms it opens
};

} // namespace kv::production
