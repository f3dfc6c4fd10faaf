#pragma once

namespace kv::test {

// Assembles the program's subsystem units once. Every binary linking the
// test kit gets it before its first test; a binary whose case list is read
// from the units (every registered form) calls it before listing.
void assembleProgramUnits();

} // namespace kv::test
