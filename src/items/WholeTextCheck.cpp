#include "items/WholeTextCheck.h"

#include <memory>

namespace zuno {

WholeTextCheck::WholeTextCheck(std::function<void(Result &)> done, QObject *parent)
    : QObject(parent), m_done(std::move(done))
{
}

WholeTextCheck::~WholeTextCheck()
{
    stop();
}

WholeTextCheck::Result WholeTextCheck::run(QByteArrayView text, bool recordLayout,
                                           const std::function<bool()> &stopped)
{
    Result result;
    result.recordLayout = recordLayout;
    result.problems = ItemMarks::findAll(text, recordLayout, stopped);
    if (!stopped || !stopped())
        result.records.build(text, recordLayout, stopped);
    return result;
}

void WholeTextCheck::start(QByteArrayView text, bool recordLayout)
{
    stop();
    m_stop = false;
    m_running = true;
    const quint64 generation = ++m_generation;
    m_thread = std::thread([this, text, recordLayout, generation] {
        auto result = std::make_shared<Result>(
            run(text, recordLayout, [this] { return m_stop.load(std::memory_order_relaxed); }));
        if (m_stop)
            return;
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation != m_generation)
                    return; // stopped since, or another check started
                if (m_thread.joinable())
                    m_thread.join();
                m_running = false;
                m_done(*result);
            },
            Qt::QueuedConnection);
    });
}

bool WholeTextCheck::stop()
{
    const bool wasRunning = m_running;
    m_stop = true;
    if (m_thread.joinable())
        m_thread.join();
    ++m_generation;
    m_running = false;
    return wasRunning;
}

} // namespace zuno
