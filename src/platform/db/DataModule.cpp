#include "platform/db/DataModule.h"

#include <algorithm>

namespace kv::db {

DataModule::DataModule(QString name, QObject* parent) : QObject(parent) { setObjectName(name); }

DataModule::~DataModule()
{
    // Details before their masters: the last declared go first.
    while (!m_datasets.empty())
        m_datasets.pop_back();
}

Dataset& DataModule::add(const QString& datasetName, std::shared_ptr<Connection> connection, const QString& sql,
                         DatasetMode mode)
{
    if (find(datasetName))
        throw DbError(DbError::Kind::State,
                      QStringLiteral("O módulo «%1» já tem o conjunto de dados «%2».").arg(name(), datasetName));
    auto dataset = std::make_unique<Dataset>(datasetName);
    dataset->setConnection(std::move(connection));
    dataset->setSql(sql);
    dataset->setMode(mode);
    m_datasets.push_back(std::move(dataset));
    return *m_datasets.back();
}

Dataset& DataModule::dataset(const QString& datasetName)
{
    if (Dataset* found = find(datasetName))
        return *found;
    throw DbError(DbError::Kind::NotFound,
                  QStringLiteral("O módulo «%1» não tem o conjunto de dados «%2».").arg(name(), datasetName));
}

Dataset* DataModule::find(const QString& datasetName) const
{
    for (const auto& dataset : m_datasets)
        if (dataset->name().compare(datasetName, Qt::CaseInsensitive) == 0)
            return dataset.get();
    return nullptr;
}

QStringList DataModule::datasetNames() const
{
    QStringList names;
    for (const auto& dataset : m_datasets)
        names << dataset->name();
    return names;
}

void DataModule::closeAll()
{
    for (auto it = m_datasets.rbegin(); it != m_datasets.rend(); ++it)
        (*it)->close();
}

void DataModules::add(DataModule* module)
{
    if (!module)
        return;
    if (this->module(module->name()))
        throw DbError(DbError::Kind::State, QStringLiteral("O módulo de dados «%1» já existe.").arg(module->name()));
    m_modules.push_back(module);
}

void DataModules::remove(const QString& moduleName)
{
    m_modules.erase(
        std::remove_if(m_modules.begin(), m_modules.end(),
                       [&](DataModule* m) { return m->name().compare(moduleName, Qt::CaseInsensitive) == 0; }),
        m_modules.end());
}

DataModule* DataModules::module(const QString& moduleName) const
{
    for (DataModule* m : m_modules)
        if (m->name().compare(moduleName, Qt::CaseInsensitive) == 0)
            return m;
    return nullptr;
}

Dataset& DataModules::dataset(const QString& qualifiedName)
{
    const qsizetype dot = qualifiedName.indexOf(QLatin1Char('.'));
    if (dot <= 0)
        throw DbError(DbError::Kind::NotFound,
                      QStringLiteral("«%1» não é um nome de conjunto de dados (MÓDULO.CONJUNTO).").arg(qualifiedName));
    DataModule* m = module(qualifiedName.left(dot));
    if (!m)
        throw DbError(DbError::Kind::NotFound,
                      QStringLiteral("Não existe o módulo de dados «%1».").arg(qualifiedName.left(dot)));
    return m->dataset(qualifiedName.mid(dot + 1));
}

void DataModules::clear() { m_modules.clear(); }

} // namespace kv::db
