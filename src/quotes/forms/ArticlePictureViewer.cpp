#include "quotes/forms/ArticlePictureViewer.h"

#include "quotes/core/ArticlePictures.h"

#include "imaging/forms/TPictureBox.h"
#include "platform/ui/TGlyphButton.h"

#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QMouseEvent>
#include <QRubberBand>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kv::quotes {

namespace {

const QSize ThumbnailSize(150, 110);
const QSize LargeSize(475, 258);

// A thumbnail is read scaled: a large picture is never decoded whole for it.
QPixmap thumbnailOf(const QString& path)
{
    QImageReader reader(path);
    const QSize full = reader.size();
    if (full.isValid())
        reader.setScaledSize(full.scaled(ThumbnailSize, Qt::KeepAspectRatio));
    return QPixmap::fromImage(reader.read());
}

} // namespace

ArticlePictureViewer::ArticlePictureViewer(const kv::install::Installation& installation,
                                           std::function<void()> showPhotoPage, QWidget* parent)
    : QWidget(parent), m_installation(installation), m_showPhotoPage(std::move(showPhotoPage))
{
    static const char* names[] = {"ml1", "ML2", "ML3", "ML4"};
    auto* outer = new QHBoxLayout(this);
    auto* thumbnails = new QGridLayout;
    for (int n = 1; n <= 4; ++n) {
        auto*& label = m_thumbnails[n - 1];
        label = new QLabel;
        label->setObjectName(QString::fromLatin1(names[n - 1]));
        label->setFixedSize(ThumbnailSize);
        label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        label->setAlignment(Qt::AlignCenter);
        label->installEventFilter(this);
        thumbnails->addWidget(label, (n - 1) / 2, (n - 1) % 2);
    }
    outer->addLayout(thumbnails);

    auto* right = new QVBoxLayout;
    ScrollBox1 = new QScrollArea;
    ScrollBox1->setObjectName(QStringLiteral("ScrollBox1"));
    ScrollBox1->setFixedSize(LargeSize + QSize(5, 4));
    M1 = new kv::imaging::TPictureBox;
    M1->setObjectName(QStringLiteral("M1"));
    kv::imaging::applyFormValues(*M1);
    M1->setToolTip(QStringLiteral("Faça ZOOM arrastando o mouse na imagem"));
    M1->setAutoSize(true);
    M1->setStretch(true);
    M1->setAllowRubberBand(true);
    M1->setRubberBandButton(Qt::LeftButton);
    M1->resize(LargeSize);
    M1->installEventFilter(this);
    ScrollBox1->setWidget(M1);
    right->addWidget(ScrollBox1);
    auto* buttons = new QHBoxLayout;
    BitReset = new kv::ui::TGlyphButton(QStringLiteral("Limpar"), this);
    BitReset->setObjectName(QStringLiteral("BitReset"));
    BitTamanhoReal = new kv::ui::TGlyphButton(QStringLiteral("Tam.Real"), this);
    BitTamanhoReal->setObjectName(QStringLiteral("BitTamanhoReal"));
    BitStretch = new kv::ui::TGlyphButton(QStringLiteral("Stretch"), this);
    BitStretch->setObjectName(QStringLiteral("BitStretch"));
    for (auto* b : {BitReset, BitTamanhoReal, BitStretch})
        buttons->addWidget(b);
    buttons->addStretch(1);
    m_buttons = buttons;
    right->addLayout(buttons);
    right->addStretch(1);
    outer->addLayout(right);
    outer->addStretch(1);
    connect(BitReset, &kv::ui::TGlyphButton::clicked, this, &ArticlePictureViewer::BitResetClick);
    connect(BitTamanhoReal, &kv::ui::TGlyphButton::clicked, this, &ArticlePictureViewer::BitTamanhoRealClick);
    connect(BitStretch, &kv::ui::TGlyphButton::clicked, this, &ArticlePictureViewer::BitStretchClick);

    MLL1 = new kv::imaging::TPictureBox;
    MLL1->setObjectName(QStringLiteral("MLL1"));
    kv::imaging::applyFormValues(*MLL1);
    MLL1->setStretch(true);
    MLL1->setFixedSize(64, 48);
    MLL1->installEventFilter(this);

    m_band = new QRubberBand(QRubberBand::Rectangle, M1);
}

void ArticlePictureViewer::showPictures(const QString& articleCode)
{
    for (QLabel* label : m_thumbnails)
        label->clear();
    MLL1->setPicture(nullptr);
    for (int n = 1; n <= 4; ++n) {
        const QString path = articlePicturePath(m_installation, m_folder, articleCode, n);
        m_paths[n - 1] = !path.isEmpty() && QFileInfo(path).isFile() ? path : QString();
        if (m_paths[n - 1].isEmpty())
            continue;
        m_thumbnails[n - 1]->setPixmap(thumbnailOf(path));
        if (n == 1)
            MLL1->setImageName(path);
    }
}

bool ArticlePictureViewer::showLarge(int n)
{
    const QString& path = m_paths[n - 1];
    if (path.isEmpty())
        return false;
    if (m_showPhotoPage)
        m_showPhotoPage();
    M1->setImageName(path);
    M1->setText(QStringLiteral("PÁGINA (%1)").arg(n, 2, 10, QLatin1Char('0')));
    BitStretchClick();
    return true;
}

void ArticlePictureViewer::addZoomButtons(double factor)
{
    auto* zoomIn = new kv::ui::TGlyphButton(QStringLiteral("Zoom +"), this);
    zoomIn->setObjectName(QStringLiteral("BitZoomMais"));
    auto* zoomOut = new kv::ui::TGlyphButton(QStringLiteral("Zoom -"), this);
    zoomOut->setObjectName(QStringLiteral("BitZoomMenos"));
    m_buttons->insertWidget(3, zoomIn);
    m_buttons->insertWidget(4, zoomOut);
    connect(zoomIn, &kv::ui::TGlyphButton::clicked, this, [this, factor] { M1->zoomIn(factor); });
    connect(zoomOut, &kv::ui::TGlyphButton::clicked, this, [this, factor] { M1->zoomOut(1.0 / factor); });
}

void ArticlePictureViewer::BitResetClick()
{
    M1->resetZoom();
    M1->setGeometry(2, 2, LargeSize.width(), LargeSize.height());
    ScrollBox1->ensureWidgetVisible(M1);
}

void ArticlePictureViewer::BitStretchClick()
{
    BitResetClick();
    M1->setStretch(true);
}

void ArticlePictureViewer::BitTamanhoRealClick()
{
    M1->resetZoom();
    M1->setAutoSize(true);
    ScrollBox1->ensureWidgetVisible(M1);
}

bool ArticlePictureViewer::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease) {
        for (int n = 1; n <= 4; ++n)
            if (watched == m_thumbnails[n - 1] || (n == 1 && watched == MLL1))
                showLarge(n);
    }
    if (watched != M1)
        return QWidget::eventFilter(watched, event);
    auto* mouse = dynamic_cast<QMouseEvent*>(event);
    if (!mouse)
        return QWidget::eventFilter(watched, event);
    const QPoint p = mouse->position().toPoint();
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        m_drawing = false;
        if (mouse->button() == Qt::LeftButton) {
            M1->resetZoom();
            m_drawing = true;
            m_start = m_end = p;
            m_band->setGeometry(QRect(m_start, m_end).normalized());
            m_band->show();
        }
        break;
    case QEvent::MouseMove:
        if (m_drawing) {
            m_end = p;
            m_band->setGeometry(QRect(m_start, m_end).normalized());
        }
        break;
    case QEvent::MouseButtonRelease:
        if (m_drawing) {
            m_band->hide();
            m_drawing = false;
            m_end = p;
        }
        break;
    default: break;
    }
    // The control gets the event too: it zooms into the rectangle.
    return QWidget::eventFilter(watched, event);
}

} // namespace kv::quotes
