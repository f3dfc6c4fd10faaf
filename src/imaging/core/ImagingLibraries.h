#pragma once

#include "imaging/dib/DibBlock.h"
#include "imaging/dib/ImagingEntryPoints.h"
#include "imaging/dib/TImgDib.h"

#include <QString>
#include <QStringList>
#include <functional>

namespace kv::imaging {

// The kind of reader an extension or a reported format asks for.
enum class ReaderKind { Bmp, Png, Gif, Tif, Tga, Pcx, Eps, Pcd, Dxf, Jpeg };

// File information as the imaging library reports it.
struct FileInformation {
    QString format;
    QString compression;
    int width = 0;
    int height = 0;
    int bits = 0;
    int further1 = 0;
    int further2 = 0;
    int pageCount = 0;
};

// The binding to the two imaging libraries, loaded by name the first time an
// entry point is needed and kept loaded; every entry point is looked up at
// each call. One per running program (shared()); tests build their own with
// other folders. Its texts are the libraries' own, in English.
class ImagingLibraries {
public:
    struct Options {
        QString programFolder; // the running program's folder
        QStringList libraryFolders; // searched after the system's own search
        std::function<void(const QString&)> showMessage; // message boxes of the binding
        QString appName; // the program's name, for the scanner settings
    };

    static constexpr const char* kImagingName = "CRDE2001.DLL";
    static constexpr const char* kEffectsName = "ISP2000.DLL";

    // Program start: writes the program's name into "imgtwain.ini".
    explicit ImagingLibraries(Options options = defaultOptions());
    ~ImagingLibraries(); // program end: releases both libraries
    ImagingLibraries(const ImagingLibraries&) = delete;
    ImagingLibraries& operator=(const ImagingLibraries&) = delete;

    static Options defaultOptions();
    static ImagingLibraries& shared();
    void setMessageSink(std::function<void(const QString&)> sink) { m_options.showMessage = std::move(sink); }

    // The Linux file of a library's logical name ("CRDE2001.DLL" -> "libCRDE2001.so").
    static QString libraryFileName(const QString& logicalName);

    // Loads the imaging library when needed and looks the entry up: nullptr
    // when the library lacks it. Throws ErrorInvalid when it cannot be loaded.
    void* getImagingProc(const char* entry);
    // The same for the effects library; a load failure is shown and answers nullptr.
    void* getEffectsProc(const char* entry);
    bool imagingLoaded() const { return m_imaging != nullptr; }
    QString imagingPath() const { return m_imagingPath; }

    void setImagingError(std::int16_t code);
    std::int16_t lastErrorCode() const { return m_lastErrorCode; }
    QString lastErrorText() const { return m_lastErrorText; }
    QString progressCaption() const { return m_progressCaption; }
    void setProgressCaption(const QString& caption) { m_progressCaption = caption; }
    bool twainBusy() const { return m_twainBusy; }
    QString appName() const { return m_options.appName; }

    // At least 30 bytes. A file that cannot be opened throws ErrorInvalid
    // with the reason, in Portuguese as the system's own file errors.
    static bool checkImageFile(const QString& path);
    static QString procAddressErrorText(const QString& entry);
    static QString tiffCompressionName(std::int16_t code);
    static QString loadErrorText(const QString& logicalName);

    // Entry points (false or nullptr on failure, with the error recorded).
    bool fileInfo(const QString& path, FileInformation& info);
    bool tiffInfo(const QString& path, int page, FileInformation& info);
    void dxfInfo(const QString& path, FileInformation& info);
    bool readPicture(ReaderKind kind, const QString& path, int bits, bool dither, int page, DibHandle& out,
                     void* control, abi::ProgressProc progress);
    bool writeBmp(const QString& path, int bits, DibHandle dib, void* control, abi::ProgressProc progress);
    bool acquire(void* parentWindow, int bits, bool dither, DibHandle& out, void* control, abi::ProgressProc progress);
    bool selectSource(void* parentWindow);
    DibHandle convertDepth(const char* entry, DibHandle dib);
    DibHandle dibToDdb(unsigned char* lockedDib);
    DibHandle reduceDib(DibHandle dib, int bits, bool dither, void* control, abi::ProgressProc progress);
    bool runTransition(const char* entry, abi::FxCanvas& canvas, int thickness, int delay);

    // Annotation calls: a missing entry point throws ErrorInvalid with
    // procAddressErrorText.
    void initAnnotation(void* control, void* window, abi::AnnoDoneProc done, abi::AnnoDrawProc draw,
                        abi::AnnoDrawProc hardDraw, abi::AnnoBeforeDrawProc before, abi::AnnoAfterDrawProc after);
    void annotationCall(const char* entry, void* control); // Destroy/Clear Annotation, RubberBandOFF
    void drawAnnotation(void* control, double zoom, int originX, int originY, int offsetX, int offsetY,
                        int scrollbarWidth);
    void menuMsg(void* control, int command);
    int annotationFile(const char* entry, void* control, int page, const QString& path);
    void mouseMon(void* control, unsigned message, int x, int y);

private:
    void* loadLibrary(const QString& logicalName, QString* foundPath);
    void releaseImaging();
    void showMessage(const QString& text) const;
    template <class Fn>
    Fn* imagingEntry(const char* name)
    {
        return reinterpret_cast<Fn*>(getImagingProc(name));
    }
    template <class Fn>
    Fn* annotationEntry(const char* name);
    // Runs a library call; an exception inside it gives the library message.
    template <class Call>
    bool guarded(Call&& call);

    Options m_options;
    void* m_imaging = nullptr;
    void* m_effects = nullptr;
    QString m_imagingPath;
    std::int16_t m_lastErrorCode = 0;
    QString m_lastErrorText;
    QString m_progressCaption;
    bool m_twainBusy = false;
};

} // namespace kv::imaging
