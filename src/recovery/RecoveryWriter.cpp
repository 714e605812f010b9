#include "recovery/RecoveryWriter.h"

#include <atomic>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace zuno {

namespace {

struct Request {
    enum Kind { Write, Append, Hide, Show, Remove } kind = Write;
    RecoveryData data;
    QByteArray records;
    bool hidden = false;
};

constexpr qint64 DefaultCompactLimit = qint64(64) << 20;

} // namespace

struct RecoveryWriter::Shared {
    Shared(RecoveryStore &store, std::function<void(const QString &)> failed)
        : store(store), failed(std::move(failed))
    {
    }

    RecoveryStore &store;
    std::function<void(const QString &)> failed;
    // Timed, so that a destructor never waits for the lock longer than its
    // limit either.
    std::timed_mutex mutex;
    std::condition_variable_any wake;
    std::condition_variable_any done;
    std::deque<Request> queue;
    qint64 compactLimit = DefaultCompactLimit;
    bool busy = false;
    bool stopping = false;
    bool ended = false; // the thread has returned
    // The writer stopped waiting: touch nothing but this from now on. Set
    // without the lock when the lock could not be had in time.
    std::atomic<bool> abandoned = false;
};

RecoveryWriter::RecoveryWriter(RecoveryStore &store, std::function<void(const QString &)> failed,
                               std::chrono::milliseconds stopLimit)
    : m_shared(std::make_shared<Shared>(store, std::move(failed))), m_stopLimit(stopLimit)
{
    // Started once everything it uses is in place; it sees the shared
    // state alone, never this object.
    m_thread = std::thread([shared = m_shared] { run(shared); });
}

RecoveryWriter::~RecoveryWriter()
{
    const auto deadline = std::chrono::steady_clock::now() + m_stopLimit;
    std::unique_lock lock(m_shared->mutex, deadline);
    if (lock.owns_lock()) {
        m_shared->stopping = true;
        m_shared->wake.notify_all();
        if (m_shared->done.wait_until(lock, deadline, [this] { return m_shared->ended; })) {
            lock.unlock();
            m_thread.join();
            return;
        }
        m_shared->queue.clear();
    }
    // Out of time: the thread is still in the store, or in `failed`.
    m_shared->abandoned = true;
    m_thread.detach();
}

void RecoveryWriter::write(RecoveryData data, bool hidden)
{
    {
        std::lock_guard lock(m_shared->mutex);
        // A newer entry makes an older one that waits, and its journal,
        // needless.
        std::deque<Request> &queue = m_shared->queue;
        while (!queue.empty() && (queue.back().kind == Request::Write || queue.back().kind == Request::Append))
            queue.pop_back();
        queue.push_back(Request{Request::Write, std::move(data), {}, hidden});
    }
    m_shared->wake.notify_all();
}

void RecoveryWriter::append(QByteArray records)
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->queue.push_back(Request{Request::Append, {}, std::move(records)});
    }
    m_shared->wake.notify_all();
}

void RecoveryWriter::setHidden(bool hidden)
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->queue.push_back(Request{hidden ? Request::Hide : Request::Show, {}, {}});
    }
    m_shared->wake.notify_all();
}

void RecoveryWriter::remove()
{
    {
        std::lock_guard lock(m_shared->mutex);
        m_shared->queue.clear();
        m_shared->queue.push_back(Request{Request::Remove, {}, {}});
    }
    m_shared->wake.notify_all();
}

void RecoveryWriter::setCompactLimit(qint64 bytes)
{
    std::lock_guard lock(m_shared->mutex);
    m_shared->compactLimit = bytes;
}

bool RecoveryWriter::finish(int timeoutMs)
{
    std::unique_lock lock(m_shared->mutex);
    return m_shared->done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                                   [this] { return m_shared->queue.empty() && !m_shared->busy; });
}

void RecoveryWriter::run(const std::shared_ptr<Shared> &shared)
{
    Shared &s = *shared;
    std::unique_lock lock(s.mutex);
    for (;;) {
        s.wake.wait(lock, [&s] { return s.stopping || !s.queue.empty(); });
        if (s.queue.empty())
            break; // stopping, and nothing left to do
        Request request = std::move(s.queue.front());
        s.queue.pop_front();
        s.busy = true;
        const qint64 compactLimit = s.compactLimit;
        lock.unlock();
        Result<void, RecoveryError> written;
        switch (request.kind) {
        case Request::Remove:
            s.store.removeOwn();
            break;
        case Request::Write:
            // Another program may change the file before the entry is
            // needed: the entry keeps the text itself.
            written = s.store.write(request.data, request.hidden, true);
            break;
        case Request::Append:
            written = s.store.append(request.records);
            if (written.ok())
                s.store.compact(compactLimit);
            break;
        case Request::Hide:
        case Request::Show:
            s.store.setHidden(request.kind == Request::Hide);
            break;
        }
        lock.lock();
        if (s.abandoned)
            return;
        if (!written.ok() && s.failed) {
            s.failed(written.error().message);
            if (s.abandoned)
                return;
        }
        request = Request{};
        s.busy = false;
        s.done.notify_all();
    }
    s.ended = true;
    s.done.notify_all();
}

} // namespace zuno
