#include "platform/rtf/RtfReader.h"
#include "platform/rtf/RtfWriter.h"

#include "GuiApp.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

using kv::rtf::RtfReader;
using kv::rtf::RtfWriter;

namespace {

struct Fragment {
    QString text;
    QString family;
    double size;
    bool bold;
    bool italic;
    bool underline;
    QColor colour;
};

struct Paragraph {
    Qt::Alignment alignment;
    double left;
    double right;
    double first;
    bool bullet;
    QList<Fragment> fragments;
};

QList<Paragraph> paragraphsOf(const QTextDocument& document)
{
    QList<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextBlockFormat format = block.blockFormat();
        Paragraph paragraph{format.alignment() & Qt::AlignHorizontal_Mask,
                            format.leftMargin(),
                            format.rightMargin(),
                            format.textIndent(),
                            block.textList() != nullptr,
                            {}};
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat c = it.fragment().charFormat();
            paragraph.fragments.append(
                {it.fragment().text(), c.fontFamilies().toStringList().value(0), c.fontPointSize(),
                 c.fontWeight() >= QFont::Bold, c.fontItalic(), c.fontUnderline(),
                 c.hasProperty(QTextFormat::ForegroundBrush) ? c.foreground().color() : QColor()});
        }
        paragraphs.append(paragraph);
    }
    return paragraphs;
}

void expectSame(const QList<Paragraph>& expected, const QList<Paragraph>& actual)
{
    ASSERT_EQ(expected.size(), actual.size());
    for (qsizetype p = 0; p < expected.size(); ++p) {
        SCOPED_TRACE(p);
        const Paragraph& e = expected[p];
        const Paragraph& a = actual[p];
        EXPECT_EQ(e.alignment, a.alignment);
        EXPECT_DOUBLE_EQ(e.left, a.left);
        EXPECT_DOUBLE_EQ(e.right, a.right);
        EXPECT_DOUBLE_EQ(e.first, a.first);
        EXPECT_EQ(e.bullet, a.bullet);
        ASSERT_EQ(e.fragments.size(), a.fragments.size());
        for (qsizetype f = 0; f < e.fragments.size(); ++f) {
            SCOPED_TRACE(e.fragments[f].text.toStdString());
            EXPECT_EQ(e.fragments[f].text, a.fragments[f].text);
            EXPECT_EQ(e.fragments[f].family, a.fragments[f].family);
            EXPECT_DOUBLE_EQ(e.fragments[f].size, a.fragments[f].size);
            EXPECT_EQ(e.fragments[f].bold, a.fragments[f].bold);
            EXPECT_EQ(e.fragments[f].italic, a.fragments[f].italic);
            EXPECT_EQ(e.fragments[f].underline, a.fragments[f].underline);
            EXPECT_EQ(e.fragments[f].colour, a.fragments[f].colour);
        }
    }
}

QTextCharFormat chars(const char* family, double size, bool bold = false, bool italic = false, bool underline = false,
                      QColor colour = {})
{
    QTextCharFormat format;
    format.setFontFamilies({QString::fromLatin1(family)});
    format.setFontPointSize(size);
    format.setFontWeight(bold ? QFont::Bold : QFont::Normal);
    format.setFontItalic(italic);
    format.setFontUnderline(underline);
    if (colour.isValid())
        format.setForeground(colour);
    return format;
}

QTextBlockFormat paragraph(Qt::Alignment alignment, double left = 0, double right = 0, double first = 0)
{
    QTextBlockFormat format;
    format.setAlignment(alignment);
    format.setLeftMargin(left);
    format.setRightMargin(right);
    format.setTextIndent(first);
    return format;
}

class RtfRoundTrip : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureGuiApplication(); }
};

// Every attribute the notes editor sets, each in a paragraph of its own, and
// the text that needs escaping: accents, the euro, a character outside the
// Windows code page, braces and backslashes.
TEST_F(RtfRoundTrip, EveryAttributeTheEditorSetsSurvives)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.setBlockFormat(paragraph(Qt::AlignLeft));
    cursor.insertText(QStringLiteral("Normal "), chars("Arial", 10));
    cursor.insertText(QStringLiteral("negrito"), chars("Arial", 10, true));
    cursor.insertText(QStringLiteral(" itálico"), chars("Arial", 10, false, true));
    cursor.insertText(QStringLiteral(" sublinhado"), chars("Arial", 10, false, false, true));
    cursor.insertBlock(paragraph(Qt::AlignHCenter));
    cursor.insertText(QStringLiteral("Título grande"), chars("Times New Roman", 18, true, false, false, Qt::red));
    cursor.insertBlock(paragraph(Qt::AlignRight, 0, 27));
    cursor.insertText(QStringLiteral("à direita € {chaves} \\ Ωmega"), chars("Courier New", 9));
    cursor.insertBlock(paragraph(Qt::AlignLeft, 36, 0, -18));
    QTextList* list = cursor.createList(QTextListFormat::ListDisc);
    cursor.insertText(QStringLiteral("ponto um"), chars("Arial", 10, false, false, false, QColor(0, 0, 128)));
    cursor.insertBlock(paragraph(Qt::AlignLeft, 36, 0, -18));
    list->add(cursor.block());
    cursor.insertText(QStringLiteral("ponto dois"), chars("Arial", 10));
    cursor.insertBlock(paragraph(Qt::AlignLeft));
    cursor.insertText(QStringLiteral("depois\tda lista"), chars("Arial", 12));

    const QByteArray rtf = RtfWriter::write(document);
    QTextDocument read;
    ASSERT_TRUE(RtfReader::read(rtf, read));
    expectSame(paragraphsOf(document), paragraphsOf(read));
    // The two bullets stay one list.
    EXPECT_EQ(read.findBlockByNumber(3).textList(), read.findBlockByNumber(4).textList());
    // Writing what was read gives the same file.
    EXPECT_EQ(RtfWriter::write(read), rtf);
}

TEST_F(RtfRoundTrip, OutputIsPlainAnsiAsWindowsEditorsExpect)
{
    QTextDocument document;
    QTextCursor(&document).insertText(QStringLiteral("Produção € Ω"), chars("Arial", 10));
    const QByteArray rtf = RtfWriter::write(document);
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252"));
    for (const char c : rtf)
        ASSERT_LT(static_cast<unsigned char>(c), 0x80) << "bytes outside ASCII: " << rtf.constData();
    EXPECT_TRUE(rtf.contains("Produ\\'e7\\'e3o \\'80 \\u937?"));
}

TEST_F(RtfRoundTrip, EmptyDocumentStaysEmpty)
{
    QTextDocument document;
    QTextDocument read;
    read.setPlainText(QStringLiteral("antes"));
    ASSERT_TRUE(RtfReader::read(RtfWriter::write(document), read));
    EXPECT_EQ(read.toPlainText(), QString());
    EXPECT_EQ(read.blockCount(), 1);
}

} // namespace
