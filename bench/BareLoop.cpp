// The floor the game is measured against: a full-screen window that is only cleared and
// shown, 60 times a second, looking at its events in between, until Escape or a signal.

#include <SFML/Graphics/RenderWindow.hpp>
#include <SFML/Window/Event.hpp>

int main() {
    sf::RenderWindow window(sf::VideoMode::getDesktopMode(), "Bare loop", sf::Style::Fullscreen);
    window.setFramerateLimit(60);
    while (window.isOpen()) {
        for (sf::Event event{}; window.pollEvent(event);) {
            if (event.type == sf::Event::Closed ||
                (event.type == sf::Event::KeyPressed && event.key.code == sf::Keyboard::Escape)) {
                window.close();
            }
        }
        window.clear(sf::Color::Black);
        window.display();
    }
    return 0;
}
