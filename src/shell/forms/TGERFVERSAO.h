#pragma once

#include "shell/VersionUpdate.h"
#include "shell/VersionUpdateView.h"

#include "platform/ui/Form.h"

class QLabel;
class QWidget;

namespace kv::shell {

// "Actualização de Versão ...": shows the version being reached while the
// steps run, then the new version, and closes itself.
class TGERFVERSAO : public ui::Form {
    Q_OBJECT
public:
    TGERFVERSAO(VersionUpdate& update, const LoginState& state, QWidget* parent = nullptr);

    // What the update returned: empty when every step ran.
    QString failure() const { return m_failure; }

protected:
    void FormActivate() override;

private:
    void ActualizaVersao();
    void ActVersao();

    VersionUpdate& m_update;
    const LoginState& m_state;
    QWidget* m_progress;
    QWidget* m_result;
    QLabel* Label_ActVersao;
    QLabel* LabelVersao;
    QString m_failure;
};

// Shows the update in TGERFVERSAO, owned by the main window.
class VersionUpdateDialog final : public VersionUpdateView {
public:
    VersionUpdateDialog(const LoginState& state, QWidget* owner) : m_state(state), m_owner(owner) {}
    QString show(VersionUpdate& update) override;

private:
    const LoginState& m_state;
    QWidget* m_owner;
};

} // namespace kv::shell
