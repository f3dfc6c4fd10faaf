#include "imaging/libs/crde/PictureFiles.h"

#include <QFile>
#include <QImageReader>

namespace kv::imaging::crde {
namespace {

quint32 u32(const QByteArray& b, qsizetype at, bool little)
{
    if (at < 0 || at + 4 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return little ? (quint32(p[0]) | quint32(p[1]) << 8 | quint32(p[2]) << 16 | quint32(p[3]) << 24)
                  : (quint32(p[3]) | quint32(p[2]) << 8 | quint32(p[1]) << 16 | quint32(p[0]) << 24);
}

quint16 u16(const QByteArray& b, qsizetype at, bool little)
{
    if (at < 0 || at + 2 > b.size())
        return 0;
    const auto* p = reinterpret_cast<const unsigned char*>(b.constData() + at);
    return little ? quint16(p[0] | p[1] << 8) : quint16(p[1] | p[0] << 8);
}

// Walks the page directories of a TIFF file for the page count and, for the
// page asked for, its compression and bits per pixel.
void readTiffDirectories(const QByteArray& file, int pageIndex, PictureFileInfo& info)
{
    const bool little = file.startsWith("II");
    quint32 offset = u32(file, 4, little);
    int pages = 0;
    while (offset != 0 && offset + 2 <= quint32(file.size()) && pages < 10000) {
        const int entries = u16(file, offset, little);
        if (pages == pageIndex) {
            int samples = 1;
            int bitsPerSample = 1;
            for (int i = 0; i < entries; ++i) {
                const qsizetype entry = qsizetype(offset) + 2 + 12 * i;
                const int tag = u16(file, entry, little);
                const int type = u16(file, entry + 2, little);
                const quint32 count = u32(file, entry + 4, little);
                const int value = type == 3 ? u16(file, entry + 8, little) : int(u32(file, entry + 8, little));
                if (tag == 259)
                    info.compressionCode = qint16(quint16(value));
                else if (tag == 277)
                    samples = value;
                else if (tag == 258)
                    bitsPerSample = (count == 1 || type != 3) ? value : u16(file, u32(file, entry + 8, little), little);
            }
            info.bits = samples * bitsPerSample;
        }
        ++pages;
        offset = u32(file, qsizetype(offset) + 2 + 12 * entries, little);
    }
    info.pageCount = qMax(pages, 1);
}

QString tiffCompressionText(int code)
{
    switch (quint16(code)) {
    case 1: return QStringLiteral("NONE");
    case 2: return QStringLiteral("CCITT3");
    case 3: return QStringLiteral("FAXCCITT3");
    case 4: return QStringLiteral("FAXCCITT4");
    case 5: return QStringLiteral("LZW");
    case 7: return QStringLiteral("JPEG");
    case 8:
    case 32946: return QStringLiteral("DEFLATE");
    case 32773: return QStringLiteral("PACKBITS");
    default: return QStringLiteral("UNKNOWN");
    }
}

} // namespace

PictureFileInfo inspectPicture(const QString& path, int page)
{
    PictureFileInfo info;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return info;
    const QByteArray head = file.read(64);
    auto starts = [&](const char* magic) { return head.startsWith(magic); };
    const auto byte = [&](int i) { return i < head.size() ? static_cast<unsigned char>(head[i]) : 0; };

    if (starts("BM")) {
        info.format = QStringLiteral("BMP");
        const int compression = int(u32(head, 30, true));
        info.compression = compression == 1   ? QStringLiteral("RLE8")
                           : compression == 2 ? QStringLiteral("RLE4")
                                              : QStringLiteral("NONE");
        info.bits = u16(head, 28, true);
        info.corrupt = head.size() < 30;
    } else if (starts("\x89PNG")) {
        info.format = QStringLiteral("PNG");
        info.compression = QStringLiteral("DEFLATE");
        const int depth = byte(24);
        const int colourType = byte(25);
        const int channels = colourType == 2 ? 3 : colourType == 4 ? 2 : colourType == 6 ? 4 : 1;
        info.bits = depth * channels;
    } else if (starts("GIF8")) {
        info.format = QStringLiteral("GIF");
        info.compression = QStringLiteral("LZW");
        info.bits = (byte(10) & 0x80) ? (byte(10) & 7) + 1 : 8;
    } else if (byte(0) == 0xFF && byte(1) == 0xD8) {
        info.format = QStringLiteral("JPEG");
        info.compression = QStringLiteral("JPEG");
    } else if (starts("II*") || starts("MM\0*")) {
        info.format = QStringLiteral("TIF");
        file.seek(0);
        const QByteArray whole = file.readAll();
        readTiffDirectories(whole, qMax(page, 1) - 1, info);
        info.compression = tiffCompressionText(info.compressionCode);
    } else if (byte(0) == 0x0A && byte(1) <= 5 && byte(2) <= 1) {
        info.format = QStringLiteral("PCX");
    } else if (starts("%!PS") || (byte(0) == 0xC5 && byte(1) == 0xD0 && byte(2) == 0xD3 && byte(3) == 0xC6)) {
        info.format = QStringLiteral("EPS");
    } else if (byte(0) == 0xD7 && byte(1) == 0xCD && byte(2) == 0xC6 && byte(3) == 0x9A) {
        info.format = QStringLiteral("WMF");
    } else if (byte(0) == 0 && byte(1) == 0 && byte(2) == 1 && byte(3) == 0) {
        info.format = QStringLiteral("ICO");
    } else if (path.endsWith(QStringLiteral(".pcd"), Qt::CaseInsensitive)) {
        info.format = QStringLiteral("PCD");
    } else if (path.endsWith(QStringLiteral(".dxf"), Qt::CaseInsensitive)) {
        info.format = QStringLiteral("DXF");
    } else {
        // Targa files carry no signature: let the reader decide.
        QImageReader reader(path);
        reader.setDecideFormatFromContent(true);
        if (reader.canRead() && reader.format() == "tga") {
            info.format = QStringLiteral("TGA");
            info.compression = (byte(2) & 8) ? QStringLiteral("RLE") : QStringLiteral("NONE");
            info.bits = byte(16);
        }
    }
    if (info.format.isEmpty())
        return info;
    const bool hasReader = info.format == QLatin1String("BMP") || info.format == QLatin1String("PNG")
                           || info.format == QLatin1String("GIF") || info.format == QLatin1String("JPEG")
                           || info.format == QLatin1String("TIF") || info.format == QLatin1String("TGA")
                           || info.format == QLatin1String("ICO");
    if (!hasReader)
        return info;
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (info.format == QLatin1String("TIF") && page > 1)
        reader.jumpToImage(page - 1);
    const QSize size = reader.size();
    if (!reader.canRead() || !size.isValid()) {
        info.corrupt = true;
        return info;
    }
    info.readable = true;
    info.width = size.width();
    info.height = size.height();
    if (info.bits == 0) {
        switch (reader.imageFormat()) {
        case QImage::Format_Mono:
        case QImage::Format_MonoLSB: info.bits = 1; break;
        case QImage::Format_Indexed8:
        case QImage::Format_Grayscale8: info.bits = 8; break;
        case QImage::Format_ARGB32:
        case QImage::Format_ARGB32_Premultiplied: info.bits = 32; break;
        default: info.bits = 24;
        }
    }
    return info;
}

QImage readPicture(const QString& path, int page)
{
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    if (page > 1 && !reader.jumpToImage(page - 1))
        return {};
    return reader.read();
}

} // namespace kv::imaging::crde
