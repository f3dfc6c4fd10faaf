// Every form the program registers, opened on the demo company at the
// smallest screen served and at a large one: nothing cut, nothing off the
// screen. A form added later is checked as soon as it is registered.

#include "costing/CostingSession.h"
#include "commercial/forms/CommercialForms.h"
#include "commercial/forms/CommercialMembers.h"
#include "program/ProgramUnits.h"

#include "costing/forms/CostingForms.h"
#include "customers/articleforms/ArticleForms.h"
#include "customers/coding/forms/ArticleCodingForms.h"
#include "customers/forms/CustomerForms.h"
#include "costing/forms/ListPrintDialog.h"
#include "platform/db/Dataset.h"
#include "platform/db/DbError.h"
#include "platform/report/PreviewWindow.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/LookupDialog.h"
#include "platform/ui/TUpdateErrorForm.h"
#include "quotes/approval/forms/TORCF032A.h"
#include "quotes/forms/QuoteForms.h"
#include "support/LayoutCheck.h"
#include "support/Scenario.h"
#include "shell/forms/TALTERFPASS.h"
#include "shell/forms/TKAVAPMENU.h"
#include "updater/core/TupAutoUpdater.h"
#include "updater/forms/TupAutoUpdaterPasswordForm.h"
#include "updater/forms/TupAutoUpdaterUpgradeMessageForm.h"
#include "updater/forms/TupAutoUpdaterWizardForm.h"
#include "updater/forms/UpdaterWindows.h"
#include "useradmin/core/AdminSession.h"
#include "useradmin/forms/DatabaseLoginDialog.h"
#include "useradmin/forms/TKAVFMENUUTIL.h"
#include "useradmin/forms/UserAdminForms.h"

#include <QDialog>
#include <QPointer>
#include <QScreen>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {

using kv::costing::test::CostingSession;
using kv::costing::test::Engine;

// A file database asks for no login.
class NoLogin : public kv::useradmin::DatabaseLogin {
public:
    bool ask(const QString&, QString&, QString&) override { return false; }
};

// The demo company, logged in once for the whole program, and chosen in the
// user administration program.
struct DemoCompany {
    kv::test::Scenario scenario;
    CostingSession session{scenario, Engine::Sqlite, true};
    NoLogin noLogin;
    kv::useradmin::AdminSession admin{scenario.installation(), QString(), QString(), noLogin};

    // Every right, so that every button of the forms is shown.
    DemoCompany()
    {
        chooseAdminCompany();
        kv::useradmin::registerUserAdminForms(admin, scenario.forms());
        QStringList programs{QStringLiteral("Parametros Gerais"), QStringLiteral("Parametrizacao de Procedimentos")};
        for (const kv::costing::CodeTableDescription& member : kv::costing::codeTableMembers())
            programs << member.rightsProgram;
        programs.removeDuplicates();
        for (const QString& program : programs)
            if (!program.isEmpty())
                session.grant(program, QStringLiteral("S"));
        session.application()->exec(QStringLiteral(
            "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, ALTERAR, "
            "ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES ('KAVORIMETAS', 'Orcamentos', "
            "'Elaboracao de Orcamentos', 1, 'ANA', 'S', 'S', 'S', 'S', 'N', 'S', 'N', 'N', 'N')"));
        if (kv::db::Dataset& rights = session.dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")); rights.isOpen())
            rights.refresh();
        // The worksheet opens on the session's working year.
        session.invoicing()->exec(
            QStringLiteral("INSERT INTO PARGER (ANO, PRC_DECIMAIS) SELECT :ANO, 2 WHERE NOT EXISTS "
                           "(SELECT 1 FROM PARGER WHERE ANO = :ANO)"),
            {{"ANO", session.state().WAno}});
        for (const kv::commercial::CommercialTableDescription& member : kv::commercial::commercialTableMembers()) {
            session.application()->exec(
                QStringLiteral("DELETE FROM APLICACAODET WHERE APLICACAO = :A AND CAPITULO = 'Tabelas' AND "
                               "PROGRAMA = :P AND EMPNRO = 1 AND UTIL = :U"),
                {{"A", session.state().WModuloBase}, {"P", member.rightsProgram}, {"U", session.state().WUtil}});
            session.application()->exec(
                QStringLiteral("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, "
                               "INSERIR, ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, "
                               "'Tabelas', :P, 1, :U, 'S', 'S', 'S', 'S', 'N', 'S', 'N', 'N', 'N')"),
                {{"A", session.state().WModuloBase}, {"P", member.rightsProgram}, {"U", session.state().WUtil}});
        }
        if (kv::db::Dataset& rights = session.dataset(QStringLiteral("DTEMPRESAS.APLICACAODET")); rights.isOpen())
            rights.refresh();
        kv::commercial::registerCommercialForms(scenario.session(), scenario.forms());
        kv::customers::registerCustomerForms(scenario.session(), scenario.forms());
        // The customisation tables open on the table the coding form works on.
        session.state().WTabGrupo = QStringLiteral("1");
        session.state().WTabCod = QStringLiteral("1");
        kv::customers::registerArticleCodingForms(scenario.session(), scenario.forms());
        kv::customers::registerArticleForms(scenario.session(), scenario.forms());
        kv::quotes::registerQuoteForms(
            [this] {
                return kv::quotes::QuoteFormsEnvironment{&session.state(), &session.environment().modules()};
            },
            scenario.forms());
    }

    // The user administration program's forms work on the company it has
    // chosen, the demo company.
    void chooseAdminCompany()
    {
        const kv::db::QueryResult company = scenario.rows(
            scenario.generalDatabase(), QStringLiteral("SELECT NOME, BDESPECIF01 FROM EMPRESAS WHERE EMPNRO = 1"));
        admin.setCompany({1, company.value(0, "NOME").toString(), company.value(0, "BDESPECIF01").toString()});
        admin.connectApplication();
    }
};

// Held by a plain pointer rather than a static owner: the case list logs in
// before main(), and a static owner would close the company at exit after the
// statics its close reads were already gone. A run closes it after its last
// test; a listing leaves it to the process's end.
DemoCompany*& demo()
{
    static DemoCompany* company = nullptr;
    return company;
}

DemoCompany& company()
{
    if (!demo())
        demo() = new DemoCompany;
    return *demo();
}

class CloseCompany : public ::testing::Environment {
public:
    void TearDown() override
    {
        delete demo();
        demo() = nullptr;
    }
};
[[maybe_unused]] ::testing::Environment* const closeCompany = ::testing::AddGlobalTestEnvironment(new CloseCompany);

// The layout check on an open window, failing with the window's name and the
// screen's size. scripts/screens asks for the pictures of the small screen.
void expectLaidOut(QWidget* window, const QString& name, QSize screen)
{
    const QStringList faults = kv::test::layoutFaults(window);
    EXPECT_TRUE(faults.isEmpty()) << name.toStdString() << " em " << screen.width() << "x" << screen.height() << ":\n"
                                  << faults.join(QLatin1Char('\n')).toStdString();
    const QString pictures = qEnvironmentVariable("KV_SCREENS_DIR");
    if (!pictures.isEmpty() && screen == kv::test::smallScreen())
        kv::test::savePages(window, pictures, name);
}

// Every form of every subsystem, registered over the demo company.
QStringList registeredForms()
{
    // The case list is read before main(), so the units are assembled here
    // rather than by the test kit's environment.
    kv::program::assembleUnits();
    return company().scenario.forms().classNames();
}

struct Case {
    QString form;
    QSize screen;
};

void PrintTo(const Case& c, std::ostream* os)
{
    *os << c.form.toStdString() << " " << c.screen.width() << "x" << c.screen.height();
}

std::vector<Case> cases()
{
    std::vector<Case> all;
    for (const QString& form : registeredForms())
        for (const QSize screen : {kv::test::smallScreen(), kv::test::largeScreen()})
            all.push_back({form, screen});
    return all;
}

class FormLayout : public ::testing::TestWithParam<Case> {};

TEST_P(FormLayout, FitsTheScreenWithNothingCut)
{
    const Case& c = GetParam();
    QScreen* screen = kv::test::screenOfSize(c.screen);
    if (!screen)
        GTEST_SKIP() << "sem ecrã de " << c.screen.width() << "x" << c.screen.height();
    DemoCompany& demo = company();
    QDialog* form = demo.scenario.forms().create(c.form);
    ASSERT_NE(form, nullptr);
    // A report form holds a report for the table form and is never shown.
    if (!form->layout()) {
        delete form;
        GTEST_SKIP() << "sem janela";
    }
    kv::test::placeOn(form, screen);
    // The article form opens the automatic coding first where the company codes its articles.
    if (c.form == QLatin1String("TORCF032ART")
        && demo.session.invoicing()
                   ->scalar(QStringLiteral("SELECT REFARTIGO FROM PARCUSTOM WHERE CODIGO = '1'"))
                   .toString()
               == QLatin1String("S"))
        demo.scenario.onDialog([](kv::test::FormDriver& coding) { coding.close(); });
    kv::test::FormDriver driver = demo.scenario.show(form);
    demo.scenario.wait();
    EXPECT_EQ(form->screen(), screen);
    expectLaidOut(form, c.form, c.screen);
    driver.close();
    delete form;
    demo.scenario.messages().clear();
}

// The list print dialog each table opens from its Imprimir.
class PrintDialogLayout : public ::testing::TestWithParam<int> {};

TEST_P(PrintDialogLayout, FitsTheSmallScreenWithNothingCut)
{
    const kv::costing::CodeTableDescription& member =
        kv::costing::codeTableMembers()[static_cast<std::size_t>(GetParam())];
    if (!member.print)
        GTEST_SKIP() << "sem listagem";
    DemoCompany& demo = company();
    auto* dialog = new kv::costing::ListPrintDialog(member, demo.session.environment());
    kv::test::placeOn(dialog, kv::test::screenOfSize(kv::test::smallScreen()));
    kv::test::FormDriver driver = demo.scenario.show(dialog);
    demo.scenario.wait();
    expectLaidOut(dialog, member.print->dialogClass, kv::test::smallScreen());
    driver.close();
    delete dialog;
    demo.scenario.messages().clear();
}

// The user administration program's own windows: its main window with the
// company selection it opens on the first activation, and the login prompt
// of a server database.

class UserAdminWindows : public ::testing::TestWithParam<QSize> {};

TEST_P(UserAdminWindows, FitTheScreenWithNothingCut)
{
    QScreen* screen = kv::test::screenOfSize(GetParam());
    if (!screen)
        GTEST_SKIP() << "sem ecrã";
    DemoCompany& demo = company();
    demo.scenario.onDialog([&](kv::test::FormDriver& selection) {
        expectLaidOut(selection.window(), QStringLiteral("TKAVMDUTILEMPR"), GetParam());
        selection.click(QStringLiteral("BotSelect"));
    });
    auto* window = new kv::useradmin::TKAVFMENUUTIL(demo.admin);
    kv::test::placeOn(window, screen);
    kv::test::FormDriver driver = demo.scenario.show(window);
    window->activateWindow();
    demo.scenario.wait(50);
    EXPECT_EQ(demo.scenario.pendingDialogHandlers(), 0);
    expectLaidOut(window, QStringLiteral("TKAVFMENUUTIL"), GetParam());

    demo.scenario.onDialog([&](kv::test::FormDriver& login) {
        expectLaidOut(login.window(), QStringLiteral("DatabaseLogin"), GetParam());
        login.click(QStringLiteral("BotCancelar"));
    });
    QString user = QStringLiteral("GESTOR");
    QString password;
    EXPECT_FALSE(kv::useradmin::DatabaseLoginDialog().ask(QStringLiteral("BDDADOSKAVORIME"), user, password));
    driver.close();
    delete window;
    demo.scenario.messages().clear();
    // Closing the program let its company's database go.
    demo.chooseAdminCompany();
}

// The windows that are not registered forms: opened by a field, a dataset,
// the main window or the updater. Each is opened as its caller opens it, with
// values of the length they have in use.
struct StandaloneWindow {
    const char* name;
    // Opens the window and hands it to `check` while it is open; what the
    // window needs is kept in `keep` until the case ends.
    std::function<void(DemoCompany&, QScreen*, std::vector<std::shared_ptr<void>>& keep,
                       const std::function<void(QWidget*)>& check)>
        open;
};

// A window the test builds and shows as its caller does, without blocking.
void showAndCheck(DemoCompany& demo, QWidget* window, QScreen* screen, const std::function<void(QWidget*)>& check)
{
    kv::test::placeOn(window, screen);
    kv::test::FormDriver driver = demo.scenario.show(window);
    demo.scenario.wait();
    check(window);
    // A window that ends itself on closing (the updater's wizard) is gone by now.
    const QPointer<QWidget> open(window);
    driver.close();
    delete open.data();
}

// The updater as the main program builds it, speaking Portuguese.
kv::updater::TupAutoUpdater& updater(DemoCompany& demo, std::vector<std::shared_ptr<void>>& keep)
{
    auto view = std::make_shared<kv::updater::UpdaterWindows>();
    auto updater = std::make_shared<kv::updater::TupAutoUpdater>(view.get(),
                                                                 demo.scenario.tempPath(QStringLiteral("kavorimetas")));
    updater->messages().setLanguage(kv::updater::UpdaterMessages::Portuguese);
    keep.push_back(view);
    keep.push_back(updater);
    return *updater;
}

std::vector<StandaloneWindow> standaloneWindows()
{
    using Keep = std::vector<std::shared_ptr<void>>;
    using Check = std::function<void(QWidget*)>;
    return {
        {"LookupDialog",
         [](DemoCompany& demo, QScreen* screen, Keep& keep, const Check& check) {
             auto list = std::make_shared<kv::db::Dataset>();
             list->setConnection(demo.session.application());
             list->setSql(QStringLiteral("SELECT CODIGO, DESIGNACAO FROM TINTAS ORDER BY CODIGO"));
             list->open();
             keep.push_back(list);
             showAndCheck(demo,
                          new kv::ui::LookupDialog(
                              *list, {{QStringLiteral("CODIGO"), QStringLiteral("Código"), 8, {}},
                                      {QStringLiteral("DESIGNACAO"), QStringLiteral("Designação"), 40, {}}}),
                          screen, check);
         }},
        {"TUpdateErrorForm",
         [](DemoCompany& demo, QScreen* screen, Keep& keep, const Check& check) {
             auto rows = std::make_shared<kv::db::Dataset>();
             rows->setConnection(demo.session.application());
             rows->setSql(QStringLiteral("SELECT CODIGO, DESIGNACAO FROM TINTAS ORDER BY CODIGO"));
             rows->open();
             keep.push_back(rows);
             auto* form = new kv::ui::TUpdateErrorForm;
             kv::test::placeOn(form, screen);
             demo.scenario.onDialog([&](kv::test::FormDriver& dialog) {
                 check(dialog.window());
                 dialog.click(QStringLiteral("AbortButton"));
             });
             form->HandleError(*rows,
                               kv::db::DbError(kv::db::DbError::Kind::Constraint,
                                               QStringLiteral("O registo foi alterado por outro utilizador.")),
                               kv::db::UpdateKind::Modified);
             EXPECT_EQ(demo.scenario.pendingDialogHandlers(), 0);
             delete form;
         }},
        {"PreviewWindow",
         [](DemoCompany& demo, QScreen* screen, Keep&, const Check& check) {
             kv::report::Document document;
             document.title = QStringLiteral("Listagem de Tintas");
             showAndCheck(demo, new kv::report::PreviewWindow(std::move(document)), screen, check);
         }},
        {"TORCF032A",
         [](DemoCompany& demo, QScreen* screen, Keep&, const Check& check) {
             // The approval list opens it on a quote of the demo company.
             auto context = kv::quotes::approval::ApprovalContext::read(*demo.session.application(), 1, 2);
             showAndCheck(demo, new kv::quotes::approval::TORCF032A(demo.scenario.session(), demo.scenario.forms(),
                                                                    context),
                          screen, check);
         }},
        {"TALTERFPASS", [](DemoCompany& demo, QScreen* screen, Keep&,
                           const Check& check) { showAndCheck(demo, new kv::shell::TALTERFPASS, screen, check); }},
        {"TKAVAPMENU", [](DemoCompany& demo, QScreen* screen, Keep&,
                          const Check& check) { showAndCheck(demo, new kv::shell::TKAVAPMENU, screen, check); }},
        {"TupAutoUpdaterUpgradeMessageForm",
         [](DemoCompany& demo, QScreen* screen, Keep& keep, const Check& check) {
             kv::updater::TupAutoUpdater& u = updater(demo, keep);
             showAndCheck(demo,
                          new kv::updater::TupAutoUpdaterUpgradeMessageForm(
                              u.messages(), u.messages().format(23, QStringLiteral("Kavorimetas"),
                                                                QStringLiteral("\nNova versão com os orçamentos\n"))),
                          screen, check);
         }},
        {"TupAutoUpdaterPasswordForm",
         [](DemoCompany& demo, QScreen* screen, Keep& keep, const Check& check) {
             kv::updater::TupAutoUpdater& u = updater(demo, keep);
             showAndCheck(demo,
                          new kv::updater::TupAutoUpdaterPasswordForm(
                              u, u.messages().format(29, QStringLiteral("SetupKavorimetas.exe"))),
                          screen, check);
         }},
        {"TupAutoUpdaterWizardForm",
         [](DemoCompany& demo, QScreen* screen, Keep& keep, const Check& check) {
             kv::updater::TupAutoUpdater& u = updater(demo, keep);
             auto* wizard = new kv::updater::TupAutoUpdaterWizardForm(u);
             wizard->showFile(QStringLiteral("https://actualizacoes.exemplo.pt/kavorimetas/SetupKavorimetas.exe"),
                              u.messages().format(9, 1, 2));
             wizard->showSize(u.messages().format(6, 20480.0));
             kv::updater::TupProgress progress;
             progress.TotalSize = 20480 * 1024;
             progress.BytesRead = 5120 * 1024;
             progress.PercentsDone = 25;
             progress.ElapsedTime = 40;
             progress.EstimatedTimeLeft = 120;
             progress.TransferRate = 128;
             wizard->showProgress(progress, 12);
             demo.scenario.messages().answer(true); // closing it abandons the upgrade
             showAndCheck(demo, wizard, screen, check);
         }},
    };
}

struct WindowCase {
    StandaloneWindow window;
    QSize screen;
};

void PrintTo(const WindowCase& c, std::ostream* os)
{
    *os << c.window.name << " " << c.screen.width() << "x" << c.screen.height();
}

std::vector<WindowCase> windowCases()
{
    std::vector<WindowCase> all;
    for (const StandaloneWindow& window : standaloneWindows())
        for (const QSize screen : {kv::test::smallScreen(), kv::test::largeScreen()})
            all.push_back({window, screen});
    return all;
}

class StandaloneLayout : public ::testing::TestWithParam<WindowCase> {};

TEST_P(StandaloneLayout, FitsTheScreenWithNothingCut)
{
    const WindowCase& c = GetParam();
    QScreen* screen = kv::test::screenOfSize(c.screen);
    if (!screen)
        GTEST_SKIP() << "sem ecrã de " << c.screen.width() << "x" << c.screen.height();
    DemoCompany& demo = company();
    std::vector<std::shared_ptr<void>> keep;
    bool checked = false;
    c.window.open(demo, screen, keep, [&](QWidget* window) {
        checked = true;
        expectLaidOut(window, QString::fromLatin1(c.window.name), c.screen);
    });
    EXPECT_TRUE(checked) << c.window.name << " não abriu";
    demo.scenario.messages().clear();
}

INSTANTIATE_TEST_SUITE_P(Windows, StandaloneLayout, ::testing::ValuesIn(windowCases()),
                         [](const ::testing::TestParamInfo<WindowCase>& p) {
                             return std::string(p.param.window.name) + "_" + std::to_string(p.param.screen.width())
                                    + "x" + std::to_string(p.param.screen.height());
                         });

INSTANTIATE_TEST_SUITE_P(Screens, UserAdminWindows, ::testing::Values(kv::test::smallScreen(), kv::test::largeScreen()),
                         [](const ::testing::TestParamInfo<QSize>& p) {
                             return std::to_string(p.param.width()) + "x" + std::to_string(p.param.height());
                         });

INSTANTIATE_TEST_SUITE_P(
    Tables, PrintDialogLayout, ::testing::Range(0, static_cast<int>(kv::costing::codeTableMembers().size())),
    [](const ::testing::TestParamInfo<int>& p) {
        return kv::costing::codeTableMembers()[static_cast<std::size_t>(p.param)].formClass.toStdString();
    });

INSTANTIATE_TEST_SUITE_P(Registered, FormLayout, ::testing::ValuesIn(cases()),
                         [](const ::testing::TestParamInfo<Case>& p) {
                             return QStringLiteral("%1_%2x%3")
                                 .arg(p.param.form)
                                 .arg(p.param.screen.width())
                                 .arg(p.param.screen.height())
                                 .toStdString();
                         });

} // namespace
