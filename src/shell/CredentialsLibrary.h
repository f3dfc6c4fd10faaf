#pragma once

#include <QString>
#include <QStringList>

namespace kv::shell {

// The general database's login as the credentials library returns it, or why
// it could not be had (a Portuguese message; the program then ends).
struct GeneralCredentials {
    QString userName;
    QString password;
    QString error;
    bool ok() const { return error.isEmpty(); }
};

// Loads the credentials library at run time and asks it for the general
// database's login. A missing library, a library without the expected
// functions or a credentials file it cannot use all give a message that says
// which and why, instead of a loader error.
class CredentialsLibrary {
public:
    // Tries each location in turn: a full path, or a bare name for the
    // system's search.
    static GeneralCredentials load(const QStringList& locations = defaultLocations());

    // Beside the program first, then the system's library search.
    static QStringList defaultLocations();
};

} // namespace kv::shell
