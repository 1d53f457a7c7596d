#pragma once

#include <SFML/Graphics/Color.hpp>
#include <SFML/System/String.hpp>

#include <cstddef>
#include <string>
#include <vector>

/// The most characters a mark has, so that it reads on a shared token.
constexpr std::size_t longestMark = 3;

/// The black edge of a token, inside its radius.
constexpr float tokenOutline = 2.f;

/// Radius of the token that leads a player's row in the sofa view, with their mark.
constexpr float rowTokenRadius = 22.f;

/// What each player's token carries, so that players tell their tokens apart without colour,
/// by slot: a keyboard player (empty name) the slot's number, 1 to 9; a phone's player the
/// first letter of their name (UTF-8), or as many as tell it apart from the others' names.
/// Where the first three do not, or the mark would be another's, the first letter and the
/// slot's number.
std::vector<sf::String> tokenMarks(const std::vector<std::string>& names);

/// Black or white, whichever reads better on the colour.
sf::Color textColourOn(sf::Color background);
