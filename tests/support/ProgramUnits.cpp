// The test kit's list of the program's subsystem units, the same as the main
// program's, assembled before the first test of every binary that links it.

#include "support/ProgramUnits.h"

#include "costing/unit/CostingUnit.h"
#include "production/unit/ProductionUnit.h"
#include "quotes/unit/QuotesUnit.h"
#include "shell/ShellUnit.h"
#include "shell/Subsystems.h"

#include <gtest/gtest.h>

namespace kv::test {

void assembleProgramUnits()
{
    static const bool assembled = [] {
        kv::shell::Subsystems::assemble({kv::shell::shellUnit(), kv::costing::costingUnit(),
                                         kv::quotes::quotesUnit(), kv::production::productionUnit()});
        return true;
    }();
    (void)assembled;
}

} // namespace kv::test

namespace {

class ProgramUnits : public ::testing::Environment {
public:
    void SetUp() override { kv::test::assembleProgramUnits(); }
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new ProgramUnits);

} // namespace
