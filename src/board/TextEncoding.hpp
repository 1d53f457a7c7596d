#pragma once

#include <SFML/System/String.hpp>

#include <string>

/// Turns the game's UTF-8 texts (the board's table, decks, the window's title) into drawable
/// strings of Unicode code points.
sf::String toDisplayString(const std::string& utf8);
