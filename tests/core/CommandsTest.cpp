#include "core/Commands.hpp"
#include "core/CommandLine.hpp"
#include "support/Events.hpp"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
sf::Event pad(unsigned int button, sf::Event::EventType type = sf::Event::JoystickButtonPressed) {
    sf::Event event{};
    event.type = type;
    event.joystickButton = {1, button};
    return event;
}

sf::Event typed(char character) {
    sf::Event event = key(sf::Keyboard::Unknown, sf::Event::TextEntered);
    event.text.unicode = static_cast<unsigned char>(character);
    return event;
}
} // namespace

// The events one key press gives on X11, and what each of them asks of the game, one letter
// per event: nothing, quit, add a player, remove one, play a turn, sound, new round, invitation.
TEST(Commands, PlusAndMinusActOncePerPressOnAnyKeyboard) {
    using K = sf::Keyboard;
    const struct {
        const char* press;
        int players;
        std::vector<sf::Event> events;
        std::string commands;
    } cases[] = {
        {"numpad plus", 0, {key(K::Add), typed('+')}, "a."},
        {"US =", 0, {key(K::Equal), typed('=')}, ".."},
        {"German +", 8, {key(K::Unknown), typed('+')}, ".a"},
        {"plus with nine", 9, {key(K::Add), typed('+'), typed('+')}, "..."},
        {"numpad minus", 2, {key(K::Subtract), typed('-')}, "r."},
        {"main minus", 1, {key(K::Hyphen), typed('-')}, ".r"},
        {"minus with none", 0, {key(K::Subtract), typed('-'), typed('-')}, "..."},
        {"W", 1, {key(K::W), typed('w'), key(K::W, sf::Event::KeyReleased)}, "t.."},
        {"M, with none", 0, {key(K::M), typed('m'), key(K::M, sf::Event::KeyReleased)}, "s.."},
        {"Escape, close", 0, {key(K::Escape), key(K::Unknown, sf::Event::Closed)}, "qq"},
        {"N, Q", 2, {key(K::N), typed('n'), key(K::Q), typed('q')}, "n.i."},
        {"N, Q with none", 0, {key(K::N), key(K::Q)}, ".i"},
        {"pad buttons 0 to 3, then 4",
         2,
         {pad(0), pad(0, sf::Event::JoystickButtonReleased), pad(1), pad(2), pad(3), pad(4)},
         "t.ttt."},
    };
    for (const auto& c : cases) {
        CommandReader reader;
        std::string commands;
        for (const sf::Event& event : c.events)
            commands += ".qartsni"[static_cast<int>(reader.read(event, c.players))];
        EXPECT_EQ(commands, c.commands) << c.press << " with " << c.players << " players";
    }
}

TEST(CommandLine, ADeckMuteAndPhonesInAnyOrderEachOnce) {
    using Action = CommandLine::Action;
    const struct {
        std::vector<std::string> arguments;
        std::string deck;
        Action action;
        bool mute;
        const char* phones = ""; // address|port|exact
    } cases[] = {
        {{"--mute", "english"}, "english", Action::play, true},
        {{"my deck.toml", "--mute"}, "my deck.toml", Action::play, true},
        {{"--mute", "--mute"}, "", Action::usage, false},
        {{"english", "deutsch"}, "", Action::usage, false},
        {{"--mute", "--help"}, "", Action::usage, false},
        {{"--mute", ""}, "", Action::usage, false},
        {{"-"}, "-", Action::play, false},
        {{"--check", "--mute"}, "--mute", Action::check, false},
        {{"--phones"}, "", Action::play, false, "0.0.0.0|8112|0"},
        {{"en", "--phones=127.0.0.1:9000", "--mute"}, "en", Action::play, true, "127.0.0.1|9000|1"},
        {{"--phones=[::1]:65535"}, "", Action::play, false, "::1|65535|1"},
        {{"--phones", "--phones=127.0.0.1:9000"}, "", Action::usage, false},
        {{"--phones=127.0.0.1"}, "", Action::usage, false},
        {{"--phones=:9000"}, "", Action::usage, false},
        {{"--phones=127.0.0.1:0"}, "", Action::usage, false},
        {{"--phones=127.0.0.1:65536"}, "", Action::usage, false},
        {{"--phones=127.0.0.1:9x"}, "", Action::usage, false},
        {{"--phones=127.0.0.1:x9"}, "", Action::usage, false},
        {{"--phones=127.0.0.1:99999999999999999999"}, "", Action::usage, false},
        {{"--phonesX"}, "", Action::usage, false},
    };
    for (const auto& c : cases) {
        const CommandLine read = readCommandLine(c.arguments);
        const std::string shown = testing::PrintToString(c.arguments);
        EXPECT_EQ(read.action, c.action) << shown;
        EXPECT_EQ(read.deck, c.deck) << shown;
        EXPECT_EQ(read.mute, c.mute) << shown;
        const std::string phones = read.phones ? read.phones->address + "|" +
                                                     std::to_string(read.phones->port) + "|" +
                                                     std::to_string(read.phones->exact)
                                               : "";
        EXPECT_EQ(phones, c.phones) << shown;
    }
}
