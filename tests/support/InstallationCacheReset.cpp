// Empties the test run's shared installation cache: its folder and the
// PostgreSQL databases of its originals. CTest runs it before the first and
// after the last test of a run, so every run builds its originals afresh.
#include "support/Engines.h"
#include "support/InstallationClones.h"

#include <QDir>
#include <QString>

#include <cstdio>
#include <exception>

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "uso: %s PASTA\n", argv[0]);
        return 2;
    }
    try {
        const QString cache = QString::fromLocal8Bit(argv[1]);
        QDir(cache).removeRecursively();
        if (!kv::test::postgresAvailable())
            return 0;
        auto server = kv::db::Connection::open(kv::test::serverSettings(QStringLiteral("postgres")));
        const auto databases =
            server->query(QStringLiteral("SELECT datname FROM pg_database WHERE datname LIKE :TAG"),
                          {{QStringLiteral("TAG"), kv::test::installationCacheTag(cache) + QLatin1Char('%')}});
        for (std::size_t i = 0; i < databases.rows.size(); ++i)
            server->exec(QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)")
                             .arg(databases.value(i, QStringLiteral("datname")).toString()));
        return 0;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
}
