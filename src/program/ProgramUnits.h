#pragma once

namespace kv::program {

// Assembles the program's subsystem units, in the order their datasets,
// version steps and menus are read, once per process. The main program, the
// user administration program and the tests share this one list, so a
// company opened by any of them sees the same tables.
void assembleUnits();

} // namespace kv::program
