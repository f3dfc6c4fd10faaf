#pragma once

#include <QString>
#include <QStringList>

#include <functional>
#include <optional>

namespace kv::updater {

// What the program hands to the installation program: its own file, "+"
// and the restart text (restart parameters and the upgrade method digit), its
// process id and the queue of targets in the environment.
struct InstallRequest {
    QString programFile;
    QString restartText;
    qint64 parentPid = 0;
    QString queueFile;
    QString logFile;
    int waitLimitMs = 60000;

    // The text before the method digit, given to setups and to the restarted program.
    QString restartParams() const { return restartText.left(restartText.size() - 1).trimmed(); }
    int method() const { return restartText.isEmpty() ? 0 : restartText.right(1).toInt(); }

    // argv: program, then "+" followed by the restart text; environment
    // UPDHELPER_PARENT_PID and UPDHELPER_QUEUE. Empty when the arguments are not ours.
    static std::optional<InstallRequest> fromArguments(const QStringList& arguments, const QString& parentPid,
                                                       const QString& queueFile);
};

// Puts the downloaded ".uTMP" files in place of their targets once the
// program has ended: all of them or none (replaced files are kept until all
// are in and put back when one fails), runs downloaded setups for the external
// setup method, and starts the program again.
class UpdateInstaller {
public:
    enum class Outcome { Installed, ProgramStillRunning, MissingFile, ReplaceFailed };

    explicit UpdateInstaller(InstallRequest request) : m_request(std::move(request)) {}

    Outcome install();
    // Starts the program again with the restart parameters.
    bool startProgram();
    const QStringList& log() const { return m_log; }

    // Tells whether a process still runs; replaceable for a program that is not ours.
    std::function<bool(qint64 pid)> processRunning;

private:
    bool waitForProgram();
    void runSetups(const QStringList& queued);
    void note(const QString& line);

    InstallRequest m_request;
    QStringList m_log;
};

} // namespace kv::updater
