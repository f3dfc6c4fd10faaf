#pragma once

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"

#include <QString>
#include <QStringList>
#include <memory>

namespace kv::useradmin {

// The rights rows (APLICACAODET) of one company, user and application key, as
// the rights editor lists, creates and changes them.
class RightsRows {
public:
    // The fourteen columns in the table's order; the first five are the key.
    static const QStringList& columns();
    // The flags the editor lets the manager change.
    static const QStringList& editedFlags();

    static QString usersSql();
    // Parameter :WAplicacao.
    static QString chaptersSql();
    // Parameters :WAplicacao, :WCapitulo, :WEmpNro, :WUtil.
    static QString workSql();
    static db::UpdateStatements workStatements();

    // Gives the user a row with every flag "S" for each program of the key
    // that the user has no row for in the company: one read of the user's
    // rows, the missing ones written in one transaction. Rows that exist are
    // left as they are; no user (an empty code) gets none. Returns the
    // number of rows created; a refusal writes none (DbError).
    static int createMissingRows(const std::shared_ptr<db::Connection>& application, const QString& applicationKey,
                                 int company, const QString& user);
};

} // namespace kv::useradmin
