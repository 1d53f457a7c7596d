#pragma once

#include "board/BoardGeometry.hpp"

#include <SFML/Graphics/RectangleShape.hpp>
#include <SFML/Graphics/Text.hpp>

#include <array>

/// One square of the board: its number, where it sends a token, its label and its square.
struct Field {
    /// The field's own number, equal to its place in the board's array.
    int index = 0;
    /// The field a token landing here is sent on to; equal to index when it sends nowhere.
    int target = 0;
    /// The label: number and task text.
    sf::Text text;
    /// The square; its position is the field's place on the board.
    sf::RectangleShape rect;
};

/// The whole board, indexed by field number.
using Fields = std::array<Field, fieldCount>;
