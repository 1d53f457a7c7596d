#include "core/Commands.hpp"

#include <gtest/gtest.h>

#include <vector>

namespace {
sf::Event happened(sf::Event::EventType type, sf::Keyboard::Key code = sf::Keyboard::Unknown) {
    sf::Event event{};
    event.type = type;
    event.key.code = code;
    return event;
}

sf::Event key(sf::Keyboard::Key code) {
    return happened(sf::Event::KeyPressed, code);
}

sf::Event typed(char character) {
    sf::Event event = happened(sf::Event::TextEntered);
    event.text.unicode = static_cast<unsigned char>(character);
    return event;
}
} // namespace

// The events one key press gives on X11, and what each of them asks of the game.
TEST(Commands, PlusAndMinusActOncePerPressOnAnyKeyboard) {
    using K = sf::Keyboard;
    using C = Command;
    const struct {
        const char* press;
        int players;
        std::vector<sf::Event> events;
        std::vector<Command> commands;
    } cases[] = {
        {"numpad plus", 0, {key(K::Add), typed('+')}, {C::addPlayer, C::none}},
        {"numpad plus twice",
         3,
         {key(K::Add), typed('+'), key(K::Add)},
         {C::addPlayer, C::none, C::addPlayer}},
        {"US shift and =", 0, {key(K::Equal), typed('+')}, {C::none, C::addPlayer}},
        {"US =", 0, {key(K::Equal), typed('=')}, {C::none, C::none}},
        {"German +", 8, {key(K::Unknown), typed('+')}, {C::none, C::addPlayer}},
        {"plus with nine", 9, {key(K::Add), typed('+'), typed('+')}, {C::none, C::none, C::none}},
        {"numpad minus", 2, {key(K::Subtract), typed('-')}, {C::removePlayer, C::none}},
        {"main minus", 1, {key(K::Hyphen), typed('-')}, {C::none, C::removePlayer}},
        {"minus with none",
         0,
         {key(K::Subtract), typed('-'), typed('-')},
         {C::none, C::none, C::none}},
        {"W",
         1,
         {key(K::W), typed('w'), happened(sf::Event::KeyReleased, K::W)},
         {C::playTurn, C::none, C::none}},
        {"W with none", 0, {key(K::W)}, {C::none}},
        {"Escape, close", 0, {key(K::Escape), happened(sf::Event::Closed)}, {C::quit, C::quit}},
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
