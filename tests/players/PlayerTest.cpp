#include "players/Player.hpp"

#include <gtest/gtest.h>

namespace {
struct PlayerTest : ::testing::Test {
    sf::Font font;
    Player player{font};
};
} // namespace

TEST_F(PlayerTest, WaitingCountsDownTwoTurnsAndTheBadgeShowsWhatIsLeft) {
    EXPECT_EQ(player.consumeWaitTurn(), 0);
    EXPECT_EQ(player.turnsToWait, 0);
    EXPECT_EQ(player.waitText.getString(), "0");

    player.startWaiting();
    EXPECT_EQ(player.waitText.getString(), "2");
    const int expected[][2] = {{2, 1}, {1, 0}, {0, 0}, {0, 0}};
    for (const auto& [result, left] : expected) {
        EXPECT_EQ(player.consumeWaitTurn(), result);
        EXPECT_EQ(player.turnsToWait, left);
        EXPECT_EQ(player.waitText.getString(), std::to_string(left));
    }

    // Landing on the waiting field again starts over at two rather than adding two.
    player.startWaiting();
    player.consumeWaitTurn();
    player.startWaiting();
    EXPECT_EQ(player.turnsToWait, 2);
}

TEST_F(PlayerTest, SlotPlacesTheRowAndColoursTokenAndRowButLeavesTheTokenWhereItIs) {
    player.placeToken({65.f, 25.f});
    player.setSlot(8);
    EXPECT_EQ(player.statusRow.getPosition(), sf::Vector2f(1100.f, 800.f));
    EXPECT_EQ(player.statusRow.getSize(), sf::Vector2f(1000.f, 90.f));
    EXPECT_EQ(player.statusRow.getFillColor(), sf::Color::Cyan);
    EXPECT_EQ(player.token.getFillColor(), sf::Color::Cyan);
    EXPECT_EQ(player.taskText.getPosition(), sf::Vector2f(1200.f, 830.f));
    EXPECT_EQ(player.waitBadge.getPosition(), sf::Vector2f(1150.f, 850.f));
    EXPECT_EQ(player.shownPosition, sf::Vector2f(65.f, 25.f));
}

TEST_F(PlayerTest, SetFieldShowsTheTaskAndChangesNothingElse) {
    player.startWaiting();
    player.path.emplace_back(1.f, 2.f);
    player.setField(1, "2 Schl\xFC"
                       "cke");
    EXPECT_EQ(player.position, 1);
    EXPECT_EQ(player.taskText.getString().getSize(), 10u);
    EXPECT_EQ(player.taskText.getString()[6], 0xFCu);
    EXPECT_EQ(player.turnsToWait, 2);
    EXPECT_EQ(player.path.size(), 1u);

    player.setField(112, "");
    EXPECT_TRUE(player.taskText.getString().isEmpty());
}

TEST_F(PlayerTest, TokenPassesEveryWaypointInOrderOnePerStepAtMost) {
    player.placeToken({0.f, 0.f});
    player.path = {{0.f, 0.f}, {0.f, 0.f}, {90.f, 0.f}};
    player.stepToken();
    EXPECT_EQ(player.path.size(), 2u) << "a reached waypoint is consumed, only one per step";
    player.stepToken();
    EXPECT_EQ(player.path.size(), 1u);

    int steps = 0;
    while (!player.path.empty()) {
        player.stepToken();
        ++steps;
    }
    EXPECT_EQ(steps, 21);
    EXPECT_EQ(player.token.getPosition(), sf::Vector2f(90.f, 0.f));

    player.path.emplace_back(500.f, 500.f);
    player.placeToken({50.f, 10.f});
    EXPECT_TRUE(player.path.empty());
    player.stepToken();
    EXPECT_EQ(player.token.getPosition(), sf::Vector2f(50.f, 10.f));
}
