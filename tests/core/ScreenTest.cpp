#include "core/Game.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Window/VideoMode.hpp>
#include <gtest/gtest.h>

// On a screen twice as large as the layout, a field's square shows its label as that text
// drawn at twice the character size, not as the small label blown up. Runs on a 3840 x 2160
// display only (ctest's screen_4k).
TEST(Screen, LabelsAreDrawnAtTheSizeTheyAreShown) {
    const sf::VideoMode desktop = sf::VideoMode::getDesktopMode();
    if (desktop.width != 3840 || desktop.height != 2160) {
        GTEST_SKIP() << "needs a 3840 x 2160 display";
    }
    GameOptions options;
    options.frameLimit = 0;
    Game game(std::move(options));
    ASSERT_EQ(game.window->getSize(), sf::Vector2u(3840, 2160));
    game.render();
    sf::Texture shown;
    ASSERT_TRUE(shown.create(3840, 2160));
    shown.update(*game.window);
    const sf::Image screen = shown.copyToImage();

    for (const int fieldNumber : {1, 30, 77}) {
        const Field& field = game.fields[fieldNumber];
        const auto side = static_cast<unsigned int>(2 * field.rect.getSize().x);
        sf::RenderTexture expected;
        ASSERT_TRUE(expected.create(side, side));
        sf::RectangleShape square(sf::Vector2f(sf::Vector2u(side, side)));
        square.setFillColor(field.rect.getFillColor());
        square.setOutlineColor(field.rect.getOutlineColor());
        square.setOutlineThickness(-2.f);
        expected.draw(square);
        const unsigned int size = 2 * game.fieldTexts[fieldNumber].characterSize;
        sf::Text text(field.text.getString(), game.font, size);
        text.setFillColor(field.text.getFillColor());
        expected.draw(text);
        expected.display();
        const sf::Image label = expected.getTexture().copyToImage();

        const sf::Vector2u corner(2.f * field.rect.getPosition());
        int differing = 0;
        for (unsigned int y = 0; y < side; ++y) {
            for (unsigned int x = 0; x < side; ++x) {
                differing += screen.getPixel(corner.x + x, corner.y + y) != label.getPixel(x, y);
            }
        }
        EXPECT_EQ(differing, 0) << "field " << fieldNumber << ": see failed-label-" << fieldNumber
                                << ".png in the build folder";
    }
}
