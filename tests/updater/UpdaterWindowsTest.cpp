#include "updater/core/TupAutoUpdater.h"
#include "updater/forms/TupAutoUpdaterPasswordForm.h"
#include "updater/forms/TupAutoUpdaterUpgradeMessageForm.h"
#include "updater/forms/TupAutoUpdaterWizardForm.h"
#include "updater/forms/UpdaterWindows.h"

#include "support/ScriptedMessages.h"
#include "updater/UpdaterTestApp.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace kv::updater;

class UpdaterWindowsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureApplication(); }
    void SetUp() override
    {
        messages = std::make_shared<kv::test::ScriptedMessages>();
        previous = kv::ui::MessageService::install(messages);
        updater.messages().setLanguage(UpdaterMessages::Portuguese);
    }
    void TearDown() override
    {
        kv::ui::MessageService::install(previous);
        EXPECT_EQ(messages->pendingAnswers(), 0);
    }
    // Where a look at the windows is kept (build folder, beside the tests).
    static QString picture(const char* name) { return QStringLiteral("updater-%1.png").arg(QLatin1String(name)); }

    std::shared_ptr<kv::test::ScriptedMessages> messages;
    std::shared_ptr<kv::ui::MessageService> previous;
    QTemporaryDir dir;
    UpdaterWindows windows;
    TupAutoUpdater updater{&windows, dir.filePath(QStringLiteral("kavorimetas"))};
};

TEST_F(UpdaterWindowsTest, WizardAsksBeforeAbandoningTheUpgrade)
{
    bool aborted = false;
    updater.OnAborted = [&] { aborted = true; };
    windows.showWizard(updater);
    TupAutoUpdaterWizardForm* wizard = windows.wizard();
    ASSERT_TRUE(wizard);
    windows.wizardFile(QStringLiteral("https://updates.example.pt/kavorimetas/SetupKavorimetas"),
                       updater.messages().format(9, 1, 2));
    windows.wizardSize(updater.messages().format(6, 2048.0));
    TupProgress p;
    p.TotalSize = 2048 * 1024;
    p.BytesRead = 512 * 1024;
    p.PercentsDone = 25;
    p.ElapsedTime = 4;
    p.EstimatedTimeLeft = 12;
    p.TransferRate = 128;
    windows.wizardProgress(p, 12);
    EXPECT_EQ(wizard->LEstimatedTime->text(), QStringLiteral("Tempo estimado: 0:00:12"));
    EXPECT_EQ(wizard->AllDownloading->text(), QStringLiteral("Transferir 1 de 2"));
    EXPECT_TRUE(wizard->grab().save(picture("wizard")));

    // Without a known length there is no estimate: the line keeps its "A Preparar".
    windows.wizardFile(QStringLiteral("https://updates.example.pt/x"), updater.messages().format(9, 2, 2));
    p.EstimatedTimeLeft = -1;
    p.TotalSize = 0;
    windows.wizardProgress(p, 60);
    EXPECT_EQ(wizard->LEstimatedTime->text(), QStringLiteral("A Preparar. . ."));

    messages->answer(false); // keep downloading
    wizard->CancelBtn->click();
    EXPECT_TRUE(wizard->isVisible());
    EXPECT_FALSE(aborted);
    messages->answer(true);
    wizard->CancelBtn->click();
    EXPECT_TRUE(aborted);
    EXPECT_EQ(messages->texts(), QStringList(2, QStringLiteral("A actualização não está completa.\n\n"
                                                               "Deseja interromper a actualização?")));
}

TEST_F(UpdaterWindowsTest, FinishedWizardClosesWithOk)
{
    updater.Wizard.HideFileLocation = true;
    windows.showWizard(updater);
    TupAutoUpdaterWizardForm* wizard = windows.wizard();
    ASSERT_TRUE(wizard);
    EXPECT_FALSE(wizard->FileURL->isVisible());
    EXPECT_FALSE(wizard->LDownloadingFileFrom->isVisible());
    windows.wizardFinished();
    EXPECT_EQ(wizard->WizardTitle->text(), QStringLiteral("Actualização concluida!"));
    EXPECT_FALSE(wizard->LCurrentFile->isVisible());
    EXPECT_FALSE(wizard->CancelBtn->isEnabled());
    EXPECT_EQ(wizard->FinishBtn->text(), QStringLiteral("&OK"));
    EXPECT_TRUE(wizard->grab().save(picture("wizard-finished")));
    bool aborted = false;
    updater.OnAborted = [&] { aborted = true; };
    wizard->FinishBtn->click();
    EXPECT_FALSE(aborted);
    EXPECT_TRUE(messages->texts().isEmpty());
}

TEST_F(UpdaterWindowsTest, QuestionAndCredentialsWindows)
{
    TupAutoUpdaterUpgradeMessageForm question(
        updater.messages(),
        updater.messages().format(23, QStringLiteral("Kavorimetas"), QStringLiteral("\nNova versão\n")));
    question.show();
    EXPECT_EQ(question.YesBtn->text(), QStringLiteral("&Sim"));
    EXPECT_EQ(question.LaterBtn->text(), QStringLiteral("&Não"));
    EXPECT_EQ(question.windowTitle(), QStringLiteral("Actualização do Software"));
    EXPECT_TRUE(question.grab().save(picture("question")));

    updater.HTTPUsername = QStringLiteral("ana");
    updater.HTTPPassword = QStringLiteral("old");
    TupAutoUpdaterPasswordForm password(updater, updater.messages().format(29, QStringLiteral("setup.exe")));
    password.show();
    EXPECT_EQ(password.UsernameEdit->text(), QStringLiteral("ana"));
    EXPECT_EQ(password.PasswordEdit->text(), QString());
    EXPECT_TRUE(password.grab().save(picture("password")));
    password.PasswordEdit->setText(QStringLiteral("new"));
    password.OKBtn->click();
    EXPECT_EQ(updater.HTTPPassword, QStringLiteral("new"));
    EXPECT_EQ(password.result(), QDialog::Accepted);
}
