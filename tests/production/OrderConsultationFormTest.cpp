// The production-order consultation driven as a user would, on both
// engines: its limits, the deletion's questions, the statistics and their
// pages, the month calendar, and the filling form and quote view stood in for
// by dialogs of the test's own.
#include "production/ConsultationFixture.h"

#include "production/forms/OrderConsultationForm.h"
#include "production/forms/ProductionSessionState.h"

#include "platform/db/Dataset.h"
#include "platform/report/Export.h"
#include "platform/report/PreviewWindow.h"
#include "platform/ui/FormRegistry.h"
#include "support/QtPrinters.h"
#include "support/Scenario.h"

#include <QCalendarWidget>
#include <QDialog>
#include <QFile>
#include <QTabWidget>

using kv::production::OrderConsultationForm;
using kv::production::test::ConsultationFixture;
using kv::test::Engine;
using kv::test::FormDriver;

namespace {

struct ConsForm {
    kv::test::Scenario scenario;
    ConsultationFixture f;

    explicit ConsForm(Engine engine) : f(scenario, engine) {}

    FormDriver open(const char* form = "TORCF101")
    {
        FormDriver driver = scenario.open(QString::fromLatin1(form));
        scenario.settle();
        return driver;
    }
    // Leaving the customer to-limit lists the orders.
    FormDriver openListed(const char* name = "TORCF101")
    {
        FormDriver form = open(name);
        form.type("Edit_CliNro2", "99999999");
        form.enter();
        scenario.settle();
        return form;
    }
    static OrderConsultationForm& consultation(FormDriver& form)
    {
        return *qobject_cast<OrderConsultationForm*>(form.window());
    }
    static QString current(FormDriver& form)
    {
        kv::db::Dataset& list = consultation(form).list();
        return list.value("ANO").toString() + "/" + list.value("ORDNRO").toString() + "/"
               + list.value("SUBORC").toString() + "/" + list.value("DETAIL").toString();
    }
    // A stand-in child form: a dialog that runs `inside` while it is open.
    void standIn(const QString& className, std::function<void()> inside)
    {
        scenario.forms().add(className, [](QWidget* parent) -> QDialog* {
            auto* dialog = new QDialog(parent);
            dialog->setObjectName(QStringLiteral("StandIn"));
            return dialog;
        });
        scenario.onDialog([inside](FormDriver& child) {
            inside();
            qobject_cast<QDialog*>(child.window())->accept();
        });
    }
};

class OrderConsultationFormTest : public ::testing::TestWithParam<Engine> {};

TEST_P(OrderConsultationFormTest, OpensOnTheDefaultLimitsWithTheirWeeks)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    FormDriver form = t.open();
    EXPECT_EQ(form.caption(), "Consulta e Alteração de Ordens de Fabrico");
    EXPECT_EQ(t.scenario.messages().texts(), QStringList{});
    EXPECT_EQ(form.text("Edit_CliNro1"), "1");
    EXPECT_EQ(form.text("Edit_CliNro2"), "99999999");
    EXPECT_EQ(form.text("Edit_OfNro2"), "999999999");
    EXPECT_EQ(form.text("Edit_DatEnt1"), "14/02/2024");
    EXPECT_EQ(form.text("Edit_DatProd2"), "15/03/2025");
    EXPECT_EQ(form.text("Edit_EntS1"), "07");
    EXPECT_EQ(form.text("Edit_EntD1"), "Qua");
    EXPECT_EQ(form.text("Edit_ProdS2"), "11");
    EXPECT_EQ(form.text("Edit_ProdD2"), "Sáb");
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
    // Nothing is listed before the limits are left; the statistics hidden.
    EXPECT_FALSE(ConsForm::consultation(form).list().isOpen());
    EXPECT_FALSE(form.find<QTabWidget>("TB")->isTabVisible(OrderConsultationForm::ProductionPage));
    // Without the print right the print buttons stay hidden.
    EXPECT_FALSE(form.isVisible("BotImprimirProducao"));
    form.type("Edit_CliNro2", "99999999");
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 5);
    EXPECT_EQ(form.text("Label_NroOF"), "5");
}

struct LimitCase {
    std::string label;
    const char* field;
    const char* text;
    QStringList said;
};

class OrderConsultationLimits : public ::testing::TestWithParam<std::tuple<LimitCase, Engine>> {};

TEST_P(OrderConsultationLimits, RefusesWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ConsForm t(engine);
    FormDriver form = t.open();
    form.type(QString::fromLatin1(c.field), QString::fromUtf8(c.text));
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(t.scenario.messages().transcript(), c.said);
}

const LimitCase kLimits[] = {
    {"emptyCustomerFrom", "Edit_CliNro1", "", {"<beep>", "Cliente Inválido"}},
    {"emptyCustomerTo", "Edit_CliNro2", "", {"<beep>", "Cliente Inválido"}},
    {"customerToBelowFrom", "Edit_CliNro2", "0", {"<beep>", "Limite de Clientes Inválido"}},
    {"emptyNumberTo", "Edit_OfNro2", "", {"<beep>", "Limite inválido inválida !!!"}},
    {"numberToBelowFrom", "Edit_OfNro2", "0", {"<beep>", "Selecção inválida !!!"}},
    {"deliveryToBeforeFrom", "Edit_DatEnt2", "01/01/2024", {"<beep>", "LIMITE DE DATAS INVÁLIDO"}},
    {"productionToBeforeFrom", "Edit_DatProd2", "01/01/2024", {"<beep>", "LIMITE DE DATAS INVÁLIDO"}},
    {"dateMissingFromCalendar", "Edit_DatEnt2", "16/03/2025",
     {"<beep>", "Data Inexistente no Ficheiro de Calendário"}},
};
INSTANTIATE_TEST_SUITE_P(Cases, OrderConsultationLimits,
                         ::testing::Combine(::testing::ValuesIn(kLimits), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<LimitCase>);

TEST_P(OrderConsultationFormTest, AnArticleToLimitBelowTheFromLimitIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    FormDriver form = t.open();
    form.type("Edit_ArtNro1", "ART-2");
    form.enter();
    form.type("Edit_ArtNro2", "ART-1");
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(t.scenario.messages().transcript(), (QStringList{"<beep>", "LIMITE DE ARTIGOS INVÁLIDO"}));
    form.type("Edit_ArtNro2", "ART-2");
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 1);
    EXPECT_EQ(form.focused(), "DBGrid1");
}

TEST_P(OrderConsultationFormTest, LookupsWriteTheCodeOrDateChosen)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    FormDriver form = t.open();
    form.focus("Edit_ArtNro1");
    t.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"CÓDIGO", "DESIGNAÇÃO", "CÔR", "TAM"}));
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    form.insert();
    t.scenario.settle();
    EXPECT_EQ(form.text("Edit_ArtNro1"), "ART-2");

    form.focus("Edit_DatEnt2");
    t.scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.caption(), "Selecione a Data");
        dialog.clickRow("Grid", 1);
        dialog.click("OKBtn");
    });
    form.insert();
    t.scenario.settle();
    EXPECT_EQ(form.text("Edit_DatEnt2"), "15/03/2024");
}

struct DeletionCase {
    std::string label;
    int row; // in production-date order: 0 order 11 of 2024, 2 the issued order 12
    std::vector<bool> answers;
    int ordersLeft;
};

class OrderConsultationDeletion : public ::testing::TestWithParam<std::tuple<DeletionCase, Engine>> {};

TEST_P(OrderConsultationDeletion, AsksAndDeletesTheWholeOrder)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    ConsForm t(engine);
    FormDriver form = t.openListed();
    form.clickRow("DBGrid1", c.row);
    for (bool answer : c.answers)
        t.scenario.messages().answer(answer);
    form.click("BotEliminar");
    t.scenario.settle();
    const QString number = c.row == 2 ? "12" : "11";
    QStringList said{"Todas as O.F. com o nº" + number + " serão eliminadas !!",
                     "Eliminação Ordem de Fabrico !!! Confirma ?"};
    if (c.row == 2 && c.answers.front())
        said << "Esta OF já foi emitida Confirma a sua Eliminação !!! Confirma ?";
    EXPECT_EQ(t.scenario.messages().texts(), said);
    EXPECT_EQ(t.f.count(*t.f.application(), "SELECT COUNT(*) FROM ORDFABDET"), c.ordersLeft);
    EXPECT_EQ(form.gridRowCount("DBGrid1"), c.ordersLeft - 1); // the produced order is never listed
}

const DeletionCase kDeletions[] = {
    {"noAtTheQuestion", 0, {false}, 6},
    {"openOrderDeleted", 0, {true}, 3},
    {"issuedOrderNoAtTheSecondQuestion", 2, {true, false}, 6},
    {"issuedOrderDeleted", 2, {true, true}, 5},
};
INSTANTIATE_TEST_SUITE_P(Cases, OrderConsultationDeletion,
                         ::testing::Combine(::testing::ValuesIn(kDeletions), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<DeletionCase>);

TEST_P(OrderConsultationFormTest, ProcessingShowsTheStatisticsPagesAndPies)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    t.f.grantRights("KAVORIMETAS", "Planeamento", "Consulta/Alteracao OF(s)", "S", "N", "N", "S");
    FormDriver form = t.openListed();
    form.click("BotProcessar");
    t.scenario.settle();
    auto* tabs = form.find<QTabWidget>("TB");
    EXPECT_EQ(tabs->currentIndex(), OrderConsultationForm::ProductionPage);
    EXPECT_EQ(tabs->tabText(OrderConsultationForm::ProductionPage), " Produção ");
    EXPECT_EQ(form.gridTitles("DBGridProducao"), (QStringList{"Ano", "Sem.", "Nº", "Qtd"}));
    EXPECT_EQ(form.gridRowCount("DBGridProducao"), 3);
    EXPECT_EQ(form.gridRowCount("DBGridTempos"), 2);
    EXPECT_EQ(form.gridTitles("DBGridConsumos"), (QStringList{"Ano", "Sem", "Artigo", "Designacao", "Qtd", "Und."}));
    EXPECT_EQ(form.gridRowCount("DBGridConsumos"), 4);
    EXPECT_TRUE(form.isVisible("BotImprimirProducao"));
    EXPECT_EQ(ConsForm::current(form), "2024/11/0/2"); // the last listed row

    // Entering the customer-from limit empties the user's statistics.
    form.focus("Edit_CliNro1");
    t.scenario.settle();
    EXPECT_FALSE(tabs->isTabVisible(OrderConsultationForm::ProductionPage));
    EXPECT_EQ(t.f.count(*t.f.application(), "SELECT COUNT(*) FROM OFESTAT WHERE UTIL = 'ANA'"), 0);
    EXPECT_EQ(t.f.count(*t.f.application(), "SELECT COUNT(*) FROM SALDOS WHERE UTIL = 'ANA'"), 0);
}

TEST_P(OrderConsultationFormTest, EachStatisticsPagePrintsItsGridAsAList)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    t.f.grantRights("KAVORIMETAS", "Planeamento", "Consulta/Alteracao OF(s)", "S", "N", "N", "S");
    FormDriver form = t.openListed();
    form.click("BotProcessar");
    t.scenario.settle();
    struct Page {
        int index;
        const char* button;
        const char* title;
        const char* row; // one printed row, as the CSV export writes it
    };
    for (const Page& page : {Page{OrderConsultationForm::ProductionPage, "BotImprimirProducao", "Produção", "2023"},
                             Page{OrderConsultationForm::TimesPage, "BotImprimirTempos", "Tempos", "135"},
                             Page{OrderConsultationForm::ConsumptionPage, "BotImprimirConsumos", "Consumos",
                                  "Canelado"}}) {
        form.find<QTabWidget>("TB")->setCurrentIndex(page.index);
        kv::report::Document preview;
        t.scenario.onDialog([&](FormDriver& window) {
            preview = qobject_cast<kv::report::PreviewWindow*>(window.window())->document();
            window.close();
        });
        form.click(page.button);
        t.scenario.settle();
        ASSERT_EQ(preview.pageCount(), 1) << page.button;
        const QString csv = t.scenario.tempPath(QStringLiteral("%1.csv").arg(page.index));
        kv::report::exportDocument(preview, kv::report::ExportFormat::Csv, csv);
        QFile file(csv);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString content = QString::fromUtf8(file.readAll());
        EXPECT_TRUE(content.contains(QString::fromUtf8(page.title))) << page.button;
        EXPECT_TRUE(content.contains(QString::fromUtf8(page.row))) << page.button;
    }
}

TEST_P(OrderConsultationFormTest, MonthCalendarStepsOverTheYearEnd)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    FormDriver form = t.open();
    form.find<QCalendarWidget>("Calendario")->setCurrentPage(2024, 12);
    form.click("BotMesSeguinte");
    EXPECT_EQ(form.text("LabelMes"), "Janeiro/2025");
    form.click("BotMesAnterior");
    form.click("BotMesAnterior");
    EXPECT_EQ(form.text("LabelMes"), "Novembro/2024");
}

TEST_P(OrderConsultationFormTest, AChangeHandsTheOrderAndFindsItAgain)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    FormDriver form = t.openListed();
    form.clickRow("DBGrid1", 1); // order 11 of 2024, sub-quote 1
    kv::production::SelectedOrder handed;
    t.standIn("TORCF101A", [&] {
        handed = t.f.shared->selected;
        // The filling form moves the order to another production date: the
        // list's order changes under it.
        t.f.application()->exec("UPDATE ORDFABDET SET DATAPROD = :D WHERE ANO = '2024' AND ORDNRO = 11 AND SUBORC = 1",
                                {{"D", QDate(2024, 3, 26).startOfDay()}});
    });
    form.click("BotAlterar");
    t.scenario.settle();
    EXPECT_EQ(handed.year, "2024");
    EXPECT_EQ(handed.week, "11");
    EXPECT_EQ(handed.orderNumber, 11);
    EXPECT_EQ(handed.detail, 1);
    EXPECT_EQ(handed.quoteNumber, 700);
    EXPECT_EQ(handed.subQuote, 1);
    EXPECT_EQ(ConsForm::current(form), "2024/11/1/1");
    EXPECT_EQ(form.gridCurrentRow("DBGrid1"), 4);
    // The statistics were built again.
    EXPECT_EQ(t.f.count(*t.f.application(), "SELECT COUNT(*) FROM OFESTAT WHERE UTIL = 'ANA'"), 3);
}

TEST_P(OrderConsultationFormTest, AChangeOfAnOrderWhoseArticleIsGoneIsRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    t.f.invoicing()->exec("DELETE FROM ARTIGOSCLS WHERE CODIGO = 'ART-2'");
    FormDriver form = t.openListed();
    form.clickRow("DBGrid1", 2);
    form.click("BotAlterar");
    t.scenario.settle();
    EXPECT_EQ(t.scenario.messages().transcript(), (QStringList{"<beep>", "Artigo Inexistente ART-2"}));
}

TEST_P(OrderConsultationFormTest, TheQuoteViewShowsTheQuoteOfTheOrderRow)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    FormDriver form = t.openListed();
    // Order 11 of 2023 came from quote 650, though its customer order's
    // number has lines of quote 700 in 2024.
    form.clickRow("DBGrid1", 3);
    int quote = 0;
    t.standIn("TORCF101B", [&] { quote = t.f.shared->selected.quoteNumber; });
    ConsForm::consultation(form).DBGrid1DblClick();
    t.scenario.settle();
    EXPECT_EQ(quote, 650);
    EXPECT_EQ(t.f.shared->selected.quoteNumber, 0);
}

TEST_P(OrderConsultationFormTest, ModelTListsItsOrdersByDeliveryDate)
{
    KV_SKIP_WITHOUT(GetParam());
    ConsForm t(GetParam());
    t.f.addModelTOrders();
    FormDriver form = t.openListed("TORCF105");
    EXPECT_FALSE(form.has("BotProcessar"));
    EXPECT_EQ(form.gridTitles("DBGrid1"), (QStringList{"OF Nº", "T", "Dat.Ent.", "Cli.Nº", "Cliente", "Artigo",
                                                       "Designação", "Qtd.Enc.", "Und"}));
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 3);
    form.clickRow("DBGrid1", 1);
    t.scenario.messages().answer(true);
    form.click("BotEliminar");
    t.scenario.settle();
    EXPECT_EQ(form.gridRowCount("DBGrid1"), 2);
    EXPECT_EQ(t.f.count(*t.f.application(), "SELECT COUNT(*) FROM ORDFABRICO WHERE ANO = '2023'"), 0);
}

KV_ENGINE_SUITE(OrderConsultationFormTest);

} // namespace
