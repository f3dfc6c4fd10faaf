#pragma once

#include "updater/core/TupCustomHTTP.h"
#include "updater/core/TupStringList.h"
#include "updater/core/UpdateInfo.h"
#include "updater/core/UpdaterMessages.h"
#include "updater/core/UpdaterUtils.h"
#include "updater/core/UpdaterView.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QEventLoop>
#include <QSet>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <vector>

namespace kv::updater {

enum TupShowMessage : unsigned {
    mAskUpgrade = 1u << 0,
    mConnLost = 1u << 1,
    mHostUnreachable = 1u << 2,
    mLostFile = 1u << 3,
    mNoInfoFile = 1u << 4,
    mNoUpdateAvailable = 1u << 5,
    mPasswordRequest = 1u << 6,
};

enum class TupVersionControl { byDate, byNumber };
enum class TupMiscFilesUpgrade { mfuAlwaysDownload, mfuOnlyIfSizeDifferent };

struct TupAutoUpdaterWizard {
    bool Enabled = true;
    bool HideFileLocation = false;
    int Language = UpdaterMessages::Auto;
    bool StayOnTop = true;
};

// A wait that keeps the user interface alive: ends when signalled or when the
// application quits. Several may wait on one event at once.
class WaitEvent {
public:
    void reset() { m_signalled = false; }
    void wait();
    void signal();
    bool waiting() const { return !m_loops.empty(); }

private:
    bool m_signalled = false;
    std::vector<QEventLoop*> m_loops;
};

// Asks a web server whether a newer version exists (the update information
// file), offers it, downloads the listed files beside their targets as
// ".uTMP" files, and hands them to the installation program, which replaces
// them once this program has ended and starts it again.
class TupAutoUpdater : public TupCustomHTTP {
public:
    explicit TupAutoUpdater(UpdaterView* view = nullptr, const QString& applicationFileName = QString());
    ~TupAutoUpdater() override;

    // Settings.
    bool AutoCheck() const { return m_autoCheck; }
    void SetAutoCheck(bool on);
    int AutoCheckDelay = 10000;
    unsigned CacheOptions = coReloadIfNoExpireInformation | coReloadUpdatedObjects | coCreateTempFilesIfCantCache;
    QString InfoFileURL = QStringLiteral("http://");
    QString RestartParams = QStringLiteral("/afterupgrade");
    TupMiscFilesUpgrade MiscFilesUpgrade = TupMiscFilesUpgrade::mfuAlwaysDownload;
    TupVersionControl VersionControl = TupVersionControl::byDate;
    QString VersionDate; // MM/DD/YYYY
    QString VersionNumber;
    unsigned ShowMessages = mAskUpgrade | mConnLost | mLostFile | mPasswordRequest;
    TupAutoUpdaterWizard Wizard;
    // Information-file fetches end soon when no server answers.
    TransferTimeouts InfoFileTimeouts{5, 10, 1, 10};
    TransferTimeouts FileTimeouts{10, 0, 1024, 20};
    // Where the installation program's bytes come from.
    QString HelperSource = QStringLiteral(":/UPDHLP");
    PathMacros Macros;
    // The program's name in the question and the wizard.
    QString Title = QCoreApplication::applicationName();

    QString ApplicationFileName() const { return m_applicationFile; }
    QString ApplicationFolder() const { return m_applicationFolder; }
    const UpdaterMessages& messages() const { return m_messages; }
    UpdaterMessages& messages() { return m_messages; }
    UpdaterView* view() const { return m_view; }

    // Events.
    std::function<void(const QString& UpgradeMsg, UpgradeMethod, const TupStringList& Files, bool& CanUpgrade)>
        OnBeginUpgrade;
    std::function<void()> OnLaterUpgrade, OnNoUpdateAvailable, OnNoInfoFile, OnConnLost, OnAfterRestart, OnAborted,
        OnDoOwnCloseAppMethod;
    std::function<void(const QString& URL, const QString& Hostname)> OnHostUnreachable;
    std::function<void(const QString& Realm, bool& TryAgain)> OnPasswordRequest;
    std::function<void(bool& RestartImediately)> OnEndUpgrade;
    std::function<void(const QString& FileURL, qint64 FileSize, const QDateTime& FileTime, bool& CanUpgrade)>
        OnFileStart;
    std::function<void(const QString& FileURL, const TupProgress&, int TotalPercentsDone)> OnProgress;
    std::function<void(const QString& FileName)> OnFileDone;
    std::function<void(const QString& FileURL, int ErrorCode, bool& ContinueUpgrade)> OnLostFile;

    // Starts a check; a silent one waits for its end and offers nothing.
    // True when a newer version was found.
    bool CheckUpdate(bool silent);
    void NextFile(bool first);
    void AbortUpgrade();
    void Restart();
    void SetRestartParams(const QString& text);
    void DeleteStaleDownloads();
    // Raises OnAfterRestart when the program's first argument is RestartParams.
    void Loaded(const QStringList& arguments);
    // The view's wizard was closed; aborted: the user confirmed the close question.
    void wizardClosed(bool aborted);

    bool UpdateFound() const { return m_updateFound; }
    bool Completed() const { return m_completed; }
    bool Aborted() const { return m_aborted; }
    bool Restarting() const { return m_restarting; }
    UpgradeMethod Method() const { return m_method; }
    const TupStringList& Files() const { return m_files; }
    QString CurrentTarget() const { return m_currentTarget; }
    // The installation program's file and queue file once Restart wrote them.
    QString HelperFile() const { return m_helperFile; }
    QString QueueFile() const { return TempFolder(m_applicationFolder) + QStringLiteral("UpdQueue.txt"); }

    // The machine has an address other than the loopback one.
    static bool HasNetworkAddress();

private:
    void infoFileDone(const QByteArray& data);
    void infoFileError();
    void fileHeaders(const TupHeaderInfo& info, bool& go);
    void fileDone(qint64 size);
    void lostFile(int status);
    void noResponse();
    void connectionLost();
    void authorization(const QString& realm, bool& tryAgain);
    void StopUpgrade();
    void discardDownloads();
    void show(int number, UpdaterView::Icon icon, const QString& text);
    bool writeHelper(const QString& folder);
    void rearmTimer();
    bool newer(const UpdateInfo& info) const;

    UpdaterView* m_view;
    UpdaterMessages m_messages;
    QString m_applicationFile, m_applicationFolder;
    bool m_autoCheck = false;
    bool m_updateFound = false, m_silent = false, m_aborted = false, m_completed = false;
    bool m_restarting = false, m_automaticCheck = false, m_timerCheckPending = false;
    bool m_infoFileMode = false, m_wizardShown = false;
    UpgradeMethod m_method = UpgradeMethod::SelfUpgrade;
    TupStringList m_files;
    int m_index = 0;
    QString m_currentTarget, m_currentURL;
    QDateTime m_fileTime;
    QSet<int> m_arrived; // entries whose file came in whole in this upgrade
    QStringList m_written; // ".uTMP" files this upgrade started
    QString m_helperFile;
    WaitEvent m_wait, m_wizardWait;
    QTimer m_timer;
};

} // namespace kv::updater
