#include "imaging/core/DibConversions.h"
#include "imaging/dib/DibImage.h"
#include "imaging/dib/TImgDib.h"

#include <gtest/gtest.h>

using namespace kv::imaging;

namespace {

// A bare header with the fields the arithmetic reads.
DibHandle header(int width, int height, int bits, int used, int sizeImage)
{
    DibHandle block = dibAlloc(40 + 4 * 256 + 4096);
    unsigned char* p = dibBytes(block);
    TImgDib::setField32(p, 0, 40);
    TImgDib::setField32(p, 4, width);
    TImgDib::setField32(p, 8, height);
    TImgDib::setField16(p, 12, 1);
    TImgDib::setField16(p, 14, bits);
    TImgDib::setField32(p, 20, sizeImage);
    TImgDib::setField32(p, 32, used);
    return block;
}

} // namespace

TEST(TImgDib, DerivedValuesFollowTheHeader)
{
    struct Case {
        int w, h, bits, used, sizeImage, colours, total, storedSize;
    };
    const Case cases[] = {
        {3, 2, 24, 0, 0, 0, 64, 24}, // biSizeImage computed and stored
        {8, 1, 8, 0, 0, 256, 40 + 1024 + 8, 8},
        {8, 1, 8, 20, 0, 20, 40 + 80 + 8, 8}, // biClrUsed wins at any depth
        {5, 1, 24, 20, 0, 20, 40 + 80 + 16, 16},
        {9, 2, 1, 0, 0, 2, 40 + 8 + 8, 8},
        {3, 3, 4, 0, 100, 16, 40 + 64 + 100, 100}, // a given size is kept
    };
    for (const Case& c : cases) {
        TImgDib dib;
        dib.attach(header(c.w, c.h, c.bits, c.used, c.sizeImage));
        EXPECT_EQ(dib.colorCount(), c.colours) << c.w << "x" << c.h << "@" << c.bits;
        EXPECT_EQ(dib.totalSize(), c.total) << c.w << "x" << c.h << "@" << c.bits;
        EXPECT_EQ(TImgDib::field32(dib.dib(), 20), c.storedSize);
    }
}

TEST(TImgDib, CreateNewBuildsTheHeaderOrRefusesTheDepth)
{
    struct Case {
        int bits;
        bool ok;
        int headerBits;
        int entries;
    };
    const Case cases[] = {{1, true, 1, 2},   {2, true, 1, 2},   {4, true, 4, 16},  {8, true, 8, 256},
                          {16, true, 16, 0}, {24, true, 24, 0}, {32, true, 32, 0}, {7, false, 0, 0}};
    for (const Case& c : cases) {
        TImgDib dib;
        ASSERT_EQ(dib.createNew(nullptr, 5, 3, c.bits), c.ok) << c.bits;
        if (!c.ok) {
            EXPECT_EQ(dib.dib(), nullptr);
            continue;
        }
        EXPECT_EQ(dib.bitCount(), c.headerBits) << c.bits;
        EXPECT_EQ(dib.colorCount(), c.entries) << c.bits;
        EXPECT_EQ(TImgDib::field32(dib.dib(), 20), 3 * TImgDib::rowBytes(5, c.bits)) << c.bits;
        EXPECT_EQ(TImgDib::field32(dib.dib(), 24), 2953);
        EXPECT_EQ(dibSize(dib.handle()), std::size_t(40 + 4 * c.entries + 3 * TImgDib::rowBytes(5, c.bits)));
    }
}

TEST(TImgDib, SixteenColoursOnAPaletteScreenTakeTheScreensStaticColours)
{
    Palette own;
    for (int i = 0; i < 16; ++i)
        own << qRgb(i, i, i);
    TImgDib dib;
    dib.createNew(&own, 2, 2, 4);
    const ScreenProfile paletteScreen = ScreenProfile::paletted(8);
    const Palette shown = dib.makePalette(paletteScreen);
    ASSERT_EQ(shown.size(), 16);
    EXPECT_EQ(shown[0], paletteScreen.systemPalette[0]);
    EXPECT_EQ(shown[15], paletteScreen.systemPalette[255]);
    EXPECT_EQ(dib.makePalette(ScreenProfile{32, {}}), own);
}

TEST(TImgDib, ScreenDepthMapsToAReadingDepth)
{
    const std::pair<int, int> cases[] = {{1, 4}, {4, 4}, {8, 8}, {15, 8}, {16, 24}, {24, 24}, {32, 24}};
    for (auto [screen, reading] : cases)
        EXPECT_EQ(screenColorDepth(ScreenProfile{screen, {}}), reading) << screen;
}

TEST(DibConversions, ExpandsEveryRowOfAn8BitPicture)
{
    Palette grey;
    for (int i = 0; i < 256; ++i)
        grey << qRgb(i, 255 - i, 7);
    TImgDib source;
    source.ownsMemory = false;
    source.createNew(&grey, 8, 3, 8);
    const int row = TImgDib::rowBytes(8, 8);
    for (int r = 0; r < 3; ++r)
        for (int x = 0; x < 8; ++x)
            source.pixelBits()[r * row + x] = static_cast<unsigned char>(r * 10 + x);
    DibHolder owned(source.release());
    DibHolder expanded(expandDib8To24(owned.get(), ScreenProfile{32, {}}));
    const QImage image = imageFromDib(expanded.get());
    ASSERT_EQ(image.size(), QSize(8, 3));
    // Rows are stored bottom-up: stored row 0 is the picture's last row.
    EXPECT_EQ(image.pixel(7, 2), grey[7]);
    EXPECT_EQ(image.pixel(3, 0), grey[23]);
}

TEST(DibConversions, EmptyOrWrongInputGivesTheLibraryTexts)
{
    try {
        expandDib8To24(nullptr);
        FAIL();
    } catch (const ErrorInvalid& e) {
        EXPECT_EQ(e.text(), "Input image is empty");
    }
    TImgDib dib;
    dib.ownsMemory = false;
    dib.createNew(nullptr, 2, 2, 24);
    DibHolder block(dib.release());
    try {
        expandDib8To24(block.get());
        FAIL();
    } catch (const ErrorInvalid& e) {
        EXPECT_EQ(e.text(), "Input image is not 8 bit");
    }
    EXPECT_THROW(bitmapToDib(QImage()), ErrorInvalid);
}

TEST(DibImage, PacksAndUnpacksEveryDepthByteForByte)
{
    QImage bars(13, 5, QImage::Format_RGB32);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 13; ++x)
            bars.setPixel(x, y, x < 6 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    for (int bits : {1, 4, 8, 24}) {
        DibHolder dib(dibFromImage(bars, bits, false));
        EXPECT_EQ(TImgDib::field16(dibBytes(dib.get()), 14), bits);
        const QImage back = imageFromDib(dib.get()).convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(back, bars) << bits;
    }
}

TEST(DibImage, RunLengthBitmapsReadThroughTheirFileForm)
{
    // 4 x 2 at 8 bits, RLE8: each row one run of four pixels, then end of line / bitmap.
    TImgDib dib;
    dib.ownsMemory = false;
    Palette table = {qRgb(0, 0, 0), qRgb(255, 0, 0)};
    dib.createNew(&table, 4, 2, 8);
    const unsigned char rle[] = {4, 1, 0, 0, 4, 0, 0, 1};
    DibHandle block = dibAlloc(40 + 1024 + sizeof rle);
    std::memcpy(dibBytes(block), dib.dib(), 40 + 1024);
    std::memcpy(dibBytes(block) + 40 + 1024, rle, sizeof rle);
    TImgDib::setField32(dibBytes(block), 16, 1);
    TImgDib::setField32(dibBytes(block), 20, sizeof rle);
    DibHolder owned(block);
    DibHolder scratch(dib.release());
    const QImage image = imageFromDib(block);
    ASSERT_EQ(image.size(), QSize(4, 2));
    EXPECT_EQ(image.pixel(0, 1), qRgb(255, 0, 0)); // bottom row first
    EXPECT_EQ(image.pixel(0, 0), qRgb(0, 0, 0));
}
