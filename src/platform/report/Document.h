#pragma once

#include "platform/report/Band.h"
#include "platform/report/PageSetup.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRectF>
#include <QString>
#include <QVariant>
#include <functional>
#include <vector>

namespace kv::report {

// One thing drawn on a laid-out page, in millimetres from the page's corner.
struct RenderedItem {
    enum class Kind : quint8 { Text, Rectangle, Ellipse, Line, Image };

    Kind kind = Kind::Text;
    QRectF rect; // a line runs from rect's top-left to its bottom-right
    QString text;
    QVariant number; // the number behind a text, for spreadsheets
    QString sheetFormat; // its number format there
    QFont font; // family already mapped to an installed font
    QColor color; // text or line colour
    QColor fill; // background; invalid: none
    int flags = 0; // Qt::Alignment, Qt::TextWordWrap
    double penWidth = 0.0; // mm
    QImage image;
    bool keepAspect = false;
};

struct RenderedBand {
    BandKind kind = BandKind::Detail;
    QString name;
    QRectF rect; // mm on the page
    QColor color; // invalid: none
    std::vector<RenderedItem> items;
};

struct RenderedPage {
    PageSetup setup;
    int number = 0; // within its report
    int reportIndex = 0; // which report of a job
    std::vector<RenderedBand> bands;
};

// The pages of a run (or of a job of several reports), ready to preview,
// print and export.
struct Document {
    QString title;
    std::vector<RenderedPage> pages;

    bool isEmpty() const { return pages.empty(); }
    int pageCount() const { return static_cast<int>(pages.size()); }
};

// Receives each page as soon as it is complete.
using PageSink = std::function<void(RenderedPage&&)>;

} // namespace kv::report
