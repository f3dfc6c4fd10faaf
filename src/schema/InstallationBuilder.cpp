#include "schema/InstallationBuilder.h"

#include "schema/DemoInstallation.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSysInfo>

namespace kv::schema {

using kv::db::Connection;
using kv::db::ConnectionSettings;
using kv::db::DbError;
using kv::db::Dialect;
using kv::install::Installation;

namespace {

struct Target {
    Database database;
    QString alias;
};

QString errorText(const std::exception& e)
{
    if (const auto* db = dynamic_cast<const DbError*>(&e))
        return db->fullText();
    if (const auto* schema = dynamic_cast<const SchemaError*>(&e))
        return schema->text();
    return QString::fromLocal8Bit(e.what());
}

void writeText(const QString& path, const QString& text, QFileDevice::Permissions permissions)
{
    QFile file(path);
    // Created with its permissions from the start, so a secret is never readable by others.
    if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Text, permissions)
        || file.write(text.toUtf8()) < 0 || !file.flush())
        throw InstallationError(
            QStringLiteral("Não foi possível escrever o ficheiro %1: %2").arg(path, file.errorString()));
}

QString randomSecret()
{
    static const QString alphabet = QStringLiteral("ABCDEFGHJKLMNPQRSTUVWXYZabcdefghijkmnopqrstuvwxyz23456789");
    QString secret;
    for (int i = 0; i < 20; ++i)
        secret += alphabet.at(QRandomGenerator::system()->bounded(alphabet.size()));
    return secret;
}

class Builder {
public:
    Builder(const InstallationOptions& options, const Schema& schema, const QString& folder)
        : m_options(options), m_schema(schema), m_installation(folder)
    {
        const CompanyAliases aliases = CompanyAliases::forCompany(options.companyNumber);
        m_targets = {{Database::General, InstallationBuilder::generalAlias()},
                     {Database::Application, aliases.application},
                     {Database::Invoicing, aliases.invoicing},
                     {Database::Accounting, aliases.accounting}};
        m_workstation = options.workstation.trimmed();
        if (m_workstation.isEmpty())
            m_workstation = QSysInfo::machineHostName().toUpper().left(30);
        if (m_workstation.isEmpty())
            m_workstation = QStringLiteral("PC");
    }

    Installation run()
    {
        checkOptions();
        checkFolder();
        if (m_options.postgres)
            checkServer();
        try {
            writeFiles();
            for (const Target& target : m_targets)
                createDatabase(target);
        } catch (const std::exception& e) {
            const QString text = errorText(e);
            undo();
            throw InstallationError(QStringLiteral("A instalação não foi criada: %1").arg(text));
        }
        return m_installation;
    }

private:
    void checkOptions() const
    {
        if (m_workstation.size() > 30)
            throw InstallationError(
                QStringLiteral("O nome do computador \"%1\" tem mais de 30 caracteres.").arg(m_workstation));
        if (m_options.workstationType.size() != 1)
            throw InstallationError(QStringLiteral("O tipo de computador deve ser um só carácter."));
        if (m_options.companyNumber < 1 || m_options.companyNumber > 99)
            throw InstallationError(QStringLiteral("O número da empresa deve estar entre 1 e 99."));
        if (m_options.postgres) {
            static const QRegularExpression safe(QStringLiteral("^[a-z_][a-z0-9_]*$"));
            if (!safe.match(m_options.postgres->databasePrefix).hasMatch())
                throw InstallationError(QStringLiteral("Prefixo de base de dados inválido: \"%1\".")
                                            .arg(m_options.postgres->databasePrefix));
            if (m_options.postgres->host.isEmpty())
                throw InstallationError(QStringLiteral("Falta o servidor PostgreSQL (host=)."));
        }
    }

    void checkFolder()
    {
        const QString root = m_installation.root();
        const QFileInfo info(root);
        if (info.exists() && !info.isDir())
            throw InstallationError(QStringLiteral("%1 existe e não é uma pasta.").arg(root));
        if (info.exists() && !QDir(root).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot))
            throw InstallationError(
                QStringLiteral("A pasta %1 não está vazia: escolha uma pasta nova ou vazia.").arg(root));
        m_createdRoot = !info.exists();
        if (!QDir().mkpath(root))
            throw InstallationError(QStringLiteral("Não foi possível criar a pasta %1.").arg(root));
    }

    ConnectionSettings serverSettings(const QString& database) const
    {
        ConnectionSettings s;
        s.alias = database;
        s.dialect = Dialect::Postgres;
        s.host = m_options.postgres->host;
        s.port = m_options.postgres->port;
        s.user = m_options.postgres->user;
        s.password = m_options.postgres->password;
        s.database = database;
        return s;
    }

    std::shared_ptr<Connection> server() const { return Connection::open(serverSettings(QStringLiteral("postgres"))); }

    static bool serverHas(Connection& server, const QString& database)
    {
        return !server
                    .scalar(QStringLiteral("SELECT 1 FROM pg_database WHERE datname = :name"),
                            {{QStringLiteral("name"), database}})
                    .isNull();
    }

    QString serverDatabase(const QString& alias) const { return m_options.postgres->databasePrefix + alias.toLower(); }

    // Refuses, before anything is written, a server whose databases of this
    // installation already hold tables.
    void checkServer()
    {
        try {
            auto maintenance = server();
            for (const Target& target : m_targets) {
                const QString name = serverDatabase(target.alias);
                if (!serverHas(*maintenance, name))
                    continue;
                auto existing = Connection::open(serverSettings(name));
                const qlonglong tables = existing
                                             ->scalar(QStringLiteral("SELECT COUNT(*) FROM information_schema.tables "
                                                                     "WHERE table_schema = current_schema()"))
                                             .toLongLong();
                if (tables > 0)
                    throw InstallationError(QStringLiteral("A base de dados %1 do servidor %2 já tem tabelas.")
                                                .arg(name, m_options.postgres->host));
            }
        } catch (const InstallationError&) {
            undoFolder();
            throw;
        } catch (const std::exception& e) {
            undoFolder();
            throw InstallationError(QStringLiteral("A instalação não foi criada: %1").arg(errorText(e)));
        }
    }

    void writeFiles()
    {
        for (const QString& folder : {QFileInfo(m_installation.workstationFile()).path(), m_installation.pdfFolder(),
                                      m_installation.dataFolder()})
            if (!QDir().mkpath(folder))
                throw InstallationError(QStringLiteral("Não foi possível criar a pasta %1.").arg(folder));
        // The database files hold what the credentials file guards, the users'
        // passwords included: owner only, as it is.
        if (!QFile::setPermissions(m_installation.dataFolder(),
                                   QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner))
            throw InstallationError(
                QStringLiteral("Não foi possível restringir o acesso à pasta %1.").arg(m_installation.dataFolder()));

        const auto normal =
            QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup | QFileDevice::ReadOther;
        writeText(m_installation.workstationFile(), m_workstation + QLatin1Char('\n'), normal);
        writeText(m_installation.workstationTypeFile(), m_options.workstationType + QLatin1Char('\n'), normal);

        QString aliases = QStringLiteral("; Onde está cada base de dados desta instalação.\n");
        for (const Target& target : m_targets) {
            aliases += QStringLiteral("\n[%1]\n").arg(target.alias);
            if (m_options.postgres)
                aliases += QStringLiteral("driver = postgres\nhost = %1\nport = %2\ndatabase = %3\n")
                               .arg(m_options.postgres->host)
                               .arg(m_options.postgres->port)
                               .arg(serverDatabase(target.alias));
            else
                aliases += QStringLiteral("driver = sqlite\nfile = %1.sqlite\n").arg(target.alias.toLower());
        }
        aliases +=
            QStringLiteral("\n; Caminhos Windows guardados nos dados -> pastas locais (relativas a esta pasta).\n"
                           "[%1]\nX: = .\nC:\\Palvexworks = .\n")
                .arg(Installation::drivesGroup());
        writeText(m_installation.aliasFile(), aliases, normal);

        m_login = {m_options.postgres ? m_options.postgres->user : QStringLiteral("kavorimetas"),
                   m_options.postgres ? m_options.postgres->password : randomSecret()};
        writeText(m_installation.credentialsFile(),
                  m_login.first + QLatin1Char('\n') + m_login.second + QLatin1Char('\n'),
                  QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void createDatabase(const Target& target)
    {
        ConnectionSettings settings = m_installation.alias(target.alias);
        settings.mustExist = false; // made here
        if (!m_options.postgres) {
            // Created owner-only before SQLite opens it; its journal files take the same mode.
            QFile file(settings.database);
            if (!file.open(QIODevice::WriteOnly | QIODevice::NewOnly, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
                throw InstallationError(QStringLiteral("Não foi possível criar o ficheiro %1: %2")
                                            .arg(settings.database, file.errorString()));
        }
        if (m_options.postgres) {
            settings.user = m_options.postgres->user;
            settings.password = m_options.postgres->password;
            auto maintenance = server();
            if (!serverHas(*maintenance, settings.database)) {
                // The name is the checked prefix and a built-in alias: nothing typed reaches it unchecked.
                maintenance->exec(
                    QStringLiteral("CREATE DATABASE %1 ENCODING 'UTF8' TEMPLATE template0").arg(settings.database));
                m_createdDatabases << settings.database;
            } else {
                m_filledDatabases.push_back({target.database, settings.database});
            }
        }
        auto connection = Connection::open(settings);
        kv::db::Transaction transaction(*connection);
        m_schema.create(*connection, target.database, placeholders(), m_options.demo);
        if (m_options.demo)
            DemoInstallation::addYear(*connection, target.database, m_today.year(), m_schema);
        transaction.commit();
    }

    QHash<QString, QVariant> placeholders() const
    {
        const CompanyAliases aliases = CompanyAliases::forCompany(m_options.companyNumber);
        return {
            {QStringLiteral("EMPNRO"), m_options.companyNumber},
            {QStringLiteral("EMPNOM"), m_options.companyName},
            {QStringLiteral("BDESPECIF01"), aliases.application},
            {QStringLiteral("BDFACTURA"), aliases.invoicing},
            {QStringLiteral("BDCONTAB"), aliases.accounting},
            {QStringLiteral("COMPUTADOR"), m_workstation},
            {QStringLiteral("TIPOCOMPUTADOR"), m_options.workstationType},
            {QStringLiteral("ANO"), QString::number(m_today.year())},
            {QStringLiteral("DATA"), m_today.startOfDay()},
            // The demo user logs in to the company's databases with the
            // installation's own login.
            {QStringLiteral("UTIL"), DemoInstallation::user()},
            {QStringLiteral("PASSWOR"), DemoInstallation::password()},
            {QStringLiteral("BDUSERNAME"), m_login.first},
            {QStringLiteral("BDPASSWORD"), m_login.second},
        };
    }

    void undo()
    {
        if (m_options.postgres) {
            try {
                auto maintenance = server();
                for (const QString& name : m_createdDatabases)
                    maintenance->exec(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
                // Databases that existed empty get their emptiness back.
                for (const auto& [database, name] : m_filledDatabases) {
                    auto connection = Connection::open(serverSettings(name));
                    for (const Table* table : m_schema.tables(database))
                        connection->exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(table->name));
                }
            } catch (const std::exception&) {
                // The original failure is what the user must see; a database left behind is refused by the next try.
            }
        }
        undoFolder();
    }

    void undoFolder()
    {
        QDir root(m_installation.root());
        if (m_createdRoot) {
            root.removeRecursively();
            return;
        }
        // The folder was empty before: take away what was put in it.
        for (const QFileInfo& entry :
             root.entryInfoList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot)) {
            if (entry.isDir() && !entry.isSymLink())
                QDir(entry.absoluteFilePath()).removeRecursively();
            else
                QFile::remove(entry.absoluteFilePath());
        }
    }

    const InstallationOptions& m_options;
    const Schema& m_schema;
    Installation m_installation;
    std::vector<Target> m_targets;
    QString m_workstation;
    const QDate m_today = QDate::currentDate(); // one date for every row, also across midnight
    std::pair<QString, QString> m_login; // the general database's login name and password
    bool m_createdRoot = false;
    QStringList m_createdDatabases;
    std::vector<std::pair<Database, QString>> m_filledDatabases;
};

} // namespace

CompanyAliases CompanyAliases::forCompany(int number)
{
    const QString suffix = QStringLiteral("%1").arg(number, 2, 10, QLatin1Char('0'));
    return {QStringLiteral("PRDXKAVORIME") + suffix, QStringLiteral("PRDXFACTUR") + suffix,
            QStringLiteral("PRDXCONTAB") + suffix};
}

InstallationBuilder::InstallationBuilder(InstallationOptions options, const Schema& schema)
    : m_options(std::move(options)), m_schema(schema)
{
}

Installation InstallationBuilder::create(const QString& folder) { return Builder(m_options, m_schema, folder).run(); }

} // namespace kv::schema
