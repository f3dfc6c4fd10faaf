#pragma once

#include "imaging/core/ImagingLibraries.h"

#include <QImage>

namespace kv::imaging {

// Makes a packed bitmap the picture, at the depth asked: run-length-encoded
// bitmaps through the library's DibtoDdb, fewer bits through the effects
// library's reduction, more through the depth converters. False when the
// bitmap is empty or cannot be converted. The caller keeps the bitmap.
bool dibToBitmap(ImagingLibraries& libs, DibHandle dib, int bits, bool dither, abi::ProgressProc progress,
                 void* control, QImage& out);

// Packs a picture; throws ErrorInvalid "Input image is empty" for none.
DibHandle bitmapToDib(const QImage& picture);

DibHandle increaseDibColors(ImagingLibraries& libs, DibHandle dib, int bits);
DibHandle reduceDibColors(ImagingLibraries& libs, DibHandle dib, int bits, bool dither, abi::ProgressProc progress,
                          void* control);
// Throws ErrorInvalid "Input image is empty" / "Input image is not 8 bit".
DibHandle expandDib8To24(DibHandle dib, const ScreenProfile& screen = ScreenProfile::current());
// Frees blocks above 1 byte; smaller or freed ones are left alone.
void freeDib(DibHandle dib);

// The program's bitmap ":/bitmaps/<NAME>.bmp"; false when there is none.
bool loadBitmapResource(const QString& name, QImage& out);

} // namespace kv::imaging
