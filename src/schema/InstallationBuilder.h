#pragma once

#include "schema/Schema.h"

#include "platform/install/Installation.h"

#include <QHash>
#include <QString>
#include <QVariant>
#include <optional>

namespace kv::schema {

// A PostgreSQL server that holds an installation's databases.
struct PostgresServer {
    QString host;
    int port = 5432;
    QString user;
    QString password;
    // Database names are this prefix followed by the alias in lower case.
    QString databasePrefix = QStringLiteral("palvexworks_");
};

struct InstallationOptions {
    QString workstation; // empty: this computer's host name
    QString workstationType = QStringLiteral("S");
    std::optional<PostgresServer> postgres; // none: embedded SQLite files
    int companyNumber = 1;
    QString companyName = QStringLiteral("Empresa de Demonstração");
    // A demo installation also holds the definition's demo rows: the demo
    // user (DemoInstallation) with every right, the workstation's login row
    // dated today, and the rows of the current working year.
    bool demo = false;
};

// The aliases an installation's company uses; general alias is "QXRGERAL".
struct CompanyAliases {
    QString application; // BDESPECIF01
    QString invoicing; // BDFACTURA
    QString accounting; // BDCONTAB
    static CompanyAliases forCompany(int number);
};

// Creates a fresh installation in a folder that does not exist or is empty:
// folders, workstation files, alias file, credentials file (owner-only), and
// the general database plus the company's three databases with their schema
// and rows (each database in one transaction; demo rows only when asked
// for). On failure nothing of it is left behind: the folder's new content is
// removed and the PostgreSQL databases it created are dropped. Errors are
// InstallationError with a Portuguese text.
class InstallationBuilder {
public:
    explicit InstallationBuilder(InstallationOptions options = {}, const Schema& schema = Schema::standard());

    kv::install::Installation create(const QString& folder);

    static QString generalAlias() { return QStringLiteral("QXRGERAL"); }

private:
    InstallationOptions m_options;
    const Schema& m_schema;
};

// What keeps an installation from being created, in Portuguese.
class InstallationError : public SchemaError {
public:
    using SchemaError::SchemaError;
};

} // namespace kv::schema
