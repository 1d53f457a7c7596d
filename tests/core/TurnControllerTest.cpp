#include "TestGame.hpp"
#include "board/BoardTables.hpp"
#include "board/TextEncoding.hpp"

#include <gtest/gtest.h>

#include <array>
#include <random>

namespace {
sf::Vector2f lonePlace(const Game& game, int field) {
    return game.fields[field].rect.getPosition() + sf::Vector2f(15.f, 15.f);
}
} // namespace

TEST(TurnController, OneRollMovesTheTokenAndPassesTheTurn) {
    TestGame test({4, 2, 1});
    Game& game = *test.game;
    test.seat({0, 0, 0});

    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.players[0].position, 4);
    EXPECT_EQ(game.players[0].taskText.getString(), "Safe Zone");
    EXPECT_EQ(game.currentPlayer, 1);
    EXPECT_EQ(game.currentPlayerMarker.getPosition(), sf::Vector2f(1070.f, 40.f));
    // The roller glides to the new field; those left behind close up on the old one.
    EXPECT_EQ(game.players[0].path.back(), lonePlace(game, 4));
    EXPECT_EQ(game.players[2].path.back(),
              game.fields[0].rect.getPosition() + sf::Vector2f(30.f, 0.f));

    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.currentPlayerMarker.getPosition(), sf::Vector2f(1070.f, 140.f));
    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.currentPlayerMarker.getPosition(), sf::Vector2f(1070.f, 240.f));
    EXPECT_EQ(game.currentPlayer, 0);
    EXPECT_EQ(game.players[1].position, 2);
    EXPECT_EQ(game.players[2].position, 1);

    // Removing a player starts the next search at the first player; the marker stays.
    test.press(sf::Keyboard::Subtract);
    EXPECT_EQ(game.currentPlayer, 0);
    EXPECT_EQ(game.currentPlayerMarker.getPosition(), sf::Vector2f(1070.f, 240.f));
}

TEST(TurnController, TheGoalIsReachedExactlyOrBouncedOff) {
    const struct {
        int from, value, to;
        bool visitsGoal, finished;
    } cases[] = {
        {110, 6, 108, true, false},
        {111, 2, 111, true, false},
        {106, 6, 112, false, true},
        {112, 3, 111, true, false}, // bounces to 109, which sends on to 111
    };
    for (const auto& c : cases) {
        TestGame test({c.value});
        Game& game = *test.game;
        test.seat({c.from});
        test.press(sf::Keyboard::W);

        const Player& roller = game.players[0];
        EXPECT_EQ(roller.position, c.to) << c.from << " + " << c.value;
        EXPECT_EQ(roller.finished, c.finished) << c.from << " + " << c.value;
        ASSERT_FALSE(roller.path.empty());
        if (c.visitsGoal) {
            EXPECT_EQ(roller.path.front(), lonePlace(game, goalField));
        }
        EXPECT_EQ(roller.path.back(), lonePlace(game, c.to));
    }
}

TEST(TurnController, TheGoalMarkFlipsOnEveryExactLandingAndNeverOnABounce) {
    TestGame test({6, 1, 1});
    Game& game = *test.game;
    test.seat({106});
    const bool expected[] = {true, true, false};
    for (const bool finished : expected) {
        test.press(sf::Keyboard::W);
        EXPECT_EQ(game.players[0].finished, finished) << "at " << game.players[0].position;
    }
}

TEST(TurnController, LandingOnTheWaitingFieldSitsOutTwoTurns) {
    TestGame test({6, 1, 1, 1, 1});
    Game& game = *test.game;
    test.seat({60, 0});

    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.players[0].position, waitingField);
    EXPECT_EQ(game.players[0].turnsToWait, 2);
    test.press(sf::Keyboard::W); // the other player
    const int positionsOfTheOther[] = {2, 3};
    const int badge[] = {1, 0};
    for (int turn = 0; turn < 2; ++turn) {
        test.press(sf::Keyboard::W);
        EXPECT_EQ(game.players[0].position, waitingField);
        EXPECT_EQ(game.players[0].turnsToWait, badge[turn]);
        EXPECT_EQ(game.players[1].position, positionsOfTheOther[turn]);
    }
    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.players[0].position, waitingField + 1);
}

TEST(TurnController, JumpsAreTakenOnceWithTheTaskOfThePairOrTheTarget) {
    const struct {
        int landed, target, taskField;
    } cases[] = {
        {11, 48, 11}, {48, 11, 48},    {10, 13, 13},    {14, 11, 11}, {19, 0, 0},
        {13, 37, 13}, {37, 13, 37},    {68, 93, 68},    {93, 68, 93}, {75, 98, 75},
        {98, 75, 98}, {106, 105, 105}, {109, 111, 111}, {56, 56, 56}, {84, 84, 84},
    };
    for (const auto& c : cases) {
        TestGame test({6});
        Game& game = *test.game;
        test.seat({c.landed - 6});
        test.press(sf::Keyboard::W);

        const Player& roller = game.players[0];
        EXPECT_EQ(roller.position, c.target) << "landed on " << c.landed;
        EXPECT_EQ(roller.taskText.getString(), toDisplayString(game.fieldTexts[c.taskField].text))
            << "landed on " << c.landed;
        // Waypoints in order: the field landed on, then the jump target.
        EXPECT_EQ(roller.path.back(), lonePlace(game, c.target));
        if (c.landed != c.target) {
            EXPECT_EQ(roller.path[roller.path.size() - 2], lonePlace(game, c.landed));
        }
    }
}

TEST(TurnController, WithEveryoneFinishedThePlayerTwentyAdvancesOnRolls) {
    TestGame test({1});
    Game& game = *test.game;
    test.seat({112, 112, 112});
    for (Player& player : game.players) {
        player.finished = true;
    }
    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.players[2].position, 111);
    EXPECT_TRUE(game.players[2].finished);
    EXPECT_EQ(game.currentPlayer, 0);
}

TEST(TurnController, TheDieStepsThroughItsFacesSlowingDownThenPausesAndGoes) {
    for (const int value : {1, 6}) {
        TestGame test({value});
        Game& game = *test.game;
        test.seat({0});
        test.press(sf::Keyboard::W);

        const int frames = 29 + value;
        ASSERT_EQ(test.waits.size(), static_cast<std::size_t>(frames + 1));
        for (int k = 0; k < frames; ++k) {
            const TestGame::Wait& wait = test.waits[static_cast<std::size_t>(k)];
            EXPECT_EQ(wait.time, sf::milliseconds(7 * k));
            EXPECT_EQ(wait.diceState, rollingDie);
            EXPECT_EQ(wait.faceLeft, 9 * ((k + 1) % 6)) << "frame " << k;
        }
        const TestGame::Wait& pause = test.waits.back();
        EXPECT_EQ(pause.time, sf::seconds(1.f));
        EXPECT_EQ(pause.diceState, rollingDie);
        EXPECT_EQ(pause.faceLeft, 9 * (value - 1));
        EXPECT_EQ(game.diceState, idleDie);
        EXPECT_EQ(game.players[0].position, value);
    }
}

TEST(TurnController, KeysThatDoNotApplyAreIgnored) {
    TestGame test;
    Game& game = *test.game;
    test.press(sf::Keyboard::W);
    test.press(sf::Keyboard::Subtract);
    EXPECT_EQ(game.playerCount, 0);
    EXPECT_TRUE(test.waits.empty());

    test.press(sf::Keyboard::Add);
    test.press(sf::Keyboard::A);
    test.press(sf::Keyboard::Space);
    sf::Event released{};
    released.type = sf::Event::KeyReleased;
    released.key.code = sf::Keyboard::W;
    game.handleEvent(released);
    EXPECT_TRUE(test.waits.empty());
    EXPECT_TRUE(game.isOpen());

    test.press(sf::Keyboard::Escape);
    EXPECT_FALSE(game.isOpen());
}

TEST(TurnController, TheRealDieIsFair) {
    // Every roll's frames are counted through the waits: the pause of a second ends a roll.
    std::array<int, 6> counts{};
    int frames = 0;
    GameOptions options;
    options.openWindow = false;
    options.seed = 20261206u;
    options.sleep = [&](sf::Time time) {
        if (time == sf::seconds(1.f)) {
            ++counts.at(static_cast<std::size_t>(frames - 30));
            frames = 0;
        } else {
            ++frames;
        }
    };
    Game game(std::move(options));
    sf::Event w{};
    w.type = sf::Event::KeyPressed;
    w.key.code = sf::Keyboard::Add;
    game.handleEvent(w);
    w.key.code = sf::Keyboard::W;

    const int rolls = 60000;
    for (int roll = 0; roll < rolls; ++roll) {
        game.handleEvent(w);
    }
    // Chi-square with 5 degrees of freedom; 20.52 is its critical value at p = 0.001.
    const double expected = rolls / 6.0;
    double chiSquare = 0.0;
    for (const int count : counts) {
        chiSquare += (count - expected) * (count - expected) / expected;
        EXPECT_NEAR(count, expected, expected * 0.05);
    }
    EXPECT_LT(chiSquare, 20.52);
}
