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
    static int run(Report& report, const PageSink& sink, int reportIndex = 0);

    // All pages of one run, for the preview and the exports.
    static Document render(Report& report);
    // One job of several reports in sequence (the pages of a quote), each
    // with its own page numbers.
    static Document render(const std::vector<Report*>& job);
};

} // namespace kv::report
