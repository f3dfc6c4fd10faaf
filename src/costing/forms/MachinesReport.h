#pragma once

#include "costing/forms/CostingEnvironment.h"

namespace kv::report {
class Report;
}

namespace kv::costing {

// The list of the machines table (TORCFPR009): a block per machine with its
// cost centre and glue named as the open machine form reads them.
void layoutMachinesReport(kv::report::Report& report, const CostingEnvironment& environment);

} // namespace kv::costing
