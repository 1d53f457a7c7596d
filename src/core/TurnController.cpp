#include "board/BoardTables.hpp"
#include "board/Die.hpp"
#include "core/Game.hpp"
#include "core/ScreenFit.hpp"
#include "core/TurnRules.hpp"
#include "players/StatusPanel.hpp"

#include <algorithm>

namespace {
/// Each animation frame waits this much longer than the one before, so the die slows down.
const sf::Int32 dieDelayStepMs = 7;
const sf::Time pauseAfterRoll = sf::seconds(1.f);

/// Whether W plays a turn: not while the sofa view shows the podium.
bool turnsGoOn(bool sofaView, const std::vector<Player>& players) {
    return !sofaView || !roundOver(standings(players));
}

/// The game as the phones are shown it.
PhoneTable phoneTable(const std::vector<Player>& players, const FieldTexts& texts,
                      int currentPlayer, bool rolling, bool over) {
    PhoneTable table;
    for (std::size_t seat = 0; seat < players.size(); ++seat) {
        const Player& player = players[seat];
        const auto mark = player.mark.getString().toUtf8();
        table.players.push_back({player.name,
                                 slotColour(static_cast<int>(seat)),
                                 player.standing(),
                                 texts[player.taskField].text,
                                 {mark.begin(), mark.end()}});
    }
    table.roller = whoWouldRoll(standings(players), currentPlayer);
    table.rolling = rolling;
    table.over = over;
    return table;
}
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
    if (phoneSeats) {
        const std::optional<PhoneCall> call = phoneSeats->takeCall();
        phoneHandled = call.has_value();
        if (call) {
            answerPhone(*call);
        }
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
    case Command::toggleSound: sound.toggle(); break;
    case Command::newRound: newRound(); break;
    case Command::toggleInvitation: lobbyShown = !lobbyShown && phoneSeats.has_value(); return;
    case Command::none: return;
    }
    // A turn cut short by Escape is no turn: the game saved before it is the one to go on with.
    shareChange(asked != Command::toggleSound && isOpen());
}

void Game::answerPhone(const PhoneCall& call) {
    using Kind = PhoneCall::Kind;
    switch (call.kind) {
    case Kind::none: return;
    case Kind::away: players[call.seat].setAway(true); return;
    case Kind::roll: playTurn(); break;
    case Kind::newRound: newRound(); break;
    case Kind::join: addPlayer(); [[fallthrough]];
    case Kind::take:
    case Kind::leave: {
        Player& seated = players[call.seat];
        if (!call.name.empty()) {
            seated.setName(call.name);
            fitPlayer(seated);
            markPlayers();
        }
        // Its phone is back, or left the seat to the keyboard: the name is not greyed either way.
        seated.setAway(false);
        break;
    }
    }
    // A roll cut short by Escape is no turn, as at the keyboard.
    shareChange(isOpen());
}

void Game::shareChange(bool save) {
    if (save && options.save) {
        options.save(saved());
    }
    if (phoneSeats) {
        showJoined();
        phoneSeats->show(phoneTable(players, fieldTexts, currentPlayer,
                                    diceState == DieState::rolling,
                                    !turnsGoOn(options.sofaView, players)));
    }
}

bool Game::pollWindowEvent(sf::Event& arrived) const {
    if (options.pollEvent) {
        return options.pollEvent(arrived);
    }
    return window != nullptr && window->pollEvent(arrived);
}

bool Game::keepEventsForLater() {
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
    return isOpen();
}

void Game::close() {
    closeRequested = true;
    if (window != nullptr) {
        window->close();
    }
}

void Game::addPlayer() {
    Player& newcomer = players.emplace_back(font);
    newcomer.standOn(startField, startField, fieldTexts);
    newcomer.placeToken(fields[startField].rect.getPosition());
    newcomer.setSlot(playerCount);
    fitPlayer(newcomer);
    arrangeTokens(startField);
    ++playerCount;
    markPlayers();
    sound.cue(Cue::join);
    showSofa();
}

void Game::removePlayer() {
    // The tokens left on the field keep their places until it is arranged again.
    players.pop_back();
    --playerCount;
    currentPlayer = 0;
    noteFinish(finishOrder, playerCount, false);
    if (cardPlayer == playerCount) {
        cardPlayer = -1;
    }
    markPlayers();
    sound.cue(Cue::leave);
    showSofa();
}

void Game::newRound() {
    // Only once the round is over: a slip of N mid-game would lose it.
    if (turnsGoOn(options.sofaView, players)) {
        return;
    }
    for (Player& player : players) {
        player.setStanding(Standing{}, fieldTexts);
        fitPlayer(player);
    }
    arrangeTokens(startField);
    finishOrder.clear();
    lobbyShown = phoneSeats.has_value();
    currentPlayer = 0;
    markedRow = currentPlayer;
    currentPlayerMarker.setPosition(markerPosition(markedRow));
    cardPlayer = -1;
    showSofa();
}

void Game::playTurn() {
    if (!turnsGoOn(options.sofaView, players)) {
        return;
    }
    Standings standing = standings(players);
    currentPlayer = findRoller(standing, currentPlayer);
    // Every player the search passed over while they waited has sat out a turn.
    for (int seat = 0; seat < playerCount; ++seat) {
        while (players[seat].turnsToWait > standing[seat].turnsToWait) {
            players[seat].consumeWaitTurn();
        }
    }
    markedRow = currentPlayer;
    currentPlayerMarker.setPosition(markerPosition(markedRow));
    cardPlayer = -1;
    lobbyShown = false;
    showSofa();
    // Before the die holds up this thread for seconds: the phones show it meanwhile.
    if (phoneSeats) {
        phoneSeats->rollStarts(currentPlayer);
    }

    const int face = rollDie();
    if (!isOpen()) {
        return;
    }
    moveRoller(players[currentPlayer], face);
    if (options.sofaView) {
        fitPlayer(players[currentPlayer]);
        cardPlayer = currentPlayer;
        showSofa();
    }
    currentPlayer = nextPlayer(currentPlayer, playerCount);
}

int Game::rollDie() {
    const int frames =
        options.drawFrameCount
            ? options.drawFrameCount()
            : std::uniform_int_distribution<int>(minimumDieFrames, maximumDieFrames)(randomEngine);
    diceState = DieState::rolling;
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
        sound.cue(frame == frames - 1 ? Cue::knock : Cue::rattle);
        render();
        const sf::Time shown = pacer.now();
        if (frame == 0) {
            firstShown = shown;
        }
        due += sf::milliseconds(dieDelayStepMs * frame) +
               (frame == frames - 1 ? pauseAfterRoll : sf::Time::Zero);
        pacer.pause(std::max(sf::Time::Zero, firstShown + due - shown),
                    [this] { return keepEventsForLater(); });
    }
    diceState = DieState::idle;
    return face;
}

void Game::moveRoller(Player& roller, int face) {
    const int oldField = roller.position;
    const Move move = moveOf(oldField, face + 1, fields);

    // On an overshoot the token visits the goal before it bounces back.
    if (move.bounces) {
        roller.setField(goalField, std::string());
        arrangeTokens(goalField);
    }
    roller.standOn(move.reached, move.reached, fieldTexts);
    if (move.sitsOut) {
        roller.startWaiting();
        sound.cue(Cue::sitOut);
    }
    arrangeTokens(move.reached);
    arrangeTokens(oldField);

    if (move.end != move.reached) {
        roller.standOn(move.end, move.taskField, fieldTexts);
        arrangeTokens(move.reached);
        arrangeTokens(move.end);
        sound.cue(move.end > move.reached ? Cue::jumpForward : Cue::jumpBack);
    }

    const bool wasFinished = roller.finished;
    roller.finished = finishedAfter(wasFinished, roller.position);
    noteFinish(finishOrder, currentPlayer, roller.finished);
    if (roller.finished && !wasFinished) {
        sound.cue(Cue::fanfare);
    }
}
