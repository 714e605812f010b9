#pragma once
// Writes the recovery data on a thread of its own, so that a large text
// never holds up typing: the caller hands over a copy of the bytes and goes
// on. Only the latest data waiting to be written counts; a removal cancels
// the writes before it. Requests are carried out in the order given.

#include "recovery/RecoveryStore.h"

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace zuno {

class RecoveryWriter {
public:
    // `failed` is called on the writer's thread with the reason of a write
    // that did not succeed.
    RecoveryWriter(RecoveryStore &store, std::function<void(const QString &)> failed);
    // Carries out what is waiting, then ends the thread.
    ~RecoveryWriter();

    void write(RecoveryData data);
    void remove();
    // The buffer of the text last written, to be filled again: a buffer
    // whose pages are already in place is copied into several times faster
    // than a new one.
    QByteArray takeSpareBuffer();
    // Waits until everything handed over is carried out, at most
    // `timeoutMs`; false when the time ran out.
    bool finish(int timeoutMs);

private:
    struct Request {
        bool remove = false;
        RecoveryData data;
    };
    void run();

    RecoveryStore &m_store;
    std::function<void(const QString &)> m_failed;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_done;
    std::deque<Request> m_queue;
    QByteArray m_spare;
    bool m_busy = false;
    bool m_stopping = false;
    std::thread m_thread;
};

} // namespace zuno
