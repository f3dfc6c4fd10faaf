#pragma once

#include "shell/DatasetCatalog.h"
#include "shell/MainMenu.h"

#include "schema/Schema.h"

#include <QString>
#include <functional>
#include <vector>

namespace kv::ui {
class FormRegistry;
}

namespace kv::shell {

class Session;
class VersionStepContext;

// What a subsystem does to a company's application database to bring it to
// the version `step` reaches (4: "01.004"). The steps of one version run in
// the order the units are assembled, in one transaction with the recording of
// the version; each checks what already exists before it adds anything.
struct VersionStep {
    int step = 0;
    QString subsystem;
    std::function<void(VersionStepContext&)> run;
};

// Everything a subsystem brings into the program, so that the shell knows no
// subsystem by name: the shared datasets it declares in the data modules, the
// tables its version steps create, its version steps, the menus and toolbar
// entries it contributes with what each entry opens, and the registration of
// its forms. Each subsystem provides one function returning its unit; the
// program's main (and the test kit) list the units in order.
struct SubsystemUnit {
    QString name; // "costing"
    std::vector<DatasetDeclaration> datasets; // in creation order within their module
    std::vector<schema::Table> createdTables; // made by the unit's version steps
    std::vector<VersionStep> versionSteps;
    std::vector<MainMenu::Menu> menus; // in menu-bar order
    // The forms an entry of the unit's menus opens, given the login; an
    // empty form for an entry that opens none.
    std::function<FormOpening(const QString& item, const LoginState& state)> opening;
    // Adds the unit's forms to a session's registry.
    std::function<void(Session& session, ui::FormRegistry& forms)> registerForms;
};

// A table of the application database that a unit's version step creates.
schema::Table createdTable(const char* name, const char* subsystem, std::vector<schema::Column> columns);

} // namespace kv::shell
