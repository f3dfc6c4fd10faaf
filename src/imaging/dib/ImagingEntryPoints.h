#pragma once

// The C interface of the two imaging libraries the picture control loads at
// run time (libCRDE2001.so: readers, BMP writer, scanner, depth converters,
// annotations; libISP2000.so: colour reduction and transitions). Every entry
// point is looked up by name; arguments keep the order the control passes
// them. A 16-bit result above 0 is success unless the entry point says
// otherwise; 0 or below is an error code whose text the library gives through
// crde_load_string (the code read as an unsigned 16-bit number).

#include "imaging/dib/DibBlock.h"

#include <cstdint>

namespace kv::imaging::abi {

// Size of the text buffers fileinfo fills (format and compression names).
constexpr int kInfoTextSize = 32;

// Error codes of the imaging library (also its string resource numbers, read
// as unsigned 16-bit values).
enum ErrorCode : std::int16_t {
    kUnknownError = -1,
    kCannotOpen = -2,
    kNoReaderOnThisSystem = -3,
    kCorruptPicture = -4,
    kOutOfMemory = -5,
    kCannotWrite = -6,
    kCancelled = -7,
    kNoScanner = -8,
    kScanFailed = -9,
    kPageOutOfRange = -10,
    kEmptyImage = -11,
    kBadArgument = -12,
};

extern "C" {

using ProgressProc = std::int16_t (*)(std::int16_t percent, void* control);

using AnnoDoneProc = std::int16_t (*)(void* control);
using AnnoDrawProc = std::int16_t (*)(void* control, void* handle, const char* name, std::int32_t x, std::int32_t y,
                                      std::int32_t xx, std::int32_t yy);
using AnnoBeforeDrawProc = std::int16_t (*)(void* control, std::int32_t passCode, std::int16_t* canDraw,
                                            const char* name);
using AnnoAfterDrawProc = std::int16_t (*)(void* control, const char* name);

using FileInfoFn = std::int16_t(const char* path, char* format, std::int32_t* width, std::int32_t* height,
                                std::int32_t* bits, std::int32_t* further1, std::int32_t* further2, char* compression,
                                std::int16_t option);
using ReaderFn = std::int16_t(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out, void* palette,
                              void* control, ProgressProc progress, std::int16_t option);
using JpegReaderFn = std::int16_t(const char* path, std::int16_t bits, std::int16_t one, std::int16_t dither,
                                  DibHandle* out, void* palette, void* control, ProgressProc progress,
                                  std::int16_t option);
using GifReaderFn = std::int16_t(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out,
                                 void* palette, void* control, ProgressProc progress, std::int16_t option,
                                 std::int32_t* further);
// readtiffiledib (the page) and readpcdfiledib (the Photo CD resolution).
using PagedReaderFn = std::int16_t(const char* path, std::int16_t bits, std::int16_t dither, std::int16_t page,
                                   DibHandle* out, void* control, ProgressProc progress, std::int16_t option);
using PlainReaderFn = std::int16_t(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out,
                                   void* control, ProgressProc progress, std::int16_t option);
using DxfReaderFn = std::int16_t(const char* path, std::int16_t bits, std::int16_t dither, DibHandle* out,
                                 void** palette, void* control, ProgressProc progress, std::int16_t option);
using GetInfoFn = std::int16_t(const char* path, std::int16_t page, std::int32_t* width, std::int32_t* height,
                               std::int16_t* compression, std::int32_t* further, std::int32_t* pageCount,
                               std::int32_t* bits);
using GetDxfInfoFn = std::int16_t(const char* path, std::int32_t* width, std::int32_t* height, std::int32_t* bits);
using WriteBmpFn = std::int16_t(const char* path, std::int16_t bits, DibHandle dib, void* control,
                                ProgressProc progress, std::int16_t option);
using AcquireFn = std::int16_t(void* parentWindow, std::int16_t bits, std::int16_t dither, std::int16_t zero,
                               DibHandle* out, void* palette, void* control, ProgressProc progress,
                               std::int16_t option);
using SelectSourceFn = std::int16_t(void* parentWindow, std::int16_t option);
using DepthFn = DibHandle(DibHandle dib);
// The "device bitmap" of this platform is an uncompressed packed bitmap.
using DibToDdbFn = void(unsigned char* lockedDib, DibHandle* outBitmap, void** outPalette);
using InitAnnotationFn = void(void* control, void* window, void* owner, AnnoDoneProc done, AnnoDrawProc draw,
                              AnnoDrawProc hardDraw, AnnoBeforeDrawProc before, AnnoAfterDrawProc after,
                              const char* iniPath);
using ControlFn = void(void* control);
using DrawAnnotationFn = void(void* control, double zoom, std::int32_t originX, std::int32_t originY,
                              std::int32_t offsetX, std::int32_t offsetY, std::int32_t scrollbarWidth,
                              std::int16_t option);
using MenuMsgFn = void(void* control, std::int32_t command);
using AnnotationFileFn = std::int32_t(void* control, std::int16_t page, const char* path);
using MouseMonFn = void(void* control, std::uint32_t message, std::int32_t zero, std::int32_t point);
using LoadStringFn = std::int32_t(std::uint32_t id, char* buffer, std::int32_t size);

// Transitions draw on the control through this canvas: the library says which
// area of the new picture to show next; the control copies it and repaints.
struct FxCanvas {
    void* context;
    void (*reveal)(void* context, std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height);
    std::int32_t width;
    std::int32_t height;
};
using FxBandsFn = std::int16_t(FxCanvas* target, const void* source, std::int32_t thickness, std::int32_t delay);
using FxRectanglesFn = std::int16_t(FxCanvas* target, const void* source, std::int32_t delay);
using ReduceDibFn = DibHandle(DibHandle dib, std::int16_t bits, std::int16_t dither, std::int32_t, std::int32_t,
                              std::int32_t, void* control, ProgressProc progress);

} // extern "C"

} // namespace kv::imaging::abi
