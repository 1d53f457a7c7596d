#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

/// Vertical distance between two players' rows: a 90-pixel row and a 10-pixel gap.
constexpr int slotPitch = 100;
constexpr float rowHeight = 90.f;
constexpr float rowWidth = 1000.f;

/// Where the parts of a status row stand, as top-left corners.
struct RowPlaces {
    sf::Vector2f row;
    sf::Vector2f taskText;
    sf::Vector2f waitBadge;
    sf::Vector2f waitText;
};

/// Places of the status row of the given slot (a player's index in the list).
RowPlaces rowPlaces(int slot);

/// Colour of a slot's token and row.
sf::Color slotColour(int slot);

/// Where the current-player marker stands beside the given slot's row.
sf::Vector2f markerPosition(int slot);
