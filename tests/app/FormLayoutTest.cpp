// Every form the program registers, opened on the demo company at the
// smallest screen served and at a large one: nothing cut, nothing off the
// screen. A form added later is checked as soon as it is registered.

#include "costing/CostingSession.h"
#include "commercial/forms/CommercialForms.h"
#include "commercial/forms/CommercialMembers.h"
#include "program/ProgramUnits.h"

#include "costing/forms/CostingForms.h"
#include "costing/forms/ListPrintDialog.h"
#include "platform/ui/FormRegistry.h"
#include "quotes/forms/QuoteForms.h"
#include "support/LayoutCheck.h"
#include "support/Scenario.h"
#include "useradmin/core/AdminSession.h"
#include "useradmin/forms/DatabaseLoginDialog.h"
#include "useradmin/forms/TKAVFMENUUTIL.h"
#include "useradmin/forms/UserAdminForms.h"

#include <QDialog>
#include <QScreen>

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
    kv::test::FormDriver driver = demo.scenario.show(form);
    demo.scenario.wait();
    EXPECT_EQ(form->screen(), screen);
    const QStringList faults = kv::test::layoutFaults(form);
    EXPECT_TRUE(faults.isEmpty()) << c.form.toStdString() << " em " << c.screen.width() << "x"
                                  << c.screen.height() << ":\n"
                                  << faults.join(QLatin1Char('\n')).toStdString();
    // scripts/screens asks for the pictures of the small screen.
    const QString pictures = qEnvironmentVariable("KV_SCREENS_DIR");
    if (!pictures.isEmpty() && c.screen == kv::test::smallScreen())
        kv::test::savePages(form, pictures, c.form);
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
    const QStringList faults = kv::test::layoutFaults(dialog);
    EXPECT_TRUE(faults.isEmpty()) << member.print->dialogClass.toStdString() << ":\n"
                                  << faults.join(QLatin1Char('\n')).toStdString();
    const QString pictures = qEnvironmentVariable("KV_SCREENS_DIR");
    if (!pictures.isEmpty())
        kv::test::savePages(dialog, pictures, member.print->dialogClass);
    driver.close();
    delete dialog;
    demo.scenario.messages().clear();
}

// The user administration program's own windows: its main window with the
// company selection it opens on the first activation, and the login prompt
// of a server database.
QString faultText(const QString& window, const QStringList& faults)
{
    return window + QStringLiteral(":\n") + faults.join(QLatin1Char('\n'));
}

class UserAdminWindows : public ::testing::TestWithParam<QSize> {};

TEST_P(UserAdminWindows, FitTheScreenWithNothingCut)
{
    QScreen* screen = kv::test::screenOfSize(GetParam());
    if (!screen)
        GTEST_SKIP() << "sem ecrã";
    DemoCompany& demo = company();
    QStringList selectionFaults;
    demo.scenario.onDialog([&](kv::test::FormDriver& selection) {
        selectionFaults = kv::test::layoutFaults(selection.window());
        selection.click(QStringLiteral("BotSelect"));
    });
    auto* window = new kv::useradmin::TKAVFMENUUTIL(demo.admin);
    kv::test::placeOn(window, screen);
    kv::test::FormDriver driver = demo.scenario.show(window);
    window->activateWindow();
    demo.scenario.wait(50);
    EXPECT_EQ(demo.scenario.pendingDialogHandlers(), 0);
    EXPECT_TRUE(selectionFaults.isEmpty()) << faultText(QStringLiteral("TKAVMDUTILEMPR"), selectionFaults).toStdString();
    const QStringList faults = kv::test::layoutFaults(window);
    EXPECT_TRUE(faults.isEmpty()) << faultText(QStringLiteral("TKAVFMENUUTIL"), faults).toStdString();

    QStringList loginFaults;
    demo.scenario.onDialog([&](kv::test::FormDriver& login) {
        loginFaults = kv::test::layoutFaults(login.window());
        login.click(QStringLiteral("BotCancelar"));
    });
    QString user = QStringLiteral("GESTOR");
    QString password;
    EXPECT_FALSE(kv::useradmin::DatabaseLoginDialog().ask(QStringLiteral("BDDADOSKAVORIME"), user, password));
    EXPECT_TRUE(loginFaults.isEmpty()) << faultText(QStringLiteral("DatabaseLogin"), loginFaults).toStdString();
    driver.close();
    delete window;
    demo.scenario.messages().clear();
    // Closing the program let its company's database go.
    demo.chooseAdminCompany();
}

INSTANTIATE_TEST_SUITE_P(Screens, UserAdminWindows,
                         ::testing::Values(kv::test::smallScreen(), kv::test::largeScreen()),
                         [](const ::testing::TestParamInfo<QSize>& p) {
                             return std::to_string(p.param.width()) + "x" + std::to_string(p.param.height());
                         });

INSTANTIATE_TEST_SUITE_P(Tables, PrintDialogLayout,
                         ::testing::Range(0, static_cast<int>(kv::costing::codeTableMembers().size())),
                         [](const ::testing::TestParamInfo<int>& p) {
                             return kv::costing::codeTableMembers()[static_cast<std::size_t>(p.param)]
                                 .formClass.toStdString();
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
