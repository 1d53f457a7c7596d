#include "core/DisplayCheck.hpp"

#ifndef _WIN32
#include <X11/Xlib.h>

#include <cstdlib>
#endif

std::string displayProblem() {
#ifdef _WIN32
    return {};
#else
    if (Display* display = XOpenDisplay(nullptr)) {
        XCloseDisplay(display);
        return {};
    }
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return "kraxelbrett: no X display to open: the DISPLAY variable is not set\n";
    }
    return std::string("kraxelbrett: cannot open the X display DISPLAY=") + name + "\n";
#endif
}
