#pragma once

#include <QObject>
#include <QThread>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <vector>

namespace kv::updater {

class TupCustomThread;

// One run of the updater's work on a worker thread. Born suspended, used
// once: a finished or ended worker is never started again. The work runs on
// the worker; the termination step and everything the work hands over with
// Synchronize run on the main thread while the worker waits.
class TupEventThread final : public QThread {
public:
    using Handler = std::function<void(TupCustomThread&)>;

    explicit TupEventThread(TupCustomThread& owner);
    ~TupEventThread() override;

    // Runs the call on the main thread and returns once it has run; an
    // exception it throws is dropped there. Called on the worker.
    void Synchronize(const std::function<void()>& call);
    // Hands a call to the main thread without waiting for it: for reports
    // the worker needs no answer to. Calls keep their order with Synchronize;
    // past a backlog of queued calls the worker waits for the main thread.
    // Dropped once a stop was asked.
    void Post(std::function<void()> call);
    // Waits for the worker to end; from the main thread the calls the worker
    // hands over keep running meanwhile.
    void WaitFor();
    void Terminate() { m_terminated = true; }
    // Ends the worker at the next check point without its termination step.
    void Kill();

    bool Terminated() const { return m_terminated; }
    bool Executing() const { return m_executing; }
    bool Killed() const { return m_killed; }

    int Priority() const { return m_priority; }
    void SetPriority(int index);

    Handler OnExecute, OnException, OnTerminate;

    // Thread objects alive in the process.
    static int liveCount() { return s_live; }

protected:
    void run() override;

private:
    void runPending();
    void drainPosted();
    bool skipHandlers() const;

    TupCustomThread& m_owner;
    std::atomic<bool> m_terminated{false};
    std::atomic<bool> m_executing{false};
    std::atomic<bool> m_killed{false};
    int m_priority = 3;

    std::mutex m_mutex;
    std::condition_variable m_changed;
    const std::function<void()>* m_pending = nullptr;
    bool m_pendingRunning = false;
    bool m_ended = false;
    std::vector<std::function<void()>> m_posted; // posted calls not yet run
    bool m_drainQueued = false;
    QObject m_mainThreadAnchor; // lives in the main thread: queued calls arrive there

    static std::atomic<int> s_live;
};

// Owns the current worker of one component and replaces it by a fresh one at
// every start. Workers that were ended are kept until their thread returns.
class TupCustomThread {
public:
    TupCustomThread();
    ~TupCustomThread();
    TupCustomThread(const TupCustomThread&) = delete;
    TupCustomThread& operator=(const TupCustomThread&) = delete;

    bool Start();
    // kill false: only asks the work to stop; true: the worker is ended at
    // once (it runs no termination step) and a fresh one takes its place.
    void Stop(bool kill);
    void Synchronize(const std::function<void()>& call);
    void Post(std::function<void()> call);
    bool IsExecuting() const { return m_current->Executing(); }
    // The work's check point: a stop was asked or this worker was ended.
    bool IsTerminated() const;
    int Priority() const { return m_current->Priority(); }
    void SetPriority(int index) { m_current->SetPriority(index); }

    // The handlers of the next start; a running worker keeps its own.
    void SetOnExecute(TupEventThread::Handler handler) { m_onExecute = std::move(handler); }
    void SetOnException(TupEventThread::Handler handler) { m_onException = std::move(handler); }
    void SetOnTerminate(TupEventThread::Handler handler) { m_onTerminate = std::move(handler); }

    // Set by the owning component while it is being destroyed: handlers and
    // handed-over calls are skipped from then on.
    void setOwnerDestroying() { m_ownerDestroying = true; }
    bool ownerDestroying() const { return m_ownerDestroying; }

    // The worker the calling thread runs, or nullptr on the main thread.
    static TupEventThread* currentWorker();

private:
    void Renew();

    TupEventThread::Handler m_onExecute, m_onException, m_onTerminate;
    std::unique_ptr<TupEventThread> m_current;
    std::vector<std::unique_ptr<TupEventThread>> m_ended;
    std::atomic<bool> m_ownerDestroying{false};
};

} // namespace kv::updater
