// The quote consultation TORCF031 on a logged-in company: activation and
// rights, the selection's filters and limits, the pages refreshed with the
// current quote (values and chart, classification, pictures), the printed
// list and the internal print.
#include "quotes/forms/QuoteForms.h"
#include "quotes/forms/TORCF031.h"

#include "support/Scenario.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/db/Dataset.h"
#include "platform/report/Export.h"
#include "platform/report/PreviewWindow.h"
#include "platform/text/DateText.h"
#include "quotes/core/ChartRows.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QRubberBand>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

struct QuoteSpec {
    int number;
    int dayOffset; // from the working date
    int customer;
    int salesman;
    const char* article;
    const char* origin;
    const char* approved;
};

// Quotes of the demo company's working date (and one of the day before):
// 9001 of article PRV-1 (classified, pictures 1 and 3), 9002 of an article
// not in the article file, 9003 automatic, 9004 approved, 9005 the day
// before.
const QuoteSpec Quotes[] = {{9001, 0, 501, 1, "PRV-1", "M", "N"},
                            {9002, 0, 502, 1, "NAO-EXISTE", "M", "N"},
                            {9003, 0, 501, 1, "PRV-1", "A", "N"},
                            {9004, 0, 503, 2, "PRV-1", "M", "S"},
                            {9005, -1, 501, 1, "PRV-1", "M", "N"}};

struct Consultation {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> app;
    std::shared_ptr<kv::db::Connection> inv;
    QDate today;

    explicit Consultation(Engine engine, Company company = Company::Demo)
    {
        scenario.login(engine, company);
        registerQuoteForms(scenario.session(), scenario.forms());
        app = scenario.session().dataModules().connections().DbKavorime;
        inv = scenario.session().dataModules().connections().DbFacturacao;
        today = scenario.session().state().WData;
        if (company == Company::Demo) {
            inv->exec("DELETE FROM PARCUSTOM");
            inv->exec("INSERT INTO PARCUSTOM (CODIGO) VALUES ('1')");
        }
        scenario.messages().clear();
    }

    void addQuotes()
    {
        // the demo's own quotes are out of the day's selection
        app->exec("UPDATE ORCMAS SET DATEMI = :D WHERE CODIGO < 9000", {{"D", QDateTime(QDate(1990, 1, 1), QTime())}});
        for (const QuoteSpec& q : Quotes)
            app->exec("INSERT INTO ORCMAS (CODIGO, SUBCODIGO, DATEMI, CLINRO, NOME, VNDNRO, NOSREF, DESIGN1, "
                      "MANUAL_AUTO, APROVADO, QTDORC1, QTDORC2, QTDORC3, VALMP1, VALCM1, VALTR1, VALCOM1A, "
                      "MARGEMLIQ1, VALMP2, MARGEMLIQ2, PRECOCLI1, PRCCOM3, UNIDADE) VALUES (:C, 99, :D, :Cli, "
                      "'Cliente', :Vnd, :Art, 'Caixa', :M, :A, 1000, 2000, 0, 100.5, 50.25, 10, 5, 20, 180, 40, "
                      "0.1858, 12.5, 'M')",
                      {{"C", q.number},
                       {"D", QDateTime(today.addDays(q.dayOffset), QTime(9, 0))},
                       {"Cli", q.customer},
                       {"Vnd", q.salesman},
                       {"Art", QString::fromLatin1(q.article)},
                       {"M", QString::fromLatin1(q.origin)},
                       {"A", QString::fromLatin1(q.approved)}});
    }

    // Article PRV-1 of type 1, classified in group "G" (table 1 "Cor", code 4 "Azul").
    void addArticle()
    {
        inv->exec("UPDATE PARCUSTOM SET GRUPOTIPO1 = 'G' WHERE CODIGO = '1'");
        inv->exec("INSERT INTO PARGRUPOS (TABGRUPO, TABCOD, TABNOM) VALUES ('G', '1', 'Cor')");
        inv->exec("INSERT INTO CUSTARTG (TABGRUPO, PAIS, TABCOD, CODIGO, DESIGNACAO) VALUES ('G', 'PORTUGAL', '1', 4, "
                  "'Azul')");
        inv->exec("INSERT INTO ARTIGOSCLS (CODIGO, DESIGNACAO, TIPOARTIGO, CUSTOPADRAO, FAMILIA, CUSTOM1) VALUES "
                  "('PRV-1', 'Caixa de prova', '1', 2.5, 'CAIXAS', 4)");
    }

    // Pictures 1 and 3 of PRV-1 in the year's picture folder.
    QString addPictures()
    {
        const QString stored =
            inv->scalar("SELECT PATHFOTO FROM PARGER WHERE ANO = :A", {{"A", scenario.session().state().WAno}})
                .toString();
        const QString folder = scenario.installation().mapWindowsPath(stored);
        QDir().mkpath(folder);
        QImage picture(40, 30, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        // named in lower case: the files are found without regard to case
        for (const char* name : {"/prv-11.bmp", "/prv-13.bmp"})
            EXPECT_TRUE(picture.save(folder + QLatin1String(name), "BMP"));
        return folder;
    }

    FormDriver open()
    {
        FormDriver form = scenario.open("TORCF031");
        scenario.settle();
        return form;
    }
    static TORCF031* consultation(FormDriver& form) { return qobject_cast<TORCF031*>(form.window()); }
    static QList<int> listed(FormDriver& form)
    {
        QList<int> out;
        for (const QString& number : form.gridColumn("DBGrid1", 0))
            out << number.toInt();
        return out;
    }
};

struct ActivationCase {
    std::string label;
    Company company;
    const char* statement; // on the invoicing database
    const char* message;
};

class ConsultationActivation : public ::testing::TestWithParam<std::tuple<ActivationCase, Engine>> {};

TEST_P(ConsultationActivation, closesWithItsMessage)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Consultation t(engine, c.company);
    if (*c.statement)
        t.inv->exec(QString::fromLatin1(c.statement));
    FormDriver form = t.open();
    EXPECT_EQ(t.scenario.messages().texts(), QStringList{QString::fromUtf8(c.message)});
    EXPECT_FALSE(form.isOpen());
}

const ActivationCase kActivation[] = {
    {"noRightsRow", Company::Plain, "", "Não pode aceder a este Programa"},
    {"noYearParameters", Company::Demo, "DELETE FROM PARGER", "PARAMETROS GERAIS, Inexistentes"}};
INSTANTIATE_TEST_SUITE_P(Cases, ConsultationActivation,
                         ::testing::Combine(::testing::ValuesIn(kActivation), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<ActivationCase>);

class ConsultationForm : public ::testing::TestWithParam<Engine> {};

TEST_P(ConsultationForm, missingCustomisationRowWarnsAndGoesOn)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.inv->exec("DELETE FROM PARCUSTOM");
    FormDriver form = t.open();
    EXPECT_EQ(t.scenario.messages().texts(), QStringList{"Problemas c/ leitura Tabelas Customizadas"});
    EXPECT_TRUE(form.isOpen());
}

struct FilterCase {
    std::string label;
    std::vector<const char*> clicks;
    QList<int> expected;
};

class ConsultationFilters : public ::testing::TestWithParam<std::tuple<FilterCase, Engine>> {};

// Defaults: manual quotes of the working date, approved or not.
TEST_P(ConsultationFilters, eachClickReopensTheListAndItsCount)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Consultation t(engine);
    t.addQuotes();
    FormDriver form = t.open();
    for (const char* button : c.clicks) {
        form.click(button);
        t.scenario.settle();
    }
    EXPECT_EQ(Consultation::listed(form), c.expected);
    EXPECT_EQ(form.text("Label_NroOrc"), QString::number(c.expected.size()));
}

const FilterCase kFilters[] = {{"defaults", {}, {9001, 9002, 9004}},
                               {"automatic", {"RadioManual2"}, {9003}},
                               {"bothOrigins", {"RadioManual3"}, {9001, 9002, 9003, 9004}},
                               {"approved", {"RadioAprovado1"}, {9004}},
                               {"notApprovedOfBothOrigins", {"RadioAprovado2", "RadioManual3"}, {9001, 9002, 9003}}};
INSTANTIATE_TEST_SUITE_P(Cases, ConsultationFilters,
                         ::testing::Combine(::testing::ValuesIn(kFilters), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<FilterCase>);

// The demo company's own quotes of its working date: the manual ones at
// once, the automatic one through its filter.
TEST_P(ConsultationForm, demoCompanyShowsItsDaysQuotes)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    FormDriver form = t.open();
    EXPECT_EQ(Consultation::listed(form), (QList<int>{3, 4}));
    form.click("RadioManual2");
    t.scenario.settle();
    EXPECT_EQ(Consultation::listed(form), QList<int>{5});
    EXPECT_EQ(form.text("Label_NroOrc"), "1");
}

TEST_P(ConsultationForm, limitsTakeEffectAtConsultarAndAValidToDateReopens)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.addQuotes();
    FormDriver form = t.open();
    form.type("Edit_CliNro1", "502");
    form.enter();
    form.type("Edit_CliNro2", "503");
    form.enter();
    t.scenario.settle();
    EXPECT_EQ(Consultation::listed(form), (QList<int>{9001, 9002, 9004})); // not yet
    form.click("BotConsultar");
    t.scenario.settle();
    EXPECT_EQ(Consultation::listed(form), (QList<int>{9002, 9004}));

    form.type("Edit_CliNro1", "0");
    form.enter();
    form.type("Edit_Data1", kv::text::date(t.today.addDays(-1)));
    form.enter();
    form.type("Edit_Data2", kv::text::date(t.today.addDays(-1)));
    form.enter(); // leaving the to-date reopens the list
    t.scenario.settle();
    EXPECT_EQ(Consultation::listed(form), (QList<int>{9005}));
    EXPECT_EQ(form.text("Label_NroOrc"), "1");
}

TEST_P(ConsultationForm, rowChangeShowsTheQuoteItsValuesAndItsChartPerButton)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.addQuotes();
    t.addArticle();
    FormDriver form = t.open();
    form.clickRow("DBGrid1", 0);
    t.scenario.settle();
    EXPECT_EQ(form.text("Label_OrcNro"), "9001");
    EXPECT_EQ(form.text("Label_Aprovado"), "Não");
    EXPECT_EQ(form.text("Label_CustoPadrao"), "2,5");
    EXPECT_EQ(form.text("Label_Valor7_1"), "150,75 €"); // base cost 100,50 + 50,25
    EXPECT_EQ(form.text("Label_Valor11_1"), "15,00 €"); // commercial cost 10 + 5
    EXPECT_EQ(form.text("Label_Valor16_1"), "185,75 €"); // order total
    EXPECT_EQ(form.text("Label_Valor16_3"), "0,00 €");
    EXPECT_EQ(form.text("Label_Margem"), "12,5");
    EXPECT_EQ(form.text("BotChart2"), "2000");

    ChartRows chart(*t.app, ChartRows::Table::Saldos, t.scenario.session().state().WUtil, "ORCP031");
    auto slices = chart.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].value, 150.75);
    EXPECT_DOUBLE_EQ(slices[2].value, 20.0);
    form.find<QTabWidget>("TB")->setCurrentIndex(TORCF031::ValuesPage);
    t.scenario.settle();
    form.click("BotChart2");
    t.scenario.settle();
    slices = chart.slices();
    ASSERT_EQ(slices.size(), 3u);
    EXPECT_DOUBLE_EQ(slices[0].value, 180.0);
    EXPECT_DOUBLE_EQ(slices[1].value, 0.0);
    EXPECT_DOUBLE_EQ(slices[2].value, 40.0);
}

// Nothing of another quote: the classification of the quote before goes
// when the next quote's article is not in the article file.
TEST_P(ConsultationForm, classificationOfTheQuoteBeforeDoesNotStay)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.addQuotes();
    t.addArticle();
    FormDriver form = t.open();
    form.clickRow("DBGrid1", 0);
    t.scenario.settle();
    EXPECT_EQ(form.text("LabelArtigo1"), "Cor");
    EXPECT_EQ(form.text("Label_NomeCustom1"), "Azul");
    form.clickRow("DBGrid1", 1); // 9002, article missing
    t.scenario.settle();
    EXPECT_EQ(form.text("Label_OrcNro"), "9002");
    EXPECT_EQ(form.text("LabelArtigo1"), "");
    EXPECT_EQ(form.text("Label_NomeCustom1"), "");
    EXPECT_EQ(form.text("Label_CustoPadrao"), "");
}

TEST_P(ConsultationForm, picturesOfTheArticleAndThePhotoTab)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.addQuotes();
    t.addArticle();
    t.addPictures();
    FormDriver form = t.open();
    form.clickRow("DBGrid1", 0);
    t.scenario.settle();
    auto hasPicture = [&](const char* name) {
        const QLabel* label = form.find<QLabel>(name);
        return !label->pixmap().isNull();
    };
    EXPECT_TRUE(hasPicture("ml1"));
    EXPECT_FALSE(hasPicture("ML2"));
    EXPECT_TRUE(hasPicture("ML3"));
    EXPECT_FALSE(hasPicture("ML4"));

    form.find<QTabWidget>("TB")->setCurrentIndex(TORCF031::PhotoPage);
    t.scenario.settle();
    auto* consultation = Consultation::consultation(form);
    EXPECT_EQ(consultation->currentPage(), TORCF031::PhotoPage);
    auto* large = form.find<kv::imaging::TPictureBox>("M1");
    EXPECT_EQ(large->text(), "PÁGINA (01)");
    EXPECT_TRUE(large->hasPicture());

    // a quote whose article is not in the file: no picture, not even "1.Bmp"
    QFile stray(QFileInfo(large->getImageName()).path() + "/1.Bmp");
    ASSERT_TRUE(stray.open(QIODevice::WriteOnly));
    stray.close();
    form.clickRow("DBGrid1", 1);
    t.scenario.settle();
    EXPECT_FALSE(hasPicture("ml1"));
}

struct DragCase {
    std::string label;
    Qt::MouseButton button;
    bool drawn;
};

class ConsultationZoom : public ::testing::TestWithParam<std::tuple<DragCase, Engine>> {};

// The zoom rectangle follows a left-button drag over the large picture and
// goes when the button is released; another button draws none.
TEST_P(ConsultationZoom, dragOverTheLargePicture)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Consultation t(engine);
    t.addQuotes();
    t.addArticle();
    t.addPictures();
    FormDriver form = t.open();
    form.find<QTabWidget>("TB")->setCurrentIndex(TORCF031::PhotoPage);
    t.scenario.settle();
    auto* large = form.find<kv::imaging::TPictureBox>("M1");
    auto* band = large->findChild<QRubberBand*>();
    ASSERT_NE(band, nullptr);
    QTest::mousePress(large, c.button, {}, QPoint(10, 12));
    QMouseEvent move(QEvent::MouseMove, QPointF(60, 42), large->mapToGlobal(QPointF(60, 42)), Qt::NoButton, c.button,
                     Qt::NoModifier);
    QApplication::sendEvent(large, &move);
    EXPECT_EQ(band->isVisible(), c.drawn);
    if (c.drawn) {
        EXPECT_EQ(band->geometry(), QRect(QPoint(10, 12), QPoint(60, 42)));
    }
    QTest::mouseRelease(large, c.button, {}, QPoint(60, 42));
    EXPECT_FALSE(band->isVisible());
}

// Released, the left-button drag zooms the large picture into the area the
// picture control's band covered; another button leaves it stretched.
TEST_P(ConsultationZoom, releaseZoomsIntoTheDraggedArea)
{
    const auto& [c, engine] = GetParam();
    KV_SKIP_WITHOUT(engine);
    Consultation t(engine);
    t.addQuotes();
    t.addArticle();
    const QString folder = t.addPictures();
    // Twice the viewer's size: each pixel of the viewer shows two of it.
    QImage picture(950, 516, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    ASSERT_TRUE(picture.save(folder + QStringLiteral("/prv-11.bmp"), "BMP"));
    FormDriver form = t.open();
    form.find<QTabWidget>("TB")->setCurrentIndex(TORCF031::PhotoPage);
    t.scenario.settle();
    auto* large = form.find<kv::imaging::TPictureBox>("M1");
    ASSERT_EQ(large->size(), QSize(475, 258));
    ASSERT_TRUE(large->stretch());
    QTest::mousePress(large, c.button, {}, QPoint(100, 50));
    QMouseEvent move(QEvent::MouseMove, QPointF(200, 110), large->mapToGlobal(QPointF(200, 110)), Qt::NoButton,
                     c.button, Qt::NoModifier);
    QApplication::sendEvent(large, &move);
    QTest::mouseRelease(large, c.button, {}, QPoint(200, 110));
    if (c.drawn) {
        // The band keeps the viewer's proportions: it ends at (202, 105),
        // over the picture's pixels 200 to 404 across and 100 to 210 down.
        EXPECT_FALSE(large->stretch());
        EXPECT_DOUBLE_EQ(large->zoom(), 475.0 / 204);
        EXPECT_EQ(large->viewOrigin(), QPoint(200, 100));
    } else {
        EXPECT_TRUE(large->stretch());
        EXPECT_DOUBLE_EQ(large->zoom(), 1.0);
    }
}

const DragCase kDrags[] = {{"leftButton", Qt::LeftButton, true}, {"rightButton", Qt::RightButton, false}};
INSTANTIATE_TEST_SUITE_P(Cases, ConsultationZoom,
                         ::testing::Combine(::testing::ValuesIn(kDrags), ::testing::ValuesIn(kv::test::engines())),
                         kv::test::caseName<DragCase>);

TEST_P(ConsultationForm, photoTabWithoutAPictureFolderShowsTheList)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.inv->exec("UPDATE PARGER SET PATHFOTO = ''");
    t.addQuotes();
    FormDriver form = t.open();
    form.find<QTabWidget>("TB")->setCurrentIndex(TORCF031::PhotoPage);
    t.scenario.settle();
    EXPECT_EQ(Consultation::consultation(form)->currentPage(), TORCF031::ListPage);
    EXPECT_EQ(form.find<QTabWidget>("TB")->currentIndex(), TORCF031::ListPage);
}

TEST_P(ConsultationForm, printedListCarriesTheLimitsAndExportsToASpreadsheet)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.addQuotes();
    FormDriver form = t.open();
    form.click("RadioAprovado1");
    t.scenario.settle();
    kv::report::Document preview;
    t.scenario.onDialog([&](FormDriver& window) {
        preview = qobject_cast<kv::report::PreviewWindow*>(window.window())->document();
        window.close();
    });
    form.click("BotImprimir");
    t.scenario.settle();
    ASSERT_EQ(preview.pageCount(), 1);
    const QString csv = t.scenario.tempPath("lista.csv");
    kv::report::exportDocument(preview, kv::report::ExportFormat::Csv, csv);
    QFile file(csv);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(content.contains("Listagem de Orçamentos"));
    EXPECT_TRUE(content.contains("Só Aprovados"));
    EXPECT_TRUE(content.contains("Do Vendedor : 1"));
    EXPECT_TRUE(content.contains("Da Data : " + kv::text::date(t.today)));
    EXPECT_TRUE(content.contains("Designação do Artigo"));
    EXPECT_TRUE(content.contains("9004"));
    EXPECT_FALSE(content.contains("9001"));
}

TEST_P(ConsultationForm, doubleClickPreviewsTheThreeInternalPages)
{
    KV_SKIP_WITHOUT(GetParam());
    Consultation t(GetParam());
    t.addQuotes();
    // a demo quote with its sub-quotes, in the day's selection
    t.app->exec("UPDATE ORCMAS SET DATEMI = :D, MANUAL_AUTO = 'M', VNDNRO = 1, CLINRO = 501, NOSREF = 'PRV-1' "
                "WHERE CODIGO = 1",
                {{"D", QDateTime(t.today, QTime(8, 0))}});
    FormDriver form = t.open();
    ASSERT_EQ(Consultation::listed(form).value(0), 1);
    int previews = 0;
    for (int i = 0; i < 3; ++i)
        t.scenario.onDialog([&](FormDriver& window) {
            ++previews;
            window.close();
        });
    Consultation::consultation(form)->DBGrid1DblClick();
    t.scenario.settle();
    EXPECT_EQ(previews, 3);
}

INSTANTIATE_TEST_SUITE_P(Engines, ConsultationForm, ::testing::ValuesIn(kv::test::engines()), kv::test::engineTestName);

} // namespace
