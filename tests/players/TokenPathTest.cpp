#include "players/TokenPath.hpp"

#include <gtest/gtest.h>

namespace {
int stepsToReach(sf::Vector2f from, sf::Vector2f waypoint) {
    int steps = 0;
    while (from != waypoint && steps < 1000) {
        from = easeTowards(from, waypoint);
        ++steps;
    }
    return steps;
}
} // namespace

TEST(TokenPath, EasingCoversAFifthOfTheWayAndSnapsWithinAPixel) {
    EXPECT_EQ(easeTowards({0.f, 0.f}, {100.f, -50.f}), sf::Vector2f(20.f, -10.f));
    EXPECT_EQ(easeTowards({10.f, 10.f}, {10.f, 10.f}), sf::Vector2f(10.f, 10.f));
    // Just outside the tolerance on one axis is not a snap.
    EXPECT_NE(easeTowards({0.f, 0.f}, {1.25f, 0.f}), sf::Vector2f(1.25f, 0.f));
    EXPECT_EQ(easeTowards({0.f, 0.f}, {1.2f, 0.f}), sf::Vector2f(1.2f, 0.f));

    const struct {
        sf::Vector2f from, to;
        int steps;
    } cases[] = {
        {{50.f, 10.f}, {140.f, 10.f}, 21}, {{140.f, 10.f}, {50.f, 10.f}, 21},
        {{50.f, 10.f}, {50.f, 100.f}, 21}, {{0.f, 0.f}, {1000.f, 0.f}, 31},
        {{65.f, 25.f}, {65.f, 25.f}, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(stepsToReach(c.from, c.to), c.steps);
    }
}

TEST(TokenPath, TokensStandAloneInTheMiddleOrSideBySideInAGrid) {
    const sf::Vector2f square{140.f, 100.f};
    const struct {
        int k, count;
        sf::Vector2f place;
        float radius;
    } cases[] = {
        {0, 1, {155.f, 115.f}, 30.f}, {0, 2, {140.f, 100.f}, 15.f}, {1, 2, {170.f, 100.f}, 15.f},
        {3, 4, {140.f, 130.f}, 15.f}, {2, 9, {200.f, 100.f}, 15.f}, {8, 9, {200.f, 160.f}, 15.f},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(tokenPlace(square, c.k, c.count), c.place) << c.k << " of " << c.count;
        EXPECT_EQ(tokenRadius(c.count), c.radius);
    }
}
