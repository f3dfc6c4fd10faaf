#include "platform/report/FontMap.h"
#include "platform/report/PagePainter.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ReportTestSupport.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTemporaryDir>

using namespace kv::report;
using namespace kv::report::test;

namespace {

// A4 portrait, margins 10 mm: the body runs from the headers to 272 mm when
// the page footer is 15 mm high.
struct Heights {
    double pageHeader = 20;
    double columnHeader = 10;
    double detail = 10;
    double footer = 15;
};

std::unique_ptr<MemoryRowSource> numbers(int count)
{
    auto rows = std::make_unique<MemoryRowSource>(QStringList{QStringLiteral("N")});
    for (int i = 1; i <= count; ++i)
        rows->append({i});
    return rows;
}

void buildPagedReport(Report& report, RowSource& rows, const Heights& h)
{
    report.page().setMargins(10, 10, 10, 10);
    report.pageHeader().setHeight(h.pageHeader).addText(QStringLiteral("CABEÇALHO"), {0, 0, 100, 5});
    report.columnHeader().setHeight(h.columnHeader).addText(QStringLiteral("Número"), {0, 0, 30, 5});
    report.detail().setSource(&rows);
    report.detail().setHeight(h.detail);
    report.detail().addField(QStringLiteral("N"), {0, 0, 30, 5});
    report.pageFooter().setHeight(h.footer).addSystem(SystemElement::Field::PageNumber, {0, 0, 50, 5},
                                                      QStringLiteral("Página : "));
}

std::vector<int> detailsPerPage(const Document& document)
{
    std::vector<int> counts;
    for (const RenderedPage& page : document.pages)
        counts.push_back(countBands(page, BandKind::Detail));
    return counts;
}

class ReportLayout : public ReportTest {};

} // namespace

TEST_F(ReportLayout, BreaksPagesWhereTheNextDetailDoesNotFit)
{
    struct Case {
        const char* name;
        int rows;
        Heights heights;
        bool headerOnFirst;
        bool footerOnLast;
        std::vector<int> expected;
    };
    const Case cases[] = {
        {"fits exactly on one page", 23, {}, true, true, {23}},
        {"one row more opens a page", 24, {}, true, true, {23, 1}},
        {"three pages", 50, {}, true, true, {23, 23, 4}},
        {"no page header on the first page", 50, {}, false, true, {25, 23, 2}},
        {"no footer on the last page keeps the room", 24, {}, true, false, {23, 1}},
        {"details of 7 mm", 40, {20, 10, 7, 15}, true, true, {33, 7}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto rows = numbers(c.rows);
        Report report;
        buildPagedReport(report, *rows, c.heights);
        report.setPageHeaderOnFirstPage(c.headerOnFirst);
        report.setPageFooterOnLastPage(c.footerOnLast);
        const Document document = ReportEngine::render(report);
        EXPECT_EQ(detailsPerPage(document), c.expected);

        const double bottom = 297 - 10 - c.heights.footer;
        int printed = 0;
        for (const RenderedPage& page : document.pages) {
            const bool last = &page == &document.pages.back();
            const bool first = page.number == 1;
            EXPECT_EQ(countBands(page, BandKind::PageHeader), first && !c.headerOnFirst ? 0 : 1);
            EXPECT_EQ(countBands(page, BandKind::ColumnHeader), 1);
            EXPECT_EQ(countBands(page, BandKind::PageFooter), last && !c.footerOnLast ? 0 : 1);
            double lastBottom = 0;
            for (const RenderedBand& band : page.bands) {
                if (band.kind == BandKind::Detail) {
                    lastBottom = band.rect.bottom();
                    EXPECT_EQ(pageTexts(page).contains(QString::number(++printed)), true);
                }
                if (band.kind == BandKind::PageFooter) {
                    EXPECT_DOUBLE_EQ(band.rect.top(), bottom);
                }
            }
            EXPECT_LE(lastBottom, bottom + 1e-9);
            if (!last) { // the next row would not have fitted
                EXPECT_GT(lastBottom + c.heights.detail, bottom);
            }
        }
        EXPECT_EQ(printed, c.rows);
    }
}

TEST_F(ReportLayout, PageNumbersAndPageTotals)
{
    auto rows = numbers(50);
    Report report;
    buildPagedReport(report, *rows, {});
    report.pageFooter().addTotal(QStringLiteral("N"), {60, 0, 30, 5}, {}, QStringLiteral("TotalPagina"));
    report.detail()
        .addTotal(QStringLiteral("N"), {40, 0, 30, 5}, {}, QStringLiteral("Acumulado"))
        .setResetAfterPrint(false);
    const Document document = ReportEngine::render(report);
    ASSERT_EQ(document.pageCount(), 3);
    // Rows 1-23, 24-46, 47-50.
    const QStringList pageTotals{QStringLiteral("276"), QStringLiteral("805"), QStringLiteral("194")};
    for (int p = 0; p < 3; ++p) {
        SCOPED_TRACE(p + 1);
        const QStringList texts = pageTexts(document.pages[static_cast<std::size_t>(p)]);
        EXPECT_TRUE(texts.contains(QStringLiteral("Página : %1").arg(p + 1)));
        EXPECT_TRUE(texts.contains(pageTotals[p]));
    }
    // The running total goes on across pages: 1+...+50 on the last line.
    EXPECT_TRUE(pageTexts(document.pages.back()).contains(QStringLiteral("1275")));
}

TEST_F(ReportLayout, GroupHeadersAndFootersWithTotals)
{
    struct Row {
        const char* group;
        int value;
    };
    struct Case {
        const char* name;
        std::vector<Row> rows;
        bool byExpression;
        QStringList expected;
    };
    const Case cases[] = {
        {"by field",
         {{"A", 1}, {"A", 2}, {"B", 3}, {"C", 4}, {"C", 5}, {"C", 6}},
         false,
         {"H A", "1", "2", "F A", "3", "H B", "3", "F B", "3", "H C", "4", "5", "6", "F C", "15", "21"}},
        {"one row", {{"A", 7}}, false, {"H A", "7", "F A", "7", "7"}},
        {"by expression: first letter",
         {{"Ab", 1}, {"Ac", 2}, {"Ba", 3}},
         true,
         {"H A", "1", "2", "F A", "3", "H B", "3", "F B", "3", "6"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryRowSource rows({QStringLiteral("GRUPO"), QStringLiteral("VALOR")});
        for (const Row& r : c.rows)
            rows.append({QString::fromLatin1(r.group), r.value});
        Report report;
        report.detail().setSource(&rows);
        report.detail().addField(QStringLiteral("VALOR"), {0, 0, 20, 5});
        auto firstLetter = [](const RowView& row) {
            return QVariant(row.value(QStringLiteral("GRUPO")).toString().left(1));
        };
        Group& group = c.byExpression ? report.detail().addGroup(firstLetter, QStringLiteral("G"))
                                      : report.detail().addGroup(QStringLiteral("GRUPO"));
        group.header().addExpression(
            [&](const RowView& row) { return QVariant(QStringLiteral("H ") + firstLetter(row).toString()); },
            {0, 0, 20, 5});
        group.footer().addExpression(
            [&](const RowView& row) { return QVariant(QStringLiteral("F ") + firstLetter(row).toString()); },
            {0, 0, 20, 5});
        group.footer().addTotal(QStringLiteral("VALOR"), {30, 0, 20, 5});
        report.summary().addTotal(QStringLiteral("VALOR"), {30, 0, 20, 5});
        const Document document = ReportEngine::render(report);
        ASSERT_EQ(document.pageCount(), 1);
        EXPECT_EQ(pageTexts(document.pages[0]), c.expected);
    }
}

TEST_F(ReportLayout, GroupsThatStartANewPageMakeNoEmptyFirstPage)
{
    MemoryRowSource rows({QStringLiteral("REGISTO"), QStringLiteral("VIA")});
    for (const auto& [record, copy] :
         std::vector<std::pair<int, const char*>>{{1, "Original"}, {2, "Duplicado"}, {3, "Original"}})
        rows.append({record, QString::fromLatin1(copy)});
    Report report;
    report.detail().setSource(&rows);
    report.detail().addField(QStringLiteral("VIA"), {0, 0, 40, 5});
    report.detail()
        .addGroup(QStringLiteral("REGISTO"))
        .setNewPage(true)
        .header()
        .addField(QStringLiteral("REGISTO"), {0, 0, 20, 5});
    report.pageFooter().addSystem(SystemElement::Field::PageNumber, {0, 0, 30, 5}, QStringLiteral("Página : "));
    const Document document = ReportEngine::render(report);
    ASSERT_EQ(document.pageCount(), 3);
    EXPECT_EQ(pageTexts(document.pages[0]), (QStringList{"1", "Original", "Página : 1"}));
    EXPECT_EQ(pageTexts(document.pages[1]), (QStringList{"2", "Duplicado", "Página : 2"}));
    EXPECT_EQ(pageTexts(document.pages[2]), (QStringList{"3", "Original", "Página : 3"}));
}

TEST_F(ReportLayout, AnEmptySourcePrintsNothingUnlessAsked)
{
    for (const bool printIfEmpty : {false, true}) {
        SCOPED_TRACE(printIfEmpty);
        auto rows = inkRows(0);
        Report report;
        buildListReport(report, *rows);
        report.summary().addText(QStringLiteral("Fim"), {0, 0, 20, 5});
        report.setPrintIfEmpty(printIfEmpty);
        bool hooksRan = false;
        report.setAfterPrint([&](Report&) { hooksRan = true; });
        const Document document = ReportEngine::render(report);
        EXPECT_TRUE(hooksRan);
        if (!printIfEmpty) {
            EXPECT_TRUE(document.isEmpty());
            continue;
        }
        ASSERT_EQ(document.pageCount(), 1);
        EXPECT_EQ(countBands(document.pages[0], BandKind::Detail), 0);
        EXPECT_TRUE(pageTexts(document.pages[0]).contains(QStringLiteral("Fim")));
        EXPECT_TRUE(pageTexts(document.pages[0]).contains(QStringLiteral("Página : 1")));
    }
}

TEST_F(ReportLayout, HooksChangeTextsHideElementsAndSkipBands)
{
    auto rows = inkRows(6);
    Report report;
    buildListReport(report, *rows);
    report.setBeforePrint([](Report& r) {
        r.find<TextElement>(QStringLiteral("LabelRodape"))->setText(QStringLiteral("Programa de orçamentação"));
    });
    report.pageHeader().setBeforePrint([](BandContext& context) {
        context.report.find<TextElement>(QStringLiteral("LabelOrdem"))->setText(QStringLiteral("Ord.Alfabética"));
    });
    // Odd codes are skipped; the total counts only what printed.
    report.detail().setBeforePrint(
        [](BandContext& context) { context.print = context.value(QStringLiteral("CODIGO")).toInt() % 2 == 0; });
    report.detail().child().setHeight(4).addText(QStringLiteral("linha filha"), {0, 0, 40, 4});
    report.summary().addTotal(QStringLiteral("CODIGO"), {0, 0, 20, 5}, {}, QStringLiteral("Soma"));
    report.summary()
        .addText(QStringLiteral("escondido"), {30, 0, 20, 5}, QStringLiteral("Escondido"))
        .setVisible(false);

    const Document document = ReportEngine::render(report);
    ASSERT_EQ(document.pageCount(), 1);
    const QStringList texts = pageTexts(document.pages[0]);
    EXPECT_TRUE(texts.contains(QStringLiteral("Programa de orçamentação")));
    EXPECT_TRUE(texts.contains(QStringLiteral("Ord.Alfabética")));
    EXPECT_FALSE(texts.contains(QStringLiteral("Ord.Numérica")));
    EXPECT_EQ(countBands(document.pages[0], BandKind::Detail), 3);
    EXPECT_EQ(countBands(document.pages[0], BandKind::Child), 3);
    EXPECT_EQ(texts.filter(QStringLiteral("Tinta n.º")), (QStringList{"Tinta n.º 2", "Tinta n.º 4", "Tinta n.º 6"}));
    EXPECT_TRUE(texts.contains(QStringLiteral("12")));
    EXPECT_FALSE(texts.contains(QStringLiteral("escondido")));
}

namespace {

// The lines of the current master row, as a detail dataset follows its master.
class LinesOfMaster : public RowSource {
public:
    LinesOfMaster(const RowSource& master, MemoryRowSource& all) : m_master(master), m_all(all) {}
    bool first() override
    {
        m_rows.clear();
        const QVariant key = m_master.value(QStringLiteral("ID"));
        if (m_all.first()) {
            do {
                if (m_all.value(QStringLiteral("ID")) == key)
                    m_rows.push_back(m_all.value(QStringLiteral("LINHA")));
            } while (m_all.next());
        }
        m_current = 0;
        return !m_rows.empty();
    }
    bool next() override
    {
        if (m_current + 1 >= m_rows.size())
            return false;
        ++m_current;
        return true;
    }
    int fieldCount() const override { return 1; }
    QString fieldName(int) const override { return QStringLiteral("LINHA"); }
    int fieldIndex(const QString& name) const override { return name == QStringLiteral("LINHA") ? 0 : -1; }
    QVariant value(int index) const override
    {
        return index == 0 && m_current < m_rows.size() ? m_rows[m_current] : QVariant();
    }
    using RowView::value;

private:
    const RowSource& m_master;
    MemoryRowSource& m_all;
    std::vector<QVariant> m_rows;
    std::size_t m_current = 0;
};

} // namespace

TEST_F(ReportLayout, SubDetailsPrintAfterEachMasterRow)
{
    MemoryRowSource masters({QStringLiteral("ID")});
    for (int id : {1, 2, 3})
        masters.append({id});
    MemoryRowSource lines({QStringLiteral("ID"), QStringLiteral("LINHA")});
    lines.append({1, QStringLiteral("a")});
    lines.append({1, QStringLiteral("b")});
    lines.append({3, QStringLiteral("c")});
    LinesOfMaster sectionLines(masters, lines);
    LinesOfMaster machineLines(masters, lines);

    Report report;
    report.detail().setSource(&masters);
    report.detail().addField(QStringLiteral("ID"), {0, 0, 20, 5}, FieldFormat::pattern(QStringLiteral("\"M\"0")));
    DataBand& section = report.detail().addSubDetail(&sectionLines, QStringLiteral("Seccao"));
    section.addField(QStringLiteral("LINHA"), {5, 0, 20, 5});
    section.header().addText(QStringLiteral("cabeçalho"), {5, 0, 20, 5});
    section.footer()
        .addTotal(QStringLiteral("LINHA"), {5, 0, 20, 5})
        .setKind(TotalElement::Kind::Count)
        .setSource(&section);
    DataBand& always = report.detail().addSubDetail(&machineLines, QStringLiteral("Tempos"));
    always.setPrintIfEmpty(true);
    always.header().addText(QStringLiteral("tempos"), {5, 0, 20, 5});

    const Document document = ReportEngine::render(report);
    ASSERT_EQ(document.pageCount(), 1);
    EXPECT_EQ(pageTexts(document.pages[0]), (QStringList{"M1", "cabeçalho", "a", "b", "2", "tempos", "M2", "tempos",
                                                         "M3", "cabeçalho", "c", "1", "tempos"}));
}

TEST_F(ReportLayout, StretchingBandsGrowToTheirWrappedText)
{
    const QString longText =
        QStringLiteral("Caixa de cartão canelado com janela de PVC, impressão a quatro cores e verniz, ").repeated(4);
    for (const bool stretch : {false, true}) {
        SCOPED_TRACE(stretch);
        MemoryRowSource rows({QStringLiteral("TEXTO")});
        rows.append({longText});
        rows.append({QStringLiteral("curto")});
        Report report;
        report.detail().setSource(&rows);
        report.detail().setHeight(5).setStretch(stretch);
        report.detail().addField(QStringLiteral("TEXTO"), {0, 0, 60, 5}).setWordWrap(true);
        const Document document = ReportEngine::render(report);
        ASSERT_EQ(document.pageCount(), 1);
        const auto& bands = document.pages[0].bands;
        ASSERT_EQ(bands.size(), 2u);
        if (stretch) {
            EXPECT_GT(bands[0].rect.height(), 15.0);
        } else {
            EXPECT_DOUBLE_EQ(bands[0].rect.height(), 5.0);
        }
        EXPECT_DOUBLE_EQ(bands[1].rect.height(), 5.0);
        EXPECT_DOUBLE_EQ(bands[1].rect.top(), bands[0].rect.bottom());
    }
}

// A job numbers each report's pages on its own, or (the order documents of
// a production run) on through the whole preview; a page's own number stays
// the report's.
TEST_F(ReportLayout, AJobOfSeveralReportsNumbersItsPages)
{
    struct JobCase {
        ReportEngine::PageNumbers numbers;
        int printed[3];
    };
    const JobCase cases[] = {{ReportEngine::PageNumbers::PerReport, {1, 2, 1}},
                             {ReportEngine::PageNumbers::ThroughJob, {1, 2, 3}}};
    for (const JobCase& c : cases) {
        auto first = numbers(30);
        auto second = numbers(5);
        Report page1;
        Report page2;
        buildPagedReport(page1, *first, {});
        buildPagedReport(page2, *second, {});
        page1.setTitle(QStringLiteral("Emissão Orçamento Interno"));
        page2.page().setOrientation(QPageLayout::Landscape);
        const Document document = ReportEngine::render({&page1, &page2}, c.numbers);
        ASSERT_EQ(document.pageCount(), 3);
        EXPECT_EQ(document.title, QStringLiteral("Emissão Orçamento Interno"));
        const std::pair<int, int> expected[] = {{0, 1}, {0, 2}, {1, 1}};
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_EQ(document.pages[i].reportIndex, expected[i].first);
            EXPECT_EQ(document.pages[i].number, expected[i].second);
            EXPECT_TRUE(pageTexts(document.pages[i]).contains(QStringLiteral("Página : %1").arg(c.printed[i]))) << i;
        }
        EXPECT_GT(document.pages[2].setup.sizeMm().width(), document.pages[2].setup.sizeMm().height());
    }
}

TEST_F(ReportLayout, StreamingARunKeepsNoPages)
{
    auto rows = numbers(100);
    Report report;
    buildPagedReport(report, *rows, {});
    int pages = 0;
    int details = 0;
    const int count = ReportEngine::run(report, [&](RenderedPage&& page) {
        ++pages;
        EXPECT_EQ(page.number, pages);
        details += countBands(page, BandKind::Detail);
    });
    EXPECT_EQ(count, pages);
    EXPECT_EQ(details, 100);
}

TEST_F(ReportLayout, WindowsFontsPrintWithInstalledMetricCompatibleFonts)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Arial", "Liberation Sans"},
        {"arial", "Liberation Sans"},
        {"Arial Narrow", "Liberation Sans Narrow"},
        {"Times New Roman", "Liberation Serif"},
        {"Courier New", "Liberation Mono"},
        {"Comic Sans MS", "Comic Neue"},
        {"DejaVu Sans", "DejaVu Sans"},
    };
    for (const auto& [windows, installed] : cases) {
        SCOPED_TRACE(windows);
        EXPECT_EQ(FontMap::family(QString::fromLatin1(windows)), QString::fromLatin1(installed));
        EXPECT_TRUE(QFontDatabase::hasFamily(QString::fromLatin1(installed)));
    }
    // The same text is as wide in both names, so layouts keep their widths.
    QFont arial(QStringLiteral("Arial"), 10);
    const QFont mapped = FontMap::map(arial);
    EXPECT_EQ(mapped.family(), QStringLiteral("Liberation Sans"));
    EXPECT_EQ(QFontInfo(mapped).family(), QStringLiteral("Liberation Sans"));

    auto rows = inkRows(1);
    Report report;
    buildListReport(report, *rows);
    const Document document = ReportEngine::render(report);
    for (const RenderedBand& band : document.pages[0].bands)
        for (const RenderedItem& item : band.items)
            if (item.kind == RenderedItem::Kind::Text) {
                EXPECT_EQ(item.font.family(), QStringLiteral("Liberation Sans"));
            }
}

TEST_F(ReportLayout, ImagesShapesAndColoursAreDrawnWhereTheyStand)
{
    QTemporaryDir dir;
    const QString logo = dir.filePath(QStringLiteral("Logo.Bmp"));
    QImage red(40, 20, QImage::Format_RGB32);
    red.fill(Qt::red);
    ASSERT_TRUE(red.save(logo, "BMP"));

    Report report;
    report.page().setMargins(10, 10, 10, 10);
    Band& title = report.titleBand().setHeight(100);
    title.addImage(logo, {0, 0, 40, 20});
    title.addImage(dir.filePath(QStringLiteral("Falta.Bmp")), {50, 0, 40, 20}); // missing: left empty
    title.addShape(ShapeElement::Shape::Rectangle, {0, 30, 40, 20}).setFill(QColor(Qt::blue)).setPenWidth(0);
    title.addShape(ShapeElement::Shape::Ellipse, {50, 30, 40, 20}).setFill(QColor(Qt::green)).setPenWidth(0);
    title.addShape(ShapeElement::Shape::HorizontalLine, {0, 60, 90, 4}).setPenColor(QColor(Qt::magenta)).setPenWidth(1);
    title.addText(QStringLiteral("FUNDO AUTOMÁTICO"), {0, 70, 90, 10})
        .setBackground(QColor(231, 231, 231))
        .setColor(Qt::darkRed);
    report.summary().setHeight(10).setColor(QColor(Qt::yellow));
    report.setPrintIfEmpty(true);

    const Document document = ReportEngine::render(report);
    ASSERT_EQ(document.pageCount(), 1);
    int images = 0;
    for (const RenderedBand& band : document.pages[0].bands)
        for (const RenderedItem& item : band.items)
            images += item.kind == RenderedItem::Kind::Image ? 1 : 0;
    EXPECT_EQ(images, 1);

    // 10 dots per mm; positions in mm from the page's corner (margins 10 mm).
    const QImage page = PagePainter::image(document.pages[0], 254);
    auto at = [&](double xMm, double yMm) { return page.pixelColor(qRound(xMm * 10), qRound(yMm * 10)); };
    struct Probe {
        const char* what;
        double x;
        double y;
        QColor colour;
    };
    const Probe probes[] = {
        {"logo", 30, 20, Qt::red},
        {"missing logo", 80, 20, Qt::white},
        {"filled box", 30, 50, Qt::blue},
        {"ellipse centre", 80, 50, Qt::green},
        {"ellipse corner", 61, 41, Qt::white},
        {"line across the middle", 50, 72, Qt::magenta},
        {"text background", 95, 85, QColor(231, 231, 231)},
        {"band colour", 150, 115, Qt::yellow},
        {"margin", 5, 5, Qt::white},
    };
    for (const Probe& p : probes) {
        SCOPED_TRACE(p.what);
        EXPECT_EQ(at(p.x, p.y).rgb(), p.colour.rgb());
    }
}
