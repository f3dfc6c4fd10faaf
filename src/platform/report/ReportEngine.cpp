#include "platform/report/ReportEngine.h"

#include "platform/report/FontMap.h"
#include "platform/report/MemoryRowSource.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <optional>
#include <unordered_map>

namespace kv::report {

namespace {

// Texts are measured against one fixed resolution, so a layout does not
// depend on the screen or printer it ends on.
constexpr int kMeasureDpi = 1200;

double textHeightMm(const QString& text, const QFont& font, double widthMm, int flags)
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_Mono);
        const int dpm = qRound(kMeasureDpi / 0.0254);
        image.setDotsPerMeterX(dpm);
        image.setDotsPerMeterY(dpm);
        return image;
    }();
    const double pxPerMm = kMeasureDpi / 25.4;
    const QFontMetricsF metrics(font, &device);
    const QRectF bounds =
        metrics.boundingRect(QRectF(0, 0, widthMm * pxPerMm, 1e9), flags, text.isEmpty() ? QStringLiteral(" ") : text);
    return bounds.height() / pxPerMm;
}

class Layout {
public:
    Layout(Report& report, const PageSink& sink, int reportIndex, int firstPage)
        : m_report(report), m_sink(sink), m_reportIndex(reportIndex), m_pageOffset(firstPage - 1)
    {
        m_context.report = &report;
        m_context.printTime = QDateTime::currentDateTime();
    }

    int run();

private:
    void openPage();
    void closePage(bool last);
    void newPage();
    // `positioned`: the caller has moved the source to its first row already.
    void printData(DataBand& band, std::optional<bool> positioned = std::nullopt);
    // Runs the band's hook, counts the row for totals, finds room and
    // places the band and its children; false when the hook skipped it.
    bool printBand(Band& band, const RowView* row, const DataBand* counting = nullptr);
    double bandHeight(Band& band, const RowView* row);
    void place(Band& band, const RowView* row, double top, double height);
    RenderedItem textItem(const TextElement& element, const QRectF& rect, bool stretch);
    const QFont& mappedFont(const TextElement& element);
    int printedPage() const { return m_pageOffset + m_pageNumber; }

    Report& m_report;
    const PageSink& m_sink;
    int m_reportIndex;
    int m_pageOffset; // added to the run's own page count for the printed number
    EvalContext m_context;
    std::vector<TotalElement*> m_totals;
    RenderedPage m_page;
    int m_pageNumber = 0;
    double m_y = 0.0;
    double m_bottom = 0.0;
    bool m_bodyEmpty = true;
    const RowView* m_masterRow = nullptr; // what page headers and footers read
    // One mapped font per element, shared by all its items (hooks may change it).
    std::unordered_map<const TextElement*, std::pair<QFont, QFont>> m_fonts;
};

const QFont& Layout::mappedFont(const TextElement& element)
{
    auto found = m_fonts.find(&element);
    if (found == m_fonts.end() || found->second.first != element.font())
        found = m_fonts.insert_or_assign(&element, std::make_pair(element.font(), FontMap::map(element.font()))).first;
    return found->second.second;
}

int Layout::run()
{
    m_report.forEachBand([this](Band& band) {
        for (const auto& element : band.elements()) {
            element->beginRun();
            if (auto* total = dynamic_cast<TotalElement*>(element.get()))
                m_totals.push_back(total);
        }
    });
    if (m_report.beforePrint())
        m_report.beforePrint()(m_report);

    DataBand& detail = m_report.detail();
    RowSource* source = detail.source();
    const bool hasRows = source ? source->first() : true;
    if (source && !hasRows && !m_report.printsIfEmpty()) {
        if (m_report.afterPrint())
            m_report.afterPrint()(m_report);
        return 0;
    }
    m_masterRow = source;
    openPage();
    printData(detail, hasRows);
    if (Band* summary = m_report.summaryIfAny())
        printBand(*summary, m_masterRow);
    closePage(true);
    if (m_report.afterPrint())
        m_report.afterPrint()(m_report);
    return m_pageNumber;
}

void Layout::openPage()
{
    ++m_pageNumber;
    m_context.pageNumber = printedPage();
    const PageSetup& setup = m_report.page();
    m_page = RenderedPage();
    m_page.setup = setup;
    m_page.number = m_pageNumber;
    m_page.reportIndex = m_reportIndex;
    m_y = setup.margins().top();
    m_bottom = setup.sizeMm().height() - setup.margins().bottom();
    if (Band* footer = m_report.pageFooterIfAny())
        m_bottom -= footer->height();
    m_bodyEmpty = true;

    Band* header = m_report.pageHeaderIfAny();
    if (header && (m_pageNumber > 1 || m_report.pageHeaderOnFirstPage()))
        printBand(*header, m_masterRow);
    if (Band* title = m_report.titleBandIfAny(); title && m_pageNumber == 1)
        printBand(*title, m_masterRow);
    if (Band* columns = m_report.columnHeaderIfAny())
        printBand(*columns, m_masterRow);
    m_bodyEmpty = true;
}

void Layout::closePage(bool last)
{
    Band* footer = m_report.pageFooterIfAny();
    if (footer && (!last || m_report.pageFooterOnLastPage())) {
        BandContext context{m_report, *footer, m_masterRow, printedPage()};
        if (footer->beforePrint())
            footer->beforePrint()(context);
        if (context.print) {
            const double height = bandHeight(*footer, m_masterRow);
            const double top = m_page.setup.sizeMm().height() - m_page.setup.margins().bottom() - height;
            place(*footer, m_masterRow, top, height);
        }
    }
    m_sink(std::move(m_page));
    m_page = RenderedPage();
}

void Layout::newPage()
{
    closePage(false);
    openPage();
}

void Layout::printData(DataBand& band, std::optional<bool> positioned)
{
    RowSource* source = band.source();
    const bool hasRows = !source || (positioned ? *positioned : source->first());
    if (!hasRows && !band.printsIfEmpty())
        return;
    if (Band* header = band.headerBand())
        printBand(*header, source);
    if (hasRows) {
        const auto& groups = band.groups();
        const std::size_t levels = source ? groups.size() : 0; // no rows, nothing to group
        std::vector<QVariant> keys(levels);
        RowSnapshot previous;
        bool firstRow = true;
        do {
            std::size_t changed = levels;
            for (std::size_t i = 0; i < levels; ++i) {
                if (firstRow || groups[i]->key(*source) != keys[i]) {
                    changed = i;
                    break;
                }
            }
            if (!firstRow) {
                for (std::size_t j = levels; j-- > changed;)
                    if (Band* footer = groups[j]->footerBand())
                        printBand(*footer, &previous);
            }
            for (std::size_t j = changed; j < levels; ++j) {
                keys[j] = groups[j]->key(*source);
                if (groups[j]->startsNewPage() && !m_bodyEmpty)
                    newPage();
                if (Band* header = groups[j]->headerBand())
                    printBand(*header, source);
            }
            printBand(band, source, &band);
            for (const auto& sub : band.subDetails())
                printData(*sub);
            if (levels > 0 && source)
                previous.take(*source);
            firstRow = false;
        } while (source && source->next());
        for (std::size_t j = levels; j-- > 0;)
            if (Band* footer = groups[j]->footerBand())
                printBand(*footer, &previous);
    }
    if (Band* footer = band.footerBand())
        printBand(*footer, source);
}

bool Layout::printBand(Band& band, const RowView* row, const DataBand* counting)
{
    BandContext context{m_report, band, row, printedPage()};
    if (band.beforePrint())
        band.beforePrint()(context);
    if (!context.print)
        return false;
    const bool pageBand = band.kind() == BandKind::PageHeader || band.kind() == BandKind::ColumnHeader
                          || (band.kind() == BandKind::Title);
    if (!pageBand && band.startsNewPage() && !m_bodyEmpty)
        newPage();
    double height = bandHeight(band, row);
    if (!pageBand && m_y + height > m_bottom + 1e-6 && !m_bodyEmpty) {
        newPage();
        height = bandHeight(band, row); // page numbers may have changed the texts
    }
    // Counted once the row's page is known, so page totals hold the rows they list.
    if (counting && row) {
        const DataBand* master = &m_report.detail();
        for (TotalElement* total : m_totals) {
            const DataBand* source = total->source() ? total->source() : master;
            if (source == counting)
                total->accumulate(*row);
        }
    }
    place(band, row, m_y, height);
    m_y += height;
    if (!pageBand)
        m_bodyEmpty = false;
    if (Band* child = band.childBand())
        printBand(*child, row);
    return true;
}

double Layout::bandHeight(Band& band, const RowView* row)
{
    double height = band.height();
    if (!band.stretches())
        return height;
    m_context.row = row;
    for (const auto& element : band.elements()) {
        const auto* text = dynamic_cast<const TextElement*>(element.get());
        if (!text || !text->isVisible() || !text->wordWrap())
            continue;
        const QRectF r = text->rect();
        const double needed = textHeightMm(text->content(m_context), mappedFont(*text), r.width(),
                                           static_cast<int>(text->alignment()) | Qt::TextWordWrap);
        height = std::max(height, r.top() + std::max(needed, r.height()));
    }
    return height;
}

RenderedItem Layout::textItem(const TextElement& element, const QRectF& rect, bool stretch)
{
    RenderedItem item;
    item.kind = RenderedItem::Kind::Text;
    item.rect = rect;
    item.text = element.content(m_context);
    item.number = element.number(m_context);
    if (item.number.isValid())
        item.sheetFormat = element.sheetFormat();
    item.font = mappedFont(element);
    item.color = element.color();
    item.fill = element.background();
    item.flags = static_cast<int>(element.alignment()) | (element.wordWrap() ? Qt::TextWordWrap : 0);
    if (stretch && element.wordWrap())
        item.rect.setHeight(std::max(rect.height(), textHeightMm(item.text, item.font, rect.width(), item.flags)));
    return item;
}

void Layout::place(Band& band, const RowView* row, double top, double height)
{
    m_context.row = row;
    m_context.pageNumber = printedPage();
    const double left = m_page.setup.margins().left();
    RenderedBand out;
    out.kind = band.kind();
    out.name = band.name();
    out.rect = QRectF(left, top, m_page.setup.contentWidth(), height);
    out.color = band.color();
    out.items.reserve(band.elements().size());
    for (const auto& element : band.elements()) {
        if (!element->isVisible())
            continue;
        const QRectF rect = element->rect().translated(left, top);
        if (const auto* text = dynamic_cast<const TextElement*>(element.get())) {
            out.items.push_back(textItem(*text, rect, band.stretches()));
            if (auto* total = dynamic_cast<TotalElement*>(element.get()); total && total->resetsAfterPrint())
                total->reset();
        } else if (const auto* shape = dynamic_cast<const ShapeElement*>(element.get())) {
            RenderedItem item;
            item.color = shape->penColor();
            item.fill = shape->fill();
            item.penWidth = shape->penWidth();
            switch (shape->shape()) {
            case ShapeElement::Shape::Rectangle:
                item.kind = RenderedItem::Kind::Rectangle;
                item.rect = rect;
                break;
            case ShapeElement::Shape::Ellipse:
                item.kind = RenderedItem::Kind::Ellipse;
                item.rect = rect;
                break;
            case ShapeElement::Shape::HorizontalLine:
                item.kind = RenderedItem::Kind::Line;
                item.rect = QRectF(rect.left(), rect.center().y(), rect.width(), 0);
                break;
            case ShapeElement::Shape::VerticalLine:
                item.kind = RenderedItem::Kind::Line;
                item.rect = QRectF(rect.center().x(), rect.top(), 0, rect.height());
                break;
            }
            out.items.push_back(std::move(item));
        } else if (const auto* picture = dynamic_cast<const ImageElement*>(element.get())) {
            const QImage image = picture->image();
            if (image.isNull())
                continue;
            RenderedItem item;
            item.kind = RenderedItem::Kind::Image;
            item.rect = rect;
            item.image = image;
            item.keepAspect = picture->keepsAspect();
            out.items.push_back(std::move(item));
        }
    }
    m_page.bands.push_back(std::move(out));
}

} // namespace

int ReportEngine::run(Report& report, const PageSink& sink, int reportIndex, int firstPage)
{
    Layout layout(report, sink, reportIndex, firstPage);
    return layout.run();
}

Document ReportEngine::render(Report& report) { return render(std::vector<Report*>{&report}); }

Document ReportEngine::render(const std::vector<Report*>& job, PageNumbers numbers)
{
    Document document;
    if (!job.empty())
        document.title = job.front()->title();
    const PageSink sink = [&document](RenderedPage&& page) { document.pages.push_back(std::move(page)); };
    int firstPage = 1;
    for (std::size_t i = 0; i < job.size(); ++i) {
        const int pages = run(*job[i], sink, static_cast<int>(i), firstPage);
        if (numbers == PageNumbers::ThroughJob)
            firstPage += pages;
    }
    return document;
}

} // namespace kv::report
