#include "platform/report/Export.h"
#include "platform/report/PdfWriter.h"
#include "platform/report/ReportEngine.h"
#include "platform/report/ReportError.h"
#include "platform/report/ReportTestSupport.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QXmlStreamReader>

using namespace kv::report;
using namespace kv::report::test;

namespace {

// Two pages of an ink list: 60 rows at 5 mm. Row 1 has texts that exports
// must escape.
class ReportExport : public ReportTest {
protected:
    void SetUp() override
    {
        ReportTest::SetUp();
        ASSERT_TRUE(m_dir.isValid());
        m_rows = inkRows(60);
        buildListReport(m_report, *m_rows);
        m_rows->clear();
        m_rows->append(
            {1, QStringLiteral("TN0001"), QStringLiteral("Tinta <azul> & \"verniz\"; preço {especial}"), 1.5, 1234.5});
        m_rows->append({2, QStringLiteral("TN0002"), QStringLiteral("Designação com acentos"), 350, -7.125});
        for (int i = 3; i <= 60; ++i)
            m_rows->append({i, QStringLiteral("TN%1").arg(i, 4, 10, QLatin1Char('0')),
                            QStringLiteral("Tinta n.º %1").arg(i), 1.0, 10.0 * i});
        m_document = ReportEngine::render(m_report);
        ASSERT_EQ(m_document.pageCount(), 2);
    }

    QString path(const QString& name) const { return m_dir.filePath(name); }

    QString exported(ExportFormat format)
    {
        const QString file = path(QStringLiteral("lista.") + exportFormatInfo(format).suffix);
        exportDocument(m_document, format, file);
        QFile in(file);
        EXPECT_TRUE(in.open(QIODevice::ReadOnly)) << file.toStdString();
        return QString::fromUtf8(in.readAll());
    }

    QTemporaryDir m_dir;
    std::unique_ptr<MemoryRowSource> m_rows;
    Report m_report;
    Document m_document;
};

} // namespace

TEST_F(ReportExport, PdfHasRealSelectableText)
{
    const QString file = path(QStringLiteral("lista.pdf"));
    exportDocument(m_document, ExportFormat::Pdf, file);
    const QString text = QString::fromUtf8(
        runProgram(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), file, QStringLiteral("-")}));
    ASSERT_FALSE(text.isEmpty()) << "pdftotext could not read the file";
    for (const char* expected :
         {"Tabela de Tintas", "Designação do artigo", "Tinta <azul> & \"verniz\"; preço {especial}", "1.234,50 €",
          "-7,13 €", "Designação com acentos", "Tinta n.º 60", "600,00 €", "Página : 1", "Página : 2"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(expected))) << expected;
    EXPECT_EQ(text.count(u'\f'), 2); // two pages
    const QString info = QString::fromUtf8(runProgram(QStringLiteral("pdfinfo"), {file}));
    EXPECT_TRUE(info.contains(QRegularExpression(QStringLiteral("Page size:\\s+595(\\.\\d+)? x 84[12](\\.\\d+)?"))))
        << info.toStdString();
}

TEST_F(ReportExport, SpreadsheetHasOneRowPerDetailLineAndNumbersAsNumbers)
{
    const QString file = path(QStringLiteral("lista.xlsx"));
    exportDocument(m_document, ExportFormat::Xlsx, file);
    const QString sheet = QString::fromUtf8(
        runProgram(QStringLiteral("unzip"), {QStringLiteral("-p"), file, QStringLiteral("xl/worksheets/sheet1.xml")}));
    const QString strings = QString::fromUtf8(
        runProgram(QStringLiteral("unzip"), {QStringLiteral("-p"), file, QStringLiteral("xl/sharedStrings.xml")}));
    ASSERT_FALSE(sheet.isEmpty());
    // Title and order (page header), column header, 60 detail lines; no page footers.
    EXPECT_EQ(sheet.count(QStringLiteral("<row ")), 2 + 1 + 60);
    EXPECT_FALSE(strings.contains(QStringLiteral("Página")));
    EXPECT_TRUE(strings.contains(QStringLiteral("Designação do artigo")));
    EXPECT_TRUE(strings.contains(QStringLiteral("Tinta &lt;azul&gt; &amp; \"verniz\"; preço {especial}")));
    // Numbers are numeric cells in the columns of the detail: A code, E price.
    struct Cell {
        const char* ref;
        const char* value;
    };
    for (const Cell& cell :
         {Cell{"A4", "1"}, Cell{"E4", "1234.5"}, Cell{"E5", "-7.125"}, Cell{"D5", "350"}, Cell{"E63", "600"}}) {
        SCOPED_TRACE(cell.ref);
        const QRegularExpression numeric(
            QStringLiteral("<c r=\"%1\"( s=\"\\d+\")?><v>%2</v></c>")
                .arg(QLatin1String(cell.ref), QRegularExpression::escape(QLatin1String(cell.value))));
        EXPECT_TRUE(numeric.match(sheet).hasMatch());
    }
    // The price keeps its money format.
    const QString styles = QString::fromUtf8(
        runProgram(QStringLiteral("unzip"), {QStringLiteral("-p"), file, QStringLiteral("xl/styles.xml")}));
    EXPECT_TRUE(styles.contains(QStringLiteral("formatCode=\"#,##0.00 &quot;€&quot;\"")));
}

TEST_F(ReportExport, CsvHasTheSameRowsWithPlainNumbers)
{
    const QString text = exported(ExportFormat::Csv);
    QFile raw(path(QStringLiteral("lista.csv")));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    EXPECT_TRUE(raw.readAll().startsWith("\xEF\xBB\xBF")); // so spreadsheets read it as UTF-8
    QStringList lines = text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 63);
    EXPECT_EQ(lines[2], QStringLiteral("Código;Referência;Designação do artigo;Gram.M2;Preço"));
    EXPECT_EQ(lines[3], QStringLiteral("1;TN0001;\"Tinta <azul> & \"\"verniz\"\"; preço {especial}\";1,5;1234,5"));
    EXPECT_EQ(lines[4], QStringLiteral("2;TN0002;Designação com acentos;350;-7,125"));
}

TEST_F(ReportExport, HtmlPlacesEscapedTextsOnEachPage)
{
    const QString html = exported(ExportFormat::Html);
    EXPECT_TRUE(html.startsWith(QStringLiteral("<!DOCTYPE html>")));
    EXPECT_TRUE(html.contains(QStringLiteral("<meta charset=\"utf-8\">")));
    EXPECT_EQ(html.count(QStringLiteral("class=\"page\"")), 2);
    EXPECT_TRUE(html.contains(QStringLiteral(">Tinta &lt;azul&gt; &amp; &quot;verniz&quot;; preço {especial}</div>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">1.234,50 €</div>")));
    EXPECT_TRUE(html.contains(QStringLiteral(">Página : 2</div>")));
    EXPECT_FALSE(html.contains(QStringLiteral("<azul>")));
}

TEST_F(ReportExport, RtfAndTextFollowThePageLines)
{
    const QString rtf = exported(ExportFormat::Rtf);
    EXPECT_TRUE(rtf.startsWith(QStringLiteral("{\\rtf1\\ansi")));
    EXPECT_EQ(rtf.count(QStringLiteral("\\page")), 1);
    EXPECT_TRUE(rtf.contains(QStringLiteral("Designa\\u231?\\u227?o com acentos")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("Tinta <azul> & \"verniz\"; pre\\u231?o \\{especial\\}")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("1.234,50 \\u8364?")));
    EXPECT_TRUE(rtf.contains(QStringLiteral("Liberation Sans")));
    EXPECT_EQ(rtf.count(u'{'), rtf.count(u'}')) << "unbalanced groups";

    const QString text = exported(ExportFormat::Text);
    const QStringList pages = text.split(u'\f');
    ASSERT_EQ(pages.size(), 2);
    const QStringList lines = pages[0].split(u'\n');
    const auto row =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.contains(QStringLiteral("TN0002")); });
    ASSERT_NE(row, lines.end());
    EXPECT_TRUE(row->simplified() == QStringLiteral("2 TN0002 Designação com acentos 350 -7,13 €"))
        << row->toStdString();
    // Right-aligned prices end in the same column.
    const auto other =
        std::find_if(lines.begin(), lines.end(), [](const QString& l) { return l.contains(QStringLiteral("TN0003")); });
    ASSERT_NE(other, lines.end());
    EXPECT_EQ(row->size(), other->size());
    EXPECT_TRUE(pages[1].contains(QStringLiteral("Página : 2")));
}

TEST_F(ReportExport, SvgAndXmlCarryEveryPage)
{
    const QString svg = exported(ExportFormat::Svg);
    QXmlStreamReader svgReader(svg);
    int svgTexts = 0;
    QString allSvgText;
    while (!svgReader.atEnd()) {
        if (svgReader.readNext() == QXmlStreamReader::StartElement && svgReader.name() == QStringLiteral("text")) {
            ++svgTexts;
            allSvgText += svgReader.readElementText(QXmlStreamReader::IncludeChildElements) + u'\n';
        }
    }
    EXPECT_FALSE(svgReader.hasError()) << svgReader.errorString().toStdString();
    EXPECT_GT(svgTexts, 60);
    EXPECT_TRUE(allSvgText.contains(QStringLiteral("Designação com acentos")));
    EXPECT_TRUE(allSvgText.contains(QStringLiteral("Página : 2")));

    const QString xml = exported(ExportFormat::Xml);
    QXmlStreamReader reader(xml);
    int pages = 0;
    int details = 0;
    QString price;
    while (!reader.atEnd()) {
        if (reader.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (reader.name() == QStringLiteral("page"))
            ++pages;
        else if (reader.name() == QStringLiteral("band")
                 && reader.attributes().value(QStringLiteral("kind")) == QStringLiteral("detail"))
            ++details;
        else if (reader.name() == QStringLiteral("text") && reader.attributes().hasAttribute(QStringLiteral("value"))
                 && price.isEmpty() && reader.attributes().value(QStringLiteral("value")) == QStringLiteral("1234.5"))
            price = reader.readElementText();
    }
    EXPECT_FALSE(reader.hasError()) << reader.errorString().toStdString();
    EXPECT_EQ(pages, 2);
    EXPECT_EQ(details, 60);
    EXPECT_EQ(price, QStringLiteral("1.234,50 €"));
}

TEST_F(ReportExport, FailuresAreReportedAndLeaveNothingHalfWritten)
{
    const QString missingFolder = path(QStringLiteral("não-existe/lista"));
    for (const ExportFormatInfo& info : exportFormats()) {
        SCOPED_TRACE(info.suffix.toStdString());
        const QString file = missingFolder + u'.' + info.suffix;
        try {
            exportDocument(m_document, info.format, file);
            ADD_FAILURE() << "no error";
        } catch (const ReportError& error) {
            EXPECT_TRUE(error.text().startsWith(QStringLiteral("Não foi possível gravar o ficheiro"))) << error.what();
        }
        EXPECT_FALSE(QFile::exists(file));
    }
    // An existing file is kept until the new one is complete.
    const QString file = path(QStringLiteral("vazio.pdf"));
    QFile old(file);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("anterior");
    old.close();
    EXPECT_THROW(exportDocument(Document{}, ExportFormat::Pdf, file), ReportError);
    QFile kept(file);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), QByteArray("anterior"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("vazio.pdf")});
}

TEST_F(ReportExport, AStreamedRunWritesThePdfPageByPage)
{
    auto rows = inkRows(500);
    Report report;
    buildListReport(report, *rows);
    const QString file = path(QStringLiteral("longa.pdf"));
    PdfWriter pdf(file, report.title());
    const int pages = ReportEngine::run(report, pdf.sink());
    EXPECT_FALSE(QFile::exists(file)); // nothing there before it is complete
    pdf.finish();
    EXPECT_EQ(pdf.pageCount(), pages);
    const QString text = QString::fromUtf8(runProgram(QStringLiteral("pdftotext"), {file, QStringLiteral("-")}));
    EXPECT_EQ(text.count(u'\f'), pages);
    EXPECT_TRUE(text.contains(QStringLiteral("Tinta n.º 500")));
}
