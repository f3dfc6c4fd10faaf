#include "shell/forms/TFACFMENU.h"

#include "shell/forms/TALTERFPASS.h"
#include "shell/forms/TKAVAPMENU.h"

#include "platform/db/DbError.h"
#include "platform/ui/FieldWidth.h"
#include "platform/ui/FormColours.h"
#include "platform/ui/FormRegistry.h"
#include "platform/install/Installation.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QCalendarWidget>
#include <QLocale>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QGridLayout>
#include <QHash>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>
#include <QWindow>
#include <QTabWidget>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

namespace kv::shell {
namespace {

const QColor Red(255, 0, 0);

void paint(QWidget* widget, const QColor& colour)
{
    QPalette palette = widget->palette();
    palette.setColor(QPalette::Window, colour);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

// The picture of each button, by its name in the desktop's icon theme.
const QHash<QString, QString>& iconNames()
{
    static const QHash<QString, QString> names{
        {QStringLiteral("BotPapeis"), QStringLiteral("x-office-document")},
        {QStringLiteral("BotTintas"), QStringLiteral("applications-graphics")},
        {QStringLiteral("BotVernizes"), QStringLiteral("x-office-drawing")},
        {QStringLiteral("BotColas"), QStringLiteral("edit-paste")},
        {QStringLiteral("BotFilme"), QStringLiteral("x-office-presentation")},
        {QStringLiteral("BotPVC"), QStringLiteral("window-new")},
        {QStringLiteral("BotAcabamentos"), QStringLiteral("format-justify-fill")},
        {QStringLiteral("BotOperCorte"), QStringLiteral("edit-cut")},
        {QStringLiteral("BotMaquinas"), QStringLiteral("applications-system")},
        {QStringLiteral("BotTiragemLiq"), QStringLiteral("x-office-spreadsheet")},
        {QStringLiteral("BotCustosTransp"), QStringLiteral("go-jump")},
        {QStringLiteral("BotCustosFixos"), QStringLiteral("x-office-calendar")},
        {QStringLiteral("BotSubCont"), QStringLiteral("system-users")},
        {QStringLiteral("BotProcedim"), QStringLiteral("text-x-generic")},
        {QStringLiteral("BotParProcedim"), QStringLiteral("preferences-system")},
        {QStringLiteral("BotOrcam"), QStringLiteral("document-new")},
        {QStringLiteral("BotConsOrc"), QStringLiteral("edit-find")},
        {QStringLiteral("BotAprova"), QStringLiteral("emblem-favorite")},
        {QStringLiteral("BotGeraOf"), QStringLiteral("media-playback-start")},
        {QStringLiteral("BotConsOf"), QStringLiteral("system-search")},
        {QStringLiteral("BotFecho"), QStringLiteral("process-stop")},
        {QStringLiteral("BotCalc"), QStringLiteral("accessories-calculator")},
        {QStringLiteral("BotFechoOf"), QStringLiteral("document-save")},
        {QStringLiteral("BotPassord"), QStringLiteral("system-lock-screen")},
        {QStringLiteral("BotBusca"), QStringLiteral("system-software-update")},
        {QStringLiteral("BotPdf"), QStringLiteral("help-browser")},
    };
    return names;
}

// The desktop's icon theme, and a free theme of the distribution where the
// desktop has none (or lacks an icon).
QIcon themeIcon(const QString& name)
{
    static const bool themed = [] {
        // The distribution's icon folders, whatever the platform looked in.
        QStringList paths = QIcon::themeSearchPaths();
        for (const QString& folder : QStandardPaths::locateAll(
                 QStandardPaths::GenericDataLocation, QStringLiteral("icons"), QStandardPaths::LocateDirectory))
            if (!paths.contains(folder))
                paths << folder;
        if (!paths.contains(QStringLiteral("/usr/share/icons")))
            paths << QStringLiteral("/usr/share/icons");
        QIcon::setThemeSearchPaths(paths);
        QIcon::setFallbackThemeName(QStringLiteral("Tango"));
        if (QIcon::themeName().isEmpty() || QIcon::themeName() == QLatin1String("hicolor"))
            QIcon::setThemeName(QStringLiteral("Tango"));
        return true;
    }();
    (void)themed;
    return QIcon::fromTheme(name);
}

ui::TGlyphButton* glyphButton(const QString& name, const QString& caption, const QString& hint, QWidget* parent,
                              int iconSize = 24)
{
    auto* button = new ui::TGlyphButton(caption, parent);
    button->setObjectName(name);
    button->SetHint(hint);
    button->SetLayout(ui::GlyphLayout::GlyphTop);
    const QIcon icon = themeIcon(iconNames().value(name));
    if (!icon.isNull())
        button->SetGlyph(icon.pixmap(iconSize, iconSize).toImage());
    return button;
}

// The functions whose form this program has: an entry stays disabled until
// the form it opens is built.
bool available(const FormOpening& opening, const ui::FormRegistry& forms)
{
    return !opening.form.isEmpty() && forms.contains(opening.form);
}

// The help file of a folder, its name matched without regard to case.
QString helpFileIn(const QString& folder)
{
    if (folder.isEmpty())
        return {};
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files))
        if (name.compare(QLatin1String("Kavorimetas.pdf"), Qt::CaseInsensitive) == 0)
            return dir.filePath(name);
    return {};
}

} // namespace

TFACFMENU::TFACFMENU(Session& session, GeneralCredentials credentials, QWidget* parent)
    : QMainWindow(parent), m_session(session), m_credentials(std::move(credentials)),
      m_versionView(session.state(), this)
{
    setObjectName(QStringLiteral("TFACFMENU"));
    setWindowTitle(QStringLiteral("Vuvovizaze ri Zivavavari"));
    paint(this, ui::formColour());
    m_session.setVersionUpdateView(&m_versionView);

    buildMenus();
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    buildToolbar();
    layout->addWidget(NB, 1);
    layout->addWidget(buildStatusPanels());
    setCentralWidget(central);
    resize(784, 549);

    // Until the login decides, an entry is enabled when its form exists.
    applyMenuRights({});
}

TFACFMENU::~TFACFMENU() = default;

void TFACFMENU::addFunction(QMenu* menu, const MenuFunction& function)
{
    QAction* action = menu->addAction(function.caption);
    action->setObjectName(function.item);
    m_items.insert(function.item, action);
    connect(action, &QAction::triggered, this, [this, item = function.item] { openFunction(item); });
    if (function.separatorAfter)
        menu->addSeparator();
}

void TFACFMENU::buildMenus()
{
    for (const MainMenu::Menu& m : MainMenu::menus()) {
        QMenu* menu = menuBar()->addMenu(m.title);
        for (const MenuFunction& f : m.functions)
            addFunction(menu, f);
        if (!m.submenu.isEmpty()) {
            QMenu* sub = menu->addMenu(m.submenu);
            for (const MenuFunction& f : m.submenuFunctions)
                addFunction(sub, f);
            if (m.separatorAfterSubmenu)
                menu->addSeparator();
            for (const MenuFunction& f : m.afterSubmenu)
                addFunction(menu, f);
        }
    }
}

void TFACFMENU::buildToolbar()
{
    NB = new QTabWidget(this);
    NB->setObjectName(QStringLiteral("NB"));
    QMap<QString, QGridLayout*> grids;
    for (const QString& page : MainMenu::pages()) {
        auto* widget = new QWidget(NB);
        auto* heading = new QLabel(page, widget);
        heading->setStyleSheet(QStringLiteral("font-size: 14pt; font-weight: bold;"));
        auto* grid = new QGridLayout;
        auto* layout = new QVBoxLayout(widget);
        layout->addWidget(heading);
        layout->addLayout(grid);
        layout->addStretch();
        grids.insert(page, grid);
        NB->addTab(widget, page);
    }
    // Toolbar buttons: the picture over the caption, in rows of a few.
    constexpr int PerRow = 5;
    QMap<QString, int> placed;
    auto place = [this, &grids, &placed](const MenuFunction& f) {
        if (f.button.isEmpty())
            return;
        QGridLayout* grid = grids.value(f.page);
        QWidget* page = grid->parentWidget();
        const QString caption =
            f.hint.isEmpty() ? f.caption.mid(f.caption.indexOf(QLatin1Char('-')) + 1).trimmed() : f.hint;
        auto* button = glyphButton(f.button, caption, f.hint, page, 32);
        const int index = placed[f.page]++;
        grid->addWidget(button, index / PerRow, index % PerRow);
        m_buttons.insert(f.button, button);
        connect(button, &ui::TGlyphButton::clicked, this, [this, item = f.item] { openFunction(item); });
    };
    for (const MainMenu::Menu& m : MainMenu::menus()) {
        for (const auto* list : {&m.functions, &m.submenuFunctions, &m.afterSubmenu})
            for (const MenuFunction& f : *list)
                place(f);
    }
    // One size for the buttons of a page, the widest one's.
    for (QGridLayout* grid : grids) {
        QSize widest;
        for (int i = 0; i < grid->count(); ++i)
            if (QWidget* w = grid->itemAt(i)->widget())
                widest = widest.expandedTo(w->sizeHint());
        for (int i = 0; i < grid->count(); ++i)
            if (QWidget* w = grid->itemAt(i)->widget())
                w->setFixedSize(widest);
        grid->setColumnStretch(PerRow, 1);
    }
    NB->setCurrentIndex(MainMenu::pages().indexOf(MainMenu::startPage()));
}

QWidget* TFACFMENU::buildStatusPanels()
{
    auto* bar = new QWidget(this);
    auto* layout = new QGridLayout(bar);

    auto* panel1 = new QWidget(bar);
    panel1->setObjectName(QStringLiteral("Panel1"));
    auto* p1 = new QVBoxLayout(panel1);
    Label_Computador = new QLabel(panel1);
    Label_Computador->setObjectName(QStringLiteral("Label_Computador"));
    Label_Computador->setAlignment(Qt::AlignCenter);
    Edit_EmpNom = new QLineEdit(panel1);
    Edit_EmpNom->setObjectName(QStringLiteral("Edit_EmpNom"));
    Edit_EmpNom->setReadOnly(true);
    Edit_EmpNom->setFocusPolicy(Qt::NoFocus);
    ui::setFieldWidth(Edit_EmpNom, 40); // EMPNOM's size
    p1->addWidget(Label_Computador);
    p1->addWidget(Edit_EmpNom);

    PanelData = new QWidget(bar);
    PanelData->setObjectName(QStringLiteral("PanelData"));
    paint(PanelData, ui::formColour());
    auto* pd = new QVBoxLayout(PanelData);
    Edit_Data = new QCalendarWidget(PanelData);
    Edit_Data->setObjectName(QStringLiteral("Edit_Data"));
    Edit_Data->setVerticalHeaderFormat(QCalendarWidget::ISOWeekNumbers);
    // Month and day names as the users read them, whatever the desktop's language.
    Edit_Data->setLocale(QLocale(QLocale::Portuguese, QLocale::Portugal));
    // Weeks start on Monday, so each row matches its ISO week number.
    Edit_Data->setFirstDayOfWeek(Qt::Monday);
    pd->addWidget(Edit_Data);

    BotPassord = glyphButton(QStringLiteral("BotPassord"), {}, QStringLiteral("Alterar Palavra Passe"), bar);
    BotBusca = glyphButton(QStringLiteral("BotBusca"), QStringLiteral("Actualizar"),
                           QStringLiteral("Procurar actualizações"), bar);
    BotPdf = glyphButton(QStringLiteral("BotPdf"), QStringLiteral("Inform, Pdf"),
                         QStringLiteral("Informação s/ últimas alterações"), bar);
    connect(BotPassord, &ui::TGlyphButton::clicked, this, &TFACFMENU::BotPassordClick);
    connect(BotBusca, &ui::TGlyphButton::clicked, this, [this] { m_session.checkForUpdates(); });
    connect(BotPdf, &ui::TGlyphButton::clicked, this, &TFACFMENU::ExecuteHelpFile);
    m_buttons.insert(QStringLiteral("BotPdf"), BotPdf);

    auto* panel6 = new QWidget(bar);
    panel6->setObjectName(QStringLiteral("Panel6"));
    auto* p6 = new QHBoxLayout(panel6);
    p6->addWidget(new QLabel(QStringLiteral("Consulte a nossa página : "), panel6));
    auto* Label10 = new QLabel(QStringLiteral("<a href=\"%1\">%1</a>").arg(makerWebAddress()), panel6);
    Label10->setObjectName(QStringLiteral("Label10"));
    Label10->setCursor(Qt::PointingHandCursor);
    Label10->setOpenExternalLinks(true);
    p6->addWidget(Label10);
    p6->addStretch();

    auto* buttons = new QVBoxLayout;
    buttons->addWidget(BotPassord);
    buttons->addWidget(BotBusca);
    buttons->addWidget(BotPdf);
    layout->addWidget(panel1, 0, 0);
    layout->addLayout(buttons, 0, 1);
    layout->addWidget(PanelData, 0, 2);
    layout->addWidget(panel6, 1, 0, 1, 3);
    return bar;
}

bool TFACFMENU::event(QEvent* event)
{
    const bool handled = QMainWindow::event(event);
    if (event->type() == QEvent::WindowActivate && !m_activating && !m_ended) {
        m_activating = true;
        FormActivate();
        m_activating = false;
    }
    return handled;
}

void TFACFMENU::FormActivate()
{
    if (const QScreen* s = screen()) {
        // The window with its frame at the top left, as wide as the screen
        // and 30 pixels short of its height.
        const QMargins frame = windowHandle() ? windowHandle()->frameMargins() : QMargins();
        setGeometry(s->geometry().x() + frame.left(), s->geometry().y() + frame.top(),
                    s->geometry().width() - frame.left() - frame.right(),
                    s->geometry().height() - 30 - frame.top() - frame.bottom());
    }
    const Activation activation = m_session.activate();
    if (activation == Activation::Stop) {
        m_stopped = true;
        endProgram();
        return;
    }
    Label_Computador->setText(m_session.state().WComputador);
    if (activation == Activation::Login && !MudEmpr()) {
        m_stopped = true;
        endProgram();
    }
}

bool TFACFMENU::MudEmpr()
{
    const LoginResult result = m_session.login(m_credentials);
    if (!result.loggedIn)
        return false;
    m_loggedIn = true;
    const LoginState& state = m_session.state();
    Edit_EmpNom->setText(m_session.dataModules()
                             .dataset(QStringLiteral("DTEMPRESAS.PARAMTMP"))
                             .value(QStringLiteral("EMPNOM"))
                             .toString());
    applyMenuRights(result.menu);
    BotPassord->SetCaption(state.WUtil);
    Edit_Data->setSelectedDate(state.WData);
    Edit_DataChange(result.dateOutsideCurrentYear);
    TesteActualizacoesResult(result.updateButtonsVisible);
    return true;
}

void TFACFMENU::Edit_DataChange(bool outsideCurrentYear)
{
    paint(PanelData, outsideCurrentYear ? Red : ui::formColour());
}

void TFACFMENU::TesteActualizacoesResult(bool buttonsVisible)
{
    BotBusca->setVisible(buttonsVisible);
    BotPdf->setVisible(buttonsVisible);
}

void TFACFMENU::applyMenuRights(const MenuRights& rights)
{
    const LoginState& state = m_session.state();
    for (const MainMenu::Menu& m : MainMenu::menus()) {
        for (const auto* list : {&m.functions, &m.submenuFunctions, &m.afterSubmenu}) {
            for (const MenuFunction& f : *list) {
                if (f.item.startsWith(QLatin1String("GERAL")))
                    continue;
                const bool on = available(MainMenu::opening(f.item, state), m_forms) && rights.isEnabled(f.item);
                m_items.value(f.item)->setEnabled(on);
                if (ui::TGlyphButton* button = m_buttons.value(f.button))
                    button->setEnabled(available(MainMenu::opening(f.item, state), m_forms)
                                       && rights.isEnabled(f.button));
            }
        }
    }
    connect(m_items.value(QStringLiteral("GERALPDF")), &QAction::triggered, this, &TFACFMENU::ExecuteHelpFile,
            Qt::UniqueConnection);
    connect(m_items.value(QStringLiteral("GERALSAIR")), &QAction::triggered, this, &QWidget::close,
            Qt::UniqueConnection);
}

void TFACFMENU::openFunction(const QString& item)
{
    const FormOpening opening = MainMenu::opening(item, m_session.state());
    if (!available(opening, m_forms))
        return;
    ui::FormRegistry& registry = m_forms;
    std::map<QString, std::unique_ptr<QDialog>> reports;
    for (const QString& report : opening.reports)
        if (registry.contains(report))
            reports[report].reset(registry.create(report, nullptr));
    {
        std::unique_ptr<QDialog> form(registry.create(opening.form, this));
        form->exec();
    }
    for (const QString& report : opening.reportFreeOrder)
        reports.erase(report);
}

void TFACFMENU::BotPassordClick()
{
    TALTERFPASS ALTERFPASS(this);
    ALTERFPASS.exec();
    if (ALTERFPASS.outcome() != TALTERFPASS::Confirmed)
        return;
    try {
        m_session.changePassword(ALTERFPASS.newPassword());
    } catch (const db::DbError& error) {
        ui::messages().fail(error.fullText());
    }
}

void TFACFMENU::ExecuteHelpFile()
{
    // The installation's own copy first, else the shared folder of the network.
    const install::Installation& installation = m_session.installation();
    QString file = helpFileIn(installation.pdfFolder());
    if (file.isEmpty())
        file = helpFileIn(installation.mapWindowsPath(QStringLiteral("X:\\Programas\\Pdf")));
    if (!file.isEmpty())
        QDesktopServices::openUrl(QUrl::fromLocalFile(file));
}

void TFACFMENU::endProgram()
{
    // Closing from inside the activation would run the shut-down before the
    // activation is over.
    QTimer::singleShot(0, this, &QWidget::close);
}

void TFACFMENU::closeEvent(QCloseEvent* event)
{
    if (!m_ended) {
        m_ended = true;
        m_session.shutDown();
        Q_EMIT programEnded();
    }
    QMainWindow::closeEvent(event);
}

} // namespace kv::shell
