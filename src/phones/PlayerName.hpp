#pragma once

#include <SFML/Config.hpp>

#include <functional>
#include <locale>
#include <string>

/// The most characters a name may have, so that it leaves room for the task in the row.
constexpr std::size_t longestName = 16;

/// A name as a phone gave it, trimmed, or why it cannot be a name.
struct NameCheck {
    std::string name;
    std::string problem;
};

/// Trims the name (UTF-8) and checks it: 1 to 16 characters, each one that `drawable` says
/// the game's font can draw. The problem, in the language given, names the characters it
/// cannot.
NameCheck checkName(const std::string& utf8, const std::function<bool(sf::Uint32)>& drawable,
                    const std::locale& words);
