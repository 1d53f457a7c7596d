#include "core/TurnRules.hpp"

#include "board/BoardSetUp.hpp"

#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <utility>

namespace {
/// Players as letters: '-' free to roll, a digit the turns still to wait, 'F' finished.
Standings players(const std::string& letters) {
    Standings all;
    for (const char letter : letters) {
        const bool finished = letter == 'F';
        const int waits = letter >= '1' && letter <= '2' ? letter - '0' : 0;
        all.push_back({finished ? goalField : 0, 0, waits, finished});
    }
    return all;
}

} // namespace

// Past the goal a roll bounces back as far as it went beyond; a jump is taken once, and for two
// fields that send to each other the task is the one landed on.
TEST(TurnRules, ARollEndsWhereTheBoardSendsIt) {
    Fields fields;
    for (int field = 0; field < fieldCount; ++field)
        fields[field].index = fields[field].target = field;
    applyJumps(fields);
    const struct {
        int from, steps, reached, end, taskField;
        bool bounces, sitsOut;
    } cases[] = {
        {0, 1, 1, 1, 1, false, false},         {110, 6, 108, 108, 108, true, false},
        {111, 2, 111, 111, 111, true, false},  {106, 6, 112, 112, 112, false, false},
        {112, 3, 109, 111, 111, true, false},  {5, 6, 11, 48, 11, false, false},
        {42, 6, 48, 11, 48, false, false},     {4, 6, 10, 13, 13, false, false},
        {8, 6, 14, 11, 11, false, false},      {13, 6, 19, 0, 0, false, false},
        {7, 6, 13, 37, 13, false, false},      {31, 6, 37, 13, 37, false, false},
        {62, 6, 68, 93, 68, false, false},     {87, 6, 93, 68, 93, false, false},
        {69, 6, 75, 98, 75, false, false},     {92, 6, 98, 75, 98, false, false},
        {100, 6, 106, 105, 105, false, false}, {103, 6, 109, 111, 111, false, false},
        {60, 6, 66, 66, 66, false, true},
    };
    for (const auto& c : cases) {
        const Move move = moveOf(c.from, c.steps, fields);
        EXPECT_EQ(std::tuple(move.reached, move.end, move.taskField, move.bounces, move.sitsOut),
                  std::tuple(c.reached, c.end, c.taskField, c.bounces, c.sitsOut))
            << c.from << " + " << c.steps;
    }
}

// A waiting player sits out a turn each time the search passes them; a finished one is passed
// over until the budget of 20 advances is spent, so that a round of finished players goes on.
TEST(TurnRules, TheRollerIsTheFirstWhoNeitherWaitsNorHasFinished) {
    const struct {
        std::string before;
        int current, roller;
        std::string after;
    } cases[] = {
        {"--", 1, 1, "--"},   {"2-", 0, 1, "1-"}, {"22", 0, 0, "--"},   {"F-F", 2, 1, "F-F"},
        {"F2F", 0, 1, "F-F"}, {"FF", 0, 0, "FF"}, {"FFF", 0, 2, "FFF"}, {"1F", 1, 0, "-F"},
    };
    for (const auto& c : cases) {
        Standings standings = players(c.before);
        EXPECT_EQ(whoWouldRoll(standings, c.current), c.roller) << c.before;
        EXPECT_EQ(findRoller(standings, c.current), c.roller) << c.before;
        EXPECT_TRUE(standings == players(c.after)) << c.before << " leaves " << c.after;
    }
    EXPECT_EQ(whoWouldRoll({}, 0), -1);
}

// Ending exactly on the goal flips the goal mark; the order keeps who got there first, and the
// round is over once everyone has.
TEST(TurnRules, PlayersFinishInTheOrderTheyReachTheGoal) {
    for (const bool finished : {false, true})
        EXPECT_EQ(std::pair(finishedAfter(finished, goalField), finishedAfter(finished, 111)),
                  std::pair(!finished, finished));

    std::vector<int> order;
    for (const auto& [player, finished] : {std::pair{2, true}, {0, true}, {2, true}, {1, false}})
        noteFinish(order, player, finished);
    EXPECT_EQ(order, (std::vector<int>{2, 0}));
    noteFinish(order, 2, false);
    EXPECT_EQ(order, std::vector<int>{0});

    EXPECT_FALSE(roundOver({}));
    EXPECT_FALSE(roundOver(players("F-")));
    EXPECT_TRUE(roundOver(players("FF")));
}
