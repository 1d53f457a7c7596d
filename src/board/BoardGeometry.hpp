#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/Vector2.hpp>

#include <array>
#include <string>

constexpr int fieldCount = 113;
constexpr int startField = 0;
constexpr int goalField = fieldCount - 1;

/// Side of a normal square and distance between neighbouring squares: neighbours touch.
constexpr float cellPitch = 90.f;
/// The goal covers the central 3 x 3 cells of the 11 x 11 grid.
constexpr float goalSide = 3 * cellPitch;
constexpr int gridCells = 11;
/// Top-left corner of field 0, and so of the whole board.
const sf::Vector2f boardOrigin{50.f, 10.f};

/// Moves of the spiral's cursor along the first, outermost stretch.
constexpr int firstRun = gridCells - 1;

/// Top-left corner of every field's square, walked as a clockwise spiral from the outside in.
std::array<sf::Vector2f, fieldCount> fieldPositions();

/// Side of the square of the given field: the goal is larger than the rest.
float fieldSide(int field);

/// Fill colour of the given field's square: blue at the start turning red near the goal,
/// and orange for the goal itself.
sf::Color fieldColour(int field);

/// The grey drawn one pixel inside the edge of every square.
const sf::Color fieldOutlineColour{100, 100, 100};

/// Label of a field's square: its number, a full stop and a line break above the task;
/// start and goal carry their text alone.
std::string fieldLabel(int field, const std::string& task);
