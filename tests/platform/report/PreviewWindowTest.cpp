#include "platform/report/PreviewWindow.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ReportTestSupport.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QScrollArea>
#include <QTemporaryDir>
#include <QTest>

using namespace kv::report;
using namespace kv::report::test;

namespace {

class Preview : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        m_rows = inkRows(120);
        buildListReport(m_report, *m_rows);
    }

    std::unique_ptr<MemoryRowSource> m_rows;
    Report m_report;
};

int darkPixels(const QImage& image)
{
    int dark = 0;
    for (int y = 0; y < image.height(); y += 2)
        for (int x = 0; x < image.width(); x += 2)
            dark += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    return dark;
}

} // namespace

TEST_F(Preview, OpensMaximisedAtPageWidthAndRendersPageOneToPng)
{
    PreviewWindow window(ReportEngine::render(m_report));
    window.showPreview();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    EXPECT_TRUE(window.isMaximized());
    EXPECT_TRUE(window.fitsPageWidth());
    EXPECT_EQ(window.pageCount(), 3);
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("PreviewPageLabel"))->text(), QStringLiteral("Página 1 de 3"));

    // The page fills the width of the view.
    const auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("PreviewScroll"));
    const QImage page = window.currentImage();
    const int room = scroll->viewport()->width();
    EXPECT_GT(page.width(), room * 0.8);
    EXPECT_LE(page.width(), room);

    QTemporaryDir dir;
    const QString png = dir.filePath(QStringLiteral("pagina1.png"));
    ASSERT_TRUE(page.save(png));
    QImage readBack(png);
    ASSERT_FALSE(readBack.isNull());
    EXPECT_EQ(readBack.size(), page.size());
    EXPECT_GT(darkPixels(readBack), 100); // text was drawn
    EXPECT_EQ(qGray(readBack.pixel(2, 2)), 255); // on a white page
}

TEST_F(Preview, PagesThroughAndZooms)
{
    PreviewWindow window(ReportEngine::render(m_report));
    window.showPreview();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    auto* label = window.findChild<QLabel*>(QStringLiteral("PreviewPageLabel"));
    struct Step {
        const char* action;
        int page;
    };
    const Step steps[] = {{"ActSeguinte", 1}, {"ActSeguinte", 2}, {"ActSeguinte", 2}, {"ActPrimeira", 0},
                          {"ActAnterior", 0}, {"ActUltima", 2},   {"ActAnterior", 1}};
    for (const Step& step : steps) {
        SCOPED_TRACE(step.action);
        window.findChild<QAction*>(QString::fromLatin1(step.action))->trigger();
        EXPECT_EQ(window.currentPage(), step.page);
        EXPECT_EQ(label->text(), QStringLiteral("Página %1 de 3").arg(step.page + 1));
    }
    QTest::keyClick(&window, Qt::Key_PageDown);
    EXPECT_EQ(window.currentPage(), 2);

    const double fitted = window.zoom();
    window.findChild<QAction*>(QStringLiteral("ActAumentar"))->trigger();
    EXPECT_NEAR(window.zoom(), fitted * 1.25, 1e-9);
    EXPECT_FALSE(window.fitsPageWidth());
    window.findChild<QAction*>(QStringLiteral("ActPaginaInteira"))->trigger();
    EXPECT_LT(window.zoom(), fitted); // a whole A4 page is narrower than the width fit
    window.findChild<QAction*>(QStringLiteral("ActLargura"))->trigger();
    EXPECT_NEAR(window.zoom(), fitted, 1e-9);
    EXPECT_TRUE(window.fitsPageWidth());
}

TEST_F(Preview, PrintsThroughAPrinterAndOffersEveryExport)
{
    PreviewWindow window(ReportEngine::render(m_report));
    QStringList entries;
    for (QAction* action : window.exportMenu()->actions())
        entries.append(action->text());
    EXPECT_EQ(entries,
              (QStringList{"PDF...", "HTML...", "Folha de cálculo (XLSX)...", "Valores separados (CSV)...",
                           "Texto formatado (RTF)...", "Texto simples...", "Imagem vectorial (SVG)...", "XML..."}));

    QTemporaryDir dir;
    struct Case {
        const char* name;
        QPrinter::PrintRange range;
        int from;
        int to;
        int current;
        int pages;
        const char* last;
    };
    const Case cases[] = {
        {"all pages", QPrinter::AllPages, 0, 0, 0, 3, "Tinta n.º 120"},
        {"pages 2 to 3", QPrinter::PageRange, 2, 3, 0, 2, "Tinta n.º 120"},
        {"current page", QPrinter::CurrentPage, 0, 0, 1, 1, "Tinta n.º 98"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        window.setCurrentPage(c.current);
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        const QString file = dir.filePath(QString::fromLatin1(c.name) + QStringLiteral(".pdf"));
        printer.setOutputFileName(file);
        printer.setPrintRange(c.range);
        if (c.range == QPrinter::PageRange)
            printer.setFromTo(c.from, c.to);
        window.print(printer);
        const QString text = QString::fromUtf8(runProgram(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}));
        EXPECT_EQ(text.count(u'\f'), c.pages);
        EXPECT_TRUE(text.contains(QString::fromUtf8(c.last)));
    }
}

TEST_F(Preview, AnEmptyReportShowsNoPagesAndOffersNothing)
{
    auto rows = inkRows(0);
    Report empty;
    buildListReport(empty, *rows);
    PreviewWindow window(ReportEngine::render(empty));
    window.showPreview();
    EXPECT_EQ(window.findChild<QLabel*>(QStringLiteral("PreviewPageLabel"))->text(), QStringLiteral("Sem páginas"));
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("ActImprimir"))->isEnabled());
    EXPECT_FALSE(window.findChild<QAction*>(QStringLiteral("ActSeguinte"))->isEnabled());
    EXPECT_TRUE(window.findChild<QAction*>(QStringLiteral("ActFechar"))->isEnabled());
    EXPECT_TRUE(window.currentImage().isNull());
}
