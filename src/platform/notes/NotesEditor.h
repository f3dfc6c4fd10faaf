#pragma once

#include <QWidget>
#include <functional>

class QAction;
class QActionGroup;
class QComboBox;
class QSpinBox;
class QTextEdit;
class QToolBar;

namespace kv::install {
class Installation;
}
namespace kv::ui {
class StatusBar;
}

namespace kv::notes {

class NotesRuler;

// What a file form tells the notes editor.
struct NotesSettings {
    QString prefix; // of the file name: "CLI", "ARTG", "AGT"
    // The folder as the year's parameters store it (a Windows path).
    std::function<QString()> folder;
    // The record's code as its key edit shows it.
    std::function<QString()> code;
    // Whether that code names a record the notes can belong to (customers and
    // agents: a number other than 0).
    std::function<bool(const QString&)> hasRecord;
    // Toolbar, ruler and "Alterado" follow the selection and every change
    // (agents); otherwise they are set when the notes are opened or imported.
    bool liveToolbar = false;
};

// The notes page of a file form: a toolbar, a ruler and a rich-text editor
// over the record's notes file, folder + "/" + prefix + code + ".Rtf".
// While its page is shown, the form leaves the Enter key to the editor.
class NotesEditor : public QWidget {
    Q_OBJECT
public:
    NotesEditor(NotesSettings settings, const kv::install::Installation* installation,
                kv::ui::StatusBar* status = nullptr, QWidget* parent = nullptr);

    // Opens the current record's notes: loads its file, or creates the file
    // empty. False when the notes are unavailable (no folder, no record) or
    // the file cannot be read or written (the error is shown).
    bool open();
    // Writes the notes to the file fixed at opening.
    bool save();
    // Asks "DESEJA GRAVAR ALTERAÇÕES ..." when the notes hold unsaved changes
    // and saves on Yes when the file exists. The form calls it on leaving the
    // notes page, before the customer list's save and at close.
    void confirmSave();
    // "Limpar Informações": the editor emptied after Yes; the file changes at
    // the next save.
    void clearNotes();
    // "Importar Ficheiro": a .txt or .rtf file chosen in the notes folder
    // becomes the record's notes, saved at once.
    void importFile();
    // Deletes the current record's notes file (the record is deleted).
    bool deleteNotes();

    // The drive table the stored folder is mapped through.
    void setInstallation(const kv::install::Installation* installation) { m_installation = installation; }

    bool isModified() const;
    QString fileName() const { return m_fileName; }
    QTextEdit* editor() const { return m_editor; }
    NotesRuler* ruler() const { return m_ruler; }

    static QString importFilter();

Q_SIGNALS:
    // A page the editor could not open sends the form back to its first page.
    void unavailable();

private:
    QString folder() const;
    QString notesFileName() const;
    void prepare(); // fonts, ruler, toolbar and marker as at opening
    void takeStateFromText();
    void showModified();
    void applyChars(const std::function<void(class QTextCharFormat&)>& change);
    void applyAlignment(Qt::Alignment alignment);
    void applyBullets(bool on);
    void popup(const QPoint& at);
    bool write(const QString& path);

    NotesSettings m_settings;
    const kv::install::Installation* m_installation;
    kv::ui::StatusBar* m_status;
    QString m_fileName;
    bool m_updating = false;

    QToolBar* m_toolbar;
    NotesRuler* m_ruler;
    QTextEdit* m_editor;
    QAction* m_import;
    QAction* m_save;
    QAction* m_undo;
    QAction* m_cut;
    QAction* m_copy;
    QAction* m_paste;
    QComboBox* m_fontName;
    QSpinBox* m_fontSize;
    QAction* m_bold;
    QAction* m_italic;
    QAction* m_underline;
    QAction* m_left;
    QAction* m_centre;
    QAction* m_right;
    QAction* m_bullets;
    QAction* m_clear;
};

} // namespace kv::notes
