#include "core/Commands.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
sf::Event key(sf::Keyboard::Key code, sf::Event::EventType type = sf::Event::KeyPressed) {
    sf::Event event{};
    event.type = type;
    event.key.code = code;
    return event;
}

sf::Event typed(char character) {
    sf::Event event = key(sf::Keyboard::Unknown, sf::Event::TextEntered);
    event.text.unicode = static_cast<unsigned char>(character);
    return event;
}
} // namespace

// The events one key press gives on X11, and what each of them asks of the game, one letter
// per event: nothing, quit, add a player, remove one, play a turn.
TEST(Commands, PlusAndMinusActOncePerPressOnAnyKeyboard) {
    using K = sf::Keyboard;
    const struct {
        const char* press;
        int players;
        std::vector<sf::Event> events;
        std::string commands;
    } cases[] = {
        {"numpad plus", 0, {key(K::Add), typed('+')}, "a."},
        {"numpad plus twice", 3, {key(K::Add), typed('+'), key(K::Add)}, "a.a"},
        {"US shift and =", 0, {key(K::Equal), typed('+')}, ".a"},
        {"US =", 0, {key(K::Equal), typed('=')}, ".."},
        {"German +", 8, {key(K::Unknown), typed('+')}, ".a"},
        {"plus with nine", 9, {key(K::Add), typed('+'), typed('+')}, "..."},
        {"numpad minus", 2, {key(K::Subtract), typed('-')}, "r."},
        {"main minus", 1, {key(K::Hyphen), typed('-')}, ".r"},
        {"minus with none", 0, {key(K::Subtract), typed('-'), typed('-')}, "..."},
        {"W", 1, {key(K::W), typed('w'), key(K::W, sf::Event::KeyReleased)}, "t.."},
        {"W with none", 0, {key(K::W)}, "."},
        {"Escape, close", 0, {key(K::Escape), key(K::Unknown, sf::Event::Closed)}, "qq"},
    };
    for (const auto& c : cases) {
        CommandReader reader;
        std::string commands;
        for (const sf::Event& event : c.events) {
            commands += ".qart"[static_cast<int>(reader.read(event, c.players))];
        }
        EXPECT_EQ(commands, c.commands) << c.press << " with " << c.players << " players";
    }
}
