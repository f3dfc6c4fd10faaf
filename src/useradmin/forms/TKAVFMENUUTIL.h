#pragma once

#include "useradmin/core/AdminSession.h"

#include "platform/ui/FormRegistry.h"

#include <QMainWindow>

class QLabel;

namespace kv::useradmin {

// The user administration program's main window: the open company's name,
// the user file and the two rights editors, and the change of company that
// its first activation runs.
class TKAVFMENUUTIL : public QMainWindow {
    Q_OBJECT
public:
    explicit TKAVFMENUUTIL(AdminSession& session, QWidget* parent = nullptr);
    ~TKAVFMENUUTIL() override;

    AdminSession& session() { return m_session; }

    // "&A - Mudar de Empresa": false when the program ends.
    bool MudUtilEmpr();

Q_SIGNALS:
    // The program must end: "Sair" in the company selection, or the window closed.
    void programEnded();

protected:
    bool event(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void openForm(const QString& className);
    void endProgram();

    AdminSession& m_session;
    ui::FormRegistry m_forms; // the forms this window opens, for its session
    QLabel* Panel_EmpNome = nullptr;
    bool m_activated = false;
    bool m_ended = false;
};

} // namespace kv::useradmin
