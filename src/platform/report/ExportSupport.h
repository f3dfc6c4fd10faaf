#pragma once

// Pieces the export formats share; not part of the layer's interface.

#include "platform/report/Document.h"

#include <QByteArray>
#include <QString>
#include <vector>

class QIODevice;

namespace kv::report {

QString cannotWriteMessage(const QString& path, const QString& reason);
QString nothingToExportMessage();

// The name of a band kind in exported files ("detail", "pageFooter").
QString bandKindName(BandKind kind);

// The text items of a band grouped into printed lines, top to bottom, each
// line left to right.
using TextLine = std::vector<const RenderedItem*>;
std::vector<TextLine> textLines(const RenderedBand& band);

// Writes `bytes` to `path` through a temporary file that replaces it at the
// end; throws ReportError.
void writeFile(const QString& path, const QByteArray& bytes);

QByteArray htmlBytes(const Document& document);
QByteArray rtfBytes(const Document& document);
QByteArray textBytes(const Document& document);
QByteArray xmlBytes(const Document& document);
QByteArray csvBytes(const Document& document);
QByteArray svgBytes(const Document& document);
void writeXlsx(const Document& document, const QString& path);
void writePdf(const Document& document, const QString& path);

} // namespace kv::report
