#pragma once

#include "imaging/dib/DibBlock.h"

#include <QByteArray>
#include <QImage>
#include <cstddef>

namespace kv::imaging {

// Bits per pixel a picture keeps when no depth is asked for: 1 for two-colour
// pictures, 4 or 8 for palette pictures, 24 otherwise.
int naturalBits(const QImage& image);

// The picture at a depth of 1, 4, 8 or 24 bits (0 keeps its natural depth);
// dithered when asked. 1 bit gives Format_Mono, 4 and 8 give Format_Indexed8
// with at most 16 or 256 colours, 24 gives Format_RGB32.
QImage imageAtDepth(const QImage& image, int bits, bool dither);

// Packs a picture into a new block at the given depth (0: natural depth).
// Throws ErrorInvalid "Input image is empty" for a null picture and
// "Can't allocate memory" when the block cannot be had.
DibHandle dibFromImage(const QImage& image, int bits, bool dither);

// Unpacks a packed bitmap; a null picture when the bytes are not one. RLE
// bitmaps are read as the BMP file they form behind a file header.
QImage imageFromDib(const unsigned char* dib, std::size_t size);
QImage imageFromDib(DibHandle block);

// The BMP file of a packed bitmap: a 14-byte file header, then the bitmap.
QByteArray bmpFileBytes(const unsigned char* dib, std::size_t size);

} // namespace kv::imaging
