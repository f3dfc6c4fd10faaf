// The program's subsystem units, assembled before the first test of every
// binary that links this.

#include "program/ProgramUnits.h"

#include <gtest/gtest.h>

namespace {

class ProgramUnits : public ::testing::Environment {
public:
    void SetUp() override { kv::program::assembleUnits(); }
};

[[maybe_unused]] ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new ProgramUnits);

} // namespace
