#include "shell/Subsystems.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace kv::shell {
namespace {

struct Assembly {
    std::vector<SubsystemUnit> units;
    std::vector<DatasetDeclaration> datasets;
    std::vector<schema::Table> createdTables;
    std::vector<MainMenu::Menu> menus;
    int lastStep = 1;
};

std::optional<Assembly>& assembly()
{
    static std::optional<Assembly> assembled;
    return assembled;
}

const Assembly& assembled()
{
    if (!assembly())
        throw std::logic_error("The program's subsystems were not assembled before the shell used them");
    return *assembly();
}

} // namespace

schema::Table createdTable(const char* name, const char* subsystem, std::vector<schema::Column> columns)
{
    schema::Table table;
    table.name = QString::fromLatin1(name);
    table.database = schema::Database::Application;
    table.subsystem = QString::fromLatin1(subsystem);
    table.columns = std::move(columns);
    return table;
}

void Subsystems::assemble(std::vector<SubsystemUnit> units)
{
    Assembly a;
    a.units = std::move(units);
    for (const SubsystemUnit& unit : a.units) {
        a.datasets.insert(a.datasets.end(), unit.datasets.begin(), unit.datasets.end());
        a.createdTables.insert(a.createdTables.end(), unit.createdTables.begin(), unit.createdTables.end());
        a.menus.insert(a.menus.end(), unit.menus.begin(), unit.menus.end());
        for (const VersionStep& step : unit.versionSteps)
            a.lastStep = std::max(a.lastStep, step.step);
    }
    assembly() = std::move(a);
}

const std::vector<SubsystemUnit>& Subsystems::units() { return assembled().units; }

const std::vector<DatasetDeclaration>& Subsystems::datasets() { return assembled().datasets; }

const std::vector<schema::Table>& Subsystems::createdTables() { return assembled().createdTables; }

int Subsystems::lastVersionStep() { return assembled().lastStep; }

void Subsystems::runVersionStep(int step, VersionStepContext& context)
{
    for (const SubsystemUnit& unit : units())
        for (const VersionStep& s : unit.versionSteps)
            if (s.step == step)
                s.run(context);
}

const std::vector<MainMenu::Menu>& Subsystems::menus() { return assembled().menus; }

FormOpening Subsystems::opening(const QString& item, const LoginState& state)
{
    for (const SubsystemUnit& unit : units()) {
        if (!unit.opening)
            continue;
        FormOpening found = unit.opening(item, state);
        if (!found.form.isEmpty())
            return found;
    }
    return {};
}

void Subsystems::registerForms(Session& session, ui::FormRegistry& forms)
{
    for (const SubsystemUnit& unit : units())
        if (unit.registerForms)
            unit.registerForms(session, forms);
}

} // namespace kv::shell
