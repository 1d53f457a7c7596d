#include "TestGame.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

#include <cstdlib>

// The whole frame of a busy game against its reference picture in tests/golden, pixel for
// pixel: nine players, two sharing the start, three on the goal, two waiting, one task of
// six lines reaching over the rows below, the marker at the fifth row and the die mid-roll.
// KRAXELBRETT_RECORD=1 writes the reference instead.
TEST(Frame, ABusyGameLooksAsItsReferencePicture) {
    TestGame test;
    Game& game = *test.game;
    test.seat({0, 0, 17, 22, 22, 66, 101, 112, 112});
    game.players[5].startWaiting();
    game.players[6].startWaiting();
    game.players[6].consumeWaitTurn();
    game.players[3].setField(22, game.fieldTexts[110].text);
    game.currentPlayerMarker.setPosition(1070.f, 440.f);
    game.diceState = rollingDie;
    game.diceSprite.setTextureRect({27, 0, 9, 9});

    sf::RenderTexture canvas;
    ASSERT_TRUE(canvas.create(1920, 1080));
    game.drawFrame(canvas);
    canvas.display();
    const sf::Image frame = canvas.getTexture().copyToImage();

    const std::string reference = KRAXELBRETT_GOLDEN "/busy-game.png";
    if (std::getenv("KRAXELBRETT_RECORD") != nullptr) {
        ASSERT_TRUE(frame.saveToFile(reference));
    }
    sf::Image expected;
    ASSERT_TRUE(expected.loadFromFile(reference));
    ASSERT_EQ(expected.getSize(), frame.getSize());
    int differing = 0;
    for (unsigned int y = 0; y < 1080; ++y) {
        for (unsigned int x = 0; x < 1920; ++x) {
            differing += frame.getPixel(x, y) == expected.getPixel(x, y) ? 0 : 1;
        }
    }
    if (differing != 0) {
        frame.saveToFile("failed-busy-game.png");
    }
    EXPECT_EQ(differing, 0) << "see failed-busy-game.png in the build folder";
}
