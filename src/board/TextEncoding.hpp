#pragma once

#include <SFML/System/String.hpp>

#include <string>

/// Turns the game's single-byte texts into drawable strings: every byte is the code point of
/// the same value (ISO 8859-1). Done by hand because SFML's locale-based conversion turns the
/// upper half into invalid code points with some standard libraries.
sf::String toDisplayString(const std::string& bytes);
