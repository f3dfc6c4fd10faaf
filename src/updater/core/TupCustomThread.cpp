#include "updater/core/TupCustomThread.h"

#include <QMetaObject>

namespace kv::updater {

std::atomic<int> TupEventThread::s_live{0};

TupEventThread::TupEventThread(TupCustomThread& owner) : m_owner(owner) { ++s_live; }

TupEventThread::~TupEventThread()
{
    m_terminated = true;
    if (isRunning())
        WaitFor();
    wait();
    --s_live;
}

bool TupEventThread::skipHandlers() const { return m_killed || m_owner.ownerDestroying(); }

void TupEventThread::SetPriority(int index)
{
    m_priority = std::clamp(index, 0, 6);
    // The seven levels are Qt's own, idle to time critical, in the same order.
    if (isRunning())
        setPriority(QThread::Priority(m_priority));
}

void TupEventThread::Kill()
{
    m_killed = true;
    m_terminated = true;
    m_changed.notify_all();
}

void TupEventThread::run()
{
    if (m_terminated)
        return;
    m_executing = true;
    if (OnExecute && !skipHandlers()) {
        try {
            OnExecute(m_owner);
        } catch (...) {
            if (OnException && !skipHandlers())
                Synchronize([this] { OnException(m_owner); });
        }
    }
    if (OnTerminate && !skipHandlers()) {
        Synchronize([this] {
            try {
                OnTerminate(m_owner);
            } catch (...) {
                if (OnException && !skipHandlers())
                    OnException(m_owner);
            }
        });
    }
    m_executing = false;
    std::lock_guard lock(m_mutex);
    m_ended = true;
    m_changed.notify_all();
}

void TupEventThread::Synchronize(const std::function<void()>& call)
{
    if (skipHandlers())
        return;
    std::unique_lock lock(m_mutex);
    m_pending = &call;
    QMetaObject::invokeMethod(
        &m_mainThreadAnchor, [this] { runPending(); }, Qt::QueuedConnection);
    m_changed.wait(lock, [this] { return m_pending == nullptr; });
}

void TupEventThread::Post(std::function<void()> call)
{
    // Enough to let a burst of blocks through, little enough to bound memory.
    constexpr std::size_t Backlog = 256;
    if (skipHandlers() || m_terminated)
        return;
    std::unique_lock lock(m_mutex);
    m_changed.wait(lock, [this] { return m_posted.size() < Backlog || m_killed; });
    m_posted.push_back(std::move(call));
    // One wake-up of the main thread runs every call queued by then.
    if (!m_drainQueued) {
        m_drainQueued = true;
        QMetaObject::invokeMethod(
            &m_mainThreadAnchor, [this] { drainPosted(); }, Qt::QueuedConnection);
    }
}

void TupEventThread::drainPosted()
{
    std::vector<std::function<void()>> calls;
    {
        std::lock_guard lock(m_mutex);
        calls.swap(m_posted);
        m_drainQueued = false;
        m_changed.notify_all();
    }
    for (const auto& call : calls) {
        if (skipHandlers() || m_terminated)
            break;
        try {
            call();
        } catch (...) {
            // A report's failure stays on the main thread.
        }
    }
}

void TupEventThread::runPending()
{
    std::unique_lock lock(m_mutex);
    if (!m_pending || m_pendingRunning)
        return;
    const std::function<void()>* call = m_pending;
    m_pendingRunning = true;
    lock.unlock();
    drainPosted(); // reports posted before this call come first
    if (!skipHandlers()) {
        try {
            (*call)();
        } catch (...) {
            // A handed-over call's failure stays on the main thread.
        }
    }
    lock.lock();
    m_pendingRunning = false;
    m_pending = nullptr;
    m_changed.notify_all();
}

void TupEventThread::WaitFor()
{
    if (QThread::currentThread() == this)
        return;
    const bool onMainThread = QThread::currentThread() == m_mainThreadAnchor.thread();
    for (;;) {
        std::unique_lock lock(m_mutex);
        m_changed.wait(lock,
                       [&] { return m_ended || !isRunning() || (onMainThread && m_pending && !m_pendingRunning); });
        if (m_ended || !isRunning())
            break;
        lock.unlock();
        runPending();
    }
    wait();
}

TupCustomThread::TupCustomThread() : m_current(std::make_unique<TupEventThread>(*this)) {}

TupCustomThread::~TupCustomThread()
{
    if (m_current->Executing())
        Stop(true);
    m_current.reset();
    m_ended.clear();
}

void TupCustomThread::Renew()
{
    auto fresh = std::make_unique<TupEventThread>(*this);
    fresh->SetPriority(m_current->Priority());
    fresh->OnExecute = m_onExecute;
    fresh->OnException = m_onException;
    fresh->OnTerminate = m_onTerminate;
    if (m_current->isRunning()) {
        m_current->Kill();
        m_ended.push_back(std::move(m_current));
    }
    m_current = std::move(fresh);
    // Workers that have returned since are let go.
    std::erase_if(m_ended, [](const auto& worker) { return worker->isFinished(); });
}

bool TupCustomThread::Start()
{
    Renew();
    m_current->start(QThread::Priority(m_current->Priority()));
    return true;
}

void TupCustomThread::Stop(bool kill)
{
    if (kill)
        Renew();
    else
        m_current->Terminate();
}

void TupCustomThread::Synchronize(const std::function<void()>& call)
{
    if (m_ownerDestroying)
        return;
    if (TupEventThread* worker = currentWorker())
        worker->Synchronize(call);
    else
        call();
}

void TupCustomThread::Post(std::function<void()> call)
{
    if (m_ownerDestroying)
        return;
    if (TupEventThread* worker = currentWorker())
        worker->Post(std::move(call));
    else
        call();
}

bool TupCustomThread::IsTerminated() const
{
    if (TupEventThread* worker = currentWorker())
        return worker->Terminated();
    return m_current->Terminated();
}

TupEventThread* TupCustomThread::currentWorker() { return dynamic_cast<TupEventThread*>(QThread::currentThread()); }

} // namespace kv::updater
