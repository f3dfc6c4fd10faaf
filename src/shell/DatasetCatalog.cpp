#include "shell/DatasetCatalog.h"

#include "shell/Subsystems.h"

namespace kv::shell {

using db::DatasetMode;

DatasetDeclaration declareDataset(const char* module, CompanyDatabase database, const char* name, const char* table,
                                  char mode, const char* order, const char* where)
{
    DatasetDeclaration d;
    d.module = QString::fromLatin1(module);
    d.name = QString::fromLatin1(name);
    d.database = database;
    d.table = QString::fromLatin1(table);
    switch (mode) {
    case 'R':
        d.mode = DatasetMode::ReadOnly;
        d.errorHandler = false;
        break;
    case 'C':
        d.mode = DatasetMode::Cached;
        d.errorHandler = true;
        break;
    case 'N':
        d.mode = DatasetMode::Cached;
        d.errorHandler = false;
        break;
    default:
        d.mode = DatasetMode::CachedWithoutUpdateObject;
        d.errorHandler = false;
        break;
    }
    const QString o = QString::fromLatin1(order);
    if (!o.isEmpty())
        d.orderBy = o.split(QLatin1Char(','));
    d.where = QString::fromLatin1(where);
    return d;
}

void linkToMaster(std::vector<DatasetDeclaration>& datasets, const char* detail, const char* master,
                  std::vector<std::pair<QString, QString>> params)
{
    for (DatasetDeclaration& d : datasets)
        if (d.name == QLatin1String(detail)) {
            d.master = QString::fromLatin1(master);
            d.masterParams = std::move(params);
            return;
        }
}

QString DatasetDeclaration::selectSql(const QStringList& key) const
{
    QString sql = QStringLiteral("SELECT %1 FROM %2").arg(columns.isEmpty() ? QStringLiteral("*") : columns, table);
    if (!where.isEmpty())
        sql += QStringLiteral(" WHERE ") + where;
    const QStringList order = orderBy.isEmpty() ? key : orderBy;
    if (!order.isEmpty())
        sql += QStringLiteral(" ORDER BY ") + order.join(QStringLiteral(", "));
    return sql;
}

const QStringList& dataModuleNames()
{
    static const QStringList names{"DTDATABASE", "DTEMPRESAS", "DTTABELAS",  "DTFILES",
                                   "DTGTS",      "DTSTKPRD",   "ZURIVAVEZA", "DTVERSAO"};
    return names;
}

const QStringList& shutdownFreeOrder()
{
    static const QStringList names{"DTEMPRESAS", "DTFILES", "DTGTS", "DTSTKPRD", "DTTABELAS", "DTDATABASE"};
    return names;
}

const std::vector<DatasetDeclaration>& datasetCatalog() { return Subsystems::datasets(); }

} // namespace kv::shell
