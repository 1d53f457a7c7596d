#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>

#include <chrono>
#include <functional>
#include <vector>

// Xlib's own name for its display; its header would bring macros that clash with SFML.
struct _XDisplay; // NOLINT(bugprone-reserved-identifier)

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

    /// Reads the screen, or a part of it, once; pixel() then answers from that copy.
    void capture(sf::IntRect area = {});
    sf::Color pixel(int x, int y) const;

    /// Presses and releases the key with the given X keysym, as a keyboard would.
    void tap(unsigned long keysym);

    /// Presses the key down, or lets it go; tap() is the two, a moment apart.
    void press(unsigned long keysym);
    void release(unsigned long keysym);

    /// Captures the screen until the condition holds or the time is up.
    bool waitFor(const std::function<bool(const XScreen&)>& condition,
                 std::chrono::milliseconds timeout, sf::IntRect area = {});

private:
    _XDisplay* display = nullptr;
    sf::IntRect captured;
    std::vector<sf::Color> pixels;
};
