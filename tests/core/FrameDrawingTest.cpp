#include "TestGame.hpp"
#include "support/PlainFrame.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

namespace {
sf::Image capture(const std::function<void(sf::RenderTarget&)>& draw) {
    sf::RenderTexture canvas;
    canvas.create(1920, 1080);
    draw(canvas);
    canvas.display();
    return canvas.getTexture().copyToImage();
}

int differingPixels(const sf::Image& a, const sf::Image& b) {
    int differing = 0;
    for (unsigned int y = 0; y < a.getSize().y; ++y) {
        for (unsigned int x = 0; x < a.getSize().x; ++x) {
            differing += a.getPixel(x, y) == b.getPixel(x, y) ? 0 : 1;
        }
    }
    return differing;
}
} // namespace

TEST(FrameDrawing, GroupedBoardGivesThePixelsOfThePlainDrawing) {
    TestGame test;
    Game& game = *test.game;
    test.seat({0, 0, 17, 22, 22, 66, 101, 112, 112});
    game.players[5].startWaiting();
    game.players[3].setField(22, game.fieldTexts[110].text); // six lines over the next rows

    for (const int diceState : {idleDie, rollingDie}) {
        game.diceState = diceState;
        const sf::Image plain =
            capture([&](sf::RenderTarget& target) { drawPlainly(game, target); });
        const sf::Image grouped =
            capture([&](sf::RenderTarget& target) { game.drawFrame(target); });
        EXPECT_EQ(differingPixels(plain, grouped), 0) << "die state " << diceState;
    }
}
