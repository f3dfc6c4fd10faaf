#include "updater/forms/TupAutoUpdaterWizardForm.h"

#include "platform/report/FontMap.h"
#include "platform/ui/FieldWidth.h"
#include "updater/core/TupAutoUpdater.h"
#include "updater/forms/UpdaterPictures.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kv::updater {

namespace {

// Redraws while a file comes in, at most about ten a second.
constexpr qint64 DrawIntervalMs = 100;
constexpr int UrlCharacters = 40;

QLabel* label(QWidget* parent, const char* name, const QString& text = {})
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    return l;
}

QProgressBar* progress(QWidget* parent, const char* name)
{
    auto* bar = new QProgressBar(parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 100);
    bar->setFixedHeight(22);
    return bar;
}

} // namespace

TupAutoUpdaterWizardForm::TupAutoUpdaterWizardForm(TupAutoUpdater& updater, QWidget* parent)
    : QDialog(parent), m_updater(updater)
{
    const UpdaterMessages& m = updater.messages();
    setObjectName(QStringLiteral("TupAutoUpdaterWizardForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(m.text(0));
    if (updater.Wizard.StayOnTop)
        setWindowFlag(Qt::WindowStaysOnTopHint);

    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(UpdaterPictures::wizard());
    picture->setFrameShape(QFrame::Panel);
    picture->setFrameShadow(QFrame::Sunken);
    picture->setAlignment(Qt::AlignTop);

    WizardTitle = label(this, "WizardTitle", m.text(1));
    QFont title(kv::report::FontMap::family(QStringLiteral("Times New Roman")));
    title.setPixelSize(19);
    title.setBold(true);
    title.setItalic(true);
    WizardTitle->setFont(title);
    AfterNote = label(this, "AfterNote");
    AfterNote->setWordWrap(true);
    AfterNote->setFixedWidth(319);
    AfterNote->hide();

    LCurrentFile = new QGroupBox(QLatin1Char(' ') + m.text(3) + QLatin1Char(' '), this);
    LCurrentFile->setObjectName(QStringLiteral("LCurrentFile"));
    LDownloadingFileFrom = label(LCurrentFile, "LDownloadingFileFrom", m.text(5));
    FileURL = new QLineEdit(LCurrentFile);
    FileURL->setObjectName(QStringLiteral("FileURL"));
    FileURL->setReadOnly(true);
    FileURL->setFrame(false);
    FileURL->setFocusPolicy(Qt::NoFocus);
    // Room for a server's address and folder; a longer one scrolls inside.
    kv::ui::setFieldWidth(FileURL, UrlCharacters);
    FileURL->setStyleSheet(QStringLiteral("background: palette(button); color: palette(highlight);"));
    LFileSize = label(LCurrentFile, "LFileSize");
    LTransferRate = label(LCurrentFile, "LTransferRate");
    LEstimatedTime = label(LCurrentFile, "LEstimatedTime", m.text(22));
    ProgressCurrentFile = progress(LCurrentFile, "ProgressCurrentFile");
    auto* current = new QVBoxLayout(LCurrentFile);
    current->setSpacing(2);
    for (QWidget* w : std::initializer_list<QWidget*>{LDownloadingFileFrom, FileURL, LFileSize, LTransferRate,
                                                      LEstimatedTime, ProgressCurrentFile})
        current->addWidget(w);
    if (updater.Wizard.HideFileLocation) {
        LDownloadingFileFrom->hide();
        FileURL->hide();
    }

    LAllFiles = new QGroupBox(QLatin1Char(' ') + m.text(4) + QLatin1Char(' '), this);
    LAllFiles->setObjectName(QStringLiteral("LAllFiles"));
    AllDownloading = label(LAllFiles, "AllDownloading");
    ProgressAllFiles = progress(LAllFiles, "ProgressAllFiles");
    auto* all = new QVBoxLayout(LAllFiles);
    all->addWidget(AllDownloading);
    all->addWidget(ProgressAllFiles);

    auto* right = new QVBoxLayout;
    right->addWidget(WizardTitle);
    right->addWidget(AfterNote);
    right->addWidget(LCurrentFile);
    right->addWidget(LAllFiles);
    right->addStretch();
    auto* body = new QHBoxLayout;
    body->addWidget(picture, 0, Qt::AlignTop);
    body->addLayout(right, 1);

    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    AboutLabel = label(this, "AboutLabel", QStringLiteral(" Palvexworks "));
    AboutLabel->setEnabled(false);
    FinishBtn = new QPushButton(m.text(18), this);
    FinishBtn->setObjectName(QStringLiteral("FinishBtn"));
    FinishBtn->setEnabled(false);
    CancelBtn = new QPushButton(m.text(17), this);
    CancelBtn->setObjectName(QStringLiteral("CancelBtn"));
    CancelBtn->setDefault(true);
    for (QPushButton* b : {FinishBtn, CancelBtn})
        b->setMinimumWidth(75);
    connect(FinishBtn, &QPushButton::clicked, this, [this] {
        m_finishing = true;
        close();
    });
    connect(CancelBtn, &QPushButton::clicked, this, &QWidget::close);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(AboutLabel);
    buttons->addStretch();
    buttons->addWidget(FinishBtn);
    buttons->addWidget(CancelBtn);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(body);
    layout->addWidget(line);
    layout->addLayout(buttons);
    // The picture's width, wider where the address field needs it.
    setMinimumWidth(463);
}

void TupAutoUpdaterWizardForm::showFile(const QString& url, const QString& counter)
{
    FileURL->setText(url);
    FileURL->setCursorPosition(0); // the address from its start
    AllDownloading->setText(counter);
    LEstimatedTime->setText(m_updater.messages().text(22));
    ProgressCurrentFile->setValue(0);
    m_lastDraw.invalidate();
}

void TupAutoUpdaterWizardForm::showSize(const QString& line) { LFileSize->setText(line); }

void TupAutoUpdaterWizardForm::showProgress(const TupProgress& p, int totalPercents)
{
    const bool fileEnd = p.TotalSize > 0 && p.BytesRead >= p.TotalSize;
    if (m_lastDraw.isValid() && m_lastDraw.elapsed() < DrawIntervalMs && !fileEnd)
        return;
    m_lastDraw.start();
    const UpdaterMessages& m = m_updater.messages();
    ProgressCurrentFile->setValue(std::min(p.PercentsDone, 100));
    ProgressAllFiles->setValue(std::min(totalPercents, 100));
    LTransferRate->setText(m.format(7, p.TransferRate));
    // Without a known length there is no estimate: the line keeps "A Preparar".
    if (p.EstimatedTimeLeft >= 0)
        LEstimatedTime->setText(m.timeLeft(p.EstimatedTimeLeft));
}

void TupAutoUpdaterWizardForm::showFinished()
{
    const UpdaterMessages& m = m_updater.messages();
    WizardTitle->setText(m.text(2));
    AfterNote->setText(m.format(10, m_updater.Title));
    AfterNote->show();
    LCurrentFile->hide();
    LAllFiles->hide();
    CancelBtn->setEnabled(false);
    FinishBtn->setText(m.text(16));
    FinishBtn->setEnabled(true);
    FinishBtn->setDefault(true);
    FinishBtn->setFocus();
}

void TupAutoUpdaterWizardForm::dismiss()
{
    m_closingQuietly = true;
    close();
}

void TupAutoUpdaterWizardForm::reject()
{
    close(); // Escape asks like the close box
}

void TupAutoUpdaterWizardForm::closeEvent(QCloseEvent* event)
{
    if (m_closingQuietly) {
        event->accept();
        return;
    }
    if (m_finishing) {
        event->accept();
        m_updater.wizardClosed(false);
        return;
    }
    UpdaterView* view = m_updater.view();
    const bool abort =
        view && view->question(UpdaterView::Icon::Question, m_updater.messages().text(27), m_updater.Title);
    if (!abort) {
        event->ignore();
        return;
    }
    event->accept();
    m_updater.wizardClosed(true);
}

} // namespace kv::updater
