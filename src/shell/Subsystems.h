#pragma once

#include "shell/SubsystemUnit.h"

#include <vector>

namespace kv::shell {

// The subsystems of the program, assembled once in the order the program's
// main lists them (the test kit lists the same), before any session starts.
// It is the program's make-up, not a session's state: the shell reads the
// data modules' datasets, the version steps and the menu from it.
class Subsystems {
public:
    static void assemble(std::vector<SubsystemUnit> units);
    // Throws std::logic_error until the units are assembled.
    static const std::vector<SubsystemUnit>& units();

    // Every shared dataset, unit by unit.
    static const std::vector<DatasetDeclaration>& datasets();
    static const std::vector<schema::Table>& createdTables();
    // The highest version step of any unit.
    static int lastVersionStep();
    // Runs the units' steps of one version, in unit order.
    static void runVersionStep(int step, VersionStepContext& context);

    static const std::vector<MainMenu::Menu>& menus();
    static FormOpening opening(const QString& item, const LoginState& state);
    static void registerForms(Session& session, ui::FormRegistry& forms);
};

} // namespace kv::shell
