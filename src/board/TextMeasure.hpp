#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/String.hpp>

#include <string>

/// Measures texts as SFML lays them out, without a display: SFML draws its glyphs with
/// FreeType, and this reads the same font file with FreeType, at the same size, hinting and
/// kerning. A deck's labels are checked before any window exists, and on machines with none.
class TextMeasure {
public:
    /// Reads the font; without it nothing can be measured (`loaded` is false).
    explicit TextMeasure(const std::string& fontPath);
    ~TextMeasure();
    TextMeasure(const TextMeasure&) = delete;
    TextMeasure& operator=(const TextMeasure&) = delete;

    bool loaded() const { return face != nullptr; }

    /// Whether the font has a glyph of its own for the code point, rather than its empty box.
    bool hasGlyph(sf::Uint32 codePoint) const;

    /// The text's bounds relative to its position, as `sf::Text::getLocalBounds` gives them
    /// for an unscaled text of the font at that character size.
    sf::FloatRect bounds(const sf::String& text, unsigned int characterSize) const;

private:
    struct Glyph {
        float advance = 0.f;
        sf::FloatRect bounds;
    };
    Glyph glyph(sf::Uint32 codePoint) const;
    float kerning(sf::Uint32 first, sf::Uint32 second) const;

    /// FreeType's library and face, kept out of this header with FreeType's own.
    void* library = nullptr;
    void* face = nullptr;
};
