// Xlib stays in here: its macros (None, Status, ...) clash with Qt's names.
#include "XKeys.h"

#include <X11/Xlib.h>
#include <dlfcn.h>

namespace zuno::bench {

namespace {
using FakeKey = int (*)(Display *, unsigned int, int, unsigned long);
} // namespace

XKeys::XKeys()
{
    library_ = dlopen("libXtst.so.6", RTLD_NOW);
    if (library_)
        fake_ = dlsym(library_, "XTestFakeKeyEvent");
    display_ = XOpenDisplay(nullptr);
}

XKeys::~XKeys()
{
    if (display_)
        XCloseDisplay(static_cast<Display *>(display_));
    if (library_)
        dlclose(library_);
}

void XKeys::focus(unsigned long window)
{
    auto *display = static_cast<Display *>(display_);
    XRaiseWindow(display, window);
    XSetInputFocus(display, window, RevertToParent, CurrentTime);
    XSync(display, False);
}

void XKeys::press(unsigned long keysym)
{
    auto *display = static_cast<Display *>(display_);
    const auto fake = reinterpret_cast<FakeKey>(fake_);
    const unsigned int code = XKeysymToKeycode(display, keysym);
    fake(display, code, True, 0);
    fake(display, code, False, 0);
    XFlush(display);
}

} // namespace zuno::bench
