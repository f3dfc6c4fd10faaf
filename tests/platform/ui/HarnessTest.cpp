// The scenario harness itself: what it promises to every form test.
#include "platform/ui/Form.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"
#include "support/Scenario.h"

#include <QDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using kv::test::FormDriver;
using kv::test::Scenario;

namespace {

class TFORMREGISTADO : public kv::ui::Form {
public:
    explicit TFORMREGISTADO(QWidget* parent) : Form(parent)
    {
        auto* layout = new QGridLayout(body());
        auto* label = new QLabel(QStringLiteral("Código : "), body());
        label->setObjectName(QStringLiteral("Label1"));
        auto* edit = new QLineEdit(body());
        edit->setObjectName(QStringLiteral("Edit_Codigo"));
        layout->addWidget(label, 0, 0);
        layout->addWidget(edit, 0, 1);
        auto* menu = new QMenuBar(this);
        QAction* entry = menu->addMenu(QStringLiteral("&Ficheiro"))->addAction(QStringLiteral("&Perguntar"));
        connect(entry, &QAction::triggered, this,
                [this] { answers << kv::ui::messages().question(QStringLiteral("ELIMINAÇÃO !!! Confirma ?")); });
        layout->setMenuBar(menu);
        setWindowTitle(QStringLiteral("Tabela de Teste"));
    }
    QList<bool> answers;

protected:
    void FormActivate() override { setStatusText(1, QStringLiteral("Marca")); }
};

TEST(Harness, OpensARegisteredFormByClassNameAndSavesAPicture)
{
    Scenario scenario;
    scenario.forms().add(QStringLiteral("TFORMREGISTADO"), [](QWidget* parent) { return new TFORMREGISTADO(parent); });
    FormDriver form = scenario.open(QStringLiteral("TFORMREGISTADO"));
    ASSERT_TRUE(form.isOpen());
    EXPECT_EQ(form.window()->objectName(), "TFORMREGISTADO");
    EXPECT_EQ(form.caption(), "Tabela de Teste");
    EXPECT_EQ(form.text(QStringLiteral("Label1")), "Código : ");
    EXPECT_EQ(form.statusPanel(1), "Marca");
    form.type(QStringLiteral("Edit_Codigo"), QStringLiteral("12"));
    form.type(QStringLiteral("Edit_Codigo"), QStringLiteral("345"));
    EXPECT_EQ(form.text(QStringLiteral("Edit_Codigo")), "345");

    const QString picture = scenario.tempPath(QStringLiteral("form.png"));
    ASSERT_TRUE(form.screenshot(picture));
    const QImage image(picture);
    EXPECT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), form.window()->size() * form.window()->devicePixelRatio());
}

TEST(Harness, QuestionsAreAnsweredFromTheScriptAndRecorded)
{
    Scenario scenario;
    auto* raw = new TFORMREGISTADO(nullptr);
    FormDriver form = scenario.show(raw);
    scenario.messages().answer(true);
    scenario.messages().answer(false);
    form.triggerMenu(QStringLiteral("Perguntar"));
    form.triggerMenu(QStringLiteral("Perguntar"));
    EXPECT_EQ(raw->answers, QList<bool>({true, false}));
    EXPECT_EQ(scenario.messages().texts(), QStringList({"ELIMINAÇÃO !!! Confirma ?", "ELIMINAÇÃO !!! Confirma ?"}));
}

TEST(Harness, AnUnansweredQuestionFailsTheTestInsteadOfBlocking)
{
    Scenario scenario;
    auto* raw = new TFORMREGISTADO(nullptr);
    FormDriver form = scenario.show(raw);
    EXPECT_NONFATAL_FAILURE(form.triggerMenu(QStringLiteral("Perguntar")), "Pergunta sem resposta");
    EXPECT_EQ(raw->answers, QList<bool>({false}));
}

TEST(Harness, AnUnexpectedModalDialogFailsTheTestAndIsDismissed)
{
    Scenario scenario;
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Inesperado"));
    int result = -1;
    EXPECT_NONFATAL_FAILURE(result = dialog.exec(), "Diálogo inesperado");
    EXPECT_EQ(result, QDialog::Rejected);
}

TEST(Harness, MissingOrHiddenControlsFailTheTest)
{
    Scenario scenario;
    auto* raw = new TFORMREGISTADO(nullptr);
    FormDriver form = scenario.show(raw);
    EXPECT_NONFATAL_FAILURE(form.click(QStringLiteral("BotInexistente")), "Controlo inexistente");
    raw->findChild<QLineEdit*>(QStringLiteral("Edit_Codigo"))->hide();
    EXPECT_NONFATAL_FAILURE(form.click(QStringLiteral("Edit_Codigo")), "escondido");
    EXPECT_FALSE(form.has(QStringLiteral("BotInexistente")));
}

TEST(Harness, FreshInstallationCanBeReadAndItsDatabasesAreSeparate)
{
    Scenario scenario;
    kv::install::Installation& installation = scenario.createInstallation();
    EXPECT_TRUE(QFileInfo::exists(installation.aliasFile()));
    auto general = scenario.generalDatabase();
    auto application = scenario.applicationDatabase();
    EXPECT_EQ(general->dialect(), scenario.usesPostgres() ? kv::db::Dialect::Postgres : kv::db::Dialect::Sqlite);
    EXPECT_TRUE(general->tableExists(QStringLiteral("EMPRESAS")));
    const auto companies = scenario.rows(general, QStringLiteral("SELECT * FROM EMPRESAS"));
    EXPECT_EQ(companies.rows.size(), 1u);
    EXPECT_NE(general.get(), application.get());
    EXPECT_EQ(scenario.connect(QStringLiteral("QXRGERAL")).get(), general.get()) << "one connection per alias";
}

} // namespace
