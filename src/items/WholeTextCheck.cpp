#include "items/WholeTextCheck.h"

#include <memory>

namespace zuno {

namespace {
// A text up to this size is read on one thread.
constexpr qsizetype BesideFrom = qsizetype(1) << 20;
} // namespace

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
    // A List text's problems are found as its records are read, in one pass.
    if (!recordLayout) {
        result.records.build(text, false, stopped, &result.problems);
        return result;
    }
    // A Record text's problems and records are read side by side.
    std::thread problems;
    if (text.size() > BesideFrom)
        problems = std::thread([&] { result.problems = ItemMarks::findAll(text, recordLayout, stopped); });
    else
        result.problems = ItemMarks::findAll(text, recordLayout, stopped);
    result.records.build(text, recordLayout, stopped);
    if (problems.joinable())
        problems.join();
    return result;
}

void WholeTextCheck::start(QByteArrayView text, bool recordLayout, std::shared_ptr<const void> pin)
{
    stop();
    m_pin = std::move(pin);
    m_stop = false;
    m_found = false;
    m_running = true;
    const quint64 generation = ++m_generation;
    m_thread = std::thread([this, text, recordLayout, generation] {
        auto result = std::make_shared<Result>(
            run(text, recordLayout, [this] { return m_stop.load(std::memory_order_relaxed); }));
        if (m_stop)
            return;
        m_found = true;
        QMetaObject::invokeMethod(
            this,
            [this, result, generation] {
                if (generation != m_generation)
                    return; // stopped since, or another check started
                if (m_thread.joinable())
                    m_thread.join();
                m_pin.reset();
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
    m_pin.reset();
    ++m_generation;
    m_running = false;
    return wasRunning;
}

} // namespace zuno
