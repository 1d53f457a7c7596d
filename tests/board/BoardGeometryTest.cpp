#include "board/BoardGeometry.hpp"

#include <gtest/gtest.h>

#include <set>
#include <utility>

TEST(BoardGeometry, SpiralPlacesTheFieldsClockwiseFromTheOutsideIn) {
    const auto positions = fieldPositions();
    const struct {
        int field;
        float x, y;
    } cases[] = {
        {0, 50, 10},    {10, 950, 10},   {11, 950, 100},  {20, 950, 910}, {30, 50, 910},
        {39, 50, 100},  {40, 140, 100},  {48, 860, 100},  {66, 140, 640}, {95, 230, 280},
        {96, 320, 280}, {111, 320, 370}, {112, 410, 370},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(positions[c.field], sf::Vector2f(c.x, c.y)) << "field " << c.field;
    }
}

TEST(BoardGeometry, SquaresCoverEveryCellOfTheGridExactlyOnce) {
    const auto positions = fieldPositions();
    std::multiset<std::pair<int, int>> covered;
    for (int field = 0; field < fieldCount; ++field) {
        const int cells = static_cast<int>(fieldSide(field) / cellPitch);
        const int column = static_cast<int>((positions[field].x - boardOrigin.x) / cellPitch);
        const int row = static_cast<int>((positions[field].y - boardOrigin.y) / cellPitch);
        for (int dx = 0; dx < cells; ++dx) {
            for (int dy = 0; dy < cells; ++dy) {
                covered.insert({column + dx, row + dy});
            }
        }
    }
    ASSERT_EQ(covered.size(), 121u);
    for (int column = 0; column < gridCells; ++column) {
        for (int row = 0; row < gridCells; ++row) {
            EXPECT_EQ(covered.count({column, row}), 1u) << column << "," << row;
        }
    }
}

TEST(BoardGeometry, ColoursRunFromBlueToRedWithAnOrangeGoal) {
    const struct {
        int field;
        sf::Color colour;
    } cases[] = {
        {0, {0, 126, 255}},    {1, {2, 126, 253}},   {56, {126, 126, 129}}, {57, {128, 126, 127}},
        {100, {225, 126, 30}}, {111, {250, 126, 5}}, {112, {255, 140, 0}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fieldColour(c.field), c.colour) << "field " << c.field;
    }
    EXPECT_EQ(fieldSide(111), 90.f);
    EXPECT_EQ(fieldSide(goalField), 270.f);
}

TEST(BoardGeometry, LabelsPutTheNumberAboveTheTaskExceptOnStartAndGoal) {
    EXPECT_EQ(fieldLabel(0, "START"), "START");
    EXPECT_EQ(fieldLabel(112, "ZIEL"), "ZIEL");
    EXPECT_EQ(fieldLabel(1, "2 Schl\xFC"
                            "cke"),
              "1.\n2 Schl\xFC"
              "cke");
    EXPECT_EQ(fieldLabel(28, "Mischshot\trinken"), "28.\nMischshot\trinken");
    EXPECT_EQ(fieldLabel(111, "x"), "111.\nx");
}
