#include "platform/db/DbTestFixture.h"
#include "platform/db/QuoteOrderExample.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QThread>

using namespace kv::db;
using namespace kv::db::test;

namespace {

const QString Application = QStringLiteral("application");
const QString Invoicing = QStringLiteral("invoicing");

// What the two databases say about one quote.
struct QuoteState {
    QString approved;
    int cancellations = 0;
    int orders = 0;
    int pending = 0;
    QString journal; // the journal row's state; empty when there is none

    bool operator==(const QuoteState&) const = default;
};

std::ostream& operator<<(std::ostream& out, const QuoteState& s)
{
    return out << "{aprovado " << s.approved.toStdString() << ", anulações " << s.cancellations << ", encomendas "
               << s.orders << ", pendentes " << s.pending << ", diário '" << s.journal.toStdString() << "'}";
}

class TwoDatabaseWorkTest : public EngineTest {
protected:
    void SetUp() override
    {
        EngineTest::SetUp();
        if (IsSkipped())
            return;
        m_second = std::make_unique<kv::test::ScratchDatabase>(dialect(), QStringLiteral("segunda"));
        second = m_second->open(QStringLiteral("SEGUNDA"));
        createExampleTables(*db, *second);
        for (int number = 1; number <= 8; ++number)
            db->exec(QStringLiteral("INSERT INTO TST_ORCAMENTO (NRO, APROVADO, ANULACOES) VALUES (:NRO, 'N', 0)"),
                     {{"NRO", number}});
        kinds.add(exampleKind());
    }

    void TearDown() override
    {
        second.reset();
        m_second.reset();
        EngineTest::TearDown();
    }

    TwoDatabaseWork work(const TwoDatabaseKinds& with)
    {
        return TwoDatabaseWork(with, {{Application, db}, {Invoicing, second}});
    }

    TwoDatabaseResult approve(int number, const TwoDatabaseKinds& with)
    {
        return work(with).run(QString::fromLatin1(ExampleKind), quoteDescription(number), QStringLiteral("RUI"),
                              approveQuote(number, 10.0 * number));
    }
    TwoDatabaseResult approve(int number) { return approve(number, kinds); }

    int count(Connection& connection, const QString& sql, int number = 0)
    {
        return connection.scalar(sql, {{"NRO", number}}).toInt();
    }

    QuoteState state(int number)
    {
        QuoteState s;
        s.approved =
            db->scalar(QStringLiteral("SELECT APROVADO FROM TST_ORCAMENTO WHERE NRO = :NRO"), {{"NRO", number}})
                .toString();
        s.cancellations = count(*db, QStringLiteral("SELECT ANULACOES FROM TST_ORCAMENTO WHERE NRO = :NRO"), number);
        s.orders = count(*second, QStringLiteral("SELECT COUNT(*) FROM TST_ENCOMENDA WHERE ORCNRO = :NRO"), number);
        const QString description = quoteDescription(number);
        s.pending =
            db->scalar(QStringLiteral("SELECT COUNT(*) FROM OPERPENDENTE WHERE DESCRICAO = :D"), {{"D", description}})
                .toInt();
        s.journal =
            second->scalar(QStringLiteral("SELECT ESTADO FROM OPERDIARIO WHERE DESCRICAO = :D"), {{"D", description}})
                .toString();
        return s;
    }

    QStringList childArguments(const QString& action, int number = 0) const
    {
        return {isPg() ? QStringLiteral("postgres") : QStringLiteral("sqlite"), m_db->settings().database,
                m_second->settings().database, action, QString::number(number)};
    }

    // Closes every other session of the first database: a killed child's
    // statement waiting on the server must not run once the lock goes.
    void endOrphanSessions(Connection& locker)
    {
        const QVariant lockerPid = locker.scalar(QStringLiteral("SELECT pg_backend_pid()"));
        const QString others = QStringLiteral("FROM pg_stat_activity WHERE datname = current_database() "
                                              "AND pid <> pg_backend_pid() AND pid <> :LOCKER");
        QElapsedTimer timer;
        timer.start();
        while (db->scalar(QStringLiteral("SELECT COUNT(*) ") + others, {{"LOCKER", lockerPid}}).toInt() > 0) {
            db->query(QStringLiteral("SELECT pg_terminate_backend(pid) ") + others, {{"LOCKER", lockerPid}});
            ASSERT_LT(timer.elapsed(), 30000) << "sessão órfã do processo morto";
            QThread::msleep(20);
        }
    }

    // Runs the child until it dies: in step 2 by its own hand, or, after step
    // 2 committed, killed by the test while its step 3 waits for a lock.
    void approveInChildUntilKilled(const QString& action, int number)
    {
        QProcess child;
        child.start(QStringLiteral(KV_TWODB_CHILD), childArguments(action, number));
        ASSERT_TRUE(child.waitForStarted());
        if (action == QLatin1String("hold-in-step2")) {
            while (!child.readAllStandardOutput().contains("PASSO2"))
                ASSERT_TRUE(child.waitForReadyRead(30000)) << child.readAllStandardError().toStdString();
            auto locker = m_db->open(QStringLiteral("BLOQUEIO"));
            Transaction hold(*locker, TransactionMode::Write);
            if (isPg())
                locker->exec(QStringLiteral("LOCK TABLE OPERPENDENTE IN EXCLUSIVE MODE"));
            child.write("\n");
            child.waitForBytesWritten(30000);
            QElapsedTimer timer;
            timer.start();
            while (state(number).journal.isEmpty()) {
                ASSERT_LT(timer.elapsed(), 30000) << "o passo 2 não chegou ao fim";
                QThread::msleep(10);
            }
            child.kill();
            child.waitForFinished(30000);
            if (isPg())
                endOrphanSessions(*locker);
            hold.rollback();
        } else {
            child.waitForFinished(30000);
        }
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << child.readAllStandardError().toStdString();
    }

    std::unique_ptr<kv::test::ScratchDatabase> m_second;
    std::shared_ptr<Connection> second;
    TwoDatabaseKinds kinds;
};
KV_ENGINE_SUITE(TwoDatabaseWorkTest);

TEST_P(TwoDatabaseWorkTest, ASuccessfulOperationLeavesBothDatabasesWrittenAndNothingPending)
{
    const TwoDatabaseResult result = approve(1);
    EXPECT_EQ(result.status, TwoDatabaseResult::Status::Done);
    EXPECT_TRUE(result.message.isEmpty());
    EXPECT_EQ(state(1), (QuoteState{"S", 0, 1, 0, "C"}));
    EXPECT_EQ(second->scalar(QStringLiteral("SELECT VALOR FROM TST_ENCOMENDA WHERE ORCNRO = 1")).toDouble(), 10.0);
    EXPECT_TRUE(work(kinds).recover().empty());
}

TEST_P(TwoDatabaseWorkTest, ARefusedSecondStepIsUndoneInTheFirstDatabaseWithAMessage)
{
    second->exec(QStringLiteral("INSERT INTO TST_BLOQUEIO (ORCNRO) VALUES (2)"));
    const TwoDatabaseResult result = approve(2);
    EXPECT_EQ(result.status, TwoDatabaseResult::Status::Refused);
    EXPECT_EQ(result.message, "A operação «Aprovação do orçamento 2» foi recusada: o cliente do orçamento 2 está "
                              "bloqueado.\nO que já tinha sido gravado foi anulado.");
    EXPECT_EQ(state(2), (QuoteState{"N", 1, 0, 0, "R"}));
    EXPECT_TRUE(work(kinds).recover().empty());
    EXPECT_EQ(state(2), (QuoteState{"N", 1, 0, 0, "R"}));
}

TEST_P(TwoDatabaseWorkTest, AFailedFirstStepLeavesNothingBehind)
{
    EXPECT_THROW(approve(99), DbError);
    EXPECT_EQ(count(*db, QStringLiteral("SELECT COUNT(*) FROM OPERPENDENTE")), 0);
    EXPECT_EQ(count(*second, QStringLiteral("SELECT COUNT(*) FROM OPERDIARIO")), 0);
}

TEST_P(TwoDatabaseWorkTest, ASecondStepThatFailsForNowStaysPendingUntilARecoveryFinishesIt)
{
    second->exec(QStringLiteral("DROP TABLE TST_ENCOMENDA"));
    const TwoDatabaseResult result = approve(3);
    EXPECT_EQ(result.status, TwoDatabaseResult::Status::Pending);
    EXPECT_TRUE(result.message.startsWith("A operação «Aprovação do orçamento 3» ficou pendente"))
        << result.message.toStdString();
    EXPECT_EQ(count(*db, QStringLiteral("SELECT COUNT(*) FROM OPERPENDENTE")), 1);
    EXPECT_EQ(count(*second, QStringLiteral("SELECT COUNT(*) FROM OPERDIARIO")), 0);

    second->exec(QStringLiteral("CREATE TABLE TST_ENCOMENDA (ORCNRO INTEGER, VALOR DOUBLE PRECISION)"));
    const std::vector<TwoDatabaseResult> recovered = work(kinds).recover();
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0].id, result.id);
    EXPECT_EQ(recovered[0].status, TwoDatabaseResult::Status::Done);
    EXPECT_EQ(state(3), (QuoteState{"S", 0, 1, 0, "C"}));
}

struct KillCase {
    const char* action;
    QuoteState afterDeath;
};

class TwoDatabaseWorkKillTest : public TwoDatabaseWorkTest {};

TEST_P(TwoDatabaseWorkKillTest, AProcessKilledBetweenStepsIsFinishedExactlyOnceByRecovery)
{
    const KillCase cases[] = {
        {"die-in-step2", {"S", 0, 0, 1, ""}}, // between step 1 and step 2
        {"hold-in-step2", {"S", 0, 1, 1, "C"}}, // between step 2 and step 3
    };
    int number = 0;
    for (const KillCase& c : cases) {
        SCOPED_TRACE(c.action);
        ++number;
        approveInChildUntilKilled(QString::fromLatin1(c.action), number);
        EXPECT_EQ(state(number), c.afterDeath);

        const std::vector<TwoDatabaseResult> recovered = work(kinds).recover();
        ASSERT_EQ(recovered.size(), 1u);
        EXPECT_EQ(recovered[0].status, TwoDatabaseResult::Status::Done);
        EXPECT_EQ(state(number), (QuoteState{"S", 0, 1, 0, "C"}));
        EXPECT_TRUE(work(kinds).recover().empty());
        EXPECT_EQ(state(number), (QuoteState{"S", 0, 1, 0, "C"}));
    }
}
KV_ENGINE_SUITE(TwoDatabaseWorkKillTest);

TEST_P(TwoDatabaseWorkTest, TwoRecoveriesAtOnceFinishEachOperationOnce)
{
    // Eight operations left pending as a lost connection leaves them; two of
    // them the second database will refuse.
    TwoDatabaseKinds failing;
    failing.add(exampleKind([](const TwoDatabaseOperation&) {
        throw DbError(DbError::Kind::Connection, QStringLiteral("Ligação perdida."));
    }));
    for (int number = 1; number <= 8; ++number)
        ASSERT_EQ(approve(number, failing).status, TwoDatabaseResult::Status::Pending);
    second->exec(QStringLiteral("INSERT INTO TST_BLOQUEIO (ORCNRO) VALUES (3)"));
    second->exec(QStringLiteral("INSERT INTO TST_BLOQUEIO (ORCNRO) VALUES (6)"));

    QProcess recoveries[2];
    for (QProcess& child : recoveries) {
        child.start(QStringLiteral(KV_TWODB_CHILD), childArguments(QStringLiteral("recover")));
        ASSERT_TRUE(child.waitForStarted());
    }
    for (QProcess& child : recoveries) {
        child.write("\n");
        child.waitForBytesWritten(30000);
    }
    int seen = 0; // operations each recovery found pending when it started
    for (QProcess& child : recoveries) {
        ASSERT_TRUE(child.waitForFinished(60000));
        EXPECT_EQ(child.exitCode(), 0) << child.readAllStandardError().toStdString();
        seen += child.readAllStandardOutput().trimmed().toInt();
    }
    EXPECT_GT(seen, 8) << "the two recoveries did not overlap";
    for (int number = 1; number <= 8; ++number) {
        SCOPED_TRACE(number);
        const bool refused = number == 3 || number == 6;
        const QuoteState expected = refused ? QuoteState{"N", 1, 0, 0, "R"} : QuoteState{"S", 0, 1, 0, "C"};
        EXPECT_EQ(state(number), expected);
    }
}

TEST_P(TwoDatabaseWorkTest, TheJournalRefusesAReplay)
{
    ASSERT_EQ(approve(4).status, TwoDatabaseResult::Status::Done);
    const QString id = second->scalar(QStringLiteral("SELECT OPERID FROM OPERDIARIO")).toString();

    // The first database restored from a copy taken before step 3: its
    // pending record comes back, and finishing it must not write the order again.
    db->exec(QStringLiteral("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) "
                            "VALUES (:ID, :TIPO, :D, :DADOS, 'RUI', :T)"),
             {{"ID", id},
              {"TIPO", QString::fromLatin1(ExampleKind)},
              {"D", quoteDescription(4)},
              {"DADOS", QStringLiteral("{\"NRO\":4,\"VALOR\":40}")},
              {"T", QDateTime::currentDateTime()}});
    const std::vector<TwoDatabaseResult> recovered = work(kinds).recover();
    ASSERT_EQ(recovered.size(), 1u);
    EXPECT_EQ(recovered[0].status, TwoDatabaseResult::Status::Done);
    EXPECT_EQ(state(4), (QuoteState{"S", 0, 1, 0, "C"}));

    try {
        second->exec(QStringLiteral("INSERT INTO OPERDIARIO (OPERID, TIPO, ESTADO) VALUES (:ID, 'X', 'C')"),
                     {{"ID", id}});
        ADD_FAILURE() << "o diário aceitou a mesma operação duas vezes";
    } catch (const DbError& error) {
        EXPECT_EQ(error.kind(), DbError::Kind::Constraint);
    }
}

TEST_P(TwoDatabaseWorkTest, AnOperationThatCannotBeFinishedIsReportedAndKept)
{
    const struct {
        const char* why;
        const char* kind;
        const char* data;
        const char* message;
    } cases[] = {
        {"tipo desconhecido", "OUTRO.PROGRAMA", "{\"NRO\":5}", "não conhece o tipo de operação «OUTRO.PROGRAMA»"},
        {"dados ilegíveis", ExampleKind, "{\"NRO\":", "os dados guardados da operação são ilegíveis"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.why);
        db->exec(QStringLiteral("DELETE FROM OPERPENDENTE"));
        db->exec(QStringLiteral("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL, DATAHORA) "
                                "VALUES ('op-1', :TIPO, :D, :DADOS, 'RUI', :T)"),
                 {{"TIPO", QString::fromLatin1(c.kind)},
                  {"D", quoteDescription(5)},
                  {"DADOS", QString::fromLatin1(c.data)},
                  {"T", QDateTime::currentDateTime()}});
        const std::vector<TwoDatabaseResult> recovered = work(kinds).recover();
        ASSERT_EQ(recovered.size(), 1u);
        EXPECT_EQ(recovered[0].status, TwoDatabaseResult::Status::Pending);
        EXPECT_TRUE(recovered[0].message.startsWith("A operação «Aprovação do orçamento 5» ficou pendente"));
        EXPECT_TRUE(recovered[0].message.contains(QString::fromUtf8(c.message))) << recovered[0].message.toStdString();
        EXPECT_EQ(TwoDatabaseWork::messages(recovered), QStringList{recovered[0].message});
        EXPECT_EQ(state(5).pending, 1);
        EXPECT_EQ(count(*second, QStringLiteral("SELECT COUNT(*) FROM OPERDIARIO")), 0);
    }
}

} // namespace
