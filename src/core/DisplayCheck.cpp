#include "core/DisplayCheck.hpp"

#include "language/Phrase.hpp"

#ifndef _WIN32
#include <boost/locale/message.hpp>

#include <SFML/System/Err.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <GL/glx.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {
namespace locale = boost::locale;

/// A reset takes a few milliseconds; a display that stays away longer than this is not there.
constexpr auto resetGrace = std::chrono::seconds(2);
constexpr auto retryInterval = std::chrono::milliseconds(20);

Display* connect() {
    Display* display = XOpenDisplay(nullptr);
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return display;
    }
    const auto deadline = std::chrono::steady_clock::now() + resetGrace;
    while (display == nullptr && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(retryInterval);
        display = XOpenDisplay(nullptr);
    }
    return display;
}

std::string noDisplay(const std::locale& told) {
    const char* name = std::getenv("DISPLAY");
    if (name == nullptr || *name == '\0') {
        return locale::translate(
                   "kraxelbrett: no X display to open: the DISPLAY variable is not set\n")
            .str(told);
    }
    return phrase(told, locale::translate("kraxelbrett: cannot open the X display DISPLAY={1}\n"),
                  name);
}

bool hasAttribute(Display* display, XVisualInfo& visual, int attribute) {
    int value = 0;
    return glXGetConfig(display, &visual, attribute, &value) == 0 && value != 0;
}

// SFML draws with OpenGL, in a double-buffered RGBA visual, and makes its window at the
// visual's depth without a border of the root's: so the visual must have the root's depth.
bool hasOpenGlVisual(Display* display, int screen, int depth) {
    XVisualInfo wanted{};
    wanted.screen = screen;
    wanted.depth = depth;
    int count = 0;
    XVisualInfo* visuals =
        XGetVisualInfo(display, VisualScreenMask | VisualDepthMask, &wanted, &count);
    bool found = false;
    for (int i = 0; i < count && !found; ++i) {
        found = hasAttribute(display, visuals[i], GLX_USE_GL) &&
                hasAttribute(display, visuals[i], GLX_RGBA) &&
                hasAttribute(display, visuals[i], GLX_DOUBLEBUFFER);
    }
    if (visuals != nullptr) {
        XFree(visuals);
    }
    return found;
}

std::string screenProblem(Display* display, const std::locale& told) {
    const int screen = DefaultScreen(display);
    const int depth = DefaultDepth(display, screen);
    if (!hasOpenGlVisual(display, screen, depth)) {
        return phrase(told,
                      locale::translate(
                          "kraxelbrett: the display shows {1} bits per pixel, and OpenGL offers no "
                          "true-colour window at that depth; the game needs a display of 16 or 24 "
                          "bits\n"),
                      depth);
    }
    // SFML says why in a line of its own; the game's one line is enough.
    std::streambuf* const sfmlSays = sf::err().rdbuf(nullptr);
    const bool noModes = sf::VideoMode::getFullscreenModes().empty();
    sf::err().rdbuf(sfmlSays);
    if (noModes) {
        return locale::translate("kraxelbrett: the display offers no full-screen mode (it lacks "
                                 "the XRandR extension)\n")
            .str(told);
    }
    return {};
}
} // namespace

DisplayConnection::DisplayConnection(const std::locale& told) {
    Display* connection = connect();
    display = connection;
    why = connection != nullptr ? screenProblem(connection, told) : noDisplay(told);
}

DisplayConnection::~DisplayConnection() {
    close();
}

void DisplayConnection::close() {
    if (display != nullptr) {
        XCloseDisplay(static_cast<Display*>(display));
        display = nullptr;
    }
}

#else
DisplayConnection::DisplayConnection(const std::locale&) {}
DisplayConnection::~DisplayConnection() = default;
void DisplayConnection::close() {}
#endif
