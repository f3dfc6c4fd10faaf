// An A4 page scanned at 300 dpi (2480 x 3508, 26 MB at 24 bits) loaded into a
// stretched thumbnail and into the zoomed large view, against a bare
// QImageReader::read and one drawImage; one grab-hand step against a bare
// drawImage of the same source rectangle.

#include "imaging/forms/TPictureBox.h"

#include <QApplication>
#include <QImageReader>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>

namespace {

QTemporaryDir* g_dir = nullptr;
std::map<std::string, double> g_seconds;

QString pagePath(const char* format) { return g_dir->filePath(QStringLiteral("page.") + QLatin1String(format)); }

void writePages()
{
    QImage page(2480, 3508, QImage::Format_RGB32);
    QPainter p(&page);
    QLinearGradient g(0, 0, 2480, 3508);
    g.setColorAt(0, QColor(30, 60, 140));
    g.setColorAt(1, QColor(240, 220, 120));
    p.fillRect(page.rect(), g);
    p.setPen(QPen(Qt::white, 6));
    for (int x = 0; x < 2480; x += 120)
        p.drawLine(x, 0, x, 3508);
    p.end();
    page.save(pagePath("bmp"), "BMP");
    page.save(pagePath("jpg"), "JPEG", 85);
}

// The control's own libraries, beside this program in bin/.
kv::imaging::ImagingLibraries& libraries()
{
    static kv::imaging::ImagingLibraries libs;
    return libs;
}

void showInto(const char* format, bool thumbnail, benchmark::State& state)
{
    kv::imaging::TPictureBox box(nullptr, &libraries());
    box.resize(thumbnail ? QSize(105, 105) : QSize(480, 262));
    box.setStretch(thumbnail);
    box.show();
    box.loaded();
    QImage target(box.size(), QImage::Format_RGB32);
    for (auto _ : state) {
        box.setImageName(pagePath(format));
        box.render(&target);
        benchmark::DoNotOptimize(target.bits());
    }
}

void bareReadAndDraw(const char* format, bool thumbnail, benchmark::State& state)
{
    const QSize size = thumbnail ? QSize(105, 105) : QSize(480, 262);
    QImage target(size, QImage::Format_RGB32);
    for (auto _ : state) {
        QImageReader reader(pagePath(format));
        const QImage page = reader.read();
        QPainter p(&target);
        if (thumbnail)
            p.drawImage(target.rect(), page);
        else
            p.drawImage(target.rect(), page, target.rect());
        p.end();
        benchmark::DoNotOptimize(target.bits());
    }
}

void BM_ThumbnailBmp(benchmark::State& s) { showInto("bmp", true, s); }
void BM_ThumbnailJpeg(benchmark::State& s) { showInto("jpg", true, s); }
void BM_LargeViewBmp(benchmark::State& s) { showInto("bmp", false, s); }
void BM_LargeViewJpeg(benchmark::State& s) { showInto("jpg", false, s); }
void BM_BareThumbnailBmp(benchmark::State& s) { bareReadAndDraw("bmp", true, s); }
void BM_BareThumbnailJpeg(benchmark::State& s) { bareReadAndDraw("jpg", true, s); }
void BM_BareLargeViewBmp(benchmark::State& s) { bareReadAndDraw("bmp", false, s); }
void BM_BareLargeViewJpeg(benchmark::State& s) { bareReadAndDraw("jpg", false, s); }

// One mouse move of the grab hand over the page at zoom 4, painted at once.
void BM_GrabStep(benchmark::State& state)
{
    kv::imaging::TPictureBox box(nullptr, &libraries());
    box.resize(480, 262);
    box.show();
    box.loaded();
    box.setImageName(pagePath("bmp"));
    box.zoomOut(4.0);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(240, 130), QPointF(240, 130), Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(&box, &press);
    int x = 240;
    int step = -3;
    for (auto _ : state) {
        if (x < 60 || x > 420)
            step = -step;
        x += step;
        QMouseEvent move(QEvent::MouseMove, QPointF(x, 130), QPointF(x, 130), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(&box, &move);
    }
}

// The same source rectangle drawn once into a target of the view's size.
void BM_BareSourceRectangle(benchmark::State& state)
{
    const QImage page = QImageReader(pagePath("bmp")).read().convertToFormat(QImage::Format_RGB32);
    QImage target(QSize(480, 262), QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter p(&target);
        p.drawImage(QRectF(0, 0, 468, 250), page, QRectF(600, 600, 117, 62.5));
        p.end();
        benchmark::DoNotOptimize(target.bits());
    }
}

BENCHMARK(BM_ThumbnailBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareThumbnailBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ThumbnailJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareThumbnailJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeViewBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLargeViewBmp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LargeViewJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareLargeViewJpeg)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GrabStep)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_BareSourceRectangle)->Unit(benchmark::kMicrosecond);

class Recorder : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            g_seconds[run.benchmark_name()] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    QTemporaryDir dir;
    g_dir = &dir;
    writePages();
    Recorder recorder;
    benchmark::RunSpecifiedBenchmarks(&recorder);
    benchmark::Shutdown();
    const std::pair<const char*, const char*> pairs[] = {{"BM_ThumbnailBmp", "BM_BareThumbnailBmp"},
                                                         {"BM_ThumbnailJpeg", "BM_BareThumbnailJpeg"},
                                                         {"BM_LargeViewBmp", "BM_BareLargeViewBmp"},
                                                         {"BM_LargeViewJpeg", "BM_BareLargeViewJpeg"},
                                                         {"BM_GrabStep", "BM_BareSourceRectangle"}};
    for (const auto& [control, bare] : pairs)
        if (g_seconds[bare] > 0)
            std::printf("%s / %s: %.2fx\n", control, bare, g_seconds[control] / g_seconds[bare]);
    return 0;
}
