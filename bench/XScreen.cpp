#include "XScreen.hpp"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>

#include <chrono>
#include <cstdlib>
#include <thread>

namespace {

// An X server without -noreset refuses connections for a moment after its last client
// left, which is exactly when the next test connects.
Display* openDisplay() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    Display* display = XOpenDisplay(nullptr);
    while (display == nullptr && std::getenv("DISPLAY") != nullptr &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        display = XOpenDisplay(nullptr);
    }
    return display;
}

} // namespace

XScreen::XScreen() : display(openDisplay()) {}

XScreen::~XScreen() {
    if (display != nullptr) {
        XCloseDisplay(display);
    }
}

int XScreen::width() const {
    return DisplayWidth(display, DefaultScreen(display));
}

int XScreen::height() const {
    return DisplayHeight(display, DefaultScreen(display));
}

void XScreen::capture(sf::IntRect area) {
    captured = area.width > 0 ? area : sf::IntRect(0, 0, width(), height());
    const int w = captured.width;
    const int h = captured.height;
    XImage* image =
        XGetImage(display, DefaultRootWindow(display), captured.left, captured.top,
                  static_cast<unsigned>(w), static_cast<unsigned>(h), AllPlanes, ZPixmap);
    pixels.assign(static_cast<std::size_t>(w) * static_cast<std::size_t>(h), sf::Color::Black);
    if (image == nullptr) {
        return;
    }
    auto next = pixels.begin();
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const unsigned long value = XGetPixel(image, x, y);
            *next++ = sf::Color(static_cast<sf::Uint8>((value & image->red_mask) >> 16),
                                static_cast<sf::Uint8>((value & image->green_mask) >> 8),
                                static_cast<sf::Uint8>(value & image->blue_mask));
        }
    }
    XDestroyImage(image);
}

sf::Color XScreen::pixel(int x, int y) const {
    const auto row = static_cast<std::size_t>(y - captured.top);
    const auto column = static_cast<std::size_t>(x - captured.left);
    return pixels[row * static_cast<std::size_t>(captured.width) + column];
}

void XScreen::tap(unsigned long keysym) {
    press(keysym);
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    release(keysym);
}

void XScreen::press(unsigned long keysym) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), True, 0);
    XFlush(display);
}

void XScreen::release(unsigned long keysym) {
    XTestFakeKeyEvent(display, XKeysymToKeycode(display, keysym), False, 0);
    XFlush(display);
}

bool XScreen::waitFor(const std::function<bool(const XScreen&)>& condition,
                      std::chrono::milliseconds timeout, sf::IntRect area) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        capture(area);
        if (condition(*this)) {
            return true;
        }
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(area.width > 0 ? 1 : 50));
    }
}
