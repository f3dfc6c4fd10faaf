// The imaging library: picture readers over QImageReader, the BMP writer,
// scanning through SANE, colour-depth converters, the conversion of
// run-length-encoded bitmaps and the annotation entry points (which succeed
// and do nothing: no form of the system uses annotations). No state of a
// picture control lives here.

#include "imaging/dib/DibImage.h"
#include "imaging/dib/ImagingEntryPoints.h"
#include "imaging/dib/TImgDib.h"
#include "imaging/libs/crde/PictureFiles.h"
#include "imaging/libs/crde/SaneScanner.h"

#include <QFile>
#include <QSaveFile>
#include <QWidget>

#include <cstring>

#define CRDE_EXPORT extern "C" __attribute__((visibility("default")))

using namespace kv::imaging;
using kv::imaging::abi::ProgressProc;

namespace {

QString pathText(const char* path) { return path ? QString::fromUtf8(path) : QString(); }

void copyText(char* target, const QString& text)
{
    if (!target)
        return;
    const QByteArray bytes = text.toLatin1().left(abi::kInfoTextSize - 1);
    std::memcpy(target, bytes.constData(), std::size_t(bytes.size()));
    target[bytes.size()] = '\0';
}

// The progress callback answers 0 when the user asked to stop.
bool keepGoing(ProgressProc progress, void* control, int percent)
{
    return !progress || progress(std::int16_t(percent), control) != 0;
}

// Reads the file (content decides the format) into a packed bitmap at the
// depth asked (0: the picture's own).
std::int16_t readInto(const QString& path, int page, int bits, bool dither, DibHandle* out, void* control,
                      ProgressProc progress)
{
    if (!out)
        return abi::kBadArgument;
    *out = nullptr;
    if (!QFile::exists(path))
        return abi::kCannotOpen;
    const crde::PictureFileInfo info = crde::inspectPicture(path, page);
    if (!info.format.isEmpty() && !info.readable && !info.corrupt)
        return abi::kNoReaderOnThisSystem;
    if (info.format == QLatin1String("TIF") && page > info.pageCount)
        return abi::kPageOutOfRange;
    if (!keepGoing(progress, control, 0))
        return abi::kCancelled;
    const QImage image = crde::readPicture(path, page);
    if (image.isNull())
        return info.format.isEmpty() && !info.corrupt ? abi::kNoReaderOnThisSystem : abi::kCorruptPicture;
    try {
        *out = dibFromImage(image, bits, dither);
    } catch (const ErrorInvalid&) {
        return abi::kOutOfMemory;
    }
    if (!keepGoing(progress, control, 100)) {
        dibFree(*out);
        *out = nullptr;
        return abi::kCancelled;
    }
    return 1;
}

DibHandle convertDepth(DibHandle dib, int bits)
{
    const QImage image = imageFromDib(dib);
    if (image.isNull())
        return nullptr;
    try {
        return dibFromImage(image, bits, false);
    } catch (const ErrorInvalid&) {
        return nullptr;
    }
}

const char* errorText(int id)
{
    switch (std::int16_t(id)) {
    case abi::kUnknownError: return "Unknown error in imaging library";
    case abi::kCannotOpen: return "Can't open the file";
    case abi::kNoReaderOnThisSystem: return "This picture format can't be read on this system";
    case abi::kCorruptPicture: return "The picture file is damaged or not a picture of its kind";
    case abi::kOutOfMemory: return "Not enough memory for the picture";
    case abi::kCannotWrite: return "Can't write the file";
    case abi::kCancelled: return "Cancelled by the user";
    case abi::kNoScanner: return "No scanner found";
    case abi::kScanFailed: return "The scanner reported an error";
    case abi::kPageOutOfRange: return "The file has no such page";
    case abi::kEmptyImage: return "Input image is empty";
    case abi::kBadArgument: return "Invalid argument";
    default: return nullptr;
    }
}

} // namespace

CRDE_EXPORT std::int32_t crde_load_string(std::uint32_t id, char* buffer, std::int32_t size)
{
    if (!buffer || size <= 0)
        return 0;
    const char* text = id <= 0xFFFF ? errorText(int(std::int16_t(std::uint16_t(id)))) : nullptr;
    if (!text) {
        buffer[0] = '\0';
        return 0;
    }
    const auto length = std::int32_t(qMin<std::size_t>(std::strlen(text), std::size_t(size - 1)));
    std::memcpy(buffer, text, std::size_t(length));
    buffer[length] = '\0';
    return length;
}

CRDE_EXPORT std::int16_t fileinfo(const char* path, char* format, std::int32_t* width, std::int32_t* height,
                                  std::int32_t* bits, std::int32_t* further1, std::int32_t* further2, char* compression,
                                  std::int16_t)
{
    const QString file = pathText(path);
    if (!QFile::exists(file))
        return abi::kCannotOpen;
    const crde::PictureFileInfo info = crde::inspectPicture(file);
    if (info.format.isEmpty())
        return abi::kNoReaderOnThisSystem;
    if (!info.readable)
        return info.corrupt ? abi::kCorruptPicture : abi::kNoReaderOnThisSystem;
    copyText(format, info.format);
    copyText(compression, info.compression);
    if (width)
        *width = info.width;
    if (height)
        *height = info.height;
    if (bits)
        *bits = info.bits;
    if (further1)
        *further1 = info.pageCount;
    if (further2)
        *further2 = 0;
    return 1;
}

CRDE_EXPORT std::int16_t rdbmpfiledib(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out, void*,
                                      void* control, ProgressProc progress, std::int16_t)
{
    return readInto(pathText(path), 0, bits, dither != 0, out, control, progress);
}

CRDE_EXPORT std::int16_t rdpngfiledib(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out, void*,
                                      void* control, ProgressProc progress, std::int16_t)
{
    return readInto(pathText(path), 0, bits, dither != 0, out, control, progress);
}

CRDE_EXPORT std::int16_t rdpcxfiledib(const char*, std::int16_t, std::int16_t, DibHandle* out, void*, void*,
                                      ProgressProc, std::int16_t)
{
    if (out)
        *out = nullptr;
    return abi::kNoReaderOnThisSystem;
}

CRDE_EXPORT std::int16_t rdjpgfiledib(const char* path, std::int16_t bits, std::int16_t, std::int16_t dither,
                                      DibHandle* out, void*, void* control, ProgressProc progress, std::int16_t)
{
    return readInto(pathText(path), 0, bits, dither != 0, out, control, progress);
}

CRDE_EXPORT std::int16_t rdgiffiledib(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out, void*,
                                      void* control, ProgressProc progress, std::int16_t, std::int32_t* further)
{
    if (further)
        *further = 0;
    return readInto(pathText(path), 0, bits, dither != 0, out, control, progress);
}

CRDE_EXPORT std::int16_t readtiffiledib(const char* path, std::int16_t bits, std::int16_t dither, std::int16_t page,
                                        DibHandle* out, void* control, ProgressProc progress, std::int16_t)
{
    return readInto(pathText(path), page, bits, dither != 0, out, control, progress);
}

CRDE_EXPORT std::int16_t readtgafiledib(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out,
                                        void* control, ProgressProc progress, std::int16_t)
{
    return readInto(pathText(path), 0, bits, dither != 0, out, control, progress);
}

CRDE_EXPORT std::int16_t readepsfiledib(const char*, std::int16_t, std::int16_t, DibHandle* out, void*, ProgressProc,
                                        std::int16_t)
{
    if (out)
        *out = nullptr;
    return abi::kNoReaderOnThisSystem;
}

CRDE_EXPORT std::int16_t readpcdfiledib(const char*, std::int16_t, std::int16_t, std::int16_t, DibHandle* out, void*,
                                        ProgressProc, std::int16_t)
{
    if (out)
        *out = nullptr;
    return abi::kNoReaderOnThisSystem;
}

CRDE_EXPORT std::int16_t readdxftoddb(const char*, std::int16_t, std::int16_t, DibHandle* out, void**, void*,
                                      ProgressProc, std::int16_t)
{
    if (out)
        *out = nullptr;
    return abi::kNoReaderOnThisSystem;
}

CRDE_EXPORT std::int16_t getinfo(const char* path, std::int16_t page, std::int32_t* width, std::int32_t* height,
                                 std::int16_t* compression, std::int32_t* further, std::int32_t* pageCount,
                                 std::int32_t* bits)
{
    const QString file = pathText(path);
    if (!QFile::exists(file))
        return abi::kCannotOpen;
    crde::PictureFileInfo info = crde::inspectPicture(file, page);
    if (info.format != QLatin1String("TIF"))
        return abi::kCorruptPicture;
    if (page > info.pageCount)
        info = crde::inspectPicture(file, info.pageCount);
    if (width)
        *width = info.width;
    if (height)
        *height = info.height;
    if (compression)
        *compression = std::int16_t(info.compressionCode);
    if (further)
        *further = 0;
    if (pageCount)
        *pageCount = info.pageCount;
    if (bits)
        *bits = info.bits;
    return info.readable ? std::int16_t(1) : std::int16_t(abi::kCorruptPicture);
}

CRDE_EXPORT std::int16_t getdxfinfo(const char*, std::int32_t* width, std::int32_t* height, std::int32_t* bits)
{
    if (width)
        *width = 0;
    if (height)
        *height = 0;
    if (bits)
        *bits = 0;
    return abi::kNoReaderOnThisSystem;
}

// Writes beside the target and renames over it only when the whole file is
// written, so a failed save never destroys the picture already there.
CRDE_EXPORT std::int16_t wrbmpfiledib(const char* path, std::int16_t bits, DibHandle dib, void* control,
                                      ProgressProc progress, std::int16_t)
{
    if (dibSize(dib) <= 4)
        return abi::kEmptyImage;
    const QImage image = imageFromDib(dib);
    if (image.isNull())
        return abi::kCorruptPicture;
    if (!keepGoing(progress, control, 0))
        return abi::kCancelled;
    DibHolder packed;
    try {
        packed.reset(dibFromImage(image, bits, false));
    } catch (const ErrorInvalid&) {
        return abi::kOutOfMemory;
    }
    QSaveFile file(pathText(path));
    if (!file.open(QIODevice::WriteOnly))
        return abi::kCannotWrite;
    const QByteArray bytes = bmpFileBytes(dibBytes(packed.get()), dibSize(packed.get()));
    if (file.write(bytes) != bytes.size() || !file.commit())
        return abi::kCannotWrite;
    keepGoing(progress, control, 100);
    return 1;
}

CRDE_EXPORT std::int16_t aquiredibimage(void*, std::int16_t bits, std::int16_t dither, std::int16_t, DibHandle* out,
                                        void*, void* control, ProgressProc progress, std::int16_t)
{
    if (!out)
        return abi::kBadArgument;
    *out = nullptr;
    const QString mode = bits == 1   ? QStringLiteral("Lineart")
                         : bits == 8 ? QStringLiteral("Gray")
                                     : QStringLiteral("Color");
    QImage page;
    const std::int16_t result = crde::scanPage(mode, page, control, progress);
    if (result <= 0)
        return result;
    try {
        *out = dibFromImage(page, bits, dither != 0);
    } catch (const ErrorInvalid&) {
        return abi::kOutOfMemory;
    }
    return 0;
}

CRDE_EXPORT std::int16_t selectsource(void* parentWindow, std::int16_t)
{
    const std::int16_t result = crde::chooseScanner(static_cast<QWidget*>(parentWindow));
    return result > 0 ? std::int16_t(0) : result;
}

CRDE_EXPORT DibHandle DIB1to4(DibHandle dib) { return convertDepth(dib, 4); }
CRDE_EXPORT DibHandle DIB1To8(DibHandle dib) { return convertDepth(dib, 8); }
CRDE_EXPORT DibHandle DIB1To24(DibHandle dib) { return convertDepth(dib, 24); }
CRDE_EXPORT DibHandle DIB4To8(DibHandle dib) { return convertDepth(dib, 8); }
CRDE_EXPORT DibHandle DIB4To24(DibHandle dib) { return convertDepth(dib, 24); }
CRDE_EXPORT DibHandle DIB16To24(DibHandle dib) { return convertDepth(dib, 24); }
CRDE_EXPORT DibHandle DIB32To24(DibHandle dib) { return convertDepth(dib, 24); }

// A run-length-encoded packed bitmap behind a BMP file header is a BMP file;
// the result is the same picture uncompressed, at its own depth.
CRDE_EXPORT void DibtoDdb(unsigned char* lockedDib, DibHandle* outBitmap, void** outPalette)
{
    if (outPalette)
        *outPalette = nullptr;
    if (!outBitmap)
        return;
    *outBitmap = nullptr;
    if (!lockedDib)
        return;
    const int colours = TImgDib::field32(lockedDib, 32) != 0 ? TImgDib::field32(lockedDib, 32)
                                                             : TImgDib::colorsForDepth(TImgDib::field16(lockedDib, 14));
    const std::size_t size = 40 + 4 * std::size_t(colours) + std::size_t(TImgDib::field32(lockedDib, 20));
    const QImage image = imageFromDib(lockedDib, size);
    if (image.isNull())
        return;
    try {
        *outBitmap = dibFromImage(image, 0, false);
    } catch (const ErrorInvalid&) {
        *outBitmap = nullptr;
    }
}

CRDE_EXPORT void InitAnnotation(void*, void*, void*, abi::AnnoDoneProc, abi::AnnoDrawProc, abi::AnnoDrawProc,
                                abi::AnnoBeforeDrawProc, abi::AnnoAfterDrawProc, const char*)
{
}
CRDE_EXPORT void DestroyAnnotation(void*) {}
CRDE_EXPORT void ClearAnnotation(void*) {}
CRDE_EXPORT void RubberBandOFF(void*) {}
CRDE_EXPORT void DrawAnnotation(void*, double, std::int32_t, std::int32_t, std::int32_t, std::int32_t, std::int32_t,
                                std::int16_t)
{
}
CRDE_EXPORT void MenuMsg(void*, std::int32_t) {}
CRDE_EXPORT std::int32_t LoadAnnotation(void*, std::int16_t, const char*) { return 0; }
CRDE_EXPORT std::int32_t SaveAnnotation(void*, std::int16_t, const char*) { return 0; }
CRDE_EXPORT void MouseMon(void*, std::uint32_t, std::int32_t, std::int32_t) {}
