#include "imaging/core/ImagingLibraries.h"
#include "imaging/dib/ImagingSettings.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <dlfcn.h>
#include <gtest/gtest.h>

using namespace kv::imaging;

namespace {

const QString kFakeDir = QStringLiteral(KV_FAKE_LIBRARY_DIR);

struct Binding {
    QTemporaryDir settings;
    QStringList shown;
    std::unique_ptr<ImagingLibraries> libs;

    explicit Binding(const QString& programFolder, const QStringList& folders = {})
    {
        qputenv("KAVORIMETAS_IMAGING_SETTINGS", settings.path().toUtf8());
        ImagingLibraries::Options options;
        options.programFolder = programFolder;
        options.libraryFolders = folders;
        options.appName = QStringLiteral("Kavorimetas");
        options.showMessage = [this](const QString& text) { shown << text; };
        libs = std::make_unique<ImagingLibraries>(options);
    }

    template <class Fn>
    Fn* fake(const char* name)
    {
        libs->getImagingProc("fileinfo");
        void* handle = dlopen(QFile::encodeName(libs->imagingPath()).constData(), RTLD_NOW | RTLD_NOLOAD);
        void* symbol = handle ? dlsym(handle, name) : nullptr;
        if (handle)
            dlclose(handle);
        return reinterpret_cast<Fn*>(symbol);
    }
};

QString writeFile(const QTemporaryDir& dir, const QString& name, int size)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write(QByteArray(size, 'x'));
    return path;
}

} // namespace

TEST(ImagingBinding, FindsTheLibraryInEachSearchedPlace)
{
    QTemporaryDir bare;
    QFile::copy(kFakeDir + "/libCRDE2001.so", bare.filePath("libCRDE2001"));
    struct Case {
        const char* name;
        QString program;
        QStringList folders;
        QString expected;
    };
    const Case cases[] = {
        {"program folder first", kFakeDir, {bare.path()}, kFakeDir + "/libCRDE2001.so"},
        {"a library folder", QString(), {bare.path(), kFakeDir}, kFakeDir + "/libCRDE2001.so"},
        {"name without its extension", QString(), {bare.path()}, bare.filePath("libCRDE2001")},
    };
    for (const Case& c : cases) {
        Binding binding(c.program, c.folders);
        EXPECT_NE(binding.libs->getImagingProc("fileinfo"), nullptr) << c.name;
        EXPECT_EQ(binding.libs->imagingPath(), c.expected) << c.name;
    }
}

TEST(ImagingBinding, MissingLibraryGivesTheLoadText)
{
    QTemporaryDir empty;
    Binding binding(empty.path(), {empty.path()});
    try {
        binding.libs->getImagingProc("fileinfo");
        FAIL();
    } catch (const ErrorInvalid& error) {
        EXPECT_EQ(error.text(), "Can't load CRDE2001.DLL. Make sure its located in the application's searchpath.");
    }
    EXPECT_EQ(binding.libs->getEffectsProc("ReduceDib"), nullptr);
    EXPECT_EQ(binding.shown,
              QStringList("Can't load ISP2000.DLL. Make sure its located in the application's searchpath."));
}

TEST(ImagingBinding, RefusesFilesUnderThirtyBytes)
{
    Binding binding(kFakeDir);
    QTemporaryDir dir;
    auto* setResult = binding.fake<void(std::int16_t)>("fake_set_result");
    auto* calls = binding.fake<int()>("fake_calls");
    ASSERT_TRUE(setResult && calls);
    setResult(1);
    const int before = calls();
    DibHandle out = nullptr;
    EXPECT_FALSE(
        binding.libs->readPicture(ReaderKind::Bmp, writeFile(dir, "a.bmp", 29), 24, false, 0, out, nullptr, nullptr));
    EXPECT_EQ(calls(), before);
    EXPECT_TRUE(
        binding.libs->readPicture(ReaderKind::Bmp, writeFile(dir, "b.bmp", 30), 24, false, 0, out, nullptr, nullptr));
    EXPECT_EQ(calls(), before + 1);
    dibFree(out);
    EXPECT_THROW(ImagingLibraries::checkImageFile(dir.filePath("none.bmp")), ErrorInvalid);
}

TEST(ImagingBinding, ErrorCodesReadTheLibrarysTexts)
{
    Binding binding(kFakeDir);
    binding.libs->getImagingProc("fileinfo");
    const std::pair<std::int16_t, QString> cases[] = {
        {-1, "Unknown error in imaging Dll"}, {-5, "resource 65531"}, {-7, "resource 65529"}};
    for (const auto& [code, text] : cases) {
        binding.libs->setImagingError(code);
        EXPECT_EQ(binding.libs->lastErrorCode(), code);
        EXPECT_EQ(binding.libs->lastErrorText(), text);
    }
}

TEST(ImagingBinding, OnlyAFailedJpegReadReleasesTheLibrary)
{
    Binding binding(kFakeDir);
    QTemporaryDir dir;
    const QString file = writeFile(dir, "p.jpg", 40);
    binding.fake<void(std::int16_t)>("fake_set_result")(-4);
    DibHandle out = nullptr;
    EXPECT_FALSE(binding.libs->readPicture(ReaderKind::Bmp, file, 24, false, 0, out, nullptr, nullptr));
    EXPECT_TRUE(binding.libs->imagingLoaded());
    EXPECT_FALSE(binding.libs->readPicture(ReaderKind::Jpeg, file, 24, false, 0, out, nullptr, nullptr));
    EXPECT_FALSE(binding.libs->imagingLoaded());
    EXPECT_EQ(binding.libs->lastErrorText(), "resource 65532"); // read before the release
    binding.libs->getImagingProc("fileinfo");
    EXPECT_TRUE(binding.libs->imagingLoaded());
}

TEST(ImagingBinding, AnExceptionInsideTheLibraryIsCaughtThere)
{
    Binding binding(kFakeDir);
    QTemporaryDir dir;
    binding.fake<void(bool)>("fake_set_throw")(true);
    DibHandle out = nullptr;
    EXPECT_FALSE(
        binding.libs->readPicture(ReaderKind::Bmp, writeFile(dir, "p.bmp", 40), 24, false, 0, out, nullptr, nullptr));
    ASSERT_EQ(binding.shown.size(), 1);
    EXPECT_TRUE(binding.shown[0].startsWith("An exception error occured in the imagelib dll."));
    EXPECT_FALSE(binding.libs->twainBusy());
    EXPECT_FALSE(binding.libs->acquire(nullptr, 24, false, out, nullptr, nullptr));
    EXPECT_FALSE(binding.libs->twainBusy()); // cleared also when the library raised
    binding.fake<void(bool)>("fake_set_throw")(false);
}

namespace {
ImagingLibraries* g_reentered = nullptr;
bool g_secondAnswer = true;
} // namespace

TEST(ImagingBinding, ASecondAcquisitionIsRefusedWhileOneRuns)
{
    Binding binding(kFakeDir);
    g_reentered = binding.libs.get();
    binding.fake<void(std::int16_t)>("fake_set_result")(1);
    binding.fake<void(void (*)())>("fake_set_reentry")([] {
        DibHandle inner = nullptr;
        g_secondAnswer = g_reentered->acquire(nullptr, 24, false, inner, nullptr, nullptr);
    });
    DibHandle out = nullptr;
    EXPECT_TRUE(binding.libs->acquire(nullptr, 24, false, out, nullptr, nullptr));
    EXPECT_FALSE(g_secondAnswer);
    dibFree(out);
    binding.fake<void(void (*)())>("fake_set_reentry")(nullptr);
}

TEST(ImagingBinding, NamesAMissingAnnotationEntry)
{
    Binding binding(kFakeDir);
    try {
        binding.libs->mouseMon(nullptr, 0x200, 1, 2);
        FAIL();
    } catch (const ErrorInvalid& error) {
        EXPECT_EQ(error.text(), "Error. Could not get a procaddress for MouseMon. This could berelated to a dll "
                                "name or version missmatch of CRDE2001.DLL");
    }
}

TEST(ImagingBinding, TiffCompressionNamesAndProgramName)
{
    const std::pair<std::int16_t, const char*> cases[] = {{1, "NONE"},      {2, "CCITT3"}, {3, "FAXCCITT3"},
                                                          {4, "FAXCCITT4"}, {5, "LZW"},    {-32763, "PACKBITS"},
                                                          {6, "UNKNOWN"}};
    for (auto [code, name] : cases)
        EXPECT_EQ(ImagingLibraries::tiffCompressionName(code), name) << code;
    Binding binding(kFakeDir);
    EXPECT_EQ(iniValue(twainSettingsFile(), "Imaging Twain", "App Name"), "kavorimetas");
    QFile ini(twainSettingsFile());
    ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
    EXPECT_TRUE(ini.readAll().contains("[Imaging Twain]\nApp Name=kavorimetas"));
}
