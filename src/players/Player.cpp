#include "players/Player.hpp"

#include "board/TextEncoding.hpp"
#include "players/StatusPanel.hpp"
#include "players/TokenPath.hpp"

namespace {
const std::size_t circlePoints = 30;
} // namespace

Player::Player(const sf::Font& font)
    : token(sharedTokenRadius, circlePoints), statusRow({rowWidth, rowHeight}),
      waitBadge(25.f, circlePoints), taskText("", font, statusTextSize),
      waitText("", font, statusTextSize) {
    token.setOutlineColor(sf::Color::Black);
    token.setOutlineThickness(-2.f);
    waitBadge.setFillColor(sf::Color::Red);
    waitBadge.setOutlineThickness(-4.f);
    waitBadge.setOutlineColor(sf::Color::Black);
    taskText.setFillColor(sf::Color::Black);
    waitText.setFillColor(sf::Color::Black);
}

void Player::setSlot(int slot) {
    const SlotLayout layout = slotLayout(slot);
    statusRow.setPosition(layout.row);
    taskText.setPosition(layout.taskText);
    waitBadge.setPosition(layout.waitBadge);
    waitText.setPosition(layout.waitText);
    token.setFillColor(slotColour(slot));
    statusRow.setFillColor(slotColour(slot));
}

void Player::setField(int field, const std::string& task) {
    position = field;
    taskText.setString(toDisplayString(task));
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
