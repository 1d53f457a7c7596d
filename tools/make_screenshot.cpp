// Renders a game in play for the README: five players spread over the board, two sharing a
// field, one sitting out on field 66, the die in mid-roll. Writes the window's pixels as PNG.
// Runs in the build folder (the game's assets) on an X display.

#include "core/Game.hpp"

#include <SFML/Graphics/Texture.hpp>

#include <cstdio>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_screenshot OUTPUT.png\n");
        return 2;
    }
    Game game;

    sf::Event add{};
    add.type = sf::Event::KeyPressed;
    add.key.code = sf::Keyboard::Add;
    const int fields[] = {23, 66, 23, 52, 81};
    for (const int field : fields) {
        game.handleEvent(add);
        Player& player = game.players.back();
        player.setField(field, game.fieldTexts[field].text);
        game.arrangeTokens(field);
        game.arrangeTokens(0);
    }
    game.players[1].startWaiting();
    game.players[1].consumeWaitTurn();
    game.currentPlayer = 2;
    game.currentPlayerMarker.setPosition(1070.f, 240.f);
    game.diceState = rollingDie;
    game.diceRect.left = 9 * 3;
    game.diceSprite.setTextureRect(game.diceRect);

    for (int frame = 0; frame < 60; ++frame) {
        game.render();
    }
    sf::Texture shot;
    shot.create(game.window->getSize().x, game.window->getSize().y);
    shot.update(*game.window);
    return shot.copyToImage().saveToFile(argv[1]) ? 0 : 1;
}
