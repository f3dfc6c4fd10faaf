#include "imaging/core/DibConversions.h"

#include "imaging/dib/DibImage.h"

#include <QFile>

namespace kv::imaging {

void freeDib(DibHandle dib)
{
    if (dibSize(dib) > 1)
        dibFree(dib);
}

DibHandle increaseDibColors(ImagingLibraries& libs, DibHandle dib, int bits)
{
    TImgDib reader;
    reader.ownsMemory = false;
    reader.attach(dib);
    const int depth = reader.bitCount();
    reader.release();
    if (depth == 24 || bits <= depth)
        return nullptr;
    libs.setProgressCaption(QStringLiteral("Increasing colors "));
    switch (depth) {
    case 1: return libs.convertDepth(bits == 4 ? "DIB1to4" : bits == 8 ? "DIB1To8" : "DIB1To24", dib);
    case 4: return libs.convertDepth(bits == 8 ? "DIB4To8" : "DIB4To24", dib);
    case 8: return expandDib8To24(dib);
    case 16: return libs.convertDepth("DIB16To24", dib);
    default: return nullptr;
    }
}

DibHandle reduceDibColors(ImagingLibraries& libs, DibHandle dib, int bits, bool dither, abi::ProgressProc progress,
                          void* control)
{
    if (!dib || !libs.getEffectsProc("ReduceDib"))
        return nullptr;
    libs.setProgressCaption(QStringLiteral("Reducing colors "));
    TImgDib reader;
    reader.ownsMemory = false;
    reader.attach(dib);
    const int depth = reader.bitCount();
    reader.release();
    if (depth == 32)
        return libs.convertDepth("DIB32To24", dib);
    return libs.reduceDib(dib, bits, dither, control, progress);
}

DibHandle expandDib8To24(DibHandle dib, const ScreenProfile& screen)
{
    if (dibSize(dib) == 0)
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    TImgDib source;
    source.ownsMemory = false;
    source.attach(dib);
    if (source.bitCount() != 8)
        throw ErrorInvalid(QStringLiteral("Input image is not 8 bit"));
    const int w = source.dibWidth();
    const int h = source.dibHeight();
    TImgDib target;
    target.ownsMemory = false;
    target.createNew(nullptr, w, h, 24);
    Palette palette = source.dibPalette(screen);
    if (palette.isEmpty())
        for (int i = 0; i < 256; ++i)
            palette << qRgb(i, i, i); // the stock palette of a palette-less bitmap
    const int sourceRow = TImgDib::rowBytes(w, 8);
    const int targetRow = TImgDib::rowBytes(w, 24);
    const unsigned char* in = source.pixelBits();
    unsigned char* out = target.pixelBits();
    for (int r = 0; r < h; ++r) {
        const unsigned char* s = in + std::size_t(r) * sourceRow;
        unsigned char* t = out + std::size_t(r) * targetRow;
        for (int x = 0; x < w; ++x) {
            const QRgb c = s[x] < palette.size() ? palette[s[x]] : qRgb(0, 0, 0);
            t[3 * x] = qBlue(c);
            t[3 * x + 1] = qGreen(c);
            t[3 * x + 2] = qRed(c);
        }
    }
    source.release();
    return target.release();
}

DibHandle bitmapToDib(const QImage& picture)
{
    if (picture.isNull())
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    return dibFromImage(picture, 0, false);
}

bool dibToBitmap(ImagingLibraries& libs, DibHandle dib, int bits, bool dither, abi::ProgressProc progress,
                 void* control, QImage& out)
{
    if (dibSize(dib) == 0)
        return false;
    TImgDib wrapper;
    wrapper.ownsMemory = false;
    wrapper.attach(dib);
    const int compression = wrapper.dibCompression();
    const int depth = wrapper.bitCount();
    if (compression == 1 || compression == 2) {
        DibHolder bitmap(libs.dibToDdb(wrapper.dib()));
        if (!bitmap.get())
            return false;
        out = imageFromDib(bitmap.get());
        return !out.isNull();
    }
    DibHolder changed;
    if (bits < depth)
        changed.reset(reduceDibColors(libs, dib, bits, dither, progress, control));
    else if (bits > depth)
        changed.reset(increaseDibColors(libs, dib, bits));
    if (bits < depth && !changed.get())
        return false; // a reduction that yields nothing leaves nothing to show
    wrapper.release();
    QImage image = imageFromDib(changed.get() ? changed.get() : dib);
    if (image.isNull()) {
        libs.setImagingError(abi::kCorruptPicture);
        return false;
    }
    out = image;
    return true;
}

bool loadBitmapResource(const QString& name, QImage& out)
{
    const QString path = QStringLiteral(":/bitmaps/") + name + QStringLiteral(".bmp");
    if (!QFile::exists(path))
        return false;
    QImage image(path, "BMP");
    if (image.isNull())
        return false;
    out = image;
    return true;
}

} // namespace kv::imaging
