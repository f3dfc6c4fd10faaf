// The effects library: colour reduction and the transitions that reveal a
// new picture in bands, squares or rectangles.

#include "imaging/dib/DibImage.h"
#include "imaging/dib/ImagingEntryPoints.h"
#include "imaging/dib/TImgDib.h"

#include <QThread>

#define ISP_EXPORT extern "C" __attribute__((visibility("default")))

using namespace kv::imaging;

namespace {

void pause(std::int32_t delay)
{
    if (delay > 0)
        QThread::msleep(static_cast<unsigned long>(qMin(delay, 1000)));
}

bool usable(const abi::FxCanvas* target) { return target && target->reveal && target->width > 0 && target->height > 0; }

std::int16_t bands(abi::FxCanvas* target, std::int32_t thickness, std::int32_t delay, bool horizontal)
{
    if (!usable(target))
        return 0;
    const int step = qMax(thickness, 1);
    const int extent = horizontal ? target->height : target->width;
    // Every second band first, then the ones between.
    for (int pass = 0; pass < 2; ++pass) {
        for (int at = pass * step; at < extent; at += 2 * step) {
            if (horizontal)
                target->reveal(target->context, 0, at, target->width, step);
            else
                target->reveal(target->context, at, 0, step, target->height);
        }
        pause(delay);
    }
    return 1;
}

std::int16_t squares(abi::FxCanvas* target, std::int32_t size, std::int32_t delay, bool diagonalOrder)
{
    if (!usable(target))
        return 0;
    const int step = qMax(size, 1) * 4;
    const int columns = (target->width + step - 1) / step;
    const int rows = (target->height + step - 1) / step;
    for (int diagonal = 0; diagonal < columns + rows; ++diagonal) {
        for (int c = 0; c < columns; ++c) {
            const int r = diagonal - c;
            if (r < 0 || r >= rows)
                continue;
            if (!diagonalOrder && (c + r) % 2 != 0)
                continue;
            target->reveal(target->context, c * step, r * step, step, step);
        }
        pause(delay);
    }
    if (!diagonalOrder)
        target->reveal(target->context, 0, 0, target->width, target->height);
    return 1;
}

} // namespace

ISP_EXPORT std::int16_t FXSkipHorizontal(abi::FxCanvas* target, const void*, std::int32_t thickness, std::int32_t delay)
{
    return bands(target, thickness, delay, true);
}

ISP_EXPORT std::int16_t FXSkipVertical(abi::FxCanvas* target, const void*, std::int32_t thickness, std::int32_t delay)
{
    return bands(target, thickness, delay, false);
}

ISP_EXPORT std::int16_t FXSkipDiagonalSquares(abi::FxCanvas* target, const void*, std::int32_t thickness,
                                              std::int32_t delay)
{
    return squares(target, thickness, delay, false);
}

ISP_EXPORT std::int16_t FXSkipDiagonals(abi::FxCanvas* target, const void*, std::int32_t thickness, std::int32_t delay)
{
    return squares(target, thickness, delay, true);
}

// Rectangles grow from the centre until the picture is whole.
ISP_EXPORT std::int16_t FXSkipRectangles(abi::FxCanvas* target, const void*, std::int32_t delay)
{
    if (!usable(target))
        return 0;
    const int steps = 10;
    for (int i = 1; i <= steps; ++i) {
        const int w = target->width * i / steps;
        const int h = target->height * i / steps;
        target->reveal(target->context, (target->width - w) / 2, (target->height - h) / 2, w, h);
        pause(delay);
    }
    return 1;
}

// A new bitmap at the depth asked (dithered on request); the caller keeps
// the one it gave.
ISP_EXPORT DibHandle ReduceDib(DibHandle dib, std::int16_t bits, std::int16_t dither, std::int32_t, std::int32_t,
                               std::int32_t, void* control, abi::ProgressProc progress)
{
    const QImage image = imageFromDib(dib);
    if (image.isNull())
        return nullptr;
    if (progress && progress(0, control) == 0)
        return nullptr;
    try {
        DibHandle reduced = dibFromImage(image, bits, dither != 0);
        if (progress)
            progress(100, control);
        return reduced;
    } catch (const ErrorInvalid&) {
        return nullptr;
    }
}
