// The internal quote print and the quote chart on the demo company: the
// three pages of the demo quotes read back from the laid-out documents and
// their exports, the worksheet's closing with and without the print, and
// the pie chart of the page "Totais".
#include "quotes/core/ChartRows.h"
#include "quotes/core/QuotePrintData.h"
#include "quotes/core/QuoteTotals.h"
#include "quotes/forms/QuoteForms.h"
#include "quotes/forms/TORCF021.h"
#include "quotes/print/ChartRowsPie.h"
#include "quotes/print/InternalQuotePages.h"
#include "quotes/print/InternalQuoteReportForm.h"

#include "platform/ui/FormRegistry.h"
#include "shell/MainMenu.h"

#include "support/Scenario.h"
#include "support/TableRows.h"

#include "platform/report/Export.h"
#include "platform/report/PreviewWindow.h"
#include "platform/text/NumberText.h"

#include <QFile>
#include <QLegend>
#include <QLegendMarker>
#include <QPieSeries>
#include <QPieSlice>
#include <QProcess>
#include <QTabWidget>

#include <gtest/gtest.h>

using kv::report::Document;
using kv::report::ExportFormat;
using kv::report::RenderedPage;
using kv::test::Company;
using kv::test::Engine;
using kv::test::FormDriver;
using namespace kv::quotes;

namespace {

// Demo quote 1: a wine box in units with an accessory insert (sub-quotes 0
// and 1); demo quote 2: a box with a window in thousands, three quantities.
struct DemoPrint {
    kv::test::Scenario scenario;
    std::shared_ptr<kv::db::Connection> db;
    std::shared_ptr<kv::db::Connection> invoicing;

    explicit DemoPrint(Engine engine)
    {
        scenario.login(engine, Company::Demo);
        registerQuoteForms(scenario.session(), scenario.forms());
        db = scenario.session().dataModules().connections().DbKavorime;
        invoicing = scenario.session().dataModules().connections().DbFacturacao;
        scenario.messages().clear();
    }

    Document page(int quote, InternalPage page, int decimals = 3)
    {
        const QuotePrintData data = QuotePrintData::load(*db, invoicing.get(), quote);
        return InternalQuotePages(data, {QStringLiteral("Empresa Demo"), decimals}).render(page);
    }

    double stored(int quote, int subQuote, const QString& column)
    {
        return db
            ->scalar(QStringLiteral("SELECT %1 FROM ORCMAS WHERE CODIGO = :N AND SUBCODIGO = :S").arg(column),
                     {{"N", quote}, {"S", subQuote}})
            .toDouble();
    }
};

QStringList texts(const RenderedPage& page)
{
    QStringList out;
    for (const auto& band : page.bands)
        for (const auto& item : band.items)
            if (!item.text.isEmpty())
                out << item.text;
    return out;
}

QStringList texts(const Document& document)
{
    QStringList out;
    for (const RenderedPage& page : document.pages)
        out << texts(page);
    return out;
}

// The texts of each printed line of a page's band named `band` (a section,
// a total), joined by "|".
QStringList bandLines(const RenderedPage& page, kv::report::BandKind kind, const QString& name = {})
{
    QStringList out;
    for (const auto& band : page.bands) {
        if (band.kind != kind || (!name.isEmpty() && band.name != name))
            continue;
        QStringList line;
        for (const auto& item : band.items)
            if (!item.text.isEmpty())
                line << item.text;
        out << line.join(QLatin1Char('|'));
    }
    return out;
}

int occurrences(const QStringList& list, const QString& text)
{
    return static_cast<int>(std::count(list.begin(), list.end(), text));
}

class InternalPrint : public ::testing::TestWithParam<Engine> {};

TEST_P(InternalPrint, technicalSheetHasAPagePerSubQuoteWithItsCaptionsAndConsumptions)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    const Document one = p.page(1, InternalPage::TechnicalSheet);
    ASSERT_EQ(one.pageCount(), 2);
    const QStringList base = texts(one.pages[0]);
    const QStringList accessory = texts(one.pages[1]);
    EXPECT_TRUE(base.contains("(ORÇAMENTO BASE)"));
    EXPECT_TRUE(accessory.contains("(ACESSÓRIOS)"));
    EXPECT_TRUE(base.contains("UNIDADES"));
    EXPECT_TRUE(base.contains("F I C H A   T É C N I C A"));
    EXPECT_TRUE(base.contains("Caixa de vinho 3 garrafas"));
    EXPECT_TRUE(accessory.contains("Calço interior"));
    EXPECT_TRUE(base.contains("Empresa : Empresa Demo"));
    // Inks, varnishes, glues and boards by table type; machines, fixed costs and packaging are not consumptions.
    const QStringList lines = bandLines(one.pages[0], kv::report::BandKind::SubDetail, "Consumos");
    EXPECT_EQ(lines, (QStringList{"Tinta Offset Ciano Processo|KG|0,3190|0,0000|0,0000",
                                  "Tinta Offset Magenta Processo|KG|0,3190|0,0000|0,0000",
                                  "Tinta Offset Amarelo Processo|KG|0,3190|0,0000|0,0000",
                                  "Tinta Offset Preto Processo|KG|0,2924|0,0000|0,0000",
                                  "Verniz Acrílico Base Água Brilho|KG|1,5508|0,0000|0,0000",
                                  "Cola Vinílica Colagem Lateral|KG|0,0000|0,0000|0,0000",
                                  "Cola Vinílica Colagem Lateral|KG|0,0000|0,0000|0,0000",
                                  "Cartolina GC1 Branca 300g|KG|633,0000|0,0000|0,0000",
                                  "Cartolina GC1 Branca 300g|KG|633,0000|0,0000|0,0000"}));

    const Document two = p.page(2, InternalPage::TechnicalSheet);
    ASSERT_EQ(two.pageCount(), 1);
    EXPECT_TRUE(texts(two).contains("MILHEIRO"));
    EXPECT_TRUE(texts(two).contains("1.471,0000"));
}

TEST_P(InternalPrint, missingPostalCodeAndSalesmanLeaveTheirTextsEmptyAndFoundOnesShow)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    kv::test::insertRows(*p.invoicing, "CODPOSTAL", {"CODPOSTAL", "LOCALIDADE"}, {{"5000-001", "Vila Real"}});
    kv::test::insertRows(*p.invoicing, "VENDEDORES", {"CODIGO", "NOME"}, {{77, "Rui Vendedor"}});
    p.db->exec("UPDATE ORCMAS SET CODPOSTAL = '5000-001', VNDNRO = 77 WHERE CODIGO = 1 AND SUBCODIGO = 0");
    p.db->exec("UPDATE ORCMAS SET CODPOSTAL = '9999-999', VNDNRO = 78 WHERE CODIGO = 1 AND SUBCODIGO = 1");
    const Document one = p.page(1, InternalPage::TechnicalSheet);
    ASSERT_EQ(one.pageCount(), 2);
    EXPECT_TRUE(texts(one.pages[0]).contains("Vila Real"));
    EXPECT_TRUE(texts(one.pages[0]).contains("Rui Vendedor"));
    EXPECT_FALSE(texts(one.pages[1]).contains("Vila Real"));
    EXPECT_FALSE(texts(one.pages[1]).contains("Rui Vendedor"));
    EXPECT_TRUE(texts(one.pages[1]).contains("78"));
}

TEST_P(InternalPrint, costLinesPrintTheSectionsWithLinesAndTheirTotals)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    const Document one = p.page(1, InternalPage::CostLines);
    ASSERT_EQ(one.pageCount(), 2);
    const QStringList base = texts(one.pages[0]);
    for (const char* heading : {"MATÉRIAS PRIMAS", "PRODUTOS SUBSIDIARIOS", "MÁQUINAS", "EMBALAGEM"})
        EXPECT_EQ(occurrences(base, QString::fromUtf8(heading)), 1) << heading;
    for (const char* heading : {"MÃO DE OBRA", "SUBCONTRATOS", "ACESSÓRIOS"})
        EXPECT_FALSE(base.contains(QString::fromUtf8(heading))) << heading;
    EXPECT_TRUE(base.contains("(ORÇAMENTO BASE)"));
    EXPECT_TRUE(base.contains("GRUPOS DE CUSTOS : "));
    // The machine section's own columns, the make-ready as time text.
    EXPECT_TRUE(base.contains("CUSTO HORA "));
    EXPECT_EQ(bandLines(one.pages[0], kv::report::BandKind::SubDetail, "MÁQUINAS").first(),
              "Offset 4 Cores 72x102|1|00:45|9000|95,00 €|77,93|0,0|0,0");
    // Totals in the money decimals (3 here), the subsidiary products in the currency's.
    const QStringList totals = bandLines(one.pages[0], kv::report::BandKind::DataFooter);
    EXPECT_EQ(totals, (QStringList{"TOTAL : |377,970 €|0,000 €|0,000 €", "TOTAL : |180,00 €|0,00 €|0,00 €",
                                   "TOTAL : |186,970 €|0,000 €|0,000 €", "TOTAL : |700,000 €|0,000 €|0,000 €"}));
    // Machine times: one line per machine line.
    const QStringList times = bandLines(one.pages[0], kv::report::BandKind::SubDetail, "Tempos");
    ASSERT_EQ(times.size(), 3);
    EXPECT_TRUE(times[0].startsWith("Offset 4 Cores 72x102|00:45|"));
    EXPECT_TRUE(times[2].startsWith("Coladora Linear Automática|00:30|"));
    EXPECT_TRUE(base.contains("MÁQUINA "));
}

TEST_P(InternalPrint, linesThatCostOutsideTheSectionsAndTheMendedSubcontract)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    kv::test::insertRows(*p.db, "ORCDET",
                         {"CODIGO", "SUBCODIGO", "DETAIL", "TIPOTABELA", "CODTAB", "DESIGN", "TIPOCUSTO", "PRECO",
                          "VALQTD1", "VALQTD2", "VALQTD3", "PERC"},
                         {{1, 1, 40, 99, 1, "Custo de Transporte", "TR", 0, 25, 0, 0, 4},
                          {1, 1, 41, 11, 9999, "Subcontrato Apagado", "SB", 12.5, 30, 0, 0, 3},
                          {1, 1, 42, 7, 8, "Acabamento em Percentagem", "MO", 0, 0, 0, 0, 5}});
    const Document one = p.page(1, InternalPage::CostLines);
    ASSERT_EQ(one.pageCount(), 2);
    const QStringList accessory = texts(one.pages[1]);
    EXPECT_FALSE(accessory.contains("Custo de Transporte"));
    // A subcontract line whose subcontract is gone stays in the account, with its price.
    EXPECT_EQ(bandLines(one.pages[1], kv::report::BandKind::SubDetail, "SUBCONTRATOS"),
              QStringList{"Subcontrato Apagado|12,50 €|30,0|0,0|0,0"});
    // A percentage shows in place of the price; a section adding up to 0 has no total.
    EXPECT_EQ(bandLines(one.pages[1], kv::report::BandKind::SubDetail, "MÃO DE OBRA"),
              QStringList{"Acabamento em Percentagem|5 %|0,0|0,0|0,0"});
    EXPECT_EQ(
        occurrences(bandLines(one.pages[1], kv::report::BandKind::DataFooter), "TOTAL : |30,000 €|0,000 €|0,000 €"), 1);
    EXPECT_EQ(bandLines(one.pages[1], kv::report::BandKind::DataFooter).size(), 5);
}

TEST_P(InternalPrint, totalsPageComputesItsRowsUnderTheCommissionNames)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    p.db->exec("UPDATE ORCPARGER SET DESIGNCOM2 = '' WHERE CODIGO = 1");
    p.db->exec("UPDATE ORCMAS SET VALTR1 = 12.5, VALTR2 = 20, VALTR3 = 0 WHERE CODIGO = 2 AND SUBCODIGO = 99");
    const Document two = p.page(2, InternalPage::Totals, 2);
    ASSERT_EQ(two.pageCount(), 1);
    const QStringList rows = bandLines(two.pages[0], kv::report::BandKind::Detail);
    auto money = [&](std::initializer_list<const char*> columns, int n) {
        kv::text::Fixed4 sum;
        for (const char* c : columns)
            sum += kv::text::Fixed4::fromDouble(p.stored(2, 99, QString::fromLatin1(c) + QString::number(n)));
        return kv::text::money(sum.toDouble(), 2);
    };
    QStringList base{"CUSTO BASE :"};
    QStringList commercial{"CUSTO COMERCIAL :"};
    QStringList client{"PREÇO CLIENTE :"};
    for (int n = 1; n <= 3; ++n) {
        base << money({"VALMP", "VALPS", "VALCM", "VALMO", "VALEM", "VALSUB"}, n);
        const QChar q(u'A' + n - 1);
        commercial << kv::text::money(
            p.stored(2, 99, QStringLiteral("VALCOM1") + q) + p.stored(2, 99, QStringLiteral("VALCOM2") + q), 2);
        client << kv::text::money(p.stored(2, 99, quantityColumn("PRECOCLI", n)), 2);
    }
    EXPECT_TRUE(rows.contains(base.join('|'))) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains(commercial.join('|'))) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains(client.join('|'))) << rows.join('\n').toStdString();
    EXPECT_TRUE(rows.contains("PREÇO APROVADO :"));
    // Transport has its own row, outside the commercial cost.
    EXPECT_TRUE(rows.contains("TRANSPORTE :|12,5|20,0|0,0")) << rows.join('\n').toStdString();
    // The unnamed commission keeps its row, captioned by nothing but its percentage.
    EXPECT_TRUE(rows[9].startsWith(kv::text::plain(p.stored(2, 99, "PRCCOM2")) + " %|")) << rows[9].toStdString();
    EXPECT_TRUE(texts(two).contains("MILHEIRO"));

    // Without a summary row the page still prints, its figures empty.
    p.db->exec("DELETE FROM ORCMAS WHERE CODIGO = 2 AND SUBCODIGO = 99");
    const Document bare = p.page(2, InternalPage::Totals, 2);
    ASSERT_EQ(bare.pageCount(), 1);
    EXPECT_TRUE(texts(bare).contains("CUSTO BASE :"));
    for (const QString& text : texts(bare))
        EXPECT_FALSE(text.contains(u'€')) << text.toStdString();
}

TEST_P(InternalPrint, aQuoteWithoutRowsPrintsNoFirstOrSecondPage)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    EXPECT_TRUE(p.page(77, InternalPage::TechnicalSheet).isEmpty());
    EXPECT_TRUE(p.page(77, InternalPage::CostLines).isEmpty());
    EXPECT_EQ(p.page(77, InternalPage::Totals).pageCount(), 1);
}

QByteArray unzipped(const QString& file, const QString& member)
{
    QProcess unzip;
    unzip.start(QStringLiteral("unzip"), {QStringLiteral("-p"), file, member});
    unzip.waitForFinished();
    return unzip.readAllStandardOutput();
}

TEST_P(InternalPrint, aPageExportsToTextSpreadsheetAndRtf)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    const Document document = p.page(2, InternalPage::Totals, 2);
    const QString client = kv::text::money(p.stored(2, 99, "PRECOCLI1"), 2);

    const QString text = p.scenario.tempPath("interno.txt");
    kv::report::exportDocument(document, ExportFormat::Text, text);
    QFile textFile(text);
    ASSERT_TRUE(textFile.open(QIODevice::ReadOnly));
    const QString written = QString::fromUtf8(textFile.readAll());
    EXPECT_TRUE(written.contains("PREÇO CLIENTE :"));
    EXPECT_TRUE(written.contains(client));

    const QString sheet = p.scenario.tempPath("interno.xlsx");
    kv::report::exportDocument(document, ExportFormat::Xlsx, sheet);
    const QString strings = QString::fromUtf8(unzipped(sheet, QStringLiteral("xl/sharedStrings.xml")));
    EXPECT_TRUE(strings.contains("CUSTO BASE :"));
    EXPECT_TRUE(strings.contains("TIPO DE CUSTO"));

    const QString rtf = p.scenario.tempPath("interno.rtf");
    kv::report::exportDocument(document, ExportFormat::Rtf, rtf);
    QFile rtfFile(rtf);
    ASSERT_TRUE(rtfFile.open(QIODevice::ReadOnly));
    const QByteArray rich = rtfFile.readAll();
    EXPECT_TRUE(rich.startsWith("{\\rtf1"));
    EXPECT_TRUE(rich.contains("CUSTO BASE :"));
    EXPECT_TRUE(rich.contains("TRANSPORTE :"));
}

TEST_P(InternalPrint, reportFormsAreRegisteredUnderTheirClassNames)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    const std::pair<const char*, InternalPage> forms[] = {{"TORCFPR021micro", InternalPage::TechnicalSheet},
                                                          {"TORCFPR021Amicro", InternalPage::CostLines},
                                                          {"TORCFPR021Bmicro", InternalPage::Totals}};
    for (const auto& [name, page] : forms) {
        std::unique_ptr<QDialog> form(p.scenario.forms().create(QString::fromLatin1(name)));
        auto* report = qobject_cast<InternalQuoteReportForm*>(form.get());
        ASSERT_NE(report, nullptr) << name;
        EXPECT_EQ(report->page(), page);
        EXPECT_EQ(report->objectName(), QString::fromLatin1(name));
    }
}

// Every report form a quote menu entry creates before its form is one the
// quote forms registered, under its class and with its report's title; the
// letter follows the login's layout.
struct MenuReportsCase {
    std::string label;
    const char* item;
    const char* layout;
    std::vector<std::pair<const char*, const char*>> reports; // class, title
};

class QuoteMenuReports : public ::testing::TestWithParam<MenuReportsCase> {};

TEST_P(QuoteMenuReports, areRegisteredUnderTheirClassAndTitle)
{
    const MenuReportsCase& c = GetParam();
    kv::test::application();
    kv::ui::FormRegistry forms;
    registerQuoteForms([] { return QuoteFormsEnvironment{}; }, forms);
    kv::shell::LoginState state;
    state.WTipoOrcam = QString::fromLatin1(c.layout);
    const kv::shell::FormOpening opening = kv::shell::MainMenu::opening(QString::fromLatin1(c.item), state);
    QStringList expected;
    for (const auto& [name, title] : c.reports)
        expected << QString::fromLatin1(name);
    EXPECT_EQ(opening.reports, expected);
    for (const auto& [name, title] : c.reports) {
        std::unique_ptr<QDialog> form(forms.create(QString::fromLatin1(name)));
        ASSERT_NE(form, nullptr) << name;
        EXPECT_EQ(form->objectName(), QString::fromLatin1(name));
        EXPECT_EQ(form->windowTitle(), QString::fromUtf8(title)) << name;
        EXPECT_EQ(form->layout(), nullptr) << name; // never shown
    }
}

const char* const InternalTitle = "Emissão Orçamento Interno";
const MenuReportsCase kMenuReports[] = {
    {"worksheet",
     "ORC001",
     "1",
     {{"TORCFPR021micro", InternalTitle}, {"TORCFPR021Amicro", InternalTitle}, {"TORCFPR021Bmicro", InternalTitle}}},
    {"lettersOfLayout1", "ORC002", "1", {{"TORCFPR022QUAL", "Emissao de Orcamentos"}}},
    {"lettersOfLayoutM", "ORC002", "M", {{"TORCFPR022MICRO", "Emissao de Orcamentos"}}},
    {"lettersOfLayoutT", "ORC002", "T", {{"TORCFPR022CONT", "Emissao de Orcamentos"}}},
    {"consultation",
     "ORC003",
     "1",
     {{"TORCFPR031A", "Listagem de Orçamentos"},
      {"TORCFPR031micro", InternalTitle},
      {"TORCFPR031Amicro", InternalTitle},
      {"TORCFPR031Bmicro", InternalTitle}}},
    {"approval",
     "ORC004",
     "1",
     {{"TORCFPR032ENC_ZADOV", "Emissão de N/ Encomenda"},
      {"TORCFPR032micro", InternalTitle},
      {"TORCFPR032Amicro", InternalTitle},
      {"TORCFPR032Bmicro", InternalTitle}}},
};
INSTANTIATE_TEST_SUITE_P(Cases, QuoteMenuReports, ::testing::ValuesIn(kMenuReports),
                         [](const auto& testCase) { return testCase.param.label; });

// ------------------------------------------------------------ the worksheet

FormDriver toTotals(DemoPrint& p)
{
    FormDriver form = p.scenario.open("TORCF021");
    p.scenario.settle();
    const std::pair<const char*, const char*> header[] = {
        {"Edit_Serie", "1"}, {"Edit_Codigo", "2"}, {"Edit_SubCodigo", "0"}};
    for (const auto& [field, value] : header) {
        form.type(QString::fromLatin1(field), QString::fromLatin1(value));
        form.enter();
        p.scenario.settle();
    }
    form.enter(); // the date: a stored quote goes on to the customer
    p.scenario.settle();
    form.find<QTabWidget>("Tb")->setCurrentIndex(2);
    p.scenario.settle();
    form.click("BotTotais");
    p.scenario.settle();
    return form;
}

// Through the percentages to the client prices, then each client price typed.
void closeWithPrices(DemoPrint& p, FormDriver& form)
{
    for (int i = 0; i < 3; ++i) {
        form.enter();
        p.scenario.settle();
    }
    const char* prices[] = {"300", "280", "260"};
    for (int n = 1; n <= 3; ++n) {
        form.type(QStringLiteral("Edit_PrcCli%1").arg(n), QString::fromLatin1(prices[n - 1]));
        form.enter();
        p.scenario.settle();
    }
}

TEST_P(InternalPrint, closingAnsweredYesPreviewsTheThreePagesInTurnThenSaves)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    FormDriver form = toTotals(p);
    std::vector<Document> previews;
    for (int i = 0; i < 3; ++i)
        p.scenario.onDialog([&](FormDriver& preview) {
            previews.push_back(qobject_cast<kv::report::PreviewWindow*>(preview.window())->document());
            preview.close();
        });
    p.scenario.messages().answer(true); // FECHO
    p.scenario.messages().answer(true); // internal print
    closeWithPrices(p, form);
    ASSERT_EQ(previews.size(), 3u);
    EXPECT_TRUE(texts(previews[0]).contains("F I C H A   T É C N I C A"));
    EXPECT_TRUE(texts(previews[1]).contains("GRUPOS DE CUSTOS : "));
    const int decimals = qobject_cast<TORCF021*>(form.window())->worksheet().priceDecimals;
    EXPECT_TRUE(bandLines(previews[2].pages[0], kv::report::BandKind::Detail)
                    .contains(QStringList{"PREÇO CLIENTE :", kv::text::money(300, decimals),
                                          kv::text::money(280, decimals), kv::text::money(260, decimals)}
                                  .join('|')));
    EXPECT_DOUBLE_EQ(p.stored(2, 99, "VALORCLI1"), 1500);
    EXPECT_EQ(form.focused(), "Edit_Serie");
}

TEST_P(InternalPrint, closingAnsweredNoSavesWithoutAPreview)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    FormDriver form = toTotals(p);
    p.scenario.messages().answer(true); // FECHO
    p.scenario.messages().answer(false); // no internal print
    closeWithPrices(p, form);
    EXPECT_EQ(p.scenario.messages().texts(),
              (QStringList{"FECHO DO ORÇAMENTO !!! Confirma ?", "EMISSÃO DO ORÇAMENTO INTERNO !!! Confirma ?"}));
    EXPECT_DOUBLE_EQ(p.stored(2, 0, "PRECOCLI3"), 260);
}

QStringList pieSlices(ChartRowsPie& chart)
{
    QStringList out;
    const auto markers = chart.chart()->legend()->markers(chart.series());
    for (int i = 0; i < chart.series()->count(); ++i)
        out << markers.value(i)->label() + QStringLiteral(" [") + chart.series()->slices().at(i)->label() + "]";
    return out;
}

QStringList storedSlices(DemoPrint& p)
{
    ChartRows rows(*p.db, ChartRows::Table::Saldos, p.scenario.session().state().WUtil, QuoteEngine::kChartProgram);
    QStringList out;
    for (const ChartRows::Slice& s : rows.slices())
        out << s.label + QStringLiteral("  ") + kv::text::formatted(s.value, QStringLiteral("#,##0.0"));
    return out;
}

QStringList legends(ChartRowsPie& chart)
{
    QStringList out;
    for (QLegendMarker* marker : chart.chart()->legend()->markers(chart.series()))
        out << marker->label();
    return out;
}

TEST_P(InternalPrint, totalsPageChartFollowsThePercentagesAndTheClosing)
{
    KV_SKIP_WITHOUT(GetParam());
    DemoPrint p(GetParam());
    FormDriver form = toTotals(p);
    auto* chart = form.find<ChartRowsPie>("ChartTotais");
    ASSERT_NE(chart, nullptr);
    ASSERT_EQ(chart->series()->count(), 3);
    EXPECT_EQ(legends(*chart), storedSlices(p));
    EXPECT_TRUE(legends(*chart)[0].startsWith("C.Base  "));
    // A higher margin percentage: the chart redraws from the rows written on leaving it.
    const QStringList before = legends(*chart);
    form.enter();
    p.scenario.settle();
    form.enter();
    p.scenario.settle();
    form.type("Edit_PrcCom3", "30");
    form.enter();
    p.scenario.settle();
    EXPECT_EQ(legends(*chart), storedSlices(p));
    EXPECT_NE(legends(*chart)[2], before[2]);
    // A client price below the cost: the margin is a loss, drawn as no slice but listed.
    p.scenario.messages().answer(true); // FECHO
    p.scenario.messages().answer(false); // no internal print
    for (const char* price : {"1", "1", "1"}) {
        form.type(form.focused(), QString::fromLatin1(price));
        form.enter();
        p.scenario.settle();
    }
    EXPECT_EQ(legends(*chart), storedSlices(p));
    EXPECT_LT(p.stored(2, 99, "MARGEMVALOR"), 0);
    EXPECT_EQ(chart->series()->slices().at(2)->value(), 0);
    EXPECT_FALSE(chart->series()->slices().at(2)->isLabelVisible());
}

TEST(ChartRowsPieWidget, negativeSliceKeepsItsLegendWithItsValue)
{
    kv::test::Scenario scenario;
    auto* chart = new ChartRowsPie;
    scenario.show(chart);
    chart->showSlices({{1, "C.Base", 150}, {2, "C.Comerci", 15}, {3, "Margem", -7.5}});
    chart->showSlices({{1, "C.Base", 150}, {2, "C.Comerci", 15}, {3, "Margem", -7.5}}); // redrawn, not added
    EXPECT_EQ(pieSlices(*chart), (QStringList{"C.Base  150,0 [90,9%]", "C.Comerci  15,0 [9,1%]", "Margem  -7,5 []"}));
    EXPECT_EQ(chart->series()->slices().at(2)->value(), 0);
    EXPECT_EQ(chart->chart()->legend()->alignment(), Qt::AlignBottom);
    EXPECT_TRUE(chart->chart()->title().isEmpty());
    EXPECT_TRUE(chart->chart()->axes().isEmpty());
}

KV_ENGINE_SUITE(InternalPrint);

} // namespace
