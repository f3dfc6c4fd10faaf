#include "imaging/forms/TPictureBox.h"

#include "imaging/core/DibConversions.h"
#include "imaging/core/UndoHistory.h"
#include "imaging/dib/DibImage.h"
#include "platform/install/Installation.h"
#include "platform/ui/MessageService.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextStream>
#include <QMap>
#include <QMetaMethod>

namespace kv::imaging {
namespace {

// The shared binding, with its message boxes through the message service.
ImagingLibraries& programLibraries()
{
    static bool wired = false;
    ImagingLibraries& libs = ImagingLibraries::shared();
    if (!wired) {
        libs.setMessageSink([](const QString& text) { kv::ui::messages().error(text); });
        wired = true;
    }
    return libs;
}

// The screen's cursor list: the grab hand sits at the index the control names.
QMap<int, QCursor>& screenCursors()
{
    static QMap<int, QCursor> cursors;
    return cursors;
}

QCursor grabHand()
{
    static const QCursor cursor(QPixmap(QStringLiteral(":/cursors/grabhand.xpm")), 16, 16);
    return cursor;
}

QString upperExtension(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    return dot < 0 ? QString() : name.mid(dot).toUpper();
}

// A name that differs from the file on disk only in letter case still finds it.
QString caseInsensitiveMatch(const QString& path)
{
    if (path.isEmpty() || QFileInfo::exists(path))
        return path;
    const QFileInfo info(path);
    const QDir dir = info.dir();
    if (!dir.exists())
        return path;
    for (const QString& entry : dir.entryList(QDir::Files | QDir::Hidden))
        if (entry.compare(info.fileName(), Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    return path;
}

std::int16_t annoDoneThunk(void* control)
{
    if (!control)
        return 0;
    emit static_cast<TPictureBox*>(control)->annoDone();
    return 1;
}

std::int16_t annoDrawThunk(void* control, void* handle, const char* name, std::int32_t x, std::int32_t y,
                           std::int32_t xx, std::int32_t yy)
{
    if (!control)
        return 0;
    emit static_cast<TPictureBox*>(control)->customAnnotationDraw(handle, QString::fromUtf8(name), x, y, xx, yy);
    return 1;
}

std::int16_t annoHardDrawThunk(void* control, void* handle, const char* name, std::int32_t x, std::int32_t y,
                               std::int32_t xx, std::int32_t yy)
{
    if (!control)
        return 0;
    emit static_cast<TPictureBox*>(control)->customAnnotationHardDraw(handle, QString::fromUtf8(name), x, y, xx, yy);
    return 1;
}

std::int16_t annoBeforeThunk(void* control, std::int32_t passCode, std::int16_t* canDraw, const char* name)
{
    if (!control)
        return 0;
    bool draw = canDraw && *canDraw == 1;
    emit static_cast<TPictureBox*>(control)->beforeAnnotationDraw(passCode, &draw, QString::fromUtf8(name));
    if (canDraw)
        *canDraw = draw ? 1 : 0;
    return 1;
}

std::int16_t annoAfterThunk(void* control, const char* name)
{
    if (!control)
        return 0;
    emit static_cast<TPictureBox*>(control)->afterAnnotationDraw(QString::fromUtf8(name));
    return 1;
}

} // namespace

TPictureBox::TPictureBox(QWidget* parent, ImagingLibraries* libraries)
    : QWidget(parent), m_libs(libraries ? *libraries : programLibraries()), m_screen(ScreenProfile::current())
{
    resize(105, 105);
    setFocusPolicy(Qt::StrongFocus);
    m_color = palette().color(QPalette::Button);
    if (!screenCursors().contains(m_grabHandCursor))
        screenCursors().insert(m_grabHandCursor, grabHand());
    m_vBar = new QScrollBar(Qt::Vertical, this);
    m_hBar = new QScrollBar(Qt::Horizontal, this);
    m_corner = new QWidget(this);
    m_corner->setAutoFillBackground(true);
    for (QWidget* w : {static_cast<QWidget*>(m_vBar), static_cast<QWidget*>(m_hBar), m_corner}) {
        w->setFocusPolicy(Qt::NoFocus);
        w->setGeometry(0, 0, 0, 0);
        w->hide();
    }
    m_vBar->setObjectName(QStringLiteral("VScroll"));
    m_hBar->setObjectName(QStringLiteral("HScroll"));
    m_corner->setObjectName(QStringLiteral("Corner"));
    connect(m_vBar, &QScrollBar::valueChanged, this, [this](int position) {
        if (m_layingOut)
            return;
        m_origin.setY(truncated(position / m_zoom));
        scrolled();
    });
    connect(m_hBar, &QScrollBar::valueChanged, this, [this](int position) {
        if (m_layingOut)
            return;
        m_origin.setX(truncated(position / m_zoom));
        scrolled();
    });
}

TPictureBox::~TPictureBox()
{
    if (!m_loaded || !m_libs.imagingLoaded())
        return;
    try {
        if (m_autoSaveAnno)
            m_libs.annotationFile("SaveAnnotation", this, m_tiffPage, annotationFileName());
        m_libs.annotationCall("DestroyAnnotation", this);
    } catch (...) {
        // A library that lost an entry point cannot stop the form closing.
    }
}

template <class Op>
void TPictureBox::safely(Op&& op)
{
    try {
        op();
    } catch (const ErrorInvalid& error) {
        kv::ui::messages().error(error.text());
    } catch (const std::exception& error) {
        kv::ui::messages().error(QString::fromLocal8Bit(error.what()));
    }
}

void TPictureBox::scrolled() { repaint(); }

bool TPictureBox::loaded()
{
    if (m_loaded)
        return true;
    m_loaded = true;
    for (QScrollBar* bar : {m_vBar, m_hBar}) {
        m_layingOut = true;
        bar->setRange(0, 100);
        bar->setValue(0);
        bar->setSingleStep(5);
        bar->setPageStep(25);
        m_layingOut = false;
    }
    layoutScrollbars();
    try {
        m_libs.initAnnotation(this, this, annoDoneThunk, annoDrawThunk, annoHardDrawThunk, annoBeforeThunk,
                              annoAfterThunk);
    } catch (const ErrorInvalid& error) {
        kv::ui::messages().error(error.text());
        return false;
    }
    return true;
}

void TPictureBox::setInstallation(std::shared_ptr<const kv::install::Installation> installation)
{
    m_installation = std::move(installation);
}

int TPictureBox::readDepth() const
{
    switch (m_readRes) {
    case LoadResolution::ColorVga: return 0;
    case LoadResolution::MonoChrome: return 1;
    case LoadResolution::Color16: return 4;
    case LoadResolution::Color256: return 8;
    case LoadResolution::ColorTrue: return 24;
    case LoadResolution::AutoMatic: break;
    }
    return screenColorDepth(m_screen);
}

int TPictureBox::writeDepth() const
{
    switch (m_writeRes) {
    case SaveResolution::AutoMatic: return screenColorDepth(m_screen);
    case SaveResolution::ColorTrue: return 24;
    case SaveResolution::Color256: return 8;
    case SaveResolution::Color16: return 4;
    case SaveResolution::MonoChrome: return 1;
    case SaveResolution::ColorVga: return 0;
    case SaveResolution::JpegGray: return 8;
    }
    return 24;
}

QString TPictureBox::resolvePath(const QString& path) const
{
    const bool windows = path.contains(QLatin1Char('\\')) || (path.size() > 1 && path[1] == QLatin1Char(':'));
    if (windows) {
        const kv::install::Installation fallback;
        const kv::install::Installation& installation = m_installation ? *m_installation : fallback;
        const QString local = installation.mapWindowsPath(path);
        return local.isEmpty() ? path : local;
    }
    return caseInsensitiveMatch(path);
}

QString TPictureBox::annotationFileName() const
{
    if (!m_annoFileName.isEmpty())
        return m_annoFileName;
    if (!m_imageName.isEmpty()) {
        const qsizetype dot = m_imageName.indexOf(QLatin1Char('.'));
        return (dot < 0 ? m_imageName : m_imageName.left(dot)) + QStringLiteral(".ant");
    }
    return QStringLiteral("default.ant");
}

void TPictureBox::setImageName(const QString& path)
{
    const QString previousAnnotations = annotationFileName();
    m_imageName = path;
    m_newPicture = true;
    const QString local = resolvePath(path);
    const QString extension = upperExtension(local);
    if (extension != QLatin1String(".RES") && (local.isEmpty() || !QFileInfo(local).isFile())) {
        emptyPicture();
        m_newPicture = false;
        return;
    }
    safely([&] {
        if (m_loaded) {
            if (m_autoSaveAnno)
                m_libs.annotationFile("SaveAnnotation", this, m_tiffPage, previousAnnotations);
            m_libs.annotationCall("ClearAnnotation", this);
        }
        reportProgress(0);
        loadPicture(local, extension);
    });
    m_newPicture = false;
    if (m_autoLoadAnno && m_loaded && QFileInfo::exists(annotationFileName()))
        safely([&] { m_libs.annotationFile("LoadAnnotation", this, m_tiffPage, annotationFileName()); });
    emit finishedLoadSave();
}

void TPictureBox::loadPicture(const QString& path, const QString& extension)
{
    int bits = readDepth();
    const bool dither = m_dither;
    if (extension == QLatin1String(".WMF") || extension == QLatin1String(".ICO")) {
        endMessageMode(false);
        if (m_imgUndo && m_graphic == Graphic::Bitmap)
            UndoHistory::shared().push(m_picture);
        QImage image;
        if (extension == QLatin1String(".WMF") || !image.load(path, "ICO")) {
            emptyPicture();
            throw ErrorInvalid(extension == QLatin1String(".WMF")
                                   ? QStringLiteral("This picture format can't be read on this system")
                                   : QStringLiteral("The picture file is damaged or not a picture of its kind"));
        }
        m_picture = image;
        m_graphic = extension == QLatin1String(".WMF") ? Graphic::Metafile : Graphic::Icon;
        updateFileInfo(path);
        pictureChangedStep();
        return;
    }
    if (extension == QLatin1String(".SCM") || extension == QLatin1String(".CMS")) {
        if (m_imgUndo && m_graphic == Graphic::Bitmap)
            UndoHistory::shared().push(m_picture);
        endMessageMode(true);
        try {
            if (extension == QLatin1String(".SCM"))
                startHorizontalMessage(path);
            else
                startVerticalMessage(path);
            updateFileInfo(path);
        } catch (...) {
            emptyPicture();
        }
        return;
    }
    if (extension == QLatin1String(".RES")) {
        endMessageMode(false);
        QImage image;
        const QString base = QFileInfo(path).fileName().section(QLatin1Char('.'), 0, 0);
        if (!loadBitmapResource(base, image)) {
            emptyPicture();
            return;
        }
        installPicture(image);
        return;
    }
    ReaderKind kind = ReaderKind::Bmp;
    const bool thumbnail = extension == QLatin1String(".THB") || extension == QLatin1String(".THJ");
    if (!thumbnail && !updateFileInfo(path)) {
        // Shown, then the control is emptied: another article's picture must
        // not stay under this name.
        emptyPicture();
        reportImagingError();
        return;
    }
    QString type = extension;
    if (extension == QLatin1String(".THB"))
        type = QStringLiteral(".BMP");
    if (extension == QLatin1String(".THJ"))
        type = QStringLiteral(".JPG");
    static const QMap<QString, ReaderKind> byExtension = {
        {QStringLiteral(".BMP"), ReaderKind::Bmp},   {QStringLiteral(".PNG"), ReaderKind::Png},
        {QStringLiteral(".GIF"), ReaderKind::Gif},   {QStringLiteral(".TIF"), ReaderKind::Tif},
        {QStringLiteral(".TIFF"), ReaderKind::Tif},  {QStringLiteral(".TGA"), ReaderKind::Tga},
        {QStringLiteral(".PCX"), ReaderKind::Pcx},   {QStringLiteral(".EPS"), ReaderKind::Eps},
        {QStringLiteral(".PCD"), ReaderKind::Pcd},   {QStringLiteral(".DXF"), ReaderKind::Dxf},
        {QStringLiteral(".JPEG"), ReaderKind::Jpeg}, {QStringLiteral(".JPG"), ReaderKind::Jpeg}};
    static const QMap<QString, ReaderKind> byFormat = {
        {QStringLiteral("BMP"), ReaderKind::Bmp}, {QStringLiteral("PNG"), ReaderKind::Png},
        {QStringLiteral("GIF"), ReaderKind::Gif}, {QStringLiteral("TIF"), ReaderKind::Tif},
        {QStringLiteral("TGA"), ReaderKind::Tga}, {QStringLiteral("PCX"), ReaderKind::Pcx},
        {QStringLiteral("EPS"), ReaderKind::Eps}, {QStringLiteral("PCD"), ReaderKind::Pcd},
        {QStringLiteral("DXF"), ReaderKind::Dxf}, {QStringLiteral("JPEG"), ReaderKind::Jpeg},
        {QStringLiteral("JPG"), ReaderKind::Jpeg}};
    if (byExtension.contains(type)) {
        kind = byExtension.value(type);
    } else if (byFormat.contains(m_info.format.toUpper())) {
        kind = byFormat.value(m_info.format.toUpper());
    } else {
        emptyPicture();
        throw ErrorInvalid(QStringLiteral("This picture format can't be read on this system"));
    }
    endMessageMode(false);
    if (m_info.bits > 0 && m_info.bits < (kind == ReaderKind::Gif ? 3 : 4))
        bits = 1;
    int page = 0;
    if (kind == ReaderKind::Tif) {
        if (m_tiffPage > m_info.pageCount)
            m_tiffPage = m_info.pageCount;
        page = m_tiffPage;
    } else if (kind == ReaderKind::Pcd) {
        page = int(m_pcdMode);
    }
    try {
        DibHandle dib = nullptr;
        QImage image;
        bool ok = m_libs.readPicture(kind, path, bits, dither, page, dib, this, progressThunk);
        if (ok) {
            ok = dibToBitmap(m_libs, dib, bits, dither, progressThunk, this, image);
            freeDib(dib);
        }
        if (!ok)
            reportImagingError();
        if (ok)
            installPicture(image);
        else
            emptyPicture();
    } catch (...) {
        // A read that fails leaves the control empty, silently.
        emptyPicture();
    }
}

bool TPictureBox::updateFileInfo(const QString& path)
{
    QString extension = upperExtension(path).left(4);
    m_info = FileInformation();
    if (extension == QLatin1String(".RES")) {
        m_info.format = QStringLiteral("RES");
        m_info.compression = QStringLiteral("BMP");
        m_info.width = m_picture.width();
        m_info.height = m_picture.height();
        m_fileSize = 40 + m_picture.sizeInBytes();
        return true;
    }
    if (extension == QLatin1String(".WMF") || extension == QLatin1String(".ICO") || extension == QLatin1String(".SCM")
        || extension == QLatin1String(".CMS")) {
        if (!QFileInfo::exists(path)) {
            m_info.format = m_info.compression = QStringLiteral("ERR");
            m_info.width = m_info.height = m_info.bits = m_info.further1 = m_info.further2 = -1;
            m_fileSize = -1;
            return false;
        }
        m_info.format = m_info.compression = extension.mid(1);
        m_info.width = m_picture.width();
        m_info.height = m_picture.height();
        m_fileSize = QFileInfo(path).size();
        return true;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ErrorInvalid(QStringLiteral("Não é possível abrir o ficheiro \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    m_fileSize = file.size();
    m_info.pageCount = 0;
    if (extension == QLatin1String(".TIF")) {
        m_info.format = QStringLiteral("TIF");
        if (!m_libs.tiffInfo(path, m_tiffPage, m_info)) {
            m_libs.setImagingError(abi::kCorruptPicture);
            return false;
        }
        return true;
    }
    if (extension == QLatin1String(".DXF")) {
        m_info.format = m_info.compression = QStringLiteral("DXF");
        m_libs.dxfInfo(path, m_info);
        return true;
    }
    return m_libs.fileInfo(path, m_info);
}

void TPictureBox::installPicture(const QImage& image, Graphic graphic)
{
    if (m_imgUndo && m_graphic == Graphic::Bitmap)
        UndoHistory::shared().push(m_picture);
    if (m_fxMethod != FxMethod::None && graphic == Graphic::Bitmap && !image.isNull()) {
        m_transition = image;
        runTransition(image);
    } else {
        m_picture = image;
        m_graphic = image.isNull() ? Graphic::None : graphic;
    }
    pictureChangedStep();
}

void TPictureBox::reportImagingError()
{
    if (isSignalConnected(QMetaMethod::fromSignal(&TPictureBox::imagingError))) {
        emit imagingError(m_libs.lastErrorCode(), m_libs.lastErrorText());
        return;
    }
    throw ErrorInvalid(m_libs.lastErrorText());
}

bool TPictureBox::reportProgress(int percent)
{
    bool cancel = false;
    if (isSignalConnected(QMetaMethod::fromSignal(&TPictureBox::progress)))
        emit progress(percent, m_libs.progressCaption().toLower(), &cancel);
    return !cancel;
}

std::int16_t TPictureBox::progressThunk(std::int16_t percent, void* control)
{
    if (!control)
        return 1;
    return static_cast<TPictureBox*>(control)->reportProgress(percent) ? 1 : 0;
}

void TPictureBox::emptyPicture()
{
    m_picture = QImage();
    m_graphic = Graphic::None;
    pictureChangedStep();
}

void TPictureBox::setPicture(const QImage* picture)
{
    if (picture && !picture->isNull()) {
        m_picture = *picture;
        m_graphic = Graphic::Bitmap;
    } else {
        m_picture = QImage();
        m_graphic = Graphic::None;
    }
    pictureChangedStep();
}

void TPictureBox::pictureChangedStep()
{
    if (m_autoSize && m_picture.width() > 0 && m_picture.height() > 0)
        setGeometry(x(), y(), m_picture.width(), m_picture.height());
    setAttribute(Qt::WA_OpaquePaintEvent, m_graphic == Graphic::Bitmap && m_picture.size() == size());
    if (m_newPicture) {
        m_zoom = m_savedZoom = 1.0;
        m_origin = m_savedOrigin = QPoint();
        if (m_stretchRatio)
            fitZoom();
    }
    layoutScrollbars();
    emit pictureChanged();
    update();
}

void TPictureBox::setText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    update();
}

void TPictureBox::setCaptionFont(const QFont& font, const QColor& colour)
{
    m_captionFont = font;
    m_captionColour = colour;
    update();
}

void TPictureBox::setBorderStyleSingle(bool single)
{
    setContentsMargins(single ? QMargins(1, 1, 1, 1) : QMargins());
    setProperty("borderSingle", single);
    update();
}

void TPictureBox::setStretch(bool value)
{
    if (value == m_stretch)
        return;
    m_stretch = value;
    if (value)
        m_stretchRatio = false;
    layoutScrollbars();
    update();
}

void TPictureBox::setStretchRatio(bool value)
{
    if (m_graphic == Graphic::Bitmap && value != m_stretchRatio) {
        if (value && !m_picture.isNull()) {
            m_savedZoom = m_zoom;
            m_savedOrigin = m_origin;
            m_origin = QPoint();
            m_stretchRatio = true;
            fitZoom();
        } else {
            m_zoom = m_savedZoom;
            m_origin = m_savedOrigin;
        }
    }
    if (value != m_stretchRatio || value) {
        m_stretchRatio = value;
        if (value)
            m_stretch = false;
    }
    layoutScrollbars();
    update();
}

void TPictureBox::setAutoSize(bool value)
{
    m_autoSize = value;
    pictureChangedStep();
}

void TPictureBox::setScrolling(bool value)
{
    m_scrolling = value;
    layoutScrollbars();
    m_vBar->setEnabled(value);
    m_hBar->setEnabled(value);
    m_corner->setEnabled(value);
    pictureChangedStep();
}

void TPictureBox::setShowScrollbars(bool value)
{
    if (m_graphic == Graphic::Metafile)
        return;
    if (!value && !m_picture.isNull())
        m_origin = originWithoutScrollbars(m_origin, size(), m_picture.size(), m_zoom);
    m_showScrollbars = value;
    layoutScrollbars();
    pictureChangedStep();
}

void TPictureBox::setScrollbarWidth(int width)
{
    if (width == m_scrollbarWidth)
        return;
    m_scrollbarWidth = width;
    repaint();
}

void TPictureBox::setGrabHandCursor(int index)
{
    if (index == m_grabHandCursor)
        return;
    m_grabHandCursor = index;
    screenCursors().insert(index, grabHand());
}

void TPictureBox::setEditAnnotat(bool value)
{
    if (value == m_editAnnotat)
        return;
    if (!value && m_loaded)
        safely([&] { m_libs.annotationCall("RubberBandOFF", this); });
    m_editAnnotat = value;
    update();
}

// Zoom and view ------------------------------------------------------------

void TPictureBox::resetZoom()
{
    if (!m_stretchRatio)
        m_zoom = m_savedZoom = 1.0;
    m_origin = m_savedOrigin = QPoint();
    repaint();
}

void TPictureBox::zoomOut(double factor)
{
    if (m_graphic == Graphic::None || m_graphic == Graphic::Metafile)
        return;
    if (zoomOutStep(m_zoom, m_origin, factor, size(), m_picture.size()))
        repaint();
    update();
}

void TPictureBox::zoomIn(double factor)
{
    if (m_graphic == Graphic::None || m_graphic == Graphic::Metafile)
        return;
    if (zoomInStep(m_zoom, factor))
        repaint();
    update();
}

void TPictureBox::zoomToArea(QPoint corner1, QPoint corner2)
{
    if (m_graphic != Graphic::Bitmap || m_picture.isNull() || m_tileWindow || !m_scrolling)
        return;
    const AreaView view{m_stretch, m_zoom, m_origin, {m_offsetX, m_offsetY}};
    const std::optional<AreaZoom> zoomed = zoomIntoArea(corner1, corner2, size(), m_picture.size(), view);
    if (!zoomed)
        return;
    m_stretch = m_stretchRatio = false;
    m_zoom = zoomed->zoom;
    m_origin = zoomed->origin;
    layoutScrollbars();
    repaint();
}

void TPictureBox::fitZoom()
{
    if (m_graphic == Graphic::Bitmap && !m_picture.isNull())
        m_zoom = kv::imaging::fitZoom(size(), m_picture.size());
}

bool TPictureBox::isWiderOrTaller() const
{
    return truncated(m_picture.width() * m_zoom) > width() || truncated(m_picture.height() * m_zoom) > height();
}

bool TPictureBox::scrollbarsEligible() const
{
    return m_graphic != Graphic::None && !m_stretch && !m_stretchRatio && !m_picture.isNull() && m_scrolling
           && m_showScrollbars;
}

void TPictureBox::layoutScrollbars()
{
    const ScrollbarLayout l = kv::imaging::layoutScrollbars(scrollbarsEligible(), size(), m_picture.size(), m_zoom,
                                                            m_origin, m_scrollbarWidth);
    m_layingOut = true;
    if (!l.shown) {
        for (QWidget* w : {static_cast<QWidget*>(m_vBar), static_cast<QWidget*>(m_hBar), m_corner}) {
            w->setGeometry(-1, -1, 0, 0);
            w->hide();
        }
        m_vBar->setFocusPolicy(Qt::NoFocus);
        m_hBar->setFocusPolicy(Qt::NoFocus);
    } else {
        const Qt::FocusPolicy policy = focusPolicy() == Qt::NoFocus ? Qt::NoFocus : Qt::TabFocus;
        m_vBar->setFocusPolicy(policy);
        m_hBar->setFocusPolicy(policy);
        m_vBar->setGeometry(l.vertical);
        m_hBar->setGeometry(l.horizontal);
        m_corner->setGeometry(l.corner);
        m_hBar->setRange(0, l.horizontalMaximum);
        m_hBar->setValue(l.horizontalPosition);
        m_vBar->setRange(0, l.verticalMaximum);
        m_vBar->setValue(l.verticalPosition);
        m_vBar->show();
        m_hBar->show();
        m_corner->show();
    }
    m_layingOut = false;
}

void TPictureBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!m_loaded)
        return;
    layoutScrollbars();
    if (m_stretchRatio && !m_picture.isNull())
        fitZoom();
}

// Painting -------------------------------------------------------------------

void TPictureBox::fillOutside(QPainter& painter, const QRect& target, bool scrollbarsShown)
{
    QRect view = rect();
    if (scrollbarsShown)
        view.adjust(0, 0, -m_scrollbarWidth, -m_scrollbarWidth);
    const QRegion outside = QRegion(view).xored(QRegion(target));
    painter.save();
    painter.setClipRegion(outside);
    painter.fillRect(rect(), m_color);
    painter.restore();
}

void TPictureBox::paintZoomed(QPainter& painter)
{
    const ZoomedView v =
        zoomedView(size(), m_picture.size(), m_zoom, m_origin, m_scrollbarWidth, m_showScrollbars, m_center);
    m_offsetX = v.offsetX;
    m_offsetY = v.offsetY;
    const bool barsShown = (v.wider || v.taller) && m_showScrollbars;
    fillOutside(painter, v.target, barsShown);
    painter.drawImage(QRectF(v.target), m_picture, QRectF(v.source));
    layoutScrollbars();
    if (m_loaded && m_libs.imagingLoaded())
        safely([&] {
            m_libs.drawAnnotation(this, m_zoom, m_origin.x(), m_origin.y(), m_offsetX, m_offsetY,
                                  barsShown ? m_scrollbarWidth : 0);
        });
    emit paintArea(v.target.left(), v.target.top(), v.target.width(), v.target.height());
}

void TPictureBox::drawCaption(QPainter& painter)
{
    painter.save();
    painter.setFont(m_captionFont);
    painter.translate(m_textLeft, m_textTop);
    painter.rotate(-m_textRotate);
    const QFontMetrics metrics(m_captionFont);
    const QPoint base(0, metrics.ascent());
    if (!m_textTransparent) {
        painter.setBackgroundMode(Qt::OpaqueMode);
        painter.setBackground(Qt::white);
    }
    if (m_textShadow) {
        painter.setPen(m_textShadowColor);
        painter.drawText(base + QPoint(2, 2), m_text);
    }
    painter.setPen(m_captionColour);
    painter.drawText(base, m_text);
    painter.restore();
}

void TPictureBox::drawBand(QPainter& painter) const
{
    if (!(m_leftBand || m_rightBand))
        return;
    painter.save();
    painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    painter.setPen(QPen(Qt::white, 1));
    const QPoint corner1(m_bandStart.x(), m_bandEnd.y());
    const QPoint corner2(m_bandEnd.x(), m_bandStart.y());
    painter.drawLine(m_bandStart, corner1);
    painter.drawLine(corner1, m_bandEnd);
    painter.drawLine(m_bandEnd, corner2);
    painter.drawLine(corner2, m_bandStart);
    painter.restore();
}

void TPictureBox::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    if (m_messageMode != MessageMode::Off) {
        painter.fillRect(rect(), m_color);
        painter.drawImage(m_messagePos, m_messageBitmap);
        return;
    }
    if (!m_revealed.isNull()) {
        painter.drawImage(0, 0, m_revealed);
        return;
    }
    if (m_info.format == QLatin1String("ICO") || m_info.format == QLatin1String("WMF")) {
        QRect target(QPoint(0, 0), m_picture.size());
        if (m_stretch)
            target = rect();
        else if (m_center)
            target.moveTo((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
        painter.fillRect(rect(), m_color);
        if (!m_picture.isNull())
            painter.drawImage(target, m_picture);
        if (!m_text.isEmpty())
            drawCaption(painter);
        emit paintArea(target.left(), target.top(), target.right(), target.bottom());
        emit painted();
        return;
    }
    if (m_tileWindow) {
        if (m_picture.width() > 0 && m_picture.height() > 0)
            for (int y = 0; y < height(); y += m_picture.height())
                for (int x = 0; x < width(); x += m_picture.width())
                    painter.drawImage(x, y, m_picture);
        return;
    }
    if (m_graphic == Graphic::None) {
        painter.fillRect(rect(), m_color);
        layoutScrollbars();
    } else if (m_stretch) {
        // Two-colour pictures keep their thin lines when shrunk, as the blit mode asks.
        if (m_picture.depth() == 1 && m_blitMode != BlitMode::Light)
            painter.drawImage(rect(), shrinkTwoColour(m_picture, size(), m_blitMode == BlitMode::Dark));
        else
            painter.drawImage(rect(), m_picture);
        layoutScrollbars();
        emit paintArea(0, 0, m_picture.width(), m_picture.height());
    } else if (!m_stretchRatio && !m_scrolling) {
        QPoint at(0, 0);
        if (m_center)
            at = QPoint((width() - m_picture.width()) / 2, (height() - m_picture.height()) / 2);
        const QRect target(at, m_picture.size());
        fillOutside(painter, target, false);
        painter.drawImage(at, m_picture);
        emit paintArea(at.x(), at.y(), m_picture.width(), m_picture.height());
    } else {
        paintZoomed(painter);
    }
    if (!m_text.isEmpty())
        drawCaption(painter);
    drawBand(painter);
    emit painted();
}

// Mouse and keys ---------------------------------------------------------------

void TPictureBox::mousePressEvent(QMouseEvent* event)
{
    if (focusPolicy() != Qt::NoFocus && event->button() == Qt::LeftButton)
        setFocus(Qt::MouseFocusReason);
    QWidget::mousePressEvent(event);
    if (m_graphic == Graphic::Metafile)
        return;
    const QPoint p = event->position().toPoint();
    if (m_editAnnotat) {
        safely([&] { m_libs.mouseMon(this, event->button() == Qt::RightButton ? 0x204 : 0x201, p.x(), p.y()); });
        return;
    }
    m_leftBand = m_rightBand = false;
    if (m_allowRubberBand) {
        if (event->button() == Qt::RightButton && m_rubberBandButton == Qt::RightButton)
            m_rightBand = true;
        else if (event->button() == Qt::LeftButton && m_rubberBandButton == Qt::LeftButton)
            m_leftBand = true;
        m_bandStart = m_bandEnd = p;
        return;
    }
    if (event->button() != Qt::LeftButton)
        return;
    m_leftDown = true;
    m_lastPoint = p;
    if (m_graphic != Graphic::None && !m_stretch && !m_picture.isNull() && isWiderOrTaller()) {
        m_grab = true;
        m_savedCursor = cursor();
        setCursor(screenCursors().value(m_grabHandCursor, grabHand()));
    }
}

void TPictureBox::mouseMoveEvent(QMouseEvent* event)
{
    QWidget::mouseMoveEvent(event);
    if (m_graphic == Graphic::Metafile)
        return;
    const QPoint p = event->position().toPoint();
    if (m_editAnnotat) {
        safely([&] { m_libs.mouseMon(this, 0x200, p.x(), p.y()); });
        return;
    }
    const int s =
        (!m_stretch && !m_stretchRatio && m_scrolling && isWiderOrTaller() && m_showScrollbars) ? m_scrollbarWidth : 0;
    if (m_allowRubberBand && (m_leftBand || m_rightBand)) {
        m_bandEnd = rubberBandEnd(m_bandStart, p, size());
        repaint();
        return;
    }
    if (!m_allowRubberBand && m_grab) {
        m_origin = grabStep(m_origin, m_lastPoint, p, m_zoom, size(), m_picture.size(), s);
        m_lastPoint = p;
        repaint();
    }
}

void TPictureBox::mouseReleaseEvent(QMouseEvent* event)
{
    QWidget::mouseReleaseEvent(event);
    const QPoint p = event->position().toPoint();
    if (m_editAnnotat) {
        safely([&] { m_libs.mouseMon(this, event->button() == Qt::LeftButton ? 0x202 : 0x205, p.x(), p.y()); });
        return;
    }
    if (m_allowRubberBand) {
        if ((event->button() == Qt::RightButton && m_rightBand) || (event->button() == Qt::LeftButton && m_leftBand)) {
            m_leftBand = m_rightBand = false;
            repaint();
            emit rubberband(event->button(), event->modifiers(), m_bandStart.x(), m_bandStart.y(), m_bandEnd.x(),
                            m_bandEnd.y());
            // The forms' hint promises it: the band's area is zoomed into.
            zoomToArea(m_bandStart, m_bandEnd);
        }
        return;
    }
    if (event->button() == Qt::LeftButton) {
        if (m_grab)
            setCursor(m_savedCursor);
        m_grab = m_leftDown = false;
        m_lastPoint = p;
    }
}

void TPictureBox::keyPressEvent(QKeyEvent* event)
{
    QWidget::keyPressEvent(event);
    const auto mods = event->modifiers();
    const bool shift = mods & Qt::ShiftModifier;
    const bool ctrl = mods & Qt::ControlModifier;
    safely([&] {
        if (event->key() == Qt::Key_Insert && shift)
            pasteFromClipboard();
        else if (event->key() == Qt::Key_Insert && ctrl)
            copyToClipboard();
        else if (event->key() == Qt::Key_Delete && shift)
            cutToClipboard();
        else if (ctrl && event->key() == Qt::Key_C)
            copyToClipboard();
        else if (ctrl && event->key() == Qt::Key_V)
            pasteFromClipboard();
        else if (ctrl && event->key() == Qt::Key_X)
            cutToClipboard();
    });
}

// Scanning, saving, clipboard ----------------------------------------------------

bool TPictureBox::selectScanner(QWidget* parentWindow)
{
    bool chosen = false;
    safely([&] { chosen = m_libs.selectSource(parentWindow); });
    return chosen;
}

void TPictureBox::scanImage(QWidget* parentWindow)
{
    safely([&] {
        reportProgress(0);
        const int bits = readDepth();
        endMessageMode(false);
        QImage image;
        try {
            DibHandle dib = nullptr;
            bool ok = m_libs.acquire(parentWindow, bits, m_dither, dib, this, progressThunk);
            if (ok) {
                ok = dibToBitmap(m_libs, dib, bits, m_dither, progressThunk, this, image);
                freeDib(dib);
            }
            if (!ok) {
                emptyPicture();
                reportImagingError();
                return;
            }
        } catch (...) {
            emptyPicture();
            return;
        }
        if (m_imgUndo && m_graphic == Graphic::Bitmap)
            UndoHistory::shared().push(m_picture);
        if (!image.isNull()) {
            m_picture = image;
            m_graphic = Graphic::Bitmap;
        }
        emit pictureChanged();
        update();
    });
}

bool TPictureBox::saveAsBmp(const QString& path)
{
    if (!path.isEmpty())
        m_defSaveFilename = path;
    if (m_graphic == Graphic::None || m_picture.isNull() || m_defSaveFilename.isEmpty())
        return false;
    reportProgress(0);
    bool written = false;
    try {
        DibHolder dib(bitmapToDib(m_picture));
        if (dibSize(dib.get()) <= 4)
            return false;
        written = m_libs.writeBmp(resolvePath(m_defSaveFilename), writeDepth(), dib.get(), this, progressThunk);
        if (!written) {
            if (isSignalConnected(QMetaMethod::fromSignal(&TPictureBox::imagingError)))
                emit imagingError(m_libs.lastErrorCode(), m_libs.lastErrorText());
            else
                kv::ui::messages().error(QStringLiteral("Não foi possível gravar a imagem em \"%1\". %2")
                                             .arg(QDir::toNativeSeparators(m_defSaveFilename), m_libs.lastErrorText()));
            return false;
        }
    } catch (const ErrorInvalid& error) {
        kv::ui::messages().error(error.text());
        return false;
    }
    emit finishedLoadSave();
    return true;
}

void TPictureBox::copyToClipboard()
{
    if (m_picture.isNull())
        throw ErrorInvalid(QStringLiteral("Input image is empty"));
    QApplication::clipboard()->setImage(m_picture);
}

void TPictureBox::cutToClipboard()
{
    if (m_graphic == Graphic::None)
        return;
    copyToClipboard();
    if (m_imgUndo)
        UndoHistory::shared().push(m_picture);
    emptyPicture();
}

void TPictureBox::pasteFromClipboard()
{
    const int bits = readDepth();
    const QMimeData* mime = QApplication::clipboard()->mimeData();
    if (!mime || !mime->hasImage())
        return;
    endMessageMode(false);
    if (m_imgUndo && m_graphic == Graphic::Bitmap)
        UndoHistory::shared().push(m_picture);
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    if (image.isNull())
        return;
    DibHolder dib(bitmapToDib(image));
    QImage converted;
    if (dibToBitmap(m_libs, dib.get(), bits, false, nullptr, nullptr, converted)) {
        m_picture = converted;
        m_graphic = Graphic::Bitmap;
    }
    if (m_stretchRatio)
        fitZoom();
    emit pictureChanged();
    update();
}

// Transitions -----------------------------------------------------------------------

void TPictureBox::runTransition(const QImage& image)
{
    if (image.isNull())
        return;
    QApplication::processEvents();
    QImage source = image;
    if (m_stretch || m_stretchRatio) {
        QImage work(size(), QImage::Format_RGB32);
        work.fill(m_color);
        QPainter p(&work);
        if (m_stretch) {
            p.drawImage(work.rect(), image);
        } else {
            const double f = kv::imaging::fitZoom(size(), image.size());
            const QSize s(truncated(image.width() * f), truncated(image.height() * f));
            const QRect target(QPoint((width() - s.width()) / 2, (height() - s.height()) / 2), s);
            m_offsetX = target.left();
            m_offsetY = target.top();
            p.drawImage(target, image);
        }
        source = work;
    }
    m_revealed = QImage(source.size(), QImage::Format_RGB32);
    m_revealed.fill(m_color);
    struct Context {
        TPictureBox* box;
        const QImage* source;
    } context{this, &source};
    abi::FxCanvas canvas{&context,
                         [](void* c, std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h) {
                             auto* ctx = static_cast<Context*>(c);
                             QPainter p(&ctx->box->m_revealed);
                             p.drawImage(QRect(x, y, w, h), *ctx->source, QRect(x, y, w, h));
                             p.end();
                             ctx->box->repaint();
                         },
                         source.width(), source.height()};
    static const char* const entries[] = {
        "", "FXSkipHorizontal", "FXSkipVertical", "FXSkipDiagonals", "FXSkipDiagonalSquares", "FXSkipRectangles"};
    const QCursor previous = cursor();
    setCursor(Qt::WaitCursor);
    m_libs.runTransition(entries[int(m_fxMethod)], canvas, m_fxThick, m_fxDelay);
    setCursor(previous);
    m_picture = source;
    m_graphic = Graphic::Bitmap;
    m_revealed = QImage();
    m_transition = QImage();
}

// Scrolling messages ----------------------------------------------------------------

void TPictureBox::endMessageMode(bool empty)
{
    if (m_messageMode != MessageMode::Off)
        m_color = m_colorBeforeMessage;
    m_messageMode = MessageMode::Off;
    if (empty) {
        m_picture = QImage();
        m_graphic = Graphic::None;
    }
}

static QFont messageFont(const MessageSettings& m)
{
    QFont font(m.fontName);
    if (m.fontHeight < 0)
        font.setPixelSize(-m.fontHeight);
    else if (m.fontHeight > 0)
        font.setPixelSize(m.fontHeight);
    if (m.fontStyle.size() >= 4) {
        font.setBold(m.fontStyle[0] == QLatin1Char('1'));
        font.setItalic(m.fontStyle[1] == QLatin1Char('1'));
        font.setUnderline(m.fontStyle[2] == QLatin1Char('1'));
        font.setStrikeOut(m.fontStyle[3] == QLatin1Char('1'));
    }
    return font;
}

static QImage messageImage(const QString& text, const MessageSettings& m, int extraWidth, int extraHeight)
{
    const QFont font = messageFont(m);
    const QFontMetrics metrics(font);
    QImage image(qMax(1, metrics.horizontalAdvance(text) + extraWidth), qMax(1, metrics.height() + extraHeight),
                 QImage::Format_RGB32);
    image.fill(colourFromStored(m.background));
    QPainter p(&image);
    p.setFont(font);
    p.setPen(colourFromStored(m.fontColour));
    p.drawText(0, metrics.ascent(), text);
    return image;
}

void TPictureBox::startHorizontalMessage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ErrorInvalid(file.errorString());
    m_message = parseHorizontalMessage(QString::fromLocal8Bit(file.readAll()));
    m_picture = QImage();
    m_graphic = Graphic::None;
    m_messageBitmap = messageImage(m_message.text, m_message, 0, 0);
    m_messagePos = QPoint(width(), (height() - m_messageBitmap.height()) / 2);
    m_messageFar = m_messagePos.x() + m_messageBitmap.width();
    m_colorBeforeMessage = m_color;
    m_color = colourFromStored(m_message.background);
    m_ticker = MessageTicker{m_message.speed, 0};
    m_messageMode = MessageMode::Horizontal;
    update();
}

void TPictureBox::startVerticalMessage(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ErrorInvalid(file.errorString());
    const QString text = QString::fromLocal8Bit(file.read(65527));
    m_message = parseVerticalMessage(text.split(QLatin1Char('\n')).replaceInStrings(QStringLiteral("\r"), QString()));
    m_picture = QImage();
    m_graphic = Graphic::None;
    m_messageLine = 0;
    if (m_message.lines.isEmpty())
        return;
    m_colorBeforeMessage = m_color;
    m_color = colourFromStored(m_message.background);
    m_ticker = MessageTicker{m_message.speed, 0};
    prepareVerticalLine();
    m_messageMode = MessageMode::Vertical;
    update();
}

void TPictureBox::prepareVerticalLine()
{
    const QString line = preparedMessageLine(m_message.lines.value(m_messageLine));
    const QFontMetrics metrics(messageFont(m_message));
    int w = metrics.horizontalAdvance(line);
    if (line.size() > 2)
        w += w / int(line.size() - 2);
    m_messageBitmap = messageImage(line, m_message, w - metrics.horizontalAdvance(line), 5);
    m_messagePos = QPoint((width() - w) / 2, height());
    m_messageFar = m_messagePos.y() + metrics.height();
    if (m_imgUndo && m_graphic == Graphic::Bitmap)
        UndoHistory::shared().push(m_picture);
}

void TPictureBox::horizontalMessageTick()
{
    if (m_messageMode != MessageMode::Horizontal || !m_ticker.tick())
        return;
    m_messagePos.rx() -= 1;
    m_messageFar -= 1;
    if (m_messageFar < 0) {
        m_messagePos.setX(width());
        m_messageFar = width() + m_messageBitmap.width();
    }
    repaint();
}

void TPictureBox::verticalMessageTick()
{
    if (m_messageMode != MessageMode::Vertical || !m_ticker.tick())
        return;
    m_messagePos.ry() -= 1;
    m_messageFar -= 1;
    const int lineHeight = m_messageBitmap.height() - 5;
    if (m_messagePos.y() < -lineHeight - 5) {
        m_messageLine = m_message.lines.isEmpty() ? 0 : (m_messageLine + 1) % int(m_message.lines.size());
        prepareVerticalLine();
    }
    repaint();
}

bool applyFormValues(TPictureBox& box, bool yellowCaption)
{
    box.setStretch(true);
    box.setScrolling(true);
    box.setShowScrollbars(true);
    box.setScrollbarWidth(12);
    box.setImageDither(true);
    box.setImageReadRes(LoadResolution::AutoMatic);
    box.setImageWriteRes(SaveResolution::AutoMatic);
    box.setJPegSaveQuality(25);
    box.setJPegSaveSmooth(5);
    if (QWidget* parent = box.parentWidget())
        box.setColor(parent->palette().color(parent->backgroundRole()));
    box.setFocusPolicy(Qt::NoFocus);
    box.setZoomBy(10);
    QFont arial(QStringLiteral("Arial"));
    box.setCaptionFont(arial, yellowCaption ? QColor(Qt::yellow) : QColor(Qt::black));
    box.setImageName(QStringLiteral("file not found"));
    return box.loaded();
}

} // namespace kv::imaging
