#include "useradmin/core/UserFile.h"

namespace kv::useradmin {
namespace {

const QString Password = QStringLiteral("PASSWOR");
const QString SuperUser = QStringLiteral("SUPUTIL");
const QString UpgradeLicense = QStringLiteral("UPGRADE_LICENSE");

bool isYesOrNo(const QString& value) { return value == QLatin1String("S") || value == QLatin1String("N"); }

} // namespace

const QStringList& UserFile::columns()
{
    static const QStringList all{"NRO",     "PASSWOR",  "NOM",    "TITULO", "MORADA",   "MORADA1",        "LOCALIDADE",
                                 "SUPUTIL", "TELEFONE", "TELFAX", "EMAIL",  "DATABERT", "UPGRADE_LICENSE"};
    return all;
}

QString UserFile::selectSql() { return QStringLiteral("SELECT * FROM UTILIZADORES ORDER BY NRO"); }

db::UpdateStatements UserFile::updateStatements()
{
    QStringList sets;
    QStringList markers;
    for (const QString& column : columns()) {
        sets << QStringLiteral("%1 = :%1").arg(column);
        markers << QLatin1Char(':') + column;
    }
    db::UpdateStatements statements;
    statements.modifySql =
        QStringLiteral("UPDATE UTILIZADORES SET %1 WHERE NRO = :OLD_NRO").arg(sets.join(QStringLiteral(", ")));
    statements.insertSql = QStringLiteral("INSERT INTO UTILIZADORES (%1) VALUES (%2)")
                               .arg(columns().join(QStringLiteral(", ")), markers.join(QStringLiteral(", ")));
    statements.deleteSql = QStringLiteral("DELETE FROM UTILIZADORES WHERE NRO = :OLD_NRO");
    return statements;
}

bool UserFile::databaseReady(db::Connection& application)
{
    return application.columnExists(QStringLiteral("UTILIZADORES"), UpgradeLicense);
}

QString UserFile::notReadyMessage()
{
    return QStringLiteral("A base de dados desta empresa ainda não foi actualizada pelo programa "
                          "Kavorimetas: entre uma vez no programa com esta empresa e volte a abrir "
                          "os utilizadores.");
}

QString UserFile::storedCode(const QString& typed) { return typed.left(CodeLength); }

UserFile::CodeCheck UserFile::checkNewCode(db::Connection& application, const QString& typed)
{
    const QString code = storedCode(typed);
    if (code.trimmed().isEmpty())
        return CodeCheck::Empty;
    const QVariant count =
        application.scalar(QStringLiteral("SELECT COUNT(*) FROM UTILIZADORES WHERE NRO = :NRO"), {{"NRO", code}});
    return count.toInt() > 0 ? CodeCheck::Exists : CodeCheck::Accepted;
}

QString UserFile::existsMessage() { return QStringLiteral("UTILIZADOR JÁ FOI ABERTO ... <ENTER>"); }

std::optional<FieldRefusal> UserFile::checkField(const QString& column, const QString& value)
{
    if (column == Password && value.isEmpty())
        return FieldRefusal{Password, true, {}};
    if (column == SuperUser && !isYesOrNo(value))
        return FieldRefusal{SuperUser, false, QStringLiteral("DIGITE [S] ou [N]")};
    if (column == UpgradeLicense && !isYesOrNo(value))
        return FieldRefusal{UpgradeLicense, true, QStringLiteral("Digite [S ... N] ...")};
    return std::nullopt;
}

std::optional<FieldRefusal> UserFile::checkRow(const std::function<QString(const QString&)>& value)
{
    for (const QString& column : {Password, SuperUser, UpgradeLicense})
        if (auto refusal = checkField(column, value(column)))
            return refusal;
    return std::nullopt;
}

void UserFile::deleteUser(db::Connection& application, const QString& code)
{
    db::Transaction transaction(application);
    application.exec(QStringLiteral("DELETE FROM APLICACAODET WHERE UTIL = :YUtil"), {{"YUtil", code}});
    application.exec(QStringLiteral("DELETE FROM UTILIZADORES WHERE NRO = :NRO"), {{"NRO", code}});
    transaction.commit();
}

QString UserFile::deleteQuestion() { return QStringLiteral("ELIMINAÇÃO !!! Confirma ?"); }

} // namespace kv::useradmin
