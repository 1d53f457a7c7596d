#include "core/Commands.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {
sf::Event key(sf::Keyboard::Key code) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = code;
    return event;
}

sf::Event typed(char character) {
    sf::Event event{};
    event.type = sf::Event::TextEntered;
    event.text.unicode = static_cast<sf::Uint32>(character);
    return event;
}
} // namespace

// The events one key press gives on X11, and what each of them asks of the game.
TEST(Commands, PlusAndMinusActOncePerPressOnAnyKeyboard) {
    using C = Command;
    const sf::Event released = [] {
        sf::Event event = key(sf::Keyboard::W);
        event.type = sf::Event::KeyReleased;
        return event;
    }();
    const sf::Event closed = [] {
        sf::Event event{};
        event.type = sf::Event::Closed;
        return event;
    }();
    const struct {
        const char* press;
        int players;
        std::vector<sf::Event> events;
        std::vector<Command> commands;
    } cases[] = {
        {"numpad plus", 0, {key(sf::Keyboard::Add), typed('+')}, {C::addPlayer, C::none}},
        {"numpad plus twice",
         3,
         {key(sf::Keyboard::Add), typed('+'), key(sf::Keyboard::Add), typed('+')},
         {C::addPlayer, C::none, C::addPlayer, C::none}},
        {"US shift and =", 0, {key(sf::Keyboard::Equal), typed('+')}, {C::none, C::addPlayer}},
        {"US =", 0, {key(sf::Keyboard::Equal), typed('=')}, {C::none, C::none}},
        {"German +", 8, {key(sf::Keyboard::Unknown), typed('+')}, {C::none, C::addPlayer}},
        {"plus with nine",
         9,
         {key(sf::Keyboard::Add), typed('+'), typed('+')},
         {C::none, C::none, C::none}},
        {"numpad minus", 2, {key(sf::Keyboard::Subtract), typed('-')}, {C::removePlayer, C::none}},
        {"main minus", 1, {key(sf::Keyboard::Hyphen), typed('-')}, {C::none, C::removePlayer}},
        {"minus with none",
         0,
         {key(sf::Keyboard::Subtract), typed('-'), typed('-')},
         {C::none, C::none, C::none}},
        {"W", 1, {key(sf::Keyboard::W), typed('w'), released}, {C::playTurn, C::none, C::none}},
        {"W with none", 0, {key(sf::Keyboard::W)}, {C::none}},
        {"Escape and close", 0, {key(sf::Keyboard::Escape), closed}, {C::quit, C::quit}},
    };
    for (const auto& c : cases) {
        CommandReader reader;
        std::vector<Command> commands;
        for (const sf::Event& event : c.events) {
            commands.push_back(reader.read(event, c.players));
        }
        EXPECT_EQ(commands, c.commands) << c.press << " with " << c.players << " players";
    }
}
