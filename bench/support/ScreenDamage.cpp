// Xlib stays in here: its macros (None, Status, ...) clash with Qt's names.
#include "ScreenDamage.h"
#include "XKeys.h"

#include <X11/Xlib.h>
#include <dlfcn.h>
#include <poll.h>

#include <cmath>

namespace zuno::bench {

namespace {
// libXdamage's, as its header (not installed) declares them.
using QueryDamage = int (*)(Display *, int *, int *);
using CreateDamage = unsigned long (*)(Display *, Drawable, int);
constexpr int ReportRawRectangles = 0; // an event for every drawing
constexpr int DamageNotify = 0;        // added to the extension's event base
} // namespace

ScreenDamage::ScreenDamage()
{
    library_ = dlopen("libXdamage.so.1", RTLD_NOW);
    display_ = XOpenDisplay(nullptr);
    if (!library_ || !display_)
        return;
    const auto query = reinterpret_cast<QueryDamage>(dlsym(library_, "XDamageQueryExtension"));
    const auto create = reinterpret_cast<CreateDamage>(dlsym(library_, "XDamageCreate"));
    auto *display = static_cast<Display *>(display_);
    int errorBase = 0;
    if (query && create && query(display, &eventBase_, &errorBase))
        damage_ = create(display, DefaultRootWindow(display), ReportRawRectangles);
    XSync(display, False);
}

ScreenDamage::~ScreenDamage()
{
    // Closing the display frees the damage object with it.
    if (display_)
        XCloseDisplay(static_cast<Display *>(display_));
    if (library_)
        dlclose(library_);
}

void ScreenDamage::arm()
{
    auto *display = static_cast<Display *>(display_);
    XSync(display, False);
    XEvent event;
    while (XPending(display) > 0)
        XNextEvent(display, &event);
}

double ScreenDamage::waitForChange(double deadlineMs)
{
    auto *display = static_cast<Display *>(display_);
    const double until = wallMs() + deadlineMs;
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == eventBase_ + DamageNotify)
                return wallMs();
        }
        const double left = until - wallMs();
        if (left <= 0)
            return -1;
        pollfd fd{ConnectionNumber(display), POLLIN, 0};
        poll(&fd, 1, int(std::ceil(left)));
    }
}

} // namespace zuno::bench
