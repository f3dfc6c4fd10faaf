// The flat glyph button: group rules, glyph strips, layout of glyph and
// caption, the disabled look and the mouse.
#include "support/Scenario.h"
#include "platform/ui/TGlyphButton.h"

#include <QHBoxLayout>
#include <QTest>

#include <gtest/gtest.h>

using kv::test::Scenario;
using kv::ui::GlyphLayout;
using kv::ui::TGlyphButton;
using State = kv::ui::TGlyphButton::ButtonState;

namespace {

const QColor kOlive(128, 128, 0);

// A strip of `count` square images of `size` pixels on an olive background,
// each with a filled square in its own colour in the middle.
QImage strip(int width, int height, const std::vector<QColor>& colours = {})
{
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(kOlive);
    const int count = height > 0 ? std::max(1, width / height) : 1;
    for (int i = 0; i < static_cast<int>(colours.size()) && i < count; ++i) {
        for (int y = height / 4; y < height * 3 / 4; ++y)
            for (int x = height / 4; x < height * 3 / 4; ++x)
                image.setPixelColor(i * height + x, y, colours[static_cast<std::size_t>(i)]);
    }
    return image;
}

struct Panel {
    Scenario scenario;
    QWidget* parent = new QWidget;
    std::vector<TGlyphButton*> buttons;
    int clicks = 0;

    Panel(int count, int group, bool allowAllUp)
    {
        auto* layout = new QHBoxLayout(parent);
        for (int i = 0; i < count; ++i) {
            auto* button = new TGlyphButton(QStringLiteral("B%1").arg(i), parent);
            button->setObjectName(QStringLiteral("B%1").arg(i));
            button->SetGroupIndex(group);
            button->SetAllowAllUp(allowAllUp);
            QObject::connect(button, &TGlyphButton::clicked, [this] { ++clicks; });
            layout->addWidget(button);
            buttons.push_back(button);
        }
        scenario.show(parent);
    }

    std::vector<int> down() const
    {
        std::vector<int> result;
        for (int i = 0; i < static_cast<int>(buttons.size()); ++i)
            if (buttons[static_cast<std::size_t>(i)]->Down())
                result.push_back(i);
        return result;
    }

    void press(int i)
    {
        TGlyphButton* b = buttons[static_cast<std::size_t>(i)];
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    }
};

struct GroupCase {
    const char* name;
    int group;
    bool allowAllUp;
    std::vector<int> presses;
    std::vector<int> down;
    int clicks;
};
void PrintTo(const GroupCase& c, std::ostream* os) { *os << c.name; }

class GlyphButtonGroup : public ::testing::TestWithParam<GroupCase> {};

TEST_P(GlyphButtonGroup, PressesLeaveTheExpectedButtonsDown)
{
    const GroupCase& c = GetParam();
    Panel panel(10, c.group, c.allowAllUp);
    for (int i : c.presses)
        panel.press(i);
    EXPECT_EQ(panel.down(), c.down);
    EXPECT_EQ(panel.clicks, c.clicks);
    for (int i : c.down)
        EXPECT_EQ(panel.buttons[static_cast<std::size_t>(i)]->State(), State::Exclusive);
}

INSTANTIATE_TEST_SUITE_P(Rules, GlyphButtonGroup,
                         ::testing::Values(GroupCase{"OnePressedGoesDown", 1, true, {3}, {3}, 1},
                                           GroupCase{"PressingAnotherReleasesTheFirst", 1, true, {3, 7}, {7}, 2},
                                           GroupCase{"WithAllowAllUpTheDownOneGoesUp", 1, true, {3, 3}, {}, 2},
                                           GroupCase{"WithoutAllowAllUpTheDownOneStays", 1, false, {3, 3}, {3}, 2},
                                           GroupCase{
                                               "WithoutAllowAllUpAnotherStillTakesOver", 1, false, {3, 5}, {5}, 2},
                                           GroupCase{"WithoutGroupNothingStaysDown", 0, true, {3, 3, 4}, {}, 3}),
                         [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(GlyphButton, DownWithoutGroupStaysUp)
{
    Panel panel(1, 0, true);
    panel.buttons[0]->SetDown(true);
    EXPECT_FALSE(panel.buttons[0]->Down());
    EXPECT_EQ(panel.buttons[0]->State(), State::Up);
}

TEST(GlyphButton, SetDownReleasesTheOthersAndTheGroupSharesAllowAllUp)
{
    Panel panel(4, 2, false);
    panel.buttons[1]->SetDown(true);
    panel.buttons[2]->SetDown(true);
    EXPECT_EQ(panel.down(), std::vector<int>({2}));
    EXPECT_EQ(panel.clicks, 0) << "SetDown is no click";

    panel.buttons[0]->SetAllowAllUp(true);
    for (TGlyphButton* b : panel.buttons)
        EXPECT_TRUE(b->AllowAllUp());
    panel.buttons[2]->SetDown(false);
    EXPECT_TRUE(panel.down().empty());
}

TEST(GlyphButton, ButtonsOfAnotherGroupOrParentAreLeftAlone)
{
    Panel panel(3, 1, true);
    panel.buttons[2]->SetGroupIndex(2);
    auto* elsewhere = new TGlyphButton(QStringLiteral("X"));
    elsewhere->SetGroupIndex(1);
    panel.scenario.show(elsewhere);
    elsewhere->SetDown(true);
    panel.buttons[2]->SetDown(true);
    panel.buttons[0]->SetDown(true);
    EXPECT_EQ(panel.down(), std::vector<int>({0, 2}));
    EXPECT_TRUE(elsewhere->Down());
}

struct StripCase {
    int width;
    int height;
    int before; // number of images set before the strip is assigned
    int after;
};
void PrintTo(const StripCase& c, std::ostream* os) { *os << c.width << "x" << c.height; }

class GlyphStrip : public ::testing::TestWithParam<StripCase> {};

TEST_P(GlyphStrip, NumberOfImagesFollowsTheProportions)
{
    const StripCase& c = GetParam();
    TGlyphButton button;
    button.SetNumGlyphs(c.before);
    button.SetGlyph(strip(c.width, c.height));
    EXPECT_EQ(button.GetNumGlyphs(), c.after);
}

INSTANTIATE_TEST_SUITE_P(Strips, GlyphStrip,
                         ::testing::Values(StripCase{64, 16, 1, 4}, StripCase{16, 16, 3, 1}, StripCase{32, 16, 1, 2},
                                           StripCase{48, 16, 1, 3}, StripCase{80, 16, 2, 1}, // more than four: one
                                           StripCase{50, 16, 2, 2}, // not a multiple: unchanged
                                           StripCase{50, 16, 3, 3}));

struct StateImageCase {
    int images;
    State state;
    int expectedImage; // which image of the strip the state shows
};
void PrintTo(const StateImageCase& c, std::ostream* os) { *os << c.images << " images, state " << int(c.state); }

class GlyphStateImage : public ::testing::TestWithParam<StateImageCase> {};

TEST_P(GlyphStateImage, EachStateShowsItsImageOrTheFirst)
{
    const std::vector<QColor> colours = {Qt::red, QColor(0, 0, 255), Qt::green, Qt::yellow};
    const StateImageCase& c = GetParam();
    TGlyphButton button;
    button.SetGlyph(strip(16 * c.images, 16, colours));
    const QImage image = button.GlyphImage(c.state);
    ASSERT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixelColor(8, 8), colours[static_cast<std::size_t>(c.expectedImage)]);
    // The olive background is see-through.
    EXPECT_EQ(image.pixelColor(0, 0).alpha(), 0);
}

INSTANTIATE_TEST_SUITE_P(States, GlyphStateImage,
                         ::testing::Values(StateImageCase{4, State::Up, 0}, StateImageCase{4, State::Down, 2},
                                           StateImageCase{4, State::Exclusive, 3},
                                           StateImageCase{2, State::Down, 0}, // fewer than three: up image
                                           StateImageCase{3, State::Down, 2}, StateImageCase{3, State::Exclusive, 0}));

TEST(GlyphButton, DisabledSingleImageIsAnEmbossedSilhouette)
{
    TGlyphButton button;
    button.SetGlyph(strip(16, 16, {Qt::red}));
    const QImage image = button.GlyphImage(State::Disabled);
    const QPalette& p = button.palette();
    // The square (4..11) in shadow, its copy one pixel down-right in highlight, the rest button face.
    EXPECT_EQ(image.pixel(6, 6), p.color(QPalette::Dark).rgba());
    EXPECT_EQ(image.pixel(12, 12), p.color(QPalette::Light).rgba());
    EXPECT_EQ(image.pixel(1, 1), p.color(QPalette::Button).rgba());
}

TEST(GlyphButton, DisabledSecondImageTakesTheButtonColours)
{
    QImage image = strip(32, 16);
    for (int x = 16; x < 20; ++x) {
        image.setPixelColor(x, 5, Qt::white);
        image.setPixelColor(x, 6, QColor(128, 128, 128));
        image.setPixelColor(x, 7, QColor(10, 20, 30));
    }
    TGlyphButton button;
    button.SetGlyph(image);
    const QImage disabled = button.GlyphImage(State::Disabled);
    const QPalette& p = button.palette();
    EXPECT_EQ(disabled.pixel(0, 5), p.color(QPalette::Light).rgba());
    EXPECT_EQ(disabled.pixel(0, 6), p.color(QPalette::Dark).rgba());
    EXPECT_EQ(disabled.pixelColor(0, 7), QColor(10, 20, 30));
    EXPECT_EQ(disabled.pixel(10, 10), p.color(QPalette::Button).rgba());
}

TEST(GlyphButton, ZeroSizedBitmapDrawsNoGlyph)
{
    TGlyphButton button(QStringLiteral("&Terminar"));
    button.SetGlyph(QImage());
    EXPECT_TRUE(button.GlyphImage(State::Up).isNull());
    button.resize(80, 25);
    EXPECT_FALSE(button.grab().isNull());
}

TEST(GlyphButton, DisabledButtonPaintsEmbossedCaptionAndTakesNoClick)
{
    Scenario scenario;
    auto* button = new TGlyphButton(QStringLiteral("&Eliminar"));
    button->SetGlyph(strip(16, 16, {Qt::red}));
    button->resize(90, 25);
    int clicks = 0;
    QObject::connect(button, &TGlyphButton::clicked, [&] { ++clicks; });
    scenario.show(button);
    const QImage enabledLook = button->grab().toImage();
    button->setEnabled(false);
    const QImage disabledLook = button->grab().toImage();
    EXPECT_EQ(button->State(), State::Disabled);
    EXPECT_NE(enabledLook, disabledLook);
    // The caption is drawn in highlight and shadow colours, nowhere in the text colour.
    bool highlight = false;
    bool shadow = false;
    const QColor light = button->palette().color(QPalette::Light);
    const QColor dark = button->palette().color(QPalette::Dark);
    for (int y = 0; y < disabledLook.height(); ++y)
        for (int x = 30; x < disabledLook.width(); ++x) {
            highlight |= disabledLook.pixelColor(x, y) == light;
            shadow |= disabledLook.pixelColor(x, y) == dark;
        }
    EXPECT_TRUE(highlight);
    EXPECT_TRUE(shadow);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, button->rect().center());
    EXPECT_EQ(clicks, 0);
}

TEST(GlyphButton, DraggingOutBeforeReleasingIsNoClick)
{
    Panel panel(1, 0, false);
    TGlyphButton* b = panel.buttons[0];
    QTest::mousePress(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    EXPECT_EQ(b->State(), State::Down);
    QMouseEvent move(QEvent::MouseMove, QPointF(b->width() + 20, 5), b->mapToGlobal(QPointF(b->width() + 20, 5)),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(b, &move);
    EXPECT_EQ(b->State(), State::Up);
    QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, QPoint(b->width() + 20, 5));
    EXPECT_EQ(panel.clicks, 0);
    EXPECT_EQ(b->State(), State::Up);
}

TEST(GlyphButton, DoubleClickFiresOnlyWhenDown)
{
    Panel panel(2, 0, false);
    panel.buttons[1]->SetGroupIndex(1);
    panel.buttons[1]->SetAllowAllUp(false);
    int doubles[2] = {0, 0};
    for (int i = 0; i < 2; ++i)
        QObject::connect(panel.buttons[static_cast<std::size_t>(i)], &TGlyphButton::doubleClicked,
                         [&doubles, i] { ++doubles[i]; });
    // As the window system delivers a double click: press, release, double click, release.
    for (TGlyphButton* b : panel.buttons) {
        QTest::mouseClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
        QTest::mouseDClick(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
        QTest::mouseRelease(b, Qt::LeftButton, Qt::NoModifier, b->rect().center());
    }
    EXPECT_EQ(doubles[0], 0) << "a button without a group is never down";
    EXPECT_TRUE(panel.buttons[1]->Down());
    EXPECT_EQ(doubles[1], 1);
}

TEST(GlyphButton, AcceleratorClicksAndButtonTakesNoFocus)
{
    Panel panel(1, 0, false);
    panel.buttons[0]->SetCaption(QStringLiteral("&Inserir"));
    EXPECT_EQ(panel.buttons[0]->focusPolicy(), Qt::NoFocus);
    QTest::keyClick(panel.parent, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(panel.clicks, 1);
    panel.buttons[0]->hide();
    QTest::keyClick(panel.parent, Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(panel.clicks, 1) << "a hidden button cannot be clicked";
}

TEST(GlyphButton, MarginBelowMinusOneIsRefused)
{
    TGlyphButton button;
    button.SetMargin(3);
    button.SetMargin(-2);
    EXPECT_EQ(button.Margin(), 3);
    button.SetMargin(-1);
    EXPECT_EQ(button.Margin(), -1);
}

TEST(GlyphButton, TransparentColourIsOliveUntilAStripComes)
{
    TGlyphButton button;
    EXPECT_EQ(button.TransparentColor(), kOlive);
    QImage fuchsia(16, 16, QImage::Format_RGB32);
    fuchsia.fill(QColor(255, 0, 255));
    button.SetGlyph(fuchsia);
    EXPECT_EQ(button.TransparentColor(), QColor(255, 0, 255));
}

struct PlaceCase {
    const char* name;
    GlyphLayout layout;
    int margin;
    int spacing;
    QSize glyph;
    QSize text;
    QPoint glyphAt;
    QPoint textAt;
};
void PrintTo(const PlaceCase& c, std::ostream* os) { *os << c.name; }

class GlyphPlacementCase : public ::testing::TestWithParam<PlaceCase> {};

// Client 100 x 30 at (1, 1), not pressed.
TEST_P(GlyphPlacementCase, GlyphAndCaptionGoWhereTheRulesSay)
{
    const PlaceCase& c = GetParam();
    const auto place =
        kv::ui::placeGlyphAndText(QRect(1, 1, 100, 30), c.glyph, c.text, c.layout, c.margin, c.spacing, QPoint());
    EXPECT_EQ(place.glyph, c.glyphAt);
    EXPECT_EQ(place.text.topLeft(), c.textAt);
    EXPECT_EQ(place.text.size(), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, GlyphPlacementCase,
    ::testing::Values(
        // margin -1, spacing 4: margin = (100 - 16 - 4 - 40 + 1) / 2 = 20
        PlaceCase{"LeftCentred", GlyphLayout::GlyphLeft, -1, 4, {16, 16}, {40, 13}, {21, 8}, {41, 10}},
        // margin -1, spacing -1: (100 - 16 - 40) / 3 = 14 each
        PlaceCase{"LeftSpread", GlyphLayout::GlyphLeft, -1, -1, {16, 16}, {40, 13}, {15, 8}, {45, 10}},
        // margin 2, spacing -1: spacing = (100 - 2 - 16 - 40) / 2 = 21
        PlaceCase{"LeftMarginSpread", GlyphLayout::GlyphLeft, 2, -1, {16, 16}, {40, 13}, {3, 8}, {40, 10}},
        PlaceCase{"RightFixed", GlyphLayout::GlyphRight, 2, 4, {16, 16}, {40, 13}, {83, 8}, {39, 10}},
        // vertical: glyph x = (100 - 16 + 1) / 2 = 42; margin = (30 - 16 - 4 - 6 + 1) / 2 = 2
        PlaceCase{"TopCentred", GlyphLayout::GlyphTop, -1, 4, {16, 16}, {40, 6}, {43, 3}, {31, 23}},
        PlaceCase{"BottomFixed", GlyphLayout::GlyphBottom, 1, 2, {16, 16}, {40, 6}, {43, 14}, {31, 6}},
        // no caption: spacing 0, glyph centred: (100 - 16 + 1) / 2 = 42
        PlaceCase{"GlyphOnly", GlyphLayout::GlyphLeft, -1, 4, {16, 16}, {0, 0}, {43, 8}, {59, 16}},
        // no glyph: the caption alone, centred
        PlaceCase{"CaptionOnly", GlyphLayout::GlyphLeft, -1, 4, {0, 0}, {40, 13}, {31, 16}, {31, 10}}),
    [](const auto& testInfo) { return std::string(testInfo.param.name); });

TEST(GlyphButton, PressedContentIsShiftedByOnePixel)
{
    const auto up = kv::ui::placeGlyphAndText(QRect(1, 1, 20, 21), {16, 16}, {}, GlyphLayout::GlyphLeft, -1, 4, {});
    const auto down =
        kv::ui::placeGlyphAndText(QRect(1, 1, 20, 21), {16, 16}, {}, GlyphLayout::GlyphLeft, -1, 4, {1, 1});
    EXPECT_EQ(down.glyph, up.glyph + QPoint(1, 1));
}

} // namespace
