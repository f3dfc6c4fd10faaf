#include "shell/ShellTestInstallation.h"

#include "platform/db/DataModule.h"
#include "shell/DatasetCatalog.h"
#include "platform/db/DbError.h"
#include "shell/Session.h"

#include <QDate>
#include <QFile>
#include <atomic>
#include <functional>
#include <thread>

using namespace kv::shell;
using namespace kv::shell::test;

namespace {

class RecordingUpdateCheck : public UpdateCheck {
public:
    void check(const UpdateCheckRequest& request) override { requests.push_back(request); }
    std::vector<UpdateCheckRequest> requests;
};

int count(kv::db::Connection& db, const QString& sql, const kv::db::Params& params = {})
{
    return db.scalar(sql, params).toInt();
}

class LoginFixture : public ::testing::TestWithParam<Engine> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(GetParam());
        install = std::make_unique<ShellTestInstallation>(GetParam());
    }

    // A session that has read its workstation files, ready to log in.
    std::unique_ptr<Session> newSession()
    {
        auto session = std::make_unique<Session>(install->installation(), sink);
        session->setUpdateCheck(&updates);
        EXPECT_EQ(session->activate(), Activation::Login);
        return session;
    }

    int paramTmpRows() { return count(*install->application(), "SELECT COUNT(*) FROM PARAMTMP"); }

    std::unique_ptr<ShellTestInstallation> install;
    RecordingSink sink;
    RecordingUpdateCheck updates;
};

// ---------------------------------------------------------------- stops

struct StopCase {
    const char* label;
    std::function<void(ShellTestInstallation&)> prepare;
    QString message;
    bool startsWith = false; // the rest is the database's own text
};

void PrintTo(const StopCase& c, std::ostream* os) { *os << c.label; }

class LoginStopCases : public ::testing::TestWithParam<std::tuple<Engine, StopCase>> {
protected:
    void SetUp() override
    {
        KV_SKIP_WITHOUT(std::get<0>(GetParam()));
        install = std::make_unique<ShellTestInstallation>(std::get<0>(GetParam()));
    }
    std::unique_ptr<ShellTestInstallation> install;
};

TEST_P(LoginStopCases, ShowsItsMessageAndWritesNoLoginRow)
{
    const StopCase& c = std::get<1>(GetParam());
    c.prepare(*install);
    RecordingSink sink;
    Session session(install->installation(), sink);
    ASSERT_EQ(session.activate(), Activation::Login);
    const LoginResult result = session.login(install->credentials());
    EXPECT_FALSE(result.loggedIn);
    if (c.startsWith) {
        EXPECT_TRUE(result.stopMessage.startsWith(c.message)) << result.stopMessage.toStdString();
    } else {
        EXPECT_EQ(result.stopMessage, c.message);
    }
    EXPECT_EQ(sink.messages, QStringList{result.stopMessage});
    EXPECT_EQ(sink.beeps, 1);
    session.shutDown();
    EXPECT_EQ(count(*install->application(), "SELECT COUNT(*) FROM PARAMTMP"), 0);
}

void execG(ShellTestInstallation& i, const char* sql) { i.execGeneral(sql); }
void execA(ShellTestInstallation& i, const char* sql) { i.execApplication(sql); }

const StopCase StopCasesTable[] = {
    {"no login row for the workstation", [](auto& i) { execG(i, "DELETE FROM PARAMUTIL"); }, "Empresa Inexistente : 0"},
    {"unknown company", [](auto& i) { execG(i, "UPDATE PARAMUTIL SET EMPNRO = 7"); }, "Empresa Inexistente : 7"},
    {"no invoicing alias", [](auto& i) { execG(i, "UPDATE EMPRESAS SET BDFACTURA = ''"); },
     "BASE DE DADOS DE FACTURAÇÃO INEXISTENTE"},
    {"no accounting alias", [](auto& i) { execG(i, "UPDATE EMPRESAS SET BDCONTAB = NULL"); },
     "BASE DE DADOS DE CONTABILIDADE INEXISTENTE"},
    {"no application alias", [](auto& i) { execG(i, "UPDATE EMPRESAS SET BDESPECIF01 = ''"); },
     "BASE DE DADOS DE KAVORIMETAS INEXISTENTE"},
    {"no database login", [](auto& i) { execG(i, "DELETE FROM UTILPASSWORD"); },
     "Problemas com o acesso à empresa !! Contacte o seu Gestor de Sistema"},
    {"empty database login name",
     [](auto& i) { execG(i, "UPDATE UTILPASSWORD SET BDUSERNAME = '', BDPASSWORD = 'x'"); },
     "Problemas com o acesso à empresa !! Contacte o seu Gestor de Sistema"},
    {"user missing", [](auto& i) { execA(i, "DELETE FROM UTILIZADORES"); }, "Utilizador Inexistente : ANA"},
    {"password differs in letter case", [](auto& i) { execA(i, "UPDATE UTILIZADORES SET PASSWOR = 'segredo'"); },
     "Palavra-passe Inválida"},
    {"no general costing parameters", [](auto& i) { execA(i, "DELETE FROM ORCPARGER"); },
     "Parâmetros Gerais Inexistentes !!"},
    {"no letter layout", [](auto& i) { execA(i, "UPDATE ORCPARGER SET TIPOORCAM = ''"); },
     "Tipo de Impressão não Definido !!"},
    {"database of a newer program",
     [](auto& i) {
         i.bringToProgramVersion();
         execA(i, "UPDATE ACTUAL_VERSAO SET VERSAO = '01.012'");
     },
     "A base de dados da empresa está na versão 01.012, mais recente do que a deste programa "
     "(01.011). Instale a versão actual do programa."},
    {"failing version step", [](auto& i) { execA(i, "DROP TABLE WORKORDFAB"); },
     "Erro na actualização da base de dados para a versão 01.005:", true},
};

INSTANTIATE_TEST_SUITE_P(Login, LoginStopCases,
                         ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres),
                                            ::testing::ValuesIn(StopCasesTable)),
                         engineCaseName<StopCase>);

// ---------------------------------------------------------------- success

class Login : public LoginFixture {};

TEST_P(Login, OpensTheCompanyAndWritesTheLoginRow)
{
    // The invoicing program's login rows of this company and year go; others stay.
    const QString year = QString::number(QDate::currentDate().year());
    install->addInvoicingLogin("PC-F1", year, 1);
    install->addInvoicingLogin("PC-F2", "1999", 1);
    install->addInvoicingLogin("PC-F3", year, 2);
    auto session = newSession();
    const LoginResult result = session->login(install->credentials());
    ASSERT_TRUE(result.loggedIn) << result.stopMessage.toStdString();
    EXPECT_TRUE(sink.messages.isEmpty());

    const LoginState& s = session->state();
    EXPECT_EQ(s.WUtil, "ANA");
    EXPECT_EQ(s.WEmpNro, 1);
    EXPECT_FALSE(s.WEmpNom.isEmpty());
    EXPECT_EQ(s.WComputador, "PC-TESTE");
    EXPECT_EQ(s.WTipoOrcam, "1");
    EXPECT_EQ(s.WTipoOrdFab, "M");
    EXPECT_EQ(s.WVersaoBd, kv::shell::ProgramVersion);
    EXPECT_EQ(s.WParamUserName, "USER NAME=" + install->databaseUser());
    EXPECT_EQ(s.WAno, year);

    auto general = install->general();
    EXPECT_EQ(count(*general, "SELECT COUNT(*) FROM PARAMUTIL WHERE APLICACAO = 'FACTURACAO'"), 2);
    EXPECT_EQ(count(*general, "SELECT COUNT(*) FROM PARAMUTIL WHERE COMP_NAME = 'PC-F1'"), 0);

    auto app = install->application();
    EXPECT_EQ(count(*app,
                    "SELECT COUNT(*) FROM PARAMTMP WHERE UTIL = 'ANA' AND APLICACAO = "
                    "'KAVORIMETAS' AND EMPNRO = 1 AND EMPNOM = :N",
                    {{"N", s.WEmpNom}}),
              1);

    // Only the rights rows, the login row and what the login read stay open.
    QStringList open;
    for (const DatasetDeclaration& d : datasetCatalog())
        if (session->dataModules().dataset(d.module + "." + d.name).isOpen())
            open << d.module + "." + d.name;
    open.sort();
    EXPECT_EQ(open, (QStringList{"DTEMPRESAS.APLICACAOCAP", "DTEMPRESAS.APLICACAODET", "DTEMPRESAS.APLICACAOMST",
                                 "DTEMPRESAS.PARAMTMP", "DTTABELAS.PARGRUPOS", "ZURIVAVEZA.ORCPARGER"}));
}

TEST_P(Login, WorkingYearFollowsTheDateAfterTheCleanUp)
{
    install->execGeneral("UPDATE PARAMUTIL SET ANO = '2008', DATA = :D",
                         {{"D", QDateTime(QDate(2009, 3, 2), QTime(0, 0))}});
    for (const char* year : {"2008", "2009"})
        install->addInvoicingLogin(QString("PC-") + year, year, 1);
    auto session = newSession();
    const LoginResult result = session->login(install->credentials(), QDate(2025, 6, 1));
    ASSERT_TRUE(result.loggedIn) << result.stopMessage.toStdString();
    EXPECT_EQ(session->state().WAno, "2009");
    EXPECT_EQ(session->state().WData, QDate(2009, 3, 2));
    EXPECT_TRUE(result.dateOutsideCurrentYear);
    auto general = install->general();
    EXPECT_EQ(count(*general, "SELECT COUNT(*) FROM PARAMUTIL WHERE APLICACAO = 'FACTURACAO' AND ANO = '2008'"), 0);
    EXPECT_EQ(count(*general, "SELECT COUNT(*) FROM PARAMUTIL WHERE APLICACAO = 'FACTURACAO' AND ANO = '2009'"), 1);

    const LoginResult sameYear = newSession()->login(install->credentials(), QDate(2009, 12, 31));
    EXPECT_FALSE(sameYear.dateOutsideCurrentYear);
}

TEST_P(Login, EmptyProductionModelIsNotT)
{
    install->execApplication("UPDATE ORCPARGER SET TIPOORDFAB = NULL");
    auto session = newSession();
    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    EXPECT_EQ(session->state().WTipoOrdFab, "");
    EXPECT_FALSE(session->state().productionModelT());
}

TEST_P(Login, ExistingLoginRowTakesTheOpenCompany)
{
    install->execApplication("INSERT INTO PARAMTMP (UTIL, APLICACAO, EMPNRO, EMPNOM) "
                             "VALUES ('ANA', 'KAVORIMETAS', 9, 'Outra Empresa')");
    auto session = newSession();
    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    auto app = install->application();
    EXPECT_EQ(count(*app, "SELECT COUNT(*) FROM PARAMTMP"), 1);
    EXPECT_EQ(app->scalar("SELECT EMPNOM FROM PARAMTMP").toString(), session->state().WEmpNom);
    EXPECT_EQ(app->scalar("SELECT EMPNRO FROM PARAMTMP").toInt(), 1);
}

TEST_P(Login, ShutDownDeletesOnlyThisUsersRow)
{
    install->execApplication("INSERT INTO PARAMTMP (UTIL, APLICACAO, EMPNRO, EMPNOM) VALUES "
                             "('RUI', 'KAVORIMETAS', 1, 'E'), ('ANA', 'FACTURACAO', 1, 'E')");
    auto session = newSession();
    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    EXPECT_EQ(paramTmpRows(), 3);
    session->shutDown();
    auto app = install->application();
    EXPECT_EQ(count(*app, "SELECT COUNT(*) FROM PARAMTMP WHERE UTIL = 'ANA' AND APLICACAO = 'KAVORIMETAS'"), 0);
    EXPECT_EQ(paramTmpRows(), 2);
    EXPECT_EQ(session->generalDatabase(), nullptr);
}

TEST_P(Login, StoppedLoginLeavesTheUsersOtherSessionAlone)
{
    install->execApplication("INSERT INTO PARAMTMP (UTIL, APLICACAO, EMPNRO, EMPNOM) "
                             "VALUES ('ANA', 'KAVORIMETAS', 1, 'E')");
    install->execApplication("UPDATE UTILIZADORES SET PASSWOR = 'OUTRA'");
    auto session = newSession();
    ASSERT_FALSE(session->login(install->credentials()).loggedIn);
    session->shutDown();
    EXPECT_EQ(paramTmpRows(), 1);
}

TEST_P(Login, PendingTwoDatabaseWorkIsFinishedOrReportedAfterTheLogin)
{
    install->bringToProgramVersion();
    for (const char* kind : {"TESTE.DIARIO", "OUTRO.PROGRAMA"})
        install->execApplication("INSERT INTO OPERPENDENTE (OPERID, TIPO, DESCRICAO, DADOS, UTIL) "
                                 "VALUES (:ID, :TIPO, :D, '{}', 'RUI')",
                                 {{"ID", QStringLiteral("op-") + QLatin1String(kind)},
                                  {"TIPO", QLatin1String(kind)},
                                  {"D", QStringLiteral("Operação ") + QLatin1String(kind)}});
    auto session = newSession();
    kv::db::TwoDatabaseKind journalOnly;
    journalOnly.name = QStringLiteral("TESTE.DIARIO");
    journalOnly.first = kv::db::role::application();
    journalOnly.second = kv::db::role::invoicing();
    journalOnly.secondStep = [](kv::db::Connection&, const kv::db::TwoDatabaseOperation&) {};
    session->twoDatabaseKinds().add(journalOnly);

    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    EXPECT_EQ(count(*install->invoicing(), "SELECT COUNT(*) FROM OPERDIARIO WHERE OPERID = 'op-TESTE.DIARIO'"), 1);
    EXPECT_EQ(count(*install->application(), "SELECT COUNT(*) FROM OPERPENDENTE"), 1);
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages[0].startsWith("A operação «Operação OUTRO.PROGRAMA» ficou pendente"))
        << sink.messages[0].toStdString();
}

TEST_P(Login, SecondLoginRecreatesTheModules)
{
    auto session = newSession();
    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    QObject* first = session->dataModules().module("DTFILES");
    bool freed = false;
    QObject::connect(first, &QObject::destroyed, [&freed] { freed = true; });
    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    EXPECT_TRUE(freed);
    EXPECT_TRUE(session->dataModules().dataset("DTEMPRESAS.APLICACAODET").isOpen());
}

TEST_P(Login, LaterActivationsDoNotLogInAgain)
{
    auto session = newSession();
    EXPECT_EQ(session->activate(), Activation::Continue);
    EXPECT_EQ(session->state().WVersao, kv::shell::ProgramVersion);
    QFile::remove(install->installation().workstationFile());
    EXPECT_EQ(session->activate(), Activation::Stop);
    EXPECT_EQ(sink.messages, QStringList{"Parâmetros de Pc_Name não definidos ..."});
}

// ---------------------------------------------------------------- update check

struct UpdateCase {
    const char* license;
    const char* workstationType;
    bool silent;
    QString infoFile;
};

class LoginUpdateCheck : public ::testing::TestWithParam<std::tuple<Engine, UpdateCase>> {};

TEST_P(LoginUpdateCheck, LicenseDecidesSilentAndButtons)
{
    const auto& [engine, c] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ShellTestInstallation install(engine);
    install.bringToProgramVersion();
    install.execApplication("UPDATE UTILIZADORES SET UPGRADE_LICENSE = :L", {{"L", c.license}});
    QFile type(install.installation().workstationTypeFile());
    ASSERT_TRUE(type.open(QIODevice::WriteOnly));
    type.write(QByteArray(c.workstationType) + "\n");
    type.close();

    RecordingSink sink;
    RecordingUpdateCheck updates;
    Session session(install.installation(), sink);
    session.setUpdateCheck(&updates);
    ASSERT_EQ(session.activate(), Activation::Login);
    const LoginResult result = session.login(install.credentials());
    ASSERT_TRUE(result.loggedIn) << result.stopMessage.toStdString();
    ASSERT_EQ(updates.requests.size(), 1u);
    EXPECT_EQ(updates.requests[0].silent, c.silent);
    EXPECT_EQ(updates.requests[0].infoFile, c.infoFile);
    EXPECT_EQ(result.updateButtonsVisible, !c.silent);

    session.checkForUpdates();
    ASSERT_EQ(updates.requests.size(), 2u);
    EXPECT_FALSE(updates.requests[1].silent);
}

INSTANTIATE_TEST_SUITE_P(Login, LoginUpdateCheck,
                         ::testing::Combine(::testing::Values(Engine::Sqlite, Engine::Postgres),
                                            ::testing::Values(UpdateCase{"S", "S", false, "UKavorimetas.txt"},
                                                              UpdateCase{"N", "S", true, "UKavorimetas.txt"},
                                                              UpdateCase{"N", "M", true, "UKavorimetas_MP.txt"})),
                         engineCaseName<UpdateCase>);

// ---------------------------------------------------------------- password

TEST_P(Login, NewPasswordIsStoredAndCheckedAtTheNextLogin)
{
    auto session = newSession();
    ASSERT_TRUE(session->login(install->credentials()).loggedIn);
    ASSERT_TRUE(session->changePassword("NOVA1"));
    EXPECT_EQ(install->application()->scalar("SELECT PASSWOR FROM UTILIZADORES").toString(), "NOVA1");
    session->shutDown();

    // The workstation row still carries the old password.
    EXPECT_EQ(newSession()->login(install->credentials()).stopMessage, "Palavra-passe Inválida");
    install->execGeneral("UPDATE PARAMUTIL SET PASSWOR = 'NOVA1'");
    EXPECT_TRUE(newSession()->login(install->credentials()).loggedIn);
}

// ---------------------------------------------------------------- several workstations

// Three programs started at once on a new installation: its version table,
// its version steps and the user's login row are made by whichever comes
// first, and all three log in.
TEST_P(Login, ThreeProgramsStartingAtOnceAllLogIn)
{
    const GeneralCredentials credentials = install->credentials();
    const QString root = install->installation().root();
    constexpr int Programs = 3;
    std::string outcome[Programs];
    std::atomic<int> ready{0};
    auto program = [&](int which) {
        const kv::install::Installation installation(root);
        RecordingSink messages;
        RecordingUpdateCheck checks;
        Session session(installation, messages);
        session.setUpdateCheck(&checks);
        if (session.activate() != Activation::Login) {
            outcome[which] = "no login";
            return;
        }
        ++ready;
        while (ready < Programs)
            std::this_thread::yield();
        const LoginResult result = session.login(credentials);
        outcome[which] = result.loggedIn ? "" : result.stopMessage.toStdString();
    };
    std::vector<std::thread> programs;
    for (int i = 0; i < Programs; ++i)
        programs.emplace_back(program, i);
    for (std::thread& t : programs)
        t.join();
    for (const std::string& o : outcome)
        EXPECT_EQ(o, "");
    auto app = install->application();
    EXPECT_EQ(count(*app, "SELECT COUNT(*) FROM ACTUAL_VERSAO"), 1);
    EXPECT_EQ(app->scalar("SELECT VERSAO FROM ACTUAL_VERSAO").toString(), kv::shell::ProgramVersion);
}

// A table change of the version update never waits without limit for a
// workstation that keeps the table in use: the login stops and says so.
TEST_P(Login, VersionUpdateStopsWhenAnotherWorkstationKeepsTheTableInUse)
{
    if (GetParam() != Engine::Postgres)
        GTEST_SKIP() << "SQLite locks the whole file: the busy timeout covers it";
    install->bringToProgramVersion();
    install->execApplication("ALTER TABLE WORKORDFAB DROP COLUMN PLCOMPRI2");
    install->execApplication("UPDATE ACTUAL_VERSAO SET VERSAO = '01.004'");
    auto other = install->application();
    kv::db::Transaction inUse(*other);
    other->query("SELECT * FROM WORKORDFAB");

    const LoginResult result = newSession()->login(install->credentials());
    EXPECT_FALSE(result.loggedIn);
    EXPECT_EQ(result.stopMessage,
              "Outro posto de trabalho está a usar a tabela WORKORDFAB: a base de dados não pode ser actualizada "
              "agora. Entre de novo quando esse posto sair do programa.");
}

// A database file that is gone is reported with the alias and the file;
// no empty database takes its place.
TEST_P(Login, MissingDatabaseFileStopsTheLogin)
{
    if (GetParam() != Engine::Sqlite)
        GTEST_SKIP() << "a PostgreSQL database is not a file";
    const QString alias =
        install->general()->scalar("SELECT BDCONTAB FROM EMPRESAS WHERE EMPNRO = 1").toString().trimmed();
    const QString file = install->installation().alias(alias).database;
    ASSERT_TRUE(QFile::remove(file));
    const LoginResult result = newSession()->login(install->credentials());
    EXPECT_FALSE(result.loggedIn);
    EXPECT_TRUE(result.stopMessage.startsWith(
        QStringLiteral("A base de dados «%1» não existe: falta o ficheiro «%2».").arg(alias, file)))
        << result.stopMessage.toStdString();
    EXPECT_FALSE(QFile::exists(file));
}

INSTANTIATE_TEST_SUITE_P(Engines, Login, ::testing::Values(Engine::Sqlite, Engine::Postgres), kv::test::engineTestName);

} // namespace
