#include "customers/articleforms/ArticlePicturesPage.h"

#include "customers/articles/ArticlePictureFiles.h"
#include "imaging/forms/TPictureBox.h"
#include "platform/ui/Form.h"
#include "platform/ui/MessageService.h"
#include "platform/ui/TGlyphButton.h"

#include <QCheckBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollArea>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kv::customers {

using kv::ui::messages;

namespace {

const QSize LargeSize(475, 258);
const QSize ThumbnailSize(112, 70);

QString numberText(int n) { return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0')); }

kv::ui::TGlyphButton* button(QWidget* parent, const QString& caption, const QString& name, const QString& hint)
{
    auto* b = new kv::ui::TGlyphButton(caption, parent);
    b->setObjectName(name);
    b->SetHint(hint);
    return b;
}

} // namespace

ArticlePicturesPage::ArticlePicturesPage(kv::ui::Form& form, const kv::install::Installation* installation,
                                         std::function<QString()> code, QWidget* parent)
    : QWidget(parent), m_form(form), m_installation(installation), m_code(std::move(code))
{
    setObjectName(QStringLiteral("PageFotos"));
    auto* layout = new QVBoxLayout(this);
    ScrollBox1 = new QScrollArea;
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFixedSize(LargeSize + QSize(6, 6));
    M1 = new kv::imaging::TPictureBox;
    M1->setObjectName(QStringLiteral("M1"));
    kv::imaging::applyFormValues(*M1);
    M1->setToolTip(QStringLiteral("Faça ZOOM arrastando o mouse na imagem"));
    M1->setAllowRubberBand(true);
    M1->setRubberBandButton(Qt::LeftButton);
    M1->setJPegSaveQuality(25);
    M1->setJPegSaveSmooth(5);
    M1->resize(LargeSize);
    M1->installEventFilter(this);
    ScrollBox1->setWidget(M1);
    layout->addWidget(ScrollBox1);

    auto* number = new QHBoxLayout;
    auto* caption = new QLabel(QStringLiteral("Página :"));
    Edit_NextPage = new QSpinBox;
    Edit_NextPage->setObjectName(QStringLiteral("Edit_NextPage"));
    Edit_NextPage->setRange(1, 4);
    Edit_NextPage->setValue(1);
    caption->setBuddy(Edit_NextPage);
    number->addWidget(caption);
    number->addWidget(Edit_NextPage);
    number->addStretch();
    layout->addLayout(number);

    auto* buttons = new QGridLayout;
    auto* reset =
        button(this, QStringLiteral("Limpar"), QStringLiteral("BitReset"), QStringLiteral("Parãmetros iniciais"));
    auto* real =
        button(this, QStringLiteral("Tam.Real"), QStringLiteral("BitTamanhoReal"), QStringLiteral("Tamanho Real"));
    auto* stretch =
        button(this, QStringLiteral("Stretch"), QStringLiteral("BitStretch"), QStringLiteral("Stretch da Fotografia"));
    BotLocalizar = button(this, QStringLiteral("&Localizar"), QStringLiteral("BotLocalizar"),
                          QStringLiteral("Localizar Fotografia"));
    BotScanSelect = button(this, QStringLiteral("Sel.Sca&n"), QStringLiteral("BotScanSelect"),
                           QStringLiteral("Seleccionar Scanner"));
    BotScan = button(this, QStringLiteral("Scanne&r"), QStringLiteral("BotScan"), QStringLiteral("Digitalizar"));
    auto* remove =
        button(this, QStringLiteral("Eli. &Pág."), QStringLiteral("BotDeleteImage"), QStringLiteral("Eliminar"));
    // Present on the page as they always were, with nothing behind them.
    auto* zoomIn = button(this, QStringLiteral("Zoom (+)"), QStringLiteral("BitZoomMais"), QStringLiteral("Zoom +"));
    auto* zoomOut = button(this, QStringLiteral("Zoom (-)"), QStringLiteral("BitZoomMenos"), QStringLiteral("Zoom -"));
    auto* print = button(this, QStringLiteral("Imprimir"), QStringLiteral("BitImp"), QStringLiteral("Zoom -"));
    kv::ui::TGlyphButton* const order[] = {reset, real,         stretch,       zoomIn,  zoomOut,
                                           print, BotLocalizar, BotScanSelect, BotScan, remove};
    for (int i = 0; i < 10; ++i)
        buttons->addWidget(order[i], i / 6, i % 6);
    buttons->setColumnStretch(6, 1);
    layout->addLayout(buttons);
    layout->addStretch();
    connect(reset, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BitResetClick);
    connect(real, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BitTamanhoRealClick);
    connect(stretch, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BitStretchClick);
    connect(BotLocalizar, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BotLocalizarClick);
    connect(BotScanSelect, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BotScanSelectClick);
    connect(BotScan, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BotScanClick);
    connect(remove, &kv::ui::TGlyphButton::clicked, this, &ArticlePicturesPage::BotDeleteImageClick);

    // The thumbnails, beside the pages.
    m_panel = new QGroupBox(QStringLiteral("Fotografias"));
    m_panel->setObjectName(QStringLiteral("PanelFotos"));
    auto* column = new QVBoxLayout(m_panel);
    m_showPictures = new QCheckBox(QStringLiteral("&Fotografias"));
    m_showPictures->setObjectName(QStringLiteral("CheckFotos"));
    m_showPictures->setToolTip(QStringLiteral("Visualizar Fotografias"));
    m_showPictures->setChecked(true);
    m_showPictures->setFocusPolicy(Qt::NoFocus);
    column->addWidget(m_showPictures);
    for (int n = 1; n <= 4; ++n) {
        auto* box = new kv::imaging::TPictureBox;
        box->setObjectName(QStringLiteral("ML%1").arg(n));
        kv::imaging::applyFormValues(*box);
        box->setStretch(true);
        box->setFixedSize(ThumbnailSize);
        box->installEventFilter(this);
        m_thumbnails[static_cast<std::size_t>(n - 1)] = box;
        column->addWidget(box);
    }
    column->addStretch();
}

ArticlePicturesPage::~ArticlePicturesPage() = default;

ArticlePictureFiles ArticlePicturesPage::files() const
{
    return ArticlePictureFiles(m_installation, m_folder, m_code ? m_code() : QString());
}

bool ArticlePicturesPage::hasFolder() const { return !m_folder.trimmed().isEmpty(); }

void ArticlePicturesPage::allowScanner(bool allowed)
{
    for (kv::ui::TGlyphButton* b : {BotLocalizar, BotScanSelect, BotScan})
        b->setVisible(allowed);
}

int ArticlePicturesPage::pictureNumber() const { return Edit_NextPage->value(); }

bool ArticlePicturesPage::enter()
{
    if (!hasFolder())
        return false;
    // Pictures already on disk show in their thumbnails from the first visit.
    if (!m_filled) {
        m_filled = true;
        refreshThumbnails();
    }
    thumbnailStep(1);
    Edit_NextPage->setValue(1);
    return true;
}

void ArticlePicturesPage::thumbnailStep(int n)
{
    if (m_thumbnails[static_cast<std::size_t>(n - 1)]->getImageName().isEmpty())
        return;
    const QString path = files().existing(n);
    if (path.isEmpty())
        return;
    M1->setImageName(path);
    M1->setText(QStringLiteral("PÁGINA (%1)").arg(numberText(n)));
    BitStretchClick();
}

void ArticlePicturesPage::showThumbnail(int n, const QString& path)
{
    kv::imaging::TPictureBox* box = m_thumbnails[static_cast<std::size_t>(n - 1)];
    box->setText(path.isEmpty() ? QString() : QStringLiteral("(%1)").arg(numberText(n)));
    box->setImageName(path);
}

void ArticlePicturesPage::refreshThumbnails()
{
    const ArticlePictureFiles pictures = files();
    for (int n = 1; n <= 4; ++n)
        showThumbnail(n, pictures.existing(n));
}

void ArticlePicturesPage::BotLocalizarClick()
{
    const ArticlePictureFiles pictures = files();
    if (!pictures.hasCode()) {
        messages().beep();
        m_form.setStatusText(0, QStringLiteral("O ARTIGO AINDA NÃO FOI REFERENCIADO !!!"));
        return;
    }
    if (!pictures.hasFolder()) {
        messages().beep();
        m_form.setStatusText(0, QStringLiteral("AINDA NÃO INDICOU A LOCALIZAÇÃO DO ARQUIVO !!!"));
        return;
    }
    const int n = pictureNumber();
    if (!pictures.existing(n).isEmpty()
        && !messages().question(QStringLiteral("ESTA FOTOGRAFIA JÁ EXISTE !!! Deseja Continuar ?")))
        return;
    // Bitmaps whatever the letter case of their extension.
    QFileDialog dialog(window(), QStringLiteral("Localizar Fotografia"), QFileInfo(pictures.path(n)).absolutePath(),
                       QStringLiteral("All Files (*.Bmp *.bmp *.BMP)"));
    dialog.setObjectName(QStringLiteral("OpenPictureDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setOption(QFileDialog::ReadOnly);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    // Answered Yes over an existing picture, the chosen one replaces it.
    if (const std::optional<QString> failure = pictures.import(dialog.selectedFiles().constFirst(), n)) {
        messages().fail(*failure);
        return;
    }
    showThumbnail(n, pictures.existing(n));
    thumbnailStep(n);
}

void ArticlePicturesPage::BotScanClick()
{
    const ArticlePictureFiles pictures = files();
    if (!pictures.hasCode()) {
        messages().fail(QStringLiteral("O ARTIGO AINDA NÃO FOI REFERENCIADO ..."));
        return;
    }
    if (!pictures.hasFolder()) {
        messages().fail(QStringLiteral("AINDA NÃO INDICOU A LOCALIZAÇÃO DO ARQUIVO (Parâmetros Gerais)"));
        return;
    }
    M1->scanImage(window());
    const int n = pictureNumber();
    const QString target = pictures.path(n);
    // A scan or a write that fails has been told by the control; nothing
    // is shown as done.
    if (!M1->hasPicture() || !M1->saveAsBmp(target))
        return;
    m_thumbnails[static_cast<std::size_t>(n - 1)]->setImageName(pictures.existing(n));
    M1->setImageName(pictures.existing(n));
}

void ArticlePicturesPage::BotScanSelectClick() { M1->selectScanner(window()); }

void ArticlePicturesPage::BotDeleteImageClick()
{
    if (!messages().question(QStringLiteral("ELIMINAÇÃO FOTOGRAFIA !!! Confirma ?")))
        return;
    const QString name = M1->getImageName();
    // Only a picture 1 to 4 of this article is deleted.
    if (!files().remove(name)) {
        messages().information(QStringLiteral("Ficheiro : %1, Não foi encontrado").arg(name));
        return;
    }
    M1->setText(QString());
    M1->setImageName(QString());
    refreshThumbnails();
}

void ArticlePicturesPage::BitResetClick()
{
    M1->resetZoom();
    M1->setGeometry(2, 2, LargeSize.width(), LargeSize.height());
    ScrollBox1->ensureWidgetVisible(M1);
}

void ArticlePicturesPage::BitTamanhoRealClick()
{
    M1->resetZoom();
    M1->setAutoSize(true);
    ScrollBox1->ensureWidgetVisible(M1);
}

void ArticlePicturesPage::BitStretchClick()
{
    BitResetClick();
    M1->setStretch(true);
}

void ArticlePicturesPage::clearBoxes()
{
    for (kv::imaging::TPictureBox* box : {M1, m_thumbnails[0], m_thumbnails[1], m_thumbnails[2], m_thumbnails[3]}) {
        box->setText(QString());
        box->setImageName(QString());
    }
}

bool ArticlePicturesPage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease)
        for (int n = 1; n <= 4; ++n)
            if (watched == m_thumbnails[static_cast<std::size_t>(n - 1)])
                thumbnailStep(n);
    if (watched == M1 && event->type() == QEvent::MouseButtonPress
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
        M1->resetZoom();
    return QWidget::eventFilter(watched, event);
}

} // namespace kv::customers
