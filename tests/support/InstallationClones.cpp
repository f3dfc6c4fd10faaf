#include "support/InstallationClones.h"

#include "support/Engines.h"

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QTemporaryDir>

#include <map>
#include <stdexcept>

namespace kv::test {

using kv::db::Connection;
using kv::install::Installation;
using kv::schema::CompanyAliases;
using kv::schema::InstallationBuilder;
using kv::schema::InstallationOptions;

namespace {

struct Original {
    QString folder;
    QString databasePrefix; // PostgreSQL only
};

QString optionsKey(const InstallationOptions& o)
{
    QStringList key{o.workstation, o.workstationType, QString::number(o.companyNumber), o.companyName,
                    o.demo ? QStringLiteral("demo") : QStringLiteral("plain")};
    if (o.postgres)
        key << o.postgres->host << QString::number(o.postgres->port) << o.postgres->user;
    return key.join(QChar(0x1f));
}

QStringList databaseNames(const InstallationOptions& options, const QString& prefix)
{
    const CompanyAliases company = CompanyAliases::forCompany(options.companyNumber);
    QStringList names;
    for (const QString& alias :
         {InstallationBuilder::generalAlias(), company.application, company.invoicing, company.accounting})
        names << prefix + alias.toLower();
    return names;
}

std::shared_ptr<Connection> maintenance(const kv::schema::PostgresServer& server)
{
    kv::db::ConnectionSettings s = serverSettings(QStringLiteral("postgres"));
    s.host = server.host;
    s.port = server.port;
    s.user = server.user;
    s.password = server.password;
    return Connection::open(s);
}

void copyFolder(const QString& from, const QString& to)
{
    if (!QDir().mkpath(to))
        throw std::runtime_error("cannot create " + to.toStdString());
    QDirIterator it(from, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    const QDir source(from);
    while (it.hasNext()) {
        const QFileInfo entry(it.next());
        const QString target = to + QLatin1Char('/') + source.relativeFilePath(entry.absoluteFilePath());
        if (entry.isDir()) {
            if (!QDir().mkpath(target))
                throw std::runtime_error("cannot create " + target.toStdString());
        } else if (!QFile::copy(entry.absoluteFilePath(), target)) { // keeps the owner-only permissions
            throw std::runtime_error("cannot copy " + entry.absoluteFilePath().toStdString());
        }
    }
}

void replaceInFile(const QString& path, const QString& before, const QString& after)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error("cannot read " + path.toStdString());
    QString text = QString::fromUtf8(file.readAll());
    file.close();
    text.replace(before, after);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(text.toUtf8()) < 0)
        throw std::runtime_error("cannot write " + path.toStdString());
}

// The installations built once, and what they leave behind at the end.
class Originals : public ::testing::Environment {
public:
    static Originals& instance()
    {
        static Originals* originals = [] {
            auto* o = new Originals;
            ::testing::AddGlobalTestEnvironment(o); // gtest owns it and calls TearDown at the end
            return o;
        }();
        return *originals;
    }

    const Original& get(const InstallationOptions& options, const Preparation* preparation)
    {
        const QString key = optionsKey(options) + QChar(0x1e) + (preparation ? preparation->name : QString());
        auto found = m_originals.find(key);
        if (found != m_originals.end())
            return found->second;
        const QString shared = qEnvironmentVariable("KV_TEST_INSTALLATION_CACHE");
        Original original =
            shared.isEmpty() ? build(options, preparation) : sharedOriginal(shared, key, options, preparation);
        return m_originals.emplace(key, original).first->second;
    }

    void TearDown() override
    {
        m_dir.remove();
        if (m_databases.isEmpty())
            return;
        try {
            auto server = maintenance(*m_server);
            for (const QString& name : m_databases)
                server->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        } catch (const std::exception& e) {
            ADD_FAILURE() << "Não foi possível apagar as instalações de origem: " << e.what();
        }
        m_databases.clear();
    }

private:
    // Built for this process alone, removed at its end.
    Original build(const InstallationOptions& options, const Preparation* preparation)
    {
        Original original;
        original.folder = m_dir.filePath(QString::number(m_originals.size()));
        if (options.postgres) {
            original.databasePrefix = uniqueDatabaseName(QStringLiteral("orig")) + QLatin1Char('_');
            m_databases << databaseNames(options, original.databasePrefix);
            m_server = options.postgres;
        }
        create(original, options, preparation);
        return original;
    }

    // Under CTest every process of one test binary shares its originals: the
    // first process to need one builds it in the run's cache folder while the
    // others wait on its lock, then all of them copy it. A test run costs one
    // build per binary and set of options instead of one per process. The
    // binary is part of the key because a prepared original ran the version
    // steps of the units that binary links. The cache lives for one CTest run
    // (its setup and cleanup tests empty it), so a changed schema or demo
    // never meets an original of an earlier build.
    static Original sharedOriginal(const QString& cache, const QString& key, const InstallationOptions& options,
                                   const Preparation* preparation)
    {
        const QString binary = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
        const QString hash = QString::fromLatin1(
            QCryptographicHash::hash((binary + QChar(0x1d) + key).toUtf8(), QCryptographicHash::Sha1).toHex().left(16));
        if (!QDir().mkpath(cache))
            throw std::runtime_error("cannot create " + cache.toStdString());
        const QDir dir(cache);
        Original original;
        original.folder = dir.filePath(hash);
        if (options.postgres)
            original.databasePrefix = installationCacheTag(cache) + hash + QLatin1Char('_');
        QLockFile lock(dir.filePath(hash + QStringLiteral(".lock")));
        lock.setStaleLockTime(0); // a build may take long; only a dead holder's lock is stale
        if (!lock.lock())
            throw std::runtime_error("cannot lock " + original.folder.toStdString());
        const QString done = dir.filePath(hash + QStringLiteral(".done"));
        if (QFileInfo::exists(done))
            return original;
        // What a process that died while building left behind.
        QDir(original.folder).removeRecursively();
        if (options.postgres) {
            auto server = maintenance(*options.postgres);
            for (const QString& name : databaseNames(options, original.databasePrefix))
                server->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(name));
        }
        create(original, options, preparation);
        QFile mark(done);
        if (!mark.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot write " + done.toStdString());
        return original;
    }

    static void create(const Original& original, const InstallationOptions& options, const Preparation* preparation)
    {
        InstallationOptions own = options;
        if (own.postgres)
            own.postgres->databasePrefix = original.databasePrefix;
        const Installation built = InstallationBuilder(own).create(original.folder);
        if (preparation)
            preparation->run(built);
    }

    QTemporaryDir m_dir;
    std::map<QString, Original> m_originals;
    QStringList m_databases;
    std::optional<kv::schema::PostgresServer> m_server;
};

// Registered before the tests start, so its TearDown runs after the last one.
[[maybe_unused]] const bool originalsRegistered = (Originals::instance(), true);

Installation cloneOf(const Original& original, const InstallationOptions& options, const QString& folder)
{
    if (QFileInfo::exists(folder) && !QDir(folder).isEmpty())
        throw std::logic_error("cloneInstallation: folder not empty: " + folder.toStdString());
    copyFolder(original.folder, folder);
    Installation installation(folder);
    if (options.postgres) {
        const QString prefix = options.postgres->databasePrefix;
        replaceInFile(installation.aliasFile(), original.databasePrefix, prefix);
        auto server = maintenance(*options.postgres);
        const QStringList from = databaseNames(options, original.databasePrefix);
        const QStringList to = databaseNames(options, prefix);
        for (qsizetype i = 0; i < from.size(); ++i)
            server->exec(QStringLiteral("CREATE DATABASE %1 TEMPLATE %2").arg(to[i], from[i]));
    }
    return installation;
}

} // namespace

QString installationCacheTag(const QString& cacheFolder)
{
    const QByteArray path = QDir(cacheFolder).absolutePath().toUtf8();
    return QStringLiteral("kvc%1_").arg(
        QString::fromLatin1(QCryptographicHash::hash(path, QCryptographicHash::Sha1).toHex().left(8)));
}

Installation cloneInstallation(const InstallationOptions& options, const QString& folder)
{
    return cloneOf(Originals::instance().get(options, nullptr), options, folder);
}

Installation cloneInstallation(const InstallationOptions& options, const QString& folder,
                               const Preparation& preparation)
{
    return cloneOf(Originals::instance().get(options, &preparation), options, folder);
}

} // namespace kv::test
