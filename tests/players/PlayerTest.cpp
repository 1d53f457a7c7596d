#include "players/Player.hpp"

#include <gtest/gtest.h>

TEST(Player, TokensEaseAFifthOfTheWayAndPassEveryWaypointInTurn) {
    const sf::Font font;
    Player player(font);
    const struct {
        sf::Vector2f from, to;
        int steps;
    } cases[] = {{{50, 10}, {140, 10}, 21},  {{140, 10}, {50, 100}, 21}, {{0, 0}, {1000, 0}, 31},
                 {{0, 0}, {1.2f, -1.2f}, 1}, {{5, 5}, {5, 5}, 1},        {{0, 0}, {0, 1.25f}, 2}};
    for (const auto& c : cases) {
        player.placeToken(c.from);
        player.path = {c.to, c.from};
        player.stepToken();
        EXPECT_EQ(player.shownPosition, c.steps == 1 ? c.to : c.from + (c.to - c.from) / 5.f);
        int steps = 1;
        for (; player.path.size() == 2 && steps < 100; ++steps)
            player.stepToken();
        EXPECT_EQ(steps, c.steps) << c.to.x << "," << c.to.y;
        EXPECT_EQ(player.token.getPosition(), c.to) << "snapped, one waypoint per step";
    }
    player.placeToken({7, 8});
    EXPECT_TRUE(player.path.empty());
}
