#include "ImagingFixtures.h"

#include "imaging/core/DibConversions.h"
#include "imaging/dib/DibImage.h"

#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv::imaging;

TEST(ImagingLibrary, FileInformationByContent)
{
    QTemporaryDir dir;
    auto libs = kv::test::realLibraries(dir.path());
    const QImage bars = kv::test::colourBars();
    kv::test::writeBmp(dir.filePath("one.bmp"), bars, 1);
    kv::test::writeBmp(dir.filePath("four.bmp"), bars, 4);
    bars.convertToFormat(QImage::Format_Indexed8, {qRgb(0, 0, 0), qRgb(255, 0, 0), qRgb(0, 0, 255)})
        .save(dir.filePath("low.gif"), "GIF");
    bars.save(dir.filePath("photo.dat"), "JPEG");
    struct Case {
        const char* file;
        const char* format;
        int bits;
    };
    const Case cases[] = {{"one.bmp", "BMP", 1}, {"four.bmp", "BMP", 4}, {"photo.dat", "JPEG", 24}};
    for (const Case& c : cases) {
        FileInformation info;
        ASSERT_TRUE(libs->fileInfo(dir.filePath(c.file), info)) << c.file;
        EXPECT_EQ(info.format, c.format) << c.file;
        EXPECT_EQ(info.bits, c.bits) << c.file;
        EXPECT_EQ(QSize(info.width, info.height), QSize(64, 48)) << c.file;
    }
}

TEST(ImagingLibrary, UnreadableFilesGiveTheirOwnTexts)
{
    QTemporaryDir dir;
    auto libs = kv::test::realLibraries(dir.path());
    QByteArray pcx(128, '\0');
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    kv::test::writeBytes(dir.filePath("old.pcx"), pcx);
    QByteArray jpeg("\xFF\xD8\xFF\xE0", 4);
    jpeg.append(QByteArray(60, '\x11'));
    kv::test::writeBytes(dir.filePath("broken.jpg"), jpeg);
    kv::test::writeBytes(dir.filePath("short.bmp"), QByteArray("BM123"));
    struct Case {
        const char* file;
        const char* text;
    };
    const Case cases[] = {
        {"old.pcx", "This picture format can't be read on this system"},
        {"broken.jpg", "The picture file is damaged or not a picture of its kind"},
        {"short.bmp", "The picture file is damaged or not a picture of its kind"},
    };
    for (const Case& c : cases) {
        FileInformation info;
        EXPECT_FALSE(libs->fileInfo(dir.filePath(c.file), info)) << c.file;
        EXPECT_EQ(libs->lastErrorText(), c.text) << c.file;
    }
}

TEST(ImagingLibrary, ThreePageTiffPagesAndCompressions)
{
    QTemporaryDir dir;
    auto libs = kv::test::realLibraries(dir.path());
    const QString tiff = dir.filePath("pages.tif");
    kv::test::writeTiff(tiff, {1, 32773, 1});
    struct Case {
        int page;
        const char* compression;
        int grey;
    };
    const Case cases[] = {{1, "NONE", 0}, {2, "PACKBITS", 80}, {3, "NONE", 160}};
    for (const Case& c : cases) {
        FileInformation info;
        ASSERT_TRUE(libs->tiffInfo(tiff, c.page, info)) << c.page;
        EXPECT_EQ(info.pageCount, 3);
        EXPECT_EQ(info.compression, c.compression) << c.page;
        DibHandle dib = nullptr;
        ASSERT_TRUE(libs->readPicture(ReaderKind::Tif, tiff, 24, false, c.page, dib, nullptr, nullptr)) << c.page;
        const QImage image = imageFromDib(dib);
        freeDib(dib);
        EXPECT_EQ(qRed(image.pixel(0, 0)), c.grey) << c.page;
    }
    DibHandle dib = nullptr;
    EXPECT_FALSE(libs->readPicture(ReaderKind::Tif, tiff, 24, false, 5, dib, nullptr, nullptr));
}

TEST(ImagingLibrary, WritesBmpAtEachDepth)
{
    QTemporaryDir dir;
    auto libs = kv::test::realLibraries(dir.path());
    const QImage bars = kv::test::colourBars();
    for (int bits : {1, 4, 8, 24}) {
        const QString path = dir.filePath(QStringLiteral("out%1.bmp").arg(bits));
        DibHolder dib(bitmapToDib(bars));
        ASSERT_TRUE(libs->writeBmp(path, bits, dib.get(), nullptr, nullptr)) << bits;
        FileInformation info;
        ASSERT_TRUE(libs->fileInfo(path, info));
        EXPECT_EQ(info.bits, bits);
        const QImage back(path);
        EXPECT_EQ(back.size(), bars.size());
        if (bits >= 4) {
            EXPECT_EQ(back.pixel(0, 0), qRgb(255, 0, 0)) << bits;
        }
    }
}
