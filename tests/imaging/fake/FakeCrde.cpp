// Stands in for the imaging library in the binding's tests.
#include "imaging/dib/DibImage.h"
#include "imaging/dib/ImagingEntryPoints.h"

#include <QByteArray>
#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <string>

#define FAKE_EXPORT extern "C" __attribute__((visibility("default")))

using namespace kv::imaging;

namespace {

std::int16_t g_result = 1;
bool g_throw = false;
int g_calls = 0;
void (*g_reentry)() = nullptr;

// Each load of the library counts once, across unloads.
struct LoadCounter {
    LoadCounter()
    {
        const int loads = qEnvironmentVariableIntValue("KV_FAKE_CRDE_LOADS") + 1;
        qputenv("KV_FAKE_CRDE_LOADS", QByteArray::number(loads));
    }
} counter;

std::int16_t answer(DibHandle* out = nullptr)
{
    ++g_calls;
    if (g_throw)
        throw std::runtime_error("inside the library");
    if (out && g_result > 0) {
        QImage image(4, 4, QImage::Format_RGB32);
        image.fill(Qt::red);
        *out = dibFromImage(image, 24, false);
    }
    return g_result;
}

} // namespace

FAKE_EXPORT void fake_set_result(std::int16_t result) { g_result = result; }
FAKE_EXPORT void fake_set_throw(bool value) { g_throw = value; }
FAKE_EXPORT int fake_calls() { return g_calls; }
FAKE_EXPORT void fake_set_reentry(void (*reentry)()) { g_reentry = reentry; }

FAKE_EXPORT std::int32_t crde_load_string(std::uint32_t id, char* buffer, std::int32_t size)
{
    const std::string text = "resource " + std::to_string(id);
    std::strncpy(buffer, text.c_str(), std::size_t(size - 1));
    buffer[size - 1] = '\0';
    return std::int32_t(text.size());
}

FAKE_EXPORT std::int16_t fileinfo(const char*, char* format, std::int32_t* w, std::int32_t* h, std::int32_t* bits,
                                  std::int32_t*, std::int32_t*, char* compression, std::int16_t)
{
    std::strcpy(format, "BMP");
    std::strcpy(compression, "NONE");
    *w = *h = 4;
    *bits = 24;
    return answer();
}

FAKE_EXPORT std::int16_t rdbmpfiledib(const char*, std::int16_t, std::int16_t, DibHandle* out, void*, void*,
                                      abi::ProgressProc, std::int16_t)
{
    return answer(out);
}

FAKE_EXPORT std::int16_t rdjpgfiledib(const char*, std::int16_t, std::int16_t, std::int16_t, DibHandle* out, void*,
                                      void*, abi::ProgressProc, std::int16_t)
{
    return answer(out);
}

FAKE_EXPORT std::int16_t aquiredibimage(void*, std::int16_t, std::int16_t, std::int16_t, DibHandle* out, void*, void*,
                                        abi::ProgressProc, std::int16_t)
{
    if (g_reentry)
        g_reentry();
    const std::int16_t result = answer(out);
    return result > 0 ? std::int16_t(0) : result;
}

FAKE_EXPORT std::int16_t selectsource(void*, std::int16_t)
{
    if (g_reentry)
        g_reentry();
    return answer() > 0 ? 0 : g_result;
}

FAKE_EXPORT void InitAnnotation(void*, void*, void*, abi::AnnoDoneProc, abi::AnnoDrawProc, abi::AnnoDrawProc,
                                abi::AnnoBeforeDrawProc, abi::AnnoAfterDrawProc, const char*)
{
}
// MouseMon is left out on purpose: the binding must name it in its message.
