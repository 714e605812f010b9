#pragma once
// The engine under the conversions in pieces: the pieces of a text are worked
// on by several threads (the calling one among them) and their results are
// handed on, in order, on the calling thread. No more than a few results wait
// at a time.
#include <QList>
#include <QtGlobal>

#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

namespace zuno::pieces {

// Runs `work(index)` for each of `count` pieces on `threads` threads and
// `take(index, result)` for each result in order on the calling thread; a
// `take` that answers false stops the run. What `work` or `take` throws (out
// of memory) stops everything and is thrown again once the threads are done.
template <typename Work, typename Take>
void runInOrder(qsizetype count, int threads, const Work &work, const Take &take)
{
    using Outcome = decltype(work(qsizetype()));
    std::vector<std::optional<Outcome>> results(static_cast<size_t>(count));
    std::mutex mutex;
    std::condition_variable changed;
    qsizetype next = 0;   // the next piece to work on
    qsizetype handed = 0; // the pieces taken
    bool stop = false;
    std::exception_ptr failure;
    auto fail = [&](std::unique_lock<std::mutex> &lock) {
        if (!lock.owns_lock())
            lock.lock();
        if (!failure)
            failure = std::current_exception();
        stop = true;
        changed.notify_all();
    };
    // Pieces worked on ahead of the one taken next, at most: enough that the
    // other threads go on while the calling one takes a result (writes it).
    const qsizetype ahead = 2 * qsizetype(threads) + 2;

    // Works on the piece `index` with the lock released.
    auto workOne = [&](std::unique_lock<std::mutex> &lock, qsizetype index) {
        lock.unlock();
        std::optional<Outcome> outcome;
        try {
            outcome.emplace(work(index));
        } catch (...) {
            fail(lock);
            return;
        }
        lock.lock();
        results[size_t(index)].emplace(std::move(*outcome));
        changed.notify_all();
    };
    auto helper = [&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return stop || next >= count || next < handed + ahead; });
            if (stop || next >= count)
                return;
            workOne(lock, next++);
        }
    };
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads && i < count; ++i)
        helpers.emplace_back(helper);

    {
        std::unique_lock lock(mutex);
        while (handed < count && !stop) {
            // The calling thread works too while the next result is not there.
            if (!results[size_t(handed)] && next < count && next < handed + ahead) {
                workOne(lock, next++);
                continue;
            }
            changed.wait(lock, [&] { return failure || results[size_t(handed)].has_value(); });
            if (failure)
                break;
            Outcome done = std::move(*results[size_t(handed)]);
            results[size_t(handed)].reset();
            lock.unlock();
            bool goOn = false;
            try {
                goOn = take(handed, std::move(done));
            } catch (...) {
                fail(lock);
                break;
            }
            lock.lock();
            ++handed;
            stop = stop || !goOn;
            changed.notify_all();
        }
        stop = true;
        changed.notify_all();
    }
    for (std::thread &thread : helpers)
        thread.join();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace zuno::pieces
