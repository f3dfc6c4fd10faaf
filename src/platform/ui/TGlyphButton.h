#pragma once

#include <QColor>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>
#include <array>

class QShortcut;

namespace kv::ui {

enum class GlyphLayout { GlyphLeft, GlyphRight, GlyphTop, GlyphBottom };

// Where the glyph and the caption go inside a button's client rectangle.
struct GlyphPlacement {
    QPoint glyph;
    QRect text;
};

// Lays out a glyph of `glyphSize` and a caption of `textSize` in `client`.
// `margin` -1 centres; `spacing` -1 spreads evenly; `offset` is the pressed
// shift. Integer divisions truncate toward zero.
GlyphPlacement placeGlyphAndText(const QRect& client, QSize glyphSize, QSize textSize, GlyphLayout layout, int margin,
                                 int spacing, QPoint offset);

// The flat command button of every form: a glyph cut from a strip of one to
// four images (up, disabled, down, exclusive) and an optional caption with an
// accelerator. It takes no focus. With a GroupIndex other than 0 it toggles
// and stays down; in one parent at most one button of a group is down, and a
// group shares one AllowAllUp.
class TGlyphButton : public QWidget {
    Q_OBJECT
public:
    enum class ButtonState { Up, Disabled, Down, Exclusive };

    explicit TGlyphButton(QWidget* parent = nullptr);
    explicit TGlyphButton(const QString& caption, QWidget* parent = nullptr);
    ~TGlyphButton() override;

    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    QString Hint() const { return toolTip(); }
    void SetHint(const QString& hint) { setToolTip(hint); }
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);

    // Assigning a strip sets the number of images from its proportions when its
    // width is a multiple of its height (width / height, or 1 past 4).
    void SetGlyph(const QImage& strip);
    QImage GetGlyph() const { return m_strip; }
    void SetNumGlyphs(int count);
    int GetNumGlyphs() const { return m_numGlyphs; }
    // The colour that is see-through in a strip without alpha: olive until a
    // strip is assigned, then the strip's bottom-left pixel.
    QColor TransparentColor() const { return m_transparent; }

    void SetLayout(GlyphLayout layout);
    GlyphLayout Layout() const { return m_layout; }
    void SetMargin(int margin); // -1 centres; below -1 is refused
    int Margin() const { return m_margin; }
    void SetSpacing(int spacing); // -1 spreads
    int Spacing() const { return m_spacing; }
    void SetOpaque(bool opaque);
    bool Opaque() const { return m_opaque; }

    void SetGroupIndex(int group);
    int GroupIndex() const { return m_groupIndex; }
    void SetAllowAllUp(bool allow);
    bool AllowAllUp() const { return m_allowAllUp; }
    void SetDown(bool down);
    bool Down() const { return m_down; }

    ButtonState State() const { return m_state; }
    bool MouseInControl() const { return m_mouseInControl; }

    // The prepared image the button paints for a state (null without a glyph).
    QImage GlyphImage(ButtonState state) const;

    // Fires clicked() as a click would.
    void Click();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void clicked();
    void doubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    void init();
    void buttonPressed(int group, TGlyphButton* sender);
    void broadcastGroup();
    void releaseImages();
    void updateTracking();
    void mouseLeft();
    QSize glyphSize() const;
    QSize textSize() const;
    bool isSeeThrough(QRgb pixel) const;

    QString m_caption;
    QColor m_color;
    QImage m_strip;
    int m_numGlyphs = 1;
    QColor m_transparent;
    GlyphLayout m_layout = GlyphLayout::GlyphLeft;
    int m_margin = -1;
    int m_spacing = 4;
    bool m_opaque = true;
    int m_groupIndex = 0;
    bool m_down = false;
    bool m_allowAllUp = false;
    ButtonState m_state = ButtonState::Up;
    bool m_mouseInControl = false;
    bool m_dragging = false;
    mutable std::array<QImage, 4> m_images; // prepared per state
    QShortcut* m_accelerator = nullptr;
};

} // namespace kv::ui
