#pragma once

#include "platform/db/Connection.h"
#include "platform/install/IniFile.h"

#include <QDateTime>
#include <memory>

#include <QString>

namespace kv::install {

// One installation folder: the workstation files, the help PDFs, the alias
// file that tells where each database lives, the general-database
// credentials and the embedded database files.
//
// Alias file (INI): one group per alias, e.g.
//   [QXRGERAL]
//   driver = sqlite
//   file = geral.sqlite              ; relative to dataFolder()
//   [FACTUR01]
//   driver = postgres
//   host = 127.0.0.1
//   port = 5432
//   database = palvexworks_factur01
// and the group [drives], Windows path prefix -> local folder:
//   X: = /srv/palvexworks
//   \\server\share = /mnt/share
class Installation {
public:
    static QString defaultRoot(); // $PALVEXWORKS_ROOT, else ~/.local/share/palvexworks
    explicit Installation(QString root = defaultRoot());

    QString root() const;
    QString workstationFile() const; // <root>/programas/Computador/Computador.txt
    QString workstationTypeFile() const; // <root>/programas/Computador/TipoComputador.txt
    QString pdfFolder() const; // <root>/programas/Pdf
    QString aliasFile() const; // <root>/aliases.ini
    QString credentialsFile() const; // <root>/credenciais (owner-only readable)
    QString dataFolder() const; // <root>/dados  (embedded database files)

    // Throws kv::db::DbError (Kind::Connection) naming the alias when it is
    // missing or its settings are unusable.
    kv::db::ConnectionSettings alias(const QString& name) const;
    // The alias with the login's "USER NAME=" and "PASSWORD=" lines applied.
    kv::db::ConnectionSettings alias(const QString& name, const QString& userNameLine,
                                     const QString& passwordLine) const;

    // Local path of a Windows path stored in the database ("X:\Programas\Pdf",
    // "\\server\share\Fotos\A1.Bmp") through the [drives] table: the longest
    // matching prefix wins, and each further folder or file name is matched
    // without regard to case against what exists on disk. Empty when no
    // prefix of the table matches. A path that is already local ("/...") is
    // returned as it is.
    QString mapWindowsPath(const QString& windowsPath) const;

    // Group name of the drive table in the alias file.
    static QString drivesGroup() { return QStringLiteral("drives"); }

private:
    const IniFile& aliases() const;

    QString m_root;
    mutable std::shared_ptr<const IniFile> m_aliases;
    mutable qint64 m_aliasesSize = -1;
    mutable QDateTime m_aliasesModified;
};

// Applies the login's connection lines ("USER NAME=name", "PASSWORD=secret")
// to settings. An empty line leaves the value empty; a line without its
// prefix throws DbError (Kind::Connection).
void applyLoginLines(kv::db::ConnectionSettings& settings, const QString& userNameLine, const QString& passwordLine);

} // namespace kv::install
