#include "recovery/RecoveryWriter.h"

#include <chrono>

namespace zuno {

RecoveryWriter::RecoveryWriter(RecoveryStore &store, std::function<void(const QString &)> failed)
    : m_store(store), m_failed(std::move(failed)), m_thread([this] { run(); })
{
}

RecoveryWriter::~RecoveryWriter()
{
    {
        std::lock_guard lock(m_mutex);
        m_stopping = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void RecoveryWriter::write(RecoveryData data)
{
    {
        std::lock_guard lock(m_mutex);
        // A newer text makes an older one that waits needless.
        if (!m_queue.empty() && !m_queue.back().remove)
            m_queue.pop_back();
        m_queue.push_back(Request{false, std::move(data)});
    }
    m_wake.notify_all();
}

void RecoveryWriter::remove()
{
    {
        std::lock_guard lock(m_mutex);
        m_queue.clear();
        m_queue.push_back(Request{true, {}});
    }
    m_wake.notify_all();
}

QByteArray RecoveryWriter::takeSpareBuffer()
{
    std::lock_guard lock(m_mutex);
    return std::exchange(m_spare, QByteArray());
}

bool RecoveryWriter::finish(int timeoutMs)
{
    std::unique_lock lock(m_mutex);
    return m_done.wait_for(lock, std::chrono::milliseconds(timeoutMs),
                           [this] { return m_queue.empty() && !m_busy; });
}

void RecoveryWriter::run()
{
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_stopping || !m_queue.empty(); });
        if (m_queue.empty())
            return; // stopping, and nothing left to do
        Request request = std::move(m_queue.front());
        m_queue.pop_front();
        m_busy = true;
        lock.unlock();
        if (request.remove) {
            m_store.removeOwn();
        } else if (auto written = m_store.write(request.data); !written.ok() && m_failed) {
            m_failed(written.error().message);
        }
        lock.lock();
        if (!request.remove)
            m_spare = std::move(request.data.text);
        request = Request{};
        m_busy = false;
        m_done.notify_all();
    }
}

} // namespace zuno
