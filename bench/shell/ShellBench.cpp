// The main program's start, from a new process to its main window logged in
// to the demo company (SQLite), against two starts of a bare Qt main window:
// a program that links Qt Widgets alone, and this program in a child mode,
// which loads every library the main program loads. All offscreen, each in a
// process of its own, in the same run. The demo installation is made once
// and brought to the program's version by a first start that is not timed.
// Ends with the ratios.
#include "shell/BareWindow.h"

#include "shell/CredentialsLibrary.h"
#include "schema/DemoInstallation.h"
#include "platform/install/Installation.h"
#include "schema/InstallationBuilder.h"
#include "shell/Session.h"
#include "shell/ShellUnit.h"
#include "shell/Subsystems.h"
#include "costing/unit/CostingUnit.h"
#include "production/unit/ProductionUnit.h"
#include "quotes/unit/QuotesUnit.h"
#include "shell/forms/TFACFMENU.h"
#include "shell/forms/TKAVAPMENU.h"
#include "platform/ui/TUpdateErrorForm.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace {

constexpr const char* ChildOption = "--kv-child=";
constexpr int ChildTimeoutMs = 30000;

std::string g_self;
std::map<std::string, double> g_seconds;

// Child: the steps of the main program's start until its first activation
// has logged in.
class PrintingSink : public kv::notify::MessageSink {
public:
    void beep() override {}
    void error(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
    void information(const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
};

int startProgram(int argc, char** argv)
{
    QApplication application(argc, argv);
    kv::shell::Subsystems::assemble({kv::shell::shellUnit(), kv::costing::costingUnit(), kv::quotes::quotesUnit(),
                                     kv::production::productionUnit()});
    auto splash = std::make_unique<kv::shell::TKAVAPMENU>();
    splash->show();
    splash->repaint();
    QApplication::processEvents();
    QApplication::setApplicationDisplayName(QStringLiteral("Kavorimetas"));
    const kv::shell::GeneralCredentials credentials =
        kv::shell::CredentialsLibrary::load({QStringLiteral(KV_PALVEXWORKS_LIBRARY)});
    if (!credentials.ok()) {
        std::fprintf(stderr, "%s\n", qPrintable(credentials.error));
        return 1;
    }
    const kv::install::Installation installation;
    PrintingSink messages;
    kv::shell::Session session(installation, messages);
    kv::shell::TFACFMENU FACFMENU(session, credentials);
    kv::ui::TUpdateErrorForm UpdateErrorForm;
    session.setUpdateErrorHandler(UpdateErrorForm.handler());
    splash.reset();
    bool ended = false;
    QObject::connect(&FACFMENU, &kv::shell::TFACFMENU::programEnded, [&ended] { ended = true; });
    FACFMENU.show();
    FACFMENU.activateWindow();
    QElapsedTimer timer;
    timer.start();
    while (!FACFMENU.loggedIn() && !ended && timer.elapsed() < ChildTimeoutMs)
        QApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    // Leaving at once: the time to tear the windows down is not the start's.
    std::fflush(nullptr);
    std::_Exit(FACFMENU.loggedIn() ? 0 : 1);
}

// Runs a program to its end; false when it failed. The timed runs keep
// quiet; a failing first start says why.
bool run(const std::string& program, const char* mode, bool quiet = true)
{
    const std::string option = mode ? std::string(ChildOption) + mode : std::string();
    std::string path = program;
    char* argv[] = {path.data(), mode ? const_cast<char*>(option.c_str()) : nullptr, nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (quiet)
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, path.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return false;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void timeStart(benchmark::State& state, const std::string& program, const char* mode)
{
    for (auto _ : state) {
        if (!run(program, mode)) {
            state.SkipWithError("o processo não chegou à janela");
            return;
        }
    }
}

void BM_MainProgramStart(benchmark::State& state) { timeStart(state, g_self, "program"); }

void BM_BareQtWindowStart(benchmark::State& state) { timeStart(state, KV_BARE_WINDOW_PROGRAM, nullptr); }

void BM_BareQtWindowWithProgramLibraries(benchmark::State& state) { timeStart(state, g_self, "bare"); }

BENCHMARK(BM_BareQtWindowStart)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_BareQtWindowWithProgramLibraries)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);
BENCHMARK(BM_MainProgramStart)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

// Keeps the wall time of each benchmark for the closing ratios.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        // With repetitions, their mean.
        for (const Run& run : runs)
            if (!run.error_occurred && (run.run_type == Run::RT_Iteration || run.aggregate_name == "mean"))
                g_seconds[run.run_name.function_name] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
};

} // namespace

int main(int argc, char** argv)
{
    g_self = argv[0];
    for (int i = 1; i < argc; ++i) {
        if (std::strncmp(argv[i], ChildOption, std::strlen(ChildOption)) != 0)
            continue;
        const char* mode = argv[i] + std::strlen(ChildOption);
        return std::strcmp(mode, "program") == 0 ? startProgram(1, argv) : showBareWindow(1, argv);
    }

    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QTemporaryDir folder;
    const QString root = folder.filePath(QStringLiteral("demo"));
    {
        int qtArgc = 1;
        QCoreApplication core(qtArgc, argv);
        kv::schema::InstallationOptions options;
        options.workstation = QStringLiteral("DEMO");
        options.demo = true;
        kv::schema::InstallationBuilder(options).create(root);
    }
    setenv("PALVEXWORKS_ROOT", root.toLocal8Bit().constData(), 1);
    // The first start brings the new database to the program's version.
    if (!run(g_self, "program", false)) {
        std::fprintf(stderr, "O programa não entrou na instalação de demonstração.\n");
        return 1;
    }

    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    const double program = g_seconds["BM_MainProgramStart"];
    for (const char* baseline : {"BM_BareQtWindowStart", "BM_BareQtWindowWithProgramLibraries"}) {
        if (g_seconds[baseline] > 0 && program > 0)
            std::printf("BM_MainProgramStart / %s: %.2fx (objectivo: no máximo 2x)\n", baseline,
                        program / g_seconds[baseline]);
    }
    return 0;
}
