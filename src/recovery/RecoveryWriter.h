#pragma once
// Writes the recovery data on a thread of its own, so that a large text
// never holds up typing: the caller hands over a copy of the bytes and goes
// on. Only the latest data waiting to be written counts; a removal cancels
// the writes before it. Requests are carried out in the order given.

#include "recovery/RecoveryStore.h"

#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace zuno {

class RecoveryWriter {
public:
    // `failed` is called on the writer's thread, under the writer's lock,
    // with the reason of a write that did not succeed: it hands the reason
    // on and returns. The destructor waits at most `stopLimit` for the
    // thread.
    RecoveryWriter(RecoveryStore &store, std::function<void(const QString &)> failed,
                   std::chrono::milliseconds stopLimit = std::chrono::seconds(5));
    // Carries out what is waiting, then ends the thread. A thread that has
    // not come back from the disk within the limit (a hung file system) is
    // left to the end of the process: from then on it touches nothing of the
    // writer's owner, nor the store once it comes back from it.
    ~RecoveryWriter();

    void write(RecoveryData data);
    void remove();
    // The buffer of the text last written, to be filled again: a buffer
    // whose pages are already in place is copied into faster than a new one.
    QByteArray takeSpareBuffer();
    // Waits until everything handed over is carried out, at most
    // `timeoutMs`; false when the time ran out.
    bool finish(int timeoutMs);

private:
    // What the caller and the thread share. The thread holds it too, so it
    // outlives a writer that stopped waiting for the thread.
    struct Shared;
    static void run(const std::shared_ptr<Shared> &shared);

    std::shared_ptr<Shared> m_shared;
    std::chrono::milliseconds m_stopLimit;
    std::thread m_thread;
};

} // namespace zuno
