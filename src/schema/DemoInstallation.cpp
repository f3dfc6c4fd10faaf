#include "schema/DemoInstallation.h"

#include "schema/DemoPictures.h"
#include "schema/InstallationBuilder.h"

#include "platform/db/DbError.h"

#include <QDir>
#include <QFile>
#include <QSet>

namespace kv::schema {

using kv::db::Connection;

namespace {

QString yearText(int year) { return QStringLiteral("%1").arg(year, 4, 10, QLatin1Char('0')); }

void addCalendar(Connection& invoicing, int year)
{
    static const char* const weekdays[] = {"Seg", "Ter", "Qua", "Qui", "Sex", "Sáb", "Dom"};
    const QDate first(year, 1, 1);
    const QDate next(year + 1, 1, 1);
    QSet<QDate> present;
    const db::QueryResult existing =
        invoicing.query(QStringLiteral("SELECT DATA FROM CALENDARIO WHERE DATA >= :FIRST AND DATA < :NEXT"),
                        {{"FIRST", first.startOfDay()}, {"NEXT", next.startOfDay()}});
    for (std::size_t row = 0; row < existing.rows.size(); ++row)
        present.insert(existing.value(row, QStringLiteral("DATA")).toDateTime().date());

    const QString insert = QStringLiteral("INSERT INTO CALENDARIO (DATA, ANO, DIASEM, TIPODIA, SEMANA) "
                                          "VALUES (:DATA, :ANO, :DIASEM, :TIPODIA, :SEMANA)");
    for (QDate day = first; day < next; day = day.addDays(1)) {
        if (present.contains(day))
            continue;
        const int weekday = day.dayOfWeek(); // 1 Monday .. 7 Sunday
        invoicing.exec(insert, {{"DATA", day.startOfDay()},
                                {"ANO", yearText(year)},
                                {"DIASEM", QString::fromUtf8(weekdays[weekday - 1])},
                                {"TIPODIA", weekday <= 5 ? QStringLiteral("TB") : QStringLiteral("FS")},
                                {"SEMANA", day.weekNumber()}});
    }
}

// The general database's login that the installation keeps for the programs.
std::pair<QString, QString> generalLogin(const kv::install::Installation& installation)
{
    QFile file(installation.credentialsFile());
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw SchemaError(QStringLiteral("Não foi possível ler o ficheiro de credenciais %1: %2")
                              .arg(file.fileName(), file.errorString()));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'));
    return {lines.value(0).trimmed(), lines.value(1).trimmed()};
}

} // namespace

void DemoInstallation::addYear(Connection& connection, Database database, int year, const Schema& schema)
{
    db::Transaction transaction(connection);
    schema.addMissingRows(connection, database, RowScope::DemoYear, {{QStringLiteral("ANO"), yearText(year)}});
    if (database == Database::Invoicing)
        addCalendar(connection, year);
    transaction.commit();
}

// The article pictures of the year's picture folder, which the forms find
// through the installation's drive map.
static void addPictures(const kv::install::Installation& installation, Connection& invoicing, int year)
{
    const QString stored =
        invoicing.scalar(QStringLiteral("SELECT PATHFOTO FROM PARGER WHERE ANO = :ANO"), {{"ANO", yearText(year)}})
            .toString()
            .trimmed();
    const QString folder = stored.isEmpty() ? QString() : installation.mapWindowsPath(stored);
    if (folder.isEmpty())
        return;
    const db::QueryResult articles = invoicing.query(QStringLiteral("SELECT CODIGO FROM ARTIGOSCLS ORDER BY CODIGO"));
    QStringList codes;
    for (std::size_t row = 0; row < articles.rows.size(); ++row)
        codes << articles.value(row, QStringLiteral("CODIGO")).toString().trimmed();
    writeDemoPictures(folder, codes);
}

// The notes of the first demo agent in the year's agents' notes folder,
// found through the installation's drive map; a file already there is kept.
static void addAgentNotes(const kv::install::Installation& installation, Connection& invoicing, int year)
{
    const QString stored =
        invoicing
            .scalar(QStringLiteral("SELECT PATHINFAGENTES FROM PARGER WHERE ANO = :ANO"), {{"ANO", yearText(year)}})
            .toString()
            .trimmed();
    const QString folder = stored.isEmpty() ? QString() : installation.mapWindowsPath(stored);
    const bool agent = !invoicing.query(QStringLiteral("SELECT CODIGO FROM AGENTES WHERE CODIGO = 1")).isEmpty();
    if (folder.isEmpty() || !agent || !QDir().mkpath(folder))
        return;
    QFile notes(QDir(folder).filePath(QStringLiteral("AGT1.Rtf")));
    if (notes.exists() || !notes.open(QIODevice::WriteOnly | QIODevice::NewOnly))
        return;
    notes.write("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 "
                "\\b Condi\\'e7\\'f5es acordadas\\b0\\par "
                "Comiss\\'e3o paga no m\\'eas seguinte ao recebimento das facturas.\\par "
                "Visita os clientes do Grande Porto \\'e0s ter\\'e7as e quintas.\\par }");
}

bool DemoInstallation::moveToDate(const kv::install::Installation& installation, const QDate& date,
                                  const Schema& schema)
{
    const auto [loginName, loginPassword] = generalLogin(installation);
    const QString userLine = QStringLiteral("USER NAME=") + loginName;
    const QString passwordLine = QStringLiteral("PASSWORD=") + loginPassword;
    auto general = Connection::open(installation.alias(InstallationBuilder::generalAlias(), userLine, passwordLine));

    const db::Params demoRows{{"UTIL", user()}, {"APLICACAO", QStringLiteral("KAVORIMETAS")}};
    const db::QueryResult companies =
        general->query(QStringLiteral("SELECT DISTINCT E.EMPNRO, E.BDESPECIF01, E.BDFACTURA, E.BDCONTAB "
                                      "FROM PARAMUTIL P JOIN EMPRESAS E ON E.EMPNRO = P.EMPNRO "
                                      "WHERE P.UTIL = :UTIL AND P.APLICACAO = :APLICACAO"),
                       demoRows);
    if (companies.isEmpty())
        return false;

    // The year's rows first: a working date never points at a year the
    // company has no rows for.
    for (std::size_t row = 0; row < companies.rows.size(); ++row) {
        const std::pair<Database, const char*> databases[] = {{Database::Application, "BDESPECIF01"},
                                                              {Database::Invoicing, "BDFACTURA"},
                                                              {Database::Accounting, "BDCONTAB"}};
        QString userPassword;
        for (const auto& [database, column] : databases) {
            const QString alias = companies.value(row, QString::fromLatin1(column)).toString().trimmed();
            auto company = Connection::open(installation.alias(alias, userLine, passwordLine));
            addYear(*company, database, date.year(), schema);
            if (database == Database::Invoicing)
                addPictures(installation, *company, date.year());
            if (database == Database::Invoicing)
                addAgentNotes(installation, *company, date.year());
            if (database == Database::Application)
                userPassword = company
                                   ->scalar(QStringLiteral("SELECT PASSWOR FROM UTILIZADORES WHERE NRO = :UTIL"),
                                            {{"UTIL", user()}})
                                   .toString();
        }
        // The user logs in at the workstation with the password he has now,
        // also after changing it in the program.
        db::Params moved = demoRows;
        moved.set(QStringLiteral("EMPNRO"), companies.value(row, QStringLiteral("EMPNRO")));
        moved.set(QStringLiteral("DATA"), date.startOfDay());
        moved.set(QStringLiteral("ANO"), yearText(date.year()));
        moved.set(QStringLiteral("PASSWOR"), userPassword.isEmpty() ? password() : userPassword);
        general->exec(QStringLiteral("UPDATE PARAMUTIL SET DATA = :DATA, ANO = :ANO, PASSWOR = :PASSWOR "
                                     "WHERE UTIL = :UTIL AND APLICACAO = :APLICACAO AND EMPNRO = :EMPNRO"),
                      moved);
    }
    return true;
}

} // namespace kv::schema
