// 50 MB from a local HTTP server into a file: through the updater's transfer
// component (worker thread, a progress event on the main thread per block)
// against a bare libcurl transfer of the same URL in the same run.

#include "updater/core/TupCustomHTTP.h"
#include "updater/LocalHttpServer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <benchmark/benchmark.h>
#include <curl/curl.h>

#include <cstdio>

namespace {

constexpr int Size = 50 * 1024 * 1024;

struct Fixture {
    kv::test::LocalHttpServer server;
    QTemporaryDir dir;
    QString url;
    Fixture()
    {
        server.serve(QStringLiteral("/big.bin"), kv::test::LocalHttpServer::Response(200, QByteArray(Size, 'x')));
        url = server.url(QStringLiteral("/big.bin"));
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_UpdaterDownload(benchmark::State& state)
{
    Fixture& f = fixture();
    const QString output = f.dir.filePath(QStringLiteral("component.uTMP"));
    for (auto _ : state) {
        kv::updater::TupCustomHTTP http;
        bool done = false;
        qint64 size = 0;
        int blocks = 0;
        http.URL = f.url;
        http.OutputFileName = output;
        http.OnTransferProgress = [&](const kv::updater::TupProgress&) { ++blocks; };
        http.OnDone = [&](const QString&, const QByteArray&, qint64 s) {
            size = s;
            done = true;
        };
        http.OnConnectionLost = [&](const QString&, qint64, qint64) { done = true; };
        http.OnNoResponse = [&] { done = true; };
        http.OnHTTPError = [&](int) { done = true; };
        http.StartGet();
        while (!done)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        if (size != Size)
            state.SkipWithError("short transfer");
        state.counters["blocks"] = blocks;
    }
    state.SetBytesProcessed(state.iterations() * Size);
}

size_t toFile(char* data, size_t size, size_t count, void* file)
{
    return std::fwrite(data, size, count, static_cast<std::FILE*>(file)) * size;
}

void BM_BareCurl(benchmark::State& state)
{
    Fixture& f = fixture();
    const QByteArray output = QFile::encodeName(f.dir.filePath(QStringLiteral("bare.bin")));
    const QByteArray url = f.url.toUtf8();
    for (auto _ : state) {
        std::FILE* file = std::fopen(output.constData(), "wb");
        CURL* curl = curl_easy_init();
        curl_easy_setopt(curl, CURLOPT_URL, url.constData());
        curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, toFile);
        curl_easy_setopt(curl, CURLOPT_WRITEDATA, file);
        curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, 4096L);
        if (curl_easy_perform(curl) != CURLE_OK)
            state.SkipWithError("transfer failed");
        curl_easy_cleanup(curl);
        std::fclose(file);
    }
    state.SetBytesProcessed(state.iterations() * Size);
}

} // namespace

BENCHMARK(BM_UpdaterDownload)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);
BENCHMARK(BM_BareCurl)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
