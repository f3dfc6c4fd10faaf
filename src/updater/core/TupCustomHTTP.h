#pragma once

#include "updater/core/TupCustomThread.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>

namespace kv::updater {

enum TupInternetOption : unsigned {
    ioIgnoreCertificateInvalid = 1u << 0,
    ioIgnoreCertificateDateInvalid = 1u << 1,
    ioIgnoreUnknownCertificateAuthority = 1u << 2,
    ioIgnoreRedirectToHTTP = 1u << 3,
    ioIgnoreRedirectToHTTPS = 1u << 4,
    ioKeepConnection = 1u << 5,
    ioNoAuthentication = 1u << 6,
    ioNoAutoRedirect = 1u << 7,
    ioNoCookies = 1u << 8,
};

// Without a cache of our own only the "fetch it anew" options mean something:
// they send no-cache headers.
enum TupCacheOption : unsigned {
    coAlwaysReload = 1u << 0,
    coReloadIfNoExpireInformation = 1u << 1,
    coReloadUpdatedObjects = 1u << 2,
    coPragmaNoCache = 1u << 3,
    coNoCacheWrite = 1u << 4,
    coCreateTempFilesIfCantCache = 1u << 5,
    coUseCacheIfNetFail = 1u << 6,
};

struct TupHTTPProxy {
    enum AccessType { atPreconfig, atDirect, atUseProxy };
    AccessType accessType = atPreconfig; // the environment's proxy settings
    int ProxyPort = 8080;
    QString ProxyServer;
    QString ProxyBypass = QStringLiteral("127.0.0.1;");
    QString ProxyUsername, ProxyPassword;
};

// Of the file attributes only read-only means something here: a complete
// output file may be marked read-only; one found read-only is made writable.
struct TupOutputFileAttributes {
    bool completeReadOnly = false;
};

// How long a transfer may hang: the connection and, for small files, the
// whole transfer; large files instead fail when slower than the floor.
struct TransferTimeouts {
    long connectSeconds = 10;
    long totalSeconds = 0; // 0: no limit
    long lowSpeedBytesPerSecond = 1024;
    long lowSpeedSeconds = 20;
};

struct TupHeaderInfo {
    int StatusCode = -1;
    QString RawHeaders, ContentType, ContentLanguage, ContentEncoding, Location, ETag;
    qint64 ContentLength = 0;
    QDateTime Date, LastModified, Expires;
};

struct TupProgress {
    QString ContentType;
    qint64 TotalSize = 0;
    qint64 BytesRead = 0;
    qint64 ElapsedTime = 0; // seconds
    qint64 EstimatedTimeLeft = -1; // seconds; -1 while unknown
    int PercentsDone = 0;
    double TransferRate = -1; // kilobytes per second
};

// Server credentials offered when the URL carries none.
class TupLoginComponent {
public:
    QString HTTPUsername;
    QString HTTPPassword;
};

// Fetches one URL at a time (HTTP through libcurl, "file" URLs by its own
// reading) on a worker thread, into memory or a file, and reports headers,
// progress, success and each kind of failure as events on the main thread.
class TupCustomHTTP : public TupLoginComponent {
public:
    TupCustomHTTP();
    virtual ~TupCustomHTTP();
    TupCustomHTTP(const TupCustomHTTP&) = delete;
    TupCustomHTTP& operator=(const TupCustomHTTP&) = delete;

    // Settings, read by the worker when a transfer starts.
    QString URL;
    QString OutputFileName; // empty: the data are kept in memory
    unsigned InternetOptions = ioKeepConnection;
    unsigned TransferCacheOptions =
        coReloadIfNoExpireInformation | coReloadUpdatedObjects | coCreateTempFilesIfCantCache;
    int TransferBufferSize = 4096;
    TupHTTPProxy Proxy;
    TupOutputFileAttributes OutputFileAttributes;
    QString AcceptTypes = QStringLiteral("text/html, */*");
    QString UserAgent = QStringLiteral("Palvexworks updater");
    QString CAFile; // a private server's certificate authority
    TransferTimeouts Timeouts;

    int ThreadPriority() const { return m_thread.Priority(); }
    void SetThreadPriority(int index) { m_thread.SetPriority(index); }

    // Events, on the main thread.
    std::function<void(const TupHeaderInfo&, bool& Continue)> OnHeaderInfo;
    std::function<void(const QString& ContentType, const QByteArray& Data, qint64 Size)> OnDone;
    std::function<void()> OnStopped;
    std::function<void(const TupProgress&)> OnTransferProgress;
    std::function<void(const QString& ContentType, qint64 BytesRead, qint64 ContentLength)> OnConnectionLost;
    std::function<void()> OnNoResponse;
    std::function<void(int StatusCode)> OnHTTPError;
    std::function<void(const QString& Realm, bool& TryAgain)> OnAuthorizationRequest;
    std::function<void(QString& ProxyUsername, QString& ProxyPassword, bool& TryAgain)> OnProxyAuthenticationRequest;
    // The output file could not be created: nothing was written.
    std::function<void(const QString& FileName)> OnOutputFailed;

    // False when a transfer is already under way.
    bool StartGet();
    // Asks the running worker to stop at its next check point: no events follow.
    void AbortTransfer();
    bool TransferRunning() const { return m_thread.IsExecuting(); }
    bool Busy() const { return m_busy; }

    QString URLHostName() const;
    QString URLFileName() const;

    // The whole realm rule: the text after the first '="', less its last
    // character; the whole value when it has no such pair.
    static QString realmOf(const QString& wwwAuthenticate);

protected:
    // Called by a descendant's destructor first, so no event reaches a half-destroyed object.
    void stopEvents();

public:
    // One transfer's state, shared by the worker and the completion step.
    struct Transfer;

private:
    void work(const std::shared_ptr<Transfer>& transfer);
    void complete(const std::shared_ptr<Transfer>& transfer);

    TupCustomThread m_thread;
    std::atomic<bool> m_busy{false};
};

} // namespace kv::updater
