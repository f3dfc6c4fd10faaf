#pragma once

#include "platform/install/Installation.h"
#include "schema/InstallationBuilder.h"

#include <QString>
#include <functional>

namespace kv::test {

// An installation exactly as InstallationBuilder makes it with these options,
// at a fraction of the cost: the first one of each set of options a test
// program asks for is built in a folder of the program's own and kept; every
// later one is a copy of it. SQLite: the folder is copied with its database
// files. PostgreSQL (options.postgres set, its databasePrefix naming the
// copy's databases): the folder is copied with the alias file naming the new
// databases, and each database is created with the kept one as its template.
// The kept folder and databases are removed when the test program ends.
kv::install::Installation cloneInstallation(const kv::schema::InstallationOptions& options, const QString& folder);

// Work done once on the kept installation before it is copied (rows a family
// of tests needs, a first login that runs the version update): copies of a
// prepared installation are kept apart from plain ones by the name.
struct Preparation {
    QString name;
    std::function<void(const kv::install::Installation&)> run;
};
kv::install::Installation cloneInstallation(const kv::schema::InstallationOptions& options, const QString& folder,
                                            const Preparation& preparation);

// The first characters of the PostgreSQL databases that the originals shared
// through a cache folder (KV_TEST_INSTALLATION_CACHE) are named with.
QString installationCacheTag(const QString& cacheFolder);

} // namespace kv::test
