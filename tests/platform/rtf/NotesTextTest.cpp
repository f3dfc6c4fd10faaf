#include "platform/rtf/NotesText.h"

#include "GuiApp.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextDocument>
#include <gtest/gtest.h>

using kv::rtf::NotesText;

namespace {

class NotesTextTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kv::test::ensureGuiApplication(); }

    QTemporaryDir dir;

    QString write(const QString& name, const QByteArray& data)
    {
        const QString path = dir.filePath(name);
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(data);
        return path;
    }
};

struct PlainCase {
    const char* label;
    QByteArray bytes;
    const char16_t* text;
};

class PlainTextImport : public NotesTextTest, public ::testing::WithParamInterface<PlainCase> {};

TEST_P(PlainTextImport, DecodesAsTheFileWasWritten)
{
    QTextDocument document;
    NotesText::load(write(QStringLiteral("nota.txt"), GetParam().bytes), document);
    EXPECT_EQ(document.toPlainText(), QString::fromUtf16(GetParam().text));
}

INSTANTIATE_TEST_SUITE_P(Encodings, PlainTextImport,
                         ::testing::Values(PlainCase{"utf8", "Produ\xc3\xa7\xc3\xa3o\n", u"Produção\n"},
                                           PlainCase{"utf8_bom", "\xEF\xBB\xBFola", u"ola"},
                                           PlainCase{"windows_1252", "Produ\xe7\xe3o \x80", u"Produção €"},
                                           PlainCase{"crlf_lines", "um\r\ndois\r\n", u"um\ndois\n"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST_F(NotesTextTest, RtfContentIsReadAsRtfWhateverTheName)
{
    QTextDocument document;
    NotesText::load(write(QStringLiteral("nota.txt"), "{\\rtf1\\ansi \\b forte\\b0\\par}"), document);
    EXPECT_EQ(document.toPlainText(), QStringLiteral("forte"));
}

TEST_F(NotesTextTest, ImportedTextIsSavedAsRtf)
{
    QTextDocument document;
    NotesText::load(write(QStringLiteral("nota.txt"), "linha \xe9"), document);
    const QString target = dir.filePath(QStringLiteral("CLI45.Rtf"));
    NotesText::save(target, document);
    QFile file(target);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("{\\rtf1"));
    QTextDocument again;
    NotesText::load(target, again);
    EXPECT_EQ(again.toPlainText(), QStringLiteral("linha é"));
}

TEST_F(NotesTextTest, FailuresAreReported)
{
    QTextDocument document;
    EXPECT_THROW(NotesText::load(dir.filePath(QStringLiteral("falta.Rtf")), document), std::runtime_error);
    document.setPlainText(QStringLiteral("novo"));
    EXPECT_THROW(NotesText::save(dir.filePath(QStringLiteral("sem/pasta/CLI1.Rtf")), document), std::runtime_error);

    // A folder standing where the file should be is not replaced.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("CLI2.Rtf")));
    EXPECT_THROW(NotesText::save(dir.filePath(QStringLiteral("CLI2.Rtf")), document), std::runtime_error);
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("CLI2.Rtf"))).isDir());
}

} // namespace
