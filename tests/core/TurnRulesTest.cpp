#include "core/TurnRules.hpp"

#include <gtest/gtest.h>

TEST(TurnRules, MovesBounceBackFromTheGoalAsFarAsTheyWentPastIt) {
    const struct {
        int from, steps, to;
        bool overshoots;
    } cases[] = {
        {0, 1, 1, false},    {105, 6, 111, false}, {106, 6, 112, false}, {110, 6, 108, true},
        {111, 2, 111, true}, {112, 1, 111, true},  {112, 6, 106, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(moveTarget(c.from, c.steps), c.to) << c.from << " + " << c.steps;
        EXPECT_EQ(overshootsGoal(c.from, c.steps), c.overshoots) << c.from << " + " << c.steps;
    }
}

TEST(TurnRules, TheDieShowsFaceOneFirstAndValueFramesMinus29) {
    EXPECT_EQ(dieFaceAfter(1), 1);
    for (int frames = minimumDieFrames; frames <= maximumDieFrames; ++frames) {
        EXPECT_EQ(dieFaceAfter(frames) + 1, frames - 29);
    }
}

TEST(TurnRules, TheRollerSearchPassesOverWaitingAndFinishedPlayers) {
    const sf::Font font;
    auto players = [&](int count) { return std::vector<Player>(count, Player(font)); };

    auto waiting = players(3);
    waiting[1].startWaiting();
    EXPECT_EQ(findRoller(waiting, 1), 2);
    EXPECT_EQ(waiting[1].turnsToWait, 1) << "a waiting player spends a turn";
    EXPECT_EQ(findRoller(waiting, 1), 2);
    EXPECT_EQ(findRoller(waiting, 1), 1) << "and rolls once the waiting is over";

    auto finished = players(3);
    finished[0].finished = true;
    finished[1].finished = true;
    EXPECT_EQ(findRoller(finished, 0), 2);

    // With everyone finished, the one 20 advances on rolls all the same: 20 mod 3 is 2.
    for (auto& player : finished) {
        player.finished = true;
    }
    EXPECT_EQ(findRoller(finished, 0), 2);
    EXPECT_EQ(findRoller(finished, 1), 0);

    // A lone player who waits is passed over until its waiting is spent.
    auto alone = players(1);
    alone[0].startWaiting();
    EXPECT_EQ(findRoller(alone, 0), 0);
    EXPECT_EQ(alone[0].turnsToWait, 0);
}
