// The test kit's login goes through the shell's own login: what it leaves is
// what the main program has after its first activation.
#include "schema/DemoInstallation.h"
#include "support/Scenario.h"

#include <QDate>

using kv::test::Company;
using kv::test::Engine;
using kv::test::Scenario;

namespace {

struct LoginCase {
    std::string label;
    Company company;
    QString user;
    QString companyName;
    QDate date; // invalid: today
};

std::ostream& operator<<(std::ostream& os, const LoginCase& c) { return os << c.label; }

class ScenarioLogin : public ::testing::TestWithParam<std::tuple<LoginCase, Engine>> {};

TEST_P(ScenarioLogin, LeavesTheCompanyOpenAsTheProgramDoes)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Scenario scenario;
    kv::shell::Session& session = scenario.login(engine, c.company);

    ASSERT_TRUE(session.loggedIn());
    EXPECT_EQ(session.state().WUtil, c.user);
    EXPECT_EQ(session.state().WEmpNro, 1);
    EXPECT_EQ(session.state().WEmpNom, c.companyName);
    const QDate date = c.date.isValid() ? c.date : QDate::currentDate();
    EXPECT_EQ(session.state().WData, date);
    EXPECT_EQ(session.state().WAno, QString::number(date.year()));
    EXPECT_TRUE(scenario.messages().texts().isEmpty()) << scenario.messages().texts().join(" / ").toStdString();
    // The login row is written, so reports name the company; the version update ran once, before the copy.
    auto application = scenario.connect(session.state().WBdEspecif01);
    EXPECT_EQ(scenario.rows(application, "SELECT EMPNOM FROM PARAMTMP WHERE UTIL = :U", {{"U", c.user}})
                  .value(0, "EMPNOM")
                  .toString(),
              c.companyName);
    EXPECT_TRUE(application->tableExists("SUBCONTRATO"));
}

TEST_P(ScenarioLogin, EachCaseGetsItsOwnCopy)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    for (int round = 0; round < 2; ++round) {
        Scenario scenario;
        kv::shell::Session& session = scenario.login(engine, c.company);
        auto application = scenario.connect(session.state().WBdEspecif01);
        EXPECT_EQ(application->scalar("SELECT COUNT(*) FROM TINTAS WHERE CODIGO = 999").toInt(), 0);
        application->exec("INSERT INTO TINTAS (CODIGO, DESIGNACAO) VALUES (999, 'Só deste caso')");
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shell, ScenarioLogin,
    ::testing::Combine(
        ::testing::Values(
            LoginCase{"plain", Company::Plain, "ANA", "Cartonagem do Vale, Lda", QDate(2024, 3, 15)},
            LoginCase{"demo", Company::Demo, kv::schema::DemoInstallation::user(), "Empresa de Demonstração", {}}),
        ::testing::ValuesIn(kv::test::engines())),
    kv::test::caseName<LoginCase>);

} // namespace
