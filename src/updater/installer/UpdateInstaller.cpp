#include "updater/installer/UpdateInstaller.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QThread>

#include <cerrno>
#include <csignal>

namespace kv::updater {

namespace {

const QString Downloaded = QStringLiteral(".uTMP");
const QString Replaced = QStringLiteral(".uOLD");

bool alive(qint64 pid)
{
    if (pid <= 0)
        return false;
    return ::kill(pid_t(pid), 0) == 0 || errno == EPERM;
}

} // namespace

std::optional<InstallRequest> InstallRequest::fromArguments(const QStringList& arguments, const QString& parentPid,
                                                            const QString& queueFile)
{
    if (arguments.size() < 3 || !arguments.at(2).startsWith(QLatin1Char('+')))
        return std::nullopt;
    InstallRequest request;
    request.programFile = arguments.at(1);
    request.restartText = arguments.at(2).mid(1);
    request.parentPid = parentPid.toLongLong();
    request.queueFile = queueFile;
    request.logFile = QFileInfo(arguments.at(0)).absolutePath() + QStringLiteral("/UpdHelper.log");
    return request;
}

void UpdateInstaller::note(const QString& line)
{
    m_log << line;
    if (m_request.logFile.isEmpty())
        return;
    QFile file(m_request.logFile);
    if (file.open(QIODevice::Append | QIODevice::Text))
        file.write((QDateTime::currentDateTime().toString(Qt::ISODate) + QLatin1Char(' ') + line + QLatin1Char('\n'))
                       .toUtf8());
}

bool UpdateInstaller::waitForProgram()
{
    const auto running = processRunning ? processRunning : alive;
    QElapsedTimer clock;
    clock.start();
    while (running(m_request.parentPid)) {
        if (clock.elapsed() > m_request.waitLimitMs)
            return false;
        QThread::msleep(100);
    }
    return true;
}

UpdateInstaller::Outcome UpdateInstaller::install()
{
    if (!waitForProgram()) {
        note(QStringLiteral("The program %1 did not end; nothing was changed.").arg(m_request.parentPid));
        return Outcome::ProgramStillRunning;
    }

    QStringList targets;
    QFile queue(m_request.queueFile);
    if (!m_request.queueFile.isEmpty() && queue.open(QIODevice::ReadOnly)) {
        for (const QByteArray& line : queue.readAll().split('\n')) {
            const QString target = QString::fromUtf8(line).trimmed();
            if (!target.isEmpty())
                targets << target;
        }
    }
    for (const QString& target : std::as_const(targets)) {
        if (!QFileInfo(target + Downloaded).isFile()) {
            note(QStringLiteral("Missing download %1; nothing was changed.").arg(target + Downloaded));
            return Outcome::MissingFile;
        }
    }

    struct Done {
        QString target;
        bool hadOld;
    };
    std::vector<Done> done;
    auto restore = [&] {
        for (auto it = done.rbegin(); it != done.rend(); ++it) {
            QFile::rename(it->target, it->target + Downloaded);
            if (it->hadOld)
                QFile::rename(it->target + Replaced, it->target);
        }
    };
    for (const QString& target : std::as_const(targets)) {
        const QFileInfo old(target);
        const bool hadOld = old.exists();
        const QFile::Permissions permissions = hadOld ? old.permissions() : QFile::Permissions();
        if (hadOld) {
            QFile::remove(target + Replaced);
            if (!QFile::rename(target, target + Replaced)) {
                note(QStringLiteral("Could not set aside %1; the installation was undone.").arg(target));
                restore();
                return Outcome::ReplaceFailed;
            }
        }
        if (!QFile::rename(target + Downloaded, target)) {
            note(QStringLiteral("Could not put %1 in place; the installation was undone.").arg(target));
            if (hadOld)
                QFile::rename(target + Replaced, target);
            restore();
            return Outcome::ReplaceFailed;
        }
        if (hadOld)
            QFile::setPermissions(target, permissions);
        // The program must start again whatever the download's bits were.
        if (QFileInfo(target).absoluteFilePath() == QFileInfo(m_request.programFile).absoluteFilePath())
            QFile::setPermissions(target,
                                  QFile::permissions(target) | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther);
        done.push_back({target, hadOld});
        note(QStringLiteral("Installed %1").arg(target));
    }
    for (const Done& d : done)
        if (d.hadOld)
            QFile::remove(d.target + Replaced);

    if (m_request.method() == 1)
        runSetups(targets);
    return Outcome::Installed;
}

void UpdateInstaller::runSetups(const QStringList& queued)
{
    // The downloaded setups: the program folder's downloads that the queue does not name.
    const QDir folder(QFileInfo(m_request.programFile).absolutePath());
    for (const QString& name : folder.entryList({QStringLiteral("*") + Downloaded}, QDir::Files | QDir::Hidden)) {
        const QString download = folder.filePath(name);
        const QString setup = download.left(download.size() - Downloaded.size());
        if (queued.contains(setup))
            continue;
        QFile::remove(setup);
        if (!QFile::rename(download, setup)) {
            note(QStringLiteral("Could not prepare the setup %1").arg(setup));
            continue;
        }
        QFile::setPermissions(setup, QFile::permissions(setup) | QFile::ExeOwner);
        const QStringList arguments =
            m_request.restartParams().isEmpty() ? QStringList() : QStringList{m_request.restartParams()};
        const int code = QProcess::execute(setup, arguments);
        note(QStringLiteral("Setup %1 ended with %2").arg(setup).arg(code));
        QFile::remove(setup);
    }
}

bool UpdateInstaller::startProgram()
{
    const QStringList arguments =
        m_request.restartParams().isEmpty() ? QStringList() : QStringList{m_request.restartParams()};
    const bool started =
        QProcess::startDetached(m_request.programFile, arguments, QFileInfo(m_request.programFile).absolutePath());
    note(started ? QStringLiteral("Started %1").arg(m_request.programFile)
                 : QStringLiteral("Could not start %1").arg(m_request.programFile));
    return started;
}

} // namespace kv::updater
