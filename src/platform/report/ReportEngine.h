#pragma once

#include "platform/report/Document.h"
#include "platform/report/Report.h"

#include <vector>

namespace kv::report {

// Lays reports out into pages. Texts are measured with the fonts of the
// platform, so a QGuiApplication (or QApplication) must exist.
class ReportEngine {
public:
    // One run of the report; each page goes to `sink` as soon as it is
    // complete, so a long report needs no more memory than one page.
    // Returns the number of pages: 0 when the report printed nothing.
    // `firstPage`: the number printed on the run's first page, so a report
    // of a job can carry on from the pages before it.
    static int run(Report& report, const PageSink& sink, int reportIndex = 0, int firstPage = 1);

    // All pages of one run, for the preview and the exports.
    static Document render(Report& report);
    // How the pages of a job are numbered.
    enum class PageNumbers { PerReport, ThroughJob };
    // One job of several reports in sequence (the pages of a quote), each
    // with its own page numbers, or numbered on through the whole job.
    static Document render(const std::vector<Report*>& job, PageNumbers numbers = PageNumbers::PerReport);
};

} // namespace kv::report
