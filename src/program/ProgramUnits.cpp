#include "program/ProgramUnits.h"

#include "commercial/unit/CommercialUnit.h"
#include "costing/unit/CostingUnit.h"
#include "customers/unit/CustomersUnit.h"
#include "production/unit/ProductionUnit.h"
#include "quotes/unit/QuotesUnit.h"
#include "shell/ShellUnit.h"
#include "shell/Subsystems.h"

namespace kv::program {

void assembleUnits()
{
    static const bool assembled = [] {
        shell::Subsystems::assemble({shell::shellUnit(), costing::costingUnit(), commercial::commercialUnit(),
                                     customers::customersUnit(),
                                     quotes::quotesUnit(), production::productionUnit()});
        return true;
    }();
    (void)assembled;
}

} // namespace kv::program
