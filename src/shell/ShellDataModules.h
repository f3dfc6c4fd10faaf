#pragma once

#include "shell/DatasetCatalog.h"
#include "shell/LoginState.h"

#include "platform/db/Connection.h"
#include "platform/db/DataModule.h"
#include "platform/db/Dataset.h"

#include <QHash>
#include <map>
#include <memory>
#include <vector>

namespace kv::install {
class Installation;
}

namespace kv::shell {

// The company's three database connections (the DTDATABASE module).
struct CompanyConnections {
    std::shared_ptr<db::Connection> DbFacturacao; // invoicing database (WBdFactura)
    std::shared_ptr<db::Connection> DbContab; // accounting database (WBdContab)
    std::shared_ptr<db::Connection> DbKavorime; // application database (WBdEspecif01)

    std::shared_ptr<db::Connection> of(CompanyDatabase database) const;
};

// The eight data modules of an open company with every shared dataset. The
// datasets are declared once in the dataset catalogue; this class turns the
// declarations into datasets on the company's connections, with their modes,
// statements, update statements, filters, master-detail links and the
// update-error handler the program plugs in.
class ShellDataModules {
public:
    // `state` must outlive the modules: the filters read it row by row.
    ShellDataModules(const LoginState& state, const install::Installation& installation,
                     db::UpdateErrorHandler errorHandler = {});
    ~ShellDataModules();

    ShellDataModules(const ShellDataModules&) = delete;
    ShellDataModules& operator=(const ShellDataModules&) = delete;

    // Connects the three company databases with the state's aliases and login
    // lines (in the order invoicing, accounting, application), then creates
    // the modules in their order; DTEMPRESAS opens APLICACAOCAP, APLICACAOMST,
    // APLICACAODET and PARAMTMP. Throws DbError; nothing is left half-created.
    void create();
    bool exists() const { return !m_modules.empty(); }

    // Writes the update statements of every cached dataset again from the
    // columns its table has now (after a schema version step).
    void refreshUpdateStatements();

    // Frees every module in creation order (before a company is opened again).
    void freeAll();
    // Frees the modules a closing main window frees, in its order; ZURIVAVEZA
    // and DTVERSAO stay until the object is destroyed.
    void freeAtShutdown();

    db::DataModule* module(const QString& name) const;
    db::Dataset& dataset(const QString& qualifiedName); // "DTFILES.CLIENTES"; throws DbError
    db::DataModules& registry() { return m_registry; }
    const CompanyConnections& connections() const { return m_connections; }

    // The update statements of a table with `columns`, rows found by `key`
    // (written by the dataset record by record: see db::UpdateStatements).
    static db::UpdateStatements updateStatementsFor(const QString& table, const QStringList& columns,
                                                    const QStringList& key);

private:
    void createModule(const QString& name);
    void freeModule(const QString& name);
    void declareDatasets(db::DataModule& module);
    void writeUpdateStatements(db::Dataset& dataset, const DatasetDeclaration& declaration);
    QStringList tableKey(const DatasetDeclaration& declaration) const;
    // The columns of every table of the connection's database, read once
    // while the modules are created or their statements rewritten.
    const QHash<QString, QStringList>& tableColumns(db::Connection& connection);

    const LoginState& m_state;
    const install::Installation& m_installation;
    db::UpdateErrorHandler m_errorHandler;
    CompanyConnections m_connections;
    std::vector<std::unique_ptr<db::DataModule>> m_modules; // in creation order
    db::DataModules m_registry;
    std::map<const db::Connection*, QHash<QString, QStringList>> m_tableColumns;
};

} // namespace kv::shell
