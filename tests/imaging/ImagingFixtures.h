#pragma once

#include "imaging/core/ImagingLibraries.h"

#include <QImage>
#include <QString>
#include <memory>

namespace kv::test {

// The real libraries of the build, with the settings files in `settings`.
std::unique_ptr<kv::imaging::ImagingLibraries> realLibraries(const QString& settingsFolder);

// Small picture files written by the tests themselves.
QImage colourBars(int width = 64, int height = 48);
void writeBmp(const QString& path, const QImage& image, int bits); // 1, 4, 8 or 24 bits
// A TIFF of 8-bit grey pages, one per compression code (1 or 32773).
void writeTiff(const QString& path, const QList<int>& compressions, int width = 8, int height = 6);
void writeBytes(const QString& path, const QByteArray& bytes);

} // namespace kv::test
