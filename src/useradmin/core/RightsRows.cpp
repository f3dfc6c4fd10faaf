#include "useradmin/core/RightsRows.h"

#include <QSet>

namespace kv::useradmin {
namespace {

const QStringList& keyColumns()
{
    static const QStringList key{"APLICACAO", "CAPITULO", "PROGRAMA", "EMPNRO", "UTIL"};
    return key;
}

// Chapter and program as the table's key compares them: without regard to case.
QString programKey(const QString& chapter, const QString& program)
{
    return chapter.toCaseFolded() + QChar(0x1f) + program.toCaseFolded();
}

} // namespace

const QStringList& RightsRows::columns()
{
    static const QStringList all{"APLICACAO", "CAPITULO", "PROGRAMA", "EMPNRO",   "UTIL",     "ACEDER", "INSERIR",
                                 "ALTERAR",   "ELIMINAR", "IMPORTAR", "IMPRIMIR", "ARQUIVAR", "MAIL",   "SCANNER"};
    return all;
}

const QStringList& RightsRows::editedFlags()
{
    static const QStringList flags{"ACEDER", "INSERIR", "ELIMINAR", "IMPRIMIR", "SCANNER"};
    return flags;
}

QString RightsRows::usersSql() { return QStringLiteral("SELECT * FROM UTILIZADORES ORDER BY NRO"); }

QString RightsRows::chaptersSql()
{
    return QStringLiteral("SELECT * FROM APLICACAOCAP WHERE APLICACAO = :WAplicacao ORDER BY CAPITULO");
}

QString RightsRows::workSql()
{
    return QStringLiteral("SELECT * FROM APLICACAODET WHERE APLICACAO = :WAplicacao AND CAPITULO = :WCapitulo "
                          "AND EMPNRO = :WEmpNro AND UTIL = :WUtil ORDER BY APLICACAO, PROGRAMA");
}

db::UpdateStatements RightsRows::workStatements()
{
    QStringList sets;
    QStringList markers;
    for (const QString& column : columns()) {
        sets << QStringLiteral("%1 = :%1").arg(column);
        markers << QLatin1Char(':') + column;
    }
    QStringList oldKey;
    for (const QString& column : keyColumns())
        oldKey << QStringLiteral("%1 = :OLD_%1").arg(column);
    const QString where = oldKey.join(QStringLiteral(" AND "));
    db::UpdateStatements statements;
    statements.modifySql =
        QStringLiteral("UPDATE APLICACAODET SET %1 WHERE %2").arg(sets.join(QStringLiteral(", ")), where);
    statements.insertSql = QStringLiteral("INSERT INTO APLICACAODET (%1) VALUES (%2)")
                               .arg(columns().join(QStringLiteral(", ")), markers.join(QStringLiteral(", ")));
    statements.deleteSql = QStringLiteral("DELETE FROM APLICACAODET WHERE %1").arg(where);
    return statements;
}

int RightsRows::createMissingRows(const std::shared_ptr<db::Connection>& application, const QString& applicationKey,
                                  int company, const QString& user)
{
    if (user.isEmpty())
        return 0;
    const db::QueryResult programs =
        application->query(QStringLiteral("SELECT CAPITULO, PROGRAMA FROM APLICACAOMST WHERE APLICACAO = :WAplicacao"),
                           {{"WAplicacao", applicationKey}});

    // The user's rows of the key in the company, read once.
    db::Dataset rows(QStringLiteral("APLICACAODET"));
    rows.setConnection(application);
    rows.setSql(QStringLiteral("SELECT * FROM APLICACAODET WHERE APLICACAO = :WAplicacao "
                               "AND EMPNRO = :WEmpNro AND UTIL = :WUtil"));
    rows.setParam(QStringLiteral("WAplicacao"), applicationKey);
    rows.setParam(QStringLiteral("WEmpNro"), company);
    rows.setParam(QStringLiteral("WUtil"), user);
    rows.setMode(db::DatasetMode::Cached);
    rows.setUpdateStatements(workStatements());
    rows.open();
    QSet<QString> present;
    for (bool more = rows.first(); more && !rows.eof(); rows.next())
        present.insert(programKey(rows.value(QStringLiteral("CAPITULO")).toString(),
                                  rows.value(QStringLiteral("PROGRAMA")).toString()));

    int created = 0;
    for (std::size_t i = 0; i < programs.rows.size(); ++i) {
        const QString chapter = programs.rows[i][0].toString();
        const QString program = programs.rows[i][1].toString();
        const QString key = programKey(chapter, program);
        if (present.contains(key))
            continue;
        present.insert(key);
        rows.append();
        rows.setValue(QStringLiteral("APLICACAO"), applicationKey);
        rows.setValue(QStringLiteral("CAPITULO"), chapter);
        rows.setValue(QStringLiteral("PROGRAMA"), program);
        rows.setValue(QStringLiteral("EMPNRO"), company);
        rows.setValue(QStringLiteral("UTIL"), user);
        for (int c = keyColumns().size(); c < columns().size(); ++c)
            rows.setValue(columns()[c], QStringLiteral("S"));
        rows.post();
        ++created;
    }
    if (created > 0) {
        try {
            rows.applyUpdates();
        } catch (const db::DbError&) {
            rows.cancelUpdates();
            throw;
        }
    }
    return created;
}

} // namespace kv::useradmin
