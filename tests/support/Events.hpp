#pragma once

#include <SFML/Window/Event.hpp>

/// The event a key gives: pressed, unless another type is asked for.
inline sf::Event key(sf::Keyboard::Key code, sf::Event::EventType type = sf::Event::KeyPressed) {
    sf::Event event{};
    event.type = type;
    event.key.code = code;
    return event;
}
