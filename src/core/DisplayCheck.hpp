#pragma once

#include <locale>
#include <string>

/// A connection to the X display that the game's window is to open on, made before SFML is
/// asked for the window and held until the window holds one of its own. An X server resets
/// when its last client leaves and refuses connections meanwhile, and SFML connects and
/// disconnects more than once while it makes the window: on a server with no other client
/// (a kiosk) each of those moments would otherwise be a reset. On Windows there is nothing
/// to connect to and nothing to check.
class DisplayConnection {
public:
    /// Connects, giving a server that is resetting a moment to come back, and checks that the
    /// display can show the game.
    /// Its problem is told in the language given.
    explicit DisplayConnection(const std::locale& told);
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;

    /// Why the game cannot open its window there, in one line for the user; empty when it
    /// can. SFML itself aborts or crashes on such a display.
    const std::string& problem() const { return why; }

    /// Lets the connection go, once the game's window holds one of its own.
    void close();

private:
    /// Xlib's Display, kept out of this header: Xlib's macros clash with SFML's names.
    void* display = nullptr;
    std::string why;
};
