#pragma once

#include "shell/LoginState.h"
#include "shell/ShellDataModules.h"

#include <functional>
#include <memory>

namespace kv::install {
class Installation;
}

namespace kv::quotes {

// What the quote forms take from the running program: the login state and
// the company's data modules, which outlive every form (the forms are modal).
struct QuoteFormsEnvironment {
    kv::shell::LoginState* state = nullptr;
    kv::shell::ShellDataModules* modules = nullptr;
    // The installation folder: its drive map finds the article pictures.
    const kv::install::Installation* installation = nullptr;

    std::shared_ptr<kv::db::Connection> application() const { return modules->connections().DbKavorime; }
    std::shared_ptr<kv::db::Connection> invoicing() const { return modules->connections().DbFacturacao; }
};

// Gives the environment of the session running now; asked each time a form
// is created, since a new login replaces the data modules.
using QuoteEnvironmentSource = std::function<QuoteFormsEnvironment()>;

} // namespace kv::quotes
