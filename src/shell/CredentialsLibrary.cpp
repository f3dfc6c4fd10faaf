#include "shell/CredentialsLibrary.h"

#include <QCoreApplication>
#include <QLibrary>

namespace kv::shell {
namespace {

using TextFunction = const char* (*)();

} // namespace

QStringList CredentialsLibrary::defaultLocations()
{
    QStringList locations;
    if (QCoreApplication::instance())
        locations << QCoreApplication::applicationDirPath() + QStringLiteral("/libpalvexworks.so");
    locations << QStringLiteral("palvexworks");
    return locations;
}

GeneralCredentials CredentialsLibrary::load(const QStringList& locations)
{
    GeneralCredentials result;
    QLibrary library;
    for (const QString& location : locations) {
        library.setFileName(location);
        if (library.load())
            break;
    }
    if (!library.isLoaded()) {
        result.error = QStringLiteral("Não foi encontrada a biblioteca de credenciais da base de "
                                      "dados geral (libpalvexworks), procurada em: %1. "
                                      "O programa vai terminar.")
                           .arg(locations.join(QStringLiteral(", ")));
        return result;
    }
    auto loginName = reinterpret_cast<TextFunction>(library.resolve("palvexworks_login_name"));
    auto password = reinterpret_cast<TextFunction>(library.resolve("palvexworks_login_password"));
    auto error = reinterpret_cast<TextFunction>(library.resolve("palvexworks_error"));
    if (!loginName || !password || !error) {
        result.error = QStringLiteral("A biblioteca de credenciais %1 não é válida: faltam-lhe "
                                      "funções. O programa vai terminar.")
                           .arg(library.fileName());
        return result;
    }
    const char* name = loginName();
    const char* pass = name ? password() : nullptr;
    if (!name || !pass) {
        result.error = QStringLiteral("Credenciais da base de dados geral indisponíveis. %1 "
                                      "O programa vai terminar.")
                           .arg(QString::fromUtf8(error()));
        return result;
    }
    result.userName = QString::fromUtf8(name);
    result.password = QString::fromUtf8(pass);
    // The library stays loaded for the rest of the run; the user
    // administration program asks it again when it reconnects.
    return result;
}

} // namespace kv::shell
