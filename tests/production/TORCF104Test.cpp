// The consumption forecast form driven as a user does: dates with their
// week, the range checks, the rights over both print buttons, and the map
// read back from the preview's PDF.
#include "production/StockMapTestSupport.h"
#include "platform/report/PreviewWindow.h"
#include "platform/ui/Form.h"
#include "production/forms/ProductionForms.h"
#include "production/forms/ProductionSessionState.h"
#include "support/CompanySession.h"
#include "support/TableRows.h"

#include <QDateTime>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

class ForecastSession : public kv::test::CompanySession {
public:
    ForecastSession(kv::test::Scenario& scenario, Engine engine)
        : CompanySession(scenario, engine, kv::test::Company::Plain)
    {
        m_state = kv::production::registerProductionForms(session(), scenario.forms());
        // The plain company has no calendar: the weeks of March 2024.
        std::vector<QVariantList> days;
        static const char* const names[] = {"Seg", "Ter", "Qua", "Qui", "Sex", "Sáb", "Dom"};
        for (QDate day(2024, 3, 1); day.month() == 3; day = day.addDays(1))
            days.push_back({day.startOfDay(), "2024", QString::fromUtf8(names[day.dayOfWeek() - 1]), day.weekNumber()});
        invoicing()->exec("DELETE FROM CALENDARIO WHERE ANO = '2024'");
        ensureSupplierOrderLines(*invoicing());
        kv::test::insertRows(*invoicing(), "CALENDARIO", {"DATA", "ANO", "DIASEM", "SEMANA"}, days);
    }
    ~ForecastSession() override { closeForms(); }

    void grantPrint(const char* imprimir)
    {
        grantRights(state().WAplicacao, "Planeamento", "Mapa de Consumos", "S", "N", "N", imprimir);
    }

private:
    std::shared_ptr<kv::production::ProductionSessionState> m_state;
};

class ForecastForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ForecastForm, OpensOnTheWorkingDateWithItsWeek)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ForecastSession company(scenario, GetParam());
    company.grantPrint("S");
    FormDriver form = scenario.open("TORCF104");
    EXPECT_EQ(form.text("Edit_DatEnt1"), "15/03/2024");
    EXPECT_EQ(form.text("Edit_DatEnt2"), "15/03/2024");
    EXPECT_EQ(form.text("Edit_SemEnt1"), "11");
    EXPECT_EQ(form.text("Edit_DiaSemEnt2"), "Sex");
    EXPECT_EQ(form.focused(), "Edit_DatEnt1");
}

// Without IMPRIMIR "S" neither way of printing shows.
TEST_P(ForecastForm, RightsShowOrHideBothPrintButtons)
{
    KV_SKIP_WITHOUT(GetParam());
    for (const char* imprimir : {"S", "N"}) {
        SCOPED_TRACE(imprimir);
        kv::test::Scenario scenario;
        ForecastSession company(scenario, GetParam());
        company.grantPrint(imprimir);
        FormDriver form = scenario.open("TORCF104");
        const bool shown = QLatin1String(imprimir) == "S";
        EXPECT_EQ(form.isVisible("BitPreview"), shown);
        EXPECT_EQ(form.isVisible("BitPrint"), shown);
        EXPECT_TRUE(form.isVisible("BitTerminar"));
    }
}

TEST_P(ForecastForm, DateChecksTellWhatIsWrong)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ForecastSession company(scenario, GetParam());
    company.grantPrint("S");
    FormDriver form = scenario.open("TORCF104");
    // A second date before the first.
    form.type("Edit_DatEnt2", "14/03/2024");
    form.tab();
    scenario.settle();
    EXPECT_EQ(scenario.messages().lastText(), "LIMITE DE DATAS INVÁLIDO");
    EXPECT_EQ(scenario.messages().beeps(), 1);
    EXPECT_EQ(form.focused(), "Edit_DatEnt1");
    // A date the calendar lacks: its week and weekday stay empty.
    scenario.messages().clear();
    form.type("Edit_DatEnt1", "01/01/1901");
    form.tab();
    scenario.settle();
    EXPECT_EQ(scenario.messages().lastText(), "Data Inexistente no Ficheiro de Calendário");
    EXPECT_EQ(form.text("Edit_SemEnt1"), "");
    EXPECT_EQ(form.text("Edit_DiaSemEnt1"), "");
}

// The map covers the range stored when the second date was last left: a
// first date changed afterwards does not count until then.
TEST_P(ForecastForm, PreviewPrintsTheMapOfTheStoredRange)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    ForecastSession company(scenario, GetParam());
    company.grantPrint("S");
    auto app = company.application();
    app->exec("DELETE FROM ORCCONSUMOS");
    kv::test::insertRows(
        *app, "ORCCONSUMOS",
        {"ANO", "CODIGO", "SUBCODIGO", "ENCDETAIL", "DETAIL", "TIPOTABELA", "ARTIGO", "DESIGN", "CONSUMO", "DATAENT"},
        {{"2024", 70, 0, 1, 1, 2, "CARTMAPA", "Cartolina do mapa", 1234.5, QDateTime(QDate(2024, 3, 14), QTime(10, 0))},
         {"2024", 71, 0, 1, 1, 2, "FORADATA", "Fora do intervalo", 9.0, QDateTime(QDate(2024, 3, 11), QTime(10, 0))}});
    FormDriver form = scenario.open("TORCF104");
    form.type("Edit_DatEnt1", "14/03/2024");
    form.tab();
    form.tab(); // leaves the second date: the range is 14/03 to 15/03
    scenario.settle();
    form.type("Edit_DatEnt1", "01/03/2024");
    form.tab();
    scenario.settle();
    kv::report::Document preview;
    scenario.onDialog([&](FormDriver& window) {
        preview = qobject_cast<kv::report::PreviewWindow*>(window.window())->document();
        window.close();
    });
    form.click("BitPreview");
    scenario.settle();
    ASSERT_EQ(preview.pageCount(), 1) << scenario.messages().transcript().join('\n').toStdString();
    const QString text = stockMapPdfText(preview, scenario.tempPath("mapa.pdf"));
    for (const char* expected : {"MAPA DE PREVISÃO DE CONSUMOS", "Datas de Entrega de : 14/03/2024 a 15/03/2024",
                                 "Codigo Artigo", "Encomendado", "CARTMAPA", "Cartolina do mapa", "Kgs", "1.234,5000",
                                 "0,0000", "Empresa : Cartonagem do Vale, Lda", "Página :1"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("FORADATA"));
    EXPECT_EQ(qobject_cast<kv::ui::Form*>(form.window())->statusText(0), "");
}

KV_ENGINE_SUITE(ForecastForm);

} // namespace
