#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

namespace kv::useradmin {

// Why a field of a user's row is refused: the field keeps the focus.
struct FieldRefusal {
    QString column;
    bool beep = false;
    QString message; // none: only the beep
};

// The rules of the user file over UTILIZADORES.
class UserFile {
public:
    static constexpr int CodeLength = 15;

    // The thirteen columns the program writes, in the table's order.
    static const QStringList& columns();
    static QString selectSql();
    static db::UpdateStatements updateStatements();

    // The main program adds UPGRADE_LICENSE when it first opens a company's
    // database; until then the user file cannot keep it.
    static bool databaseReady(db::Connection& application);
    static QString notReadyMessage();

    // The code as it is stored: its first fifteen characters.
    static QString storedCode(const QString& typed);

    enum class CodeCheck { Empty, Exists, Accepted };
    // A new user's code, checked as it will be stored and compared by the
    // key itself (letter case does not tell two users apart).
    static CodeCheck checkNewCode(db::Connection& application, const QString& typed);
    static QString existsMessage();

    // The check of one field when it is left; nothing when it passes.
    static std::optional<FieldRefusal> checkField(const QString& column, const QString& value);
    // Every checked field of a row about to be written, in Enter order.
    static std::optional<FieldRefusal> checkRow(const std::function<QString(const QString&)>& value);

    // The user's rights rows of every company and key, then the user's row,
    // in one transaction: on a refusal nothing is deleted (DbError).
    static void deleteUser(db::Connection& application, const QString& code);
    static QString deleteQuestion();
};

} // namespace kv::useradmin
