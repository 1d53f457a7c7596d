#include "board/BoardTables.hpp"
#include "board/Die.hpp"
#include "core/Game.hpp"
#include "core/TurnRules.hpp"
#include "players/StatusPanel.hpp"

#include <SFML/System/Sleep.hpp>

namespace {
/// Each animation frame waits this much longer than the one before, so the die slows down.
const sf::Int32 dieDelayStepMs = 7;
const sf::Time pauseAfterRoll = sf::seconds(1.f);
} // namespace

void Game::update() {
    hasEvent = window != nullptr && window->pollEvent(event);
    if (hasEvent) {
        handleEvent(event);
    }
}

void Game::handleEvent(const sf::Event& happened) {
    const bool escape =
        happened.type == sf::Event::KeyPressed && happened.key.code == sf::Keyboard::Escape;
    if (happened.type == sf::Event::Closed || escape) {
        closeRequested = true;
        if (window != nullptr) {
            window->close();
        }
    }
    if (happened.type != sf::Event::KeyPressed) {
        return;
    }

    // Only the key code counts: W with Shift or Control plays a turn too.
    const sf::Keyboard::Key key = happened.key.code;
    if (key == sf::Keyboard::Add && playerCount < maxPlayers) {
        addPlayer();
    } else if (playerCount == 0) {
        return;
    } else if (key == sf::Keyboard::Subtract) {
        removePlayer();
    } else if (key == sf::Keyboard::W) {
        playTurn();
    }
}

void Game::addPlayer() {
    players.emplace_back(font);
    Player& newcomer = players.back();
    newcomer.setField(startField, fieldTexts[startField].text);
    newcomer.placeToken(fields[startField].rect.getPosition());
    newcomer.setSlot(playerCount);
    arrangeTokens(startField);
    ++playerCount;
}

void Game::removePlayer() {
    // The tokens left on the field keep their places until it is arranged again.
    players.pop_back();
    --playerCount;
    currentPlayer = 0;
}

void Game::playTurn() {
    currentPlayer = findRoller(players, currentPlayer);
    currentPlayerMarker.setPosition(markerPosition(currentPlayer));

    const int face = rollDie();
    moveRoller(players[currentPlayer], face);

    currentPlayer = nextPlayer(currentPlayer, playerCount);
}

int Game::rollDie() {
    const int frames =
        options.drawFrameCount
            ? options.drawFrameCount()
            : std::uniform_int_distribution<int>(minimumDieFrames, maximumDieFrames)(randomEngine);
    diceState = rollingDie;
    int face = 0;
    for (int frame = 0; frame < frames; ++frame) {
        face = (face + 1) % dieFaces;
        diceRect.left = dieFaceRect(face).left;
        diceSprite.setTextureRect(diceRect);
        render();
        pause(sf::milliseconds(dieDelayStepMs * frame));
    }
    pause(pauseAfterRoll);
    diceState = idleDie;
    return face;
}

void Game::moveRoller(Player& roller, int face) {
    const int oldField = roller.position;
    const int steps = face + 1;

    // On an overshoot the token visits the goal before it bounces back.
    if (overshootsGoal(oldField, steps)) {
        roller.setField(goalField, std::string());
        arrangeTokens(goalField);
    }
    const int reached = moveTarget(oldField, steps);
    roller.setField(reached, fieldTexts[reached].text);
    if (reached == waitingField) {
        roller.startWaiting();
    }
    arrangeTokens(reached);
    arrangeTokens(oldField);

    // A jump is taken once: the target's own jump is not followed.
    const int target = fields[reached].target;
    if (target != fields[reached].index) {
        const int taskField = taskFieldAfterJump(reached, target, fields[target].target);
        roller.setField(target, fieldTexts[taskField].text);
        arrangeTokens(reached);
        arrangeTokens(target);
    }

    if (roller.position == goalField) {
        roller.finished = !roller.finished;
    }
}

void Game::pause(sf::Time duration) const {
    if (options.sleep) {
        options.sleep(duration);
    } else {
        sf::sleep(duration);
    }
}
