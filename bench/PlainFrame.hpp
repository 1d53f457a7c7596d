#pragma once

#include "core/Game.hpp"

/// The frame drawn the plain way, which the game's own drawing must match pixel for pixel:
/// every square and then its label in field order, then each player's token, row, task and
/// badge, then marker and die.
inline void drawPlainly(const Game& game, sf::RenderTarget& target) {
    target.clear(sf::Color::Black);
    for (const Field& field : game.fields) {
        target.draw(field.rect);
        target.draw(field.text);
    }
    for (const Player& player : game.players) {
        target.draw(player.token);
        target.draw(player.statusRow);
        target.draw(player.taskText);
        if (player.turnsToWait != 0) {
            target.draw(player.waitBadge);
            target.draw(player.waitText);
        }
    }
    if (game.playerCount != 0) {
        target.draw(game.currentPlayerMarker);
    }
    if (game.diceState == DieState::rolling) {
        target.draw(game.diceSprite);
    }
}
