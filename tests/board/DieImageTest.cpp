#include "board/Die.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

TEST(DieImage, EachFaceShowsThePipsOfItsValue) {
    sf::Image image;
    ASSERT_TRUE(image.loadFromFile(KRAXELBRETT_ASSETS "/dice.png"));
    ASSERT_EQ(image.getSize(), sf::Vector2u(54, 9));

    for (int face = 0; face < dieFaces; ++face) {
        const sf::IntRect cell = dieFaceRect(face);
        int pips = 0;
        for (int y = 1; y < dieFaceSize - 1; ++y) {
            for (int x = 1; x < dieFaceSize - 1; ++x) {
                const sf::Color texel = image.getPixel(cell.left + x, y);
                EXPECT_EQ(texel.a, 255);
                pips += texel.r < 128 ? 1 : 0;
            }
        }
        EXPECT_EQ(pips, face + 1) << "face " << face;
    }
}
