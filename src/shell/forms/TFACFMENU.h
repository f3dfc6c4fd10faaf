#pragma once

#include "shell/forms/TGERFVERSAO.h"

#include "platform/ui/FormRegistry.h"

#include "shell/CredentialsLibrary.h"
#include "shell/MainMenu.h"
#include "shell/Session.h"

#include <QMainWindow>
#include <QMap>

class QAction;
class QCalendarWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QTabWidget;

namespace kv::ui {
class TGlyphButton;
}

namespace kv::shell {

// The main window: logs in on its first activation, carries the menu and the
// toolbar pages that open every function, the working date, the company and
// the workstation, and logs out when it closes.
class TFACFMENU : public QMainWindow {
    Q_OBJECT
public:
    TFACFMENU(Session& session, GeneralCredentials credentials, QWidget* parent = nullptr);
    ~TFACFMENU() override;

    Session& session() { return m_session; }
    // The forms of this run, registered by the subsystems before the first
    // activation; they go with the window, before the session ends.
    ui::FormRegistry& forms() { return m_forms; }
    bool loggedIn() const { return m_loggedIn; }
    // What the program returns when it ends: 1 when the workstation files or
    // the login stopped it, 0 after a session.
    int exitCode() const { return m_stopped ? 1 : 0; }
    QAction* menuItem(const QString& name) const { return m_items.value(name); }

Q_SIGNALS:
    // The program must end: the window closed, or the login stopped.
    void programEnded();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QWidget* buildStatusPanels();
    void addFunction(QMenu* menu, const MenuFunction& function);

    void FormActivate();
    bool MudEmpr();
    void Edit_DataChange(bool outsideCurrentYear);
    void TesteActualizacoesResult(bool buttonsVisible);
    void applyMenuRights(const MenuRights& rights);
    void openFunction(const QString& item);
    void BotPassordClick();
    void ExecuteHelpFile();
    void endProgram();

    Session& m_session;
    ui::FormRegistry m_forms;
    GeneralCredentials m_credentials;
    VersionUpdateDialog m_versionView;
    bool m_activating = false;
    bool m_loggedIn = false;
    bool m_ended = false;
    bool m_stopped = false;
    QMap<QString, QAction*> m_items;
    QMap<QString, ui::TGlyphButton*> m_buttons;
    QTabWidget* NB = nullptr;
    QLabel* Label_Computador = nullptr;
    QLineEdit* Edit_EmpNom = nullptr;
    QWidget* PanelData = nullptr;
    QCalendarWidget* Edit_Data = nullptr;
    ui::TGlyphButton* BotPassord = nullptr;
    ui::TGlyphButton* BotBusca = nullptr;
    ui::TGlyphButton* BotPdf = nullptr;
};

} // namespace kv::shell
