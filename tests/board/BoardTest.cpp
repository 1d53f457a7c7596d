#include "board/BoardGeometry.hpp"
#include "board/Die.hpp"

#include <SFML/Graphics/Image.hpp>
#include <gtest/gtest.h>

TEST(Board, FieldsSpiralInwardsFromBlueToRed) {
    const auto positions = fieldPositions();
    const struct {
        int field;
        float x, y;
        sf::Color colour;
    } cases[] = {
        {0, 50, 10, {0, 126, 255}},      {1, 140, 10, {2, 126, 253}},
        {10, 950, 10, {22, 126, 233}},   {20, 950, 910, {45, 126, 210}},
        {39, 50, 100, {88, 126, 167}},   {40, 140, 100, {90, 126, 165}},
        {56, 860, 820, {126, 126, 129}}, {57, 770, 820, {128, 126, 127}},
        {100, 680, 280, {225, 126, 30}}, {111, 320, 370, {250, 126, 5}},
        {112, 410, 370, {255, 140, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(positions[c.field], sf::Vector2f(c.x, c.y)) << "field " << c.field;
        EXPECT_EQ(fieldColour(c.field), c.colour) << "field " << c.field;
    }
}

TEST(Board, DieImageShowsThePipsOfEachValue) {
    sf::Image image;
    ASSERT_TRUE(image.loadFromFile(KRAXELBRETT_ASSETS "/dice.png"));
    for (int face = 0; face < dieFaces; ++face) {
        int pips = 0;
        for (int texel = 0; texel < 49; ++texel) {
            pips += image.getPixel(dieFaceRect(face).left + 1 + texel % 7, 1 + texel / 7).r < 128;
        }
        EXPECT_EQ(pips, face + 1) << "face " << face;
    }
}
