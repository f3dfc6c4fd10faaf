// The customer form opened by the quote approval, driven as a user would: a
// new customer pre-filled from the quote row and saved (or refused), a
// number already used, choosing an existing customer, the name search.
#include "customers/forms/CustomerForms.h"
#include "platform/db/Dataset.h"
#include "platform/ui/DbGrid.h"
#include "shell/Session.h"
#include "shell/ShellDataModules.h"
#include "support/Scenario.h"
#include "support/ScriptedMessages.h"
#include "support/TableRows.h"

#include <QApplication>
#include <QPointer>
#include <QScrollBar>
#include <QDialog>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

const QString Beep = QStringLiteral("<beep>");

struct Approval {
    explicit Approval(Engine engine) : session(scenario.login(engine))
    {
        kv::customers::registerCustomerForms(session, scenario.forms());
        inv = scenario.invoicingDatabase();
        kv::test::insertRows(*inv, "PARGER", {"ANO", "CONTABILIDADE", "CONTABAUTO", "TESOURARIA", "CUSTCLI1"},
                             {{session.state().WAno, "N", "N", "N", "Sector"}});
        kv::test::insertRows(*inv, "PAISES", {"PAIS", "SIGLA", "MERCADO", "TELCODPAIS"},
                             {{"PORTUGAL", "PT", "N", "351"}});
        kv::test::insertRows(*inv, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS", "REGIAO", "TELCODZONA"},
                             {{"4000-123", "PORTO", "PORTUGAL", "NORTE", "22"}});
        kv::test::insertRows(*inv, "VENDEDORES", {"CODIGO", "NOME"}, {{7, "Rui"}});
        kv::test::insertRows(*inv, "CNDPGT", {"CODIGO", "NRDIAS", "DESCRI"}, {{1, 30.0, "30 dias"}});
        kv::test::insertRows(*inv, "CLIENTES", {"CODIGO", "NOME", "NIF", "CODPOSTAL", "VENDEDOR", "SIGLA"},
                             {{10, "Zulmira Lda", "500100200", "4000-123", 7, "ZUL"},
                              {40, "Alfa SA", "500100300", "4000-123", 7, "ALFA"}});
        scenario.applicationDatabase()->exec(
            "INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, ALTERAR, "
            "ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, 'Ficheiros Base', 'Clientes', 1, "
            ":U, 'S', 'S', 'S', 'N', 'N', 'N', 'N', 'N', 'N')",
            {{"A", session.state().WModuloBase}, {"U", session.state().WUtil}});
        kv::db::Dataset& rights = session.dataModules().dataset("DTEMPRESAS.APLICACAODET");
        rights.close();
        rights.open();
        // The quote being approved, without a customer.
        scenario.applicationDatabase()->exec(
            "INSERT INTO ORCMAS (CODIGO, SUBCODIGO, CLINRO, NOME, MORADA1, CODPOSTAL, CNDPGT, VNDNRO) VALUES "
            "(500, 99, 0, 'Quinta Nova', 'Rua Direita 1', '4000-123', 1, 7)");
        kv::db::Dataset& quotes = session.dataModules().dataset("ZURIVAVEZA.ORCMAS");
        quotes.close();
        quotes.open();
        quotes.locate({"CODIGO", "SUBCODIGO"}, {500, 99});
        session.state().WCliNroAprov = 0;
    }
    ~Approval()
    {
        // Deleting a dialog deletes the popups it owns, which are windows too.
        QList<QPointer<QDialog>> dialogs;
        for (QWidget* window : QApplication::topLevelWidgets())
            if (auto* dialog = qobject_cast<QDialog*>(window))
                dialogs.append(dialog);
        for (const QPointer<QDialog>& dialog : dialogs)
            if (dialog) {
                dialog->close();
                delete dialog.data();
            }
        scenario.forms().clear();
    }

    int count(const QString& sql) { return inv->scalar(sql).toInt(); }

    kv::test::Scenario scenario;
    kv::shell::Session& session;
    std::shared_ptr<kv::db::Connection> inv;
};

// A double click on the list's first line, where the window system delivers it.
void doubleClickFirstRow(FormDriver& form)
{
    auto* grid = form.find<kv::ui::DbGrid>("DBGrid1");
    const QPoint at = grid->visualRect(grid->model()->index(0, 0)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, at);
    QApplication::processEvents();
}

class CustomerForm : public ::testing::TestWithParam<Engine> {};

TEST_P(CustomerForm, ANewCustomerFromTheQuoteRowIsSavedAndHandedBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.scenario.open("Torcf032cli");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    form.click("BotInserir");
    // The highest number plus one.
    EXPECT_EQ(form.text("Edit_Codigo"), "41");
    form.focus("NOME");
    EXPECT_EQ(form.text("NOME"), "Quinta Nova");
    EXPECT_EQ(form.text("MORADA1"), "Rua Direita 1");
    EXPECT_EQ(form.text("CODPOSTAL"), "4000-123");
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS WHERE CHAVE = '41'"), 1);

    form.find<QTabWidget>("NB")->setCurrentIndex(2);
    form.type("NIF", "500100200"); // another customer's
    form.focus("SIGLA");
    EXPECT_EQ(a.scenario.messages().lastText(), "Já existe um Cliente c/ este Nº de Contribuinte : 10");
    a.scenario.messages().clear();

    // At the save the warning, then the checks in their order: the short name is missing.
    form.focus("DBGrid1");
    EXPECT_EQ(a.scenario.messages().transcript(),
              (QStringList{Beep, "Já existe um Cliente c/ este Nº de Contribuinte : 10", Beep, "Sigla Inválida !!!"}));
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(a.session.state().WCliNroAprov, 0);

    form.type("SIGLA", "QNOVA");
    a.scenario.messages().clear();
    form.focus("DBGrid1");
    EXPECT_FALSE(form.isOpen());
    EXPECT_EQ(a.scenario.messages().transcript(),
              (QStringList{Beep, "Já existe um Cliente c/ este Nº de Contribuinte : 10"}));
    EXPECT_EQ(a.session.state().WCliNroAprov, 41);
    const auto row = a.scenario.rows(a.inv, "SELECT * FROM CLIENTES WHERE CODIGO = 41");
    ASSERT_EQ(row.rows.size(), 1u);
    EXPECT_EQ(row.value(0, "VENDEDOR").toInt(), 7);
    EXPECT_EQ(row.value(0, "CNDPGT").toInt(), 1);
    EXPECT_EQ(row.value(0, "PAIS").toString().trimmed(), "PORTUGAL");
    EXPECT_EQ(row.value(0, "MERCADO").toString().trimmed(), "N");
    EXPECT_EQ(row.value(0, "SIGLANIF").toString().trimmed(), "PT");
    EXPECT_EQ(row.value(0, "CODPRC").toString().trimmed(), "1");
    for (const char* flag : {"IMPPRC", "ISEIVA", "CONTENCIOSO", "IMPARTIGO"})
        EXPECT_EQ(row.value(0, flag).toString().trimmed(), "N") << flag;
    EXPECT_EQ(row.value(0, "GRP_FAC").toInt(), 9);
    EXPECT_FALSE(row.value(0, "DATAABERTURA").isNull());
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

TEST_P(CustomerForm, ANumberInUseReturnsToTheListAndHandsNothingBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.scenario.open("Torcf032cli");
    form.click("BotInserir");
    form.type("Edit_Codigo", "40");
    form.focus("NOME");
    EXPECT_EQ(a.scenario.messages().transcript(), (QStringList{Beep, "Cliente já foi aberto ..."}));
    a.scenario.settle();
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(a.session.state().WCliNroAprov, 0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CLIENTES"), 2);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 0);
}

TEST_P(CustomerForm, ANumberOutOfBoundsKeepsTheFocus)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.scenario.open("Torcf032cli");
    form.click("BotInserir");
    for (const char* typed : {"0", "1000000000", "abc"}) {
        a.scenario.messages().clear();
        form.type("Edit_Codigo", typed);
        form.focus("NOME");
        a.scenario.settle();
        EXPECT_EQ(form.focused(), "Edit_Codigo") << typed;
        EXPECT_EQ(a.scenario.messages().transcript(),
                  (QStringList{Beep, "Código de Cliente Inválido ... DIGITE DE [1] a [999999999]"}))
            << typed;
    }
    // Cancel drops the new customer and its claim.
    form.type("Edit_Codigo", "999999999");
    form.focus("NOME");
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 1);
    form.click("BotCancelar");
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM RESERVAS"), 0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CLIENTES"), 2);
    EXPECT_EQ(a.session.state().WCliNroAprov, 0);
    EXPECT_TRUE(form.isOpen());
}

TEST_P(CustomerForm, AnInsertRefusedByTheDatabaseKeepsTheFormOpenAndHandsNothingBack)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.scenario.open("Torcf032cli");
    form.click("BotInserir");
    form.focus("NOME");
    form.type("SIGLA", "QNOVA");
    form.find<QTabWidget>("NB")->setCurrentIndex(2);
    form.type("NIF", "123456789");
    // Another program stores the number meanwhile, past the claim.
    kv::test::insertRows(*a.inv, "CLIENTES", {"CODIGO", "NOME"}, {{41, "Outro"}});
    form.focus("DBGrid1");
    EXPECT_TRUE(form.isOpen());
    EXPECT_EQ(a.session.state().WCliNroAprov, 0);
    EXPECT_EQ(a.count("SELECT COUNT(*) FROM CLIENTES WHERE NOME = 'Quinta Nova'"), 0);
}

TEST_P(CustomerForm, ALookupLeftWithCancelChangesNothing)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    kv::test::insertRows(*a.inv, "VENDEDORES", {"CODIGO", "NOME"}, {{8, "Sara"}});
    FormDriver form = a.scenario.open("Torcf032cli");
    form.find<QTabWidget>("NB")->setCurrentIndex(2);
    form.focus("VENDEDOR");
    a.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 1);
        lookup.click("CancelBtn");
    });
    form.insert();
    EXPECT_EQ(form.text("VENDEDOR"), "7");
    a.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 1);
        lookup.click("OKBtn");
    });
    form.insert();
    EXPECT_EQ(form.text("VENDEDOR"), "8");
    EXPECT_EQ(form.text("VENDEDOR_NOME"), "Sara");
}

// Manual accounts: "Procurar" (Insert) on an account lists the year's
// posting customer accounts by name; OK puts the one chosen into the
// customer's account, Cancel leaves it as it was.
TEST_P(CustomerForm, ManualModePicksAnAccountFromTheChart)
{
    KV_SKIP_WITHOUT(GetParam());
    const struct {
        const char* label;
        bool ok;
        const char* stored; // CONTA2 of customer 10 after the return to the list
    } cases[] = {{"chosen", true, "211000010"}, {"cancelled", false, "2119"}};
    for (const auto& c : cases) {
        Approval a(GetParam());
        a.inv->exec("UPDATE PARGER SET CONTABILIDADE = 'S', CONTABAUTO = 'N'");
        a.inv->exec("UPDATE CLIENTES SET CONTA2 = '2119' WHERE CODIGO = 10");
        kv::test::insertRows(*a.scenario.accountingDatabase(), "PLANOIDENT", {"ANO", "CONTA", "NOME", "TIPO"},
                             {{a.session.state().WAno, "21", "Clientes", "R"},
                              {a.session.state().WAno, "211000010", "Zulmira Lda", "L"},
                              {a.session.state().WAno, "211000040", "Alfa SA", "L"}});
        FormDriver form = a.scenario.open("Torcf032cli");
        ASSERT_EQ(form.gridCell("DBGrid1", 0, 0), "10") << c.label;
        auto* pages = form.find<QTabWidget>("NB");
        for (int i = 0; i < pages->count(); ++i)
            if (pages->tabText(i) == QLatin1String("Contabilidade"))
                QTest::mouseClick(pages->tabBar(), Qt::LeftButton, Qt::NoModifier,
                                  pages->tabBar()->tabRect(i).center());
        a.scenario.settle();
        EXPECT_FALSE(form.isVisible("BotConta2")) << c.label;
        form.focus("CONTA2");
        QStringList listed;
        a.scenario.onDialog([&](FormDriver& lookup) {
            listed = lookup.gridColumn("Grid", 1);
            lookup.clickRow("Grid", 1); // by name: Alfa SA, Zulmira Lda
            lookup.click(c.ok ? "OKBtn" : "CancelBtn");
        });
        form.insert();
        EXPECT_EQ(listed, (QStringList{"211000040", "211000010"})) << c.label;
        form.focus("DBGrid1");
        a.scenario.settle();
        EXPECT_EQ(a.inv->scalar("SELECT CONTA2 FROM CLIENTES WHERE CODIGO = 10").toString(),
                  QString::fromLatin1(c.stored))
            << c.label;
    }
}

// The list holds a window of the customers read at a time: walking it with
// the arrow keys, or taking the scroll bar to its end, goes on past the
// window's edge to the customers beyond, and back.
TEST_P(CustomerForm, TheListScrollsPastItsWindow)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    std::vector<QVariantList> rows;
    for (int code = 100; code < 400; ++code)
        rows.push_back({code, QStringLiteral("Cliente %1").arg(code), "4000-123", 7});
    kv::test::insertRows(*a.inv, "CLIENTES", {"CODIGO", "NOME", "CODPOSTAL", "VENDEDOR"}, rows);
    FormDriver form = a.scenario.open("Torcf032cli");
    form.focus("DBGrid1");
    // Codes 10, 40, then 100 to 399: 260 moves down stand on 358.
    for (int i = 0; i < 260; ++i)
        form.press(Qt::Key_Down);
    a.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), "358");
    EXPECT_LE(form.gridRowCount("DBGrid1"), 220);
    for (int i = 0; i < 259; ++i)
        form.press(Qt::Key_Up);
    a.scenario.settle();
    EXPECT_EQ(form.text("Edit_Codigo"), "40");
    // The scroll bar taken to its end again reaches the last customer.
    auto* grid = form.find<kv::ui::DbGrid>("DBGrid1");
    for (int i = 0; i < 2; ++i) {
        grid->verticalScrollBar()->triggerAction(QAbstractSlider::SliderToMaximum);
        a.scenario.settle();
    }
    EXPECT_EQ(form.gridCell("DBGrid1", form.gridRowCount("DBGrid1") - 1, 0), "399");
    EXPECT_EQ(a.scenario.messages().transcript(), QStringList{});
}

struct ChoiceCase {
    const char* label;
    bool yes;
    int handedBack;
};

class Choice : public ::testing::TestWithParam<std::tuple<ChoiceCase, Engine>> {};

TEST_P(Choice, ADoubleClickAsksForConfirmation)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Approval a(engine);
    FormDriver form = a.scenario.open("Torcf032cli");
    a.scenario.messages().answer(c.yes);
    doubleClickFirstRow(form);
    EXPECT_EQ(a.scenario.messages().texts(), (QStringList{"Confirma Cliente Zulmira Lda ?"}));
    EXPECT_EQ(a.session.state().WCliNroAprov, c.handedBack);
    EXPECT_EQ(form.isOpen(), !c.yes);
}

INSTANTIATE_TEST_SUITE_P(Choices, Choice,
                         ::testing::Combine(::testing::Values(ChoiceCase{"yes", true, 10}, ChoiceCase{"no", false, 0}),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ChoiceCase>);

TEST_P(CustomerForm, TheNameSearchPositionsTheList)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.scenario.open("Torcf032cli");
    a.scenario.onDialog([](FormDriver& search) {
        EXPECT_EQ(search.caption(), "Localizar");
        EXPECT_EQ(search.text("Edit_NomeCli"), "%");
        search.type("Edit_NomeCli", "Zu%");
        search.click("BitSelect");
        EXPECT_EQ(search.gridRowCount("DBGrid1"), 1);
        search.close();
    });
    form.click("BotLocalizar");
    EXPECT_EQ(form.text("Edit_Codigo"), "10");
    EXPECT_EQ(form.text("NOME"), "Zulmira Lda");

    // Nothing found: the list stands on its first row.
    a.scenario.onDialog([](FormDriver& search) {
        search.type("Edit_NomeCli", "Nada%");
        search.click("BitSelect");
        EXPECT_EQ(search.gridRowCount("DBGrid1"), 0);
        search.close();
    });
    form.click("BotLocalizar");
    EXPECT_EQ(form.text("Edit_Codigo"), "10");
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
}

TEST_P(CustomerForm, InvoicingLinesTypedOnTheirPageAreWrittenInPosition)
{
    KV_SKIP_WITHOUT(GetParam());
    Approval a(GetParam());
    FormDriver form = a.scenario.open("Torcf032cli");
    auto* notebook = form.find<QTabWidget>("NB");
    QTest::mouseClick(notebook->tabBar(), Qt::LeftButton, Qt::NoModifier, notebook->tabBar()->tabRect(6).center());
    QApplication::processEvents();
    for (int line = 1; line <= 2; ++line) {
        form.click("BotLinha1");
        form.type("EditFactNro", "1");
        form.focus("EditDesign");
        if (line == 2) {
            // The invoice's settings are taken over from its first line.
            EXPECT_EQ(form.text("EditPeriod"), "T");
            EXPECT_EQ(form.text("EditDia"), "5");
        }
        form.type("EditDesign", QStringLiteral("Avença %1").arg(line));
        form.type("EditPeriod", "T");
        form.type("EditDia", "5");
        form.type("EditDatIni", "01012024");
        form.type("EditDatFim", "31122024");
        form.focus("GridFactAuto");
    }
    EXPECT_TRUE(a.scenario.messages().transcript().isEmpty())
        << a.scenario.messages().transcript().join('|').toStdString();
    const auto rows =
        a.scenario.rows(a.inv, "SELECT DETAIL, POSICAO, DESIGN, PERIOD, DIA FROM CLIFACAUTO WHERE CODIGO = 10 "
                               "ORDER BY POSICAO");
    ASSERT_EQ(rows.rows.size(), 2u);
    EXPECT_EQ(rows.value(0, "POSICAO").toInt(), 1);
    EXPECT_EQ(rows.value(1, "POSICAO").toInt(), 2);
    EXPECT_EQ(rows.value(1, "DESIGN").toString().trimmed(), "Avença 2");
    EXPECT_EQ(form.gridRowCount("GridFactAuto"), 2);
}

KV_ENGINE_SUITE(CustomerForm);

} // namespace
