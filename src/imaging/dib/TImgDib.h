#pragma once

#include "imaging/dib/DibBlock.h"

#include <QList>
#include <QRgb>
#include <cstdint>
#include <stdexcept>

namespace kv::imaging {

// The imaging modules' own exception: the message text only, in English as
// the libraries write their texts.
class ErrorInvalid : public std::runtime_error {
public:
    explicit ErrorInvalid(const QString& text) : std::runtime_error(text.toStdString()) {}
    QString text() const { return QString::fromStdString(what()); }
};

// A logical palette: red, green and blue per entry.
using Palette = QList<QRgb>;

// What the screen offers for showing pictures: its bits per pixel and, on a
// palette screen, its system palette. Injected, so the low-depth rules can be
// tested on any machine.
struct ScreenProfile {
    int depth = 32;
    Palette systemPalette; // empty on true-colour screens

    static ScreenProfile current(); // from the primary QScreen
    static ScreenProfile paletted(int depth); // a palette screen with the 20 static colours
};

// Reading depth for the screen: up to 4 bits gives 4, anything below 16 gives
// 8, 16 and more give 24.
int screenColorDepth(const ScreenProfile& screen);

// Reads and builds packed bitmaps: a 40-byte header, the colour table
// (blue, green, red, reserved per entry) and bottom-up rows padded to 4 bytes.
class TImgDib {
public:
    TImgDib() = default;
    ~TImgDib();
    TImgDib(const TImgDib&) = delete;
    TImgDib& operator=(const TImgDib&) = delete;

    bool ownsMemory = true;

    // Takes the block (locked while attached); an owned previous block is freed.
    void attach(DibHandle block);
    DibHandle handle() const { return m_block; }
    DibHandle release(); // forgets the block without freeing it
    unsigned char* dib() const { return m_dib; }

    int bitCount() const;
    int dibWidth() const;
    int dibHeight() const;
    int dibCompression() const;
    int colorCount() const;
    int headerSize() const { return m_dib ? 40 + 4 * colorCount() : 0; }
    int totalSize(); // fills biSizeImage when it is 0
    unsigned char* pixelBits() const { return m_dib ? m_dib + headerSize() : nullptr; }
    static int colorsForDepth(int bits);

    const Palette& dibPalette(const ScreenProfile& screen = ScreenProfile::current());
    // Builds the palette from the colour table (the screen's 16 static
    // colours for a 16-entry table on a palette screen).
    Palette makePalette(const ScreenProfile& screen) const;

    // Builds an empty bitmap and attaches it; false for an unsupported depth.
    // Throws ErrorInvalid "Can't allocate memory".
    bool createNew(const Palette* palette, int width, int height, int bits);

    // Little-endian header fields.
    static std::int32_t field32(const unsigned char* p, int offset);
    static int field16(const unsigned char* p, int offset);
    static void setField32(unsigned char* p, int offset, std::int32_t value);
    static void setField16(unsigned char* p, int offset, int value);
    static int rowBytes(int width, int bits) { return ((width * bits + 31) / 32) * 4; }

private:
    void releaseBlock();

    DibHandle m_block = nullptr;
    unsigned char* m_dib = nullptr;
    Palette m_palette;
    bool m_paletteMade = false;
};

} // namespace kv::imaging
