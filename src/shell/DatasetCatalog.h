#pragma once

#include "platform/db/Dataset.h"

#include <QString>
#include <vector>

namespace kv::shell {

// The company database a dataset reads.
enum class CompanyDatabase { Invoicing, Accounting, Application };

// A record filter that follows the login state.
enum class DatasetFilter {
    None,
    WorkingYear, // ANO = WAno
    TableCode // TABCOD = WTabCodFiltro
};

// One shared dataset of a data module, as declared once for the whole program.
struct DatasetDeclaration {
    QString module; // "DTFILES"
    QString name; // "CLIENTES"
    CompanyDatabase database;
    QString table; // "CLIENTES"
    db::DatasetMode mode;
    bool errorHandler; // hands refused records to the update-error dialog
    QString columns; // "" for every column
    QString where; // "" or the condition, with its parameters
    QStringList orderBy; // empty: the table's key
    DatasetFilter filter = DatasetFilter::None;
    QString master; // dataset of the same module whose current row feeds `where`
    std::vector<std::pair<QString, QString>> masterParams; // parameter <- master field

    // The statement, given the table's key for the order when none is declared.
    QString selectSql(const QStringList& key) const;
    bool hasUpdateObject() const { return mode == db::DatasetMode::Cached; }
};

// A declaration as the units write them. Modes: R read-only, C cached with
// the update-error dialog, N cached without it (errors reach the caller), X
// cached without update object (changes never written). `order` is a comma
// list of columns ("" for the table's key).
DatasetDeclaration declareDataset(const char* module, CompanyDatabase database, const char* name, const char* table,
                                  char mode, const char* order = "", const char* where = "");
// Makes the detail dataset follow its master's current row (same module).
void linkToMaster(std::vector<DatasetDeclaration>& datasets, const char* detail, const char* master,
                  std::vector<std::pair<QString, QString>> params);

// The eight data modules in the order the login creates them.
const QStringList& dataModuleNames();
// The modules a shut-down frees, in that order; the others go with the program.
const QStringList& shutdownFreeOrder();
// Every shared dataset the assembled units declare, unit by unit.
const std::vector<DatasetDeclaration>& datasetCatalog();

} // namespace kv::shell
