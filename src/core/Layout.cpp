#include "core/Layout.hpp"

#include <algorithm>

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
