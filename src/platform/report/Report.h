#pragma once

#include "platform/report/DataBand.h"
#include "platform/report/PageSetup.h"

#include <functional>
#include <memory>

namespace kv::report {

// A banded report defined in code: the page, the bands and their elements,
// and the hooks that adjust them while it prints.
//
// A run prints, on every page, the page header (on the first page only when
// asked), on the first page the title band, then the column header; then the
// detail band once per row of its source, with group headers and footers and
// sub-details; then the summary; the page footer closes every page at its
// bottom (on the last page only when asked). A band that does not fit the
// rest of the page moves to the next one. A report whose detail source has
// no rows prints nothing, unless it prints when empty.
class Report {
public:
    using Hook = std::function<void(Report&)>;

    explicit Report(const QString& title = {});
    ~Report();
    Report(const Report&) = delete;
    Report& operator=(const Report&) = delete;

    const QString& title() const { return m_title; }
    void setTitle(const QString& title) { m_title = title; }
    PageSetup& page() { return m_page; }
    const PageSetup& page() const { return m_page; }

    // The bands are made on first use; a band never asked for does not print.
    Band& titleBand();
    Band& pageHeader();
    Band& columnHeader();
    DataBand& detail() { return *m_detail; }
    Band& summary();
    Band& pageFooter();

    Band* titleBandIfAny() const { return m_titleBand.get(); }
    Band* pageHeaderIfAny() const { return m_pageHeader.get(); }
    Band* columnHeaderIfAny() const { return m_columnHeader.get(); }
    Band* summaryIfAny() const { return m_summary.get(); }
    Band* pageFooterIfAny() const { return m_pageFooter.get(); }

    bool pageHeaderOnFirstPage() const { return m_headerOnFirst; }
    void setPageHeaderOnFirstPage(bool print) { m_headerOnFirst = print; }
    bool pageFooterOnLastPage() const { return m_footerOnLast; }
    void setPageFooterOnLastPage(bool print) { m_footerOnLast = print; }
    bool printsIfEmpty() const { return m_printIfEmpty; }
    void setPrintIfEmpty(bool print) { m_printIfEmpty = print; }

    // Run before the first band of each run and after the last one.
    void setBeforePrint(Hook hook) { m_beforePrint = std::move(hook); }
    void setAfterPrint(Hook hook) { m_afterPrint = std::move(hook); }
    const Hook& beforePrint() const { return m_beforePrint; }
    const Hook& afterPrint() const { return m_afterPrint; }

    void forEachBand(const std::function<void(Band&)>& visit);
    // An element of any band by its name; null when absent or of another type.
    template <class T = Element>
    T* find(const QString& name)
    {
        T* found = nullptr;
        forEachBand([&](Band& band) {
            if (!found)
                found = dynamic_cast<T*>(band.find(name));
        });
        return found;
    }

private:
    QString m_title;
    PageSetup m_page;
    std::unique_ptr<Band> m_titleBand;
    std::unique_ptr<Band> m_pageHeader;
    std::unique_ptr<Band> m_columnHeader;
    std::unique_ptr<DataBand> m_detail;
    std::unique_ptr<Band> m_summary;
    std::unique_ptr<Band> m_pageFooter;
    bool m_headerOnFirst = true;
    bool m_footerOnLast = true;
    bool m_printIfEmpty = false;
    Hook m_beforePrint;
    Hook m_afterPrint;
};

} // namespace kv::report
