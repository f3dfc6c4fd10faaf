#include "platform/notes/NotesEditor.h"

#include "platform/install/Installation.h"
#include "platform/notes/NotesFolder.h"
#include "platform/notes/NotesRuler.h"
#include "platform/rtf/NotesText.h"
#include "platform/ui/StatusBar.h"
#include "support/Scenario.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTest>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>

using kv::notes::NotesEditor;
using kv::notes::NotesSettings;

namespace {

// The notes folder is "N:\Clientes" in the year's parameters; the drive
// table maps N: to a temporary folder whose "clientes" folder is in lower
// case, as a Windows share copied to Linux often is.
class NotesEditorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        auto& created = scenario.createInstallation();
        root = scenario.tempPath("notas");
        folder = root + "/clientes";
        QDir().mkpath(folder);
        QFile aliases(created.aliasFile());
        ASSERT_TRUE(aliases.open(QIODevice::Append));
        aliases.write(QStringLiteral("\n[drives]\nN: = %1\n").arg(root).toUtf8());
        aliases.close();
        installation = std::make_unique<kv::install::Installation>(created.root());
        editor = makeEditor(false);
    }

    std::unique_ptr<NotesEditor> makeEditor(bool live)
    {
        NotesSettings settings;
        settings.prefix = "CLI";
        settings.folder = [this] { return storedFolder; };
        settings.code = [this] { return code; };
        settings.hasRecord = [](const QString& shown) { return shown.toInt() != 0; };
        settings.liveToolbar = live;
        return std::make_unique<NotesEditor>(settings, installation.get(), &status);
    }

    QString fileText(const QString& name)
    {
        QTextDocument document;
        kv::rtf::NotesText::load(folder + "/" + name, document);
        return document.toPlainText();
    }
    void writeNotes(const QString& name, const QString& text)
    {
        QTextDocument document;
        document.setPlainText(text);
        kv::rtf::NotesText::save(folder + "/" + name, document);
    }
    void type(const QString& text)
    {
        editor->editor()->moveCursor(QTextCursor::End);
        editor->editor()->insertPlainText(text);
    }

    kv::test::Scenario scenario;
    QString root;
    QString folder;
    std::unique_ptr<kv::install::Installation> installation;
    kv::ui::StatusBar status{3};
    QString storedFolder = "N:\\Clientes";
    QString code = "45";
    std::unique_ptr<NotesEditor> editor;
};

TEST_F(NotesEditorTest, FirstOpeningCreatesAnEmptyNotesFile)
{
    ASSERT_TRUE(editor->open());
    EXPECT_TRUE(QFile::exists(folder + "/CLI45.Rtf"));
    EXPECT_EQ(fileText("CLI45.Rtf"), QString());
    EXPECT_FALSE(editor->isModified());
    EXPECT_EQ(status.text(1), QString());
}

TEST_F(NotesEditorTest, ExistingFileIsFoundWhateverItsLetterCase)
{
    writeNotes("cli45.rtf", "Entregar só de manhã");
    ASSERT_TRUE(editor->open());
    EXPECT_EQ(editor->editor()->toPlainText(), QStringLiteral("Entregar só de manhã"));
    EXPECT_TRUE(editor->fileName().endsWith("/cli45.rtf"));
    EXPECT_FALSE(QFile::exists(folder + "/CLI45.Rtf"));
}

struct UnavailableCase {
    const char* label;
    const char* folder;
    const char* code;
};

class NotesUnavailable : public NotesEditorTest, public ::testing::WithParamInterface<UnavailableCase> {};

TEST_P(NotesUnavailable, OpeningRefusesAndCreatesNothing)
{
    storedFolder = QString::fromLatin1(GetParam().folder);
    code = QString::fromLatin1(GetParam().code);
    QSignalSpy unavailable(editor.get(), &NotesEditor::unavailable);
    editor->editor()->setPlainText("outro cliente");
    EXPECT_FALSE(editor->open());
    EXPECT_EQ(unavailable.count(), 1);
    EXPECT_TRUE(editor->editor()->toPlainText().isEmpty());
    EXPECT_TRUE(QDir(folder).entryList(QDir::Files).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Cases, NotesUnavailable,
                         ::testing::Values(UnavailableCase{"no_folder", "", "45"},
                                           UnavailableCase{"customer_zero", "N:\\Clientes", "0"},
                                           UnavailableCase{"no_customer", "N:\\Clientes", ""},
                                           UnavailableCase{"unmapped_drive", "Q:\\Clientes", "45"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

struct PromptCase {
    const char* label;
    bool answer;
    const char16_t* stored;
};

class NotesPrompt : public NotesEditorTest, public ::testing::WithParamInterface<PromptCase> {};

TEST_P(NotesPrompt, LeavingWithChangesAsksBeforeSaving)
{
    writeNotes("CLI45.Rtf", "antes");
    ASSERT_TRUE(editor->open());
    type(" e depois");
    scenario.messages().answer(GetParam().answer);
    editor->confirmSave();
    EXPECT_EQ(scenario.messages().texts(), QStringList{"DESEJA GRAVAR ALTERAÇÕES DAS INFORMAÇÕES !!! Confirma ?"});
    EXPECT_EQ(fileText("CLI45.Rtf"), QString::fromUtf16(GetParam().stored));
    EXPECT_EQ(editor->isModified(), !GetParam().answer);
}

INSTANTIATE_TEST_SUITE_P(Answers, NotesPrompt,
                         ::testing::Values(PromptCase{"yes_writes", true, u"antes e depois"},
                                           PromptCase{"no_keeps_the_file", false, u"antes"}),
                         [](const auto& testInfo) { return std::string(testInfo.param.label); });

TEST_F(NotesEditorTest, UnchangedNotesAskNothing)
{
    ASSERT_TRUE(editor->open());
    editor->confirmSave();
    EXPECT_TRUE(scenario.messages().texts().isEmpty());
}

TEST_F(NotesEditorTest, ClearedNotesSaveAnEmptyFile)
{
    writeNotes("CLI45.Rtf", "texto");
    ASSERT_TRUE(editor->open());
    scenario.messages().answer(true);
    editor->clearNotes();
    EXPECT_EQ(fileText("CLI45.Rtf"), QStringLiteral("texto")); // the file changes only at the save
    scenario.messages().answer(true);
    editor->confirmSave();
    EXPECT_EQ(fileText("CLI45.Rtf"), QString());
}

TEST_F(NotesEditorTest, ImportedTextBecomesTheNotesFileAtOnce)
{
    writeNotes("CLI45.Rtf", "antigo");
    ASSERT_TRUE(editor->open());
    QFile text(folder + "/carta.TXT");
    ASSERT_TRUE(text.open(QIODevice::WriteOnly));
    text.write("Linha de texto com acentua\xe7\xe3o\n");
    text.close();
    scenario.messages().answer(true);
    QStringList filters;
    scenario.onDialog([&](kv::test::FormDriver& dialog) {
        auto* files = qobject_cast<QFileDialog*>(dialog.window());
        ASSERT_NE(files, nullptr);
        filters = files->nameFilters();
        EXPECT_EQ(QDir(files->directory()).canonicalPath(), QDir(folder).canonicalPath());
        // Typed, as a user picks a file by name.
        auto* name = files->findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        name->setText("carta.TXT");
        static_cast<QDialog*>(files)->accept();
    });
    editor->importFile();
    EXPECT_EQ(scenario.pendingDialogHandlers(), 0);
    ASSERT_EQ(filters.size(), 1);
    EXPECT_TRUE(filters[0].contains("*.txt") && filters[0].contains("*.Rtf") && filters[0].contains("*.RTF"));
    EXPECT_EQ(fileText("CLI45.Rtf"), QStringLiteral("Linha de texto com acentuação\n"));
    QFile written(folder + "/CLI45.Rtf");
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.readAll().startsWith("{\\rtf1"));
}

TEST_F(NotesEditorTest, CancelledImportLeavesTheEditorEmptyAndTheFileAlone)
{
    writeNotes("CLI45.Rtf", "antigo");
    ASSERT_TRUE(editor->open());
    scenario.messages().answer(true);
    scenario.onDialog([](kv::test::FormDriver& dialog) { qobject_cast<QDialog*>(dialog.window())->reject(); });
    editor->importFile();
    EXPECT_TRUE(editor->editor()->toPlainText().isEmpty());
    EXPECT_EQ(fileText("CLI45.Rtf"), QStringLiteral("antigo"));

    // Answering No to the question changes nothing at all.
    ASSERT_TRUE(editor->open());
    scenario.messages().answer(false);
    editor->importFile();
    EXPECT_EQ(editor->editor()->toPlainText(), QStringLiteral("antigo"));
}

// A ruler marker dragged and dropped sets the paragraph's indents (first
// line, other lines, right), and the notes hold unsaved changes.
TEST_F(NotesEditorTest, DroppedRulerMarkerIndentsTheParagraph)
{
    const struct {
        const char* label;
        int marker; // 0 first line, 1 left, 2 right
        int dropAt; // the marker's new left edge; right marker: from the ruler's right end
        double leftMargin; // the other lines
        double textIndent; // the first line, from the other lines
        double rightMargin;
    } cases[] = {
        // trunc((42 + 4 - 6) / (4/3)) = 30 for the first line; the other lines stay at 0.
        {"first line", 0, 42, 0, 30, 0},
        // The other lines at 30, the first line where it was.
        {"left", 1, 42, 30, -30, 0},
        // trunc((width + 4 - (width - 54) - 2) / (4/3)) - 12 = 30
        {"right", 2, 54, 0, 0, 30},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(editor->open()) << c.label;
        type("Uma linha de notas");
        editor->editor()->document()->setModified(false);
        editor->resize(600, 300);
        kv::notes::NotesRuler* ruler = editor->ruler();
        const int markers[] = {ruler->firstMarker(), ruler->leftMarker(), ruler->rightMarker()};
        const int y = c.marker == 0 ? 2 : ruler->height() - 3;
        const QPoint grab(markers[c.marker] + 4, y);
        const int edge = c.marker == 2 ? ruler->width() - c.dropAt : c.dropAt;
        QTest::mousePress(ruler, Qt::LeftButton, Qt::NoModifier, grab);
        QMouseEvent move(QEvent::MouseMove, QPointF(edge + 4, y), ruler->mapToGlobal(QPointF(edge + 4, y)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(ruler, &move);
        QTest::mouseRelease(ruler, Qt::LeftButton, Qt::NoModifier, QPoint(edge + 4, y));
        const QTextBlockFormat block = editor->editor()->textCursor().blockFormat();
        EXPECT_EQ(block.leftMargin(), c.leftMargin) << c.label;
        EXPECT_EQ(block.textIndent(), c.textIndent) << c.label;
        EXPECT_EQ(block.rightMargin(), c.rightMargin) << c.label;
        EXPECT_TRUE(editor->isModified()) << c.label;
        // The marker stays where it was dropped.
        const int placed[] = {ruler->firstMarker(), ruler->leftMarker(), ruler->rightMarker()};
        EXPECT_NEAR(placed[c.marker], edge, 2) << c.label;
        editor->editor()->clear();
    }
}

TEST_F(NotesEditorTest, ToolbarFormatsTheSelectionAndIsSetFromTheText)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextBlockFormat indented;
    indented.setLeftMargin(36);
    indented.setTextIndent(-18);
    indented.setRightMargin(9);
    indented.setAlignment(Qt::AlignRight);
    cursor.setBlockFormat(indented);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontPointSize(14);
    cursor.insertText("primeira", bold);
    kv::rtf::NotesText::save(folder + "/CLI45.Rtf", document);

    ASSERT_TRUE(editor->open());
    auto* toolbar = editor->findChild<QToolBar*>("ToolBarInform");
    const auto action = [&](const char* name) { return toolbar->findChild<QAction*>(QString::fromLatin1(name)); };
    EXPECT_TRUE(action("BotBold")->isChecked());
    EXPECT_TRUE(action("BotDireita")->isChecked());
    EXPECT_FALSE(action("BotCopiar")->isEnabled());
    EXPECT_EQ(editor->findChild<QSpinBox*>("FontSize")->value(), 14);
    // The first line at 36 - 18 points, the others at 36:
    // trunc(18 x 4/3) + 2, trunc(36 x 4/3) + 2, width - trunc((9 + 6) x 4/3) - 6
    EXPECT_EQ(editor->ruler()->firstMarker(), 26);
    EXPECT_EQ(editor->ruler()->leftMarker(), 50);
    EXPECT_EQ(editor->ruler()->rightMarker(), editor->ruler()->width() - 20 - 6);

    QTextCursor selection = editor->editor()->textCursor();
    selection.setPosition(0);
    selection.setPosition(4, QTextCursor::KeepAnchor);
    editor->editor()->setTextCursor(selection);
    action("BotItalico")->trigger();
    action("BotCentrar")->trigger();
    action("BotBullets")->trigger();
    const QTextBlock block = editor->editor()->document()->firstBlock();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    ASSERT_NE(block.textList(), nullptr);
    QTextCursor probe(block);
    probe.setPosition(2);
    EXPECT_TRUE(probe.charFormat().fontItalic());
    probe.setPosition(6);
    EXPECT_FALSE(probe.charFormat().fontItalic()); // outside the selection

    // Saved and opened again, as another workstation would.
    ASSERT_TRUE(editor->save());
    ASSERT_TRUE(editor->open());
    EXPECT_NE(editor->editor()->document()->firstBlock().textList(), nullptr);
}

TEST_F(NotesEditorTest, LiveToolbarMarksUnsavedChanges)
{
    editor = makeEditor(true);
    ASSERT_TRUE(editor->open());
    EXPECT_EQ(status.text(1), QString());
    type("novo");
    EXPECT_EQ(status.text(1), QStringLiteral("Alterado"));
    ASSERT_TRUE(editor->save());
    EXPECT_EQ(status.text(1), QString());
}

TEST_F(NotesEditorTest, DeletingTheRecordDeletesItsNotesFile)
{
    writeNotes("Cli45.RTF", "x");
    EXPECT_TRUE(editor->deleteNotes());
    EXPECT_FALSE(QFile::exists(folder + "/Cli45.RTF"));
    EXPECT_FALSE(editor->deleteNotes()); // nothing left to delete
    storedFolder.clear();
    writeNotes("CLI45.Rtf", "x");
    EXPECT_FALSE(editor->deleteNotes());
    EXPECT_TRUE(QFile::exists(folder + "/CLI45.Rtf"));
}

} // namespace
