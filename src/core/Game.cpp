#include "core/Game.hpp"

#include "board/BoardLayout.hpp"
#include "board/BoardTables.hpp"
#include "board/Die.hpp"
#include "board/TextEncoding.hpp"
#include "core/Assets.hpp"
#include "core/Layout.hpp"
#include "core/Redraw.hpp"
#include "players/StatusPanel.hpp"
#include "players/TokenPath.hpp"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <iostream>

namespace {
const sf::Vector2f markerSize{20.f, 20.f};
const sf::Color background{0, 0, 0, 255};
} // namespace

Game::Game() : Game(GameOptions{}) {}

Game::Game(GameOptions gameOptions) : options(std::move(gameOptions)), muted(options.muted) {
    initWindow();
    fieldTexts = options.fieldTexts ? *options.fieldTexts : initializeFieldTexts();
    if (options.phones != nullptr) {
        glyphs =
            std::make_unique<TextMeasure>(options.fontPath.empty() ? fontPath : options.fontPath);
        invite.build(options.phoneLinks, font);
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
    if (assetReadable(fontPath, std::cerr)) {
        font.loadFromFile(fontPath);
    }
}

void Game::setUpBoard() {
    if (assetReadable(dieImagePath, std::cerr)) {
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
    currentPlayerMarker.setPosition(markerPosition(0));
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
    for (PhoneInvite::Invitation& invitation : invite.invitations) {
        fitText(invitation.address, inviteTextSize, screenFit);
        fitText(invitation.key, inviteTextSize, screenFit);
    }
    fitText(invite.noNetwork, inviteTextSize, screenFit);
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
}

void Game::showSofa() {
    if (!options.sofaView) {
        return;
    }
    if (roundOver(players)) {
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
        game.players.push_back({player.position, player.taskField, player.turnsToWait,
                                player.finished, player.name, seats[seat].secret});
    }
    game.currentPlayer = currentPlayer;
    game.markedPlayer =
        static_cast<int>(std::lround((currentPlayerMarker.getPosition().y - markerPosition(0).y) /
                                     static_cast<float>(slotPitch)));
    game.finishOrder = finishOrder;
    game.cardPlayer = cardPlayer;
    return game;
}

void Game::resume(const SavedGame& game) {
    for (const SavedPlayer& saved : game.players) {
        players.emplace_back(font);
        Player& player = players.back();
        player.setField(saved.field, fieldTexts[saved.taskField].text);
        player.taskField = saved.taskField;
        player.setSlot(playerCount);
        player.setName(saved.name);
        player.finished = saved.finished;
        player.turnsToWait = saved.turnsToWait;
        player.waitText.setString(std::to_string(saved.turnsToWait));
        seats[playerCount].secret = saved.secret;
        // Its phone has yet to come back.
        player.setAway(!saved.secret.empty());
        fitPlayer(player);
        ++playerCount;
    }
    // Where the tokens came to rest, as they stood when the game was left.
    for (int seat = 0; seat < playerCount; ++seat) {
        arrangeTokens(players[seat].position);
    }
    for (Player& player : players) {
        if (!player.path.empty()) {
            player.placeToken(player.path.back());
        }
        player.stepToken();
    }
    currentPlayer = game.currentPlayer;
    currentPlayerMarker.setPosition(markerPosition(game.markedPlayer));
    finishOrder = game.finishOrder;
    cardPlayer = game.cardPlayer;
    showSofa();
}

void Game::saveGame() const {
    if (options.save) {
        options.save(saved());
    }
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
                           diceState == rollingDie, hasEvent || phoneHandled, changedLastFrame,
                           sinceDrawn.getElapsedTime()};
    if (window != nullptr && !frameNeeded(state)) {
        // The screen already shows what the cues tell.
        playCues();
        waitOutFrame();
        return;
    }

    for (Player& player : players) {
        player.stepToken();
    }
    if (window != nullptr) {
        drawFrame(*window);
        window->display();
        changedLastFrame = frameChanges(state);
        sinceDrawn.restart();
        sinceFrame.restart();
    }
    playCues();
}

std::string Game::startSound() {
    return options.sound ? std::string() : speaker.open();
}

void Game::cue(Cue sound) {
    if (!muted) {
        cuesDue.push_back(sound);
    }
}

void Game::playCues() {
    for (const Cue sound : cuesDue) {
        if (options.sound) {
            options.sound(sound);
        } else {
            speaker.play(sound);
        }
    }
    cuesDue.clear();
}

void Game::toggleSound() {
    muted = !muted;
    if (muted) {
        cuesDue.clear();
        speaker.stopAll();
    } else {
        // So that the group hears that the sound is back.
        cue(Cue::join);
    }
}

void Game::waitOutFrame() {
    // As long as display() waits for a frame drawn: the events are still looked at as often.
    if (options.frameLimit != 0) {
        const sf::Time rest =
            sf::seconds(1.f / static_cast<float>(options.frameLimit)) - sinceFrame.getElapsedTime();
        if (rest > sf::Time::Zero) {
            pause(rest);
        }
    }
    sinceFrame.restart();
}

void Game::drawFrame(sf::RenderTarget& target) const {
    target.clear(background);
    boardDrawing.draw(target, fields);
    drawPlayers(target);
    // Latecomers can join while a seat is free.
    if (options.phones != nullptr && playerCount < maxPlayers) {
        invite.draw(target, inviteShown());
    }
    sofaDrawing.draw(target);
    if (playerCount != 0) {
        target.draw(currentPlayerMarker);
    }
    if (diceState == rollingDie) {
        target.draw(diceSprite);
    }
}

void Game::drawPlayers(sf::RenderTarget& target) const {
    // One player after the other: a player's task text may reach into the next row, which
    // must cover it, and a player's token goes under its own row but over earlier rows.
    for (const Player& player : players) {
        target.draw(player.token);
        target.draw(player.statusRow);
        target.draw(player.taskText);
        if (!player.name.empty()) {
            target.draw(player.nameText);
        }
        if (player.turnsToWait != 0) {
            target.draw(player.waitBadge);
            target.draw(player.waitText);
        }
    }
}
