#pragma once

#include <QWidget>
#include <array>
#include <functional>

class QCheckBox;
class QScrollArea;
class QSpinBox;

namespace kv::install {
class Installation;
}
namespace kv::imaging {
class TPictureBox;
}
namespace kv::ui {
class Form;
class TGlyphButton;
} // namespace kv::ui

namespace kv::customers {

class ArticlePictureFiles;

// The page "Fotos" of the article form: the large view `M1`, the picture
// number, import, scan, scanner choice and delete; and the panel
// "Fotografias" with the thumbnails `ML1` .. `ML4`, which the form places
// beside its pages. The files are the article's picture files in the
// year's picture folder, written when these buttons are used.
class ArticlePicturesPage : public QWidget {
    Q_OBJECT
public:
    ArticlePicturesPage(kv::ui::Form& form, const kv::install::Installation* installation,
                        std::function<QString()> code, QWidget* parent = nullptr);
    ~ArticlePicturesPage() override;

    // The picture folder of the working year (`PATHFOTO`), as stored.
    void setFolder(const QString& storedFolder) { m_folder = storedFolder; }
    bool hasFolder() const;
    // The scanner and import buttons follow the user's SCANNER right.
    void allowScanner(bool allowed);

    // The panel of thumbnails the form shows beside its pages.
    QWidget* thumbnailPanel() const { return m_panel; }

    // Entering the page: false without a picture folder. The thumbnails of
    // files already there are filled at the first entry.
    bool enter();
    // ML1Click .. ML4Click.
    void thumbnailStep(int n);
    void BotLocalizarClick();
    void BotScanClick();
    void BotScanSelectClick();
    void BotDeleteImageClick();
    void BitResetClick();
    void BitTamanhoRealClick();
    void BitStretchClick();
    // The form closes: every box emptied, files left as they are.
    void clearBoxes();

    kv::imaging::TPictureBox* largeView() const { return M1; }
    kv::imaging::TPictureBox* thumbnail(int n) const { return m_thumbnails[n - 1]; }
    int pictureNumber() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    ArticlePictureFiles files() const;
    void showThumbnail(int n, const QString& path);
    void refreshThumbnails(); // ShowFotos

    kv::ui::Form& m_form;
    const kv::install::Installation* m_installation;
    std::function<QString()> m_code;
    QString m_folder;
    bool m_filled = false;

    QWidget* m_panel = nullptr;
    QCheckBox* m_showPictures = nullptr;
    std::array<kv::imaging::TPictureBox*, 4> m_thumbnails{};
    kv::imaging::TPictureBox* M1 = nullptr;
    QScrollArea* ScrollBox1 = nullptr;
    QSpinBox* Edit_NextPage = nullptr;
    kv::ui::TGlyphButton* BotLocalizar = nullptr;
    kv::ui::TGlyphButton* BotScanSelect = nullptr;
    kv::ui::TGlyphButton* BotScan = nullptr;
};

} // namespace kv::customers
