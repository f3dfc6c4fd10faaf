// A workstation of the two-database tests, run as a child process so that it
// can die at a chosen point:
//   kv_twodb_child sqlite|postgres FIRST SECOND die-in-step2 NUMBER
//       approves the quote and kills itself with SIGKILL as step 2 starts
//   kv_twodb_child ... hold-in-step2 NUMBER
//       approves the quote, says "PASSO2" as step 2 starts and goes on after
//       a line on its input (the test holds step 3 and kills it meanwhile)
//   kv_twodb_child ... recover
//       after a line on its input, finishes every pending operation
#include "platform/db/QuoteOrderExample.h"

#include <QCoreApplication>
#include <QTextStream>

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

using namespace kv::db;

namespace {

ConnectionSettings settings(const QString& engine, const QString& database, const char* alias)
{
    ConnectionSettings s;
    s.alias = QString::fromLatin1(alias);
    s.database = database;
    s.mustExist = true;
    if (engine == QLatin1String("postgres")) {
        s.dialect = Dialect::Postgres;
        s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
        s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
        s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    }
    return s;
}

void waitForLine()
{
    std::string line;
    std::getline(std::cin, line);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fputs("kv_twodb_child sqlite|postgres FIRST SECOND ACTION [NUMBER]\n", stderr);
        return 2;
    }
    const QString action = args[4];
    const int number = args.value(5).toInt();
    try {
        DatabasesByRole databases{
            {QStringLiteral("application"), Connection::open(settings(args[1], args[2], "PRIMEIRA"))},
            {QStringLiteral("invoicing"), Connection::open(settings(args[1], args[3], "SEGUNDA"))}};
        TwoDatabaseKinds kinds;
        if (action == QLatin1String("die-in-step2")) {
            kinds.add(test::exampleKind([](const TwoDatabaseOperation&) { std::raise(SIGKILL); }));
        } else if (action == QLatin1String("hold-in-step2")) {
            kinds.add(test::exampleKind([](const TwoDatabaseOperation&) {
                std::fputs("PASSO2\n", stdout);
                std::fflush(stdout);
                waitForLine();
            }));
        } else if (action == QLatin1String("recover")) {
            // Long enough second steps for two recoveries to overlap.
            kinds.add(test::exampleKind({}, 100));
            waitForLine();
            const auto results = TwoDatabaseWork(kinds, databases).recover();
            std::printf("%zu\n", results.size());
            return 0;
        } else {
            std::fputs("acção desconhecida\n", stderr);
            return 2;
        }
        const TwoDatabaseResult result =
            TwoDatabaseWork(kinds, databases)
                .run(QString::fromLatin1(test::ExampleKind), test::quoteDescription(number), QStringLiteral("RUI"),
                     test::approveQuote(number, 10.0 * number));
        QTextStream(stdout) << result.message << Qt::endl;
        return result.status == TwoDatabaseResult::Status::Done ? 0 : 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 3;
    }
}
