#include "platform/report/Report.h"

namespace kv::report {

namespace {

Band& made(std::unique_ptr<Band>& band, BandKind kind, const char* name)
{
    if (!band)
        band = std::make_unique<Band>(kind, QString::fromLatin1(name));
    return *band;
}

} // namespace

Report::Report(const QString& title)
    : m_title(title), m_detail(std::make_unique<DataBand>(BandKind::Detail, QStringLiteral("Detail")))
{
}

Report::~Report() = default;

Band& Report::titleBand() { return made(m_titleBand, BandKind::Title, "Title"); }
Band& Report::pageHeader() { return made(m_pageHeader, BandKind::PageHeader, "PageHeader"); }
Band& Report::columnHeader() { return made(m_columnHeader, BandKind::ColumnHeader, "ColumnHeader"); }
Band& Report::summary() { return made(m_summary, BandKind::Summary, "Summary"); }
Band& Report::pageFooter() { return made(m_pageFooter, BandKind::PageFooter, "PageFooter"); }

void Report::forEachBand(const std::function<void(Band&)>& visit)
{
    for (Band* band : {m_pageHeader.get(), m_titleBand.get(), m_columnHeader.get()})
        if (band)
            band->forEachBand(visit);
    m_detail->forEachBand(visit);
    for (Band* band : {m_summary.get(), m_pageFooter.get()})
        if (band)
            band->forEachBand(visit);
}

} // namespace kv::report
