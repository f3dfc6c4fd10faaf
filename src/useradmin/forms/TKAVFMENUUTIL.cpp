#include "useradmin/forms/TKAVFMENUUTIL.h"
#include "useradmin/forms/UserAdminForms.h"

#include "useradmin/forms/TKAVMDUTILEMPR.h"

#include "platform/ui/FormColours.h"
#include "platform/ui/FormRegistry.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QMenuBar>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>
#include <memory>

namespace kv::useradmin {
namespace {

ui::TGlyphButton* button(const char* name, const QString& caption, const QString& hint, QWidget* parent)
{
    auto* b = new ui::TGlyphButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->SetHint(hint);
    b->setMinimumWidth(b->fontMetrics().averageCharWidth() * 14);
    return b;
}

} // namespace

TKAVFMENUUTIL::TKAVFMENUUTIL(AdminSession& session, QWidget* parent) : QMainWindow(parent), m_session(session)
{
    registerUserAdminForms(session, m_forms);
    setObjectName(QStringLiteral("TKAVFMENUUTIL"));
    setWindowTitle(QStringLiteral("Industrias de Kavorimeta"));
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, ui::formColour());
    setPalette(palette);
    setAutoFillBackground(true);
    buildMenus();

    auto* central = new QWidget(this);
    setCentralWidget(central);
    Panel_EmpNome = new QLabel(central);
    Panel_EmpNome->setObjectName(QStringLiteral("Panel_EmpNome"));
    Panel_EmpNome->setAlignment(Qt::AlignCenter);
    Panel_EmpNome->setFrameShape(QFrame::Panel);
    Panel_EmpNome->setFrameShadow(QFrame::Sunken);
    Panel_EmpNome->setMinimumWidth(Panel_EmpNome->fontMetrics().averageCharWidth() * 44);
    QFont bold = Panel_EmpNome->font();
    bold.setBold(true);
    Panel_EmpNome->setFont(bold);

    auto* users =
        button("ToolbarButton975", QStringLiteral("Utilizadores"), QStringLiteral("Abertura de Utilizadores"), central);
    auto* heading = new QLabel(QStringLiteral("Gestão de Acessos por Aplicação"), central);
    heading->setObjectName(QStringLiteral("Label1"));
    heading->setAlignment(Qt::AlignCenter);
    auto* rights = button("BitAcessos", QStringLiteral("Ind.Embal."), QStringLiteral("Acessos Displays"), central);
    auto* baseModule = button("BitModBase", QStringLiteral("Mod.Base"), QStringLiteral("Acessos Módulo Base"), central);
    auto* quit = button("BitTerminar", QStringLiteral("Terminar"), QStringLiteral("Terminar"), central);
    connect(users, &ui::TGlyphButton::clicked, this, [this] { openForm(QStringLiteral("TKAVFUTIL001")); });
    connect(rights, &ui::TGlyphButton::clicked, this, [this] { openForm(QStringLiteral("TKAVFUTIL002")); });
    connect(baseModule, &ui::TGlyphButton::clicked, this, [this] { openForm(QStringLiteral("TKAVFUTIL003")); });
    connect(quit, &ui::TGlyphButton::clicked, this, &QWidget::close);

    auto* grid = new QGridLayout;
    grid->addWidget(users, 1, 0);
    grid->addWidget(heading, 0, 1, 1, 2);
    grid->addWidget(rights, 1, 1);
    grid->addWidget(baseModule, 1, 2);
    grid->addWidget(quit, 1, 3);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(Panel_EmpNome);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addStretch();
    setFixedSize(sizeHint());
}

TKAVFMENUUTIL::~TKAVFMENUUTIL() = default;

void TKAVFMENUUTIL::buildMenus()
{
    QMenu* general = menuBar()->addMenu(QStringLiteral("&A - Geral"));
    general->setObjectName(QStringLiteral("Geral"));
    general->addAction(QStringLiteral("&A - Mudar de Empresa"), this, [this] { MudUtilEmpr(); });
    general->addAction(QStringLiteral("&B - Sair"), this, &QWidget::close);
    menuBar()->addAction(QStringLiteral("&B - Utilizadores"), this,
                         [this] { openForm(QStringLiteral("TKAVFUTIL001")); });
    QMenu* rights = menuBar()->addMenu(QStringLiteral("&C - Acessos"));
    rights->setObjectName(QStringLiteral("Acessos"));
    rights->addAction(QStringLiteral("&A - Industrias de Kavorimeta"), this,
                      [this] { openForm(QStringLiteral("TKAVFUTIL002")); });
    rights->addAction(QStringLiteral("&B - Módulo Base"), this, [this] { openForm(QStringLiteral("TKAVFUTIL003")); });
}

bool TKAVFMENUUTIL::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && !m_activated && !m_ended) {
        m_activated = true;
        if (const QScreen* s = screen())
            move(s->availableGeometry().center() - rect().center());
        // After the activation is over: the selection is a modal window of its own.
        QTimer::singleShot(0, this, [this] { MudUtilEmpr(); });
    }
    return handled;
}

bool TKAVFMENUUTIL::MudUtilEmpr()
{
    Panel_EmpNome->clear();
    const CompanyChoice previous = m_session.company();
    m_session.disconnectApplication();
    TKAVMDUTILEMPR::Outcome outcome;
    {
        TKAVMDUTILEMPR selection(m_session, this);
        selection.exec();
        outcome = selection.outcome();
    }
    // The close box: at the first selection it leaves as "Sair" does; later it
    // goes back to the company that was open.
    if (outcome == TKAVMDUTILEMPR::Outcome::Open) {
        if (!previous.isSet())
            outcome = TKAVMDUTILEMPR::Outcome::Exit;
        else
            m_session.setCompany(previous);
    }
    if (outcome == TKAVMDUTILEMPR::Outcome::Exit) {
        endProgram();
        return false;
    }
    Panel_EmpNome->setText(m_session.company().name);
    try {
        m_session.connectApplication();
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
    return true;
}

void TKAVFMENUUTIL::openForm(const QString& className)
{
    std::unique_ptr<QDialog> form(m_forms.create(className, this));
    if (form)
        form->exec();
}

void TKAVFMENUUTIL::endProgram()
{
    if (m_ended)
        return;
    m_ended = true;
    m_session.disconnectApplication();
    Q_EMIT programEnded();
    close();
}

void TKAVFMENUUTIL::closeEvent(QCloseEvent* event)
{
    if (!m_ended) {
        m_ended = true;
        m_session.disconnectApplication();
        Q_EMIT programEnded();
    }
    QMainWindow::closeEvent(event);
}

} // namespace kv::useradmin
