#pragma once

#include <SFML/Graphics/Rect.hpp>
#include <SFML/Graphics/Sprite.hpp>
#include <SFML/Graphics/Texture.hpp>

constexpr int dieFaces = 6;
/// Side of one face in the die image, in texels.
constexpr int dieFaceSize = 9;
/// The die is drawn this many times the size of its image.
constexpr float dieScale = 20.f;

/// Texture rectangle of the die image's face for value face + 1.
sf::IntRect dieFaceRect(int face);

/// Shows the given face of the die image, enlarged and centred on a screen of the given size.
void setUpDieSprite(sf::Sprite& sprite, const sf::Texture& image, const sf::IntRect& face,
                    sf::Vector2f screen);
