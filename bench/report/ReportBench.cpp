// A 100,000-row list report laid out and written to PDF, against a raw
// QPdfWriter loop that draws the same lines on the same pages. Ends with the
// ratio of the two and the peak heap each needed while it ran.
#include "platform/report/MemoryRowSource.h"
#include "platform/text/NumberText.h"
#include "platform/report/PdfWriter.h"
#include "platform/report/Report.h"
#include "platform/report/ReportEngine.h"

#include <benchmark/benchmark.h>
#include <malloc.h>
#include <sys/resource.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <cstdio>
#include <map>
#include <string>

using namespace kv::report;

namespace {

constexpr int Rows = 100'000;

const QString Title = QStringLiteral("Tabela de Tintas");
const QString Company = QStringLiteral("Empresa : Cartonagem Exemplo");
const QStringList Headings{QStringLiteral("Código"), QStringLiteral("Referência"),
                           QStringLiteral("Designação do artigo"), QStringLiteral("Gram.M2"), QStringLiteral("Preço")};
// Columns in mm from the left margin, and whether they are right-aligned.
struct Column {
    double left;
    double width;
    bool right;
};
const Column Columns[] = {{0, 15, false}, {17, 30, false}, {49, 90, false}, {141, 20, true}, {163, 33, true}};

std::map<std::string, double> g_seconds;
std::map<std::string, double> g_peakHeap;

// Bytes allocated now, small blocks and large mapped ones together.
double heapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return static_cast<double>(info.uordblks + info.hblkhd);
}

MemoryRowSource& rows()
{
    static MemoryRowSource* source = [] {
        auto* s = new MemoryRowSource({QStringLiteral("CODIGO"), QStringLiteral("ARTIGO"), QStringLiteral("DESIGNACAO"),
                                       QStringLiteral("GRAMAGEM"), QStringLiteral("PRECO")});
        for (int i = 1; i <= Rows; ++i)
            s->append({i, QStringLiteral("TN%1").arg(i, 6, 10, QLatin1Char('0')),
                       QStringLiteral("Tinta de impressão n.º %1").arg(i), 0.5 * (i % 700), 0.01 * i});
        return s;
    }();
    return *source;
}

void buildReport(Report& report)
{
    report.setTitle(Title);
    report.page().setMargins(7, 10, 7, 10);
    Band& header = report.pageHeader().setHeight(12);
    header.addSystem(SystemElement::Field::ReportTitle, {0, 0, 196, 6}).setAlignment(Qt::AlignHCenter);
    header.addText(QStringLiteral("Ord.Numérica"), {160, 6, 36, 5});
    Band& columns = report.columnHeader().setHeight(6);
    columns.setColor(QColor(Qt::lightGray));
    for (int c = 0; c < 5; ++c)
        columns.addText(Headings[c], {Columns[c].left, 0, Columns[c].width, 5})
            .setAlignment(Columns[c].right ? Qt::AlignRight : Qt::AlignLeft);
    DataBand& detail = report.detail();
    detail.setSource(&rows());
    detail.setHeight(5);
    const FieldFormat formats[] = {{}, {}, {}, FieldFormat::pattern(QStringLiteral("#,##0.0")), FieldFormat::money(2)};
    const char* fields[] = {"CODIGO", "ARTIGO", "DESIGNACAO", "GRAMAGEM", "PRECO"};
    for (int c = 0; c < 5; ++c)
        detail.addField(QString::fromLatin1(fields[c]), {Columns[c].left, 0, Columns[c].width, 5}, formats[c])
            .setAlignment(Columns[c].right ? Qt::AlignRight : Qt::AlignLeft);
    Band& footer = report.pageFooter().setHeight(10);
    footer.addShape(ShapeElement::Shape::HorizontalLine, {0, 0, 196, 1});
    footer.addText(Company, {0, 2, 100, 4});
    footer.addSystem(SystemElement::Field::PageNumber, {160, 2, 36, 4}, QStringLiteral("Página : "))
        .setAlignment(Qt::AlignRight);
}

void BM_ReportToPdf(benchmark::State& state)
{
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        const double base = heapInUse();
        double peak = 0;
        Report report;
        buildReport(report);
        PdfWriter pdf(dir.filePath(QStringLiteral("relatorio.pdf")), Title);
        const PageSink write = pdf.sink();
        pages = ReportEngine::run(report, [&](RenderedPage&& page) {
            peak = std::max(peak, heapInUse() - base);
            write(std::move(page));
        });
        pdf.finish();
        g_peakHeap["report"] = std::max(g_peakHeap["report"], peak);
    }
    state.counters["pages"] = pages;
    state.counters["rows_per_s"] = benchmark::Counter(Rows, benchmark::Counter::kIsIterationInvariantRate);
}

// The same run kept in memory, as the preview holds it.
void BM_ReportToDocument(benchmark::State& state)
{
    for (auto _ : state) {
        const double base = heapInUse();
        Report report;
        buildReport(report);
        const Document document = ReportEngine::render(report);
        g_peakHeap["document"] = std::max(g_peakHeap["document"], heapInUse() - base);
        state.counters["pages"] = document.pageCount();
    }
}

// What the report draws, drawn directly: the same texts, fonts, positions and page breaks.
void BM_RawPdfWriter(benchmark::State& state)
{
    QTemporaryDir dir;
    int pages = 0;
    for (auto _ : state) {
        const double base = heapInUse();
        double peak = 0;
        QPdfWriter writer(dir.filePath(QStringLiteral("raw.pdf")));
        writer.setResolution(1200);
        writer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()));
        writer.setTitle(Title);
        QPainter painter(&writer);
        painter.setRenderHint(QPainter::Antialiasing, true);
        const double s = 1200 / 25.4;
        auto text = [&](double x, double y, double w, double h, int flags, const QString& t) {
            painter.drawText(QRectF(x * s, y * s, w * s, h * s), flags | Qt::TextDontClip, t);
        };
        QFont font(QStringLiteral("Liberation Sans"));
        font.setPointSizeF(10);
        painter.setFont(font);
        painter.setPen(Qt::black);
        const double left = 7;
        const double bottom = 297 - 10 - 10;
        MemoryRowSource& source = rows();
        bool more = source.first();
        int page = 0;
        while (more) {
            if (page++ > 0)
                writer.newPage();
            text(left, 10, 196, 6, Qt::AlignHCenter, Title);
            text(left + 160, 16, 36, 5, Qt::AlignLeft, QStringLiteral("Ord.Numérica"));
            painter.fillRect(QRectF(left * s, 22 * s, 196 * s, 6 * s), Qt::lightGray);
            for (int c = 0; c < 5; ++c)
                text(left + Columns[c].left, 22, Columns[c].width, 5, Columns[c].right ? Qt::AlignRight : Qt::AlignLeft,
                     Headings[c]);
            for (double y = 28; more && y + 5 <= bottom; y += 5) {
                const QString cells[] = {QString::number(source.value(0).toInt()), source.value(1).toString(),
                                         source.value(2).toString(),
                                         kv::text::formatted(source.value(3).toDouble(), QStringLiteral("#,##0.0")),
                                         kv::text::money(source.value(4).toDouble(), 2)};
                for (int c = 0; c < 5; ++c)
                    text(left + Columns[c].left, y, Columns[c].width, 5,
                         Columns[c].right ? Qt::AlignRight : Qt::AlignLeft, cells[c]);
                more = source.next();
            }
            QPen pen(Qt::black);
            pen.setWidthF(0.2 * s);
            painter.setPen(pen);
            painter.drawLine(QPointF(left * s, (bottom + 0.5) * s), QPointF((left + 196) * s, (bottom + 0.5) * s));
            painter.setPen(Qt::black);
            text(left, bottom + 2, 100, 4, Qt::AlignLeft, Company);
            text(left + 160, bottom + 2, 36, 4, Qt::AlignRight, QStringLiteral("Página : %1").arg(page));
            peak = std::max(peak, heapInUse() - base);
        }
        painter.end();
        pages = page;
        g_peakHeap["raw"] = std::max(g_peakHeap["raw"], peak);
    }
    state.counters["pages"] = pages;
    state.counters["rows_per_s"] = benchmark::Counter(Rows, benchmark::Counter::kIsIterationInvariantRate);
}

BENCHMARK(BM_ReportToPdf)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_RawPdfWriter)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_ReportToDocument)->Unit(benchmark::kMillisecond)->Iterations(1);

// Keeps each benchmark's real time per iteration for the ratio.
class Recorder : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            g_seconds[run.benchmark_name()] = run.GetAdjustedRealTime() / 1000.0;
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    rows(); // built once, outside the timings
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    const double report = g_seconds["BM_ReportToPdf/iterations:3"];
    const double raw = g_seconds["BM_RawPdfWriter/iterations:3"];
    if (report > 0 && raw > 0)
        std::printf("report/raw: %.2fx (%.2f s against %.2f s for %d rows)\n", report / raw, report, raw, Rows);
    std::printf("peak heap during the run: report %.1f MB, raw %.1f MB; all pages kept for a preview %.1f MB\n",
                g_peakHeap["report"] / 1048576.0, g_peakHeap["raw"] / 1048576.0, g_peakHeap["document"] / 1048576.0);
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    std::printf("peak resident size of the process (rows, both runs): %.1f MB\n", usage.ru_maxrss / 1024.0);
    return 0;
}
