#include "core/Game.hpp"

#include "board/BoardTables.hpp"
#include "board/TextEncoding.hpp"
#include "core/Layout.hpp"

namespace {
const char* const fontPath = "assets/SmallMemory.ttf";
const sf::Color background{0, 0, 0, 255};
} // namespace

Game::Game() : Game(GameOptions{}) {}

Game::Game(GameOptions gameOptions) : options(std::move(gameOptions)) {
    initWindow();
    fieldTexts = initializeFieldTexts();
    setUpBoard();
}

Game::~Game() {
    delete window;
}

void Game::initWindow() {
    // A mode no display offers, so that SFML opens the window in the display's best
    // full-screen mode.
    videoMode.height = 600;
    videoMode.width = 800;
    if (options.openWindow) {
        window = new sf::RenderWindow(videoMode, toDisplayString("Kraxelbrett"),
                                      sf::Style::Fullscreen, sf::ContextSettings());
        window->setView(letterboxView(window->getSize()));
        window->setFramerateLimit(options.frameLimit);
    }
    font.loadFromFile(fontPath);
}

bool Game::isOpen() const {
    return window != nullptr ? window->isOpen() : !closeRequested;
}

void Game::render() {
    if (window == nullptr) {
        for (Player& player : players) {
            player.stepToken();
        }
        return;
    }

    window->clear(background);
    drawBoard();
    drawPlayers();
    if (playerCount != 0) {
        window->draw(currentPlayerMarker);
    }
    if (diceState == rollingDie) {
        window->draw(diceSprite);
    }
    window->display();
}

void Game::drawBoard() {
    for (const Field& field : fields) {
        window->draw(field.rect);
        window->draw(field.text);
    }
}

void Game::drawPlayers() {
    // A player's token goes under its own row but over every earlier player's row.
    for (Player& player : players) {
        player.stepToken();
        window->draw(player.token);
        window->draw(player.statusRow);
        window->draw(player.taskText);
        if (player.turnsToWait != 0) {
            window->draw(player.waitBadge);
            window->draw(player.waitText);
        }
    }
}
