#pragma once

#include "imaging/core/ImagingLibraries.h"
#include "imaging/core/ScrollingMessage.h"
#include "imaging/core/ZoomGeometry.h"

#include <QColor>
#include <QFont>
#include <QImage>
#include <QWidget>
#include <functional>
#include <memory>

class QScrollBar;

namespace kv::install {
class Installation;
}

namespace kv::imaging {

enum class LoadResolution { ColorVga, MonoChrome, Color16, Color256, ColorTrue, AutoMatic };
enum class SaveResolution { ColorVga, MonoChrome, Color16, Color256, ColorTrue, JpegGray, AutoMatic };
enum class TiffCompression { None, Ccitt, FaxCcitt3, FaxCcitt4, Lzw, PackBits };
enum class BlitMode { Light, Dark, Lightest };
enum class PcdMode { Base16, Base4, Base };
enum class FxMethod { None, Horizontal, Vertical, Diagonal, DiagonalSquares, Rectangles };
enum class SortDither { Bayer, Burkes, Floyd, GrayScale };

// The picture control: shows one picture file in a zoomable, scrollable
// view with a caption over it; reads, writes and scans through the imaging
// libraries. No exception leaves any of its operations: what must reach the
// user goes through the message service, and the control stays empty.
class TPictureBox : public QWidget {
    Q_OBJECT
public:
    enum class Graphic { None, Bitmap, Icon, Metafile };

    explicit TPictureBox(QWidget* parent = nullptr, ImagingLibraries* libraries = nullptr);
    ~TPictureBox() override;

    // The form has set its values: scroll bars, annotations (which need the
    // imaging library). False, after the library's message, when it is missing.
    bool loaded();
    bool isLoaded() const { return m_loaded; }

    // Windows paths of the database go through the installation's drive map.
    void setInstallation(std::shared_ptr<const kv::install::Installation> installation);
    // The screen the depth rules look at.
    void setScreenProfile(const ScreenProfile& screen) { m_screen = screen; }

    void setImageName(const QString& path);
    QString getImageName() const { return m_imageName; }
    void setPicture(const QImage* picture); // nullptr empties the control
    const QImage& picture() const { return m_picture; }
    Graphic graphic() const { return m_graphic; }
    bool hasPicture() const { return m_graphic != Graphic::None; }

    void setText(const QString& text);
    QString text() const { return m_text; }
    void setTextLeft(int v) { storeAndUpdate(m_textLeft, v); }
    void setTextTop(int v) { storeAndUpdate(m_textTop, v); }
    void setTextRotate(int v) { storeAndUpdate(m_textRotate, v); }
    void setTextShadow(bool v) { storeAndUpdate(m_textShadow, v); }
    void setTextShadowColor(const QColor& c) { m_textShadowColor = c; }
    void setTextTransparent(bool v) { storeAndUpdate(m_textTransparent, v); }
    void setCaptionFont(const QFont& font, const QColor& colour);
    void setColor(const QColor& c) { storeAndUpdate(m_color, c); }
    QColor color() const { return m_color; }
    void setCenter(bool v) { storeAndUpdate(m_center, v); }
    void setTileWindow(bool v) { storeAndUpdate(m_tileWindow, v); }
    void setBorderStyleSingle(bool single);

    void setStretch(bool value);
    bool stretch() const { return m_stretch; }
    void setStretchRatio(bool value);
    bool stretchRatio() const { return m_stretchRatio; }
    void setAutoSize(bool value);
    void setScrolling(bool value);
    void setShowScrollbars(bool value);
    void setScrollbarWidth(int width);
    int scrollbarWidth() const { return m_scrollbarWidth; }
    void setGrabHandCursor(int index);
    void setAllowRubberBand(bool v) { m_allowRubberBand = v; }
    void setRubberBandButton(Qt::MouseButton b) { m_rubberBandButton = b; }

    void setImageReadRes(LoadResolution r) { m_readRes = r; }
    void setImageWriteRes(SaveResolution r) { m_writeRes = r; }
    void setImageDither(bool v) { m_dither = v; }
    void setBlitMode(BlitMode m)
    {
        m_blitMode = m;
        repaint();
    }
    void setPcdMode(PcdMode m) { m_pcdMode = m; }
    void setTiffPage(int page)
    {
        m_previousTiffPage = m_tiffPage;
        m_tiffPage = page;
    }
    int tiffPage() const { return m_tiffPage; }
    void setTifSaveCompress(TiffCompression c) { m_tifSaveCompress = c; }
    void setTiffAppend(bool v) { m_tiffAppend = v; }
    void setJPegSaveQuality(int q) { m_jpegQuality = (q >= 1 && q <= 100) ? q : 25; }
    int jpegSaveQuality() const { return m_jpegQuality; }
    void setJPegSaveSmooth(int s) { m_jpegSmooth = (s >= 1 && s <= 100) ? s : 5; }
    int jpegSaveSmooth() const { return m_jpegSmooth; }
    void setDefSaveFilename(const QString& path) { m_defSaveFilename = path; }
    QString defSaveFilename() const { return m_defSaveFilename; }
    void setImgUndo(bool v) { m_imgUndo = v; }
    void setFxMethod(FxMethod m) { m_fxMethod = m; }
    void setFxDelay(int d) { m_fxDelay = d; }
    void setFxColRowThick(int t) { m_fxThick = t; }
    void setEditAnnotat(bool value);
    void setAutoLoadAnno(bool v) { m_autoLoadAnno = v; }
    void setAutoSaveAnno(bool v) { m_autoSaveAnno = v; }
    void setAnnoFileName(const QString& n) { m_annoFileName = n; }
    void setZoomBy(int z) { m_zoomBy = z; }
    static double version() { return 6.1; }

    // File information of the last picture.
    QString fileFormat() const { return m_info.format; }
    QString fileCompression() const { return m_info.compression; }
    int fileWidth() const { return m_info.width; }
    int fileHeight() const { return m_info.height; }
    int fileBits() const { return m_info.bits; }
    qint64 fileSize() const { return m_fileSize; }
    int tiffPageCount() const { return m_info.pageCount; }

    // Zoom and view.
    double zoom() const { return m_zoom; }
    QPoint viewOrigin() const { return m_origin; }
    void resetZoom();
    void zoomOut(double factor);
    void zoomIn(double factor);
    void fitZoom();
    // Shows the picture under the area between two corners (control pixels)
    // as large as the control allows, through the zoomed view (Stretch off):
    // what a rubber band dragged with its button ends in. Nothing when the
    // area is too small or empty, or the control shows no bitmap through a
    // view that can zoom.
    void zoomToArea(QPoint corner1, QPoint corner2);
    QScrollBar* horizontalBar() const { return m_hBar; }
    QScrollBar* verticalBar() const { return m_vBar; }
    QWidget* cornerPanel() const { return m_corner; }
    QPoint centringOffsets() const { return {m_offsetX, m_offsetY}; }

    // Scanning, saving, clipboard.
    bool selectScanner(QWidget* parentWindow);
    void scanImage(QWidget* parentWindow);
    bool saveAsBmp(const QString& path);
    void copyToClipboard();
    void cutToClipboard();
    void pasteFromClipboard();

    // One tick of a scrolling message; a host drives them from a QTimer.
    void horizontalMessageTick();
    void verticalMessageTick();
    bool inMessageMode() const { return m_messageMode != MessageMode::Off; }
    QPoint messagePosition() const { return m_messagePos; }

    // The annotation file of the current picture.
    QString annotationFileName() const;

signals:
    void progress(int percent, const QString& message, bool* cancel);
    void imagingError(int code, const QString& text);
    void finishedLoadSave();
    void pictureChanged();
    void paintArea(int x, int y, int xx, int yy);
    void painted();
    void rubberband(Qt::MouseButton button, Qt::KeyboardModifiers modifiers, int startX, int startY, int endX,
                    int endY);
    void annoDone();
    void annoClick(long object, bool selecting);
    void customAnnotationDraw(void* handle, const QString& name, int x, int y, int xx, int yy);
    void customAnnotationHardDraw(void* handle, const QString& name, int x, int y, int xx, int yy);
    void beforeAnnotationDraw(int passCode, bool* canDraw, const QString& name);
    void afterAnnotationDraw(const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    enum class MessageMode { Off, Horizontal, Vertical };
    template <class T>
    void storeAndUpdate(T& field, const T& value)
    {
        if (field != value) {
            field = value;
            update();
        }
    }
    // Runs an operation so that no exception leaves the control.
    template <class Op>
    void safely(Op&& op);
    int readDepth() const;
    int writeDepth() const;
    QString resolvePath(const QString& path) const;
    void loadPicture(const QString& path, const QString& extension);
    bool updateFileInfo(const QString& path);
    void installPicture(const QImage& image, Graphic graphic = Graphic::Bitmap);
    void reportImagingError(); // throws ErrorInvalid without a connected handler
    bool reportProgress(int percent);
    void emptyPicture();
    void pictureChangedStep();
    void layoutScrollbars();
    bool scrollbarsEligible() const;
    bool isWiderOrTaller() const;
    void paintZoomed(class QPainter& painter);
    void fillOutside(class QPainter& painter, const QRect& target, bool scrollbarsShown);
    void drawCaption(class QPainter& painter);
    void drawBand(class QPainter& painter) const;
    void endMessageMode(bool emptyPicture);
    void startHorizontalMessage(const QString& path);
    void startVerticalMessage(const QString& path);
    void prepareVerticalLine();
    void runTransition(const QImage& image);
    void scrolled();
    static std::int16_t progressThunk(std::int16_t percent, void* control);

    ImagingLibraries& m_libs;
    std::shared_ptr<const kv::install::Installation> m_installation;
    ScreenProfile m_screen;
    QString m_imageName;
    QImage m_picture;
    Graphic m_graphic = Graphic::None;
    FileInformation m_info;
    qint64 m_fileSize = 0;
    QString m_text;
    int m_textLeft = 0, m_textTop = 0, m_textRotate = 0;
    bool m_textShadow = false;
    QColor m_textShadowColor = Qt::black;
    bool m_textTransparent = true;
    QFont m_captionFont;
    QColor m_captionColour = Qt::black;
    QColor m_color;
    bool m_stretch = false, m_stretchRatio = false, m_center = false, m_autoSize = false, m_tileWindow = false;
    bool m_scrolling = true, m_showScrollbars = true;
    int m_scrollbarWidth = 12;
    int m_grabHandCursor = 5;
    bool m_allowRubberBand = false;
    Qt::MouseButton m_rubberBandButton = Qt::LeftButton;
    LoadResolution m_readRes = LoadResolution::AutoMatic;
    SaveResolution m_writeRes = SaveResolution::AutoMatic;
    bool m_dither = false;
    BlitMode m_blitMode = BlitMode::Light;
    PcdMode m_pcdMode = PcdMode::Base4;
    int m_tiffPage = 0, m_previousTiffPage = 0;
    TiffCompression m_tifSaveCompress = TiffCompression::None;
    bool m_tiffAppend = false;
    int m_jpegQuality = 25, m_jpegSmooth = 0;
    QString m_defSaveFilename;
    bool m_imgUndo = true;
    FxMethod m_fxMethod = FxMethod::None;
    int m_fxDelay = 25, m_fxThick = 4;
    bool m_editAnnotat = false, m_autoLoadAnno = false, m_autoSaveAnno = false;
    QString m_annoFileName;
    int m_zoomBy = 10;

    double m_zoom = 1.0, m_savedZoom = 1.0;
    QPoint m_origin, m_savedOrigin;
    bool m_newPicture = false;
    bool m_loaded = false;
    int m_offsetX = 0, m_offsetY = 0;
    QScrollBar* m_vBar = nullptr;
    QScrollBar* m_hBar = nullptr;
    QWidget* m_corner = nullptr;
    bool m_layingOut = false;

    bool m_grab = false, m_leftDown = false;
    QPoint m_lastPoint;
    QCursor m_savedCursor;
    bool m_rightBand = false, m_leftBand = false;
    QPoint m_bandStart, m_bandEnd;

    QImage m_transition; // the new picture while its transition runs
    QImage m_revealed; // what the transition has shown so far

    MessageMode m_messageMode = MessageMode::Off;
    MessageSettings m_message;
    MessageTicker m_ticker;
    QImage m_messageBitmap;
    QPoint m_messagePos;
    int m_messageFar = 0;
    int m_messageLine = 0;
    QColor m_colorBeforeMessage;
};

// The values every form gives its picture controls, then loaded(): stretched,
// scrolling with 12-pixel scroll bars, dithered reads at the screen's depth,
// the parent's colour, no tab stop, an Arial caption (yellow unless asked
// otherwise) and the starting name "file not found".
bool applyFormValues(TPictureBox& box, bool yellowCaption = true);

} // namespace kv::imaging
