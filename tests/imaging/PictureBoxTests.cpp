#include "ImagingFixtures.h"

#include "imaging/core/UndoHistory.h"
#include "imaging/dib/ImagingSettings.h"
#include "imaging/forms/TPictureBox.h"
#include "platform/install/Installation.h"
#include "schema/DemoInstallation.h"
#include "schema/InstallationBuilder.h"
#include "support/Scenario.h"

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace kv::imaging;

namespace {

// A control over the real libraries, shown offscreen at its size.
struct Box {
    std::unique_ptr<ImagingLibraries> libs; // outlives the windows of the scenario
    kv::test::Scenario scenario;
    TPictureBox* box = nullptr;

    explicit Box(QSize size = QSize(200, 150))
    {
        QDir().mkpath(scenario.tempPath("settings"));
        libs = kv::test::realLibraries(scenario.tempPath("settings"));
        auto* window = new QWidget;
        window->resize(size + QSize(20, 20));
        box = new TPictureBox(window, libs.get());
        box->setGeometry(QRect(QPoint(10, 10), size));
        box->setScreenProfile(ScreenProfile{32, {}});
        box->setColor(Qt::gray);
        scenario.show(window);
        box->loaded();
    }
    QString file(const QString& name) const { return scenario.tempPath(name); }
    QImage shot() { return box->grab().toImage().convertToFormat(QImage::Format_RGB32); }
};

} // namespace

TEST(TPictureBox, LoadsPicturesByExtensionOrContent)
{
    Box b;
    const QImage bars = kv::test::colourBars();
    kv::test::writeBmp(b.file("one.bmp"), bars, 1);
    kv::test::writeBmp(b.file("four.BMP"), bars, 4);
    bars.save(b.file("photo.dat"), "JPEG");
    bars.save(b.file("PIC.PNG"), "PNG");
    kv::test::writeTiff(b.file("pages.tiff"), {1, 32773, 1});
    struct Case {
        const char* file;
        QImage::Format format;
        int bits;
    };
    const Case cases[] = {
        {"one.bmp", QImage::Format_Mono, 1}, // read at 1 bit whatever the depth asked
        {"four.BMP", QImage::Format_RGB32, 4}, // at the read depth
        {"photo.dat", QImage::Format_RGB32, 24},
        {"pic.png", QImage::Format_RGB32, 24}, // found although the case differs
        {"pages.tiff", QImage::Format_RGB32, 8},
    };
    for (const Case& c : cases) {
        QSignalSpy finished(b.box, &TPictureBox::finishedLoadSave);
        b.box->setImageName(b.file(c.file));
        EXPECT_EQ(b.box->getImageName(), b.file(c.file));
        ASSERT_TRUE(b.box->hasPicture()) << c.file;
        EXPECT_EQ(b.box->picture().format(), c.format) << c.file;
        EXPECT_EQ(b.box->fileBits(), c.bits) << c.file;
        EXPECT_EQ(finished.count(), 1) << c.file;
    }
    EXPECT_TRUE(b.scenario.messages().texts().isEmpty());
}

TEST(TPictureBox, TiffPageIsLoweredToThePageCount)
{
    Box b;
    kv::test::writeTiff(b.file("pages.tif"), {1, 32773, 1});
    b.box->setTiffPage(5);
    b.box->setImageName(b.file("pages.tif"));
    EXPECT_EQ(b.box->tiffPage(), 3);
    EXPECT_EQ(qRed(b.box->picture().pixel(0, 0)), 160);
}

TEST(TPictureBox, FilesThatCannotBeShownLeaveTheControlEmpty)
{
    Box b;
    kv::test::colourBars().save(b.file("good.png"), "PNG");
    QByteArray pcx(128, '\0');
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    kv::test::writeBytes(b.file("old.pcx"), pcx);
    QByteArray jpeg("\xFF\xD8\xFF\xE0", 4);
    jpeg.append(QByteArray(60, '\x11'));
    kv::test::writeBytes(b.file("broken.jpg"), jpeg);
    struct Case {
        const char* file;
        const char* message;
    };
    const Case cases[] = {
        {"missing.bmp", ""},
        {"old.pcx", "This picture format can't be read on this system"},
        {"broken.jpg", "The picture file is damaged or not a picture of its kind"},
    };
    for (const Case& c : cases) {
        b.box->setImageName(b.file("good.png"));
        ASSERT_TRUE(b.box->hasPicture());
        b.scenario.messages().clear();
        b.box->setImageName(b.file(c.file));
        EXPECT_FALSE(b.box->hasPicture()) << c.file;
        EXPECT_EQ(b.box->getImageName(), b.file(c.file));
        EXPECT_EQ(b.scenario.messages().lastText(), c.message) << c.file;
    }
}

TEST(TPictureBox, ErrorSignalReplacesTheMessage)
{
    Box b;
    QByteArray pcx(128, '\0');
    pcx[0] = 0x0A;
    pcx[1] = 5;
    pcx[2] = 1;
    kv::test::writeBytes(b.file("old.pcx"), pcx);
    QSignalSpy errors(b.box, &TPictureBox::imagingError);
    b.box->setImageName(b.file("old.pcx"));
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors[0][1].toString(), "This picture format can't be read on this system");
    EXPECT_TRUE(b.scenario.messages().texts().isEmpty());
}

TEST(TPictureBox, WindowsPathsGoThroughTheDriveMap)
{
    kv::test::Scenario scenario;
    auto& installation = scenario.createInstallation();
    const QString photos = scenario.tempPath("fotos");
    QDir().mkpath(photos);
    kv::test::colourBars().save(photos + "/A1001.bmp", "BMP");
    QFile aliases(installation.aliasFile());
    ASSERT_TRUE(aliases.open(QIODevice::Append));
    aliases.write(QStringLiteral("\n[drives]\nF: = %1\n").arg(photos).toUtf8());
    aliases.close();
    auto libs = kv::test::realLibraries(scenario.tempPath());
    TPictureBox box(nullptr, libs.get());
    box.setInstallation(std::make_shared<kv::install::Installation>(installation.root()));
    box.setImageName(QStringLiteral("F:\\A1001.Bmp"));
    EXPECT_TRUE(box.hasPicture());
    EXPECT_EQ(box.getImageName(), "F:\\A1001.Bmp");
}

TEST(TPictureBox, ZoomedViewIsDrawnFromTheSourceRectangle)
{
    Box b(QSize(200, 150));
    const QImage bars = kv::test::colourBars(100, 100);
    b.box->setPicture(&bars);
    b.box->setCenter(true);
    QImage shot = b.shot();
    EXPECT_EQ(shot.pixel(49, 75), QColor(Qt::gray).rgb()); // left of the centred picture
    EXPECT_EQ(shot.pixel(50, 75), qRgb(255, 0, 0));
    EXPECT_FALSE(b.box->horizontalBar()->isVisible());

    b.box->zoomOut(4.0); // enlarges: 400 x 400 in 200 x 150
    shot = b.shot();
    EXPECT_DOUBLE_EQ(b.box->zoom(), 4.0);
    EXPECT_TRUE(b.box->horizontalBar()->isVisible());
    EXPECT_EQ(b.box->horizontalBar()->maximum(), 400 - 200 + 12);
    EXPECT_EQ(b.box->verticalBar()->maximum(), 400 - 150 + 12);
    EXPECT_EQ(shot.pixel(5, 5), qRgb(255, 0, 0));

    b.box->horizontalBar()->setValue(b.box->horizontalBar()->maximum());
    EXPECT_EQ(b.box->viewOrigin().x(), 212 / 4);
    shot = b.shot();
    EXPECT_EQ(shot.pixel(180, 5), qRgb(255, 255, 255)); // the white bar on the right

    for (int i = 0; i < 10; ++i)
        b.box->zoomOut(4.0);
    EXPECT_LT(b.box->zoom(), 50.0);
    b.box->resetZoom();
    EXPECT_DOUBLE_EQ(b.box->zoom(), 1.0);
    EXPECT_EQ(b.box->viewOrigin(), QPoint());
}

TEST(TPictureBox, StretchRatioFitsAndResetZoomKeepsTheFit)
{
    Box b(QSize(200, 200));
    const QImage wide = kv::test::colourBars(1000, 500);
    b.box->setPicture(&wide);
    b.box->setStretchRatio(true);
    EXPECT_DOUBLE_EQ(b.box->zoom(), 0.2);
    b.box->resetZoom();
    EXPECT_DOUBLE_EQ(b.box->zoom(), 0.2);
    b.box->setStretch(true);
    EXPECT_FALSE(b.box->stretchRatio());
    const QImage shot = b.shot();
    EXPECT_EQ(shot.pixel(199, 199), qRgb(255, 255, 255)); // stretched over the whole control
}

TEST(TPictureBox, CaptionRepaintsOnlyOnChangeAndCastsItsShadow)
{
    Box b;
    QSignalSpy painted(b.box, &TPictureBox::painted);
    b.box->setText(QString());
    b.scenario.wait(20);
    EXPECT_EQ(painted.count(), 0);
    b.box->setCaptionFont(QFont(QStringLiteral("DejaVu Sans"), 20), Qt::yellow);
    b.box->setTextShadow(true);
    b.box->setTextShadowColor(Qt::black);
    b.box->setText(QStringLiteral("PÁGINA (01)"));
    b.scenario.wait(20);
    EXPECT_GT(painted.count(), 0);
    const QImage shot = b.shot();
    bool yellow = false, black = false;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 150; ++x) {
            yellow = yellow || shot.pixel(x, y) == qRgb(255, 255, 0);
            black = black || shot.pixel(x, y) == qRgb(0, 0, 0);
        }
    EXPECT_TRUE(yellow);
    EXPECT_TRUE(black);
}

TEST(TPictureBox, AutoSizeAndEmptyPicture)
{
    Box b(QSize(50, 50));
    b.box->setAutoSize(true);
    const QImage bars = kv::test::colourBars(64, 48);
    b.box->setPicture(&bars);
    EXPECT_EQ(b.box->size(), QSize(64, 48));
    QSignalSpy changed(b.box, &TPictureBox::pictureChanged);
    b.box->setPicture(nullptr);
    EXPECT_FALSE(b.box->hasPicture());
    EXPECT_EQ(changed.count(), 1);
}

TEST(TPictureBox, SaveAsBmpRoundTripAndFailures)
{
    Box b;
    const QImage bars = kv::test::colourBars();
    b.box->setPicture(&bars);
    const std::pair<SaveResolution, int> depths[] = {{SaveResolution::MonoChrome, 1},
                                                     {SaveResolution::Color16, 4},
                                                     {SaveResolution::Color256, 8},
                                                     {SaveResolution::ColorTrue, 24},
                                                     {SaveResolution::AutoMatic, 24}};
    for (auto [resolution, bits] : depths) {
        b.box->setImageWriteRes(resolution);
        const QString path = b.file(QStringLiteral("saved%1.bmp").arg(bits));
        ASSERT_TRUE(b.box->saveAsBmp(path));
        TPictureBox reader(nullptr, b.libs.get());
        reader.setImageName(path);
        EXPECT_EQ(reader.fileBits(), bits);
        EXPECT_EQ(reader.picture().size(), bars.size());
    }
    // Empty path: the last one again.
    QFile::remove(b.file("saved24.bmp"));
    ASSERT_TRUE(b.box->saveAsBmp(QString()));
    EXPECT_TRUE(QFile::exists(b.file("saved24.bmp")));

    // A failed write is reported and the stored picture survives it.
    const QString locked = b.file("locked");
    QDir().mkpath(locked);
    kv::test::writeBmp(locked + "/A1.bmp", bars, 24);
    const QByteArray before = [&] {
        QFile f(locked + "/A1.bmp");
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    QSignalSpy finished(b.box, &TPictureBox::finishedLoadSave);
    b.scenario.messages().clear();
    const bool saved = b.box->saveAsBmp(locked + "/A1.bmp");
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (::geteuid() != 0) { // root writes anywhere
        EXPECT_FALSE(saved);
        EXPECT_EQ(finished.count(), 0);
        EXPECT_TRUE(b.scenario.messages().lastText().startsWith("Não foi possível gravar a imagem"));
        QFile after(locked + "/A1.bmp");
        after.open(QIODevice::ReadOnly);
        EXPECT_EQ(after.readAll(), before);
    }
    // A path into a folder that does not exist fails the same way, for root too.
    b.scenario.messages().clear();
    EXPECT_FALSE(b.box->saveAsBmp(b.file("nowhere/A1.bmp")));
    EXPECT_TRUE(b.scenario.messages().lastText().startsWith("Não foi possível gravar a imagem"));

    // An empty control writes nothing, silently.
    b.box->setPicture(nullptr);
    b.scenario.messages().clear();
    EXPECT_FALSE(b.box->saveAsBmp(b.file("empty.bmp")));
    EXPECT_FALSE(QFile::exists(b.file("empty.bmp")));
    EXPECT_TRUE(b.scenario.messages().texts().isEmpty());
}

TEST(TPictureBox, ClipboardAndUndoHistory)
{
    Box b;
    UndoHistory::shared().clear();
    const QImage bars = kv::test::colourBars();
    b.box->setPicture(&bars);
    b.box->copyToClipboard();
    b.box->cutToClipboard();
    EXPECT_FALSE(b.box->hasPicture());
    EXPECT_EQ(UndoHistory::shared().count(), 1);
    b.box->pasteFromClipboard();
    ASSERT_TRUE(b.box->hasPicture());
    EXPECT_EQ(b.box->picture().size(), bars.size());
    QApplication::clipboard()->setText(QStringLiteral("só texto"));
    const int before = UndoHistory::shared().count();
    b.box->pasteFromClipboard();
    EXPECT_TRUE(b.box->hasPicture());
    EXPECT_EQ(UndoHistory::shared().count(), before);
}

TEST(TPictureBox, StoredOptionsTakeTheirDefaults)
{
    Box b;
    const std::tuple<int, int, int> quality[] = {{0, 25, 5}, {101, 25, 5}, {60, 60, 60}};
    for (auto [given, q, s] : quality) {
        b.box->setJPegSaveQuality(given);
        b.box->setJPegSaveSmooth(given);
        EXPECT_EQ(b.box->jpegSaveQuality(), q);
        EXPECT_EQ(b.box->jpegSaveSmooth(), s);
    }
}

TEST(TPictureBox, HorizontalMessageMovesOnTicks)
{
    Box b;
    kv::test::writeBytes(b.file("aviso.scm"), QByteArray());
    b.box->setImageName(b.file("aviso.scm"));
    ASSERT_TRUE(b.box->inMessageMode());
    const int start = b.box->messagePosition().x();
    EXPECT_EQ(start, b.box->width());
    b.box->horizontalMessageTick();
    EXPECT_EQ(b.box->messagePosition().x(), start);
    b.box->horizontalMessageTick();
    EXPECT_EQ(b.box->messagePosition().x(), start - 1);
    kv::test::colourBars().save(b.file("p.png"), "PNG");
    b.box->setImageName(b.file("p.png"));
    EXPECT_FALSE(b.box->inMessageMode());
    EXPECT_EQ(b.box->color(), QColor(Qt::gray));
}

TEST(TPictureBox, MissingImagingLibraryFailsTheFormWithItsText)
{
    kv::test::Scenario scenario;
    QTemporaryDir empty;
    qputenv("KAVORIMETAS_IMAGING_SETTINGS", empty.path().toUtf8());
    ImagingLibraries::Options options;
    options.programFolder = empty.path();
    ImagingLibraries libs(options);
    TPictureBox box(nullptr, &libs);
    EXPECT_FALSE(applyFormValues(box));
    EXPECT_EQ(box.getImageName(), "file not found");
    EXPECT_FALSE(box.hasPicture());
    EXPECT_EQ(scenario.messages().lastText(),
              "Can't load CRDE2001.DLL. Make sure its located in the application's searchpath.");
}

// SANE's "test" backend through a private configuration: no hardware and the
// system's configuration untouched.
class Scanning : public ::testing::Test {
protected:
    void SetUp() override
    {
        QDir().mkpath(b.file("sane"));
        kv::test::writeBytes(b.file("sane/dll.conf"), "test\n");
        // The test device's own settings: two devices, an 80 x 100 mm page at 50 dpi.
        kv::test::writeBytes(b.file("sane/test.conf"),
                             "number_of_devices 2\nresolution_min 1.0\nresolution_max 1200.0\n"
                             "resolution_quant 1.0\nresolution 50.0\ngeometry_min 0.0\ngeometry_max 200.0\n"
                             "geometry_quant 1.0\ntl_x 0.0\ntl_y 0.0\nbr_x 80.0\nbr_y 100.0\n");
        qputenv("SANE_CONFIG_DIR", b.file("sane").toUtf8());
    }
    void TearDown() override { qunsetenv("SANE_CONFIG_DIR"); }
    void option(const QString& key, const QString& value)
    {
        writeIniValue(twainSettingsFile(), QStringLiteral("Scanner Options"), key, value);
    }
    Box b;
};

TEST_F(Scanning, ColourAndGreyPagesKeepZoomAndName)
{
    option("test-picture", "Color pattern");
    kv::test::colourBars().save(b.file("p.png"), "PNG");
    b.box->setImageName(b.file("p.png"));
    b.box->zoomOut(2.0);
    struct Case {
        LoadResolution resolution;
        bool grey;
    };
    for (const Case& c : {Case{LoadResolution::ColorTrue, false}, Case{LoadResolution::Color256, true}}) {
        b.box->setImageReadRes(c.resolution);
        b.box->scanImage(nullptr);
        ASSERT_TRUE(b.box->hasPicture());
        EXPECT_EQ(b.box->picture().size(), QSize(157, 196)); // 80 x 100 mm at 50 dpi
        EXPECT_EQ(b.box->picture().isGrayscale(), c.grey);
        EXPECT_EQ(b.box->picture().format(), c.grey ? QImage::Format_Indexed8 : QImage::Format_RGB32);
        EXPECT_DOUBLE_EQ(b.box->zoom(), 2.0);
        EXPECT_EQ(b.box->getImageName(), b.file("p.png"));
    }
    EXPECT_TRUE(b.scenario.messages().texts().isEmpty());
}

TEST_F(Scanning, CancelledAndFailedScansEmptyTheControl)
{
    kv::test::colourBars().save(b.file("p.png"), "PNG");
    struct Case {
        const char* status;
        bool cancelByUser;
        const char* text;
    };
    const Case cases[] = {
        {"SANE_STATUS_CANCELLED", false, "Cancelled by the user"},
        {"SANE_STATUS_JAMMED", false, "The scanner reported an error"},
        {"Default", true, "Cancelled by the user"},
    };
    for (const Case& c : cases) {
        option("read-return-value", c.status);
        b.box->setImageName(b.file("p.png"));
        QSignalSpy errors(b.box, &TPictureBox::imagingError);
        QMetaObject::Connection cancel;
        if (c.cancelByUser)
            cancel = QObject::connect(b.box, &TPictureBox::progress,
                                      [](int percent, const QString&, bool* stop) { *stop = percent > 0; });
        b.box->scanImage(nullptr);
        QObject::disconnect(cancel);
        EXPECT_FALSE(b.box->hasPicture()) << c.status;
        ASSERT_EQ(errors.count(), 1) << c.status;
        EXPECT_EQ(errors[0][1].toString(), c.text) << c.status;
    }
}

TEST_F(Scanning, ChosenSourceIsKeptInTheSettingsFile)
{
    b.scenario.onDialog([](kv::test::FormDriver& dialog) {
        dialog.clickRow(QStringLiteral("Sources"), 1);
        dialog.clickButton(QStringLiteral("Select"));
    });
    EXPECT_TRUE(b.box->selectScanner(nullptr));
    EXPECT_EQ(iniValue(twainSettingsFile(), "Imaging Twain", "Source"), "test:1");
}

TEST(TPictureBox, DemoPicturesAreFoundThroughTheDriveMap)
{
    kv::test::Scenario scenario;
    kv::schema::InstallationOptions options;
    options.demo = true;
    auto& installation = scenario.createInstallation(options);
    const QDate today = QDate::currentDate();
    ASSERT_TRUE(kv::schema::DemoInstallation::moveToDate(installation, today));
    const QString folder =
        scenario
            .rows(scenario.invoicingDatabase(), QStringLiteral("SELECT PATHFOTO FROM PARGER WHERE ANO = :ANO"),
                  {{"ANO", QString::number(today.year())}})
            .value(0, QStringLiteral("PATHFOTO"))
            .toString()
            .trimmed();
    ASSERT_EQ(folder, "X:\\Fotos");
    auto libs = kv::test::realLibraries(scenario.tempPath());
    TPictureBox box(nullptr, libs.get());
    box.setInstallation(std::make_shared<kv::install::Installation>(installation.root()));
    for (int n = 1; n <= 4; ++n) {
        box.setImageName(folder + "\\PR-VIN06" + QString::number(n) + ".Bmp");
        EXPECT_TRUE(box.hasPicture()) << n;
        EXPECT_EQ(box.picture().size(), QSize(240, 180));
    }
    EXPECT_TRUE(scenario.messages().texts().isEmpty());
}
