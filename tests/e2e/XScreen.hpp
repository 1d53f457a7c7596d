#pragma once

#include <SFML/Graphics/Color.hpp>

#include <chrono>
#include <functional>
#include <vector>

struct _XDisplay;

/// The X server's screen as a person sees it: its pixels, and a keyboard to press keys on.
class XScreen {
public:
    XScreen();
    ~XScreen();
    XScreen(const XScreen&) = delete;
    XScreen& operator=(const XScreen&) = delete;

    bool connected() const { return display != nullptr; }
    int width() const;
    int height() const;

    /// Reads the whole screen once; pixel() then answers from that copy.
    void capture();
    sf::Color pixel(int x, int y) const;

    /// Presses and releases the key with the given X keysym, as a keyboard would.
    void tap(unsigned long keysym);

    /// Captures the screen until the condition holds or the time is up.
    bool waitFor(const std::function<bool(const XScreen&)>& condition,
                 std::chrono::milliseconds timeout);

private:
    _XDisplay* display = nullptr;
    int capturedWidth = 0;
    std::vector<sf::Color> pixels;
};
