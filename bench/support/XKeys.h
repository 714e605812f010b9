#pragma once
// Keys pressed as a keyboard would: through the X server (its XTEST
// extension, loaded at run time since only its library is installed), so
// that the window gets them by the same road as a user's. For the
// key-to-screen benchmark.
#include <ctime>

namespace zuno::bench {

// The wall clock in milliseconds, the clock Vim's reltime() reads too, so
// that a time taken here and one written by another process can be
// subtracted.
inline double wallMs()
{
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// This process's CPU time so far (every thread), in milliseconds.
inline double processCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) * 1e3 + double(now.tv_nsec) / 1e6;
}

// The keys the benchmark presses, as X names them (keysyms).
constexpr unsigned long KeyLetterX = 0x0078;
constexpr unsigned long KeyReturn = 0xff0d;
constexpr unsigned long KeyBackSpace = 0xff08;
constexpr unsigned long KeyLeft = 0xff51;
constexpr unsigned long KeyRight = 0xff53;

class XKeys {
public:
    XKeys();
    ~XKeys();
    XKeys(const XKeys &) = delete;
    XKeys &operator=(const XKeys &) = delete;

    bool usable() const { return display_ && fake_; }
    // The keyboard focus to `window` (an X window id), as a click would.
    void focus(unsigned long window);
    // The key of `keysym` pressed and let go; the requests leave at once.
    void press(unsigned long keysym);

private:
    void *library_ = nullptr;
    void *fake_ = nullptr;   // XTestFakeKeyEvent
    void *display_ = nullptr; // Display *
};

} // namespace zuno::bench
