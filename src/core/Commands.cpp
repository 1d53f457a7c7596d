#include "core/Commands.hpp"

#include "players/Standing.hpp"

namespace {
/// A pad's face buttons, numbered 0 to 3 on every pad SFML knows: any of them rolls, so a
/// pad passed around the sofa needs no explaining.
constexpr unsigned int padRollButtons = 4;

// A pad's face button, or a left click: a tap on a touch screen comes as one.
bool rollsAsW(const sf::Event& event) {
    return (event.type == sf::Event::JoystickButtonPressed &&
            event.joystickButton.button < padRollButtons) ||
           (event.type == sf::Event::MouseButtonPressed &&
            event.mouseButton.button == sf::Mouse::Left);
}
} // namespace

bool endsGame(const sf::Event& event) {
    return event.type == sf::Event::Closed ||
           (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Escape);
}

bool togglesSound(const sf::Event& event) {
    return event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::M;
}

Command CommandReader::read(const sf::Event& event, int playerCount) {
    const sf::Uint32 twin = twinToSkip;
    twinToSkip = 0;
    if (endsGame(event)) {
        return Command::quit;
    }
    if (togglesSound(event)) {
        return Command::toggleSound;
    }

    Command asked = Command::none;
    if (event.type == sf::Event::KeyPressed) {
        // Only the key code counts: W with Shift or Control plays a turn too.
        switch (event.key.code) {
        case sf::Keyboard::Add:
            asked = Command::addPlayer;
            twinToSkip = '+';
            break;
        case sf::Keyboard::Subtract:
            asked = Command::removePlayer;
            twinToSkip = '-';
            break;
        case sf::Keyboard::W: asked = Command::playTurn; break;
        case sf::Keyboard::N: asked = Command::newRound; break;
        case sf::Keyboard::Q: asked = Command::toggleInvitation; break;
        default: break;
        }
    } else if (rollsAsW(event)) {
        asked = Command::playTurn;
    } else if (event.type == sf::Event::TextEntered && event.text.unicode != twin) {
        if (event.text.unicode == '+') {
            asked = Command::addPlayer;
        } else if (event.text.unicode == '-') {
            asked = Command::removePlayer;
        }
    }

    if (asked == Command::addPlayer) {
        return playerCount < maxPlayers ? asked : Command::none;
    }
    // The invitation is for those yet to join.
    if (asked == Command::toggleInvitation) {
        return asked;
    }
    return playerCount > 0 ? asked : Command::none;
}
