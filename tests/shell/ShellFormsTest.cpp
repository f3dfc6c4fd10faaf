#include "shell/ShellTestInstallation.h"

#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageServiceSink.h"
#include "support/LayoutCheck.h"
#include "support/Scenario.h"
#include "shell/forms/TALTERFPASS.h"
#include "shell/forms/TFACFMENU.h"
#include "platform/ui/TGlyphButton.h"

#include <QAction>
#include <QDialog>
#include <QLineEdit>
#include <QScreen>
#include <QTabWidget>

using namespace kv::shell;
using namespace kv::shell::test;
using kv::test::FormDriver;
using kv::test::Scenario;

namespace {

// ---------------------------------------------------------------- password dialog

struct DialogCase {
    const char* label;
    QString first;
    QString second;
    QStringList transcript; // after Confirmar
    QString focus; // field with the focus afterwards, "" when closed
    QString stored;
};

void PrintTo(const DialogCase& c, std::ostream* os) { *os << c.label; }

class PasswordDialog : public ::testing::TestWithParam<DialogCase> {};

TEST_P(PasswordDialog, ConfirmWritesOnlyAValidPassword)
{
    const DialogCase& c = GetParam();
    Scenario scenario;
    auto* dialog = new TALTERFPASS;
    FormDriver form = scenario.show(dialog);
    scenario.wait();
    EXPECT_EQ(form.focused(), "Edit_Pass1");
    // Typing into the fields directly: the exit checks run on Confirmar.
    form.find<QLineEdit>("Edit_Pass1")->setText(c.first);
    form.find<QLineEdit>("Edit_Pass2")->setText(c.second);
    form.click("BitTerminar");
    scenario.wait();
    EXPECT_EQ(scenario.messages().transcript(), c.transcript);
    if (c.focus.isEmpty()) {
        EXPECT_EQ(dialog->outcome(), TALTERFPASS::Confirmed);
        EXPECT_EQ(dialog->newPassword(), c.stored);
    } else {
        EXPECT_EQ(dialog->outcome(), TALTERFPASS::Open);
        EXPECT_EQ(form.focused(), c.focus);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Shell, PasswordDialog,
    ::testing::Values(
        DialogCase{"typed in lower case", "nova1", "NOVA1", {}, "", "NOVA1"},
        DialogCase{"confirmation differs",
                   "NOVA1",
                   "NOVA2",
                   {"<beep>", "Confirmação <> da nova palavra passe, tente novamente ..."},
                   "Edit_Pass1",
                   ""},
        DialogCase{"sixteen characters",
                   QString(16, 'A'),
                   QString(16, 'A'),
                   {"<beep>", "Excedeu o Nº de caracteres = 15 ..."},
                   "Edit_Pass1",
                   ""},
        DialogCase{"confirmation empty", "NOVA1", "", {"<beep>", "Palavra passe inválida ..."}, "Edit_Pass2", ""}));

TEST(PasswordDialogEdits, ForceUpperCaseAndCancelWritesNothing)
{
    Scenario scenario;
    auto* dialog = new TALTERFPASS;
    FormDriver form = scenario.show(dialog);
    scenario.wait();
    form.type("Edit_Pass1", "abc");
    EXPECT_EQ(form.text("Edit_Pass1"), "ABC");
    form.click("BotCancelar");
    EXPECT_EQ(dialog->outcome(), TALTERFPASS::Cancelled);
    EXPECT_TRUE(scenario.messages().transcript().isEmpty());
}

// ---------------------------------------------------------------- main window

class MainWindow : public ::testing::Test {
protected:
    void SetUp() override
    {
        install = std::make_unique<ShellTestInstallation>(Engine::Sqlite);
        session = std::make_unique<Session>(install->installation(), sink);
    }

    // `registerForms` stands for the subsystems registering their forms.
    FormDriver openMainWindow(const std::function<void(kv::ui::FormRegistry&)>& registerForms = {})
    {
        window = new TFACFMENU(*session, install->credentials());
        if (registerForms)
            registerForms(window->forms());
        QObject::connect(window, &TFACFMENU::programEnded, [this] { ended = true; });
        FormDriver driver = scenario.show(window);
        window->activateWindow();
        scenario.settle();
        return driver;
    }

    std::unique_ptr<ShellTestInstallation> install;
    kv::ui::MessageServiceSink sink;
    std::unique_ptr<Session> session;
    Scenario scenario; // closes the window while the session still exists
    TFACFMENU* window = nullptr;
    bool ended = false;
};

class FakeForm : public QDialog {
public:
    explicit FakeForm(QWidget* parent) : QDialog(parent) { setObjectName("FAKE"); }
};

TEST_F(MainWindow, LogsInOnItsFirstActivation)
{
    install->bringToProgramVersion();
    install->execApplication("UPDATE APLICACAODET SET ACEDER = 'N' WHERE PROGRAMA = 'Vernizes'");
    FormDriver main = openMainWindow([](kv::ui::FormRegistry& registry) {
        for (const char* name : {"TORCF002", "TORCF003"})
            registry.add(name, [](QWidget* parent) { return new FakeForm(parent); });
    });
    ASSERT_TRUE(window->loggedIn()) << scenario.messages().texts().join("\n").toStdString();
    EXPECT_EQ(main.text("Label_Computador"), "PC-TESTE");
    EXPECT_EQ(main.text("BotPassord"), "ANA");
    EXPECT_EQ(main.text("Edit_EmpNom"), session->state().WEmpNom);
    EXPECT_FALSE(main.isVisible("BotBusca"));
    EXPECT_FALSE(main.isVisible("BotPdf"));
    // Allowed and built; refused; allowed but not built yet.
    EXPECT_TRUE(window->menuItem("TABORC002")->isEnabled());
    EXPECT_TRUE(main.isEnabled("BotTintas"));
    EXPECT_FALSE(window->menuItem("TABORC003")->isEnabled());
    EXPECT_FALSE(window->menuItem("TABORC004")->isEnabled());
    EXPECT_TRUE(window->menuItem("GERALSAIR")->isEnabled());

    // A menu entry opens its form modally; nothing is read back.
    bool opened = false;
    scenario.onDialog([&opened](FormDriver& dialog) {
        opened = dialog.window()->objectName() == "FAKE";
        dialog.close();
    });
    window->menuItem("TABORC002")->trigger();
    scenario.wait();
    EXPECT_TRUE(opened);

    // A later activation does not log in again.
    window->activateWindow();
    scenario.settle();
    EXPECT_TRUE(scenario.messages().texts().isEmpty());

    main.close();
    scenario.wait();
    EXPECT_TRUE(ended);
    EXPECT_EQ(window->exitCode(), 0);
    EXPECT_EQ(install->application()->scalar("SELECT COUNT(*) FROM PARAMTMP").toInt(), 0);
}

TEST_F(MainWindow, ToolbarPagesShowPicturedButtonsThatFitTheSmallScreen)
{
    install->bringToProgramVersion();
    FormDriver main = openMainWindow();
    ASSERT_TRUE(window->loggedIn()) << scenario.messages().texts().join("\n").toStdString();
    ASSERT_EQ(window->screen()->geometry().size(), kv::test::smallScreen());
    auto* pages = main.find<QTabWidget>("NB");
    for (int page = 0; page < pages->count(); ++page) {
        pages->setCurrentIndex(page);
        scenario.wait();
        for (auto* button : pages->widget(page)->findChildren<kv::ui::TGlyphButton*>()) {
            const std::string name = button->objectName().toStdString();
            EXPECT_FALSE(button->GetGlyph().isNull()) << name << ": sem imagem";
            EXPECT_FALSE(button->Caption().isEmpty()) << name << ": sem legenda";
            // A toolbar button, not a bar across the page.
            EXPECT_LT(button->width(), pages->width() / 3) << name;
        }
    }
    const QStringList faults = kv::test::layoutFaults(window);
    EXPECT_TRUE(faults.isEmpty()) << faults.join("\n").toStdString();
}

TEST_F(MainWindow, LoginStopEndsTheProgram)
{
    install->bringToProgramVersion();
    install->execApplication("DELETE FROM ORCPARGER");
    openMainWindow();
    scenario.settle();
    EXPECT_EQ(scenario.messages().transcript(), (QStringList{"<beep>", "Parâmetros Gerais Inexistentes !!"}));
    EXPECT_TRUE(ended);
    EXPECT_FALSE(window->loggedIn());
    EXPECT_EQ(window->exitCode(), 1); // the program ends with a failure status
}

TEST_F(MainWindow, VersionUpdateDialogRunsTheStepsAndCloses)
{
    QString shown;
    scenario.onDialog([&shown](FormDriver& dialog) { shown = dialog.caption(); });
    FormDriver main = openMainWindow();
    ASSERT_TRUE(window->loggedIn()) << scenario.messages().texts().join("\n").toStdString();
    EXPECT_EQ(shown, "Actualização de Versão ...");
    EXPECT_EQ(session->state().WVersaoBd, kv::shell::ProgramVersion);
}

TEST_F(MainWindow, PasswordButtonWritesTheNewPassword)
{
    install->bringToProgramVersion();
    openMainWindow();
    ASSERT_TRUE(window->loggedIn());
    scenario.onDialog([](FormDriver& dialog) {
        dialog.find<QLineEdit>("Edit_Pass1")->setText("nova1");
        dialog.find<QLineEdit>("Edit_Pass2")->setText("nova1");
        dialog.click("BitTerminar");
    });
    FormDriver(window).click("BotPassord");
    scenario.wait();
    EXPECT_EQ(install->application()->scalar("SELECT PASSWOR FROM UTILIZADORES").toString(), "NOVA1");
}

} // namespace
