#pragma once

#include "shell/AccessRights.h"
#include "shell/LoginState.h"
#include "shell/ShellDataModules.h"

#include <memory>

namespace kv::shell {

// What a subsystem's forms take from the running program: the login state
// and the company's data modules, with the rights and the company name they
// read. Both outlive every form, which is modal.
class FormEnvironment {
public:
    FormEnvironment(LoginState& state, ShellDataModules& modules) : m_state(&state), m_modules(&modules) { }

    LoginState& state() const { return *m_state; }
    ShellDataModules& modules() const { return *m_modules; }
    kv::db::Dataset& dataset(const QString& qualifiedName) const { return m_modules->dataset(qualifiedName); }
    std::shared_ptr<kv::db::Connection> invoicing() const { return m_modules->connections().DbFacturacao; }
    std::shared_ptr<kv::db::Connection> accounting() const { return m_modules->connections().DbContab; }
    std::shared_ptr<kv::db::Connection> application() const { return m_modules->connections().DbKavorime; }

    // The user's rights row of a program under an application key and chapter.
    FormRights rights(RightsVariant variant, const QString& application, const QString& chapter,
                      const QString& program) const;
    // Whether a side door to another program's form shows.
    bool sideDoorVisible(const QString& application, const QString& chapter, const QString& program) const;

    // The company name of this user's login row, as the report footers print it.
    QString companyName() const;

private:
    LoginState* m_state;
    ShellDataModules* m_modules;
};

} // namespace kv::shell
