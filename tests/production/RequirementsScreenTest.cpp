// The requirements screen as TORCF040 runs it: the limits' messages and
// focus moves, the empty selection, the pre-selection, the calculation and
// proposal pages, and the requisition written from the proposal.
#include "production/RequirementsFixture.h"

#include "production/forms/ProductionForms.h"

#include "platform/db/Dataset.h"
#include "platform/report/PreviewWindow.h"
#include "platform/ui/DbGrid.h"
#include "support/Scenario.h"
#include "support/TableRows.h"

#include <QDir>
#include <QImage>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using kv::test::Engine;
using kv::test::FormDriver;
using kv::test::insertRows;

namespace {

// The plain company of the requirements fixture, ready for the screen: its
// purchasing department, the user in the invoicing users, supplier 7 with
// a price list row of the board.
struct ReqScreen : kv::production::test::RequirementsFixture {
    explicit ReqScreen(Engine engine) : RequirementsFixture(engine)
    {
        app().exec("UPDATE ORCPARGER SET DEPARTAMENTO = 'COMPRAS' WHERE CODIGO = 1");
        insertRows(inv(), "UTILIZADORES", {"NRO", "SERIEFRN", "SERIEREQ"}, {{session.state().WUtil, "1", "1"}});
        addSupplier(7, "Papeleira Sete");
        insertRows(inv(), "PARGER", {"ANO", "CORESTAMANHOS"}, {{"2024", "S"}});
        insertRows(inv(), "STKPARGER", {"ANO", "REQVIA1", "PRC_DECIMAIS"}, {{"2024", "ORIGINAL", 2}});
        insertRows(inv(), "STKARTGFORN", {"CODARTG", "CODFORN", "NOME", "PRECO", "PRCDESC", "VOSREF"},
                   {{"MP-1", 7, "Papeleira Sete", 2.5, 10, "P7-MP1"}});
        kv::production::registerProductionForms(session, scenario.forms());
        scenario.messages().clear();
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF040");
        scenario.settle();
        return form;
    }

    // Leaves every limit at its first value, up to the article "to" edit.
    void selectAll(FormDriver& form)
    {
        form.focus("Edit_ArtNro2");
        form.tab();
        scenario.settle();
    }

    // Clicks a tab of one of the form's notebooks, as the user would.
    void clickTab(FormDriver& form, const char* notebook, int index)
    {
        QTabBar* bar = form.find<QTabWidget>(notebook)->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
        scenario.settle();
    }

    // Pre-selects everything, calculates and shows the proposal.
    void calculateAndPropose(FormDriver& form)
    {
        selectAll(form);
        form.click("BotBegin");
        scenario.settle();
        clickTab(form, "PageProcessamento", 2);
    }

    // The texts of the next preview, which is closed at once.
    void capturePreview(QStringList& printed)
    {
        scenario.onDialog([&printed](FormDriver& preview) {
            for (const auto& page : qobject_cast<kv::report::PreviewWindow*>(preview.window())->document().pages)
                for (const auto& band : page.bands)
                    for (const auto& item : band.items)
                        printed << item.text;
            preview.close();
        });
    }

    int requisitions() { return count(inv(), "SELECT COUNT(*) FROM FRNREQMAS"); }
};

class RequirementsScreenTest : public ::testing::TestWithParam<Engine> {};

struct LimitCase {
    const char* label;
    const char* field;
    const char* text;
    const char* message;
    const char* focus; // where the focus is afterwards
};

const LimitCase LimitCases[] = {
    {"order_from_empty", "Edit_EncNro1", "", "LIMITE DE ENCOMENDAS INVÁLIDO!!!", "Edit_EncNro1"},
    {"order_to_below_from", "Edit_EncNro2", "0", "LIMITE DE ENCOMENDAS INVÁLIDO!!!", "Edit_EncNro1"},
    {"order_to_empty", "Edit_EncNro2", "", "LIMITE DE ENCOMENDAS INVÁLIDO!!!", "Edit_EncNro1"},
    {"date_from_empty", "Edit_DatEnt1", "", "Data Inválida ...", "Edit_DatEnt1"},
    {"date_to_before_from", "Edit_DatEnt2", "14032024", "Limite de Datas Inválido ...", "Edit_DatEnt2"},
    {"customer_to_empty", "Edit_CliNro2", "", "Limite de Clientes Inválido ...", "Edit_CliNro2"},
    {"customer_to_below_from", "Edit_CliNro2", "0", "Limite de Clientes Inválido ...", "Edit_CliNro2"},
    {"article_to_empty", "Edit_ArtNro2", "", "LIMITE DE ARTIGOS INVÁLIDO!!!", "Edit_ArtNro2"},
    {"article_to_before_from", "Edit_ArtNro2", "A", "LIMITE DE ARTIGOS INVÁLIDO!!!", "Edit_ArtNro2"},
};

class RequirementLimitTest : public ::testing::TestWithParam<std::tuple<LimitCase, Engine>> {};

TEST_P(RequirementLimitTest, RefusedLimitWarnsAndMovesTheFocus)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ReqScreen f(engine);
    FormDriver form = f.open();
    if (QLatin1String(c.field) == QLatin1String("Edit_ArtNro2") && QLatin1String(c.text) == QLatin1String("A")) {
        form.type("Edit_ArtNro1", "B");
        form.tab();
    }
    form.type(c.field, c.text);
    form.tab();
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().transcript(), (QStringList{"<beep>", QString::fromUtf8(c.message)}));
    EXPECT_EQ(form.focused(), c.focus);
    if (QLatin1String(c.field) == QLatin1String("Edit_EncNro2")) {
        EXPECT_EQ(form.text("Edit_EncNro1"), "");
        EXPECT_EQ(form.text("Edit_EncNro2"), "");
    }
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGSELENC"), 0);
}

INSTANTIATE_TEST_SUITE_P(Cases, RequirementLimitTest,
                         ::testing::Combine(::testing::ValuesIn(LimitCases), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<LimitCase>);

TEST_P(RequirementsScreenTest, NoOpenLineInsideTheLimitsStartsAgainAtTheOrders)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    FormDriver form = f.open();
    form.type("Edit_EncNro1", "500");
    form.tab();
    f.selectAll(form);
    EXPECT_EQ(f.scenario.messages().transcript(),
              (QStringList{"<beep>", "NÃO EXISTEM ENCOMENDAS DENTRO DOS LIMITES SELECCIONADOS !!!"}));
    EXPECT_EQ(form.focused(), "Edit_EncNro1");
    EXPECT_FALSE(form.isEnabled("BotBegin"));
}

TEST_P(RequirementsScreenTest, PreselectionShowsTheCustomerAndItsOpenLines)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    // A second customer missing from the customer file.
    f.addOrderLine(200, 1, "CX-A", 50, 1, 99);
    FormDriver form = f.open();
    f.selectAll(form);
    EXPECT_TRUE(f.scenario.messages().texts().isEmpty()) << f.scenario.messages().texts().join('|').toStdString();
    ASSERT_EQ(form.gridRowCount("DBGrid1"), 2);
    EXPECT_EQ(form.focused(), "DBGrid1");
    EXPECT_TRUE(form.isEnabled("BotBegin"));
    form.clickRow("DBGrid1", 0);
    EXPECT_EQ(form.text("Label_CliNome"), "Quinta Nova, Lda");
    EXPECT_EQ(form.gridRowCount("DBGrid2"), 1);
    EXPECT_EQ(form.gridCell("DBGrid2", 0, 1), "100");
    form.clickRow("DBGrid1", 1);
    EXPECT_EQ(form.text("Label_CliNome"), "CLIENTE INEXISTENTE ...");
}

TEST_P(RequirementsScreenTest, CalculationShowsConsumptionAndProposal)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    // Picture 1 of the finished article only, in the year's picture folder.
    f.inv().exec("UPDATE PARGER SET PATHFOTO = 'X:\\Fotos'");
    const QString folder = f.scenario.installation().mapWindowsPath(QStringLiteral("X:\\Fotos"));
    QDir().mkpath(folder);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/cx-a1.bmp"), "BMP"));
    FormDriver form = f.open();
    f.selectAll(form);
    EXPECT_EQ(form.text("PictureCaption"), "(01)");
    form.click("BotBegin");
    f.scenario.settle();
    EXPECT_EQ(form.statusPanel(0), "");
    ASSERT_EQ(form.gridRowCount("DBGridConsumos"), 1);
    EXPECT_EQ(form.gridCell("DBGridConsumos", 0, 0), "MP-1");
    EXPECT_EQ(form.text("PictureCaption"), ""); // the board has no picture
    EXPECT_EQ(f.requirement("MP-1", "TOTCONSUMO").toDouble(), 500)
        << f.count(f.app(), "SELECT COUNT(*) FROM LOGARTIGOS") << " " << f.requirement("MP-1", "QUANTIDADE").toDouble()
        << form.gridCell("DBGridConsumos", 0, 7).toStdString()
        << f.scenario.messages().texts().join(QChar(124)).toStdString();
    f.clickTab(form, "PageProcessamento", 2);
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGARTGFORN"), 1)
        << f.scenario.messages().texts().join('|').toStdString();
    ASSERT_EQ(form.gridRowCount("DBGridArtgForn"), 1);
    EXPECT_EQ(form.gridCell("DBGridArtgForn", 0, 3), "7");
    EXPECT_EQ(form.gridCell("DBGridArtgForn", 0, 4), "Papeleira Sete");
}

// What the requisition button leaves behind, by the answer to the print
// question and the state of the proposal.
struct WriteCase {
    const char* label;
    bool print; // the answer to "Deseja Imprimir ?" (when asked)
    QDate delivery; // the proposal row's delivery date; invalid: as proposed
    bool untick;
    int requisitions;
    const char* printed; // PRINTE of the requisition written
    double requested; // QTDREQINT of the board afterwards
    QStringList messages;
};

class RequisitionWriteTest : public ::testing::TestWithParam<std::tuple<WriteCase, Engine>> {};

TEST_P(RequisitionWriteTest, WritesFromTheProposal)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ReqScreen f(engine);
    FormDriver form = f.open();
    f.calculateAndPropose(form);
    auto* proposal = form.window()->findChild<kv::db::Dataset*>("LOGARTGFORN1");
    ASSERT_TRUE(proposal && !proposal->isEmpty());
    if (c.delivery.isValid() || c.untick) {
        proposal->edit();
        if (c.delivery.isValid())
            proposal->setValue("DATAENTRG", c.delivery.startOfDay());
        if (c.untick)
            proposal->setValue("PROCESSAR", "N");
        proposal->post();
    }
    f.scenario.messages().clear();
    if (c.requisitions > 0)
        f.scenario.messages().answer(c.print);
    QStringList printed; // the preview's texts
    if (c.print)
        f.capturePreview(printed);
    form.click("BotProcessar");
    f.scenario.settle();
    if (c.print) {
        EXPECT_TRUE(printed.contains("ORIGINAL"));
        EXPECT_TRUE(printed.contains("Desc MP-1") || printed.contains("Cartão Micro E"));
    }
    EXPECT_EQ(f.requisitions(), c.requisitions);
    if (c.requisitions > 0) {
        EXPECT_EQ(f.inv().scalar("SELECT PRINTE FROM FRNREQMAS").toString(), c.printed);
        EXPECT_EQ(f.inv().scalar("SELECT VALMERC FROM FRNREQMAS").toDouble(), 1250);
        EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNREQDET"), 1);
    }
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCIMPR"), 0);
    EXPECT_EQ(f.requirement("MP-1", "QTDREQINT").toDouble(), c.requested);
    for (const QString& text : c.messages)
        EXPECT_TRUE(f.scenario.messages().texts().join('|').contains(text))
            << f.scenario.messages().texts().join('|').toStdString();
}

const WriteCase WriteCases[] = {
    {"printed_and_recalculated", true, {}, false, 1, "S", 500, {"Deseja Imprimir ?"}},
    {"no_to_the_print", false, {}, false, 1, "N", 0, {"Deseja Imprimir ?"}},
    {"nothing_ticked", false, {}, true, 0, "", 0, {"Não Existem Artigos a Requisitar !!"}},
    {"delivery_on_a_saturday", false, QDate(2024, 3, 16), false, 0, "", 0, {"Intoduza a Data de um Dia Útil !!!"}},
    {"delivery_before_the_working_date",
     false,
     QDate(2024, 3, 14),
     false,
     0,
     "",
     0,
     {"A DATA DE ENTREGA NÃO PODE SER INFERIOR À DATA DA ENCOMENDA!!!"}},
    {"delivery_missing_from_the_calendar",
     false,
     QDate(2024, 3, 20),
     false,
     0,
     "",
     0,
     {"Data inexistente no Calendário !!! "}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RequisitionWriteTest,
                         ::testing::Combine(::testing::ValuesIn(WriteCases), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<WriteCase>);

// Leaving an editor of the proposal grid after typing into it.
struct ExitCase {
    const char* label;
    int column; // of the proposal grid
    const char* text;
    QStringList messages;
    int supplier;
    const char* name;
    double price;
    const char* ticked;
    int focusColumn; // the grid's column afterwards
};

class ProposalExitTest : public ::testing::TestWithParam<std::tuple<ExitCase, Engine>> {};

TEST_P(ProposalExitTest, EditorExitRules)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ReqScreen f(engine);
    f.addSupplier(8, "Cartonagem Oito");
    FormDriver form = f.open();
    f.calculateAndPropose(form);
    auto* grid = form.find<kv::ui::DbGrid>("DBGridArtgForn");
    form.focus("DBGridArtgForn");
    grid->setCurrentIndex(grid->model()->index(0, c.column));
    f.scenario.messages().clear();
    form.typeText(c.text);
    form.tab();
    f.scenario.settle();
    EXPECT_EQ(f.scenario.messages().texts(), c.messages);
    auto* proposal = form.window()->findChild<kv::db::Dataset*>("LOGARTGFORN1");
    EXPECT_EQ(proposal->value("FORNECEDOR").toInt(), c.supplier);
    EXPECT_EQ(proposal->value("NOME").toString(), c.name);
    EXPECT_DOUBLE_EQ(proposal->value("PRECO").toDouble(), c.price);
    EXPECT_EQ(proposal->value("PROCESSAR").toString(), c.ticked);
    if (c.focusColumn >= 0) {
        EXPECT_EQ(grid->currentIndex().column(), c.focusColumn);
    }
}

const ExitCase ExitCases[] = {
    {"unknown_supplier", 3, "99", {"FORNECEDOR INEXISTENTE !!!"}, 0, "", 0, "N", 3},
    {"no_supplier", 3, "0", {}, 0, "", 0, "N", -1},
    {"known_supplier_keeps_the_price", 3, "8", {}, 8, "Cartonagem Oito", 2.5, "S", -1},
    {"supplier_without_price", 5, "0", {"INSIRA O PREÇO PARA ESTE ARTIGO !!!"}, 7, "Papeleira Sete", 0, "S", 3},
    {"new_price_ticks", 5, "3,25", {}, 7, "Papeleira Sete", 3.25, "S", -1},
    {"delivery_on_a_saturday",
     6,
     "16/03/2024",
     {"Intoduza a Data de um Dia Útil !!!"},
     7,
     "Papeleira Sete",
     2.5,
     "S",
     6},
};

INSTANTIATE_TEST_SUITE_P(Cases, ProposalExitTest,
                         ::testing::Combine(::testing::ValuesIn(ExitCases), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ExitCase>);

TEST_P(RequirementsScreenTest, PriceListLookupAppliesTheQuantityTier)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    // The board's second price-list row, with tiers (100, 5 %) and (600, 8 %) over a base of 2 %.
    insertRows(f.inv(), "STKARTGFORN",
               {"CODARTG", "CODFORN", "NOME", "PRECO", "PRCDESC", "DESCQTD1", "DESCPRCDESC1", "DESCQTD2",
                "DESCPRCDESC2", "VOSREF"},
               {{"MP-1", 9, "Papeleira Nove", 1.23456, 2, 100, 5, 600, 8, "P9"}});
    FormDriver form = f.open();
    f.calculateAndPropose(form);
    form.focus("DBGridArtgForn");
    f.scenario.onDialog([](FormDriver& lookup) {
        lookup.clickRow("Grid", 1);
        lookup.click("OKBtn");
    });
    form.press(Qt::Key_F1);
    f.scenario.settle();
    auto* proposal = form.window()->findChild<kv::db::Dataset*>("LOGARTGFORN1");
    EXPECT_EQ(proposal->value("FORNECEDOR").toInt(), 9);
    EXPECT_EQ(proposal->value("NOME").toString(), "Papeleira Nove");
    EXPECT_DOUBLE_EQ(proposal->value("PRECO").toDouble(), 1.23456); // not rounded
    EXPECT_DOUBLE_EQ(proposal->value("DESCTO").toDouble(), 8); // 500 reaches the second tier only
    EXPECT_EQ(proposal->value("VOSREF").toString(), "P9");
    EXPECT_EQ(proposal->value("PROCESSAR").toString(), "S");
}

TEST_P(RequirementsScreenTest, EachNamedCopyIsQueuedAndPrinted)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    f.inv().exec("UPDATE STKPARGER SET REQVIA1 = 'ORIGINAL', REQVIA3 = 'ARQUIVO', REQVIA8 = 'DUPLICADO'");
    FormDriver form = f.open();
    f.calculateAndPropose(form);
    f.scenario.messages().answer(true);
    int queued = -1;
    QStringList printed;
    f.scenario.onDialog([&](FormDriver& preview) {
        queued = f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCIMPR");
        for (const auto& page : qobject_cast<kv::report::PreviewWindow*>(preview.window())->document().pages)
            for (const auto& band : page.bands)
                for (const auto& item : band.items)
                    printed << item.text;
        preview.close();
    });
    form.click("BotProcessar");
    f.scenario.settle();
    EXPECT_EQ(queued, 3);
    QStringList copies;
    for (const QString& text : printed)
        if (text == "ORIGINAL" || text == "ARQUIVO" || text == "DUPLICADO")
            copies << text;
    EXPECT_EQ(copies, (QStringList{"ARQUIVO", "DUPLICADO", "ORIGINAL"}));
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCIMPR"), 0);
    EXPECT_EQ(f.inv().scalar("SELECT PRINTE FROM FRNREQMAS").toString(), "S");
    // Back from the preview: the proposal of the recalculation, with the requisition counted.
    EXPECT_EQ(form.find<QTabWidget>("PageProcessamento")->currentIndex(), 2);
    EXPECT_EQ(form.gridRowCount("DBGridArtgForn"), 1);
    EXPECT_EQ(f.requirement("MP-1", "TOTCONSUMO").toDouble(), 0);
}

TEST_P(RequirementsScreenTest, SupplierOrdersOfTheArticleAndTheOrderView)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    insertRows(f.inv(), "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS"}, {{"4470-000", "Maia", "PORTUGAL"}});
    insertRows(f.inv(), "CNDPGT", {"CODIGO", "NRDIAS", "TIPDOC", "DESCRI", "PRCDESC"}, {{1, 30, "F", "Factura", 2}});
    insertRows(f.inv(), "FRNENCMAS",
               {"ENCNRO", "DATEMI", "FRNNRO", "FRNNOM", "CODPOSTAL", "CNDPGT", "VALMERC", "VALMERC_EST", "TOTQTD"},
               {{500, QDate(2024, 3, 1).startOfDay(), 7, "Papeleira Sete", "4470-000", 1, 375, 0, 150}});
    // One line bought for order 100 (inside the order limits), one for order 900 (outside).
    insertRows(f.inv(), "FRNENCDET",
               {"ENCNRO", "DETAIL", "ARTIGO", "DESIGNACAO", "TIPOREG", "TOTENT", "QUANTID", "QTDCAR", "ENCCLINRO"},
               {{500, 1, "MP-1", "Cartão Micro E", "A", "N", 100, 100, 100},
                {500, 2, "MP-1", "Cartão Micro E", "A", "N", 60, 50, 900}});
    FormDriver form = f.open();
    form.type("Edit_EncNro2", "500");
    form.tab();
    f.selectAll(form);
    form.click("BotBegin");
    f.scenario.settle();
    EXPECT_EQ(form.gridCell("DBGridConsumos", 0, 5), "150"); // every undelivered line
    f.clickTab(form, "PageProcessamento", 1);
    EXPECT_EQ(form.gridRowCount("DBGridFrnEnc"), 2);
    EXPECT_EQ(form.text("Label_TotEnc"), "100,000"); // only lines for orders inside the limits
    f.clickTab(form, "PageEncFornecedores", 1);
    EXPECT_EQ(form.text("Label_Enc1"), "7");
    EXPECT_EQ(form.text("Label_Enc4"), "4470-000 Maia");
    EXPECT_EQ(form.text("Label_Enc8"), "1 30 F Factura 2%");
    EXPECT_EQ(form.gridRowCount("DBGridFrnEncDet"), 2);
}

TEST_P(RequirementsScreenTest, MissingPurchasingDepartmentClosesTheForm)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    f.app().exec("UPDATE ORCPARGER SET DEPARTAMENTO = '' WHERE CODIGO = 1");
    FormDriver form = f.open();
    EXPECT_EQ(f.scenario.messages().transcript(), QStringList{"Departamento de Compras não está parametrizado ... !"});
    EXPECT_FALSE(form.isOpen());
}

TEST_P(RequirementsScreenTest, UserMissingFromTheInvoicingUsersGetsNoProposal)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    f.inv().exec("DELETE FROM UTILIZADORES");
    FormDriver form = f.open();
    f.selectAll(form);
    form.click("BotBegin");
    f.scenario.settle();
    f.scenario.messages().clear();
    f.clickTab(form, "PageProcessamento", 2);
    EXPECT_EQ(f.scenario.messages().texts(), QStringList{"UTILIZADOR INEXISTENTE !!!"});
    EXPECT_EQ(form.find<QTabWidget>("PageProcessamento")->currentIndex(), 0);
    EXPECT_EQ(f.count(f.app(), "SELECT COUNT(*) FROM LOGARTGFORN"), 0);
}

// TORCF041 on the same company: delivery place 1 with its postal code, the
// purchase-order series 1 counter at 0 and the copy name "ORIGINAL".
class ManufactureScreenTest : public ::testing::TestWithParam<std::tuple<bool, Engine>> {};

TEST_P(ManufactureScreenTest, OrdersWrittenFromTheProposalThenBackToThePreselection)
{
    const auto& [printIt, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ReqScreen f(engine);
    insertRows(f.inv(), "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE", "PAIS"}, {{"4470-000", "Maia", "PORTUGAL"}});
    insertRows(f.inv(), "LOCCARGA", {"CODIGO", "MORADA1", "MORADA2", "CODPOSTAL"},
               {{1, "Armazém", "Lote 3", "4470-000"}});
    f.inv().exec("UPDATE STKPARGER SET EFNRO1 = 0, EFVIA1 = 'ORIGINAL', NENCOBSERV1 = 'Entregas das 8h às 17h'");
    // Another year's closing texts are not this year's.
    insertRows(f.inv(), "STKPARGER", {"ANO", "NENCOBSERV1"}, {{"2023", "Texto de 2023"}});
    FormDriver form = f.scenario.open("TORCF041");
    f.scenario.settle();
    f.calculateAndPropose(form);
    EXPECT_EQ(form.find<QTabWidget>("PageProcessamento")->tabText(2), "Encomendar");
    ASSERT_EQ(form.gridRowCount("DBGridArtgForn"), 1);
    f.scenario.messages().clear();
    f.scenario.messages().answer(printIt);
    QStringList printed;
    if (printIt)
        f.capturePreview(printed);
    form.click("BotProcessar");
    f.scenario.settle();
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCMAS WHERE ENCNRO = 1"), 1);
    EXPECT_DOUBLE_EQ(f.inv().scalar("SELECT VALMERC FROM FRNENCMAS WHERE ENCNRO = 1").toDouble(), 1250);
    EXPECT_DOUBLE_EQ(f.inv().scalar("SELECT VALTOT FROM FRNENCMAS WHERE ENCNRO = 1").toDouble(), 1125);
    EXPECT_EQ(f.inv().scalar("SELECT PRINTE FROM FRNENCMAS WHERE ENCNRO = 1").toString(), printIt ? "S" : "N");
    EXPECT_EQ(f.count(f.inv(), "SELECT COUNT(*) FROM FRNENCIMPR"), 0);
    if (printIt) {
        EXPECT_TRUE(printed.contains("ORIGINAL"));
        EXPECT_TRUE(printed.contains("Papeleira Sete"));
        EXPECT_TRUE(printed.contains("Entregas das 8h às 17h"));
        EXPECT_FALSE(printed.contains("Texto de 2023"));
        EXPECT_FALSE(printed.join('|').contains("A TRANSPORTAR"));
        // The recalculation counts the order: nothing left to buy, so no requirement row.
        EXPECT_FALSE(f.requirement("MP-1", "TOTCONSUMO").isValid());
        EXPECT_EQ(form.find<QTabWidget>("PageProcessamento")->currentIndex(), 2);
    } else {
        EXPECT_EQ(form.find<QTabWidget>("PageControl1")->currentIndex(), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(Print, ManufactureScreenTest,
                         ::testing::Combine(::testing::Bool(), ::testing::ValuesIn(kv::test::engines())),
                         [](const auto& param) {
                             return std::string(std::get<0>(param.param) ? "printed_" : "not_printed_")
                                    + kv::test::engineName(std::get<1>(param.param));
                         });

// The manufacture proposal keeps its current row in edit while the user
// enters the grid and moves between its columns, by Enter or by the mouse.
TEST_P(RequirementsScreenTest, ManufactureProposalRowStaysInEditAcrossColumns)
{
    KV_SKIP_WITHOUT(GetParam());
    ReqScreen f(GetParam());
    FormDriver form = f.scenario.open("TORCF041");
    f.scenario.settle();
    f.calculateAndPropose(form);
    auto* grid = form.find<kv::ui::DbGrid>("DBGridArtgForn");
    auto* proposal = form.window()->findChild<kv::db::Dataset*>("LOGARTGFORN1");
    ASSERT_EQ(form.focused(), "DBGridArtgForn");
    EXPECT_EQ(proposal->state(), kv::db::DatasetState::Edit);
    const int column = grid->currentIndex().column();

    proposal->post();
    form.enter();
    f.scenario.settle();
    EXPECT_EQ(grid->currentIndex().column(), column + 1);
    EXPECT_EQ(proposal->state(), kv::db::DatasetState::Edit);

    proposal->post();
    grid->setCurrentIndex(grid->model()->index(0, 5));
    f.scenario.settle();
    EXPECT_EQ(proposal->state(), kv::db::DatasetState::Edit);

    // Leaving the grid applies what was typed.
    proposal->setValue("QUANTIDADE", 321);
    f.clickTab(form, "PageProcessamento", 0);
    ASSERT_NE(form.focused(), "DBGridArtgForn");
    EXPECT_FALSE(proposal->hasPendingChanges());
    EXPECT_DOUBLE_EQ(f.app().scalar("SELECT QUANTIDADE FROM LOGARTGFORN").toDouble(), 321);
}

// The order look-ups of the order edits: OK writes the order chosen into the
// edit entered last, Cancel changes nothing.
struct OrderLookupCase {
    const char* label;
    const char* field;
    bool ok;
    const char* expected;
};

class OrderLookupTest : public ::testing::TestWithParam<std::tuple<OrderLookupCase, Engine>> {};

TEST_P(OrderLookupTest, ChosenOrderGoesIntoTheEditEntered)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ReqScreen f(engine);
    insertRows(f.inv(), "ENCCLIMAS", {"ENCNRO", "CLINRO", "CLINOM", "TOTENT"}, {{300, 10, "Quinta Nova, Lda", "N"}});
    FormDriver form = f.open();
    form.focus(c.field);
    const QString before = form.text(c.field);
    f.scenario.onDialog([&c](FormDriver& lookup) {
        EXPECT_EQ(lookup.caption(), "Localizar");
        lookup.clickRow("Grid", 1); // order 300
        lookup.click(c.ok ? "OKBtn" : "CancelBtn");
    });
    form.insert();
    f.scenario.settle();
    EXPECT_EQ(form.text(c.field), *c.expected ? QString::fromLatin1(c.expected) : before);
}

const OrderLookupCase OrderLookupCases[] = {
    {"from_ok", "Edit_EncNro1", true, "300"},
    {"to_ok", "Edit_EncNro2", true, "300"},
    {"from_cancel", "Edit_EncNro1", false, ""},
};

INSTANTIATE_TEST_SUITE_P(Cases, OrderLookupTest,
                         ::testing::Combine(::testing::ValuesIn(OrderLookupCases),
                                            ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<OrderLookupCase>);

// The demo company opens both requirement forms without a parameter message.
TEST_P(RequirementsScreenTest, DemoCompanyOpensBothForms)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    kv::shell::Session& session = scenario.login(GetParam(), kv::test::Company::Demo);
    kv::production::registerProductionForms(session, scenario.forms());
    for (const char* name : {"TORCF040", "TORCF041"}) {
        scenario.messages().clear();
        FormDriver form = scenario.open(name);
        scenario.settle();
        EXPECT_TRUE(form.isOpen()) << name;
        EXPECT_TRUE(scenario.messages().texts().isEmpty()) << scenario.messages().texts().join('|').toStdString();
        EXPECT_EQ(form.focused(), "Edit_EncNro1");
        form.close();
        scenario.settle();
    }
}

KV_ENGINE_SUITE(RequirementsScreenTest);

} // namespace
