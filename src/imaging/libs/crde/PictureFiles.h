#pragma once

#include <QImage>
#include <QString>

namespace kv::imaging::crde {

// What a picture file holds, judged by its content.
struct PictureFileInfo {
    QString format; // "BMP", "PNG", "GIF", "JPEG", "TIF", "TGA", "PCX", "EPS", "PCD", "DXF", "WMF", "ICO"
    QString compression;
    int width = 0;
    int height = 0;
    int bits = 0;
    int pageCount = 1;
    int compressionCode = 0; // TIFF tag 259 of the page
    bool readable = false; // a reader exists on this system
    bool corrupt = false; // the content claims a format but its header is unusable
};

// Reads the header of the file; a format nobody knows gives an empty format.
PictureFileInfo inspectPicture(const QString& path, int page = 0);

// Reads one page of the file (page 0 and 1 are both the first page).
// A null picture when it cannot be read.
QImage readPicture(const QString& path, int page = 0);

} // namespace kv::imaging::crde
