#pragma once
// The check of a whole text (its problems and its record index) on a thread
// of its own, so that the window is usable while a large text is read. The
// text is read in place: whoever starts a check stops it before the text
// changes, and a check stopped never hands over its result, nor does one
// started before the last stop (a result read from another text would mark
// the wrong lines).
#include "items/ItemMarks.h"
#include "items/RecordIndex.h"

#include <QByteArrayView>
#include <QObject>

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

namespace zuno {

class WholeTextCheck : public QObject {
    Q_OBJECT
public:
    struct Result {
        bool recordLayout = false;
        std::vector<ItemMarks::Found> problems;
        RecordIndex records;
    };
    // `done` is called on this object's thread with each result handed over.
    WholeTextCheck(std::function<void(Result &)> done, QObject *parent = nullptr);
    ~WholeTextCheck() override;

    // Reads the whole text on the calling thread.
    static Result run(QByteArrayView text, bool recordLayout, const std::function<bool()> &stopped = {});

    // Starts reading `text` off this thread (a check under way stops first).
    // The text must stay as it is until the result is in or stop() is called;
    // `pin` (the edit control's, keeping it in place) is kept until then.
    void start(QByteArrayView text, bool recordLayout, std::shared_ptr<const void> pin = {});
    // Stops the check under way, whose result then never comes; answers
    // whether there was one.
    bool stop();
    bool running() const { return m_running; }
    // Whether the check under way has found its result, which waits for
    // this thread's events to hand it over.
    bool found() const { return m_found.load(); }

private:
    std::function<void(Result &)> m_done;
    std::thread m_thread;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_found{false};
    // Counts the checks started and stopped: a result comes only from the
    // check that is still the last.
    quint64 m_generation = 0;
    bool m_running = false;
    std::shared_ptr<const void> m_pin;
};

} // namespace zuno
