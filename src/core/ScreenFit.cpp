#include "core/ScreenFit.hpp"

#include <algorithm>
#include <cmath>

sf::View letterboxView(sf::Vector2u windowSize) {
    sf::View view(sf::FloatRect(0.f, 0.f, layoutSize.x, layoutSize.y));
    if (windowSize.x == 0 || windowSize.y == 0) {
        return view;
    }

    const float scale = std::min(static_cast<float>(windowSize.x) / layoutSize.x,
                                 static_cast<float>(windowSize.y) / layoutSize.y);
    const float width = layoutSize.x * scale / static_cast<float>(windowSize.x);
    const float height = layoutSize.y * scale / static_cast<float>(windowSize.y);
    view.setViewport(sf::FloatRect((1.f - width) / 2.f, (1.f - height) / 2.f, width, height));
    return view;
}

ScreenFit fitToScreen(sf::Vector2u windowSize) {
    const sf::FloatRect viewport = letterboxView(windowSize).getViewport();
    const sf::Vector2f window(windowSize);
    // The window's own rounding of the viewport to pixels.
    const auto pixels = [](float share, float size) { return std::floor(0.5f + share * size); };
    ScreenFit fit;
    if (windowSize.x != 0 && windowSize.y != 0) {
        fit.offset = {pixels(viewport.left, window.x), pixels(viewport.top, window.y)};
        fit.scale = {pixels(viewport.width, window.x) / layoutSize.x,
                     pixels(viewport.height, window.y) / layoutSize.y};
    }
    return fit;
}

void fitText(sf::Text& text, unsigned int layoutCharacterSize, const ScreenFit& fit) {
    if (fit.scale == sf::Vector2f(1.f, 1.f)) {
        text.setCharacterSize(layoutCharacterSize);
        text.setScale(1.f, 1.f);
        text.setOrigin(0.f, 0.f);
        return;
    }
    const auto shownSize = static_cast<float>(layoutCharacterSize) * fit.scale.y;
    text.setCharacterSize(static_cast<unsigned int>(std::max(1.f, std::round(shownSize))));
    text.setScale(1.f / fit.scale.x, 1.f / fit.scale.y);
    // The origin, in window pixels as the glyphs are, moves the text onto a whole pixel.
    const sf::Vector2f place = text.getPosition();
    const sf::Vector2f pixel{fit.offset.x + fit.scale.x * place.x,
                             fit.offset.y + fit.scale.y * place.y};
    text.setOrigin(pixel.x - std::round(pixel.x), pixel.y - std::round(pixel.y));
}

sf::VideoMode fullScreenMode(const std::vector<sf::VideoMode>& modes, unsigned int depth) {
    const auto atDepth =
        std::find_if(modes.begin(), modes.end(),
                     [depth](const sf::VideoMode& mode) { return mode.bitsPerPixel == depth; });
    if (atDepth != modes.end()) {
        return *atDepth;
    }
    return modes.empty() ? sf::VideoMode() : modes.front();
}
