#include "board/BoardTables.hpp"
#include "board/Die.hpp"
#include "core/Game.hpp"
#include "core/Layout.hpp"
#include "core/TurnRules.hpp"
#include "players/StatusPanel.hpp"

#include <SFML/System/Sleep.hpp>

#include <algorithm>

namespace {
/// Each animation frame waits this much longer than the one before, so the die slows down.
const sf::Int32 dieDelayStepMs = 7;
const sf::Time pauseAfterRoll = sf::seconds(1.f);
/// The longest the game sleeps without looking at the window's events: Escape acts at once.
const sf::Time eventPollInterval = sf::milliseconds(10);
} // namespace

void Game::update() {
    hasEvent = false;
    phoneHandled = false;
    if (!isOpen()) {
        return;
    }
    if (!pendingEvents.empty()) {
        event = pendingEvents.front();
        pendingEvents.pop_front();
        hasEvent = true;
    } else {
        hasEvent = pollWindowEvent(event);
    }
    if (hasEvent) {
        handleEvent(event);
        return;
    }
    // What the phones ask comes after the window's events, one a frame as they do, and
    // waits during a turn as they do.
    takePhoneArrivals();
    if (!pendingArrivals.empty()) {
        const PhoneArrival arrival = std::move(pendingArrivals.front());
        pendingArrivals.pop_front();
        handleArrival(arrival);
        phoneHandled = true;
    }
}

void Game::handleEvent(const sf::Event& happened) {
    if (happened.type == sf::Event::Resized) {
        fitToWindow({happened.size.width, happened.size.height});
        return;
    }
    const Command asked = commands.read(happened, playerCount);
    switch (asked) {
    case Command::quit: close(); break;
    case Command::addPlayer: addPlayer(); break;
    case Command::removePlayer: removePlayer(); break;
    case Command::playTurn: playTurn(); break;
    case Command::toggleSound: toggleSound(); break;
    case Command::newRound: newRound(); break;
    case Command::none: break;
    }
    if (asked != Command::none) {
        tellPhones();
    }
    // A turn cut short by Escape is no turn: the game saved before it is the one to go on with.
    if (asked != Command::none && asked != Command::toggleSound && isOpen()) {
        saveGame();
    }
}

bool Game::pollWindowEvent(sf::Event& arrived) const {
    if (options.pollEvent) {
        return options.pollEvent(arrived);
    }
    return window != nullptr && window->pollEvent(arrived);
}

void Game::keepEventsForLater() {
    // Ending the game cannot wait for the turn: nothing of it is kept anyway. Nor can a new
    // size.
    sf::Event arrived{};
    while (isOpen() && pollWindowEvent(arrived)) {
        if (endsGame(arrived)) {
            close();
        } else if (arrived.type == sf::Event::Resized || togglesSound(arrived)) {
            // The die's frames are drawn meanwhile, and must not be stretched; a group that
            // wants quiet wants it before the die has stopped.
            handleEvent(arrived);
        } else {
            pendingEvents.push_back(arrived);
        }
    }
}

void Game::close() {
    closeRequested = true;
    if (window != nullptr) {
        window->close();
    }
}

void Game::addPlayer() {
    players.emplace_back(font);
    Player& newcomer = players.back();
    newcomer.setField(startField, fieldTexts[startField].text);
    newcomer.taskField = startField;
    newcomer.placeToken(fields[startField].rect.getPosition());
    newcomer.setSlot(playerCount);
    fitPlayer(newcomer);
    arrangeTokens(startField);
    ++playerCount;
    cue(Cue::join);
    showSofa();
}

void Game::removePlayer() {
    // The tokens left on the field keep their places until it is arranged again.
    releaseSeat(playerCount - 1, "removed");
    players.pop_back();
    --playerCount;
    currentPlayer = 0;
    finishOrder.erase(std::remove(finishOrder.begin(), finishOrder.end(), playerCount),
                      finishOrder.end());
    if (cardPlayer == playerCount) {
        cardPlayer = -1;
    }
    cue(Cue::leave);
    showSofa();
}

bool Game::turnsGoOn() const {
    return !options.sofaView || !roundOver(players);
}

void Game::newRound() {
    // Only once the round is over: a slip of N mid-game would lose it.
    if (turnsGoOn()) {
        return;
    }
    for (Player& player : players) {
        player.setField(startField, fieldTexts[startField].text);
        player.taskField = startField;
        player.finished = false;
        player.turnsToWait = 0;
        player.waitText.setString("0");
        fitPlayer(player);
    }
    arrangeTokens(startField);
    finishOrder.clear();
    currentPlayer = 0;
    currentPlayerMarker.setPosition(markerPosition(currentPlayer));
    cardPlayer = -1;
    showSofa();
}

void Game::playTurn() {
    if (!turnsGoOn()) {
        return;
    }
    currentPlayer = findRoller(players, currentPlayer);
    currentPlayerMarker.setPosition(markerPosition(currentPlayer));
    cardPlayer = -1;
    showSofa();
    // Before the die holds up this thread for seconds: the phones show it meanwhile.
    if (options.phones != nullptr) {
        for (const auto& [phone, seat] : phoneSeats) {
            options.phones->send(phone, rollingMessage(currentPlayer));
        }
    }

    const int face = rollDie();
    if (!isOpen()) {
        return;
    }
    Player& roller = players[currentPlayer];
    const bool wasFinished = roller.finished;
    moveRoller(roller, face);
    noteFinish(currentPlayer, wasFinished);
    if (options.sofaView) {
        fitPlayer(roller);
        cardPlayer = currentPlayer;
        showSofa();
    }

    currentPlayer = nextPlayer(currentPlayer, playerCount);
}

void Game::noteFinish(int roller, bool wasFinished) {
    if (players[roller].finished == wasFinished) {
        return;
    }
    if (players[roller].finished) {
        finishOrder.push_back(roller);
    } else {
        finishOrder.erase(std::remove(finishOrder.begin(), finishOrder.end(), roller),
                          finishOrder.end());
    }
}

int Game::rollDie() {
    const int frames =
        options.drawFrameCount
            ? options.drawFrameCount()
            : std::uniform_int_distribution<int>(minimumDieFrames, maximumDieFrames)(randomEngine);
    diceState = rollingDie;
    int face = 0;
    // Each frame is due when the waits before it have passed since the first was shown: the
    // time a frame takes to draw comes out of its wait, and the turn keeps its length.
    sf::Time firstShown;
    sf::Time due;
    for (int frame = 0; frame < frames && isOpen(); ++frame) {
        face = (face + 1) % dieFaces;
        diceRect.left = dieFaceRect(face).left;
        diceSprite.setTextureRect(diceRect);
        // The last face is the die coming to rest.
        cue(frame == frames - 1 ? Cue::knock : Cue::rattle);
        render();
        const sf::Time shown = now();
        if (frame == 0) {
            firstShown = shown;
        }
        due += sf::milliseconds(dieDelayStepMs * frame);
        if (frame == frames - 1) {
            due += pauseAfterRoll;
        }
        pause(std::max(sf::Time::Zero, firstShown + due - shown));
    }
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
    roller.taskField = reached;
    if (reached == waitingField) {
        roller.startWaiting();
        cue(Cue::sitOut);
    }
    arrangeTokens(reached);
    arrangeTokens(oldField);

    // A jump is taken once: the target's own jump is not followed.
    const int target = fields[reached].target;
    if (target != fields[reached].index) {
        const int taskField = taskFieldAfterJump(reached, target, fields[target].target);
        roller.setField(target, fieldTexts[taskField].text);
        roller.taskField = taskField;
        arrangeTokens(reached);
        arrangeTokens(target);
        cue(target > reached ? Cue::jumpForward : Cue::jumpBack);
    }

    if (roller.position == goalField) {
        roller.finished = !roller.finished;
        if (roller.finished) {
            cue(Cue::fanfare);
        }
    }
}

sf::Time Game::now() const {
    return options.now ? options.now() : sinceStart.getElapsedTime();
}

void Game::pause(sf::Time duration) {
    for (sf::Time left = duration; isOpen();) {
        const sf::Time slice = std::min(left, eventPollInterval);
        if (options.sleep) {
            options.sleep(slice);
        } else {
            sf::sleep(slice);
        }
        left -= slice;
        keepEventsForLater();
        if (left <= sf::Time::Zero) {
            break;
        }
    }
}
