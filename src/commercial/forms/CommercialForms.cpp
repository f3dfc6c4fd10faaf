#include "commercial/forms/CommercialForms.h"

#include "platform/ui/FormRegistry.h"
#include "shell/Session.h"

namespace kv::commercial {

void registerCommercialForms(kv::shell::Session&, kv::ui::FormRegistry&) { }

} // namespace kv::commercial
