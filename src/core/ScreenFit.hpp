#pragma once

#include <SFML/Graphics/Text.hpp>
#include <SFML/Graphics/View.hpp>
#include <SFML/System/Vector2.hpp>
#include <SFML/Window/VideoMode.hpp>

#include <vector>

/// The screen the whole drawing is laid out for, in pixels.
const sf::Vector2f layoutSize{1920.f, 1080.f};

/// A view that shows the whole layout in a window of the given size: scaled uniformly,
/// centred, with black bars on the sides that are left over. For a 1920 x 1080 window it is
/// the default view.
sf::View letterboxView(sf::Vector2u windowSize);

/// How the letterbox view maps layout coordinates to a window's pixels: pixel = offset +
/// scale * point, per axis, as the window rounds the view's viewport to whole pixels.
struct ScreenFit {
    sf::Vector2f scale{1.f, 1.f};
    sf::Vector2f offset;
};

/// The mapping of the letterbox view in a window of the given size.
ScreenFit fitToScreen(sf::Vector2u windowSize);

/// Makes a text sharp in a window that shows the layout at another scale: its glyphs are
/// made at the size they are shown and drawn one texel to one pixel, since a text scaled
/// as a picture is blurred. Its place in the layout stays, rounded to the nearest whole
/// window pixel. At scale 1 it is drawn at its layout size, unscaled. Call it after the text
/// has its position, and again whenever the fit changes.
void fitText(sf::Text& text, unsigned int layoutCharacterSize, const ScreenFit& fit);

/// The full-screen mode to open the window in, from the display's modes as SFML lists them
/// (best first): the best one at the display's own colour depth, since a window of another
/// depth cannot be made on it. Without one, the best of all, as SFML itself would choose.
sf::VideoMode fullScreenMode(const std::vector<sf::VideoMode>& modes, unsigned int depth);
