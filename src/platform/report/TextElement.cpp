#include "platform/report/TextElement.h"

namespace kv::report {

TextElement::TextElement(const QString& text, const QRectF& rectMm, const QString& name)
    : TextElement(Type::Text, text, rectMm, name)
{
}

TextElement::TextElement(Type type, const QString& text, const QRectF& rectMm, const QString& name)
    : Element(type, rectMm, name), m_text(text), m_font(defaultFont())
{
}

QFont TextElement::defaultFont()
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(10);
    return font;
}

TextElement& TextElement::setFontFamily(const QString& family)
{
    m_font.setFamily(family);
    return *this;
}

TextElement& TextElement::setPointSize(double points)
{
    if (points > 0)
        m_font.setPointSizeF(points);
    return *this;
}

TextElement& TextElement::setBold(bool bold)
{
    m_font.setBold(bold);
    return *this;
}

TextElement& TextElement::setItalic(bool italic)
{
    m_font.setItalic(italic);
    return *this;
}

TextElement& TextElement::setUnderline(bool underline)
{
    m_font.setUnderline(underline);
    return *this;
}

QString TextElement::content(const EvalContext&) const { return m_text; }

QVariant TextElement::number(const EvalContext&) const { return {}; }

} // namespace kv::report
