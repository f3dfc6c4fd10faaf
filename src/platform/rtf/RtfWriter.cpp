#include "platform/rtf/RtfWriter.h"

#include "platform/rtf/RtfReader.h"

#include <QColor>
#include <QStringEncoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextList>
#include <cmath>
#include <vector>

namespace kv::rtf {

namespace {

int twips(double points) { return static_cast<int>(std::lround(points * RtfReader::TwipsPerPoint)); }

QString familyOf(const QTextCharFormat& format, const QTextDocument& document)
{
    const QStringList families = format.fontFamilies().toStringList();
    if (!families.isEmpty() && !families.first().isEmpty())
        return families.first();
    return document.defaultFont().family();
}

double sizeOf(const QTextCharFormat& format, const QTextDocument& document)
{
    if (format.hasProperty(QTextFormat::FontPointSize) && format.fontPointSize() > 0)
        return format.fontPointSize();
    const QFont font = document.defaultFont();
    return font.pointSizeF() > 0 ? font.pointSizeF() : 12.0;
}

// The tables are built first, as RTF wants them before the text.
struct Tables {
    QStringList fonts;
    std::vector<QColor> colours; // index 0 is the automatic colour

    int font(const QString& family)
    {
        qsizetype index = fonts.indexOf(family);
        if (index < 0) {
            fonts.append(family);
            index = fonts.size() - 1;
        }
        return static_cast<int>(index);
    }
    int colour(const QTextCharFormat& format)
    {
        if (!format.hasProperty(QTextFormat::ForegroundBrush))
            return 0;
        const QColor colour = format.foreground().color();
        for (std::size_t i = 1; i < colours.size(); ++i) {
            if (colours[i] == colour)
                return static_cast<int>(i);
        }
        colours.push_back(colour);
        return static_cast<int>(colours.size() - 1);
    }
};

void appendEscaped(QByteArray& out, const QString& text)
{
    QStringEncoder encoder("windows-1252");
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u == '\\' || u == '{' || u == '}') {
            out += '\\';
            out += static_cast<char>(u);
        } else if (u == '\t') {
            out += "\\tab ";
        } else if (u == QChar::LineSeparator) {
            out += "\\line ";
        } else if (u == QChar::Nbsp) {
            out += "\\~";
        } else if (u >= 0x20 && u < 0x80) {
            out += static_cast<char>(u);
        } else if (u < 0x20) {
            continue;
        } else {
            const QByteArray encoded = encoder.encode(QString(c));
            if (!encoder.hasError() && encoded.size() == 1 && encoded != "?") {
                out += "\\'" + QByteArray::number(static_cast<unsigned char>(encoded.at(0)), 16).rightJustified(2, '0');
            } else {
                encoder.resetState();
                const int value = u > 32767 ? static_cast<int>(u) - 65536 : static_cast<int>(u);
                out += "\\u" + QByteArray::number(value) + '?';
            }
        }
    }
}

} // namespace

QByteArray RtfWriter::write(const QTextDocument& document)
{
    Tables tables;
    tables.colours.push_back(QColor());
    tables.font(document.defaultFont().family());
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            tables.font(familyOf(format, document));
            tables.colour(format);
        }
    }

    QByteArray body;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        body += "\\pard";
        const Qt::Alignment alignment = format.alignment() & Qt::AlignHorizontal_Mask;
        if (alignment & Qt::AlignHCenter)
            body += "\\qc";
        else if (alignment & Qt::AlignRight)
            body += "\\qr";
        else if (alignment & Qt::AlignJustify)
            body += "\\qj";
        else
            body += "\\ql";
        if (format.textIndent() != 0)
            body += "\\fi" + QByteArray::number(twips(format.textIndent()));
        if (format.leftMargin() != 0)
            body += "\\li" + QByteArray::number(twips(format.leftMargin()));
        if (format.rightMargin() != 0)
            body += "\\ri" + QByteArray::number(twips(format.rightMargin()));
        // Every list is written as bullets: the only kind the editor makes.
        if (block.textList())
            body += "{\\pntext\\f0\\'b7\\tab}{\\*\\pn\\pnlvlblt\\pnf0\\pnindent0{\\pntxtb\\'b7}}";
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat chars = fragment.charFormat();
            body += "\\plain\\f" + QByteArray::number(tables.font(familyOf(chars, document)));
            body += "\\fs" + QByteArray::number(static_cast<int>(std::lround(sizeOf(chars, document) * 2)));
            if (chars.fontWeight() >= QFont::Bold)
                body += "\\b";
            if (chars.fontItalic())
                body += "\\i";
            if (chars.fontUnderline())
                body += "\\ul";
            const int colour = tables.colour(chars);
            if (colour > 0)
                body += "\\cf" + QByteArray::number(colour);
            body += ' ';
            appendEscaped(body, fragment.text());
        }
        body += "\\par\r\n";
    }

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl";
    for (qsizetype i = 0; i < tables.fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        appendEscaped(out, tables.fonts.at(i));
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (std::size_t i = 1; i < tables.colours.size(); ++i) {
        const QColor& c = tables.colours[i];
        out += "\\red" + QByteArray::number(c.red()) + "\\green" + QByteArray::number(c.green()) + "\\blue"
               + QByteArray::number(c.blue()) + ';';
    }
    out += "}\r\n\\viewkind4\\uc1\r\n";
    out += body;
    out += "}\r\n";
    return out;
}

} // namespace kv::rtf
