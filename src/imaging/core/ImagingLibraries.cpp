#include "imaging/core/ImagingLibraries.h"

#include "imaging/dib/ImagingSettings.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

namespace kv::imaging {
namespace {

const QString kLibraryException = QStringLiteral(
    "An exception error occured in the imagelib dll. We recommend to exit the application and to restart it by "
    "clicking its icon!");

QByteArray native(const QString& path) { return QFile::encodeName(path); }

} // namespace

ImagingLibraries::Options ImagingLibraries::defaultOptions()
{
    Options options;
    if (QCoreApplication::instance()) {
        options.programFolder = QCoreApplication::applicationDirPath();
        options.appName = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    }
    options.libraryFolders = {QStringLiteral("/usr/local/lib"), QStringLiteral("/usr/lib/x86_64-linux-gnu"),
                              QStringLiteral("/usr/lib")};
    return options;
}

ImagingLibraries& ImagingLibraries::shared()
{
    static ImagingLibraries libraries;
    return libraries;
}

ImagingLibraries::ImagingLibraries(Options options) : m_options(std::move(options))
{
    QDir().mkpath(imagingSettingsFolder());
    writeIniValue(twainSettingsFile(), QStringLiteral("Imaging Twain"), QStringLiteral("App Name"),
                  m_options.appName.toLower());
}

ImagingLibraries::~ImagingLibraries()
{
    releaseImaging();
    if (m_effects)
        dlclose(m_effects);
    m_effects = nullptr;
    m_lastErrorText.clear();
    m_progressCaption.clear();
}

QString ImagingLibraries::libraryFileName(const QString& logicalName)
{
    QString base = logicalName;
    if (base.endsWith(QStringLiteral(".DLL"), Qt::CaseInsensitive))
        base.chop(4);
    return QStringLiteral("lib") + base + QStringLiteral(".so");
}

QString ImagingLibraries::loadErrorText(const QString& logicalName)
{
    return QStringLiteral("Can't load ") + logicalName
           + QStringLiteral(". Make sure its located in the application's searchpath.");
}

QString ImagingLibraries::procAddressErrorText(const QString& entry)
{
    return QStringLiteral("Error. Could not get a procaddress for ") + entry + QStringLiteral(". This could be")
           + QStringLiteral("related to a dll name or version missmatch of ") + QLatin1String(kImagingName);
}

QString ImagingLibraries::tiffCompressionName(std::int16_t code)
{
    switch (code) {
    case 1: return QStringLiteral("NONE");
    case 2: return QStringLiteral("CCITT3");
    case 3: return QStringLiteral("FAXCCITT3");
    case 4: return QStringLiteral("FAXCCITT4");
    case 5: return QStringLiteral("LZW");
    case -32763: return QStringLiteral("PACKBITS");
    default: return QStringLiteral("UNKNOWN");
    }
}

void ImagingLibraries::showMessage(const QString& text) const
{
    if (m_options.showMessage)
        m_options.showMessage(text);
}

// Beside the program, then the system's own search, then each folder of the
// list by file name, then the name found there without its extension.
void* ImagingLibraries::loadLibrary(const QString& logicalName, QString* foundPath)
{
    const QString fileName = libraryFileName(logicalName);
    auto open = [&](const QString& path) -> void* {
        // Kept mapped after release: the scanner backends a library started
        // live as long as the program.
        void* handle = dlopen(native(path).constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (handle && foundPath)
            *foundPath = path;
        return handle;
    };
    void* handle = nullptr;
    if (!m_options.programFolder.isEmpty())
        handle = open(QDir(m_options.programFolder).filePath(fileName));
    if (!handle)
        handle = open(fileName);
    QStringList folders;
    if (!m_options.programFolder.isEmpty())
        folders << m_options.programFolder;
    folders << m_options.libraryFolders;
    QString found;
    for (const QString& folder : folders) {
        if (handle)
            break;
        const QString candidate = QDir(folder).filePath(fileName);
        if (QFileInfo::exists(candidate)) {
            found = candidate;
            handle = open(candidate);
        }
    }
    if (!handle) {
        const QString bare = QFileInfo(fileName).completeBaseName();
        for (const QString& folder : folders) {
            const QString candidate = QDir(folder).filePath(bare);
            if (QFileInfo::exists(candidate) && (handle = open(candidate)))
                break;
        }
    }
    return handle;
}

void* ImagingLibraries::getImagingProc(const char* entry)
{
    if (!m_imaging) {
        m_imaging = loadLibrary(QLatin1String(kImagingName), &m_imagingPath);
        if (!m_imaging)
            throw ErrorInvalid(loadErrorText(QLatin1String(kImagingName)));
        if (!QFileInfo(m_imagingPath).fileName().contains(QStringLiteral("CRDE"))) {
            showMessage(QStringLiteral("Wrong dll Name in DLL96V1"));
            releaseImaging();
            return nullptr;
        }
    }
    return dlsym(m_imaging, entry);
}

void* ImagingLibraries::getEffectsProc(const char* entry)
{
    if (!m_effects) {
        m_effects = loadLibrary(QLatin1String(kEffectsName), nullptr);
        if (!m_effects) {
            showMessage(loadErrorText(QLatin1String(kEffectsName)));
            return nullptr;
        }
    }
    return dlsym(m_effects, entry);
}

void ImagingLibraries::releaseImaging()
{
    if (m_imaging)
        dlclose(m_imaging);
    m_imaging = nullptr;
    m_imagingPath.clear();
}

void ImagingLibraries::setImagingError(std::int16_t code)
{
    m_lastErrorCode = code;
    if (code == -1) {
        m_lastErrorText = QStringLiteral("Unknown error in imaging Dll");
        return;
    }
    m_lastErrorText.clear();
    if (!m_imaging)
        return;
    auto* load = reinterpret_cast<abi::LoadStringFn*>(dlsym(m_imaging, "crde_load_string"));
    if (!load)
        return;
    char buffer[256] = {};
    try {
        load(std::uint16_t(code), buffer, 256);
    } catch (...) {
        buffer[0] = '\0';
    }
    m_lastErrorText = QString::fromUtf8(buffer);
}

bool ImagingLibraries::checkImageFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw ErrorInvalid(QStringLiteral("Não é possível abrir o ficheiro \"%1\": %2.")
                               .arg(QDir::toNativeSeparators(path), file.errorString()));
    return file.size() >= 30;
}

template <class Call>
bool ImagingLibraries::guarded(Call&& call)
{
    try {
        call();
        return true;
    } catch (...) {
        showMessage(kLibraryException);
        return false;
    }
}

template <class Fn>
Fn* ImagingLibraries::annotationEntry(const char* name)
{
    auto* fn = imagingEntry<Fn>(name);
    if (!fn)
        throw ErrorInvalid(procAddressErrorText(QLatin1String(name)));
    return fn;
}

bool ImagingLibraries::fileInfo(const QString& path, FileInformation& info)
{
    auto* fn = imagingEntry<abi::FileInfoFn>("fileinfo");
    if (!fn)
        return false;
    if (!checkImageFile(path)) {
        // Too short to be a picture: the error says so instead of repeating
        // whatever failed last.
        setImagingError(abi::kCorruptPicture);
        return false;
    }
    char format[abi::kInfoTextSize] = {};
    char compression[abi::kInfoTextSize] = {};
    std::int32_t w = 0, h = 0, bits = 0, f1 = 0, f2 = 0;
    std::int16_t result = 0;
    const QByteArray file = native(path);
    if (!guarded([&] { result = fn(file.constData(), format, &w, &h, &bits, &f1, &f2, compression, 0); }))
        return false;
    if (result <= 0) {
        setImagingError(result);
        return false;
    }
    info.format = QString::fromLatin1(format);
    info.compression = QString::fromLatin1(compression);
    info.width = w;
    info.height = h;
    info.bits = bits;
    info.further1 = f1;
    info.further2 = f2;
    return true;
}

bool ImagingLibraries::tiffInfo(const QString& path, int page, FileInformation& info)
{
    auto* fn = imagingEntry<abi::GetInfoFn>("getinfo");
    if (!fn || !checkImageFile(path))
        return false;
    std::int32_t w = 0, h = 0, further = 0, pages = 0, bits = 0;
    std::int16_t compression = 0;
    std::int16_t result = -1;
    const QByteArray file = native(path);
    if (!guarded(
            [&] { result = fn(file.constData(), std::int16_t(page), &w, &h, &compression, &further, &pages, &bits); }))
        return false;
    if (result < 0)
        return false;
    info.width = w;
    info.height = h;
    info.bits = bits;
    info.pageCount = pages;
    info.compression = tiffCompressionName(compression);
    return true;
}

void ImagingLibraries::dxfInfo(const QString& path, FileInformation& info)
{
    auto* fn = imagingEntry<abi::GetDxfInfoFn>("getdxfinfo");
    if (!fn || !checkImageFile(path))
        return;
    std::int32_t w = 0, h = 0, bits = 0;
    const QByteArray file = native(path);
    if (guarded([&] { fn(file.constData(), &w, &h, &bits); })) {
        info.width = w;
        info.height = h;
        info.bits = bits;
    }
}

bool ImagingLibraries::readPicture(ReaderKind kind, const QString& path, int bits, bool dither, int page,
                                   DibHandle& out, void* control, abi::ProgressProc progress)
{
    out = nullptr;
    const char* entry = nullptr;
    switch (kind) {
    case ReaderKind::Bmp: entry = "rdbmpfiledib"; break;
    case ReaderKind::Png: entry = "rdpngfiledib"; break;
    case ReaderKind::Pcx: entry = "rdpcxfiledib"; break;
    case ReaderKind::Jpeg: entry = "rdjpgfiledib"; break;
    case ReaderKind::Gif: entry = "rdgiffiledib"; break;
    case ReaderKind::Tif: entry = "readtiffiledib"; break;
    case ReaderKind::Pcd: entry = "readpcdfiledib"; break;
    case ReaderKind::Tga: entry = "readtgafiledib"; break;
    case ReaderKind::Eps: entry = "readepsfiledib"; break;
    case ReaderKind::Dxf: entry = "readdxftoddb"; break;
    }
    void* proc = getImagingProc(entry);
    if (!proc)
        return false;
    if (!checkImageFile(path)) {
        // Too short to be a picture: the error says so instead of repeating
        // whatever failed last.
        setImagingError(abi::kCorruptPicture);
        return false;
    }
    m_progressCaption = QStringLiteral("Reading ") + path;
    const QByteArray file = native(path);
    const auto b = std::int16_t(bits);
    const auto d = std::int16_t(dither ? 1 : 0);
    std::int16_t result = 0;
    const bool called = guarded([&] {
        switch (kind) {
        case ReaderKind::Bmp:
        case ReaderKind::Png:
        case ReaderKind::Pcx:
            result =
                reinterpret_cast<abi::ReaderFn*>(proc)(file.constData(), b, d, &out, nullptr, control, progress, 0);
            break;
        case ReaderKind::Jpeg:
            result = reinterpret_cast<abi::JpegReaderFn*>(proc)(file.constData(), b, 1, d, &out, nullptr, control,
                                                                progress, 0);
            break;
        case ReaderKind::Gif: {
            std::int32_t further = 0;
            result = reinterpret_cast<abi::GifReaderFn*>(proc)(file.constData(), b, d, &out, nullptr, control, progress,
                                                               0, &further);
            break;
        }
        case ReaderKind::Tif:
        case ReaderKind::Pcd:
            result = reinterpret_cast<abi::PagedReaderFn*>(proc)(file.constData(), b, d, std::int16_t(page), &out,
                                                                 control, progress, 0);
            break;
        case ReaderKind::Tga:
        case ReaderKind::Eps:
            result = reinterpret_cast<abi::PlainReaderFn*>(proc)(file.constData(), b, d, &out, control, progress, 0);
            break;
        case ReaderKind::Dxf: {
            void* palette = nullptr;
            result =
                reinterpret_cast<abi::DxfReaderFn*>(proc)(file.constData(), b, d, &out, &palette, control, progress, 0);
            break;
        }
        }
    });
    if (!called) {
        dibFree(out);
        out = nullptr;
        return false;
    }
    if (result > 0 && out)
        return true;
    dibFree(out);
    out = nullptr;
    setImagingError(result > 0 ? std::int16_t(abi::kUnknownError) : result);
    if (kind == ReaderKind::Jpeg)
        releaseImaging();
    return false;
}

bool ImagingLibraries::writeBmp(const QString& path, int bits, DibHandle dib, void* control, abi::ProgressProc progress)
{
    auto* fn = imagingEntry<abi::WriteBmpFn>("wrbmpfiledib");
    if (!fn)
        return false;
    m_progressCaption = QStringLiteral("Writing ") + path;
    std::int16_t result = 0;
    const QByteArray file = native(path);
    if (!guarded([&] { result = fn(file.constData(), std::int16_t(bits), dib, control, progress, 0); }))
        return false;
    if (result > 0)
        return true;
    setImagingError(result);
    return false;
}

bool ImagingLibraries::acquire(void* parentWindow, int bits, bool dither, DibHandle& out, void* control,
                               abi::ProgressProc progress)
{
    out = nullptr;
    if (m_twainBusy)
        return false;
    auto* fn = imagingEntry<abi::AcquireFn>("aquiredibimage");
    if (!fn)
        return false;
    m_progressCaption = QStringLiteral("Aquiring Image ");
    std::int16_t result = 0;
    m_twainBusy = true;
    const bool called = guarded([&] {
        result =
            fn(parentWindow, std::int16_t(bits), std::int16_t(dither ? 1 : 0), 0, &out, nullptr, control, progress, 0);
    });
    m_twainBusy = false;
    if (!called) {
        dibFree(out);
        out = nullptr;
        return false;
    }
    if (result >= 0 && out)
        return true;
    dibFree(out);
    out = nullptr;
    setImagingError(result >= 0 ? std::int16_t(abi::kUnknownError) : result);
    return false;
}

bool ImagingLibraries::selectSource(void* parentWindow)
{
    if (m_twainBusy)
        return false;
    auto* fn = imagingEntry<abi::SelectSourceFn>("selectsource");
    if (!fn)
        return false;
    std::int16_t result = -1;
    m_twainBusy = true;
    const bool called = guarded([&] { result = fn(parentWindow, 0); });
    m_twainBusy = false;
    if (!called)
        return false;
    if (result >= 0)
        return true;
    setImagingError(result);
    return false;
}

DibHandle ImagingLibraries::convertDepth(const char* entry, DibHandle dib)
{
    auto* fn = imagingEntry<abi::DepthFn>(entry);
    if (!fn)
        return nullptr;
    DibHandle result = nullptr;
    if (!guarded([&] { result = fn(dib); }))
        return nullptr;
    return result;
}

DibHandle ImagingLibraries::dibToDdb(unsigned char* lockedDib)
{
    auto* fn = imagingEntry<abi::DibToDdbFn>("DibtoDdb");
    if (!fn)
        return nullptr;
    DibHandle bitmap = nullptr;
    void* palette = nullptr;
    if (!guarded([&] { fn(lockedDib, &bitmap, &palette); }))
        return nullptr;
    return bitmap;
}

DibHandle ImagingLibraries::reduceDib(DibHandle dib, int bits, bool dither, void* control, abi::ProgressProc progress)
{
    auto* fn = reinterpret_cast<abi::ReduceDibFn*>(getEffectsProc("ReduceDib"));
    if (!fn)
        return nullptr;
    m_progressCaption = QStringLiteral("Reducing colors ");
    DibHandle result = nullptr;
    if (!guarded(
            [&] { result = fn(dib, std::int16_t(bits), std::int16_t(dither ? 1 : 0), 0, 0, 0, control, progress); }))
        return nullptr;
    return result;
}

bool ImagingLibraries::runTransition(const char* entry, abi::FxCanvas& canvas, int thickness, int delay)
{
    void* proc = getEffectsProc(entry);
    if (!proc)
        return false;
    m_progressCaption = QStringLiteral("Transition Image ");
    std::int16_t result = 0;
    const bool rectangles = qstrcmp(entry, "FXSkipRectangles") == 0;
    if (!guarded([&] {
            result = rectangles ? reinterpret_cast<abi::FxRectanglesFn*>(proc)(&canvas, nullptr, delay)
                                : reinterpret_cast<abi::FxBandsFn*>(proc)(&canvas, nullptr, thickness, delay);
        }))
        return false;
    return result != 0;
}

void ImagingLibraries::initAnnotation(void* control, void* window, abi::AnnoDoneProc done, abi::AnnoDrawProc draw,
                                      abi::AnnoDrawProc hardDraw, abi::AnnoBeforeDrawProc before,
                                      abi::AnnoAfterDrawProc after)
{
    auto* fn = annotationEntry<abi::InitAnnotationFn>("InitAnnotation");
    const QByteArray ini = native(annotationSettingsFile());
    guarded([&] { fn(control, window, control, done, draw, hardDraw, before, after, ini.constData()); });
}

void ImagingLibraries::annotationCall(const char* entry, void* control)
{
    auto* fn = annotationEntry<abi::ControlFn>(entry);
    guarded([&] { fn(control); });
}

void ImagingLibraries::drawAnnotation(void* control, double zoom, int originX, int originY, int offsetX, int offsetY,
                                      int scrollbarWidth)
{
    auto* fn = annotationEntry<abi::DrawAnnotationFn>("DrawAnnotation");
    guarded([&] { fn(control, zoom, originX, originY, offsetX, offsetY, scrollbarWidth, 0); });
}

void ImagingLibraries::menuMsg(void* control, int command)
{
    auto* fn = annotationEntry<abi::MenuMsgFn>("MenuMsg");
    guarded([&] { fn(control, command); });
}

int ImagingLibraries::annotationFile(const char* entry, void* control, int page, const QString& path)
{
    auto* fn = annotationEntry<abi::AnnotationFileFn>(entry);
    const QByteArray file = native(path);
    std::int32_t result = 0;
    guarded([&] { result = fn(control, std::int16_t(page), file.constData()); });
    return result;
}

void ImagingLibraries::mouseMon(void* control, unsigned message, int x, int y)
{
    auto* fn = annotationEntry<abi::MouseMonFn>("MouseMon");
    const auto point = std::int32_t((std::uint32_t(std::uint16_t(y)) << 16) | std::uint16_t(x));
    guarded([&] { fn(control, message, 0, point); });
}

} // namespace kv::imaging
