#pragma once

#include <QPoint>
#include <QWidget>
#include <array>
#include <functional>

class QHBoxLayout;
class QLabel;
class QRubberBand;
class QScrollArea;

namespace kv::install {
class Installation;
}
namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class TGlyphButton;
}

namespace kv::quotes {

// The pictures of a quote's article (ShowFotos): four thumbnails on the
// photo page, picture 1 also in `MLL1` (which the form places beside its
// tabs), and the large viewer `M1` with its zoom rectangle.
class ArticlePictureViewer : public QWidget {
    Q_OBJECT
public:
    // `showPhotoPage` makes the form's photo tab and page current.
    ArticlePictureViewer(const kv::install::Installation& installation, std::function<void()> showPhotoPage,
                         QWidget* parent = nullptr);

    // The picture folder of the working year (`PATHFOTO`), as stored.
    void setFolder(const QString& pathFoto) { m_folder = pathFoto; }
    bool hasFolder() const { return !m_folder.trimmed().isEmpty(); }

    // ShowFotos for an article code (empty when the quote's article is not
    // in the article file).
    void showPictures(const QString& articleCode);
    // ML1Click .. ML4Click: picture n large, when its file exists.
    bool showLarge(int n);
    QString picturePath(int n) const { return m_paths[n - 1]; }

    kv::imaging::TPictureBox* smallPicture() const { return MLL1; }
    kv::imaging::TPictureBox* largePicture() const { return M1; }
    QLabel* thumbnail(int n) const { return m_thumbnails[n - 1]; }
    QRubberBand* zoomRectangle() const { return m_band; }

    // "Zoom +" and "Zoom -" after the other buttons: the first enlarges the
    // large picture by `factor` (above 1), the second reduces it by as much.
    void addZoomButtons(double factor);

    void BitResetClick();
    void BitTamanhoRealClick();
    void BitStretchClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const kv::install::Installation& m_installation;
    std::function<void()> m_showPhotoPage;
    QString m_folder;
    std::array<QString, 4> m_paths;

    std::array<QLabel*, 4> m_thumbnails{}; // ml1, ML2, ML3, ML4
    kv::imaging::TPictureBox* MLL1 = nullptr;
    kv::imaging::TPictureBox* M1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    kv::ui::TGlyphButton* BitReset = nullptr;
    kv::ui::TGlyphButton* BitTamanhoReal = nullptr;
    kv::ui::TGlyphButton* BitStretch = nullptr;
    QHBoxLayout* m_buttons = nullptr;

    // The zoom rectangle of the left button.
    QRubberBand* m_band = nullptr;
    bool m_drawing = false;
    QPoint m_start;
    QPoint m_end;
};

} // namespace kv::quotes
