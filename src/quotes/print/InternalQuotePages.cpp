#include "quotes/print/InternalQuotePages.h"

#include "quotes/core/QuoteTotals.h"
#include "quotes/core/Vocabulary.h"

#include "platform/report/MemoryRowSource.h"
#include "platform/report/PreviewWindow.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"
#include "platform/text/DateText.h"
#include "platform/text/NumberText.h"
#include "platform/ui/MessageService.h"

#include <memory>

namespace kv::quotes {

namespace {

using kv::report::Band;
using kv::report::BandContext;
using kv::report::DataBand;
using kv::report::FieldFormat;
using kv::report::MemoryRowSource;
using kv::report::Report;
using kv::report::SystemElement;

const QString Heading = QStringLiteral("EMISSÃO DE ORÇAMENTO INTERNO");
const QString UnitLabel = QStringLiteral("UNIDADE DE ORÇAMENTAÇÃO : ");
const QString ValueFormat = QStringLiteral("###,###,##0.0##");
const QString ConsumptionFormat = QStringLiteral("#,##0.0000;(#,##0.0000)");
// The currency's own decimals, for unit prices and the subsidiary products' total.
constexpr int CurrencyDecimals = 2;
constexpr double Line = 4.5;
constexpr double Width = 190;

// A report with the row sources its bands read, kept together while it runs.
struct PageReport {
    Report report{InternalQuotePages::kTitle};
    std::vector<std::unique_ptr<MemoryRowSource>> sources;
    std::size_t current = 0; // the sub-quote being printed

    MemoryRowSource& source(const QStringList& fields)
    {
        sources.push_back(std::make_unique<MemoryRowSource>(fields));
        return *sources.back();
    }
};

QString quantityText(const QuoteRow& row, int n)
{
    return quantityCaption(row.quantity(n), row.text(QStringLiteral("UNIDADE")).trimmed());
}

QString dimensions(const QuoteRow& row, std::initializer_list<const char*> columns)
{
    QStringList parts;
    for (const char* c : columns)
        parts << kv::text::plain(row.number(QString::fromLatin1(c)));
    return parts.join(QStringLiteral(" x "));
}

void setup(Report& report)
{
    report.page().setSize(QPageSize::A4).setOrientation(QPageLayout::Portrait).setMargins(10, 10, 10, 10);
}

// The pages print in 8 points, their titles larger and the column titles smaller.
void useBodyFont(Report& report)
{
    const double standard = kv::report::TextElement::defaultFont().pointSizeF();
    report.forEachBand([standard](Band& band) {
        for (const auto& element : band.elements())
            if (auto* text = dynamic_cast<kv::report::TextElement*>(element.get());
                text && text->font().pointSizeF() == standard)
                text->setPointSize(8);
    });
}

kv::report::TextElement& addColumnTitle(Band& band, const QString& text, const QRectF& rect,
                                        Qt::Alignment alignment = Qt::AlignLeft)
{
    return band.addText(text, rect).setAlignment(alignment | Qt::AlignTop).setPointSize(7).setBold(true);
}

void addFooter(Report& report, const QString& company)
{
    Band& footer = report.pageFooter();
    footer.setHeight(7);
    footer.addShape(kv::report::ShapeElement::Shape::HorizontalLine, QRectF(0, 0.5, Width, 0));
    footer.addText(QStringLiteral("Empresa : ") + company, QRectF(0, 1.5, 95, Line));
    footer.addSystem(SystemElement::Field::DateTime, QRectF(95, 1.5, 60, Line), QStringLiteral("Data : "));
    footer.addSystem(SystemElement::Field::PageNumber, QRectF(160, 1.5, 30, Line), QStringLiteral("Página : "))
        .setAlignment(Qt::AlignRight | Qt::AlignTop);
}

kv::report::TextElement& addTitle(Band& band, const QString& text, double y, double points = 12)
{
    return band.addText(text, QRectF(0, y, Width, 7))
        .setAlignment(Qt::AlignHCenter | Qt::AlignTop)
        .setPointSize(points)
        .setBold(true);
}

// A caption and the field beside it.
void addPair(Band& band, const QString& caption, const QString& field, double x, double y, double captionWidth,
             double fieldWidth, const FieldFormat& format = {})
{
    band.addText(caption, QRectF(x, y, captionWidth, Line)).setBold(true);
    band.addField(field, QRectF(x + captionWidth, y, fieldWidth, Line), format, field);
}

// The heading of a sub-quote (number, caption, date, unit) common to pages 1 and 2.
QStringList headingFields() { return {"INDEX", "CODIGO", "LEGENDA", "DATEMI", "UNIDADE", "Q1", "Q2", "Q3"}; }

std::vector<QVariant> headingValues(std::size_t index, const PrintedSubQuote& sub)
{
    const QuoteRow& r = sub.row;
    return {QVariant::fromValue(static_cast<int>(index)),
            r.quoteNumber(),
            subQuoteCaption(r.subQuote()),
            r.value(QStringLiteral("DATEMI")),
            unitCaption(r.text(QStringLiteral("UNIDADE"))),
            quantityText(r, 1),
            quantityText(r, 2),
            quantityText(r, 3)};
}

void addHeading(Band& band, bool costGroups)
{
    addTitle(band, Heading, 0);
    addPair(band, QStringLiteral("ORÇAMENTO Nº : "), QStringLiteral("CODIGO"), 0, 9, 28, 20);
    band.addField(QStringLiteral("LEGENDA"), QRectF(50, 9, 50, Line)).setBold(true);
    addPair(band, QStringLiteral("DATA : "), QStringLiteral("DATEMI"), 140, 9, 14, 30, FieldFormat::date());
    double y = 14.5;
    if (costGroups) {
        band.addText(QStringLiteral("GRUPOS DE CUSTOS : "), QRectF(0, y, 60, Line)).setBold(true);
        y += Line + 1;
    }
    addPair(band, UnitLabel, QStringLiteral("UNIDADE"), 0, y, 48, 40);
}

// ---------------------------------------------------------------- page 1

void buildTechnicalSheet(PageReport& page, const QuotePrintData& data)
{
    QStringList fields = headingFields();
    fields << "NOME"
           << "LOCALIDADE"
           << "VNDNRO"
           << "VENDEDOR"
           << "DESIGN1"
           << "DESIGN2"
           << "DESIGN3"
           << "DESIGN4"
           << "DESIGN5"
           << "DESIGN6"
           << "MEDIDAS"
           << "FORMATO1"
           << "FORMATO2"
           << "UNDPLANO"
           << "NPLANOS"
           << "NROCORES"
           << "SUPERFIMPR";
    MemoryRowSource& subs = page.source(fields);
    for (std::size_t i = 0; i < data.subQuotes.size(); ++i) {
        const PrintedSubQuote& sub = data.subQuotes[i];
        const QuoteRow& r = sub.row;
        std::vector<QVariant> values = headingValues(i, sub);
        QStringList sheets;
        for (int n = 1; n <= 3; ++n)
            sheets << kv::text::plain(r.number(quantityColumn("NPLANOS", n)));
        for (const QVariant& v :
             {QVariant(r.text(QStringLiteral("NOME"))), QVariant(sub.locality), r.value(QStringLiteral("VNDNRO")),
              QVariant(sub.salesman), r.value(QStringLiteral("DESIGN1")), r.value(QStringLiteral("DESIGN2")),
              r.value(QStringLiteral("DESIGN3")), r.value(QStringLiteral("DESIGN4")),
              r.value(QStringLiteral("DESIGN5")), r.value(QStringLiteral("DESIGN6")),
              QVariant(dimensions(r, {"COMPRIM", "LARGURA", "ALTURA"})),
              QVariant(dimensions(r, {"PLNCOMPRIM1", "PLNLARGURA1"})),
              QVariant(dimensions(r, {"PLNCOMPRIM2", "PLNLARGURA2"})), r.value(QStringLiteral("UNDPLANO")),
              QVariant(sheets.join(QStringLiteral(" ; "))), r.value(QStringLiteral("NROCORES")),
              QVariant(kv::text::plain(r.number(QStringLiteral("SUPERFIMPR"))) + QStringLiteral(" % "))})
            values.push_back(v);
        subs.append(std::move(values));
    }

    DataBand& detail = page.report.detail();
    detail.setSource(&subs).setNewPage(true);
    detail.setHeight(134);
    addHeading(detail, false);
    addTitle(detail, QStringLiteral("F I C H A   T É C N I C A"), 22, 11);
    const double c = 42; // caption width
    addPair(detail, QStringLiteral("CLIENTE : "), QStringLiteral("NOME"), 0, 30, c, 110);
    detail.addField(QStringLiteral("LOCALIDADE"), QRectF(c, 35, 110, Line));
    addPair(detail, QStringLiteral("VENDEDOR : "), QStringLiteral("VNDNRO"), 0, 40, c, 14);
    detail.addField(QStringLiteral("VENDEDOR"), QRectF(c + 16, 40, 100, Line));
    detail.addText(QStringLiteral("ARTIGO : "), QRectF(0, 45, c, Line)).setBold(true);
    for (int i = 1; i <= 6; ++i)
        detail.addField(QStringLiteral("DESIGN%1").arg(i), QRectF(c, 45 + (i - 1) * Line, 110, Line));
    addPair(detail, QStringLiteral("MEDIDAS (mm) : "), QStringLiteral("MEDIDAS"), 0, 73, c, 100);
    addPair(detail, QStringLiteral("FORMATO DO PLANO : "), QStringLiteral("FORMATO1"), 0, 78, c, 100);
    detail.addField(QStringLiteral("FORMATO2"), QRectF(c, 82.5, 100, Line));
    addPair(detail, QStringLiteral("UNIDADES P/FOLHA : "), QStringLiteral("UNDPLANO"), 0, 87, c, 40);
    addPair(detail, QStringLiteral("Nº DE FOLHAS : "), QStringLiteral("NPLANOS"), 0, 92, c, 100);
    addPair(detail, QStringLiteral("Nº DE CORES : "), QStringLiteral("NROCORES"), 0, 97, c, 40);
    addPair(detail, QStringLiteral("SUP.IMPRESSÃO : "), QStringLiteral("SUPERFIMPR"), 0, 102, c, 40);
    addTitle(detail, QStringLiteral("C O N S U M O S"), 110, 11);
    detail.addText(QStringLiteral("MATERIAL NECESSÁRIO P/PRODUZIR ESTE ARTIGO : "), QRectF(0, 118, 120, Line))
        .setBold(true);
    detail.addText(QStringLiteral("DESIGNAÇÃO"), QRectF(0, 126, 80, Line)).setBold(true);
    detail.addText(QStringLiteral("UND"), QRectF(95, 126, 12, Line)).setBold(true);
    for (int n = 0; n < 3; ++n)
        detail.addField(QStringLiteral("Q%1").arg(n + 1), QRectF(110 + n * 27, 126, 25, Line))
            .setAlignment(Qt::AlignRight | Qt::AlignTop)
            .setBold(true);

    MemoryRowSource& consumptions = page.source({"DESIGN", "UND", "CONSUM1", "CONSUM2", "CONSUM3"});
    DataBand& lines = detail.addSubDetail(&consumptions, QStringLiteral("Consumos"));
    lines.setHeight(Line);
    lines.addField(QStringLiteral("DESIGN"), QRectF(0, 0, 92, Line));
    lines.addField(QStringLiteral("UND"), QRectF(95, 0, 12, Line));
    for (int n = 0; n < 3; ++n)
        lines
            .addField(QStringLiteral("CONSUM%1").arg(n + 1), QRectF(110 + n * 27, 0, 25, Line),
                      FieldFormat::pattern(ConsumptionFormat))
            .setAlignment(Qt::AlignRight | Qt::AlignTop);

    detail.setBeforePrint([&data, &consumptions](BandContext& context) {
        consumptions.clear();
        const auto& sub = data.subQuotes[static_cast<std::size_t>(context.value(QStringLiteral("INDEX")).toInt())];
        for (const CostLine& line : sub.consumptions)
            consumptions.append({line.designation, QStringLiteral("KG"), line.consumption[0], line.consumption[1],
                                 line.consumption[2]});
    });
}

// ---------------------------------------------------------------- page 2

struct SectionBands {
    MemoryRowSource* rows = nullptr;
    kv::report::TextElement* quantity[3] = {};
};

void buildCostLines(PageReport& page, const QuotePrintData& data, int priceDecimals)
{
    MemoryRowSource& subs = page.source(headingFields());
    for (std::size_t i = 0; i < data.subQuotes.size(); ++i)
        subs.append(headingValues(i, data.subQuotes[i]));

    DataBand& detail = page.report.detail();
    detail.setSource(&subs).setNewPage(true);
    detail.setHeight(23);
    addHeading(detail, true);

    // Columns: designation, the machine's passes, make-ready and output, unit price, three quantities.
    const QRectF designation(0, 0, 55, Line);
    const QRectF passes(55, 0, 14, Line);
    const QRectF makeReady(70, 0, 22, Line);
    const QRectF perHour(93, 0, 17, Line);
    const QRectF unitPrice(111, 0, 21, Line);
    auto quantity = [](int n, double y) { return QRectF(133 + n * 19, y, 18.5, Line); };
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignTop;
    const QPointF title(0, 1.5);

    std::array<SectionBands, 7> sections;
    for (std::size_t index = 0; index < sections.size(); ++index) {
        const auto section = static_cast<PrintSection>(index);
        const bool machines = section == PrintSection::Machines;
        MemoryRowSource& rows =
            page.source({"DESIGN", "PASSAGENS", "ACERTO", "PRDHOR", "PU", "VALQTD1", "VALQTD2", "VALQTD3"});
        sections[index].rows = &rows;
        DataBand& band = detail.addSubDetail(&rows, sectionTitle(section));
        band.setHeight(Line);
        Band& header = band.header();
        header.setHeight(Line + 2);
        header.addText(sectionTitle(section), designation.translated(title)).setBold(true).setUnderline(true);
        if (machines) {
            addColumnTitle(header, QStringLiteral("NRº PASS."), passes.translated(title), Qt::AlignRight);
            addColumnTitle(header, QStringLiteral("TEMPO  ACERTO"), makeReady.translated(title), Qt::AlignRight);
            addColumnTitle(header, QStringLiteral("PROD. HORA"), perHour.translated(title), Qt::AlignRight);
        }
        addColumnTitle(header, machines ? QStringLiteral("CUSTO HORA ") : QStringLiteral("P.U."),
                       unitPrice.translated(title), Qt::AlignRight);
        for (int n = 0; n < 3; ++n)
            sections[index].quantity[n] = &addColumnTitle(header, {}, quantity(n, 1.5), Qt::AlignRight);

        band.addField(QStringLiteral("DESIGN"), designation);
        if (machines) {
            band.addField(QStringLiteral("PASSAGENS"), passes).setAlignment(right);
            band.addField(QStringLiteral("ACERTO"), makeReady).setAlignment(right);
            band.addField(QStringLiteral("PRDHOR"), perHour).setAlignment(right);
        }
        band.addField(QStringLiteral("PU"), unitPrice).setAlignment(right);
        for (int n = 0; n < 3; ++n)
            band.addField(QStringLiteral("VALQTD%1").arg(n + 1), quantity(n, 0), FieldFormat::pattern(ValueFormat))
                .setAlignment(right);

        Band& footer = band.footer();
        footer.setHeight(Line + 1);
        footer.addText(QStringLiteral("TOTAL : "), QRectF(100, 0.5, 32, Line)).setAlignment(right).setBold(true);
        std::array<kv::report::TextElement*, 3> totals{};
        for (int n = 0; n < 3; ++n)
            totals[static_cast<std::size_t>(n)] =
                &footer.addText({}, quantity(n, 0.5)).setAlignment(right).setBold(true);
        const int decimals = section == PrintSection::Subsidiary ? CurrencyDecimals : priceDecimals;
        // Only a section whose first quantity adds up to something shows its total.
        footer.setBeforePrint([&data, &page, section, totals, decimals](BandContext& context) {
            for (const SectionLines& s : data.subQuotes[page.current].sections) {
                if (s.section != section)
                    continue;
                context.print = s.total[0].toDouble() != 0;
                for (std::size_t n = 0; n < 3; ++n)
                    totals[n]->setText(kv::text::money(s.total[n].toDouble(), decimals));
                return;
            }
            context.print = false;
        });
    }

    // Machine times, printed for every sub-quote.
    MemoryRowSource& times = page.source({"DESIGN", "ACERTO", "P1", "T1", "P2", "T2", "P3", "T3"});
    DataBand& timeBand = detail.addSubDetail(&times, QStringLiteral("Tempos"));
    timeBand.setPrintIfEmpty(true).setHeight(Line);
    Band& timeHeader = timeBand.header();
    timeHeader.setHeight(2 * Line + 6);
    const double below = 4 + Line;
    timeHeader.addText(QStringLiteral("MÁQUINA "), QRectF(0, below, 55, Line)).setBold(true).setUnderline(true);
    addColumnTitle(timeHeader, QStringLiteral("TEMPO ACERTO"), QRectF(55, below, 22, Line), Qt::AlignRight);
    timeBand.addField(QStringLiteral("DESIGN"), designation);
    timeBand.addField(QStringLiteral("ACERTO"), QRectF(55, 0, 22, Line)).setAlignment(right);
    std::array<kv::report::TextElement*, 3> timeQuantities{};
    for (int n = 0; n < 3; ++n) {
        const double x = 80 + n * 37;
        timeQuantities[static_cast<std::size_t>(n)] =
            &addColumnTitle(timeHeader, {}, QRectF(x, 3, 36, Line), Qt::AlignHCenter);
        addColumnTitle(timeHeader, QStringLiteral("TEMPO PROD."), QRectF(x, below, 19, Line), Qt::AlignRight);
        addColumnTitle(timeHeader, QStringLiteral("TOTAL"), QRectF(x + 20, below, 16, Line), Qt::AlignRight);
        timeBand.addField(QStringLiteral("P%1").arg(n + 1), QRectF(x, 0, 19, Line)).setAlignment(right);
        timeBand.addField(QStringLiteral("T%1").arg(n + 1), QRectF(x + 20, 0, 16, Line)).setAlignment(right);
    }

    detail.setBeforePrint([&data, &page, sections, &times, timeQuantities](BandContext& context) {
        page.current = static_cast<std::size_t>(context.value(QStringLiteral("INDEX")).toInt());
        const auto& sub = data.subQuotes[page.current];
        for (const SectionBands& s : sections) {
            s.rows->clear();
            for (int n = 0; n < 3; ++n)
                s.quantity[n]->setText(quantityText(sub.row, n + 1));
        }
        for (const SectionLines& s : sub.sections) {
            MemoryRowSource& rows = *sections[static_cast<std::size_t>(s.section)].rows;
            const bool alwaysPrice = s.section == PrintSection::Subcontracts || s.section == PrintSection::Accessories;
            for (const CostLine& line : s.lines) {
                const QString price = !alwaysPrice && line.percentage != 0
                                          ? kv::text::percent(line.percentage)
                                          : kv::text::money(line.price, CurrencyDecimals);
                std::vector<QVariant> values{line.designation, {},           {}, {}, price, line.value[0],
                                             line.value[1],    line.value[2]};
                if (s.section == PrintSection::Machines) {
                    values[1] = line.passes;
                    values[2] = kv::text::hoursMinutesText(line.makeReadyHm);
                    values[3] = kv::text::plain(line.factor);
                }
                rows.append(std::move(values));
            }
        }
        times.clear();
        for (const MachineTimeRow& t : sub.machineTimes)
            times.append({t.designation, t.makeReady, t.production[0], t.total[0], t.production[1], t.total[1],
                          t.production[2], t.total[2]});
        for (int n = 0; n < 3; ++n)
            timeQuantities[static_cast<std::size_t>(n)]->setText(quantityText(sub.row, n + 1));
    });
}

// ---------------------------------------------------------------- page 3

void buildTotals(PageReport& page, const QuotePrintData& data, const InternalPrintInputs& inputs)
{
    const int priceDecimals = inputs.priceDecimals;
    const QuoteRow* summary = data.summary ? &*data.summary : nullptr;
    Band& title = page.report.titleBand();
    title.setHeight(26);
    addTitle(title, Heading, 0);
    title.addText(QStringLiteral("ORÇAMENTO Nº : ") + QString::number(data.quoteNumber), QRectF(0, 9, 80, Line))
        .setBold(true);
    title
        .addText(QStringLiteral("DATA : ")
                     + (summary ? kv::text::date(summary->value(QStringLiteral("DATEMI")).toDate()) : QString()),
                 QRectF(140, 9, 50, Line))
        .setBold(true);
    title.addText(UnitLabel, QRectF(0, 15, 48, Line)).setBold(true);
    title.addText(summary ? unitCaption(summary->text(QStringLiteral("UNIDADE"))) : QString(),
                  QRectF(48, 15, 40, Line));

    const double x0 = 100;
    const double w = 29;
    Band& columns = page.report.columnHeader();
    columns.setHeight(Line + 3);
    columns.addText(QStringLiteral("TIPO DE CUSTO"), QRectF(0, 1, 70, Line)).setBold(true).setUnderline(true);
    for (int n = 0; n < 3; ++n)
        columns.addText(summary ? quantityText(*summary, n + 1) : QString(), QRectF(x0 + n * (w + 1), 1, w, Line))
            .setAlignment(Qt::AlignRight | Qt::AlignTop)
            .setBold(true);

    MemoryRowSource& rows = page.source({"TIPO", "PERC", "C1", "C2", "C3", "M1", "M2", "M3", "T1"});
    std::vector<TotalsLine> table = totalsTable(data);
    QVariant margin;
    if (inputs.approved && summary) {
        table.back().money[0] = summary->number(QStringLiteral("PRECOADJUD"));
        margin = kv::text::plain(summary->number(QStringLiteral("MARGEMPRC"))) + QStringLiteral(" %");
    }
    for (const TotalsLine& line : table)
        rows.append({line.caption, line.percentage, line.column[0], line.column[1], line.column[2], line.money[0],
                     line.money[1], line.money[2], QVariant()});
    if (margin.isValid())
        rows.append({QString(), QString(), {}, {}, {}, {}, {}, {}, margin});
    DataBand& detail = page.report.detail();
    detail.setSource(&rows).setHeight(Line + 1.5);
    detail.addField(QStringLiteral("TIPO"), QRectF(0, 0.5, 68, Line)).setBold(true);
    detail.addField(QStringLiteral("PERC"), QRectF(70, 0.5, 20, Line)).setAlignment(Qt::AlignRight | Qt::AlignTop);
    for (int n = 0; n < 3; ++n) {
        const QRectF rect(x0 + n * (w + 1), 0.5, w, Line);
        detail.addField(QStringLiteral("C%1").arg(n + 1), rect, FieldFormat::pattern(ValueFormat))
            .setAlignment(Qt::AlignRight | Qt::AlignTop);
        detail.addField(QStringLiteral("M%1").arg(n + 1), rect, FieldFormat::money(priceDecimals))
            .setAlignment(Qt::AlignRight | Qt::AlignTop)
            .setBold(true);
    }
    detail.addField(QStringLiteral("T1"), QRectF(x0, 0.5, w, Line)).setAlignment(Qt::AlignRight | Qt::AlignTop);
}

} // namespace

const QString InternalQuotePages::kTitle = QStringLiteral("Emissão Orçamento Interno");

InternalQuotePages::InternalQuotePages(const QuotePrintData& data, InternalPrintInputs inputs)
    : m_data(data), m_inputs(std::move(inputs))
{
}

kv::report::Document InternalQuotePages::render(InternalPage which) const
{
    PageReport page;
    setup(page.report);
    addFooter(page.report, m_inputs.companyName);
    switch (which) {
    case InternalPage::TechnicalSheet: buildTechnicalSheet(page, m_data); break;
    case InternalPage::CostLines: buildCostLines(page, m_data, m_inputs.priceDecimals); break;
    case InternalPage::Totals: buildTotals(page, m_data, m_inputs); break;
    }
    useBodyFont(page.report);
    return kv::report::ReportEngine::render(page.report);
}

bool InternalQuotePages::preview(InternalPage page, QWidget* parent) const
{
    kv::report::Document document = render(page);
    if (document.isEmpty())
        return false;
    kv::report::PreviewWindow window(std::move(document), parent);
    window.setWindowTitle(kTitle);
    window.setMessageHandler([](const QString& text) { kv::ui::messages().fail(text); });
    window.exec();
    return true;
}

void InternalQuotePages::previewAll(QWidget* parent) const
{
    for (InternalPage page : {InternalPage::TechnicalSheet, InternalPage::CostLines, InternalPage::Totals})
        preview(page, parent);
}

} // namespace kv::quotes
