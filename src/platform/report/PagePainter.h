#pragma once

#include "platform/report/Document.h"

#include <QImage>

class QPainter;

namespace kv::report {

// Draws laid-out pages on any paint device: PDF, printer, SVG, screen.
class PagePainter {
public:
    // Draws the page with its top-left corner at the painter's origin, at
    // the device's resolution.
    static void paint(QPainter& painter, const RenderedPage& page);
    // The page as a picture at `dpi` dots per inch, on white.
    static QImage image(const RenderedPage& page, double dpi);
};

} // namespace kv::report
