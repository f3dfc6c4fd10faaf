#include "updater/core/TupAutoUpdater.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QSaveFile>

#include <ifaddrs.h>
#include <netinet/in.h>

namespace kv::updater {

namespace {

// Not in the updater's own table: the installation program did not start.
QString helperFailedText(const UpdaterMessages& messages)
{
    return messages.language() == UpdaterMessages::Portuguese
                   || messages.language() == UpdaterMessages::PortugueseBrazilian
               ? QStringLiteral("Não foi possível iniciar o programa de instalação da actualização.\n\n"
                                "A actualização foi interrompida.")
               : QStringLiteral("The update installation program could not be started.\n\n"
                                "The upgrade was aborted.");
}

QString folderOf(const QString& file)
{
    QString folder = QFileInfo(file).absolutePath();
    return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
}

} // namespace

void WaitEvent::wait()
{
    if (m_signalled)
        return;
    QEventLoop loop;
    QObject::connect(QCoreApplication::instance(), &QCoreApplication::aboutToQuit, &loop, &QEventLoop::quit);
    m_loops.push_back(&loop);
    loop.exec();
    std::erase(m_loops, &loop);
}

void WaitEvent::signal()
{
    m_signalled = true;
    for (QEventLoop* loop : m_loops)
        loop->quit();
}

TupAutoUpdater::TupAutoUpdater(UpdaterView* view, const QString& applicationFileName)
    : Macros(folderOf(applicationFileName.isEmpty() ? QCoreApplication::applicationFilePath() : applicationFileName)),
      m_view(view),
      m_applicationFile(applicationFileName.isEmpty() ? QCoreApplication::applicationFilePath() : applicationFileName),
      m_applicationFolder(folderOf(m_applicationFile))
{
    VersionDate = QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
    m_timer.setSingleShot(true);
    QObject::connect(&m_timer, &QTimer::timeout, [this] {
        if (!m_autoCheck || !HasNetworkAddress())
            return;
        m_timerCheckPending = true;
        rearmTimer();
        CheckUpdate(false);
        m_automaticCheck = true;
    });

    OnDone = [this](const QString&, const QByteArray& data, qint64 size) {
        if (m_infoFileMode)
            infoFileDone(data);
        else
            fileDone(size);
    };
    OnHTTPError = [this](int status) {
        if (m_infoFileMode)
            infoFileError();
        else
            lostFile(status);
    };
    OnOutputFailed = [this](const QString&) { lostFile(0); };
    OnHeaderInfo = [this](const TupHeaderInfo& info, bool& go) {
        if (!m_infoFileMode)
            fileHeaders(info, go);
    };
    OnStopped = [this] {
        if (!m_infoFileMode)
            NextFile(false);
    };
    OnTransferProgress = [this](const TupProgress& progress) {
        if (m_infoFileMode)
            return;
        const int total = progress.PercentsDone / std::max(1, m_files.Count()) + Percent(m_index, m_files.Count());
        if (OnProgress)
            OnProgress(m_currentURL, progress, total);
        if (m_wizardShown && m_view)
            m_view->wizardProgress(progress, total);
    };
    OnConnectionLost = [this](const QString&, qint64, qint64) { connectionLost(); };
    OnNoResponse = [this] { noResponse(); };
    OnAuthorizationRequest = [this](const QString& realm, bool& tryAgain) { authorization(realm, tryAgain); };

    // A helper left by an earlier upgrade has done its work.
    QFile::remove(TempFolder(m_applicationFolder) + QStringLiteral("UpdHelper"));
}

TupAutoUpdater::~TupAutoUpdater()
{
    m_timer.stop();
    stopEvents();
    m_wait.signal();
    m_wizardWait.signal();
}

void TupAutoUpdater::SetAutoCheck(bool on)
{
    m_autoCheck = on;
    rearmTimer();
}

void TupAutoUpdater::rearmTimer()
{
    m_timer.stop();
    if (m_autoCheck && !m_timerCheckPending && AutoCheckDelay > 0)
        m_timer.start(AutoCheckDelay);
}

bool TupAutoUpdater::HasNetworkAddress()
{
    ifaddrs* list = nullptr;
    if (getifaddrs(&list) != 0)
        return false;
    bool found = false;
    for (ifaddrs* a = list; a && !found; a = a->ifa_next) {
        if (!a->ifa_addr)
            continue;
        if (a->ifa_addr->sa_family == AF_INET) {
            const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
            found = (ntohl(in->sin_addr.s_addr) >> 24) != 127;
        } else if (a->ifa_addr->sa_family == AF_INET6) {
            const auto* in6 = reinterpret_cast<const sockaddr_in6*>(a->ifa_addr);
            found = !IN6_IS_ADDR_LOOPBACK(&in6->sin6_addr) && !IN6_IS_ADDR_LINKLOCAL(&in6->sin6_addr);
        }
    }
    freeifaddrs(list);
    return found;
}

void TupAutoUpdater::show(int number, UpdaterView::Icon icon, const QString& text)
{
    Q_UNUSED(number);
    if (m_view)
        m_view->message(icon, text, m_messages.text(0));
}

bool TupAutoUpdater::CheckUpdate(bool silent)
{
    if (silent)
        m_silent = true;
    m_aborted = false;
    m_automaticCheck = false;
    struct ClearSilent {
        bool& flag;
        ~ClearSilent() { flag = false; }
    } clear{m_silent};
    if (!TransferRunning() && !Busy()) {
        m_infoFileMode = true;
        TransferCacheOptions = CacheOptions | coPragmaNoCache;
        URL = InfoFileURL;
        OutputFileName.clear();
        Timeouts = InfoFileTimeouts;
        m_wait.reset();
        if (!StartGet())
            m_wait.signal();
    }
    if (silent)
        m_wait.wait();
    return m_updateFound;
}

bool TupAutoUpdater::newer(const UpdateInfo& info) const
{
    if (VersionControl == TupVersionControl::byNumber)
        return CompareVersions(info.version(), VersionNumber) > 0;
    return UpdateInfo::readDate(VersionDate) < info.date();
}

void TupAutoUpdater::infoFileDone(const QByteArray& data)
{
    const UpdateInfo info(data);
    m_files = info.files();
    if (newer(info) && m_files.Count() > 0) {
        m_updateFound = true;
        const QString message = info.message();
        m_method = info.method();
        bool canUpgrade = true;
        if (OnBeginUpgrade)
            OnBeginUpgrade(message, m_method, m_files, canUpgrade);
        if (!m_silent) {
            bool accepted = canUpgrade;
            if (accepted && (ShowMessages & mAskUpgrade)) {
                const QString framed =
                    message.isEmpty() ? QString() : QStringLiteral("\n") + message + QStringLiteral("\n");
                accepted = m_view && m_view->askUpgrade(*this, m_messages.format(23, Title, framed));
            }
            if (!accepted) {
                if (OnLaterUpgrade)
                    OnLaterUpgrade();
            } else if (m_method == UpgradeMethod::RedirectToURL) {
                if (m_view)
                    m_view->openURL(WithScheme(m_files.at(0)));
            } else {
                m_wait.signal();
                NextFile(true);
            }
        }
    } else {
        if (OnNoUpdateAvailable)
            OnNoUpdateAvailable();
        if (!m_automaticCheck && (ShowMessages & mNoUpdateAvailable))
            show(24, UpdaterView::Icon::Information, m_messages.text(24));
    }
    m_wait.signal();
}

void TupAutoUpdater::infoFileError()
{
    m_wait.signal();
    if (OnNoInfoFile)
        OnNoInfoFile();
    if (ShowMessages & mNoInfoFile)
        show(25, UpdaterView::Icon::Error, m_messages.text(25));
}

void TupAutoUpdater::noResponse()
{
    const QString host = URLHostName();
    if (OnHostUnreachable)
        OnHostUnreachable(URL, host);
    if (m_automaticCheck) {
        m_timerCheckPending = false;
        rearmTimer();
    } else if (ShowMessages & mHostUnreachable) {
        show(26, UpdaterView::Icon::Error, m_messages.format(26, QStringLiteral("http://") + host));
    }
    if (!m_infoFileMode)
        discardDownloads();
    StopUpgrade();
}

void TupAutoUpdater::connectionLost()
{
    if (OnConnLost)
        OnConnLost();
    if (ShowMessages & mConnLost)
        show(30, UpdaterView::Icon::Error, m_messages.text(30));
    // A file that broke off is never left to be installed.
    if (!m_infoFileMode)
        discardDownloads();
    StopUpgrade();
}

void TupAutoUpdater::authorization(const QString& realm, bool& tryAgain)
{
    if (OnPasswordRequest)
        OnPasswordRequest(realm, tryAgain);
    if (!tryAgain && (ShowMessages & mPasswordRequest)) {
        tryAgain = m_view && m_view->askPassword(*this, m_messages.format(29, URLFileName()));
        if (!tryAgain)
            AbortUpgrade();
    }
}

void TupAutoUpdater::StopUpgrade()
{
    m_wait.signal();
    AbortTransfer();
    if (m_wizardShown && m_view) {
        m_wizardShown = false;
        m_view->closeWizard();
    }
    m_wizardWait.signal();
}

void TupAutoUpdater::discardDownloads()
{
    for (const QString& file : std::as_const(m_written))
        QFile::remove(file);
    m_written.clear();
    m_arrived.clear();
    DeleteStaleDownloads();
}

void TupAutoUpdater::AbortUpgrade()
{
    m_aborted = true;
    StopUpgrade();
    discardDownloads();
    if (OnAborted)
        OnAborted();
}

void TupAutoUpdater::DeleteStaleDownloads()
{
    QDir folder(m_applicationFolder);
    for (const QString& name : folder.entryList({QStringLiteral("*.uTMP")}, QDir::Files | QDir::Hidden))
        folder.remove(name);
}

void TupAutoUpdater::SetRestartParams(const QString& text)
{
    RestartParams = text.isEmpty() ? QStringLiteral(" ") : text;
}

void TupAutoUpdater::Loaded(const QStringList& arguments)
{
    if (OnAfterRestart && arguments.size() > 1 && arguments.at(1) == RestartParams)
        OnAfterRestart();
}

void TupAutoUpdater::NextFile(bool first)
{
    if (first) {
        m_infoFileMode = false;
        TransferCacheOptions = CacheOptions;
        Timeouts = FileTimeouts;
        m_index = 0;
        m_aborted = m_completed = false;
        m_arrived.clear();
        m_written.clear();
        // Nothing from an earlier upgrade may be installed with this one.
        DeleteStaleDownloads();
        if (Wizard.Enabled && m_view) {
            m_wizardShown = true;
            m_wizardWait.reset();
            m_view->showWizard(*this);
        }
    } else {
        ++m_index;
    }
    if (m_aborted)
        return;

    if (m_index < m_files.Count()) {
        m_currentURL = m_files.NameOf(m_index);
        if (m_wizardShown && m_view)
            m_view->wizardFile(m_currentURL, m_messages.format(9, m_index + 1, m_files.Count()));
        const QString local = m_files.ValueOf(m_index);
        QString target;
        if (local.isEmpty()) {
            target = m_applicationFolder + FileNameFromURL(m_currentURL);
        } else {
            target = Macros.expand(local, true);
            m_files.SetValueOf(m_index, target);
        }
        m_currentTarget = target + QStringLiteral(".uTMP");
        m_fileTime = QDateTime();
        URL = m_currentURL;
        OutputFileName = m_currentTarget;
        if (!ForceFolders(target)) {
            lostFile(0);
            return;
        }
        QFile::remove(m_currentTarget);
        m_written << m_currentTarget;
        StartGet();
        return;
    }

    if (m_wizardShown && m_view) {
        m_view->wizardFinished();
        m_wizardWait.wait();
        if (m_aborted)
            return;
    }
    m_completed = true;
    bool restart = true;
    if (OnEndUpgrade)
        OnEndUpgrade(restart);
    if (restart)
        Restart();
}

void TupAutoUpdater::wizardClosed(bool aborted)
{
    m_wizardShown = false;
    if (aborted)
        AbortUpgrade();
    m_wizardWait.signal();
}

void TupAutoUpdater::fileHeaders(const TupHeaderInfo& info, bool& go)
{
    m_fileTime = info.LastModified;
    if (m_wizardShown && m_view)
        m_view->wizardSize(m_messages.format(6, double(info.ContentLength) / 1024.0));
    if (MiscFilesUpgrade == TupMiscFilesUpgrade::mfuOnlyIfSizeDifferent && info.ContentLength > 0
        && m_files.Count() > 1) {
        const QString local = m_currentTarget.left(m_currentTarget.size() - 5);
        const QFileInfo existing(local);
        // The program's own file is always fetched.
        if (existing.fileName().toUpper() != QFileInfo(m_applicationFile).fileName().toUpper() && existing.exists())
            go = existing.size() != info.ContentLength;
    }
    if (OnFileStart)
        OnFileStart(m_currentURL, info.ContentLength, m_fileTime, go);
}

void TupAutoUpdater::fileDone(qint64 size)
{
    // What is on disk must be what came in, or it is not installed.
    if (QFileInfo(m_currentTarget).size() != size) {
        connectionLost();
        return;
    }
    if (m_fileTime.isValid()) {
        // File times kept as the installation program's own format has them: to two seconds.
        QDateTime time = m_fileTime;
        time = time.addSecs(-(time.toSecsSinceEpoch() % 2)).addMSecs(-time.time().msec());
        QFile file(m_currentTarget);
        if (file.open(QIODevice::ReadWrite)) {
            file.setFileTime(time, QFileDevice::FileModificationTime);
            file.setFileTime(time, QFileDevice::FileBirthTime);
        }
    }
    m_arrived.insert(m_index);
    if (OnFileDone)
        OnFileDone(m_currentTarget);
    NextFile(false);
}

void TupAutoUpdater::lostFile(int status)
{
    bool continueUpgrade = false;
    if (OnLostFile)
        OnLostFile(m_currentURL, status, continueUpgrade);
    if ((ShowMessages & mLostFile) && m_view)
        continueUpgrade =
            m_view->question(UpdaterView::Icon::Exclamation, m_messages.format(28, FileNameFromURL(m_currentURL)),
                             m_messages.text(21) + QStringLiteral(" #") + QString::number(status));
    QFile::remove(m_currentTarget);
    if (continueUpgrade)
        NextFile(false);
    else
        AbortUpgrade();
}

bool TupAutoUpdater::writeHelper(const QString& folder)
{
    QFile source(HelperSource);
    if (!source.open(QIODevice::ReadOnly) || source.size() == 0)
        return false;
    const QString target = folder + QStringLiteral("UpdHelper");
    QSaveFile out(target);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write(source.readAll());
    if (!out.commit())
        return false;
    QFile::setPermissions(target, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner
                                      | QFileDevice::ReadGroup | QFileDevice::ExeGroup);
    m_helperFile = target;
    return true;
}

void TupAutoUpdater::Restart()
{
    if (!m_completed)
        DeleteStaleDownloads();
    const QString restartText = RestartParams + QString::number(int(m_method));

    // The temporary folder first; another one when programs may not run from there.
    const QString temp = TempFolder(m_applicationFolder);
    const QString folder = FolderAllowsPrograms(temp) ? temp : m_applicationFolder;
    // A helper that could not be written anew is not run: whatever stands in its
    // place in a shared temporary folder may not be ours.
    bool started = writeHelper(folder);

    // Only the files that came in whole in this upgrade are installed.
    TupStringList queued;
    for (int i = 0; i < m_files.Count(); ++i)
        if (m_arrived.contains(i) && !m_files.ValueOf(i).isEmpty())
            queued.Add(m_files.at(i));
    QFile::remove(QueueFile());
    started = started && queued.SaveValues(QueueFile());

    qint64 pid = 0;
    if (started) {
        QProcess helper;
        helper.setProgram(m_helperFile);
        helper.setArguments({m_applicationFile, QStringLiteral("+") + restartText});
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("UPDHELPER_PARENT_PID"), QString::number(QCoreApplication::applicationPid()));
        environment.insert(QStringLiteral("UPDHELPER_QUEUE"), QueueFile());
        helper.setProcessEnvironment(environment);
        helper.setWorkingDirectory(m_applicationFolder);
        started = helper.startDetached(&pid);
    }
    if (!started) {
        show(-1, UpdaterView::Icon::Error, helperFailedText(m_messages));
        AbortUpgrade();
        return;
    }
    m_restarting = true;
    if (OnDoOwnCloseAppMethod)
        OnDoOwnCloseAppMethod();
    else if (m_view)
        m_view->closeApplication();
}

} // namespace kv::updater
