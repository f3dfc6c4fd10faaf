#pragma once

#include "platform/report/Document.h"

#include <QString>
#include <vector>

namespace kv::report {

enum class ExportFormat { Pdf, Html, Xlsx, Csv, Rtf, Text, Svg, Xml };

struct ExportFormatInfo {
    ExportFormat format;
    QString label; // as the export menu shows it
    QString suffix; // without the dot
};

// The formats in the order of the export menu.
const std::vector<ExportFormatInfo>& exportFormats();
const ExportFormatInfo& exportFormatInfo(ExportFormat format);

// Writes the document to `path` in one go: either the whole file is there
// afterwards or the old one (if any) is left untouched. Throws ReportError
// when the document has no pages or the file cannot be written.
//
// PDF and SVG are the pages as drawn (PDF with real, selectable text; SVG
// with the pages one under the other). HTML places the texts as on the
// page. The spreadsheet (XLSX) and CSV have one row per printed line of a
// band, one per detail line, numbers as numbers, the page headers once and
// no page footers. RTF and plain text follow the lines of the pages, with
// a page break between pages; XML lists every page, band and item.
void exportDocument(const Document& document, ExportFormat format, const QString& path);

} // namespace kv::report
