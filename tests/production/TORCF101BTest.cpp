// The quote view of a production order on the demo company: entry by right,
// the information and values of the order's quote, the chart slices per
// quantity, the classification, a missing salesman and the zoom buttons.
#include "imaging/forms/TPictureBox.h"
#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "production/forms/ProductionForms.h"
#include "production/forms/ProductionSessionState.h"
#include "quotes/core/ChartRows.h"
#include "support/Scenario.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QImage>
#include <QTabWidget>

#include <gtest/gtest.h>

using kv::test::Engine;
using kv::test::FormDriver;

namespace {

struct QuoteView {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> inv;
    std::shared_ptr<kv::production::ProductionSessionState> state;

    explicit QuoteView(Engine engine)
    {
        scenario.login(engine, kv::test::Company::Demo);
        app = scenario.session().dataModules().connections().DbKavorime;
        inv = scenario.session().dataModules().connections().DbFacturacao;
        state = kv::production::registerProductionForms(scenario.session(), scenario.forms());
        state->selected.quoteNumber = 9101;
        // Article PRV-9 of type 1 in group "G": table 1 "Cor" with value 4 "Azul", table 4 "Forma" left empty.
        inv->exec("DELETE FROM PARCUSTOM");
        inv->exec("INSERT INTO PARCUSTOM (CODIGO, GRUPOTIPO1) VALUES ('1', 'G')");
        inv->exec("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM) VALUES ('G', '1', 'Cor'), ('G', '4', 'Forma')");
        inv->exec("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO) VALUES ('G', 'PORTUGAL', '1', 4, "
                  "'Azul'), ('G', 'PORTUGAL', '4', 1, 'Redonda')");
        inv->exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, CUSTOPADRAO, FAMILIA, CUSTOM1, CUSTOM4) "
                  "VALUES ('PRV-9', 'Caixa de prova', '1', 2.5, 'CAIXAS', 4, 0)");
        // Salesman 999 is not in the salesman file.
        app->exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, VNDNRO, NOSREF, DESIGN1, APROVADO, "
                  "DATADJUD, QTDORC1, QTDORC2, QTDORC3, VALMP1, VALCM1, VALPS1, VALEM1, VALMO1, VALSUB1, VALTR1, "
                  "VALCOM1A, VALCOM2A, VALCOM3A, MARGEMLIQ1, VALMP2, VALCOM3B, MARGEMLIQ2, VALMP3, MARGEMVALOR, "
                  "MARGEMPRC1, MARGEMPRC, PRCCOM3, PRECOORC1, PRECOCLI1, UNIDADE) VALUES (9101, 99, :D, 101, "
                  "'Cliente', 999, 'PRV-9', 'Caixa', 'S', :A, 1000, 2000, 3000, 100.5, 50.25, 1, 2, 3, 500, 10, 5, "
                  "4, 33, 20, 180, 44, 40, 250, 55, 12.5, 15.5, 99, 0.1858, 0.19, 'M')",
                  {{"D", QDate(2024, 3, 1)}, {"A", QDate(2024, 3, 8)}});
        scenario.messages().clear();
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF101B");
        scenario.settle();
        return form;
    }
    std::vector<kv::quotes::ChartRows::Slice> slices()
    {
        return kv::quotes::ChartRows(*app, kv::quotes::ChartRows::Table::Saldos, scenario.session().state().WUtil,
                                     "ORCP101")
            .slices();
    }
    // The user's row of the quote consultation with ACEDER as given; none for "".
    void setAccess(const char* aceder)
    {
        const kv::shell::LoginState& s = scenario.session().state();
        app->exec("DELETE FROM APLICACAODET WHERE CAPITULO = 'Orcamentos' AND PROGRAMA = 'Consulta de Orcamentos' "
                  "AND UTIL = :U",
                  {{"U", s.WUtil}});
        const QVariant company = app->scalar("SELECT MIN(EMPNRO) FROM APLICACAODET WHERE UTIL = :U", {{"U", s.WUtil}});
        if (*aceder)
            app->exec("INSERT INTO APLICACAODET (APLICACAO, CAPITULO, PROGRAMA, EMPNRO, UTIL, ACEDER, INSERIR, "
                      "ALTERAR, ELIMINAR, IMPORTAR, IMPRIMIR, ARQUIVAR, MAIL, SCANNER) VALUES (:A, 'Orcamentos', "
                      "'Consulta de Orcamentos', :E, :U, :X, 'N', 'N', 'N', 'N', 'N', 'N', 'N', 'N')",
                      {{"A", s.WAplicacao}, {"E", company}, {"U", s.WUtil}, {"X", QLatin1String(aceder)}});
        if (kv::db::Dataset& rights = scenario.session().dataModules().dataset("DTEMPRESAS.APLICACAODET");
            rights.isOpen())
            rights.refresh();
    }
};

class QuoteViewForm : public ::testing::TestWithParam<Engine> {};

TEST_P(QuoteViewForm, EntryNeedsTheRightToAccess)
{
    KV_SKIP_WITHOUT(GetParam());
    for (const char* aceder : {"N", ""}) {
        QuoteView t(GetParam());
        t.setAccess(aceder);
        FormDriver form = t.open();
        EXPECT_FALSE(form.isOpen()) << aceder;
        EXPECT_EQ(t.scenario.messages().transcript(), (QStringList{"<beep>", "Não pode aceder a este Programa"}))
            << aceder;
    }
}

TEST_P(QuoteViewForm, ShowsTheQuoteWithoutTheMissingSalesman)
{
    KV_SKIP_WITHOUT(GetParam());
    QuoteView t(GetParam());
    FormDriver form = t.open();
    ASSERT_TRUE(form.isOpen());
    const std::pair<const char*, const char*> shown[] = {
        {"Label_OrcNro", "9101"},     {"Label_VndNro", "999"},         {"Label_VndNome", ""},
        {"Label_NosRef", "PRV-9"},    {"Label_Aprovado", "Sim"},       {"Label_DatAdjud", "08/03/2024"},
        {"Label_Familia", "CAIXAS"},  {"LabelArtigo1", "Cor"},         {"Label_NomeCustom1", "Azul"},
        {"LabelArtigo4", "Forma"},    {"Label_NomeCustom4", ""}, // CUSTOM4 0: no value named
        {"BotChart2", "2000"},
    };
    for (const auto& [name, text] : shown)
        EXPECT_EQ(form.text(QLatin1String(name)), QString::fromUtf8(text)) << name;
}

TEST_P(QuoteViewForm, ValuesLeaveOutSubcontractsAndTakeTheirOwnMargin)
{
    KV_SKIP_WITHOUT(GetParam());
    QuoteView t(GetParam());
    FormDriver form = t.open();
    // Base cost 100.5 + 50.25 + 1 + 2 + 3, the 500 of subcontracts left out.
    EXPECT_EQ(form.text("Label_Valor7_1"), "156,75 €");
    EXPECT_FALSE(form.isVisible("Label_Valor6_1"));
    EXPECT_EQ(form.text("Label_Valor11_1"), "19,00 €"); // commercial cost 10 + 5 + 4
    EXPECT_EQ(form.text("Label_Valor14_1"), "0,19 €"); // the quoted price in currency decimals
    EXPECT_EQ(form.text("Label_Valor16_1"), "195,75 €"); // total 156.75 + 19 + 20
    EXPECT_EQ(form.text("Label_Margem"), "15,5");
    EXPECT_TRUE(form.text("Label_Unidade").isEmpty());
}

TEST_P(QuoteViewForm, EachChartButtonWritesItsQuantitysSlices)
{
    KV_SKIP_WITHOUT(GetParam());
    QuoteView t(GetParam());
    FormDriver form = t.open();
    form.find<QTabWidget>("TB")->setCurrentIndex(1);
    t.scenario.settle();
    const struct {
        const char* button;
        double base;
        double commercial;
        double margin;
    } charts[] = {{"BotChart2", 180, 0, 44}, {"BotChart3", 250, 0, 55}, {"BotChart1", 156.75, 19, 33}};
    for (const auto& c : charts) {
        form.click(QLatin1String(c.button));
        t.scenario.settle();
        const auto slices = t.slices();
        ASSERT_EQ(slices.size(), 3u) << c.button;
        EXPECT_EQ(slices[0].label, "Cust.Base") << c.button;
        EXPECT_DOUBLE_EQ(slices[0].value, c.base) << c.button;
        EXPECT_DOUBLE_EQ(slices[1].value, c.commercial) << c.button;
        EXPECT_EQ(slices[2].label, "Margem") << c.button;
        EXPECT_DOUBLE_EQ(slices[2].value, c.margin) << c.button;
    }
}

TEST_P(QuoteViewForm, ZoomPlusEnlargesAndZoomMinusReduces)
{
    KV_SKIP_WITHOUT(GetParam());
    QuoteView t(GetParam());
    const QString stored =
        t.inv->scalar("SELECT PATHFOTO FROM PARGER WHERE ANO = :A", {{"A", t.scenario.session().state().WAno}})
            .toString();
    const QString folder = t.scenario.installation().mapWindowsPath(stored);
    QDir().mkpath(folder);
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/PRV-91.bmp"), "BMP"));
    FormDriver form = t.open();
    form.find<QTabWidget>("TB")->setCurrentIndex(2);
    t.scenario.settle();
    auto* large = form.find<kv::imaging::TPictureBox>("M1");
    const double before = large->zoom();
    form.click("BitZoomMais");
    t.scenario.settle();
    EXPECT_GT(large->zoom(), before);
    form.click("BitZoomMenos");
    form.click("BitZoomMenos");
    t.scenario.settle();
    EXPECT_LT(large->zoom(), before);
}

TEST_P(QuoteViewForm, EveryActivationShowsTheQuoteAsItStandsNow)
{
    KV_SKIP_WITHOUT(GetParam());
    QuoteView t(GetParam());
    FormDriver form = t.open();
    EXPECT_EQ(form.text("Label_Design1"), "Caixa");
    t.app->exec("UPDATE ORCMAS SET DESIGN1 = 'Caixa revista' WHERE CODIGO = 9101");
    QEvent activation(QEvent::WindowActivate);
    QCoreApplication::sendEvent(form.window(), &activation);
    t.scenario.settle();
    EXPECT_EQ(form.text("Label_Design1"), "Caixa revista");
}

KV_ENGINE_SUITE(QuoteViewForm);

} // namespace
