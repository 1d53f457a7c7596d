// Renders a busy game, for the README and as the tests' reference of a frame in play: nine
// players, two sharing the start, three on the goal, two sitting out, one task of six lines
// reaching over the rows below, the marker at the fifth row and the die mid-roll. Writes the
// window's pixels as PNG. Runs in the build folder (the game's assets) on an X display.

#include "core/DisplayCheck.hpp"
#include "core/Game.hpp"
#include "core/LeakCheck.hpp"

#include <SFML/Graphics/Texture.hpp>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_screenshot OUTPUT.png\n");
        return 2;
    }
    // Held for the whole run, as the game holds it until its window exists: on a fresh X
    // server nothing else keeps it from resetting between SFML's connections.
    const DisplayConnection display{std::locale::classic()};
    if (!display.problem().empty()) {
        std::fputs(display.problem().c_str(), stderr);
        return 1;
    }
    GameOptions options;
    options.frameLimit = 0;
    Game game(std::move(options));

    sf::Event add{};
    add.type = sf::Event::KeyPressed;
    add.key.code = sf::Keyboard::Add;
    const int fields[] = {0, 0, 17, 22, 22, 66, 101, 112, 112};
    for (const int field : fields) {
        game.handleEvent(add);
        game.players.back().setField(field, game.fieldTexts[field].text);
    }
    for (const int field : fields) {
        game.arrangeTokens(field);
    }
    game.players[5].startWaiting();
    game.players[6].startWaiting();
    game.players[6].consumeWaitTurn();
    game.players[3].setField(22, game.fieldTexts[110].text);
    game.currentPlayerMarker.setPosition(1070.f, 440.f);
    game.diceState = DieState::rolling;
    game.diceRect.left = 9 * 3;
    game.diceSprite.setTextureRect(game.diceRect);

    // Long enough for the farthest token to reach its place.
    for (int frame = 0; frame < 200; ++frame) {
        game.render();
    }
    sf::Texture shot;
    shot.create(game.window->getSize().x, game.window->getSize().y);
    shot.update(*game.window);
    const bool saved = shot.copyToImage().saveToFile(argv[1]);
    lookForLeaksNow();
    return saved ? 0 : 1;
}
