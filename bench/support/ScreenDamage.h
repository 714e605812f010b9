#pragma once
// The screen's changes, as the X server tells them: for the key-to-screen
// benchmark, one clock for every editor measured.
#include <condition_variable>
#include <mutex>
#include <optional>
#include <thread>

namespace zuno::bench {

// When the screen next changes, as the X server itself tells it (its DAMAGE
// extension on the root window, through libXdamage loaded at run time):
// the same clock for any program, stopped once the server has drawn the
// pixels, whatever toolkit sent them. Xvfb runs no compositor, so every
// window draws to the screen and the root sees it.
class ScreenDamage {
public:
    ScreenDamage();
    ~ScreenDamage();
    ScreenDamage(const ScreenDamage &) = delete;
    ScreenDamage &operator=(const ScreenDamage &) = delete;

    bool usable() const { return damage_ != 0; }
    // Forgets every change so far: the next one is the one waited for.
    void arm();
    // The wall time (wallMs) of the first change after arm(), or a negative
    // value when none came within `deadlineMs`.
    double waitForChange(double deadlineMs);

private:
    void *library_ = nullptr;
    void *display_ = nullptr; // Display *
    unsigned long damage_ = 0;
    int eventBase_ = 0;
};

// Waits for the screen's next change on a thread of its own, started once,
// so that the window's thread stays free to draw what it waits for.
class DamageWatcher {
public:
    explicit DamageWatcher(ScreenDamage &screen) : screen_(screen), thread_([this] { run(); }) {}
    ~DamageWatcher()
    {
        {
            std::lock_guard lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        thread_.join();
    }
    // Forgets what changed so far and starts waiting, at most `deadlineMs`.
    void start(double deadlineMs)
    {
        screen_.arm();
        std::lock_guard lock(mutex_);
        deadlineMs_ = deadlineMs;
        result_.reset();
        armed_ = true;
        changed_.notify_all();
    }
    // What ScreenDamage::waitForChange answered (it keeps the deadline).
    double result()
    {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return result_.has_value(); });
        return *result_;
    }

private:
    void run()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            changed_.wait(lock, [this] { return armed_ || stopping_; });
            if (stopping_)
                return;
            armed_ = false;
            const double deadline = deadlineMs_;
            lock.unlock();
            const double shown = screen_.waitForChange(deadline);
            lock.lock();
            result_ = shown;
            changed_.notify_all();
        }
    }

    ScreenDamage &screen_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool armed_ = false;
    bool stopping_ = false;
    double deadlineMs_ = 0;
    std::optional<double> result_;
    std::thread thread_;
};

} // namespace zuno::bench
