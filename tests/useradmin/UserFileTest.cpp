#include "useradmin/AdminTestCompany.h"

#include "useradmin/core/UserFile.h"

#include "platform/ui/DbGrid.h"
#include "platform/ui/FormColours.h"

#include <QHeaderView>
#include <QLineEdit>

using namespace kv::useradmin;
using namespace kv::useradmin::test;
using kv::test::FormDriver;
using kv::test::Scenario;

namespace {

class UserFileForm {
public:
    explicit UserFileForm(Engine engine) : company(scenario, engine) { company.openCompany(); }

    FormDriver open()
    {
        FormDriver form = scenario.open("TKAVFUTIL001");
        scenario.wait(20);
        return form;
    }

    // "Inserir", a new code and a name: the start every insertion test shares.
    void beginUser(FormDriver& form, const QString& code, const QString& name)
    {
        form.click("BotInserir");
        scenario.wait();
        form.typeText(code);
        form.enter();
        scenario.wait();
        form.typeText(name);
    }

    int users(const QString& code)
    {
        return company.count("SELECT COUNT(*) FROM UTILIZADORES WHERE NRO = :NRO", {{"NRO", code}});
    }

    Scenario scenario;
    AdminTestCompany company;
};

// ---------------------------------------------------------------- a new user's code

struct CodeCase {
    const char* label;
    QString typed;
    QStringList transcript;
    QString focus; // where the focus is afterwards
    QString stored; // the new row's NRO when accepted
};

void PrintTo(const CodeCase& c, std::ostream* os) { *os << c.label; }

class NewCode : public ::testing::TestWithParam<std::tuple<CodeCase, Engine>> {};

TEST_P(NewCode, IsCheckedAsItWillBeStored)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_UNLESS_AVAILABLE(engine);
    UserFileForm t(engine);
    t.company.addUser("ABCDEFGHIJKLMNO", "X");
    FormDriver form = t.open();
    ASSERT_EQ(form.focused(), "DBGrid1");
    form.click("BotInserir");
    t.scenario.wait();
    EXPECT_EQ(form.focused(), "Edit_UtilNro");
    EXPECT_EQ(form.text("Edit_UtilNro"), "");
    form.typeText(c.typed);
    form.enter();
    t.scenario.wait();
    EXPECT_EQ(t.scenario.messages().transcript(), c.transcript);
    EXPECT_EQ(form.focused(), c.focus);
    if (!c.stored.isEmpty()) {
        EXPECT_EQ(form.text("Edit_UtilNro"), c.stored);
        EXPECT_EQ(form.text("Edit_UpgradeLicense"), "N");
    }
    // Nothing is written before the grid takes the focus again.
    EXPECT_EQ(t.company.count("SELECT COUNT(*) FROM UTILIZADORES"), 2);
    // A refused code gives the new row up; an empty one keeps it waiting for a code.
    EXPECT_EQ(form.gridRowCount("DBGrid1"), c.focus == "DBGrid1" ? 2 : 3);
}

INSTANTIATE_TEST_SUITE_P(
    UserAdmin, NewCode,
    ::testing::Combine(
        ::testing::Values(
            CodeCase{"empty", "", {"<beep>"}, "Edit_UtilNro", ""},
            CodeCase{"existing", "ANA", {"<beep>", "UTILIZADOR JÁ FOI ABERTO ... <ENTER>"}, "DBGrid1", ""},
            CodeCase{
                "existing in other case", "ana", {"<beep>", "UTILIZADOR JÁ FOI ABERTO ... <ENTER>"}, "DBGrid1", ""},
            CodeCase{"colliding after the cut",
                     "ABCDEFGHIJKLMNOPQ",
                     {"<beep>", "UTILIZADOR JÁ FOI ABERTO ... <ENTER>"},
                     "DBGrid1",
                     ""},
            CodeCase{"new, cut to fifteen", "MARIA-DA-SILVA-COSTA", {}, "Edit_Nome", "MARIA-DA-SILVA-"}),
        ::testing::ValuesIn(engines())),
    engineCaseName<CodeCase>);

// ---------------------------------------------------------------- creating, changing, checks

class UserFile : public ::testing::TestWithParam<Engine> {};

TEST_P(UserFile, ANewUserIsWrittenWithItsValuesWhenTheGridTakesTheFocus)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    FormDriver form = t.open();
    auto* header = form.find<kv::ui::DbGrid>("DBGrid1")->horizontalHeader();
    EXPECT_EQ(header->palette().color(QPalette::Button), kv::ui::editingLabelColour());
    EXPECT_EQ(form.gridTitles("DBGrid1"),
              (QStringList{"Utilizador", "Título", "Nome do Utilizador", "Super Util.", "Exec.Actual.?"}));

    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    form.click("BotInserir");
    t.scenario.wait();
    EXPECT_FALSE(form.isEnabled("BotInserir"));
    EXPECT_EQ(header->palette().color(QPalette::Button), kv::ui::formColour());
    form.typeText("maria");
    form.enter();
    t.scenario.wait();
    form.typeText("Maria Costa"); // Nome
    for (int i = 0; i < 4; ++i)
        form.enter(); // Morada, Morada, Localidade -> Palavra Passe
    EXPECT_EQ(form.focused(), "Edit_Password");
    form.typeText("segredo");
    form.enter();
    form.enter(); // Título
    form.typeText("s"); // Super Utilizador
    form.focus("DBGrid1");
    t.scenario.wait();
    const QDateTime after = QDateTime::currentDateTime().addSecs(1);

    EXPECT_TRUE(t.scenario.messages().transcript().isEmpty())
        << t.scenario.messages().transcript().join('|').toStdString();
    const auto rows =
        t.scenario.rows(t.company.application(), "SELECT NRO, NOM, PASSWOR, SUPUTIL, UPGRADE_LICENSE, DATABERT "
                                                 "FROM UTILIZADORES WHERE NRO = 'maria'");
    ASSERT_EQ(rows.rows.size(), 1u);
    EXPECT_EQ(rows.value(0, "NRO").toString(), "maria");
    EXPECT_EQ(rows.value(0, "NOM").toString(), "Maria Costa");
    EXPECT_EQ(rows.value(0, "PASSWOR").toString(), "SEGREDO");
    EXPECT_EQ(rows.value(0, "SUPUTIL").toString(), "S");
    EXPECT_EQ(rows.value(0, "UPGRADE_LICENSE").toString(), "N");
    const QDateTime created = rows.value(0, "DATABERT").toDateTime();
    EXPECT_TRUE(created >= before && created <= after) << created.toString().toStdString();
    // Reopened, insert mode off: the code field follows the grid again.
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    EXPECT_EQ(form.text("Edit_UtilNro"), form.gridCell("DBGrid1", form.gridCurrentRow("DBGrid1"), 0));
    EXPECT_TRUE(form.isEnabled("BotInserir"));
}

TEST_P(UserFile, ChangesReachTheUserWhenTheGridTakesTheFocus)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    FormDriver form = t.open();
    form.type("Edit_Nome", "Ana Ribeiro");
    EXPECT_FALSE(form.isEnabled("Edit_UtilNro"));
    EXPECT_FALSE(form.isEnabled("BitTerminar"));
    form.type("Edit_UpgradeLicense", "s");
    form.focus("DBGrid1");
    t.scenario.wait();
    EXPECT_EQ(t.company.value("SELECT NOM FROM UTILIZADORES WHERE NRO = 'ANA'"), "Ana Ribeiro");
    EXPECT_EQ(t.company.value("SELECT UPGRADE_LICENSE FROM UTILIZADORES WHERE NRO = 'ANA'"), "S");
    EXPECT_EQ(t.company.value("SELECT PASSWOR FROM UTILIZADORES WHERE NRO = 'ANA'"), "SEGREDO");
}

struct FieldCase {
    const char* field;
    QString typed;
    QStringList transcript; // none: accepted, shown in capitals
};

TEST_P(UserFile, FieldChecksKeepTheFocusAndTakeLowerCaseLetters)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    const FieldCase cases[] = {
        {"Edit_Password", "", {"<beep>"}},
        {"Edit_SupUtil", "x", {"DIGITE [S] ou [N]"}},
        {"Edit_UpgradeLicense", "x", {"<beep>", "Digite [S ... N] ..."}},
        {"Edit_Password", "nova", {}},
        {"Edit_SupUtil", "n", {}},
        {"Edit_UpgradeLicense", "s", {}},
    };
    UserFileForm t(GetParam());
    FormDriver form = t.open();
    for (const FieldCase& c : cases) {
        form.type(c.field, c.typed);
        form.tab();
        t.scenario.wait();
        EXPECT_EQ(t.scenario.messages().transcript(), c.transcript) << c.field << " " << c.typed.toStdString();
        if (c.transcript.isEmpty()) {
            EXPECT_EQ(form.find<QLineEdit>(c.field)->text(), c.typed.toUpper()) << c.field;
        } else {
            EXPECT_EQ(form.focused(), c.field);
            form.type(c.field, "S"); // put right before the next case
            form.tab();
            t.scenario.wait();
        }
        t.scenario.messages().clear();
    }
}

TEST_P(UserFile, ARowWithSkippedFieldsIsRefusedAtApply)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    FormDriver form = t.open();
    t.beginUser(form, "RUI", "Rui Sem Senha");
    // The password and the super-user flag were never entered.
    form.focus("DBGrid1");
    t.scenario.wait();
    EXPECT_EQ(t.scenario.messages().transcript(), QStringList{"<beep>"});
    EXPECT_EQ(form.focused(), "Edit_Password");
    EXPECT_EQ(t.users("RUI"), 0);

    form.typeText("abc");
    form.focus("DBGrid1");
    t.scenario.wait();
    EXPECT_EQ(t.scenario.messages().transcript(), (QStringList{"<beep>", "DIGITE [S] ou [N]"}));
    EXPECT_EQ(form.focused(), "Edit_SupUtil");
    EXPECT_EQ(t.users("RUI"), 0);

    // Closing is refused the same way; once complete the row is written.
    form.close();
    t.scenario.wait();
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(t.users("RUI"), 0);
    form.typeText("N");
    form.close();
    t.scenario.wait();
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(t.company.value("SELECT PASSWOR FROM UTILIZADORES WHERE NRO = 'RUI'"), "ABC");
}

TEST_P(UserFile, CancelarGivesUpAnInsertionOrAChange)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    FormDriver form = t.open();
    t.beginUser(form, "RUI", "Rui");
    form.click("BotCancelar");
    t.scenario.wait();
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 1);
    EXPECT_EQ(form.text("Edit_UtilNro"), "ANA");
    EXPECT_TRUE(form.isEnabled("BotInserir"));

    form.type("Edit_Nome", "Outro Nome");
    form.click("BotCancelar");
    t.scenario.wait();
    form.close();
    t.scenario.wait();
    EXPECT_EQ(t.company.value("SELECT COALESCE(NOM, '') FROM UTILIZADORES WHERE NRO = 'ANA'"), "");
    EXPECT_EQ(t.users("RUI"), 0);
    EXPECT_TRUE(t.scenario.messages().transcript().isEmpty());
}

TEST_P(UserFile, DeletingAUserTakesItsRightsInEveryCompanyAndKey)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    t.company.addUser("RUI", "X");
    for (int company : {1, 2}) {
        t.company.addRight("KAVORIMETAS", "Tabelas Orcamentos", "Tintas", company, "RUI");
        t.company.addRight("MODULO BASE", "Tabelas", "Paises", company, "RUI");
    }
    t.company.addRight("KAVORIMETAS", "Tabelas Orcamentos", "Tintas", 1, "ANA");
    FormDriver form = t.open();
    form.clickRow("DBGrid1", 1);
    ASSERT_EQ(form.text("Edit_UtilNro"), "RUI");

    t.scenario.messages().answer(false);
    form.click("BotDelete");
    t.scenario.wait();
    EXPECT_EQ(t.users("RUI"), 1);
    EXPECT_EQ(t.company.count("SELECT COUNT(*) FROM APLICACAODET WHERE UTIL = 'RUI'"), 4);

    t.scenario.messages().answer(true);
    form.click("BotDelete");
    t.scenario.wait();
    EXPECT_EQ(t.scenario.messages().texts(), (QStringList{"ELIMINAÇÃO !!! Confirma ?", "ELIMINAÇÃO !!! Confirma ?"}));
    EXPECT_EQ(t.users("RUI"), 0);
    EXPECT_EQ(t.company.count("SELECT COUNT(*) FROM APLICACAODET WHERE UTIL = 'RUI'"), 0);
    EXPECT_EQ(t.company.count("SELECT COUNT(*) FROM APLICACAODET WHERE UTIL = 'ANA'"), 1);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 1);
    EXPECT_EQ(form.focused(), "DBGrid1");
}

TEST_P(UserFile, AFailedDeleteChangesNothing)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    t.company.addRight("KAVORIMETAS", "Tabelas Orcamentos", "Tintas", 1, "ANA");
    auto db = t.company.application();
    // The user's row is refused after the rights rows went.
    if (GetParam() == Engine::Sqlite) {
        db->exec("CREATE TRIGGER RECUSA BEFORE DELETE ON UTILIZADORES "
                 "BEGIN SELECT RAISE(ABORT, 'utilizador protegido'); END");
    } else {
        db->exec("CREATE FUNCTION RECUSA() RETURNS trigger AS $$ BEGIN "
                 "RAISE EXCEPTION 'utilizador protegido'; END $$ LANGUAGE plpgsql");
        db->exec("CREATE TRIGGER RECUSA BEFORE DELETE ON UTILIZADORES FOR EACH ROW EXECUTE FUNCTION RECUSA()");
    }
    FormDriver form = t.open();
    t.scenario.messages().answer(true);
    form.click("BotDelete");
    t.scenario.wait();
    const QStringList transcript = t.scenario.messages().transcript();
    ASSERT_EQ(transcript.size(), 3);
    EXPECT_TRUE(transcript[2].contains("utilizador protegido"));
    EXPECT_EQ(t.users("ANA"), 1);
    EXPECT_EQ(t.company.count("SELECT COUNT(*) FROM APLICACAODET WHERE UTIL = 'ANA'"), 1);
}

TEST_P(UserFile, APasswordSetHereIsTheOneTheMainProgramAccepts)
{
    KV_SKIP_UNLESS_AVAILABLE(GetParam());
    UserFileForm t(GetParam());
    FormDriver form = t.open();
    form.type("Edit_Password", "nova1");
    form.focus("DBGrid1");
    t.scenario.wait();
    form.close();
    t.scenario.wait();

    QStringList said;
    EXPECT_FALSE(t.company.mainProgramLogin("ANA", "SEGREDO", &said).loggedIn);
    EXPECT_EQ(said, QStringList{"Palavra-passe Inválida"});
    EXPECT_TRUE(t.company.mainProgramLogin("ANA", "NOVA1", &said).loggedIn) << said.join('\n').toStdString();
}

INSTANTIATE_TEST_SUITE_P(UserAdmin, UserFile, ::testing::ValuesIn(engines()), engineName);

} // namespace
