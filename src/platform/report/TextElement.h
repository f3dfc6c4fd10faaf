#pragma once

#include "platform/report/Element.h"

#include <QColor>
#include <QFont>
#include <QVariant>

namespace kv::report {

// Static text, and the base of every element that writes text: its font
// (Windows family names are mapped to installed fonts when printed), colour,
// background, alignment and word wrap. A wrapping text makes a stretching
// band grow to fit it.
class TextElement : public Element {
public:
    TextElement(const QString& text, const QRectF& rectMm, const QString& name = {});

    const QString& text() const { return m_text; }
    TextElement& setText(const QString& text)
    {
        m_text = text;
        return *this;
    }

    const QFont& font() const { return m_font; }
    TextElement& setFont(const QFont& font)
    {
        m_font = font;
        return *this;
    }
    TextElement& setFontFamily(const QString& family);
    TextElement& setPointSize(double points);
    TextElement& setBold(bool bold);
    TextElement& setItalic(bool italic);
    TextElement& setUnderline(bool underline);

    const QColor& color() const { return m_color; }
    TextElement& setColor(const QColor& color)
    {
        m_color = color;
        return *this;
    }
    const QColor& background() const { return m_background; } // invalid: transparent
    TextElement& setBackground(const QColor& color)
    {
        m_background = color;
        return *this;
    }
    Qt::Alignment alignment() const { return m_alignment; }
    TextElement& setAlignment(Qt::Alignment alignment)
    {
        m_alignment = alignment;
        return *this;
    }
    bool wordWrap() const { return m_wordWrap; }
    TextElement& setWordWrap(bool wrap)
    {
        m_wordWrap = wrap;
        return *this;
    }

    // The text as printed now.
    virtual QString content(const EvalContext& context) const;
    // The number behind the text, for spreadsheet exports; invalid for text.
    virtual QVariant number(const EvalContext& context) const;
    virtual QString sheetFormat() const { return {}; }

    static QFont defaultFont(); // Arial 10 pt

protected:
    TextElement(Type type, const QString& text, const QRectF& rectMm, const QString& name);

private:
    QString m_text;
    QFont m_font;
    QColor m_color = Qt::black;
    QColor m_background;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignTop;
    bool m_wordWrap = false;
};

} // namespace kv::report
