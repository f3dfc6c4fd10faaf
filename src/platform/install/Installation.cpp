#include "platform/install/Installation.h"

#include "platform/install/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace kv::install {

using kv::db::ConnectionSettings;
using kv::db::DbError;
using kv::db::Dialect;

namespace {

DbError aliasError(const QString& alias, const QString& what)
{
    return DbError(DbError::Kind::Connection, QStringLiteral("Alias de base de dados \"%1\": %2").arg(alias, what));
}

// "X:\a\b" or "//server/share/a" in one spelling: backslashes, no trailing one.
QString windowsForm(QString path)
{
    path.replace(QLatin1Char('/'), QLatin1Char('\\'));
    while (path.size() > 1 && path.endsWith(QLatin1Char('\\')) && !path.endsWith(QLatin1String(":\\")))
        path.chop(1);
    if (path.endsWith(QLatin1String(":\\")))
        path.chop(1);
    return path;
}

// True when `path` begins with the Windows prefix `prefix` on a name boundary.
bool hasPrefix(const QString& path, const QString& prefix)
{
    if (prefix.isEmpty() || !path.startsWith(prefix, Qt::CaseInsensitive))
        return false;
    return path.size() == prefix.size() || prefix.endsWith(QLatin1Char(':'))
           || path.at(prefix.size()) == QLatin1Char('\\');
}

// Appends the names to `base`, each matched without regard to case against
// the entries that exist; from the first name that matches nothing on, the
// rest is taken as written.
QString resolveOnDisk(const QString& base, const QStringList& names)
{
    QString path = QDir::cleanPath(base);
    bool resolving = true;
    for (const QString& name : names) {
        if (name.isEmpty() || name == QLatin1String("."))
            continue;
        if (name == QLatin1String("..")) {
            path = QFileInfo(path).path();
            continue;
        }
        QString chosen = name;
        if (resolving && !QFileInfo::exists(path + QLatin1Char('/') + name)) {
            const QStringList entries =
                QDir(path).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
            auto it = std::find_if(entries.begin(), entries.end(),
                                   [&](const QString& entry) { return entry.compare(name, Qt::CaseInsensitive) == 0; });
            if (it != entries.end())
                chosen = *it;
            else
                resolving = false;
        }
        path += QLatin1Char('/') + chosen;
    }
    return path;
}

} // namespace

QString Installation::defaultRoot()
{
    const QString fromEnv = qEnvironmentVariable("PALVEXWORKS_ROOT");
    if (!fromEnv.trimmed().isEmpty())
        return fromEnv;
    return QDir::homePath() + QStringLiteral("/.local/share/palvexworks");
}

Installation::Installation(QString root) : m_root(QDir::cleanPath(QDir(root).absolutePath())) {}

QString Installation::root() const { return m_root; }
QString Installation::workstationFile() const
{
    return m_root + QStringLiteral("/programas/Computador/Computador.txt");
}
QString Installation::workstationTypeFile() const
{
    return m_root + QStringLiteral("/programas/Computador/TipoComputador.txt");
}
QString Installation::pdfFolder() const { return m_root + QStringLiteral("/programas/Pdf"); }
QString Installation::aliasFile() const { return m_root + QStringLiteral("/aliases.ini"); }
QString Installation::credentialsFile() const { return m_root + QStringLiteral("/credenciais"); }
QString Installation::dataFolder() const { return m_root + QStringLiteral("/dados"); }

const IniFile& Installation::aliases() const
{
    // Read once per start: only an administrator's edit (another size or
    // time) makes it read again.
    const QFileInfo info(aliasFile());
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime modified = info.exists() ? info.lastModified() : QDateTime();
    if (!m_aliases || m_aliasesSize != size || m_aliasesModified != modified) {
        m_aliases = std::make_shared<const IniFile>(IniFile::read(aliasFile()));
        m_aliasesSize = size;
        m_aliasesModified = modified;
    }
    return *m_aliases;
}

ConnectionSettings Installation::alias(const QString& name) const
{
    const QString wanted = name.trimmed();
    const IniFile& ini = aliases();
    if (wanted.isEmpty() || wanted.compare(drivesGroup(), Qt::CaseInsensitive) == 0 || !ini.hasGroup(wanted))
        throw aliasError(wanted, QStringLiteral("não existe em %1").arg(aliasFile()));

    ConnectionSettings settings;
    settings.alias = wanted;
    const QString driver = ini.value(wanted, QStringLiteral("driver")).toLower();
    if (driver == QLatin1String("sqlite")) {
        settings.dialect = Dialect::Sqlite;
        const QString file = ini.value(wanted, QStringLiteral("file"));
        if (file.isEmpty())
            throw aliasError(wanted, QStringLiteral("falta o ficheiro da base de dados (file=)"));
        settings.database = QDir::cleanPath(QDir(dataFolder()).absoluteFilePath(file));
        // A database file that is gone is reported, not replaced by an empty one.
        settings.mustExist = true;
    } else if (driver == QLatin1String("postgres")) {
        settings.dialect = Dialect::Postgres;
        settings.host = ini.value(wanted, QStringLiteral("host"));
        settings.database = ini.value(wanted, QStringLiteral("database"));
        if (settings.host.isEmpty() || settings.database.isEmpty())
            throw aliasError(wanted, QStringLiteral("faltam o servidor (host=) ou a base de dados (database=)"));
        const QString port = ini.value(wanted, QStringLiteral("port"), QStringLiteral("5432"));
        bool ok = false;
        settings.port = port.toInt(&ok);
        if (!ok || settings.port <= 0 || settings.port > 65535)
            throw aliasError(wanted, QStringLiteral("porta inválida \"%1\"").arg(port));
    } else {
        throw aliasError(wanted, driver.isEmpty() ? QStringLiteral("falta o controlador (driver=sqlite ou postgres)")
                                                  : QStringLiteral("controlador desconhecido \"%1\"").arg(driver));
    }
    return settings;
}

ConnectionSettings Installation::alias(const QString& name, const QString& userNameLine,
                                       const QString& passwordLine) const
{
    ConnectionSettings settings = alias(name);
    applyLoginLines(settings, userNameLine, passwordLine);
    return settings;
}

QString Installation::mapWindowsPath(const QString& windowsPath) const
{
    const QString path = windowsPath.trimmed();
    if (path.isEmpty())
        return {};
    if (path.startsWith(QLatin1Char('/')) && !path.startsWith(QLatin1String("//")))
        return path;

    const QString wanted = windowsForm(path);
    QString bestPrefix;
    QString bestFolder;
    for (const auto& [key, folder] : aliases().entries(drivesGroup())) {
        const QString prefix = windowsForm(key);
        if (prefix.size() > bestPrefix.size() && hasPrefix(wanted, prefix)) {
            bestPrefix = prefix;
            bestFolder = folder;
        }
    }
    if (bestPrefix.isEmpty())
        return {};
    const QString base = QDir(m_root).absoluteFilePath(bestFolder);
    return resolveOnDisk(base, wanted.mid(bestPrefix.size()).split(QLatin1Char('\\'), Qt::SkipEmptyParts));
}

void applyLoginLines(ConnectionSettings& settings, const QString& userNameLine, const QString& passwordLine)
{
    const auto take = [&](const QString& line, QLatin1String prefix) -> QString {
        if (line.isEmpty())
            return {};
        if (!line.startsWith(prefix, Qt::CaseInsensitive))
            throw aliasError(settings.alias, QStringLiteral("linha de ligação inválida, esperava \"%1\"").arg(prefix));
        return line.mid(prefix.size());
    };
    settings.user = take(userNameLine, QLatin1String("USER NAME="));
    settings.password = take(passwordLine, QLatin1String("PASSWORD="));
}

} // namespace kv::install
