#include "updater/core/TupCustomHTTP.h"

#include "updater/core/UpdaterUtils.h"

#include <QElapsedTimer>
#include <QFile>
#include <QHash>

#include <curl/curl.h>

#include <cmath>
#include <mutex>

namespace kv::updater {

namespace {

// Memory streams are pre-sized to the announced length, up to this much.
constexpr qint64 MaxPresize = 4 * 1024 * 1024;

void initCurl()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

} // namespace

// Everything one transfer reads and writes; the worker owns it until the
// completion step takes it on the main thread.
struct TupCustomHTTP::Transfer {
    // The settings as they were at StartGet.
    QString url, outputFileName, user, password, accept, agent, caFile;
    unsigned internetOptions = 0, cacheOptions = 0;
    int bufferSize = 4096;
    TupHTTPProxy proxy;
    TupOutputFileAttributes attributes;
    TransferTimeouts timeouts;
    bool wantsHeaders = false, wantsProgress = false, wantsAuth = false, wantsProxyAuth = false;

    int status = -1;
    QString contentType;
    qint64 contentLength = 0;
    bool lengthKnown = false;
    qint64 bytesRead = 0;
    QByteArray memory;
    bool useMemory = false;
    std::unique_ptr<QFile> file;
    bool outputFileOpen = false;
    bool outputFailed = false;
    bool keepGoing = true; // Continue
    bool success = false;
    QElapsedTimer clock;

    // HTTP response of the final request.
    QString rawHeaders;
    QHash<QByteArray, QByteArray> headers;
    bool headersDone = false;
    bool authPending = false;
    bool aborted = false;
    TupCustomThread* thread = nullptr;
    TupCustomHTTP* owner = nullptr;
    CURL* curl = nullptr;

    QString header(const char* name) const { return QString::fromLatin1(headers.value(name)); }
    bool stopRequested() const { return thread->IsTerminated(); }
    bool openOutput();
    bool write(const char* data, qint64 size);
    void progress();
    bool headersArrived();
    bool headerStep();
};

bool TupCustomHTTP::Transfer::openOutput()
{
    if ((status == 200 || status == 206) && !outputFileName.isEmpty()) {
        auto out = std::make_unique<QFile>(outputFileName);
        if (out->exists() && !(out->permissions() & QFileDevice::WriteOwner))
            out->setPermissions(out->permissions() | QFileDevice::WriteOwner);
        if (out->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
            file = std::move(out);
            outputFileOpen = true;
            return true;
        }
        outputFailed = true;
        // With a length announced the transfer ends without data; otherwise it
        // goes into memory and nothing is written.
        if (lengthKnown)
            return false;
    }
    useMemory = true;
    if (contentLength > 0)
        memory.reserve(qsizetype(std::min(contentLength, MaxPresize)));
    return true;
}

bool TupCustomHTTP::Transfer::write(const char* data, qint64 size)
{
    if (file) {
        if (file->write(data, size) != size)
            return false;
    } else {
        memory.append(data, qsizetype(size));
    }
    bytesRead += size;
    progress();
    return true;
}

void TupCustomHTTP::Transfer::progress()
{
    if (!wantsProgress)
        return;
    TupProgress p;
    p.ContentType = contentType;
    p.TotalSize = contentLength;
    p.BytesRead = bytesRead;
    p.PercentsDone = Percent(bytesRead, contentLength);
    p.ElapsedTime = clock.elapsed() / 1000;
    // Without an announced length there is nothing to estimate from.
    if (contentLength > 0 && bytesRead > 0)
        p.EstimatedTimeLeft =
            std::llround(double(contentLength) / double(bytesRead) * double(p.ElapsedTime)) - p.ElapsedTime;
    p.TransferRate = double(bytesRead) / 1024.0;
    if (p.ElapsedTime != 0)
        p.TransferRate /= double(p.ElapsedTime);
    // One event per block; the worker does not wait for each to be shown.
    TupCustomHTTP* component = owner;
    thread->Post([component, p] {
        if (component->OnTransferProgress)
            component->OnTransferProgress(p);
    });
}

// The final response's headers are in: its status, type and length; the
// header event, which may stop the transfer; then the output.
bool TupCustomHTTP::Transfer::headersArrived()
{
    headersDone = true;
    long code = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
    status = code > 0 ? int(code) : -1;
    if ((status == 401 && wantsAuth) || (status == 407 && wantsProxyAuth)) {
        authPending = true;
        return true;
    }
    return headerStep();
}

bool TupCustomHTTP::Transfer::headerStep()
{
    if (stopRequested())
        return false;
    contentType = header("content-type");
    lengthKnown = headers.contains("content-length");
    contentLength = lengthKnown ? header("content-length").trimmed().toLongLong() : 0;
    if (wantsHeaders) {
        TupHeaderInfo info;
        info.StatusCode = status;
        info.RawHeaders = rawHeaders;
        info.ContentType = contentType;
        info.ContentLanguage = header("content-language");
        info.ContentEncoding = header("content-encoding");
        info.ContentLength = contentLength;
        info.Location = header("location");
        info.ETag = header("etag");
        info.Date = ParseHTTPDate(header("date"));
        info.LastModified = ParseHTTPDate(header("last-modified"));
        info.Expires = ParseHTTPDate(header("expires"));
        TupCustomHTTP* component = owner;
        bool go = true;
        thread->Synchronize([component, &info, &go] {
            if (component->OnHeaderInfo)
                component->OnHeaderInfo(info, go);
        });
        keepGoing = go;
        if (!keepGoing)
            return false;
    }
    if (stopRequested())
        return false;
    bytesRead = 0;
    return openOutput();
}

namespace {

size_t onHeader(char* data, size_t size, size_t count, void* user)
{
    auto& t = *static_cast<TupCustomHTTP::Transfer*>(user);
    const QByteArray line(data, qsizetype(size * count));
    if (line.startsWith("HTTP/")) { // a new response: only the final one counts
        t.rawHeaders.clear();
        t.headers.clear();
    }
    t.rawHeaders += QString::fromLatin1(line);
    const int colon = int(line.indexOf(':'));
    if (colon > 0) {
        const QByteArray name = line.left(colon).trimmed().toLower();
        if (!t.headers.contains(name))
            t.headers.insert(name, line.mid(colon + 1).trimmed());
    }
    return size * count;
}

size_t onWrite(char* data, size_t size, size_t count, void* user)
{
    auto& t = *static_cast<TupCustomHTTP::Transfer*>(user);
    const size_t bytes = size * count;
    if (t.stopRequested())
        return 0;
    if (!t.headersDone && !t.headersArrived())
        return 0;
    if (t.authPending)
        return bytes; // the body of a challenge is not the file
    if (!t.write(data, qint64(bytes)))
        return 0;
    return bytes;
}

int onXfer(void* user, curl_off_t, curl_off_t, curl_off_t, curl_off_t)
{
    return static_cast<TupCustomHTTP::Transfer*>(user)->stopRequested() ? 1 : 0;
}

} // namespace

TupCustomHTTP::TupCustomHTTP() { initCurl(); }

TupCustomHTTP::~TupCustomHTTP() { stopEvents(); }

void TupCustomHTTP::stopEvents()
{
    m_thread.setOwnerDestroying();
    if (m_thread.IsExecuting())
        m_thread.Stop(true);
}

QString TupCustomHTTP::URLHostName() const { return kv::updater::URLHostName(URL); }

QString TupCustomHTTP::URLFileName() const { return kv::updater::URLFileName(URL); }

QString TupCustomHTTP::realmOf(const QString& value)
{
    const int pair = value.indexOf(QLatin1String("=\""));
    if (pair < 0)
        return value;
    const QString rest = value.mid(pair + 2);
    return rest.left(rest.size() - 1);
}

bool TupCustomHTTP::StartGet()
{
    if (m_busy)
        return false;
    m_busy = true;
    auto t = std::make_shared<Transfer>();
    t->url = WithScheme(URL);
    t->outputFileName = OutputFileName;
    t->user = HTTPUsername;
    t->password = HTTPPassword;
    t->accept = AcceptTypes;
    t->agent = UserAgent;
    t->caFile = CAFile;
    t->internetOptions = InternetOptions;
    t->cacheOptions = TransferCacheOptions;
    t->bufferSize = std::max(TransferBufferSize, 255);
    t->proxy = Proxy;
    t->attributes = OutputFileAttributes;
    t->timeouts = Timeouts;
    t->wantsHeaders = bool(OnHeaderInfo);
    t->wantsProgress = bool(OnTransferProgress);
    t->wantsAuth = bool(OnAuthorizationRequest);
    t->wantsProxyAuth = bool(OnProxyAuthenticationRequest);
    t->thread = &m_thread;
    t->owner = this;
    m_thread.SetOnExecute([this, t](TupCustomThread&) { work(t); });
    m_thread.SetOnTerminate([this, t](TupCustomThread&) { complete(t); });
    return m_thread.Start();
}

void TupCustomHTTP::AbortTransfer()
{
    if (m_thread.IsExecuting())
        m_thread.Stop(false);
}

void TupCustomHTTP::work(const std::shared_ptr<Transfer>& shared)
{
    Transfer& t = *shared;
    t.status = -1;
    t.keepGoing = true;
    t.clock.start();
    auto abort = [&] {
        // Handles closed, the file left as it is; no completion step.
        t.aborted = true;
        if (t.file)
            t.file->close();
        m_busy = false;
        if (TupEventThread* worker = TupCustomThread::currentWorker())
            worker->Kill();
    };

    auto cracked = CrackURL(t.url);
    if (!cracked)
        return; // no response from a URL that names nothing
    if (t.stopRequested())
        return abort();

    if (cracked->scheme.compare(QLatin1String("file"), Qt::CaseInsensitive) == 0) {
        QFile source(cracked->path);
        if (!source.open(QIODevice::ReadOnly)) {
            t.status = 404;
            return;
        }
        t.status = 200;
        t.contentLength = source.size();
        t.lengthKnown = true;
        if (t.stopRequested())
            return abort();
        if (!t.openOutput())
            return;
        QByteArray block(t.bufferSize, Qt::Uninitialized);
        for (;;) {
            if (t.stopRequested())
                return abort();
            const qint64 got = source.read(block.data(), block.size());
            if (got <= 0 || !t.write(block.constData(), got))
                break;
        }
        t.success = t.bytesRead == t.contentLength;
        return;
    }

    CURL* curl = curl_easy_init();
    if (!curl)
        return;
    t.curl = curl;
    const QByteArray url = t.url.toUtf8();
    curl_easy_setopt(curl, CURLOPT_URL, url.constData());
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    const QByteArray agent = t.agent.toUtf8();
    curl_easy_setopt(curl, CURLOPT_USERAGENT, agent.constData());
    curl_easy_setopt(curl, CURLOPT_BUFFERSIZE, long(std::clamp(t.bufferSize, 1024, 512 * 1024)));
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, onHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, onWrite);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &t);
    curl_easy_setopt(curl, CURLOPT_XFERINFOFUNCTION, onXfer);
    curl_easy_setopt(curl, CURLOPT_XFERINFODATA, &t);
    curl_easy_setopt(curl, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, t.timeouts.connectSeconds);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT, t.timeouts.totalSeconds);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, t.timeouts.lowSpeedBytesPerSecond);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, t.timeouts.lowSpeedSeconds);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, (t.internetOptions & ioNoAutoRedirect) ? 0L : 1L);
    curl_easy_setopt(curl, CURLOPT_FORBID_REUSE, (t.internetOptions & ioKeepConnection) ? 0L : 1L);
    if (!(t.internetOptions & ioNoCookies))
        curl_easy_setopt(curl, CURLOPT_COOKIEFILE, "");
    if (t.internetOptions & ioIgnoreCertificateInvalid)
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYHOST, 0L);
    if (t.internetOptions & ioIgnoreUnknownCertificateAuthority)
        curl_easy_setopt(curl, CURLOPT_SSL_VERIFYPEER, 0L);
    const QByteArray caFile = t.caFile.toUtf8();
    if (!caFile.isEmpty())
        curl_easy_setopt(curl, CURLOPT_CAINFO, caFile.constData());

    curl_slist* headers = nullptr;
    const QByteArray accept = "Accept: " + t.accept.toUtf8();
    headers = curl_slist_append(headers, accept.constData());
    if (t.cacheOptions & (coAlwaysReload | coPragmaNoCache)) {
        headers = curl_slist_append(headers, "Cache-Control: no-cache");
        headers = curl_slist_append(headers, "Pragma: no-cache");
    }
    curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers);

    const QByteArray proxy = t.proxy.ProxyServer.toUtf8() + ':' + QByteArray::number(t.proxy.ProxyPort);
    QByteArray bypass = t.proxy.ProxyBypass.toUtf8();
    bypass.replace(';', ',');
    if (t.proxy.accessType == TupHTTPProxy::atDirect) {
        curl_easy_setopt(curl, CURLOPT_PROXY, "");
    } else if (t.proxy.accessType == TupHTTPProxy::atUseProxy) {
        curl_easy_setopt(curl, CURLOPT_PROXY, proxy.constData());
        if (!bypass.isEmpty())
            curl_easy_setopt(curl, CURLOPT_NOPROXY, bypass.constData());
    }
    QByteArray proxyUser, proxyPassword;
    auto setProxyCredentials = [&] {
        proxyUser = t.proxy.ProxyUsername.toUtf8();
        proxyPassword = t.proxy.ProxyPassword.toUtf8();
        if (t.proxy.accessType != TupHTTPProxy::atDirect && !proxyUser.isEmpty() && !proxyPassword.isEmpty()) {
            curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, proxyUser.constData());
            curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, proxyPassword.constData());
        }
    };
    setProxyCredentials();

    QByteArray user, password;
    auto setCredentials = [&] {
        if (t.internetOptions & ioNoAuthentication)
            return;
        user = (cracked->user.isEmpty() ? t.user : cracked->user).toUtf8();
        password = (cracked->user.isEmpty() ? t.password : cracked->password).toUtf8();
        if (!user.isEmpty()) {
            curl_easy_setopt(curl, CURLOPT_HTTPAUTH, long(CURLAUTH_BASIC));
            curl_easy_setopt(curl, CURLOPT_USERNAME, user.constData());
            curl_easy_setopt(curl, CURLOPT_PASSWORD, password.constData());
        }
    };
    setCredentials();

    CURLcode result = CURLE_OK;
    for (;;) {
        if (t.stopRequested())
            break;
        t.headersDone = t.authPending = false;
        t.rawHeaders.clear();
        t.headers.clear();
        result = curl_easy_perform(curl);
        if (!t.headersDone && !t.stopRequested() && t.keepGoing) {
            long code = 0;
            curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &code);
            if (code > 0 && !t.headersArrived())
                break;
        }
        if (!t.authPending)
            break;
        bool tryAgain = false;
        TupCustomHTTP* component = this;
        if (t.status == 401) {
            const QString realm =
                t.headers.contains("www-authenticate") ? realmOf(t.header("www-authenticate")) : QString();
            t.thread->Synchronize([component, &realm, &tryAgain, &t] {
                if (component->OnAuthorizationRequest)
                    component->OnAuthorizationRequest(realm, tryAgain);
                t.user = component->HTTPUsername;
                t.password = component->HTTPPassword;
            });
            cracked->user.clear();
            setCredentials();
        } else {
            t.thread->Synchronize([component, &tryAgain, &t] {
                if (component->OnProxyAuthenticationRequest)
                    component->OnProxyAuthenticationRequest(t.proxy.ProxyUsername, t.proxy.ProxyPassword, tryAgain);
            });
            setProxyCredentials();
        }
        if (!tryAgain) {
            // The challenge stands as the answer.
            t.authPending = false;
            t.headerStep();
            break;
        }
    }
    curl_slist_free_all(headers);
    curl_easy_cleanup(curl);
    t.curl = nullptr;

    if (t.stopRequested())
        return abort();
    const bool readFailed = result != CURLE_OK && t.keepGoing;
    t.success = (t.status == 200 || t.status == 206) && !readFailed && !t.outputFailed;
    if (t.success && t.contentLength != 0)
        t.success = t.bytesRead == t.contentLength;
    if (t.outputFailed && t.lengthKnown)
        t.success = true; // nothing written; reported as a failed output, not a lost connection
}

void TupCustomHTTP::complete(const std::shared_ptr<Transfer>& shared)
{
    Transfer& t = *shared;
    if (t.aborted)
        return;
    if (t.file)
        t.file->close();
    m_busy = false;
    bool deleteOutput = false;
    if (t.keepGoing) {
        if (t.success && t.outputFailed) {
            if (OnOutputFailed)
                OnOutputFailed(t.outputFileName);
        } else if (t.success) {
            if (t.file && t.attributes.completeReadOnly)
                t.file->setPermissions(t.file->permissions() & ~QFileDevice::WriteOwner & ~QFileDevice::WriteUser
                                       & ~QFileDevice::WriteGroup & ~QFileDevice::WriteOther);
            if (OnDone)
                OnDone(t.contentType, t.memory, t.bytesRead);
        } else if (t.status == 200 || t.status == 206) {
            if (t.outputFailed && OnOutputFailed)
                OnOutputFailed(t.outputFileName);
            else if (OnConnectionLost)
                OnConnectionLost(t.contentType, t.bytesRead, t.contentLength);
        } else if (t.status == -1) {
            if (OnNoResponse)
                OnNoResponse();
        } else {
            deleteOutput = t.outputFileOpen;
            if (OnHTTPError)
                OnHTTPError(t.status);
        }
    }
    t.memory.clear();
    if (deleteOutput && t.file)
        t.file->remove();
    t.file.reset();
    if (!t.keepGoing && OnStopped)
        OnStopped();
}

} // namespace kv::updater
