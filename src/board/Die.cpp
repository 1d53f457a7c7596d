#include "board/Die.hpp"

sf::IntRect dieFaceRect(int face) {
    return {dieFaceSize * face, 0, dieFaceSize, dieFaceSize};
}

void setUpDieSprite(sf::Sprite& sprite, const sf::Texture& image, const sf::IntRect& face,
                    sf::Vector2f screen) {
    sprite.setTexture(image);
    sprite.setTextureRect(face);
    sprite.setScale(dieScale, dieScale);
    const sf::FloatRect bounds = sprite.getGlobalBounds();
    sprite.setPosition((screen.x - bounds.width) / 2.f, (screen.y - bounds.height) / 2.f);
}
