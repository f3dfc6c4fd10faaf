#pragma once

#include "platform/db/Dataset.h"

#include <QObject>
#include <QString>
#include <map>
#include <memory>

namespace kv::db {

// A named group of shared datasets ("DTFILES", "ZURIVAVEZA"); a dataset is
// reached as module.dataset("CLIENTES") or through DataModules by its full
// name "DTFILES.CLIENTES". Datasets are owned by the module and freed with it.
class DataModule : public QObject {
    Q_OBJECT
public:
    explicit DataModule(QString name, QObject* parent = nullptr);
    ~DataModule() override;

    QString name() const { return objectName(); }

    // Declares a dataset; returns it for further configuration.
    Dataset& add(const QString& datasetName, std::shared_ptr<Connection> connection, const QString& sql,
                 DatasetMode mode);
    Dataset& dataset(const QString& datasetName); // throws DbError when absent
    Dataset* find(const QString& datasetName) const; // nullptr when absent
    QStringList datasetNames() const; // in declaration order
    void closeAll();

private:
    std::vector<std::unique_ptr<Dataset>> m_datasets;
};

// The data modules of a login, by name.
class DataModules {
public:
    void add(DataModule* module); // not owned
    void remove(const QString& moduleName);
    DataModule* module(const QString& moduleName) const;
    Dataset& dataset(const QString& qualifiedName); // "DTFILES.CLIENTES"; throws DbError
    void clear();

private:
    std::vector<DataModule*> m_modules;
};

} // namespace kv::db
