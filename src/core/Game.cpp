#include "core/Game.hpp"

#include "board/BoardSetUp.hpp"
#include "board/BoardTables.hpp"
#include "board/Die.hpp"
#include "board/TextEncoding.hpp"
#include "core/Assets.hpp"
#include "core/Redraw.hpp"
#include "core/ScreenFit.hpp"
#include "core/TurnRules.hpp"
#include "players/StatusPanel.hpp"
#include "players/TokenMark.hpp"
#include "players/TokenPath.hpp"

#include <algorithm>
#include <chrono>
#include <iostream>

namespace {
const sf::Vector2f markerSize{20.f, 20.f};
const sf::Color background{0, 0, 0, 255};
/// Each invitation is shown this long before the next address takes its turn.
const sf::Time inviteTurn = sf::seconds(8.f);
} // namespace

Game::Game() : Game(GameOptions{}) {}

Game::Game(GameOptions gameOptions)
    : options(std::move(gameOptions)), pacer(options.frameLimit, options.sleep, options.now),
      sound(options.sound, options.muted) {
    initWindow();
    sofaDrawing.speak(options.words);
    fieldTexts = options.fieldTexts ? *options.fieldTexts : initializeFieldTexts();
    if (options.phones != nullptr) {
        phoneSeats.emplace(*options.phones, options.fontPath.empty() ? fontPath : options.fontPath,
                           options.words);
        invite.build(options.phoneLinks, font, options.words);
        lobbyShown = true;
    }
    setUpBoard();
}

Game::~Game() {
    delete window;
}

void Game::initWindow() {
    if (options.openWindow) {
        videoMode = fullScreenMode(sf::VideoMode::getFullscreenModes(),
                                   sf::VideoMode::getDesktopMode().bitsPerPixel);
        window = new sf::RenderWindow(videoMode, toDisplayString("Kraxelbrett"),
                                      sf::Style::Fullscreen, sf::ContextSettings());
        window->setFramerateLimit(options.frameLimit);
        // A held key is one press: the desktop's repeats would each play a turn.
        window->setKeyRepeatEnabled(false);
    }
    if (assetReadable(fontPath, std::cerr, options.told)) {
        font.loadFromFile(fontPath);
    }
}

void Game::setUpBoard() {
    if (assetReadable(dieImagePath, std::cerr, options.told)) {
        diceTexture.loadFromFile(dieImagePath);
    }
    diceRect = dieFaceRect(0);
    setUpDieSprite(diceSprite, diceTexture, diceRect, layoutSize);

    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    randomEngine.seed(options.seed.value_or(static_cast<std::uint32_t>(now)));

    layOutFields(fields, fieldTexts, font);
    applyJumps(fields);
    fitToWindow(window != nullptr ? window->getSize() : sf::Vector2u(layoutSize));

    currentPlayerMarker.setFillColor(sf::Color::White);
    currentPlayerMarker.setSize(markerSize);
    currentPlayerMarker.setPosition(markerPosition(markedRow));
}

void Game::fitToWindow(sf::Vector2u size) {
    screenFit = fitToScreen(size);
    if (window != nullptr) {
        window->setView(letterboxView(size));
    }
    for (int field = 0; field < fieldCount; ++field) {
        fitText(fields[field].text, fieldTexts[field].characterSize, screenFit);
    }
    // Where the labels' glyphs reach into other squares depends on the size they are made at.
    boardDrawing.build(fields);
    for (Player& player : players) {
        fitPlayer(player);
    }
    placeMarks();
    invite.forEachText(
        [this](sf::Text& text, unsigned int size) { fitText(text, size, screenFit); });
    showSofa();
}

void Game::fitPlayer(Player& player) const {
    fitText(player.nameText, statusTextSize, screenFit);
    // The task makes way for the name at the size it is now shown.
    player.setName(player.name);
    fitText(player.taskText, statusTextSize, screenFit);
    fitText(player.waitText, statusTextSize, screenFit);
    if (options.sofaView) {
        fitTaskToRow(player, toDisplayString(fieldTexts[player.taskField].text), screenFit);
    }
    // The row's token stays where it is; the token on the board moves, and `placeMarks`
    // follows it.
    if (!player.rowMark.getString().isEmpty()) {
        fitMark(player.rowMark, player.rowToken.getPosition(), rowTokenRadius, screenFit);
    }
}

void Game::markPlayers() {
    if (!options.sofaView) {
        return;
    }
    std::vector<std::string> names;
    names.reserve(players.size());
    for (const Player& player : players) {
        names.push_back(player.name);
    }
    const std::vector<sf::String> marks = tokenMarks(names);
    for (std::size_t seat = 0; seat < players.size(); ++seat) {
        players[seat].setMark(marks[seat]);
        fitPlayer(players[seat]);
    }
    placeMarks();
}

void Game::placeMarks() {
    for (Player& player : players) {
        if (!player.mark.getString().isEmpty()) {
            fitMark(player.mark, player.token.getPosition(), player.token.getRadius(), screenFit);
        }
    }
}

void Game::showJoined() {
    std::vector<JoinedPlayer> joined;
    joined.reserve(static_cast<std::size_t>(playerCount));
    for (int seat = 0; seat < playerCount; ++seat) {
        joined.push_back({players[seat].name, slotColour(seat)});
    }
    invite.showJoined(joined, font);
    for (sf::Text& name : invite.joinedNames) {
        fitText(name, lobbyNameSize, screenFit);
    }
}

void Game::showSofa() {
    if (!options.sofaView) {
        return;
    }
    if (roundOver(standings(players))) {
        sofaDrawing.showPodium(players, finishOrder, font, screenFit);
    } else {
        sofaDrawing.hidePodium();
    }
    if (cardPlayer >= 0 && cardPlayer < playerCount) {
        const Player& roller = players[cardPlayer];
        // The fanfare is already playing for them.
        const bool firstHome = finishOrder.size() == 1 && finishOrder.front() == cardPlayer;
        sofaDrawing.showCard(toDisplayString(fieldTexts[roller.taskField].text), roller.name,
                             cardPlayer, fields[roller.position].rect.getGlobalBounds(), firstHome,
                             font, screenFit);
    } else {
        sofaDrawing.hideCard();
    }
}

SavedGame Game::saved() const {
    SavedGame game;
    for (int seat = 0; seat < playerCount; ++seat) {
        const Player& player = players[seat];
        game.players.push_back(
            {player.standing(), player.name, phoneSeats ? phoneSeats->secret(seat) : ""});
    }
    game.currentPlayer = currentPlayer;
    game.markedPlayer = markedRow;
    game.finishOrder = finishOrder;
    game.cardPlayer = cardPlayer;
    return game;
}

void Game::resume(const SavedGame& game) {
    std::vector<std::string> secrets;
    for (const SavedPlayer& saved : game.players) {
        Player& player = players.emplace_back(font);
        player.setStanding(saved.standing, fieldTexts);
        player.setSlot(playerCount++);
        player.setName(saved.name);
        // Its phone has yet to come back.
        player.setAway(!saved.secret.empty());
        fitPlayer(player);
        secrets.push_back(saved.secret);
    }
    markPlayers();
    // The tokens at rest where they stood when the game was left.
    for (const Player& player : players) {
        arrangeTokens(player.position);
    }
    for (Player& player : players) {
        player.placeToken(player.path.empty() ? player.shownPosition : player.path.back());
        player.stepToken();
    }
    currentPlayer = game.currentPlayer;
    markedRow = game.markedPlayer;
    currentPlayerMarker.setPosition(markerPosition(markedRow));
    finishOrder = game.finishOrder;
    cardPlayer = game.cardPlayer;
    showSofa();
    if (phoneSeats) {
        phoneSeats->restore(secrets);
    }
    shareChange(false);
}

void Game::arrangeTokens(int field) {
    arrangeTokensOn(players, field, fields[field].rect.getPosition());
}

bool Game::isOpen() const {
    return window != nullptr ? window->isOpen() : !closeRequested;
}

void Game::render() {
    const auto moving = [](const Player& player) { return !player.path.empty(); };
    const FrameState state{std::any_of(players.begin(), players.end(), moving),
                           diceState == DieState::rolling, hasEvent || phoneHandled,
                           changedLastFrame, sinceDrawn.getElapsedTime()};
    if (window != nullptr && !frameNeeded(state)) {
        // The screen already shows what the cues tell.
        sound.playDue();
        if (isOpen()) {
            pacer.waitOutFrame([this] { return keepEventsForLater(); });
        }
        return;
    }

    for (Player& player : players) {
        player.stepToken();
    }
    placeMarks();
    if (window != nullptr) {
        drawFrame(*window);
        window->display();
        changedLastFrame = frameChanges(state);
        sinceDrawn.restart();
        pacer.frameShown();
    }
    sound.playDue();
}

void Game::drawFrame(sf::RenderTarget& target) const {
    target.clear(background);
    const bool lobby = lobbyShown;
    // The lobby covers the board: an idle game redraws it every second, and it is the most
    // costly part of a frame.
    if (!lobby) {
        boardDrawing.draw(target, fields);
    }
    drawPlayers(target, players);
    const auto inviteShown = static_cast<std::size_t>(pacer.sinceStart() / inviteTurn);
    // Latecomers can join while a seat is free.
    if (options.phones != nullptr && !lobby && playerCount < maxPlayers) {
        invite.draw(target, inviteShown);
    }
    sofaDrawing.draw(target);
    if (lobby) {
        invite.drawLarge(target, inviteShown);
    }
    if (playerCount != 0) {
        target.draw(currentPlayerMarker);
    }
    if (diceState == DieState::rolling) {
        target.draw(diceSprite);
    }
}
