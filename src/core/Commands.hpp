#pragma once

#include <SFML/Config.hpp>
#include <SFML/Window/Event.hpp>

/// What an event asks of the game.
enum class Command {
    none,
    quit,
    addPlayer,
    removePlayer,
    playTurn,
    toggleSound,
    newRound,
    toggleInvitation
};

/// Whether the event ends the game: Escape, or the window being closed.
bool endsGame(const sf::Event& event);

/// Whether the event turns the sound off or on again: M.
bool togglesSound(const sf::Event& event);

/// Reads commands from the window's events, in the order they came. W, a pad's face buttons
/// and a left click (or a tap) play a turn alike; pads coming and going change nothing. A
/// player joins with `+` and leaves with `-`, typed on any keyboard: on X11 the main
/// keyboard's `+` has no key code of its own on some layouts (German) and shares one with `=`
/// on others (US), so those keys count by the character typed. The numpad's keys count by key
/// code, and the character that follows them is their twin and does not act again.
class CommandReader {
public:
    /// The command of the next event, given the players there are now.
    Command read(const sf::Event& event, int playerCount);

private:
    sf::Uint32 twinToSkip = 0;
};
