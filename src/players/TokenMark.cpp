#include "players/TokenMark.hpp"

#include <algorithm>
#include <cmath>

namespace {
// A decomposed umlaut belongs to the letter before it.
bool combines(sf::Uint32 codePoint) {
    return codePoint >= 0x300 && codePoint <= 0x36f;
}

/// The first `letters` letters of the name, each with the marks that combine with it.
sf::String prefix(const sf::String& name, std::size_t letters) {
    std::size_t end = 0;
    for (std::size_t taken = 0; end < name.getSize() && taken < letters; ++taken) {
        ++end;
        while (end < name.getSize() && combines(name[end])) {
            ++end;
        }
    }
    return name.substring(0, end);
}

std::size_t letterCount(const sf::String& text) {
    return static_cast<std::size_t>(
        std::count_if(text.begin(), text.end(), [](sf::Uint32 c) { return !combines(c); }));
}

// Linear light of one sRGB channel, as contrast is worked out.
float linear(sf::Uint8 channel) {
    const float value = static_cast<float>(channel) / 255.f;
    return value <= 0.04045f ? value / 12.92f : std::pow((value + 0.055f) / 1.055f, 2.4f);
}
} // namespace

std::vector<sf::String> tokenMarks(const std::vector<std::string>& names) {
    std::vector<sf::String> decoded;
    decoded.reserve(names.size());
    for (const std::string& name : names) {
        decoded.push_back(sf::String::fromUtf8(name.begin(), name.end()));
    }
    const auto slotNumber = [](std::size_t slot) { return sf::String(std::to_string(slot + 1)); };

    std::vector<sf::String> marks;
    for (std::size_t slot = 0; slot < decoded.size(); ++slot) {
        const sf::String& name = decoded[slot];
        if (name.isEmpty()) {
            marks.push_back(slotNumber(slot));
            continue;
        }
        // The fewest letters that no other name starts with.
        sf::String mark = name;
        for (std::size_t letters = 1; letters <= longestMark; ++letters) {
            const sf::String start = prefix(name, letters);
            const auto shares = [&](const sf::String& other) {
                return &other != &name && prefix(other, letters) == start;
            };
            if (std::none_of(decoded.begin(), decoded.end(), shares)) {
                mark = start;
                break;
            }
        }
        marks.push_back(mark);
    }

    // Names alike in their first letters, the same name twice, or a name that is a number.
    for (std::size_t slot = 0; slot < marks.size(); ++slot) {
        const bool another = std::count(marks.begin(), marks.end(), marks[slot]) > 1;
        if (!decoded[slot].isEmpty() && (another || letterCount(marks[slot]) > longestMark)) {
            marks[slot] = prefix(decoded[slot], 1) + slotNumber(slot);
        }
    }
    return marks;
}

sf::Color textColourOn(sf::Color background) {
    // The contrast ratio of each against the background; the larger one wins.
    const float light = 0.2126f * linear(background.r) + 0.7152f * linear(background.g) +
                        0.0722f * linear(background.b);
    const float withBlack = (light + 0.05f) / 0.05f;
    const float withWhite = 1.05f / (light + 0.05f);
    return withBlack >= withWhite ? sf::Color::Black : sf::Color::White;
}
