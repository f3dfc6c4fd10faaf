#pragma once

#include "imaging/dib/ImagingEntryPoints.h"

#include <QImage>
#include <QStringList>

class QWidget;

namespace kv::imaging::crde {

// One page from a scanner through SANE: the device chosen in the settings
// file's [Imaging Twain] "Source", else the first one found. Options of the
// [Scanner Options] group are set on the device before the scan. mode is
// "Color", "Gray" or "Lineart" (a device without line art scans grey at 1 bit).
// Answers 1 and the picture, or an error code of the library.
std::int16_t scanPage(const QString& mode, QImage& out, void* control, abi::ProgressProc progress);

// The scanners SANE finds, as "name\tvendor model".
QStringList scannerDevices();

// Shows the devices and keeps the one chosen in the settings file.
std::int16_t chooseScanner(QWidget* parent);

} // namespace kv::imaging::crde
