#include "shell/forms/TGERFVERSAO.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace kv::shell {
namespace {

QLabel* label(const QString& text, QWidget* parent, const char* name = nullptr)
{
    auto* l = new QLabel(text, parent);
    if (name)
        l->setObjectName(QString::fromLatin1(name));
    return l;
}

} // namespace

TGERFVERSAO::TGERFVERSAO(VersionUpdate& update, const LoginState& state, QWidget* parent)
    : ui::Form(parent, 1), m_update(update), m_state(state)
{
    setObjectName(QStringLiteral("TGERFVERSAO"));
    setWindowTitle(QStringLiteral("Actualização de Versão ..."));
    setWindowFlag(Qt::WindowStaysOnTopHint);

    m_progress = new QWidget(body());
    m_progress->setObjectName(QStringLiteral("GroupProgresso"));
    auto* progress = new QHBoxLayout(m_progress);
    progress->addWidget(label(QStringLiteral("Versão  Anterior : "), m_progress));
    Label_ActVersao = label({}, m_progress, "Label_ActVersao");
    progress->addWidget(Label_ActVersao);

    m_result = new QWidget(body());
    m_result->setObjectName(QStringLiteral("GroupResultado"));
    auto* result = new QVBoxLayout(m_result);
    result->addWidget(label(QStringLiteral("Actualização da Versão finalizada"), m_result));
    result->addWidget(label(QStringLiteral("com Sucesso !!! "), m_result));
    auto* version = new QHBoxLayout;
    version->addWidget(label(QStringLiteral("Nova Versão :"), m_result));
    LabelVersao = label({}, m_result, "LabelVersao");
    version->addWidget(LabelVersao);
    result->addLayout(version);

    auto* layout = new QVBoxLayout(body());
    layout->addWidget(m_progress);
    layout->addWidget(m_result);
}

void TGERFVERSAO::FormActivate()
{
    setStatusText(0, QStringLiteral("Processamento em curso ... "));
    Label_ActVersao->setText(m_state.WVersaoBd);
    m_progress->show();
    m_result->hide();
    ActualizaVersao();
}

void TGERFVERSAO::ActualizaVersao()
{
    m_failure = m_update.run([this](const QString& version) {
        Label_ActVersao->setText(version);
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    });
    // A failed step stops the login with the database's message.
    if (!m_failure.isEmpty()) {
        reject();
        return;
    }
    ActVersao();
}

void TGERFVERSAO::ActVersao()
{
    setStatusText(0, QStringLiteral(" "));
    m_progress->hide();
    m_result->show();
    LabelVersao->setText(m_state.WVersao);
    accept();
}

QString VersionUpdateDialog::show(VersionUpdate& update)
{
    TGERFVERSAO dialog(update, m_state, m_owner);
    dialog.exec();
    if (!dialog.failure().isEmpty())
        return dialog.failure();
    // Nothing is left to run when the dialog ran every step; a dialog closed
    // before it could run leaves the steps to run unseen.
    return update.run();
}

} // namespace kv::shell
