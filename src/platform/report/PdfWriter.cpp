#include "platform/report/PdfWriter.h"

#include "platform/report/ExportSupport.h"
#include "platform/report/PagePainter.h"
#include "platform/report/ReportError.h"

#include <QPainter>
#include <QPdfWriter>

namespace kv::report {

PdfWriter::PdfWriter(const QString& path, const QString& title) : m_path(path), m_title(title), m_file(path) {}

PdfWriter::~PdfWriter()
{
    if (m_painter && m_painter->isActive())
        m_painter->end();
    m_file.cancelWriting();
}

void PdfWriter::add(const RenderedPage& page)
{
    if (!m_writer) {
        if (!m_file.open(QIODevice::WriteOnly))
            throw ReportError(cannotWriteMessage(m_path, m_file.errorString()));
        m_writer = std::make_unique<QPdfWriter>(&m_file);
        m_writer->setTitle(m_title);
        m_writer->setCreator(QStringLiteral("Kavorimetas"));
        m_writer->setResolution(1200);
        m_writer->setPageLayout(page.setup.layout());
        m_painter = std::make_unique<QPainter>();
        if (!m_painter->begin(m_writer.get()))
            throw ReportError(cannotWriteMessage(m_path, m_file.errorString()));
    } else {
        m_writer->setPageLayout(page.setup.layout());
        m_writer->newPage();
    }
    PagePainter::paint(*m_painter, page);
    ++m_pages;
}

PageSink PdfWriter::sink()
{
    return [this](RenderedPage&& page) { add(page); };
}

void PdfWriter::finish()
{
    if (m_pages == 0 || !m_painter)
        throw ReportError(nothingToExportMessage());
    m_painter->end();
    m_painter.reset();
    m_writer.reset();
    if (!m_file.commit())
        throw ReportError(cannotWriteMessage(m_path, m_file.errorString()));
}

} // namespace kv::report
