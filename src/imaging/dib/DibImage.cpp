#include "imaging/dib/DibImage.h"

#include "imaging/dib/TImgDib.h"

#include <QBuffer>
#include <QImageReader>
#include <cstring>

namespace kv::imaging {
namespace {

// The 16 colours of a 16-colour display, used to reduce to 4 bits.
const QList<QRgb>& vgaColours()
{
    static const QList<QRgb> colours = {qRgb(0, 0, 0),       qRgb(128, 0, 0),   qRgb(0, 128, 0),   qRgb(128, 128, 0),
                                        qRgb(0, 0, 128),     qRgb(128, 0, 128), qRgb(0, 128, 128), qRgb(192, 192, 192),
                                        qRgb(128, 128, 128), qRgb(255, 0, 0),   qRgb(0, 255, 0),   qRgb(255, 255, 0),
                                        qRgb(0, 0, 255),     qRgb(255, 0, 255), qRgb(0, 255, 255), qRgb(255, 255, 255)};
    return colours;
}

Qt::ImageConversionFlags flags(bool dither)
{
    return dither ? (Qt::DiffuseDither | Qt::ColorOnly) : (Qt::ThresholdDither | Qt::ColorOnly);
}

} // namespace

int naturalBits(const QImage& image)
{
    switch (image.format()) {
    case QImage::Format_Mono:
    case QImage::Format_MonoLSB: return 1;
    case QImage::Format_Indexed8: return image.colorCount() <= 2 ? 1 : image.colorCount() <= 16 ? 4 : 8;
    default: return 24;
    }
}

QImage imageAtDepth(const QImage& image, int bits, bool dither)
{
    if (image.isNull())
        return image;
    if (bits == 0)
        bits = naturalBits(image);
    switch (bits) {
    case 1:
        if (image.format() == QImage::Format_Mono)
            return image;
        return image.convertToFormat(QImage::Format_Mono, flags(dither));
    case 4:
        if (image.format() == QImage::Format_Indexed8 && image.colorCount() <= 16)
            return image;
        return image.convertToFormat(QImage::Format_Indexed8, vgaColours(), flags(dither));
    case 8:
        if (image.format() == QImage::Format_Indexed8)
            return image;
        return image.convertToFormat(QImage::Format_Indexed8, flags(dither));
    default:
        if (image.format() == QImage::Format_RGB32)
            return image;
        return image.convertToFormat(QImage::Format_RGB32);
    }
}

DibHandle dibFromImage(const QImage& source, int bits, bool dither)
{
    if (source.isNull())
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    if (bits == 0)
        bits = naturalBits(source);
    if (bits != 1 && bits != 4 && bits != 8)
        bits = 24;
    const QImage image = imageAtDepth(source, bits, dither);
    const int w = image.width();
    const int h = image.height();
    QList<QRgb> table = image.colorTable();
    TImgDib dib;
    dib.ownsMemory = false;
    if (!dib.createNew(&table, w, h, bits))
        throw ErrorInvalid(QStringLiteral("Can't allocate memory"));
    const int stride = TImgDib::rowBytes(w, bits);
    unsigned char* pixels = dib.pixelBits();
    for (int y = 0; y < h; ++y) {
        const uchar* src = image.constScanLine(y);
        unsigned char* dst = pixels + std::size_t(h - 1 - y) * stride;
        switch (bits) {
        case 1: std::memcpy(dst, src, (w + 7) / 8); break;
        case 4:
            for (int x = 0; x < w; ++x) {
                const unsigned v = src[x] & 0x0f;
                dst[x / 2] |= (x % 2 == 0) ? (v << 4) : v;
            }
            break;
        case 8: std::memcpy(dst, src, w); break;
        default: {
            const auto* line = reinterpret_cast<const QRgb*>(src);
            for (int x = 0; x < w; ++x) {
                dst[3 * x] = qBlue(line[x]);
                dst[3 * x + 1] = qGreen(line[x]);
                dst[3 * x + 2] = qRed(line[x]);
            }
        }
        }
    }
    return dib.release();
}

QByteArray bmpFileBytes(const unsigned char* dib, std::size_t size)
{
    QByteArray bytes(14, '\0');
    auto* p = reinterpret_cast<unsigned char*>(bytes.data());
    p[0] = 'B';
    p[1] = 'M';
    TImgDib::setField32(p, 2, std::int32_t(14 + size));
    int used = TImgDib::field32(dib, 32);
    const int bits = TImgDib::field16(dib, 14);
    if (used == 0 && bits <= 8)
        used = 1 << bits;
    const int headerLength = TImgDib::field32(dib, 0);
    TImgDib::setField32(p, 10, 14 + headerLength + 4 * used);
    bytes.append(reinterpret_cast<const char*>(dib), qsizetype(size));
    return bytes;
}

QImage imageFromDib(const unsigned char* dib, std::size_t size)
{
    if (!dib || size < 40 || TImgDib::field32(dib, 0) != 40)
        return {};
    const int w = TImgDib::field32(dib, 4);
    const int rawHeight = TImgDib::field32(dib, 8);
    const int bits = TImgDib::field16(dib, 14);
    const int compression = TImgDib::field32(dib, 16);
    if (compression != 0 || rawHeight < 0 || w <= 0 || rawHeight == 0) {
        // RLE or top-down rows: the BMP reader knows those.
        QByteArray file = bmpFileBytes(dib, size);
        QBuffer buffer(&file);
        QImageReader reader(&buffer, "bmp");
        QImage image = reader.read();
        if (!image.isNull() && image.format() != QImage::Format_Indexed8 && image.format() != QImage::Format_Mono)
            image = image.convertToFormat(QImage::Format_RGB32);
        return image;
    }
    const int h = rawHeight;
    int colours = TImgDib::field32(dib, 32);
    if (colours == 0 && bits <= 8)
        colours = 1 << bits;
    if (bits > 8)
        colours = 0;
    const std::size_t stride = std::size_t(TImgDib::rowBytes(w, bits));
    const std::size_t offset = 40 + 4 * std::size_t(colours);
    if (size < offset + stride * std::size_t(h))
        return {};
    QList<QRgb> table;
    for (int i = 0; i < colours; ++i)
        table << qRgb(dib[40 + 4 * i + 2], dib[40 + 4 * i + 1], dib[40 + 4 * i]);
    const unsigned char* pixels = dib + offset;
    QImage image;
    switch (bits) {
    case 1: image = QImage(w, h, QImage::Format_Mono); break;
    case 4:
    case 8: image = QImage(w, h, QImage::Format_Indexed8); break;
    case 16:
    case 24:
    case 32: image = QImage(w, h, QImage::Format_RGB32); break;
    default: return {};
    }
    if (image.isNull())
        return {};
    if (bits <= 8) {
        while (table.size() < (bits == 1 ? 2 : 1))
            table << qRgb(0, 0, 0);
        image.setColorTable(table);
    }
    for (int y = 0; y < h; ++y) {
        const unsigned char* src = pixels + std::size_t(h - 1 - y) * stride;
        uchar* dst = image.scanLine(y);
        switch (bits) {
        case 1: std::memcpy(dst, src, (w + 7) / 8); break;
        case 4:
            for (int x = 0; x < w; ++x) {
                const int v = (x % 2 == 0) ? (src[x / 2] >> 4) : (src[x / 2] & 0x0f);
                dst[x] = uchar(v < table.size() ? v : 0);
            }
            break;
        case 8:
            for (int x = 0; x < w; ++x)
                dst[x] = src[x] < table.size() ? src[x] : 0;
            break;
        case 16: {
            auto* line = reinterpret_cast<QRgb*>(dst);
            for (int x = 0; x < w; ++x) {
                const int v = src[2 * x] | (src[2 * x + 1] << 8);
                const int r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                line[x] = qRgb(r * 255 / 31, g * 255 / 31, b * 255 / 31);
            }
            break;
        }
        case 24: {
            auto* line = reinterpret_cast<QRgb*>(dst);
            for (int x = 0; x < w; ++x)
                line[x] = qRgb(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
            break;
        }
        default: {
            auto* line = reinterpret_cast<QRgb*>(dst);
            for (int x = 0; x < w; ++x)
                line[x] = qRgb(src[4 * x + 2], src[4 * x + 1], src[4 * x]);
        }
        }
    }
    return image;
}

QImage imageFromDib(DibHandle block) { return imageFromDib(dibBytes(block), dibSize(block)); }

} // namespace kv::imaging
