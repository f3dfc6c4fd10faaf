#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <optional>

namespace kv::imaging {

// Zoom factor limits: a product at or below the lower one, or at or above the
// upper one, leaves the zoom as it is.
constexpr double kMinZoom = 0.075;
constexpr double kMaxZoom = 50.0;

// trunc() of a geometry value, held inside what widgets and scroll bars take.
int truncated(double value);

// What one paint of the zoomed view draws: picture pixels (source) onto
// control pixels (target), and the centring offsets it used.
struct ZoomedView {
    QRect source;
    QRect target;
    int offsetX = 0;
    int offsetY = 0;
    bool wider = false;
    bool taller = false;
    int scrollbarWidth = 0; // in use for this paint
};

ZoomedView zoomedView(QSize control, QSize picture, double zoom, QPoint origin, int scrollbarWidth, bool showScrollbars,
                      bool center);

struct ScrollbarLayout {
    bool shown = false;
    QRect vertical;
    QRect horizontal;
    QRect corner;
    int horizontalMaximum = 0;
    int horizontalPosition = 0;
    int verticalMaximum = 0;
    int verticalPosition = 0;
};

// eligible: a graphic with a handle, neither Stretch nor StretchRatio, and
// both Scrolling and ShowScrollbars on.
ScrollbarLayout layoutScrollbars(bool eligible, QSize control, QSize picture, double zoom, QPoint origin,
                                 int scrollbarWidth);

// Multiplies the zoom when the product lies strictly between the limits and
// moves the origin back so the view does not pass the picture's right and
// bottom edges. False when the zoom stays.
bool zoomOutStep(double& zoom, QPoint& origin, double factor, QSize control, QSize picture);
bool zoomInStep(double& zoom, double factor);

// How the control shows its picture when an area of it is chosen: stretched
// over the whole control, or through the zoomed view (zoom, origin and the
// centring offsets of its last paint).
struct AreaView {
    bool stretched = false;
    double zoom = 1.0;
    QPoint origin;
    QPoint offsets;
};
struct AreaZoom {
    double zoom = 1.0;
    QPoint origin;
};
// The zoomed view that shows the picture under the area between two corners
// (control pixels; a click is no area) as large as the control allows,
// keeping proportions, from the area's top left (moved back where the view
// would pass the picture's edges). Nothing for an area without width or
// height, or when that zoom does not lie strictly between the limits.
std::optional<AreaZoom> zoomIntoArea(QPoint corner1, QPoint corner2, QSize control, QSize picture,
                                     const AreaView& view);

// The zoom that fits the whole picture into the control, keeping proportions.
double fitZoom(QSize control, QSize picture);

// The origin after hiding the scroll bars over a picture wider or taller than the view.
QPoint originWithoutScrollbars(QPoint origin, QSize control, QSize picture, double zoom);

// One grab-hand step from the last mouse point to the new one (s: scroll
// bar width in use): even a one-pixel move at high zoom moves one picture pixel.
QPoint grabStep(QPoint origin, QPoint last, QPoint now, double zoom, QSize control, QSize picture, int s);

// Quadrant of a rubber band's drag (1 up-right, 2 up-left, 3 down-left,
// 4 down-right; later rules win on the axes).
int rubberBandQuadrant(int dx, int dy);
// The band's end: as far from the start as the mouse, in the control's proportions.
QPoint rubberBandEnd(QPoint start, QPoint mouse, QSize control);

} // namespace kv::imaging

#include <QImage>

namespace kv::imaging {

// A two-colour picture shrunk to `size` keeping thin lines: with keepDark a
// target pixel is dark when any picture pixel under it is (black on white),
// otherwise light when any is (white on black). Larger sizes are not shrunk.
QImage shrinkTwoColour(const QImage& picture, QSize size, bool keepDark);

} // namespace kv::imaging
