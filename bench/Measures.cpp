#include "Measures.hpp"

#include "players/Standing.hpp"
#include "players/StatusPanel.hpp"

#include <X11/keysym.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <thread>
#include <unistd.h>

long residentKilobytes(int pid) {
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(status, line);) {
        if (line.rfind("VmRSS:", 0) == 0) {
            return std::stol(line.substr(6));
        }
    }
    return -1;
}

bool boardShown(const XScreen& screen) {
    return screen.pixel(138, 98) == sf::Color(0, 126, 255);
}
const sf::IntRect boardPixel(138, 98, 1, 1);

const sf::IntRect lastRowPixel(1105, 805, 1, 1);
const sf::IntRect lobbyCodePixel(92, 112, 1, 1);
const sf::Color lastRowColour = slotColour(maxPlayers - 1);

bool waitForPixel(XScreen& screen, const sf::IntRect& pixel, sf::Color colour, bool other,
                  std::chrono::milliseconds timeout) {
    return screen.waitFor(
        [&pixel, colour, other](const XScreen& s) {
            return (s.pixel(pixel.left, pixel.top) == colour) != other;
        },
        timeout, pixel);
}

bool awaitBoard(XScreen& screen, benchmark::State& state) {
    if (screen.waitFor(boardShown, std::chrono::seconds(15), boardPixel)) {
        return true;
    }
    state.SkipWithError("the board did not show within 15 s");
    return false;
}

// Nine players join, one tap at a time. Taps back to back would not do: with key repeat off,
// SFML takes a release and a press of one key at the same server time for a repeat, and
// drops both.
bool joinNinePlayers(XScreen& screen) {
    for (int player = 0; player < maxPlayers; ++player) {
        screen.tap(XK_KP_Add);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
    }
    return waitForPixel(screen, lastRowPixel, lastRowColour, false, std::chrono::seconds(5));
}

double cpuSeconds(int pid) {
    std::ifstream file("/proc/" + std::to_string(pid) + "/stat");
    const std::string stat{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    // The command name may hold spaces: the fields are counted from its closing parenthesis,
    // which is followed by the third; user and system time are the 14th and 15th.
    std::istringstream fields(stat.substr(stat.rfind(')') + 1));
    std::string skipped;
    for (int field = 3; field < 14; ++field) {
        fields >> skipped;
    }
    double user = 0;
    double system = 0;
    fields >> user >> system;
    return (user + system) / static_cast<double>(sysconf(_SC_CLK_TCK));
}

double cpuPercent(int pid) {
    const double before = cpuSeconds(pid);
    const auto started = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::seconds(8));
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - started;
    return 100.0 * (cpuSeconds(pid) - before) / elapsed.count();
}

const sf::IntRect dieCentre(960, 540, 1, 1);

namespace {
// From pressing a key to the first frame on the screen that shows the last row as expected;
// nothing when it did not come within five seconds.
std::optional<double> keyToScreenMs(XScreen& screen, unsigned long keysym, sf::Color expected) {
    const auto pressed = std::chrono::steady_clock::now();
    screen.press(keysym);
    const bool shown = waitForPixel(screen, lastRowPixel, expected, false, std::chrono::seconds(5));
    const std::chrono::duration<double, std::milli> elapsed =
        std::chrono::steady_clock::now() - pressed;
    screen.release(keysym);
    return shown ? std::optional<double>(elapsed.count()) : std::nullopt;
}
} // namespace

std::optional<KeyTimes> ninthRowKeys(XScreen& screen) {
    KeyTimes times;
    const int presses = 20;
    for (int press = 0; press < presses; ++press) {
        const bool leaving = press % 2 == 0;
        const std::optional<double> ms = keyToScreenMs(screen, leaving ? XK_KP_Subtract : XK_KP_Add,
                                                       leaving ? sf::Color::Black : lastRowColour);
        if (!ms) {
            return std::nullopt;
        }
        times.meanMs += *ms / presses;
        times.longestMs = std::max(times.longestMs, *ms);
        // Idle again, and pressed at another moment of the game's frame each time.
        std::this_thread::sleep_for(std::chrono::milliseconds(700 + 7 * press % 17));
    }
    return times;
}
