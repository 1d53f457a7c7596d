#include "players/Player.hpp"

#include "board/TextEncoding.hpp"
#include "players/StatusPanel.hpp"
#include "players/TokenMark.hpp"
#include "players/TokenPath.hpp"

namespace {
const std::size_t circlePoints = 30;
/// Between a name and the task after it, in layout pixels.
const float nameGap = 12.f;
const sf::Color awayName{90, 90, 90};
const sf::Vector2f rowTokenPlace{3.f, 23.f};
} // namespace

Player::Player(const sf::Font& font)
    : token(sharedTokenRadius, circlePoints), statusRow({rowWidth, rowHeight}),
      waitBadge(25.f, circlePoints), taskText("", font, statusTextSize),
      waitText("", font, statusTextSize), nameText("", font, statusTextSize), mark("", font),
      rowToken(rowTokenRadius, circlePoints), rowMark("", font) {
    token.setOutlineColor(sf::Color::Black);
    token.setOutlineThickness(-tokenOutline);
    waitBadge.setFillColor(sf::Color::Red);
    waitBadge.setOutlineThickness(-4.f);
    waitBadge.setOutlineColor(sf::Color::Black);
    taskText.setFillColor(sf::Color::Black);
    waitText.setFillColor(sf::Color::Black);
    nameText.setFillColor(sf::Color::Black);
    nameText.setStyle(sf::Text::Bold);
    mark.setStyle(sf::Text::Bold);
    rowMark.setStyle(sf::Text::Bold);
    rowToken.setOutlineColor(sf::Color::Black);
    rowToken.setOutlineThickness(-tokenOutline);
}

void Player::setSlot(int slot) {
    const RowPlaces places = rowPlaces(slot);
    statusRow.setPosition(places.row);
    taskText.setPosition(places.taskText);
    waitBadge.setPosition(places.waitBadge);
    waitText.setPosition(places.waitText);
    nameText.setPosition(places.taskText);
    token.setFillColor(slotColour(slot));
    statusRow.setFillColor(slotColour(slot));
    // In the row's left end, clear of the waiting badge below it.
    rowToken.setPosition(places.row + rowTokenPlace);
    rowToken.setFillColor(slotColour(slot));
    setMark(mark.getString());
}

void Player::setMark(const sf::String& shown) {
    const sf::Color ink = textColourOn(token.getFillColor());
    for (sf::Text* text : {&mark, &rowMark}) {
        text->setString(shown);
        text->setFillColor(ink);
    }
}

void Player::setField(int field, const std::string& task) {
    position = field;
    taskText.setString(toDisplayString(task));
}

void Player::standOn(int field, int taskField, const FieldTexts& texts) {
    setField(field, texts[static_cast<std::size_t>(taskField)].text);
    this->taskField = taskField;
}

void Player::setStanding(const Standing& standing, const FieldTexts& texts) {
    standOn(standing.field, standing.taskField, texts);
    turnsToWait = standing.turnsToWait;
    waitText.setString(std::to_string(turnsToWait));
    finished = standing.finished;
}

Standing Player::standing() const {
    return {position, taskField, turnsToWait, finished};
}

void Player::setName(const std::string& utf8) {
    name = utf8;
    nameText.setString(toDisplayString(name));
    sf::Vector2f task = nameText.getPosition();
    if (!name.empty()) {
        const sf::FloatRect shown = nameText.getGlobalBounds();
        task.x = shown.left + shown.width + nameGap;
    }
    taskText.setPosition(task);
}

void Player::setAway(bool phoneAway) {
    nameText.setFillColor(phoneAway ? awayName : sf::Color::Black);
}

void Player::startWaiting() {
    turnsToWait = turnsToWaitOnWaitingField;
    waitText.setString(std::to_string(turnsToWait));
}

int Player::consumeWaitTurn() {
    const int before = turnsToWait;
    if (turnsToWait != 0) {
        --turnsToWait;
    }
    waitText.setString(std::to_string(turnsToWait));
    return before;
}

void Player::placeToken(sf::Vector2f point) {
    shownPosition = point;
    path.clear();
}

void Player::stepToken() {
    if (!path.empty()) {
        shownPosition = easeTowards(shownPosition, path.front());
        if (shownPosition == path.front()) {
            path.pop_front();
        }
    }
    token.setPosition(shownPosition);
}

Standings standings(const std::vector<Player>& players) {
    Standings all;
    all.reserve(players.size());
    for (const Player& player : players) {
        all.push_back(player.standing());
    }
    return all;
}

void drawPlayers(sf::RenderTarget& target, const std::vector<Player>& players) {
    // One player after the other: a player's task text may reach into the next row, which
    // must cover it, and a player's token goes under its own row but over earlier rows.
    for (const Player& player : players) {
        const bool marked = !player.mark.getString().isEmpty();
        target.draw(player.token);
        if (marked) {
            target.draw(player.mark);
        }
        target.draw(player.statusRow);
        if (marked) {
            target.draw(player.rowToken);
            target.draw(player.rowMark);
        }
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
