#include "shell/ShellDataModules.h"

#include "shell/VersionUpdate.h"

#include "platform/db/DbError.h"
#include "platform/install/Installation.h"
#include "schema/Schema.h"

namespace kv::shell {
namespace {

schema::Database schemaDatabase(CompanyDatabase database)
{
    switch (database) {
    case CompanyDatabase::Invoicing: return schema::Database::Invoicing;
    case CompanyDatabase::Accounting: return schema::Database::Accounting;
    case CompanyDatabase::Application: break;
    }
    return schema::Database::Application;
}

// The four DTEMPRESAS datasets that stay open while the module exists.
const QStringList& empresasOpenOrder()
{
    static const QStringList names{"APLICACAOCAP", "APLICACAOMST", "APLICACAODET", "PARAMTMP"};
    return names;
}

} // namespace

std::shared_ptr<db::Connection> CompanyConnections::of(CompanyDatabase database) const
{
    switch (database) {
    case CompanyDatabase::Invoicing: return DbFacturacao;
    case CompanyDatabase::Accounting: return DbContab;
    case CompanyDatabase::Application: break;
    }
    return DbKavorime;
}

ShellDataModules::ShellDataModules(const LoginState& state, const install::Installation& installation,
                                   db::UpdateErrorHandler errorHandler)
    : m_state(state), m_installation(installation), m_errorHandler(std::move(errorHandler))
{
}

ShellDataModules::~ShellDataModules() { freeAll(); }

void ShellDataModules::create()
{
    freeAll();
    try {
        for (const QString& name : dataModuleNames())
            createModule(name);
    } catch (...) {
        freeAll();
        throw;
    }
    m_tableColumns.clear();
}

void ShellDataModules::createModule(const QString& name)
{
    if (name == QLatin1String("DTDATABASE")) {
        auto open = [this](const QString& alias) {
            return db::Connection::open(m_installation.alias(alias, m_state.WParamUserName, m_state.WParamPassword));
        };
        m_connections.DbFacturacao = open(m_state.WBdFactura);
        m_connections.DbContab = open(m_state.WBdContab);
        m_connections.DbKavorime = open(m_state.WBdEspecif01);
    }
    auto module = std::make_unique<db::DataModule>(name);
    declareDatasets(*module);
    m_registry.add(module.get());
    m_modules.push_back(std::move(module));
    if (name == QLatin1String("DTEMPRESAS")) {
        db::DataModule& empresas = *m_modules.back();
        for (const QString& dataset : empresasOpenOrder())
            empresas.dataset(dataset).open();
    }
}

void ShellDataModules::declareDatasets(db::DataModule& module)
{
    for (const DatasetDeclaration& d : datasetCatalog()) {
        if (d.module != module.name())
            continue;
        const QStringList key = tableKey(d);
        db::Dataset& dataset = module.add(d.name, m_connections.of(d.database), d.selectSql(key), d.mode);
        if (d.hasUpdateObject())
            writeUpdateStatements(dataset, d);
        if (d.errorHandler && m_errorHandler)
            dataset.setErrorHandler(m_errorHandler);
        switch (d.filter) {
        case DatasetFilter::None: break;
        case DatasetFilter::WorkingYear:
            dataset.setFilter(
                [this](const db::Dataset& row) { return row.value(QStringLiteral("ANO")).toString() == m_state.WAno; });
            dataset.setFiltered(true);
            break;
        case DatasetFilter::TableCode:
            dataset.setFilter([this](const db::Dataset& row) {
                const QVariant code = row.value(QStringLiteral("TABCOD"));
                bool numeric = false;
                const int value = code.toString().trimmed().toInt(&numeric);
                return numeric && value == m_state.WTabCodFiltro;
            });
            dataset.setFiltered(true);
            break;
        }
        if (!d.master.isEmpty())
            dataset.setMaster(&module.dataset(d.master), d.masterParams);
    }
}

QStringList ShellDataModules::tableKey(const DatasetDeclaration& declaration) const
{
    if (const schema::Table* table =
            schema::Schema::standard().table(schemaDatabase(declaration.database), declaration.table))
        return table->keyColumns();
    for (const schema::Table& table : VersionUpdate::createdTables())
        if (table.name.compare(declaration.table, Qt::CaseInsensitive) == 0)
            return table.keyColumns();
    return {};
}

void ShellDataModules::writeUpdateStatements(db::Dataset& dataset, const DatasetDeclaration& declaration)
{
    // A table that a version step has yet to create cannot be opened either;
    // its statements are written once the step has run.
    const QHash<QString, QStringList>& tables = tableColumns(*dataset.connection());
    const auto table = tables.constFind(declaration.table.toUpper());
    if (table == tables.constEnd())
        return;
    const QStringList key = tableKey(declaration);
    if (key.isEmpty())
        throw db::DbError(db::DbError::Kind::Statement,
                          QStringLiteral("A tabela %1 não tem chave primária: o conjunto de dados "
                                         "%2.%3 não pode gravar alterações.")
                              .arg(declaration.table, declaration.module, declaration.name));
    dataset.setUpdateStatements(updateStatementsFor(declaration.table, *table, key));
}

const QHash<QString, QStringList>& ShellDataModules::tableColumns(db::Connection& connection)
{
    auto it = m_tableColumns.find(&connection);
    if (it == m_tableColumns.end())
        it = m_tableColumns.emplace(&connection, connection.tableColumns()).first;
    return it->second;
}

void ShellDataModules::refreshUpdateStatements()
{
    // The tables as the version steps left them, read once for all datasets.
    m_tableColumns.clear();
    for (const DatasetDeclaration& d : datasetCatalog()) {
        if (!d.hasUpdateObject())
            continue;
        if (db::DataModule* m = module(d.module)) {
            db::Dataset& dataset = m->dataset(d.name);
            const bool wasOpen = dataset.isOpen();
            if (wasOpen)
                dataset.close();
            writeUpdateStatements(dataset, d);
            if (wasOpen)
                dataset.open();
        }
    }
    m_tableColumns.clear();
}

db::UpdateStatements ShellDataModules::updateStatementsFor(const QString& table, const QStringList& columns,
                                                           const QStringList& key)
{
    // The dataset writes each record's statement itself: a changed row sets
    // only the columns changed, so what another workstation changed meanwhile
    // in the other columns stays.
    return db::UpdateStatements::forTable(table, columns, key);
}

void ShellDataModules::freeModule(const QString& name)
{
    for (auto it = m_modules.begin(); it != m_modules.end(); ++it) {
        if ((*it)->name() != name)
            continue;
        if (name == QLatin1String("DTEMPRESAS"))
            for (const QString& dataset : empresasOpenOrder())
                (*it)->dataset(dataset).close();
        m_registry.remove(name);
        m_modules.erase(it); // frees the module and its datasets
        break;
    }
    if (name == QLatin1String("DTDATABASE")) {
        m_connections.DbFacturacao.reset();
        m_connections.DbContab.reset();
        m_connections.DbKavorime.reset();
    }
}

void ShellDataModules::freeAll()
{
    for (const QString& name : dataModuleNames())
        freeModule(name);
    m_connections = {};
    m_tableColumns.clear();
}

void ShellDataModules::freeAtShutdown()
{
    for (const QString& name : shutdownFreeOrder())
        freeModule(name);
}

db::DataModule* ShellDataModules::module(const QString& name) const
{
    for (const auto& m : m_modules)
        if (m->name() == name)
            return m.get();
    return nullptr;
}

db::Dataset& ShellDataModules::dataset(const QString& qualifiedName) { return m_registry.dataset(qualifiedName); }

} // namespace kv::shell
