#pragma once

#include "costing/forms/CodeTableDescription.h"

namespace kv::costing {

// The machines table MAQUINAS in TORCF009: a top block and the pages
// "Produção", "Consumo de Colas" and "Tempos de Acerto", whose keyboard path
// follows the machine type, the cost centre of the accounting database and
// the glue of the machine; its list report prints a block per machine.
CodeTableDescription machinesMember();

} // namespace kv::costing
