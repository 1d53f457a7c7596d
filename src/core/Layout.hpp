#pragma once

#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>

/// The screen the whole drawing is laid out for, in pixels.
const sf::Vector2f layoutSize{1920.f, 1080.f};

/// A view that shows the whole layout in a window of the given size: scaled uniformly,
/// centred, with black bars on the sides that are left over. For a 1920 x 1080 window it is
/// the default view.
sf::View letterboxView(sf::Vector2u windowSize);
