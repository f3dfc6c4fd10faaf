// The stock map per customer driven as a user does: the map built on
// opening, the grids, the range messages, and a print after a change read
// back from the preview's PDF.
#include "production/StockMapTestSupport.h"
#include "imaging/forms/TPictureBox.h"
#include "platform/report/PreviewWindow.h"
#include "production/forms/ProductionForms.h"
#include "production/forms/ProductionSessionState.h"
#include "production/forms/TORCF110.h"
#include "support/CompanySession.h"
#include "support/TableRows.h"

#include <QDir>
#include <QImage>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

class CustomerMapSession : public kv::test::CompanySession {
public:
    CustomerMapSession(kv::test::Scenario& scenario, Engine engine, const char* imprimir = "S")
        : CompanySession(scenario, engine, kv::test::Company::Plain)
    {
        m_state = kv::production::registerProductionForms(session(), scenario.forms());
        grantRights(state().WAplicacao, "Planeamento", "Emissao Ordens de Fabrico", "S", "N", "N", imprimir);
        auto app = application();
        auto inv = invoicing();
        app->exec("DELETE FROM PLN_FICTEC");
        inv->exec("DELETE FROM ENCCLIDET");
        kv::test::insertRows(*app, "PLN_FICTEC", {"CLIENTE", "ARTIGO", "DESIGNACAO", "MATPRIMA", "MATDESCRI", "NOME"},
                             {{100, "CX-A", "CAIXA A", "PL-1", "Plano 1", "O'Neil, Lda"},
                              {100, "CX-B", "CAIXA B", "PL-1", "Plano 1", "O'Neil, Lda"},
                              {200, "ETQ-1", "ETIQUETA", QVariant(), QVariant(), "Beta SA"}});
        kv::test::addArticles(*inv, {{"CX-A", "Caixa A", "1"}, {"CX-B", "Caixa B", "1"}, {"PL-1", "Plano", "6"}});
        for (auto [code, stock] : {std::pair{"CX-A", 500.0}, std::pair{"CX-B", 80.0}, std::pair{"PL-1", 2000.0}})
            inv->exec("UPDATE ARTIGOSCLS SET EXIQTD = :Q WHERE CODIGO = :C", {{"Q", stock}, {"C", code}});
        kv::test::insertRows(*inv, "ENCCLIDET", {"ENCNRO", "DETAIL", "CLINRO", "ARTIGO", "QTDCAR"},
                             {{950, 1, 100, "CX-A", 300.0}, {950, 2, 100, "CX-A", 400.0}});
    }
    ~CustomerMapSession() override { closeForms(); }

private:
    std::shared_ptr<kv::production::ProductionSessionState> m_state;
};

class CustomerMapForm : public ::testing::TestWithParam<Engine> {};

TEST_P(CustomerMapForm, OpeningBuildsTheMapPerCustomer)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CustomerMapSession company(scenario, GetParam());
    FormDriver form = scenario.open("TORCF110");
    EXPECT_EQ(form.text("Edit_CliNro1"), "1");
    EXPECT_EQ(form.text("Edit_CliNro2"), "99999999");
    EXPECT_EQ(form.text("Edit_ArtNro2"), "ZZZZZZZZZZZZZZZZ");
    EXPECT_EQ(form.text("Edit_Design"), "%");
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
    EXPECT_EQ(form.gridColumn("DBGrid1", 0), (QStringList{"100", "200"}));
    EXPECT_EQ(form.gridColumn("DBGrid2", 0), (QStringList{"CX-A", "CX-B"}));
    EXPECT_EQ(form.gridColumn("DBGrid2", 3), (QStringList{"Plano 1", "Plano 1"}));
    form.clickRow("DBGrid1", 1);
    scenario.settle();
    EXPECT_EQ(form.gridColumn("DBGrid2", 0), (QStringList{"ETQ-1"}));
    // An emptied pattern becomes "%" and the map is built again.
    form.type("Edit_NomeCli", "beta%");
    form.tab();
    scenario.settle();
    EXPECT_EQ(form.gridColumn("DBGrid1", 0), (QStringList{"200"}));
    form.type("Edit_NomeCli", "");
    form.tab();
    scenario.settle();
    EXPECT_EQ(form.text("Edit_NomeCli"), "%");
    EXPECT_EQ(form.gridColumn("DBGrid1", 0), (QStringList{"100", "200"}));
}

TEST_P(CustomerMapForm, InvertedRangesAreRefused)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CustomerMapSession company(scenario, GetParam());
    FormDriver form = scenario.open("TORCF110");
    form.type("Edit_ArtNro1", "CX-B");
    form.tab();
    form.type("Edit_ArtNro2", "CX-A");
    form.tab();
    scenario.settle();
    EXPECT_EQ(scenario.messages().lastText(), "Limite de Artigos Inválido");
    EXPECT_EQ(form.focused(), "Edit_ArtNro1");
    scenario.messages().clear();
    // The customers' order is checked when printing: nothing is previewed.
    form.type("Edit_CliNro1", "300");
    form.tab();
    form.type("Edit_CliNro2", "200");
    form.tab();
    scenario.settle();
    form.click("BitPreview");
    scenario.settle();
    EXPECT_EQ(scenario.messages().lastText(), "LIMITE DE CLIENTES INVÁLIDO");
    EXPECT_EQ(scenario.messages().beeps(), 1);
    EXPECT_EQ(form.focused(), "Edit_CliNro1");
}

// A pattern typed and not left still counts: the preview rebuilds the map
// from the fields, so the figures match the limits printed above them.
TEST_P(CustomerMapForm, PreviewAfterAChangePrintsTheFieldsAsTheyStand)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CustomerMapSession company(scenario, GetParam());
    FormDriver form = scenario.open("TORCF110");
    form.type("Edit_Design", "caixa a%");
    kv::report::Document preview;
    scenario.onDialog([&](FormDriver& window) {
        preview = qobject_cast<kv::report::PreviewWindow*>(window.window())->document();
        window.close();
    });
    // The click of a mouse that takes no focus: the field is never left.
    qobject_cast<kv::production::TORCF110*>(form.window())->BitPreviewClick();
    scenario.settle();
    EXPECT_EQ(form.focused(), "Edit_Design");
    ASSERT_EQ(preview.pageCount(), 1) << scenario.messages().transcript().join('\n').toStdString();
    const QString text = stockMapPdfText(preview, scenario.tempPath("existencias.pdf"));
    for (const char* expected :
         {"Mapa de Existências por Cliente", "Designação : caixa a%", "Do Cliente : 1", "ao Cliente : 99999999",
          "Cliente Nº :", "O'Neil, Lda", "Exist.Prod.Acabado", "CX-A", "500,0000", "2.000,0000", "700,0000",
          "1.800,0000", "Empresa : Cartonagem do Vale, Lda"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("CX-B"));
    EXPECT_FALSE(text.contains("ETQ-1"));
}

// Insert on a customer field: the chosen customer's number goes into the
// field; Cancel changes nothing.
TEST_P(CustomerMapForm, CustomerLookupTakesTheChosenNumber)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CustomerMapSession company(scenario, GetParam());
    kv::test::addCustomers(*company.invoicing(), {{100, "O'Neil, Lda"}, {200, "Beta SA"}});
    FormDriver form = scenario.open("TORCF110");
    form.focus("Edit_CliNro2");
    scenario.onDialog([](FormDriver& dialog) { dialog.click("CancelBtn"); });
    form.insert();
    scenario.settle();
    EXPECT_EQ(form.text("Edit_CliNro2"), "99999999");
    scenario.onDialog([](FormDriver& dialog) {
        EXPECT_EQ(dialog.gridTitles("Grid"), (QStringList{"CÓDIGO", "NOME", "PAÍS"}));
        dialog.clickRow("Grid", static_cast<int>(dialog.gridColumn("Grid", 0).indexOf("200")));
        dialog.click("OKBtn");
    });
    form.insert();
    scenario.settle();
    EXPECT_EQ(form.text("Edit_CliNro2"), "200");
}

// The current article's first picture from the year's folder (X:\Fotos of
// the demo company), and none for an article without one.
TEST_P(CustomerMapForm, CurrentArticleShowsItsFirstPicture)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    kv::test::CompanySession company(scenario, GetParam(), kv::test::Company::Demo);
    auto state = kv::production::registerProductionForms(company.session(), scenario.forms());
    company.application()->exec(
        "INSERT INTO PLN_FICTEC (CLIENTE, ARTIGO, DESIGNACAO, MATPRIMA, NOME) "
        "VALUES (1, 'A-FOTO', 'CAIXA', '', 'Primeiro'), (1, 'SEM-FOTO', 'CAIXA', '', 'Primeiro')");
    const QString folder = scenario.installation().root() + QStringLiteral("/Fotos");
    QDir().mkpath(folder);
    QImage image(8, 8, QImage::Format_RGB32);
    image.fill(Qt::blue);
    ASSERT_TRUE(image.save(folder + QStringLiteral("/A-FOTO1.Bmp"), "BMP"));
    FormDriver form = scenario.open("TORCF110");
    auto* picture = form.find<kv::imaging::TPictureBox>("ML1");
    ASSERT_EQ(form.gridColumn("DBGrid2", 0), (QStringList{"A-FOTO", "SEM-FOTO"}));
    EXPECT_TRUE(picture->hasPicture());
    EXPECT_EQ(picture->text(), "(01)");
    form.clickRow("DBGrid2", 1);
    scenario.settle();
    EXPECT_FALSE(picture->hasPicture());
}

TEST_P(CustomerMapForm, WithoutThePrintRightNeitherButtonShows)
{
    KV_SKIP_WITHOUT(GetParam());
    kv::test::Scenario scenario;
    CustomerMapSession company(scenario, GetParam(), "N");
    FormDriver form = scenario.open("TORCF110");
    EXPECT_FALSE(form.isVisible("BitPreview"));
    EXPECT_FALSE(form.isVisible("BitPrint"));
}

KV_ENGINE_SUITE(CustomerMapForm);

} // namespace
