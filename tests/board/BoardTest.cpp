#include "board/Die.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

// The fields' places, colours and labels are held pixel for pixel by the reference pictures.
TEST(Board, DieImageShowsThePipsOfEachValue) {
    sf::Image image;
    ASSERT_TRUE(image.loadFromFile(KRAXELBRETT_ASSETS "/dice.png"));
    for (int face = 0; face < dieFaces; ++face) {
        int pips = 0;
        for (int texel = 0; texel < 49; ++texel)
            pips += image.getPixel(dieFaceRect(face).left + 1 + texel % 7, 1 + texel / 7).r < 128;
        EXPECT_EQ(pips, face + 1) << "face " << face;
    }
}
