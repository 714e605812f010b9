#pragma once
// Writes the recovery data on a thread of its own, so that a large text
// never holds up typing: the caller hands over the entry's base (a text it
// holds anyway, shared, or what names the base) and then the journal's
// records in batches, and goes on. A whole new entry makes what waits for
// the old one needless; a removal cancels everything before it. Requests
// are carried out in the order given. A journal that grows large is
// compacted here, into a whole text.

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

    // A new entry (hidden: the document has no unsaved changes now).
    void write(RecoveryData data, bool hidden = false);
    // Records for the journal of the entry last written.
    void append(QByteArray records);
    void setHidden(bool hidden);
    void remove();
    // The journal is written again as one whole text once it is larger.
    void setCompactLimit(qint64 bytes);
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
