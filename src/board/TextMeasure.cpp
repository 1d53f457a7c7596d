#include "board/TextMeasure.hpp"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_GLYPH_H

#include <algorithm>

namespace {
// As SFML loads its glyphs.
constexpr FT_Int32 loadFlags = FT_LOAD_TARGET_NORMAL | FT_LOAD_FORCE_AUTOHINT;

float pixels(FT_Pos units) {
    return static_cast<float>(units) / static_cast<float>(1 << 6);
}

FT_Face asFace(void* face) {
    return static_cast<FT_Face>(face);
}
} // namespace

TextMeasure::TextMeasure(const std::string& fontPath) {
    FT_Library freetype = nullptr;
    if (FT_Init_FreeType(&freetype) != 0) {
        return;
    }
    library = freetype;
    FT_Face loadedFace = nullptr;
    if (FT_New_Face(freetype, fontPath.c_str(), 0, &loadedFace) != 0) {
        return;
    }
    if (FT_Select_Charmap(loadedFace, FT_ENCODING_UNICODE) != 0) {
        FT_Done_Face(loadedFace);
        return;
    }
    face = loadedFace;
}

TextMeasure::~TextMeasure() {
    if (face != nullptr) {
        FT_Done_Face(asFace(face));
    }
    if (library != nullptr) {
        FT_Done_FreeType(static_cast<FT_Library>(library));
    }
}

bool TextMeasure::hasGlyph(sf::Uint32 codePoint) const {
    return face != nullptr && FT_Get_Char_Index(asFace(face), codePoint) != 0;
}

TextMeasure::Glyph TextMeasure::glyph(sf::Uint32 codePoint) const {
    Glyph result;
    FT_Face font = asFace(face);
    if (FT_Load_Char(font, codePoint, loadFlags) != 0) {
        return result;
    }
    result.advance = pixels(font->glyph->metrics.horiAdvance);

    // SFML gives a glyph bounds only when its bitmap has pixels.
    FT_Glyph description = nullptr;
    if (FT_Get_Glyph(font->glyph, &description) != 0) {
        return result;
    }
    FT_Glyph_To_Bitmap(&description, FT_RENDER_MODE_NORMAL, nullptr, 1);
    const FT_Bitmap& bitmap = reinterpret_cast<FT_BitmapGlyph>(description)->bitmap;
    if (bitmap.width > 0 && bitmap.rows > 0) {
        const FT_Glyph_Metrics& metrics = font->glyph->metrics;
        result.bounds = {pixels(metrics.horiBearingX), -pixels(metrics.horiBearingY),
                         pixels(metrics.width), pixels(metrics.height)};
    }
    FT_Done_Glyph(description);
    return result;
}

float TextMeasure::kerning(sf::Uint32 first, sf::Uint32 second) const {
    FT_Face font = asFace(face);
    if (first == 0 || !FT_HAS_KERNING(font)) {
        return 0.f;
    }
    FT_Vector offset{};
    FT_Get_Kerning(font, FT_Get_Char_Index(font, first), FT_Get_Char_Index(font, second),
                   FT_KERNING_DEFAULT, &offset);
    return pixels(offset.x);
}

sf::FloatRect TextMeasure::bounds(const sf::String& text, unsigned int characterSize) const {
    if (face == nullptr || text.isEmpty() ||
        FT_Set_Pixel_Sizes(asFace(face), 0, characterSize) != 0) {
        return {};
    }
    // The layout of sf::Text, for an unstyled text without outline.
    const float whitespace = glyph(' ').advance;
    const float lineSpacing = pixels(asFace(face)->size->metrics.height);
    const auto size = static_cast<float>(characterSize);
    float x = 0.f;
    float y = size;
    float minX = size;
    float minY = size;
    float maxX = 0.f;
    float maxY = 0.f;
    sf::Uint32 previous = 0;
    for (const sf::Uint32 character : text) {
        if (character == '\r') {
            continue;
        }
        x += kerning(previous, character);
        previous = character;
        if (character == ' ' || character == '\n' || character == '\t') {
            minX = std::min(minX, x);
            minY = std::min(minY, y);
            if (character == ' ') {
                x += whitespace;
            } else if (character == '\t') {
                x += whitespace * 4;
            } else {
                y += lineSpacing;
                x = 0.f;
            }
            maxX = std::max(maxX, x);
            maxY = std::max(maxY, y);
            continue;
        }
        const Glyph shape = glyph(character);
        minX = std::min(minX, x + shape.bounds.left);
        maxX = std::max(maxX, x + shape.bounds.left + shape.bounds.width);
        minY = std::min(minY, y + shape.bounds.top);
        maxY = std::max(maxY, y + shape.bounds.top + shape.bounds.height);
        x += shape.advance;
    }
    return {minX, minY, maxX - minX, maxY - minY};
}
