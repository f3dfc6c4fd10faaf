// A workstation of the approval tests that dies between the two databases:
//   kv_approval_child sqlite|postgres APPLICATION INVOICING USER
// approves the approval fixture's quote and kills itself with SIGKILL as the
// invoicing database's step starts, leaving the quote marked and the order
// pending.
#include "quotes/approval/ApprovalRequest.h"

#include "platform/db/Connection.h"
#include "platform/notify/MessageSink.h"

#include <QCoreApplication>

#include <csignal>
#include <cstdio>

using namespace kv::quotes::approval;

namespace {

kv::db::ConnectionSettings settings(const QString& engine, const QString& database, const char* alias)
{
    kv::db::ConnectionSettings s;
    s.alias = QString::fromLatin1(alias);
    s.database = database;
    s.mustExist = true;
    if (engine == QLatin1String("postgres")) {
        s.dialect = kv::db::Dialect::Postgres;
        s.host = qEnvironmentVariable("KV_TEST_PG_HOST");
        s.port = qEnvironmentVariableIntValue("KV_TEST_PG_PORT");
        s.user = qEnvironmentVariable("KV_TEST_PG_USER");
    }
    return s;
}

class Silent : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData()); }
    void information(const QString&) override {}
};

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() < 5) {
        std::fputs("kv_approval_child sqlite|postgres APPLICATION INVOICING USER\n", stderr);
        return 2;
    }
    try {
        const auto application = kv::db::Connection::open(settings(args[1], args[2], "BDESPECIF01"));
        const auto invoicing = kv::db::Connection::open(settings(args[1], args[3], "BDFACTURA"));
        Silent messages;
        QuoteApproval approval(*application, *invoicing, messages, {args[4], QDate(2024, 3, 15), "2024", 2});
        const auto prepared = approval.prepare(test::fixtureRequest(), kv::quotes::CostTables::load(*application));
        if (!prepared)
            return 3;
        kv::db::TwoDatabaseKind dying = approvalKind();
        dying.secondStep = [](kv::db::Connection&, const kv::db::TwoDatabaseOperation&) { std::raise(SIGKILL); };
        kv::db::TwoDatabaseKinds kinds;
        kinds.add(std::move(dying));
        kv::db::TwoDatabaseWork work(
            kinds, {{kv::db::role::application(), application}, {kv::db::role::invoicing(), invoicing}});
        approval.save(work, *prepared);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 4;
    }
    return 0; // not reached: the step above kills the process
}
