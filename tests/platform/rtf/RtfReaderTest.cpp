#include "platform/rtf/RtfReader.h"

#include "GuiApp.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QTextList>
#include <gtest/gtest.h>

using kv::rtf::RtfReader;

namespace {

// As WordPad writes a short note: generator group, language words, a symbol
// font for the bullets, "\pntext" fallbacks, a colour table with the
// automatic entry first, CRLF line ends.
const char* const WindowsNote = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang2070{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                                "Arial;}{\\f1\\fnil\\fcharset2 Symbol;}}\r\n"
                                "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                                "{\\*\\generator Msftedit 5.41.21.2510;}\\viewkind4\\uc1\\pard\\lang2070\\f0\\fs20 "
                                "Cliente pede entrega \\b urgente\\b0 .\\par\r\n"
                                "\\pard\\qc\\cf1\\i Ol\\'e1 \\u8364?\\i0\\cf0\\par\r\n"
                                "\\pard{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt\\pnf1\\pnindent0{\\pntxtb\\'B7}}"
                                "\\fi-720\\li720 primeiro\\par\r\n"
                                "{\\pntext\\f1\\'B7\\tab}segundo\\par\r\n"
                                "\\pard\\qr\\ri360\\ul sublinhado\\ulnone  fim\\par\r\n}\r\n";

class RtfReaderTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureGuiApplication(); }

    QTextDocument document;

    QTextBlock block(int n) { return document.findBlockByNumber(n); }
    // Format of the character at an offset of the block.
    QTextCharFormat charAt(int blockNumber, int offset)
    {
        QTextCursor cursor(block(blockNumber));
        cursor.setPosition(block(blockNumber).position() + offset + 1);
        return cursor.charFormat();
    }
};

TEST_F(RtfReaderTest, ReadsANoteAsWindowsEditorsWriteIt)
{
    ASSERT_TRUE(RtfReader::read(WindowsNote, document));
    ASSERT_EQ(document.blockCount(), 5);
    EXPECT_EQ(block(0).text(), QStringLiteral("Cliente pede entrega urgente."));
    EXPECT_EQ(block(1).text(), QStringLiteral("Olá €"));
    EXPECT_EQ(block(2).text(), QStringLiteral("primeiro"));
    EXPECT_EQ(block(3).text(), QStringLiteral("segundo"));
    EXPECT_EQ(block(4).text(), QStringLiteral("sublinhado fim"));

    EXPECT_EQ(charAt(0, 0).fontFamilies().toStringList().value(0), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(charAt(0, 0).fontPointSize(), 10.0);
    EXPECT_NE(charAt(0, 0).fontWeight(), QFont::Bold);
    EXPECT_EQ(charAt(0, 21).fontWeight(), QFont::Bold); // "urgente"
    EXPECT_NE(charAt(0, 28).fontWeight(), QFont::Bold); // the full stop

    EXPECT_EQ(block(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_TRUE(charAt(1, 0).fontItalic());
    EXPECT_EQ(charAt(1, 0).foreground().color(), QColor(255, 0, 0));

    ASSERT_NE(block(2).textList(), nullptr);
    EXPECT_EQ(block(2).textList(), block(3).textList()); // one list, "\pn" carried to the next paragraph
    EXPECT_EQ(block(2).textList()->format().style(), QTextListFormat::ListDisc);
    EXPECT_DOUBLE_EQ(block(2).blockFormat().leftMargin(), 36.0);
    EXPECT_DOUBLE_EQ(block(2).blockFormat().textIndent(), -36.0);

    EXPECT_EQ(block(4).textList(), nullptr); // "\pard" ends the bullets
    EXPECT_EQ(block(4).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_DOUBLE_EQ(block(4).blockFormat().rightMargin(), 18.0);
    EXPECT_TRUE(charAt(4, 0).fontUnderline());
    EXPECT_FALSE(charAt(4, 12).fontUnderline());
}

struct TextCase {
    const char* label;
    const char* rtf;
    const char16_t* text; // the document's plain text, paragraphs joined by "\n"
};

class RtfTextCases : public ::testing::TestWithParam<TextCase> {
protected:
    static void SetUpTestSuite() { kv::test::ensureGuiApplication(); }
};

TEST_P(RtfTextCases, TextAsReadersSeeIt)
{
    QTextDocument document;
    ASSERT_TRUE(RtfReader::read(GetParam().rtf, document));
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(
    Decoding, RtfTextCases,
    ::testing::Values(
        TextCase{"code_page_1252", "{\\rtf1\\ansi\\ansicpg1252 Produ\\'e7\\'e3o\\par}", u"Produção"},
        TextCase{"font_charset_1250",
                 "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset238 Arial CE;}}\\f1 \\'b9\\f0 \\'e9\\par}", u"ąé"},
        TextCase{"document_code_page_1251", "{\\rtf1\\ansi\\ansicpg1251 \\'c0\\par}", u"А"},
        TextCase{"unicode_skips_fallback", "{\\rtf1\\ansi\\uc1 a\\u8364?b\\par}", u"a€b"},
        TextCase{"unicode_two_byte_fallback", "{\\rtf1\\ansi\\uc2 a\\u8364\\'80\\'80b\\par}", u"a€b"},
        TextCase{"unicode_negative", "{\\rtf1\\ansi \\u-3913?\\par}", u"\xF0B7"},
        TextCase{"unicode_skip_scoped_to_group", "{\\rtf1\\ansi{\\uc0 \\u233}x\\u233?\\par}", u"éx\u00e9"},
        TextCase{"escaped_braces_and_backslash", "{\\rtf1\\ansi a\\{b\\}c\\\\d\\par}", u"a{b}c\\d"},
        TextCase{"unknown_optional_group_skipped", "{\\rtf1\\ansi a{\\*\\qualquer texto {\\b dentro}}b\\par}", u"ab"},
        TextCase{"unknown_plain_word_ignored", "{\\rtf1\\ansi a\\novapalavra12 b\\par}", u"ab"},
        TextCase{"picture_skipped", "{\\rtf1\\ansi a{\\pict\\wmetafile8 0a0b0c0d}b\\par}", u"ab"},
        TextCase{"style_sheet_and_info_skipped",
                 "{\\rtf1\\ansi{\\stylesheet{\\s0 Normal;}}{\\info{\\author Alguem}}texto\\par}", u"texto"},
        TextCase{"font_table_without_groups", "{\\rtf1\\ansi{\\fonttbl\\f0\\fswiss Arial;\\f1 Times;}x\\par}", u"x"},
        TextCase{"tab_line_and_quotes", "{\\rtf1\\ansi a\\tab b\\line c\\ldblquote d\\rdblquote\\par}",
                 u"a\tb\nc\u201cd\u201d"},
        TextCase{"line_breaks_in_source_ignored", "{\\rtf1\\ansi um\r\ndois\\par}", u"umdois"},
        TextCase{"last_paragraph_without_par", "{\\rtf1\\ansi um\\par dois}", u"um\ndois"},
        TextCase{"empty_paragraphs_kept", "{\\rtf1\\ansi um\\par\\par dois\\par}", u"um\n\ndois"},
        TextCase{"bullet_fallback_text_not_in_document",
                 "{\\rtf1\\ansi{\\pntext\\f1\\'B7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'B7}}item\\par}", u"item"}),
    [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST_F(RtfReaderTest, RefusesWhatIsNotRtfAndKeepsTheDocument)
{
    document.setPlainText(QStringLiteral("anterior"));
    EXPECT_FALSE(RtfReader::read("texto simples", document));
    EXPECT_FALSE(RtfReader::read("", document));
    EXPECT_EQ(document.toPlainText(), QStringLiteral("anterior"));
}

TEST_F(RtfReaderTest, UnbalancedGroupsDoNotCrash)
{
    EXPECT_TRUE(RtfReader::read("{\\rtf1\\ansi a}}}}b{{{", document));
    EXPECT_TRUE(RtfReader::read("{\\rtf1\\ansi a\\", document));
    EXPECT_TRUE(RtfReader::read("{\\rtf1\\ansi a\\'4", document));
}

} // namespace
