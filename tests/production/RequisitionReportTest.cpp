// The supplier documents' prints: the requisition's copy groups with their
// own page numbers, decimals by currency and the article cells of both
// layouts; the purchase order's documents per copy, carried totals and
// training mark; read back from the PDF the preview exports.
#include "production/forms/PurchaseOrderReport.h"
#include "production/forms/RequirementListReport.h"
#include "production/forms/RequisitionReport.h"

#include "platform/db/Connection.h"
#include "platform/db/Dataset.h"
#include "platform/report/Export.h"
#include "support/Scenario.h"
#include "platform/text/NumberText.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using kv::production::RequisitionPrint;
using kv::production::RequisitionReport;

namespace {

RequisitionPrint::Line reqLine(const char* article, const char* currency, double price, double length = 0,
                               double width = 0, double height = 0, bool known = true)
{
    RequisitionPrint::Line l;
    l.article = QString::fromLatin1(article);
    l.designation = QStringLiteral("Desc %1").arg(l.article);
    l.quantity = 10;
    l.unit = QStringLiteral("KG");
    l.price = price;
    l.currency = QString::fromLatin1(currency);
    l.net = price * 10;
    l.delivery = QDate(2024, 3, 18);
    l.week = QStringLiteral("12");
    l.articleKnown = known;
    l.colour = QStringLiteral("AZUL");
    l.size = QStringLiteral("XL");
    l.length = length;
    l.width = width;
    l.height = height;
    return l;
}

RequisitionPrint reqPrint(QStringList copies, std::vector<RequisitionPrint::Line> lines)
{
    RequisitionPrint p;
    p.number = 8;
    p.issued = QDate(2024, 3, 15);
    p.user = QStringLiteral("ANA");
    p.department = QStringLiteral("COMPRAS");
    p.copies = std::move(copies);
    p.lines = std::move(lines);
    p.priceDecimals = 3;
    return p;
}

// The text of each page of the PDF export.
QStringList reqPdfPages(const kv::report::Document& document)
{
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("req.pdf"));
    kv::report::exportDocument(document, kv::report::ExportFormat::Pdf, file);
    QProcess pdf;
    pdf.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")});
    pdf.waitForFinished();
    QStringList pages = QString::fromUtf8(pdf.readAllStandardOutput()).split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// The words of the line of `page` that holds `marker`.
QStringList reqPdfLine(const QString& page, const QString& marker)
{
    for (const QString& line : page.split(QLatin1Char('\n')))
        if (line.contains(marker))
            return line.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return {};
}

TEST(RequisitionReportTest, EachCopyStartsAPageNumberedFromOne)
{
    // Queue rows come in copy-name order.
    const RequisitionReport report(reqPrint({"ARQUIVO", "DUPLICADO", "ORIGINAL"}, {reqLine("MP-1", "EUR", 2.5)}),
                                   std::nullopt, true);
    const QStringList pages = reqPdfPages(report.render());
    ASSERT_EQ(pages.size(), 3);
    const char* copies[] = {"ARQUIVO", "DUPLICADO", "ORIGINAL"};
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(pages[i].contains(QLatin1String(copies[i]))) << i;
        EXPECT_TRUE(reqPdfLine(pages[i], "8").contains("1")) << pages[i].toStdString();
        EXPECT_TRUE(pages[i].contains("Desc MP-1"));
    }
}

TEST(RequisitionReportTest, OneCopyIsNumberedThroughItsPages)
{
    std::vector<RequisitionPrint::Line> lines;
    for (int i = 0; i < 120; ++i)
        lines.push_back(reqLine("MP-1", "EUR", 1));
    const QStringList pages =
        reqPdfPages(RequisitionReport(reqPrint({"ORIGINAL"}, lines), std::nullopt, true).render());
    ASSERT_GE(pages.size(), 2);
    for (int i = 0; i < pages.size(); ++i) {
        const QStringList words = reqPdfLine(pages[i], "15/03/2024");
        ASSERT_FALSE(words.isEmpty());
        EXPECT_EQ(words.last(), QString::number(i + 1));
    }
}

struct ReqCellCase {
    const char* label;
    bool coloursAndSizes;
    RequisitionPrint::Line line;
    QStringList cells; // the words of the line after the designation's code
};

class RequisitionReportCells : public ::testing::TestWithParam<ReqCellCase> {};

TEST_P(RequisitionReportCells, PrintsTheLine)
{
    const ReqCellCase& c = GetParam();
    const QStringList pages =
        reqPdfPages(RequisitionReport(reqPrint({"ORIGINAL"}, {c.line}), std::nullopt, c.coloursAndSizes).render());
    ASSERT_EQ(pages.size(), 1);
    QStringList words = reqPdfLine(pages[0], "Desc ");
    ASSERT_GE(words.size(), 3);
    // Drop the article code and the designation ("Desc" alone without a code).
    const int skip = c.line.article.isEmpty() ? 1 : 3;
    EXPECT_EQ(words.mid(skip), c.cells);
}

const ReqCellCase ReqCellCases[] = {
    {"currency_two_decimals",
     true,
     reqLine("MP-1", "EUR", 1.2346),
     {"AZUL", "XL", "10,000", "KG", "1,23", "EUR", "12,35", "18/03/2024", "12"}},
    {"no_currency_stock_decimals",
     true,
     reqLine("MP-1", "", 1.5),
     {"AZUL", "XL", "10,000", "KG", "1,500", "15,000", "18/03/2024", "12"}},
    {"dimensions_zero_empty",
     false,
     reqLine("MP-1", "EUR", 2, 30, 20, 0),
     {"30", "20", "10,000", "KG", "2,00", "EUR", "20,00", "18/03/2024", "12"}},
    {"article_missing_no_cells",
     false,
     reqLine("MP-9", "EUR", 2, 30, 20, 5, false),
     {"10,000", "KG", "2,00", "EUR", "20,00", "18/03/2024", "12"}},
    {"no_article_no_prices", true, reqLine("", "EUR", 2), {"10,000", "KG", "EUR", "18/03/2024", "12"}},
};

INSTANTIATE_TEST_SUITE_P(Cases, RequisitionReportCells, ::testing::ValuesIn(ReqCellCases),
                         [](const auto& param) { return std::string(param.param.label); });

TEST(RequisitionReportTest, MissingArticleIsToldPerLinePrinted)
{
    QStringList told;
    RequisitionReport(reqPrint({"A", "B"}, {reqLine("MP-9", "EUR", 2, 0, 0, 0, false), reqLine("MP-1", "EUR", 2)}),
                      std::nullopt, true)
        .render([&told](const QString& article) { told << article; });
    EXPECT_EQ(told, (QStringList{"MP-9", "MP-9"}));
}

TEST(RequisitionReportTest, NothingQueuedPrintsTheHeadingAlone)
{
    const QStringList pages =
        reqPdfPages(RequisitionReport(reqPrint({}, {reqLine("MP-1", "EUR", 2)}), std::nullopt, false).render());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Requisição Nº"));
    EXPECT_FALSE(pages[0].contains("Desc MP-1"));
}

} // namespace

namespace {

using kv::production::PurchaseOrderPrint;
using kv::production::PurchaseOrderReport;

PurchaseOrderPrint orderPrint(int lines, QStringList copies, const char* composition = "Canelado B")
{
    PurchaseOrderPrint p;
    PurchaseOrderPrint::Order order;
    order.number = 41;
    order.issued = QDate(2024, 3, 15);
    order.supplier = 7;
    order.supplierName = QStringLiteral("Papeleira Sete");
    order.locality = QStringLiteral("4470-000 Maia");
    order.dressedLetterhead = true;
    for (int i = 0; i < lines; ++i) {
        PurchaseOrderPrint::Line l;
        l.article = QStringLiteral("MP-%1").arg(i + 1);
        l.designation = QStringLiteral("Cartão %1").arg(i + 1);
        l.composition = QString::fromUtf8(composition);
        l.articleKnown = true;
        l.quantity = 1;
        l.unit = QStringLiteral("KG");
        l.price = 10;
        l.gross = 12.5; // before the line's discount
        l.net = 10;
        l.delivery = QDate(2024, 3, 18);
        l.week = QStringLiteral("12");
        order.lines.push_back(l);
    }
    order.merchandise = order.total = 10.0 * lines;
    p.orders.push_back(order);
    for (const QString& copy : copies)
        p.documents.push_back({copy, 0});
    return p;
}

TEST(PurchaseOrderReportTest, CarriedTotalOnEveryPageButTheLast)
{
    const kv::report::Document document =
        PurchaseOrderReport(orderPrint(90, {"ORIGINAL"}), std::nullopt, false).render();
    const QStringList pages = reqPdfPages(document);
    ASSERT_GE(pages.size(), 2);
    double carried = 0;
    for (int i = 0; i < pages.size(); ++i) {
        int lines = 0;
        for (const auto& band : document.pages[static_cast<std::size_t>(i)].bands)
            lines += band.kind == kv::report::BandKind::Detail ? 1 : 0;
        carried += 10.0 * lines;
        const bool last = i + 1 == pages.size();
        const QStringList carriedLine = reqPdfLine(pages[i], "TRANSPORTAR");
        if (last)
            EXPECT_TRUE(carriedLine.isEmpty()) << i;
        else
            EXPECT_TRUE(carriedLine.contains(kv::text::number(carried, 2)))
                << i << " " << carried << " " << carriedLine.join(' ').toStdString();
        EXPECT_EQ(pages[i].contains("TOTAL ( € )"), last) << i;
        EXPECT_EQ(reqPdfLine(pages[i], "15/03/2024").last(), QString::number(i + 1));
    }
    EXPECT_DOUBLE_EQ(carried, 900);
}

TEST(PurchaseOrderReportTest, EachCopyIsADocumentOfItsOwn)
{
    const QStringList pages =
        reqPdfPages(PurchaseOrderReport(orderPrint(3, {"ARQUIVO", "ORIGINAL"}), std::nullopt, true).render());
    ASSERT_EQ(pages.size(), 2);
    for (int i = 0; i < 2; ++i) {
        EXPECT_TRUE(pages[i].contains(i == 0 ? "ARQUIVO" : "ORIGINAL"));
        EXPECT_EQ(reqPdfLine(pages[i], "15/03/2024").last(), "1");
        EXPECT_TRUE(pages[i].contains("DOCUMENTO EMITIDO PARA FINS DE FORMAÇÃO"));
        EXPECT_TRUE(pages[i].contains("Canelado B"));
        EXPECT_TRUE(pages[i].contains("4470-000 Maia"));
        // The net value under "VAL.LÍQUIDO", as the carried total sums it.
        EXPECT_TRUE(reqPdfLine(pages[i], "MP-1").contains("10,00")) << i;
        EXPECT_FALSE(reqPdfLine(pages[i], "MP-1").contains("12,50")) << i;
    }
}

TEST(PurchaseOrderReportTest, NoTrainingMarkOutsideATrainingCompany)
{
    const QStringList pages =
        reqPdfPages(PurchaseOrderReport(orderPrint(1, {"ORIGINAL"}), std::nullopt, false).render());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_FALSE(pages[0].contains("FORMAÇÃO"));
}

} // namespace

namespace {

TEST(RequirementListReportTest, ListsTheRequirementsUnderTheLimits)
{
    kv::test::Scenario scenario;
    auto db = scenario.emptyDatabase();
    db->exec(QStringLiteral("CREATE TABLE LOGARTIGOS (ARTIGO VARCHAR(16), DESIGN VARCHAR(40), UNIDADE VARCHAR(3), "
                            "QUANTIDADE DOUBLE PRECISION, TOTEXIQTD DOUBLE PRECISION, TOTQTDENCFRN DOUBLE PRECISION, "
                            "QTDREQINT DOUBLE PRECISION, TOTCONSUMO DOUBLE PRECISION)"));
    db->exec(QStringLiteral("INSERT INTO LOGARTIGOS VALUES ('MP-1', 'Cartão Micro E', 'KG', 500, 100, 150, 50, 200)"));
    kv::db::Dataset rows(QStringLiteral("LOGARTIGOS"));
    rows.setConnection(db);
    rows.setSql(QStringLiteral("SELECT * FROM LOGARTIGOS"));
    rows.open();
    auto limits = kv::production::RequirementLimits::initial(QDate(2024, 3, 15));
    limits.orderFrom = 100;
    const QStringList pages = reqPdfPages(
        kv::production::RequirementListReport(rows, limits, QStringLiteral("Cartonagem do Vale, Lda"), QString())
            .render());
    ASSERT_EQ(pages.size(), 1);
    EXPECT_TRUE(pages[0].contains("Listagem de Necessidades para Fabrico"));
    EXPECT_TRUE(pages[0].contains("Da Ordem de Fabrico : 100"));
    EXPECT_TRUE(pages[0].contains("Empresa : Cartonagem do Vale, Lda"));
    // Consumption less stock, supplier orders and requisitions: the columns add up.
    EXPECT_EQ(reqPdfLine(pages[0], "MP-1"), (QStringList{"MP-1", "Cartão", "Micro", "E", "KG", "500,000", "100,000",
                                                         "150,000", "50,000", "200,000"}));
    EXPECT_TRUE(reqPdfLine(pages[0], "CONSUMO").contains("REQUISITADO"));
}

} // namespace
