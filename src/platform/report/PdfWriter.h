#pragma once

#include "platform/report/Document.h"

#include <QSaveFile>
#include <memory>

class QPainter;
class QPdfWriter;

namespace kv::report {

// A PDF file written page by page as a run lays them out:
//   PdfWriter pdf(path); ReportEngine::run(report, pdf.sink()); pdf.finish();
// The file appears only when finish() succeeds.
class PdfWriter {
public:
    explicit PdfWriter(const QString& path, const QString& title = {});
    ~PdfWriter();
    PdfWriter(const PdfWriter&) = delete;
    PdfWriter& operator=(const PdfWriter&) = delete;

    void add(const RenderedPage& page);
    PageSink sink();
    int pageCount() const { return m_pages; }
    // Throws ReportError when nothing was added or the file cannot be written.
    void finish();

private:
    QString m_path;
    QString m_title;
    QSaveFile m_file;
    std::unique_ptr<QPdfWriter> m_writer;
    std::unique_ptr<QPainter> m_painter;
    int m_pages = 0;
};

} // namespace kv::report
