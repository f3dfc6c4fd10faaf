#include "imaging/dib/TImgDib.h"

#include <QGuiApplication>
#include <QScreen>
#include <cstring>

namespace kv::imaging {

ScreenProfile ScreenProfile::current()
{
    ScreenProfile profile;
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        if (QScreen* screen = app->primaryScreen())
            profile.depth = screen->depth();
    if (profile.depth <= 8)
        profile = paletted(profile.depth);
    return profile;
}

ScreenProfile ScreenProfile::paletted(int depth)
{
    // The 20 colours a palette screen reserves: 10 at the start, 10 at the end.
    static const Palette statics = {qRgb(0, 0, 0),       qRgb(128, 0, 0),     qRgb(0, 128, 0),     qRgb(128, 128, 0),
                                    qRgb(0, 0, 128),     qRgb(128, 0, 128),   qRgb(0, 128, 128),   qRgb(192, 192, 192),
                                    qRgb(192, 220, 192), qRgb(166, 202, 240), qRgb(255, 251, 240), qRgb(160, 160, 164),
                                    qRgb(128, 128, 128), qRgb(255, 0, 0),     qRgb(0, 255, 0),     qRgb(255, 255, 0),
                                    qRgb(0, 0, 255),     qRgb(255, 0, 255),   qRgb(0, 255, 255),   qRgb(255, 255, 255)};
    ScreenProfile profile;
    profile.depth = depth;
    const int size = depth >= 8 ? 256 : (1 << depth);
    profile.systemPalette.fill(qRgb(0, 0, 0), size);
    if (size >= 20) {
        for (int i = 0; i < 10; ++i) {
            profile.systemPalette[i] = statics[i];
            profile.systemPalette[size - 10 + i] = statics[10 + i];
        }
    } else {
        for (int i = 0; i < size; ++i)
            profile.systemPalette[i] = statics[i < size / 2 ? i : 20 - size + i];
    }
    return profile;
}

int screenColorDepth(const ScreenProfile& screen)
{
    if (screen.depth <= 4)
        return 4;
    if (screen.depth < 16)
        return 8;
    return 24;
}

TImgDib::~TImgDib() { releaseBlock(); }

void TImgDib::releaseBlock()
{
    if (m_block && ownsMemory)
        dibFree(m_block);
    else if (m_block)
        dibUnlock(m_block);
    m_block = nullptr;
    m_dib = nullptr;
}

void TImgDib::attach(DibHandle block)
{
    if (m_block && ownsMemory) {
        releaseBlock();
        m_palette.clear();
        m_paletteMade = false;
    } else {
        releaseBlock();
    }
    m_block = block;
    m_dib = dibLock(block);
}

DibHandle TImgDib::release()
{
    DibHandle block = m_block;
    dibUnlock(block);
    m_block = nullptr;
    m_dib = nullptr;
    return block;
}

std::int32_t TImgDib::field32(const unsigned char* p, int offset)
{
    std::uint32_t v = std::uint32_t(p[offset]) | (std::uint32_t(p[offset + 1]) << 8)
                      | (std::uint32_t(p[offset + 2]) << 16) | (std::uint32_t(p[offset + 3]) << 24);
    return static_cast<std::int32_t>(v);
}

int TImgDib::field16(const unsigned char* p, int offset) { return p[offset] | (p[offset + 1] << 8); }

void TImgDib::setField32(unsigned char* p, int offset, std::int32_t value)
{
    const auto v = static_cast<std::uint32_t>(value);
    p[offset] = v & 0xff;
    p[offset + 1] = (v >> 8) & 0xff;
    p[offset + 2] = (v >> 16) & 0xff;
    p[offset + 3] = (v >> 24) & 0xff;
}

void TImgDib::setField16(unsigned char* p, int offset, int value)
{
    p[offset] = value & 0xff;
    p[offset + 1] = (value >> 8) & 0xff;
}

int TImgDib::bitCount() const { return m_dib ? field16(m_dib, 14) : 0; }
int TImgDib::dibWidth() const { return m_dib ? field32(m_dib, 4) : 0; }
int TImgDib::dibHeight() const { return m_dib ? field32(m_dib, 8) : 0; }
int TImgDib::dibCompression() const { return m_dib ? field32(m_dib, 16) : 0; }

int TImgDib::colorCount() const
{
    if (!m_dib)
        return 0;
    if (const int used = field32(m_dib, 32); used != 0)
        return used;
    const int bits = bitCount();
    if (bits == 16 || bits == 24 || bits == 32)
        return 0;
    return bits >= 0 && bits < 31 ? (1 << bits) : 0;
}

int TImgDib::totalSize()
{
    if (!m_dib)
        return 0;
    if (field32(m_dib, 20) == 0)
        setField32(m_dib, 20, dibHeight() * rowBytes(dibWidth(), bitCount()));
    return headerSize() + field32(m_dib, 20);
}

int TImgDib::colorsForDepth(int bits)
{
    switch (bits) {
    case 1: return 2;
    case 4: return 16;
    case 8: return 256;
    default: return 0;
    }
}

const Palette& TImgDib::dibPalette(const ScreenProfile& screen)
{
    if (m_dib && !m_paletteMade) {
        m_palette = makePalette(screen);
        m_paletteMade = true;
    }
    static const Palette none;
    return m_dib ? m_palette : none;
}

Palette TImgDib::makePalette(const ScreenProfile& screen) const
{
    Palette palette;
    if (!m_dib)
        return palette;
    int count = field32(m_dib, 32);
    if (count == 0)
        count = colorsForDepth(bitCount());
    if (count == 16 && screen.systemPalette.size() >= 16) {
        const auto& sys = screen.systemPalette;
        for (int i = 0; i < 8; ++i)
            palette << sys[i];
        for (int i = 0; i < 8; ++i)
            palette << sys[sys.size() - 8 + i];
        return palette;
    }
    const unsigned char* table = m_dib + 40;
    for (int i = 0; i < count; ++i)
        palette << qRgb(table[4 * i + 2], table[4 * i + 1], table[4 * i]);
    return palette;
}

bool TImgDib::createNew(const Palette* palette, int width, int height, int bits)
{
    int entries = 0;
    int headerBits = bits;
    switch (bits) {
    case 1: entries = 2; break;
    case 2:
        entries = 2;
        headerBits = 1;
        break;
    case 4: entries = 16; break;
    case 8: entries = 256; break;
    case 16:
    case 24:
    case 32: break;
    default: return false;
    }
    const std::int64_t imageSize = std::int64_t(height) * rowBytes(width, bits);
    if (width < 0 || height < 0 || imageSize > INT32_MAX - 2048)
        throw ErrorInvalid(QStringLiteral("Can't allocate memory"));
    DibHandle block = dibAlloc(std::size_t(imageSize) + 40 + 4 * entries);
    if (!block)
        throw ErrorInvalid(QStringLiteral("Can't allocate memory"));
    unsigned char* p = dibBytes(block);
    setField32(p, 0, 40);
    setField32(p, 4, width);
    setField32(p, 8, height);
    setField16(p, 12, 1);
    setField16(p, 14, headerBits);
    setField32(p, 16, 0);
    setField32(p, 20, std::int32_t(imageSize));
    setField32(p, 24, 2953);
    setField32(p, 28, 2953);
    setField32(p, 32, entries);
    setField32(p, 36, entries);
    if (palette) {
        for (int i = 0; i < entries && i < palette->size(); ++i) {
            const QRgb c = palette->at(i);
            p[40 + 4 * i] = qBlue(c);
            p[40 + 4 * i + 1] = qGreen(c);
            p[40 + 4 * i + 2] = qRed(c);
        }
    }
    attach(block);
    return true;
}

} // namespace kv::imaging
