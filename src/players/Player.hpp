#pragma once

#include "board/FieldText.hpp"
#include "players/Standing.hpp"

#include <SFML/Graphics/CircleShape.hpp>
#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/RenderTarget.hpp>
#include <SFML/Graphics/Text.hpp>
#include <SFML/System/Vector2.hpp>

#include <deque>
#include <string>
#include <vector>

/// Character size of the task text and the waiting digit in a status row, in layout pixels.
constexpr unsigned int statusTextSize = 20;

/// One participant: the field they stand on, their token, their status row with the task
/// they last landed on, and the turns they still have to sit out.
struct Player {
    /// Builds a player whose texts use the game's font, which must outlive the player.
    explicit Player(const sf::Font& font);

    /// Places the status row for the slot (the player's index in the list) and colours the
    /// token and the row. The token's place on the board is left alone.
    void setSlot(int slot);

    /// Puts the player on a field and shows the task (bytes, as in the field texts).
    void setField(int field, const std::string& task);

    /// Shows the name (UTF-8) in the row before the task; empty, the row is as a keyboard
    /// player's. Call it again after the slot or the texts' sizes change: the task makes way.
    void setName(const std::string& utf8);

    /// Puts the player on `field` with the task of `taskField` in its row.
    void standOn(int field, int taskField, const FieldTexts& texts);

    /// Takes a standing as a whole, as a saved game or a new round gives it: the field and
    /// its task, the turns to wait with their badge, and the goal mark.
    void setStanding(const Standing& standing, const FieldTexts& texts);

    /// Where the player stands in the race.
    Standing standing() const;

    /// Gives the token and the row's lead the mark (empty: none, as outside the sofa view), in
    /// black or white as reads better on the slot's colour. Call it after `setSlot`.
    void setMark(const sf::String& shown);

    /// Marks whether the player's phone is away: the name is greyed while it is.
    void setAway(bool phoneAway);

    /// Makes the player sit out the next two turns, whatever was left to wait.
    void startWaiting();

    /// Spends one turn of waiting. Returns the turns there were to wait before the call.
    int consumeWaitTurn();

    /// Puts the token at the point at once and drops every waypoint still to reach.
    void placeToken(sf::Vector2f point);

    /// Moves the token one easing step along its path and places it where it is shown.
    void stepToken();

    int position = 0;
    sf::CircleShape token;
    sf::RectangleShape statusRow;
    sf::CircleShape waitBadge;
    bool finished = false;
    int turnsToWait = 0;
    std::deque<sf::Vector2f> path;
    sf::Vector2f shownPosition;
    sf::Text taskText;
    sf::Text waitText;
    /// The field whose task the row shows: after a jump between two fields that send to each
    /// other, the one landed on.
    int taskField = 0;
    /// The name a phone gave, UTF-8; empty for a keyboard player.
    std::string name;
    sf::Text nameText;
    /// What tells the token from the others without its colour: drawn on it, and on a token
    /// that leads the row. Core places it on the token as it moves, since it is drawn at the
    /// size it is shown.
    sf::Text mark;
    sf::CircleShape rowToken;
    sf::Text rowMark;
};

/// Every player's standing, in list order.
Standings standings(const std::vector<Player>& players);

/// Draws the players one after the other: each token, row, name, task and waiting badge.
void drawPlayers(sf::RenderTarget& target, const std::vector<Player>& players);
