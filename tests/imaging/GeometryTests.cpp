#include "imaging/core/ScrollingMessage.h"
#include "imaging/core/UndoHistory.h"
#include "imaging/core/ZoomGeometry.h"

#include <gtest/gtest.h>

using namespace kv::imaging;

TEST(ZoomGeometry, ZoomStepsStayInsideTheLimits)
{
    struct Case {
        const char* name;
        bool out;
        double from, factor, expected;
    };
    const Case cases[] = {
        {"0.1 x 0.5 is not above the lower limit", true, 0.1, 0.5, 0.1},
        {"0.2 x 0.5", true, 0.2, 0.5, 0.1},
        {"enlarging through ZoomOut", true, 1.0, 10.0, 10.0},
        {"ZoomOut refuses 50 and more", true, 10.0, 10.0, 10.0},
        {"ZoomOut refuses a runaway product", true, 40.0, 1e300, 40.0},
        {"ZoomIn 1 x 10", false, 1.0, 10.0, 10.0},
        {"ZoomIn refuses 100", false, 10.0, 10.0, 10.0},
    };
    for (const Case& c : cases) {
        double zoom = c.from;
        QPoint origin;
        if (c.out)
            zoomOutStep(zoom, origin, c.factor, QSize(200, 200), QSize(400, 400));
        else
            zoomInStep(zoom, c.factor);
        EXPECT_DOUBLE_EQ(zoom, c.expected) << c.name;
    }
}

TEST(ZoomGeometry, ZoomOutKeepsTheViewInsideThePicture)
{
    double zoom = 1.0;
    QPoint origin(300, 0);
    ASSERT_TRUE(zoomOutStep(zoom, origin, 0.5, QSize(200, 100), QSize(400, 100)));
    EXPECT_EQ(origin.x(), 0); // 400 - trunc(200 / 0.5) = 0
}

TEST(ZoomGeometry, FitZoomKeepsProportions)
{
    EXPECT_DOUBLE_EQ(fitZoom(QSize(200, 200), QSize(1000, 500)), 0.2);
    EXPECT_DOUBLE_EQ(fitZoom(QSize(200, 200), QSize(500, 1000)), 0.2);
}

TEST(ZoomGeometry, ZoomedViewCases)
{
    struct Case {
        const char* name;
        QSize control, picture;
        double zoom;
        QPoint origin;
        bool center;
        QRect source, target;
    };
    const Case cases[] = {
        {"small picture centred", {200, 150}, {100, 100}, 1.0, {}, true, {0, 0, 100, 100}, {50, 25, 100, 100}},
        {"wider only", {300, 200}, {1000, 100}, 1.0, {40, 0}, false, {40, 0, 288, 100}, {0, 0, 288, 100}},
        {"taller only, centred", {300, 200}, {100, 1000}, 1.0, {0, 10}, true, {0, 10, 100, 188}, {100, 0, 100, 188}},
        {"wider and taller at zoom 2", {112, 112}, {100, 100}, 2.0, {5, 6}, false, {5, 6, 50, 50}, {0, 0, 100, 100}},
    };
    for (const Case& c : cases) {
        const ZoomedView v = zoomedView(c.control, c.picture, c.zoom, c.origin, 12, true, c.center);
        EXPECT_EQ(v.source, c.source) << c.name;
        EXPECT_EQ(v.target, c.target) << c.name;
    }
}

TEST(ZoomGeometry, ScrollbarsOfAWidePicture)
{
    const ScrollbarLayout l = layoutScrollbars(true, QSize(300, 200), QSize(1000, 100), 1.0, QPoint(40, 0), 12);
    ASSERT_TRUE(l.shown);
    EXPECT_EQ(l.horizontalMaximum, 712);
    EXPECT_EQ(l.horizontalPosition, 40);
    EXPECT_EQ(l.verticalMaximum, 0);
    EXPECT_EQ(l.vertical, QRect(288, 1, 12, 187));
    EXPECT_EQ(l.horizontal, QRect(1, 188, 287, 12));
    EXPECT_EQ(l.corner, QRect(288, 188, 12, 12));
    EXPECT_FALSE(layoutScrollbars(false, QSize(300, 200), QSize(1000, 100), 1.0, {}, 12).shown);
    EXPECT_FALSE(layoutScrollbars(true, QSize(300, 200), QSize(100, 100), 1.0, {}, 12).shown);
}

TEST(ZoomGeometry, HugeZoomNeverOverflows)
{
    const ScrollbarLayout l = layoutScrollbars(true, QSize(300, 200), QSize(60000, 60000), 49.9, {}, 12);
    EXPECT_GT(l.horizontalMaximum, 0);
    EXPECT_GT(l.verticalMaximum, 0);
}

TEST(ZoomGeometry, GrabStepMovesAtLeastOnePicturePixel)
{
    struct Case {
        const char* name;
        QPoint origin, last, now;
        double zoom;
        QPoint expected;
    };
    const Case cases[] = {
        {"one screen pixel at zoom 10", {50, 50}, {100, 100}, {99, 100}, 10.0, {51, 50}},
        {"back to the left edge", {2, 0}, {0, 0}, {30, 0}, 1.0, {0, 0}},
        {"stops at the right edge", {900, 0}, {200, 0}, {0, 0}, 1.0, {1000 - 288, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(grabStep(c.origin, c.last, c.now, c.zoom, QSize(300, 200), QSize(1000, 1000), 12), c.expected)
            << c.name;
}

TEST(ZoomGeometry, RubberBandHasTheControlsProportions)
{
    const std::tuple<int, int, int> quadrants[] = {{0, 0, 4}, {0, -5, 2}, {-5, 0, 3}, {5, -5, 1}, {5, 5, 4}};
    for (auto [dx, dy, q] : quadrants)
        EXPECT_EQ(rubberBandQuadrant(dx, dy), q) << dx << "," << dy;
    EXPECT_EQ(rubberBandEnd(QPoint(10, 10), QPoint(60, 10), QSize(200, 100)), QPoint(54, 32));
    EXPECT_EQ(rubberBandEnd(QPoint(100, 100), QPoint(50, 60), QSize(200, 100)), QPoint(42, 71));
}

TEST(ZoomGeometry, AreaBetweenTwoCornersFillsTheControl)
{
    struct Case {
        const char* name;
        QPoint corner1, corner2;
        QSize picture;
        AreaView view;
        std::optional<AreaZoom> expected;
    };
    const QSize control(200, 100);
    const AreaView stretched{true, 1.0, {}, {}};
    const Case cases[] = {
        {"stretched picture", {50, 25}, {90, 45}, {800, 400}, stretched, AreaZoom{1.25, {200, 100}}},
        {"zoomed view", {0, 0}, {100, 50}, {800, 400}, {false, 2.0, {10, 20}, {}}, AreaZoom{4.0, {10, 20}}},
        {"centred picture, dragged up and left",
         {110, 55},
         {60, 30},
         {100, 50},
         {false, 1.0, {}, {50, 25}},
         AreaZoom{4.0, {10, 5}}},
        {"kept inside the picture's right edge", {100, 50}, {200, 100}, {400, 400}, stretched, AreaZoom{0.5, {0, 200}}},
        {"a click is no area", {30, 30}, {30, 30}, {800, 400}, stretched, std::nullopt},
        {"zoom of 50 and more refused", {0, 0}, {2, 1}, {800, 400}, {false, 1.0, {}, {}}, std::nullopt},
        {"outside the control", {300, 300}, {400, 400}, {800, 400}, stretched, std::nullopt},
    };
    for (const Case& c : cases) {
        const std::optional<AreaZoom> zoomed = zoomIntoArea(c.corner1, c.corner2, control, c.picture, c.view);
        ASSERT_EQ(zoomed.has_value(), c.expected.has_value()) << c.name;
        if (zoomed) {
            EXPECT_DOUBLE_EQ(zoomed->zoom, c.expected->zoom) << c.name;
            EXPECT_EQ(zoomed->origin, c.expected->origin) << c.name;
        }
    }
}

TEST(ScrollingMessage, HorizontalFileValuesAndDefaults)
{
    const MessageSettings empty = parseHorizontalMessage(QString());
    EXPECT_EQ(empty.text, " Invallid message format ! ");
    EXPECT_EQ(empty.fontColour, 255);
    EXPECT_EQ(empty.fontHeight, -13);
    EXPECT_EQ(empty.fontName, "SYSTEM");
    EXPECT_EQ(empty.background, 128);
    EXPECT_EQ(empty.speed, 1);
    const MessageSettings m =
        parseHorizontalMessage(QStringLiteral("x/fc|65280/fh|-20/fn|Arial/fs|12/ft|1000/bc|/sp|3/sm|Bom dia/eo|"));
    EXPECT_EQ(m.fontColour, 65280);
    EXPECT_EQ(m.fontHeight, -20);
    EXPECT_EQ(m.fontName, "Arial");
    EXPECT_EQ(m.fontStyle, "1000");
    EXPECT_EQ(m.background, 128); // empty value keeps the default
    EXPECT_EQ(m.speed, 3);
    EXPECT_EQ(m.text, "Bom dia");
    // A tag at the very first character does not count.
    EXPECT_EQ(parseHorizontalMessage(QStringLiteral("/fc|1/fh|")).fontColour, 255);
}

TEST(ScrollingMessage, VerticalLinesAndTicks)
{
    const MessageSettings m =
        parseVerticalMessage({"ignored", "255", "-13", "Arial", "10", "0100", "0", "2", "ABCDE", " dois "});
    EXPECT_EQ(m.fontStyle, "0100");
    EXPECT_EQ(m.speed, 2);
    EXPECT_EQ(m.lines, QStringList({"ABCDE", " dois "}));
    EXPECT_EQ(preparedMessageLine("ABCDE"), "  ABCDE ");
    EXPECT_EQ(preparedMessageLine(" dois "), " dois ");
    EXPECT_EQ(colourFromStored(0x0000FF), QColor(255, 0, 0));

    MessageTicker one{1, 0};
    EXPECT_FALSE(one.tick());
    EXPECT_TRUE(one.tick());
    MessageTicker zero{0, 0};
    EXPECT_TRUE(zero.tick());
    EXPECT_TRUE(zero.tick());
}

TEST(UndoHistory, KeepsTheFourNewest)
{
    UndoHistory history;
    for (int i = 1; i <= 5; ++i) {
        QImage image(i, 1, QImage::Format_RGB32);
        history.push(image);
    }
    EXPECT_EQ(history.count(), 4);
    EXPECT_EQ(history.entry(0).width(), 5);
    EXPECT_EQ(history.entry(3).width(), 2);
}

TEST(ZoomGeometry, ShrunkTwoColourPicturesKeepThinLines)
{
    QImage lines(100, 100, QImage::Format_Mono);
    lines.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    lines.fill(0);
    for (int y = 0; y < 100; ++y)
        lines.setPixel(37, y, 1); // one black line on white
    const QImage dark = shrinkTwoColour(lines, QSize(10, 10), true);
    EXPECT_EQ(dark.pixel(3, 5), qRgb(0, 0, 0));
    EXPECT_EQ(dark.pixel(4, 5), qRgb(255, 255, 255));
    QImage inverted = lines;
    inverted.invertPixels();
    const QImage light = shrinkTwoColour(inverted, QSize(10, 10), false);
    EXPECT_EQ(light.pixel(3, 5), qRgb(255, 255, 255));
    EXPECT_EQ(light.pixel(4, 5), qRgb(0, 0, 0));
}
