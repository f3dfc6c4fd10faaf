#include "useradmin/AdminTestCompany.h"

#include "useradmin/core/CompanySelection.h"
#include "useradmin/forms/DatabaseLoginDialog.h"
#include "useradmin/forms/TKAVMDUTILEMPR.h"

#include <QLabel>

using namespace kv::useradmin;
using namespace kv::useradmin::test;
using kv::test::FormDriver;
using kv::test::Scenario;

namespace {

// ---------------------------------------------------------------- the "Ok" rule

struct CheckCase {
    const char* label;
    QVariant number;
    QString alias;
    bool accepted;
    bool beep;
    QString message;
};

void PrintTo(const CheckCase& c, std::ostream* os) { *os << c.label; }

class CompanyCheck : public ::testing::TestWithParam<CheckCase> {};

TEST_P(CompanyCheck, AcceptsOnlyNumbersInRangeWithAnApplicationDatabase)
{
    const CheckCase& c = GetParam();
    const SelectionCheck check = CompanySelection::check(c.number, "Empresa", c.alias);
    EXPECT_EQ(check.accepted, c.accepted);
    EXPECT_EQ(check.beep, c.beep);
    EXPECT_EQ(check.message, c.message);
    if (c.accepted) {
        EXPECT_EQ(check.company.number, c.number.toInt());
    }
}

INSTANTIATE_TEST_SUITE_P(
    UserAdmin, CompanyCheck,
    ::testing::Values(CheckCase{"first", 1, "KAVOR01", true, false, ""},
                      CheckCase{"last", 9999, "KAVOR01", true, false, ""},
                      CheckCase{"zero", 0, "KAVOR01", false, false, "Seleccione a Empresa !!!"},
                      CheckCase{"beyond", 10000, "KAVOR01", false, false, "Seleccione a Empresa !!!"},
                      CheckCase{"empty list", QVariant(), "", false, false, "Seleccione a Empresa !!!"},
                      CheckCase{"no alias", 5, "  ", false, true, "BASE DE DADOS INEXISTENTE"}));

// ---------------------------------------------------------------- the selection window

// Company rows by EMPNRO: 0, 1, 5 (no alias), 9999, 10000.
struct PickCase {
    const char* label;
    int row;
    QStringList transcript; // after "Ok"
    QString company; // the label afterwards; "" when refused
};

void PrintTo(const PickCase& c, std::ostream* os) { *os << c.label; }

class Selection : public ::testing::TestWithParam<std::tuple<PickCase, Engine>> {};

TEST_P(Selection, OkOpensOnlyAValidCompany)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_UNLESS_AVAILABLE(engine);
    Scenario scenario;
    AdminTestCompany company(scenario, engine);
    company.addCompany(0, "Empresa Zero", company.applicationAlias());
    company.addCompany(5, "Sem Base de Dados", "");
    company.addCompany(9999, "Última Empresa", company.applicationAlias());
    company.addCompany(10000, "Fora do Limite", company.applicationAlias());

    bool ended = false;
    bool generalWhileOpen = false;
    TKAVFMENUUTIL* window = company.openMainWindow(
        [&, row = c.row, refused = c.company.isEmpty()](FormDriver& selection) {
            generalWhileOpen = company.session().generalConnected();
            EXPECT_EQ(selection.gridTitles("DBGrid1"), (QStringList{"Emp. Nº", "Nome da Empresa"}));
            selection.clickRow("DBGrid1", row);
            selection.click("BotSelect");
            if (refused) {
                EXPECT_TRUE(selection.isOpen());
                selection.click("BitTerminar");
            }
        },
        &ended);
    scenario.wait(50);
    EXPECT_TRUE(generalWhileOpen);
    EXPECT_FALSE(company.session().generalConnected());
    EXPECT_EQ(scenario.messages().transcript(), c.transcript);
    if (c.company.isEmpty()) {
        EXPECT_TRUE(ended);
        EXPECT_EQ(company.session().application(), nullptr);
    } else {
        EXPECT_FALSE(ended);
        EXPECT_EQ(window->findChild<QLabel*>("Panel_EmpNome")->text(), c.company);
        ASSERT_NE(company.session().application(), nullptr);
        EXPECT_EQ(company.session().application()->scalar("SELECT COUNT(*) FROM UTILIZADORES").toInt(), 1);
    }
    if (engine == Engine::Postgres) {
        EXPECT_EQ(company.login().prefilled.value(0), company.session().generalUserLine().mid(10));
    }
}

INSTANTIATE_TEST_SUITE_P(
    UserAdmin, Selection,
    ::testing::Combine(::testing::Values(PickCase{"number 1", 1, {}, "Empresa de Demonstração"},
                                         PickCase{"number 9999", 3, {}, "Última Empresa"},
                                         PickCase{"number 0", 0, {"Seleccione a Empresa !!!"}, ""},
                                         PickCase{"number 10000", 4, {"Seleccione a Empresa !!!"}, ""},
                                         PickCase{"without alias", 2, {"<beep>", "BASE DE DADOS INEXISTENTE"}, ""}),
                       ::testing::ValuesIn(engines())),
    engineCaseName<PickCase>);

class SelectionLifecycle : public ::testing::TestWithParam<Engine> {};

// The selection window with no company to choose: "Ok" is refused, "Sair" ends.
void okOnAnEmptyListThenSair(FormDriver& selection)
{
    EXPECT_EQ(selection.gridRowCount("DBGrid1"), 0);
    selection.click("BotSelect");
    selection.click("BitTerminar");
}

TEST_P(SelectionLifecycle, AnEmptyListRefusesOk)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    Scenario scenario;
    AdminTestCompany company(scenario, GetParam());
    company.general()->exec("DELETE FROM EMPRESAS");
    bool ended = false;
    company.openMainWindow(okOnAnEmptyListThenSair, &ended);
    EXPECT_EQ(scenario.messages().transcript(), QStringList{"Seleccione a Empresa !!!"});
    EXPECT_TRUE(ended);
}

TEST_P(SelectionLifecycle, ChangeOfCompanySairAndCloseBox)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    Scenario scenario;
    AdminTestCompany company(scenario, GetParam());
    company.addCompany(2, "Segunda Empresa", company.applicationAlias());
    bool ended = false;
    TKAVFMENUUTIL* window = company.openMainWindow(
        [](FormDriver& selection) {
            selection.clickRow("DBGrid1", 0);
            selection.click("BotSelect");
        },
        &ended);
    auto* label = window->findChild<QLabel*>("Panel_EmpNome");
    EXPECT_EQ(label->text(), "Empresa de Demonstração");

    // A change to the second company: its name and number from then on.
    scenario.onDialog([](FormDriver& selection) {
        selection.clickRow("DBGrid1", 1);
        selection.click("BotSelect");
    });
    EXPECT_TRUE(window->MudUtilEmpr());
    EXPECT_EQ(label->text(), "Segunda Empresa");
    EXPECT_EQ(company.session().company().number, 2);
    EXPECT_NE(company.session().application(), nullptr);

    // The close box after a first selection goes back to the company that was open.
    scenario.onDialog([](FormDriver& selection) {
        selection.clickRow("DBGrid1", 0);
        selection.close();
    });
    EXPECT_TRUE(window->MudUtilEmpr());
    EXPECT_FALSE(ended);
    EXPECT_EQ(label->text(), "Segunda Empresa");
    EXPECT_EQ(company.session().company().number, 2);
    EXPECT_NE(company.session().application(), nullptr);
    EXPECT_FALSE(company.session().generalConnected());

    // "Sair" ends the program although a company is open.
    scenario.onDialog([](FormDriver& selection) { selection.click("BitTerminar"); });
    EXPECT_FALSE(window->MudUtilEmpr());
    EXPECT_TRUE(ended);
    EXPECT_EQ(company.session().application(), nullptr);
    EXPECT_TRUE(scenario.messages().transcript().isEmpty());
}

TEST_P(SelectionLifecycle, TheCloseBoxAtTheFirstSelectionEndsTheProgram)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    Scenario scenario;
    AdminTestCompany company(scenario, GetParam());
    bool ended = false;
    company.openMainWindow([](FormDriver& selection) { selection.close(); }, &ended);
    EXPECT_TRUE(ended);
    EXPECT_EQ(company.session().application(), nullptr);
}

TEST_P(SelectionLifecycle, ARefusedConnectionIsReportedAndTheFormsDoNotOpen)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    Scenario scenario;
    AdminTestCompany company(scenario, GetParam());
    company.addCompany(3, "Alias Desconhecido", "NAOEXISTE");
    bool ended = false;
    TKAVFMENUUTIL* window = company.openMainWindow(
        [](FormDriver& selection) {
            selection.clickRow("DBGrid1", 1);
            selection.click("BotSelect");
        },
        &ended);
    EXPECT_FALSE(ended);
    EXPECT_EQ(window->findChild<QLabel*>("Panel_EmpNome")->text(), "Alias Desconhecido");
    EXPECT_EQ(company.session().application(), nullptr);
    ASSERT_EQ(scenario.messages().transcript().size(), 2);
    EXPECT_TRUE(scenario.messages().transcript()[1].contains("NAOEXISTE"));

    // Every working form says so and closes.
    for (const char* form : {"TKAVFUTIL001", "TKAVFUTIL002"}) {
        scenario.messages().clear();
        FormDriver driver = scenario.open(form);
        scenario.wait(20);
        EXPECT_FALSE(driver.isOpen()) << form;
        EXPECT_EQ(scenario.messages().beeps(), 1) << form;
    }
}

INSTANTIATE_TEST_SUITE_P(UserAdmin, SelectionLifecycle, ::testing::ValuesIn(engines()), engineName);

// ---------------------------------------------------------------- the server's login prompt

TEST(ServerLogin, AnsweredConnectsAndCancelledIsAConnectionError)
{
    KV_SKIP_UNLESS_AVAILABLE(Engine::Postgres);
    Scenario scenario;
    AdminTestCompany company(scenario, Engine::Postgres);
    DatabaseLoginDialog dialog;
    AdminSession session(company.installation(), company.session().generalUserLine().mid(10), "", dialog);
    const QString user = kv::test::testServer()->user;

    // The general database: the user comes from the general line; the application
    // database's prompt starts empty.
    scenario.onDialog([&](FormDriver& login) {
        EXPECT_EQ(login.text("Edit_Utilizador"), user);
        EXPECT_TRUE(login.text("Label_BaseDados").contains("QXRGERAL"));
        login.click("BotOk");
    });
    EXPECT_NE(session.connectGeneral(), nullptr);
    session.setCompany({1, "Empresa", company.applicationAlias()});
    scenario.onDialog([&](FormDriver& login) {
        EXPECT_EQ(login.text("Edit_Utilizador"), "");
        EXPECT_TRUE(login.text("Label_BaseDados").contains("BDDADOSKAVORIME"));
        login.type("Edit_Utilizador", user);
        login.click("BotOk");
    });
    session.connectApplication();
    EXPECT_NE(session.application(), nullptr);

    scenario.onDialog([](FormDriver& login) { login.click("BotCancelar"); });
    try {
        session.connectApplication();
        ADD_FAILURE() << "a cancelled login connected";
    } catch (const kv::db::DbError& error) {
        EXPECT_EQ(error.kind(), kv::db::DbError::Kind::Connection);
        EXPECT_TRUE(error.text().contains(company.applicationAlias()));
    }
    EXPECT_EQ(session.application(), nullptr);
}

TEST(ServerLogin, CancelledAtTheGeneralDatabaseLeavesTheListEmpty)
{
    KV_SKIP_UNLESS_AVAILABLE(Engine::Postgres);
    Scenario scenario;
    AdminTestCompany company(scenario, Engine::Postgres);
    company.login().cancel = true;
    bool ended = false;
    company.openMainWindow(okOnAnEmptyListThenSair, &ended);
    const QStringList transcript = scenario.messages().transcript();
    ASSERT_EQ(transcript.size(), 3);
    EXPECT_TRUE(transcript[1].contains("QXRGERAL"));
    EXPECT_EQ(transcript[2], "Seleccione a Empresa !!!");
    EXPECT_TRUE(ended);
}

TEST(SqliteLogin, FileDatabasesConnectWithoutAPrompt)
{
    Scenario scenario;
    AdminTestCompany company(scenario, Engine::Sqlite);
    company.openMainWindow([](FormDriver& selection) {
        selection.clickRow("DBGrid1", 0);
        selection.click("BotSelect");
    });
    EXPECT_NE(company.session().application(), nullptr);
    EXPECT_TRUE(company.login().asked.isEmpty());
}

} // namespace
