#pragma once

#include "XScreen.hpp"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <benchmark/benchmark.h>

#include <chrono>
#include <optional>

/// Measures of the real game as a person meets it, shared by the benchmarks.

/// The resident memory of a process, in kilobytes.
long residentKilobytes(int pid);

/// The board is on the screen: the first field's square.
bool boardShown(const XScreen& screen);
extern const sf::IntRect boardPixel;

/// The last player's row: there once nine have joined, black once the ninth has left.
extern const sf::IntRect lastRowPixel;
extern const sf::Color lastRowColour;

/// The top left of the lobby's QR code, in its white quiet zone.
extern const sf::IntRect lobbyCodePixel;

/// The middle of the die, over the board: the board's colour there when no die is shown.
extern const sf::IntRect dieCentre;

/// Long enough for a window to open and for the tokens to settle.
constexpr std::chrono::seconds settlingTime{2};

/// Captures the pixel until it shows the colour (or, with `other`, any other colour).
bool waitForPixel(XScreen& screen, const sf::IntRect& pixel, sf::Color colour, bool other,
                  std::chrono::milliseconds timeout);

/// Waits for the board on the screen; a game that does not show it fails the benchmark.
bool awaitBoard(XScreen& screen, benchmark::State& state);

/// Nine players join at the keyboard, one tap at a time.
bool joinNinePlayers(XScreen& screen);

/// CPU time, user and system, that the process with all its threads has used so far.
double cpuSeconds(int pid);

/// The share of one core that the process uses over eight seconds, in per cent.
double cpuPercent(int pid);

/// The time from a key to the first screen that shows its effect, in milliseconds.
struct KeyTimes {
    double meanMs = 0;
    double longestMs = 0;
};

/// Over the ninth of nine players leaving with numpad minus and joining with numpad plus, ten
/// times each; nothing when a key did not show within five seconds.
std::optional<KeyTimes> ninthRowKeys(XScreen& screen);
