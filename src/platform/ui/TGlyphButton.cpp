#include "platform/ui/TGlyphButton.h"

#include <QApplication>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <qdrawutil.h>

namespace kv::ui {

GlyphPlacement placeGlyphAndText(const QRect& client, QSize glyphSize, QSize textSize, GlyphLayout layout, int margin,
                                 int spacing, QPoint offset)
{
    const int width = client.width();
    const int height = client.height();
    const bool horizontal = layout == GlyphLayout::GlyphLeft || layout == GlyphLayout::GlyphRight;
    QPoint glyph;
    QPoint text;
    if (horizontal) {
        glyph.setY((height - glyphSize.height() + 1) / 2);
        text.setY((height - textSize.height() + 1) / 2);
    } else {
        glyph.setX((width - glyphSize.width() + 1) / 2);
        text.setX((width - textSize.width() + 1) / 2);
    }
    if (textSize.width() == 0 || glyphSize.width() == 0)
        spacing = 0;

    const int length = horizontal ? width : height;
    const int glyphLength = horizontal ? glyphSize.width() : glyphSize.height();
    const int textLength = horizontal ? textSize.width() : textSize.height();
    if (margin == -1) {
        if (spacing == -1) {
            margin = (length - glyphLength - textLength) / 3;
            spacing = margin;
        } else {
            margin = (length - glyphLength - spacing - textLength + 1) / 2;
        }
    } else if (spacing == -1) {
        spacing = (length - margin - glyphLength - textLength) / 2;
    }

    switch (layout) {
    case GlyphLayout::GlyphLeft:
        glyph.setX(margin);
        text.setX(glyph.x() + glyphSize.width() + spacing);
        break;
    case GlyphLayout::GlyphRight:
        glyph.setX(width - margin - glyphSize.width());
        text.setX(glyph.x() - spacing - textSize.width());
        break;
    case GlyphLayout::GlyphTop:
        glyph.setY(margin);
        text.setY(glyph.y() + glyphSize.height() + spacing);
        break;
    case GlyphLayout::GlyphBottom:
        glyph.setY(height - margin - glyphSize.height());
        text.setY(glyph.y() - spacing - textSize.height());
        break;
    }
    const QPoint shift = client.topLeft() + offset;
    return {glyph + shift, QRect(text + shift, textSize)};
}

namespace {
const QColor kOlive(128, 128, 0);
constexpr int kTextFlags = Qt::TextSingleLine | Qt::TextShowMnemonic;
} // namespace

TGlyphButton::TGlyphButton(QWidget* parent) : QWidget(parent) { init(); }

TGlyphButton::TGlyphButton(const QString& caption, QWidget* parent) : QWidget(parent)
{
    init();
    SetCaption(caption);
}

TGlyphButton::~TGlyphButton() = default;

void TGlyphButton::init()
{
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_Hover, false);
    m_color = palette().color(QPalette::Button);
    m_transparent = kOlive;
    setAttribute(Qt::WA_OpaquePaintEvent, m_opaque);
    // As big as its glyph and caption, never cut and never stretched.
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    resize(22, 23);
}

QSize TGlyphButton::minimumSizeHint() const { return sizeHint(); }

void TGlyphButton::SetCaption(const QString& caption)
{
    if (caption == m_caption)
        return;
    m_caption = caption;
    delete m_accelerator;
    m_accelerator = nullptr;
    const QKeySequence mnemonic = QKeySequence::mnemonic(caption);
    if (!mnemonic.isEmpty()) {
        m_accelerator = new QShortcut(mnemonic, this);
        m_accelerator->setContext(Qt::WindowShortcut);
        connect(m_accelerator, &QShortcut::activated, this, [this] {
            if (isEnabled() && isVisible())
                Click();
        });
    }
    updateGeometry();
    update();
}

void TGlyphButton::SetColor(const QColor& color)
{
    m_color = color;
    update();
}

void TGlyphButton::SetGlyph(const QImage& strip)
{
    releaseImages();
    m_strip = strip;
    if (!strip.isNull() && strip.height() > 0) {
        if (strip.width() % strip.height() == 0) {
            const int count = strip.width() / strip.height();
            m_numGlyphs = (count >= 1 && count <= 4) ? count : 1;
        }
        if (!strip.hasAlphaChannel())
            m_transparent = strip.pixelColor(0, strip.height() - 1);
    }
    updateGeometry();
    update();
}

void TGlyphButton::SetNumGlyphs(int count)
{
    count = std::clamp(count, 1, 4);
    if (count == m_numGlyphs)
        return;
    releaseImages();
    m_numGlyphs = count;
    updateGeometry();
    update();
}

void TGlyphButton::SetLayout(GlyphLayout layout)
{
    m_layout = layout;
    update();
}

void TGlyphButton::SetMargin(int margin)
{
    if (margin < -1 || margin == m_margin)
        return;
    m_margin = margin;
    update();
}

void TGlyphButton::SetSpacing(int spacing)
{
    m_spacing = spacing;
    update();
}

void TGlyphButton::SetOpaque(bool opaque)
{
    m_opaque = opaque;
    setAttribute(Qt::WA_OpaquePaintEvent, opaque);
    update();
}

void TGlyphButton::SetGroupIndex(int group)
{
    if (group == m_groupIndex)
        return;
    m_groupIndex = group;
    broadcastGroup();
}

void TGlyphButton::SetAllowAllUp(bool allow)
{
    if (allow == m_allowAllUp)
        return;
    m_allowAllUp = allow;
    broadcastGroup();
}

void TGlyphButton::SetDown(bool down)
{
    if (m_groupIndex == 0)
        down = false;
    if (down == m_down)
        return;
    if (m_down && !m_allowAllUp)
        return;
    m_down = down;
    if (down) {
        if (m_state == ButtonState::Up)
            update();
        m_state = ButtonState::Exclusive;
        broadcastGroup();
    } else {
        m_state = ButtonState::Up;
        update();
    }
}

void TGlyphButton::broadcastGroup()
{
    if (m_groupIndex == 0 || !parentWidget())
        return;
    const auto siblings = parentWidget()->findChildren<TGlyphButton*>(Qt::FindDirectChildrenOnly);
    for (TGlyphButton* sibling : siblings)
        sibling->buttonPressed(m_groupIndex, this);
}

void TGlyphButton::buttonPressed(int group, TGlyphButton* sender)
{
    if (group != m_groupIndex || sender == this)
        return;
    if (sender->m_down && m_down) {
        m_down = false;
        m_state = ButtonState::Up;
        update();
    }
    m_allowAllUp = sender->m_allowAllUp;
}

void TGlyphButton::Click() { emit clicked(); }

void TGlyphButton::releaseImages()
{
    for (QImage& image : m_images)
        image = QImage();
}

bool TGlyphButton::isSeeThrough(QRgb pixel) const
{
    if (m_strip.hasAlphaChannel())
        return qAlpha(pixel) == 0;
    return (pixel & 0xFFFFFF) == (m_transparent.rgb() & 0xFFFFFF);
}

QSize TGlyphButton::glyphSize() const
{
    if (m_strip.isNull() || m_strip.width() == 0 || m_strip.height() == 0)
        return {0, 0};
    return {m_strip.width() / m_numGlyphs, m_strip.height()};
}

QSize TGlyphButton::textSize() const
{
    if (m_caption.isEmpty())
        return {0, 0};
    return fontMetrics().boundingRect(QRect(), kTextFlags, m_caption).size();
}

QImage TGlyphButton::GlyphImage(ButtonState state) const
{
    const QSize size = glyphSize();
    if (size.isEmpty())
        return {};
    if (state == ButtonState::Down && m_numGlyphs < 3)
        state = ButtonState::Up;
    QImage& prepared = m_images[static_cast<std::size_t>(state)];
    if (!prepared.isNull())
        return prepared;

    int index = static_cast<int>(state);
    if (index >= m_numGlyphs)
        index = 0;
    const QImage source =
        m_strip.copy(index * size.width(), 0, size.width(), size.height()).convertToFormat(QImage::Format_ARGB32);
    const QPalette& colours = palette();
    const QRgb face = colours.color(QPalette::Button).rgba();
    const QRgb highlight = colours.color(QPalette::Light).rgba();
    const QRgb shadow = colours.color(QPalette::Dark).rgba();

    QImage image(size, QImage::Format_ARGB32);
    if (state != ButtonState::Disabled) {
        // Masked by the see-through colour.
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb pixel = source.pixel(x, y);
                image.setPixel(x, y, isSeeThrough(pixel) ? qRgba(0, 0, 0, 0) : (pixel | 0xFF000000u));
            }
    } else if (m_numGlyphs == 1) {
        // Embossed silhouette on the button face.
        image.fill(face);
        auto paintSilhouette = [&](int dx, int dy, QRgb colour) {
            for (int y = 0; y < size.height(); ++y)
                for (int x = 0; x < size.width(); ++x) {
                    const int tx = x + dx;
                    const int ty = y + dy;
                    if (tx < size.width() && ty < size.height() && !isSeeThrough(source.pixel(x, y)))
                        image.setPixel(tx, ty, colour);
                }
        };
        paintSilhouette(1, 1, highlight);
        paintSilhouette(0, 0, shadow);
    } else {
        // The strip's own disabled image in the button's colours.
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x) {
                const QRgb pixel = source.pixel(x, y);
                QRgb out = pixel | 0xFF000000u;
                if (isSeeThrough(pixel))
                    out = face;
                else if ((pixel & 0xFFFFFF) == 0xFFFFFF)
                    out = highlight;
                else if ((pixel & 0xFFFFFF) == 0x808080)
                    out = shadow;
                image.setPixel(x, y, out);
            }
    }
    prepared = image;
    return prepared;
}

QSize TGlyphButton::sizeHint() const
{
    const QSize glyph = glyphSize();
    const QSize text = textSize();
    const int gap = (glyph.isEmpty() || text.isEmpty()) ? 0 : std::max(m_spacing, 4);
    const bool horizontal = m_layout == GlyphLayout::GlyphLeft || m_layout == GlyphLayout::GlyphRight;
    QSize content = horizontal ? QSize(glyph.width() + gap + text.width(), std::max(glyph.height(), text.height()))
                               : QSize(std::max(glyph.width(), text.width()), glyph.height() + gap + text.height());
    content += QSize(text.isEmpty() ? 6 : 16, 6);
    return content.expandedTo(QSize(22, 23));
}

void TGlyphButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_opaque)
        painter.fillRect(rect(), m_color);

    if (!isEnabled()) {
        m_state = ButtonState::Disabled;
        m_dragging = false;
    } else if (m_state == ButtonState::Disabled) {
        m_state = (m_down && m_groupIndex != 0) ? ButtonState::Exclusive : ButtonState::Up;
    }

    const bool pressed = m_state == ButtonState::Down || m_state == ButtonState::Exclusive;
    if (pressed)
        qDrawShadeRect(&painter, rect(), palette(), true, 1, 0);
    else if (m_mouseInControl && isEnabled())
        qDrawShadeRect(&painter, rect(), palette(), false, 1, 0);

    const QRect client = rect().adjusted(1, 1, -1, -1);
    const QPoint offset = pressed ? QPoint(1, 1) : QPoint(0, 0);
    if (m_state == ButtonState::Exclusive && !m_mouseInControl) {
        QImage pattern(8, 8, QImage::Format_RGB32);
        const QRgb face = palette().color(QPalette::Button).rgb();
        const QRgb light = palette().color(QPalette::Light).rgb();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                pattern.setPixel(x, y, (x % 2) == (y % 2) ? light : face);
        painter.fillRect(client, QBrush(pattern));
    }

    const GlyphPlacement place =
        placeGlyphAndText(client, glyphSize(), textSize(), m_layout, m_margin, m_spacing, offset);
    const QImage image = GlyphImage(m_state);
    if (!image.isNull())
        painter.drawImage(place.glyph, image);

    if (!m_caption.isEmpty()) {
        if (m_state == ButtonState::Disabled) {
            painter.setPen(palette().color(QPalette::Light));
            painter.drawText(place.text.translated(1, 1), Qt::AlignLeft | Qt::AlignTop | kTextFlags, m_caption);
            painter.setPen(palette().color(QPalette::Dark));
            painter.drawText(place.text, Qt::AlignLeft | Qt::AlignTop | kTextFlags, m_caption);
        } else {
            painter.setPen(palette().color(QPalette::ButtonText));
            painter.drawText(place.text, Qt::AlignCenter | kTextFlags, m_caption);
        }
    }
}

void TGlyphButton::mousePressEvent(QMouseEvent* event)
{
    if (!isEnabled())
        return;
    m_mouseInControl = true;
    if (event->button() == Qt::LeftButton) {
        if (!m_down) {
            m_state = ButtonState::Down;
            update();
        } else if (m_allowAllUp) {
            update();
        }
        m_dragging = true;
    }
}

void TGlyphButton::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_dragging)
        return;
    ButtonState state = ButtonState::Up;
    if (m_down)
        state = ButtonState::Exclusive;
    else if (rect().contains(event->position().toPoint()))
        state = ButtonState::Down;
    if (state != m_state) {
        m_state = state;
        update();
    }
}

void TGlyphButton::mouseReleaseEvent(QMouseEvent* event)
{
    if ((event->button() == Qt::RightButton || event->button() == Qt::MiddleButton) && isEnabled())
        mouseLeft();
    if (!m_dragging || event->button() != Qt::LeftButton)
        return;
    m_dragging = false;
    const bool inside = rect().contains(event->position().toPoint());
    if (m_groupIndex != 0) {
        if (inside) {
            SetDown(!m_down);
            if (m_down)
                update();
        } else {
            if (m_down)
                m_state = ButtonState::Exclusive;
            update();
        }
    }
    if (m_state == ButtonState::Down)
        m_state = ButtonState::Up;
    update();
    updateTracking();
    if (inside)
        Click();
}

void TGlyphButton::mouseDoubleClickEvent(QMouseEvent* event)
{
    mousePressEvent(event);
    if (m_down)
        emit doubleClicked();
}

void TGlyphButton::enterEvent(QEnterEvent*)
{
    if (isEnabled() && !m_mouseInControl) {
        m_mouseInControl = true;
        update();
    }
}

void TGlyphButton::leaveEvent(QEvent*) { mouseLeft(); }

void TGlyphButton::mouseLeft()
{
    if (isEnabled() && m_mouseInControl && !m_dragging) {
        m_mouseInControl = false;
        update();
    }
}

void TGlyphButton::updateTracking()
{
    if (!isEnabled())
        return;
    const bool inside = rect().contains(mapFromGlobal(QCursor::pos()));
    if (inside != m_mouseInControl) {
        m_mouseInControl = inside;
        update();
    }
}

void TGlyphButton::changeEvent(QEvent* event)
{
    switch (event->type()) {
    case QEvent::EnabledChange:
        updateTracking();
        update();
        break;
    case QEvent::PaletteChange:
        releaseImages();
        update();
        break;
    case QEvent::FontChange:
        updateGeometry();
        update();
        break;
    default: break;
    }
    QWidget::changeEvent(event);
}

} // namespace kv::ui
