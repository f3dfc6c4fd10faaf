#include "platform/report/Export.h"

#include "platform/report/ExportSupport.h"
#include "platform/report/PdfWriter.h"
#include "platform/report/ReportError.h"

#include <QSaveFile>
#include <algorithm>
#include <cmath>

namespace kv::report {

QString cannotWriteMessage(const QString& path, const QString& reason)
{
    return QStringLiteral("Não foi possível gravar o ficheiro \"%1\": %2").arg(path, reason);
}

QString nothingToExportMessage() { return QStringLiteral("O relatório não tem páginas para exportar."); }

QString bandKindName(BandKind kind)
{
    switch (kind) {
    case BandKind::Title: return QStringLiteral("title");
    case BandKind::PageHeader: return QStringLiteral("pageHeader");
    case BandKind::ColumnHeader: return QStringLiteral("columnHeader");
    case BandKind::Detail: return QStringLiteral("detail");
    case BandKind::SubDetail: return QStringLiteral("subDetail");
    case BandKind::DataHeader: return QStringLiteral("dataHeader");
    case BandKind::DataFooter: return QStringLiteral("dataFooter");
    case BandKind::GroupHeader: return QStringLiteral("groupHeader");
    case BandKind::GroupFooter: return QStringLiteral("groupFooter");
    case BandKind::Summary: return QStringLiteral("summary");
    case BandKind::PageFooter: return QStringLiteral("pageFooter");
    case BandKind::Child: return QStringLiteral("child");
    }
    return {};
}

std::vector<TextLine> textLines(const RenderedBand& band)
{
    std::vector<const RenderedItem*> texts;
    for (const RenderedItem& item : band.items)
        if (item.kind == RenderedItem::Kind::Text && !item.text.trimmed().isEmpty())
            texts.push_back(&item);
    std::stable_sort(texts.begin(), texts.end(),
                     [](const RenderedItem* a, const RenderedItem* b) { return a->rect.top() < b->rect.top(); });
    // Items whose tops lie within half a line of each other share a line.
    std::vector<TextLine> lines;
    double lineTop = 0.0;
    for (const RenderedItem* item : texts) {
        const double tolerance = std::max(1.0, item->rect.height() / 2.0);
        if (lines.empty() || item->rect.top() - lineTop > tolerance) {
            lines.emplace_back();
            lineTop = item->rect.top();
        }
        lines.back().push_back(item);
    }
    for (TextLine& line : lines)
        std::stable_sort(line.begin(), line.end(),
                         [](const RenderedItem* a, const RenderedItem* b) { return a->rect.left() < b->rect.left(); });
    return lines;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw ReportError(cannotWriteMessage(path, file.errorString()));
}

void writePdf(const Document& document, const QString& path)
{
    PdfWriter pdf(path, document.title);
    for (const RenderedPage& page : document.pages)
        pdf.add(page);
    pdf.finish();
}

const std::vector<ExportFormatInfo>& exportFormats()
{
    static const std::vector<ExportFormatInfo> formats{
        {ExportFormat::Pdf, QStringLiteral("PDF"), QStringLiteral("pdf")},
        {ExportFormat::Html, QStringLiteral("HTML"), QStringLiteral("html")},
        {ExportFormat::Xlsx, QStringLiteral("Folha de cálculo (XLSX)"), QStringLiteral("xlsx")},
        {ExportFormat::Csv, QStringLiteral("Valores separados (CSV)"), QStringLiteral("csv")},
        {ExportFormat::Rtf, QStringLiteral("Texto formatado (RTF)"), QStringLiteral("rtf")},
        {ExportFormat::Text, QStringLiteral("Texto simples"), QStringLiteral("txt")},
        {ExportFormat::Svg, QStringLiteral("Imagem vectorial (SVG)"), QStringLiteral("svg")},
        {ExportFormat::Xml, QStringLiteral("XML"), QStringLiteral("xml")},
    };
    return formats;
}

const ExportFormatInfo& exportFormatInfo(ExportFormat format)
{
    const auto& formats = exportFormats();
    return *std::find_if(formats.begin(), formats.end(),
                         [format](const ExportFormatInfo& info) { return info.format == format; });
}

void exportDocument(const Document& document, ExportFormat format, const QString& path)
{
    if (document.isEmpty())
        throw ReportError(nothingToExportMessage());
    switch (format) {
    case ExportFormat::Pdf: writePdf(document, path); return;
    case ExportFormat::Html: writeFile(path, htmlBytes(document)); return;
    case ExportFormat::Xlsx: writeXlsx(document, path); return;
    case ExportFormat::Csv: writeFile(path, csvBytes(document)); return;
    case ExportFormat::Rtf: writeFile(path, rtfBytes(document)); return;
    case ExportFormat::Text: writeFile(path, textBytes(document)); return;
    case ExportFormat::Svg: writeFile(path, svgBytes(document)); return;
    case ExportFormat::Xml: writeFile(path, xmlBytes(document)); return;
    }
}

} // namespace kv::report
