#include "platform/notes/NotesEditor.h"

#include "platform/notes/NotesFolder.h"
#include "platform/notes/NotesRuler.h"
#include "platform/rtf/NotesText.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/StatusBar.h"

#include <QActionGroup>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QMenu>
#include <QSpinBox>
#include <QTextBlock>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QVBoxLayout>
#include <stdexcept>

namespace kv::notes {

namespace {

QAction* addButton(QToolBar* toolbar, const QString& text, const QString& hint, const QString& name,
                   bool checkable = false)
{
    QAction* action = toolbar->addAction(text);
    action->setToolTip(hint);
    action->setObjectName(name);
    action->setCheckable(checkable);
    return action;
}

} // namespace

NotesEditor::NotesEditor(NotesSettings settings, const kv::install::Installation* installation,
                         kv::ui::StatusBar* status, QWidget* parent)
    : QWidget(parent), m_settings(std::move(settings)), m_installation(installation), m_status(status)
{
    setObjectName(QStringLiteral("NotesEditor"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    m_toolbar = new QToolBar(this);
    m_toolbar->setObjectName(QStringLiteral("ToolBarInform"));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    layout->addWidget(m_toolbar);
    m_ruler = new NotesRuler(this);
    layout->addWidget(m_ruler);
    connect(m_ruler, &NotesRuler::indentsDropped, this, [this](double first, double left, double right) {
        QTextBlockFormat indents;
        indents.setLeftMargin(first + left);
        indents.setTextIndent(-left);
        indents.setRightMargin(right);
        QTextCursor cursor = m_editor->textCursor();
        cursor.mergeBlockFormat(indents);
        m_editor->setTextCursor(cursor);
        m_editor->setFocus();
    });
    m_editor = new QTextEdit(this);
    m_editor->setObjectName(QStringLiteral("RichEditInform"));
    m_editor->setAcceptRichText(true);
    m_editor->setContextMenuPolicy(Qt::CustomContextMenu);
    layout->addWidget(m_editor, 1);

    m_import = addButton(m_toolbar, QStringLiteral("Importar"), QStringLiteral("Importar Ficheiro"),
                         QStringLiteral("BotImportar"));
    m_save = addButton(m_toolbar, QStringLiteral("Gravar"), QStringLiteral("Gravar Informações"),
                       QStringLiteral("BotGravar"));
    m_undo = addButton(m_toolbar, QStringLiteral("Anular"), QStringLiteral("Anular última acção"),
                       QStringLiteral("BotAnular"));
    m_undo->setEnabled(false);
    m_toolbar->addSeparator();
    m_cut = addButton(m_toolbar, QStringLiteral("Cortar"), QStringLiteral("Cortar"), QStringLiteral("BotCortar"));
    m_copy = addButton(m_toolbar, QStringLiteral("Copiar"), QStringLiteral("Copiar"), QStringLiteral("BotCopiar"));
    m_paste = addButton(m_toolbar, QStringLiteral("Colar"), QStringLiteral("Colar"), QStringLiteral("BotColar"));
    m_toolbar->addSeparator();
    m_fontName = new QComboBox(m_toolbar);
    m_fontName->setObjectName(QStringLiteral("FontName"));
    m_fontName->setToolTip(QStringLiteral("Seleccione a fonte"));
    m_fontName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_fontName->setMinimumContentsLength(14);
    m_toolbar->addWidget(m_fontName);
    m_fontSize = new QSpinBox(m_toolbar);
    m_fontSize->setObjectName(QStringLiteral("FontSize"));
    m_fontSize->setToolTip(QStringLiteral("Seleccione o tamanho da Fonte"));
    m_fontSize->setRange(1, 200);
    m_fontSize->setValue(10);
    m_toolbar->addWidget(m_fontSize);
    m_bold = addButton(m_toolbar, QStringLiteral("N"), QStringLiteral("Bold"), QStringLiteral("BotBold"), true);
    m_italic = addButton(m_toolbar, QStringLiteral("I"), QStringLiteral("Italico"), QStringLiteral("BotItalico"), true);
    m_underline =
        addButton(m_toolbar, QStringLiteral("S"), QStringLiteral("Sublinhar"), QStringLiteral("BotSublinhar"), true);
    m_toolbar->addSeparator();
    auto* alignment = new QActionGroup(this);
    m_left = addButton(m_toolbar, QStringLiteral("Esq."), QStringLiteral("Alinhar à Esquerda"),
                       QStringLiteral("BotEsquerda"), true);
    m_centre =
        addButton(m_toolbar, QStringLiteral("Centro"), QStringLiteral("Centrar"), QStringLiteral("BotCentrar"), true);
    m_right = addButton(m_toolbar, QStringLiteral("Dir."), QStringLiteral("Alinhar à Direita"),
                        QStringLiteral("BotDireita"), true);
    for (QAction* action : {m_left, m_centre, m_right})
        alignment->addAction(action);
    m_bullets =
        addButton(m_toolbar, QStringLiteral("Bullets"), QStringLiteral("Bullets"), QStringLiteral("BotBullets"), true);
    m_toolbar->addSeparator();
    m_clear = addButton(m_toolbar, QStringLiteral("Limpar"), QStringLiteral("Limpar Informações"),
                        QStringLiteral("BotLimpar"));

    connect(m_import, &QAction::triggered, this, &NotesEditor::importFile);
    connect(m_save, &QAction::triggered, this, &NotesEditor::save);
    connect(m_clear, &QAction::triggered, this, &NotesEditor::clearNotes);
    connect(m_undo, &QAction::triggered, m_editor, &QTextEdit::undo);
    connect(m_cut, &QAction::triggered, m_editor, &QTextEdit::cut);
    connect(m_copy, &QAction::triggered, m_editor, &QTextEdit::copy);
    connect(m_paste, &QAction::triggered, m_editor, &QTextEdit::paste);
    connect(m_bold, &QAction::toggled, this, [this](bool on) {
        applyChars([on](QTextCharFormat& f) { f.setFontWeight(on ? QFont::Bold : QFont::Normal); });
    });
    connect(m_italic, &QAction::toggled, this,
            [this](bool on) { applyChars([on](QTextCharFormat& f) { f.setFontItalic(on); }); });
    connect(m_underline, &QAction::toggled, this,
            [this](bool on) { applyChars([on](QTextCharFormat& f) { f.setFontUnderline(on); }); });
    connect(m_fontName, &QComboBox::textActivated, this, [this](const QString& family) {
        applyChars([family](QTextCharFormat& f) { f.setFontFamilies({family}); });
    });
    connect(m_fontSize, &QSpinBox::valueChanged, this,
            [this](int size) { applyChars([size](QTextCharFormat& f) { f.setFontPointSize(size); }); });
    connect(m_left, &QAction::triggered, this, [this] { applyAlignment(Qt::AlignLeft); });
    connect(m_centre, &QAction::triggered, this, [this] { applyAlignment(Qt::AlignHCenter); });
    connect(m_right, &QAction::triggered, this, [this] { applyAlignment(Qt::AlignRight); });
    connect(m_bullets, &QAction::toggled, this, &NotesEditor::applyBullets);
    connect(m_editor, &QWidget::customContextMenuRequested, this, &NotesEditor::popup);
    if (m_settings.liveToolbar) {
        connect(m_editor, &QTextEdit::cursorPositionChanged, this, &NotesEditor::takeStateFromText);
        connect(m_editor, &QTextEdit::selectionChanged, this, &NotesEditor::takeStateFromText);
        connect(m_editor->document(), &QTextDocument::modificationChanged, this, &NotesEditor::showModified);
        connect(m_editor->document(), &QTextDocument::undoAvailable, m_undo, &QAction::setEnabled);
    }

    // The popup's keys work in the editor whether or not the popup is shown.
    const auto shortcut = [this](QAction* target, const QKeySequence& keys) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WidgetShortcut);
        connect(action, &QAction::triggered, target, &QAction::trigger);
        m_editor->addAction(action);
    };
    shortcut(m_save, QKeySequence(Qt::CTRL | Qt::Key_G));
    shortcut(m_clear, QKeySequence(Qt::CTRL | Qt::Key_Delete));
}

QString NotesEditor::importFilter()
{
    // Both letter cases: the folder is shared with Windows workstations.
    return QStringLiteral("All Files (*.Txt *.Rtf *.txt *.rtf *.TXT *.RTF)");
}

QString NotesEditor::folder() const
{
    return NotesFolder::localFolder(m_installation, m_settings.folder ? m_settings.folder() : QString());
}

QString NotesEditor::notesFileName() const
{
    return m_settings.prefix + (m_settings.code ? m_settings.code().trimmed() : QString()) + QStringLiteral(".Rtf");
}

bool NotesEditor::isModified() const { return m_editor->document()->isModified(); }

bool NotesEditor::write(const QString& path)
{
    try {
        kv::rtf::NotesText::save(path, *m_editor->document());
    } catch (const std::runtime_error& error) {
        kv::ui::messages().error(QString::fromStdString(error.what()));
        return false;
    }
    m_editor->document()->setModified(false);
    showModified();
    return true;
}

bool NotesEditor::open()
{
    m_editor->clear();
    m_fileName.clear();
    const QString dir = folder();
    const QString code = m_settings.code ? m_settings.code().trimmed() : QString();
    if (dir.isEmpty() || (m_settings.hasRecord && !m_settings.hasRecord(code))) {
        Q_EMIT unavailable();
        return false;
    }
    m_fileName = NotesFolder::filePath(dir, notesFileName());
    if (QFileInfo::exists(m_fileName)) {
        try {
            kv::rtf::NotesText::load(m_fileName, *m_editor->document());
        } catch (const std::runtime_error& error) {
            kv::ui::messages().error(QString::fromStdString(error.what()));
            Q_EMIT unavailable();
            return false;
        }
    } else if (!write(m_fileName)) {
        Q_EMIT unavailable();
        return false;
    }
    prepare();
    m_editor->document()->clearUndoRedoStacks();
    m_editor->document()->setModified(false);
    showModified();
    return true;
}

bool NotesEditor::save()
{
    if (m_fileName.isEmpty())
        return false;
    return write(m_fileName);
}

void NotesEditor::confirmSave()
{
    if (!isModified())
        return;
    if (!kv::ui::messages().question(QStringLiteral("DESEJA GRAVAR ALTERAÇÕES DAS INFORMAÇÕES !!! Confirma ?")))
        return;
    if (!m_fileName.isEmpty() && QFileInfo::exists(m_fileName))
        save();
}

void NotesEditor::clearNotes()
{
    if (!kv::ui::messages().question(QStringLiteral("Eliminação ficheiro de Informações !!! Confirma ?")))
        return;
    // Emptied as an edit, so that the notes count as changed and can be undone.
    QTextCursor all(m_editor->document());
    all.select(QTextCursor::Document);
    all.removeSelectedText();
}

void NotesEditor::importFile()
{
    if (!kv::ui::messages().question(QStringLiteral("O CONTEUDO DESTE TEXTO VAI SER LIMPO !!! Confirma ?")))
        return;
    m_editor->clear();
    const QString dir = folder();
    if (dir.isEmpty())
        return;
    QFileDialog dialog(window(), QStringLiteral("Importar Ficheiro"), dir, importFilter());
    dialog.setObjectName(QStringLiteral("OpenDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    try {
        kv::rtf::NotesText::load(dialog.selectedFiles().constFirst(), *m_editor->document());
    } catch (const std::runtime_error& error) {
        kv::ui::messages().error(QString::fromStdString(error.what()));
        return;
    }
    const QString code = m_settings.code ? m_settings.code().trimmed() : QString();
    if (m_settings.hasRecord && !m_settings.hasRecord(code))
        return;
    m_fileName = NotesFolder::filePath(dir, notesFileName());
    if (!write(m_fileName))
        return;
    prepare();
    m_editor->setFocus();
}

bool NotesEditor::deleteNotes() { return NotesFolder::remove(folder(), notesFileName()); }

void NotesEditor::prepare()
{
    if (m_fontName->count() == 0) {
        QStringList families = QFontDatabase::families();
        families.sort(Qt::CaseInsensitive);
        m_fontName->addItems(families);
    }
    takeStateFromText();
    showModified();
}

void NotesEditor::takeStateFromText()
{
    m_updating = true;
    const QTextCursor cursor = m_editor->textCursor();
    const QTextCharFormat chars = cursor.charFormat();
    const QTextBlockFormat block = cursor.blockFormat();
    // The first line stands at the margin plus its indent; the other lines at the margin.
    m_ruler->setIndents(block.leftMargin() + block.textIndent(), -block.textIndent(), block.rightMargin());
    m_bold->setChecked(chars.fontWeight() >= QFont::Bold);
    m_italic->setChecked(chars.fontItalic());
    m_underline->setChecked(chars.fontUnderline());
    m_bullets->setChecked(cursor.currentList() != nullptr);
    const QFont font = chars.font();
    m_fontSize->setValue(qRound(font.pointSizeF() > 0 ? font.pointSizeF() : m_editor->font().pointSizeF()));
    const QString family = chars.fontFamilies().toStringList().value(0, m_editor->font().family());
    m_fontName->setCurrentIndex(m_fontName->findText(family, Qt::MatchFixedString));
    const Qt::Alignment alignment = block.alignment() & Qt::AlignHorizontal_Mask;
    (alignment & Qt::AlignHCenter ? m_centre : alignment & Qt::AlignRight ? m_right : m_left)->setChecked(true);
    m_cut->setEnabled(cursor.hasSelection());
    m_copy->setEnabled(cursor.hasSelection());
    m_updating = false;
}

void NotesEditor::showModified()
{
    if (m_status)
        m_status->setText(1, isModified() ? QStringLiteral("Alterado") : QString());
    m_undo->setEnabled(m_editor->document()->isUndoAvailable());
}

void NotesEditor::applyChars(const std::function<void(QTextCharFormat&)>& change)
{
    if (m_updating)
        return;
    QTextCharFormat format;
    change(format);
    m_editor->mergeCurrentCharFormat(format);
}

void NotesEditor::applyAlignment(Qt::Alignment alignment)
{
    if (!m_updating)
        m_editor->setAlignment(alignment);
}

void NotesEditor::applyBullets(bool on)
{
    if (m_updating)
        return;
    QTextCursor cursor = m_editor->textCursor();
    if (on && !cursor.currentList()) {
        cursor.createList(QTextListFormat::ListDisc);
    } else if (!on && cursor.currentList()) {
        QTextList* list = cursor.currentList();
        list->remove(cursor.block());
        QTextBlockFormat format = cursor.blockFormat();
        format.setIndent(0);
        cursor.setBlockFormat(format);
    }
}

void NotesEditor::popup(const QPoint& at)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupInform"));
    const bool selected = m_editor->textCursor().hasSelection();
    menu.addAction(QStringLiteral("Gravar Informações"), QKeySequence(Qt::CTRL | Qt::Key_G), m_save, &QAction::trigger);
    menu.addAction(QStringLiteral("Cortar"), QKeySequence::Cut, m_editor, &QTextEdit::cut)->setEnabled(selected);
    menu.addAction(QStringLiteral("Copiar"), QKeySequence::Copy, m_editor, &QTextEdit::copy)->setEnabled(selected);
    menu.addAction(QStringLiteral("Colar"), QKeySequence::Paste, m_editor, &QTextEdit::paste);
    menu.addAction(QStringLiteral("Limpar Informações"), QKeySequence(Qt::CTRL | Qt::Key_Delete), m_clear,
                   &QAction::trigger);
    menu.exec(m_editor->viewport()->mapToGlobal(at));
}

} // namespace kv::notes
