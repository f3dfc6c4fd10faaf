// kavorimetas-admin: administration commands of an installation.
#include "platform/db/DbError.h"
#include "schema/DemoInstallation.h"
#include "schema/InstallationBuilder.h"

#include <QCoreApplication>
#include <QDate>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>

namespace {

const char* const usage =
    "Utilização:\n"
    "  kavorimetas-admin create-installation PASTA [--postgres host=H port=P user=U [password=S]]\n"
    "                                        [--workstation NOME] [--demo]\n"
    "  kavorimetas-admin demo-today PASTA\n";

int fail(const QString& message, int code = 1)
{
    QTextStream(stderr) << message << Qt::endl;
    return code;
}

int createInstallation(const QStringList& args)
{
    using kv::schema::InstallationOptions;
    InstallationOptions options;
    QString folder;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--workstation")) {
            if (i + 1 >= args.size())
                return fail(QStringLiteral("Falta o nome do computador depois de --workstation.\n") + usage, 2);
            options.workstation = args[++i];
        } else if (arg == QLatin1String("--demo")) {
            options.demo = true;
        } else if (arg == QLatin1String("--postgres")) {
            kv::schema::PostgresServer server;
            while (i + 1 < args.size() && args[i + 1].contains(QLatin1Char('='))
                   && !args[i + 1].startsWith(QLatin1String("--"))) {
                const QString item = args[++i];
                const QString key = item.section(QLatin1Char('='), 0, 0);
                const QString value = item.section(QLatin1Char('='), 1);
                if (key == QLatin1String("host")) {
                    server.host = value;
                } else if (key == QLatin1String("port")) {
                    bool ok = false;
                    server.port = value.toInt(&ok);
                    if (!ok || server.port <= 0 || server.port > 65535)
                        return fail(QStringLiteral("Porta inválida: \"%1\".").arg(value), 2);
                } else if (key == QLatin1String("user")) {
                    server.user = value;
                } else if (key == QLatin1String("password")) {
                    server.password = value;
                } else {
                    return fail(QStringLiteral("Parâmetro desconhecido em --postgres: \"%1\".\n").arg(key) + usage, 2);
                }
            }
            if (server.host.isEmpty())
                return fail(QStringLiteral("Falta host=SERVIDOR depois de --postgres.\n") + usage, 2);
            options.postgres = server;
        } else if (arg.startsWith(QLatin1String("--"))) {
            return fail(QStringLiteral("Opção desconhecida: %1\n").arg(arg) + usage, 2);
        } else if (folder.isEmpty()) {
            folder = arg;
        } else {
            return fail(QStringLiteral("Só se pode indicar uma pasta.\n") + usage, 2);
        }
    }
    if (folder.isEmpty())
        return fail(QStringLiteral("Falta a pasta da instalação.\n") + usage, 2);

    try {
        const auto installation = kv::schema::InstallationBuilder(options).create(folder);
        QTextStream(stdout) << QStringLiteral("Instalação criada em %1.").arg(installation.root()) << Qt::endl;
        return 0;
    } catch (const kv::schema::InstallationError& e) {
        return fail(e.text());
    } catch (const std::exception& e) {
        return fail(QStringLiteral("A instalação não foi criada: %1").arg(QString::fromLocal8Bit(e.what())));
    }
}

// The demo's workstation is logged in today: its login row takes today's
// date, and the company gets the rows of today's year when it lacks them.
int demoToday(const QStringList& args)
{
    if (args.size() != 1 || args[0].startsWith(QLatin1String("--")))
        return fail(QStringLiteral("Indique só a pasta da instalação.\n") + usage, 2);
    const kv::install::Installation installation(QFileInfo(args[0]).absoluteFilePath());
    if (!QFileInfo::exists(installation.aliasFile()))
        return fail(
            QStringLiteral("%1 não é uma instalação: falta %2.").arg(installation.root(), installation.aliasFile()));
    try {
        const QDate today = QDate::currentDate();
        if (!kv::schema::DemoInstallation::moveToDate(installation, today)) {
            QTextStream(stdout) << QStringLiteral(
                                       "A instalação em %1 não é de demonstração: a data de trabalho não muda.")
                                       .arg(installation.root())
                                << Qt::endl;
            return 0;
        }
        QTextStream(stdout) << QStringLiteral("Demonstração em %1 com a data de trabalho %2.")
                                   .arg(installation.root(), today.toString(QStringLiteral("dd/MM/yyyy")))
                            << Qt::endl;
        return 0;
    } catch (const kv::db::DbError& e) {
        return fail(QStringLiteral("A data da demonstração não mudou: %1").arg(e.fullText()));
    } catch (const kv::schema::SchemaError& e) {
        return fail(QStringLiteral("A data da demonstração não mudou: %1").arg(e.text()));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty())
        return fail(QString::fromUtf8(usage), 2);
    const QString command = args.takeFirst();
    if (command == QLatin1String("create-installation"))
        return createInstallation(args);
    if (command == QLatin1String("demo-today"))
        return demoToday(args);
    return fail(QStringLiteral("Comando desconhecido: %1\n").arg(command) + usage, 2);
}
