#pragma once

#include "core/Game.hpp"

#include <SFML/Window/Event.hpp>

#include <memory>
#include <vector>

/// A game without a window that never waits: its die shows the values it is given, one per
/// roll, and it records every wait a turn asks for.
struct TestGame {
    explicit TestGame(std::vector<int> dieValues = {}) : values(std::move(dieValues)) {
        GameOptions options;
        options.openWindow = false;
        options.sleep = [this](sf::Time time) {
            waits.push_back({time, game->diceState, game->diceSprite.getTextureRect().left});
        };
        options.drawFrameCount = [this] {
            // A value v is shown after 29 + v frames: the face steps once per frame from 0.
            const int value = next < values.size() ? values[next++] : 1;
            return 29 + value;
        };
        game = std::make_unique<Game>(std::move(options));
    }

    /// Adds players and puts each on its field, settled there.
    void seat(const std::vector<int>& fields) const {
        for (const int field : fields) {
            press(sf::Keyboard::Add);
            game->players.back().setField(field, game->fieldTexts[field].text);
        }
        for (const int field : fields) {
            game->arrangeTokens(field);
        }
        settle();
    }

    void press(sf::Keyboard::Key key) const {
        sf::Event event{};
        event.type = sf::Event::KeyPressed;
        event.key.code = key;
        game->handleEvent(event);
    }

    /// Draws frames until no token has a waypoint left.
    void settle() const {
        for (int frame = 0; frame < 1000; ++frame) {
            game->render();
        }
    }

    /// A wait a turn asked for, with what the die showed meanwhile.
    struct Wait {
        sf::Time time;
        int diceState;
        int faceLeft;
    };

    std::vector<int> values;
    std::size_t next = 0;
    std::vector<Wait> waits;
    std::unique_ptr<Game> game;
};
