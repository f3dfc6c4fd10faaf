#include "ImagingFixtures.h"

#include "imaging/dib/DibImage.h"
#include "imaging/dib/TImgDib.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>

namespace kv::test {

std::unique_ptr<kv::imaging::ImagingLibraries> realLibraries(const QString& settingsFolder)
{
    qputenv("KAVORIMETAS_IMAGING_SETTINGS", settingsFolder.toUtf8());
    kv::imaging::ImagingLibraries::Options options;
    options.programFolder = QStringLiteral(KV_IMAGING_LIBRARY_DIR);
    options.appName = QStringLiteral("Kavorimetas");
    return std::make_unique<kv::imaging::ImagingLibraries>(options);
}

QImage colourBars(int width, int height)
{
    QImage image(width, height, QImage::Format_RGB32);
    const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::white};
    for (int x = 0; x < width; ++x)
        for (int y = 0; y < height; ++y)
            image.setPixelColor(x, y, colours[(x * 4) / width]);
    return image;
}

void writeBytes(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write fixture");
    file.write(bytes);
}

void writeBmp(const QString& path, const QImage& image, int bits)
{
    using namespace kv::imaging;
    DibHolder dib(dibFromImage(image, bits, false));
    writeBytes(path, bmpFileBytes(dibBytes(dib.get()), dibSize(dib.get())));
}

namespace {

void put16(QByteArray& b, int v)
{
    char c[2];
    qToLittleEndian<quint16>(quint16(v), c);
    b.append(c, 2);
}
void put32(QByteArray& b, quint32 v)
{
    char c[4];
    qToLittleEndian<quint32>(v, c);
    b.append(c, 4);
}
void entry(QByteArray& b, int tag, int type, quint32 count, quint32 value)
{
    put16(b, tag);
    put16(b, type);
    put32(b, count);
    if (type == 3) {
        put16(b, int(value));
        put16(b, 0);
    } else
        put32(b, value);
}

} // namespace

void writeTiff(const QString& path, const QList<int>& compressions, int width, int height)
{
    QByteArray file("II*\0", 4);
    put32(file, 8);
    for (int page = 0; page < compressions.size(); ++page) {
        QByteArray strip;
        for (int y = 0; y < height; ++y) {
            QByteArray row;
            for (int x = 0; x < width; ++x)
                row.append(char((page * 80 + x * 10) & 0xff));
            if (compressions[page] == 32773)
                strip.append(char(width - 1)); // one literal run per row
            strip.append(row);
        }
        const int entries = 9;
        const quint32 ifdAt = quint32(file.size());
        const quint32 dataAt = ifdAt + 2 + 12 * entries + 4;
        const bool last = page == compressions.size() - 1;
        const quint32 nextAt = last ? 0 : dataAt + quint32(strip.size());
        put16(file, entries);
        entry(file, 256, 3, 1, quint32(width));
        entry(file, 257, 3, 1, quint32(height));
        entry(file, 258, 3, 1, 8);
        entry(file, 259, 3, 1, quint32(compressions[page]));
        entry(file, 262, 3, 1, 1);
        entry(file, 273, 4, 1, dataAt);
        entry(file, 277, 3, 1, 1);
        entry(file, 278, 3, 1, quint32(height));
        entry(file, 279, 4, 1, quint32(strip.size()));
        put32(file, nextAt);
        file.append(strip);
    }
    writeBytes(path, file);
}

} // namespace kv::test
