#include "core/Game.hpp"
#include "board/TextEncoding.hpp"

#include <SFML/Graphics/RenderTexture.hpp>
#include <gtest/gtest.h>

#include <array>
#include <cstdlib>
#include <deque>
#include <memory>
#include <random>

namespace {
sf::Event keyPress(sf::Keyboard::Key key) {
    sf::Event event{};
    event.type = sf::Event::KeyPressed;
    event.key.code = key;
    return event;
}

/// A game without a window that never waits: its die shows the values it is given, one per
/// roll (or fair rolls, if none are given). It records every wait a turn asks for with the
/// die face shown meanwhile, and hands out the events that arrive while the die is shown.
struct TestGame {
    explicit TestGame(std::vector<int> dieValues = {}) : values(std::move(dieValues)) {
        GameOptions options;
        options.openWindow = false;
        options.seed = 20261206u;
        options.sleep = [this](sf::Time time) {
            const bool shown = game->diceState == rollingDie;
            waits.push_back({time, shown ? game->diceSprite.getTextureRect().left : -1});
        };
        options.pollEvent = [this](sf::Event& event) {
            if (game->diceState != rollingDie || arrivals.empty()) {
                return false;
            }
            event = arrivals.front();
            arrivals.pop_front();
            return true;
        };
        // The face steps once per frame from 0, so value v shows after 29 + v frames.
        if (!values.empty()) {
            options.drawFrameCount = [this] {
                return 29 + (next < values.size() ? values[next++] : 1);
            };
        }
        game = std::make_unique<Game>(std::move(options));
    }

    /// Adds a player for each field and puts it there, settled.
    void seat(const std::vector<int>& fields) const {
        for (const int field : fields) {
            press(sf::Keyboard::Add);
            game->players.back().setField(field, game->fieldTexts[field].text);
        }
        for (const int field : fields) {
            game->arrangeTokens(field);
        }
        for (int frame = 0; frame < 200; ++frame) {
            game->render();
        }
    }

    void press(sf::Keyboard::Key key) const { game->handleEvent(keyPress(key)); }

    struct Wait {
        sf::Time time;
        int faceLeft; // -1 while the die is not shown
    };

    std::vector<int> values;
    std::size_t next = 0;
    std::vector<Wait> waits;
    std::deque<sf::Event> arrivals;
    std::unique_ptr<Game> game;
};

sf::Vector2f lonePlace(const Game& game, int field) {
    return game.fields[field].rect.getPosition() + sf::Vector2f(15, 15);
}
} // namespace

// One roll of a lone player: where it ends, the task it is shown, the stops its token glides
// through (goal, field reached, jump target) and the goal mark.
TEST(Turn, EachRollEndsWhereTheBoardSendsIt) {
    const struct {
        int from, value, to, taskField;
        std::vector<int> stops;
        bool finishedBefore, finishedAfter;
        int turnsToWait = 0;
    } cases[] = {
        {0, 1, 1, 1, {1}, false, false},
        {50, 6, 56, 56, {56}, false, false},
        {110, 6, 108, 108, {112, 108}, false, false}, // bounce
        {111, 2, 111, 111, {112, 111, 111}, false, false},
        {106, 6, 112, 112, {112}, false, true},
        {111, 1, 112, 112, {112}, true, false},
        {112, 3, 111, 111, {112, 109, 111}, true, true},
        {5, 6, 48, 11, {11, 48}, false, false},
        {42, 6, 11, 48, {48, 11}, false, false},
        {4, 6, 13, 13, {10, 13}, false, false},
        {8, 6, 11, 11, {14, 11}, false, false},
        {13, 6, 0, 0, {19, 0}, false, false},
        {7, 6, 37, 13, {13, 37}, false, false},
        {31, 6, 13, 37, {37, 13}, false, false},
        {62, 6, 93, 68, {68, 93}, false, false},
        {87, 6, 68, 93, {93, 68}, false, false},
        {69, 6, 98, 75, {75, 98}, false, false},
        {92, 6, 75, 98, {98, 75}, false, false},
        {100, 6, 105, 105, {106, 105}, false, false},
        {103, 6, 111, 111, {109, 111}, false, false},
        {60, 6, 66, 66, {66}, false, false, 2},
    };
    for (const auto& c : cases) {
        TestGame test({c.value});
        Game& game = *test.game;
        test.seat({c.from});
        game.players[0].finished = c.finishedBefore;
        test.press(sf::Keyboard::W);

        const Player& roller = game.players[0];
        const std::string roll = std::to_string(c.from) + " + " + std::to_string(c.value);
        EXPECT_EQ(roller.position, c.to) << roll;
        EXPECT_EQ(roller.taskText.getString(), toDisplayString(game.fieldTexts[c.taskField].text))
            << roll;
        std::deque<sf::Vector2f> stops;
        for (const int stop : c.stops) {
            stops.push_back(lonePlace(game, stop));
        }
        EXPECT_EQ(roller.path, stops) << roll;
        EXPECT_EQ(roller.finished, c.finishedAfter) << roll;
        EXPECT_EQ(roller.turnsToWait, c.turnsToWait) << roll;
        EXPECT_EQ(game.currentPlayer, 0) << roll;
    }
}

TEST(Turn, TurnsGoRoundPassingOverWaitingPlayers) {
    TestGame test({6, 1, 1, 1, 1, 1, 1, 1});
    Game& game = *test.game;
    test.seat({60, 0, 0});
    // Who rolls each turn, seen by the marker, and the first player's turns still to wait.
    const int expected[][2] = {{0, 2}, {1, 2}, {2, 2}, {1, 1}, {2, 1}, {1, 0}, {2, 0}, {0, 0}};
    for (const auto& [roller, waiting] : expected) {
        test.press(sf::Keyboard::W);
        EXPECT_EQ(game.currentPlayerMarker.getPosition().y, 100.f * roller + 40.f);
        EXPECT_EQ(game.players[0].turnsToWait, waiting);
        EXPECT_EQ(game.currentPlayer, (roller + 1) % 3);
        if (roller == 1 && waiting == 2) {
            // The one left behind on the start closes up, alone in the middle.
            EXPECT_EQ(game.players[2].path.back(), lonePlace(game, 0));
        }
    }
    EXPECT_EQ(game.players[0].position, 67);
    EXPECT_EQ(game.players[1].position, 3);

    test.press(sf::Keyboard::Subtract);
    EXPECT_EQ(game.currentPlayer, 0) << "the search starts again at the first player";
    EXPECT_EQ(game.currentPlayerMarker.getPosition().y, 40.f) << "the marker stays";
}

TEST(Turn, FinishedPlayersArePassedOverUntilAllHaveFinished) {
    TestGame test({1, 3});
    Game& game = *test.game;
    test.seat({112, 112, 5});
    game.players[0].finished = true;
    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.players[1].position, 111) << "the second, not finished, rolls";

    // With everyone finished, the one twenty advances on from the third rolls: the second.
    for (Player& player : game.players) {
        player.finished = true;
    }
    test.press(sf::Keyboard::W);
    EXPECT_EQ(game.players[1].position, 110);
    EXPECT_TRUE(game.players[1].finished) << "a bounce leaves the mark";
    EXPECT_EQ(game.currentPlayer, 2);
}

TEST(Turn, TheDieStepsThroughItsFacesSlowingDownThenPausesAndGoes) {
    for (const int value : {1, 6}) {
        TestGame test({value});
        test.seat({0});
        test.press(sf::Keyboard::W);

        // A wait comes in slices, so that the window's events are looked at in between;
        // every frame shows the next face, so the slices of one frame share their face.
        std::vector<TestGame::Wait> frames;
        for (const TestGame::Wait& slice : test.waits) {
            EXPECT_LE(slice.time, sf::milliseconds(10));
            if (frames.empty() || frames.back().faceLeft != slice.faceLeft) {
                frames.push_back(slice);
            } else {
                frames.back().time += slice.time;
            }
        }
        const int count = 29 + value;
        ASSERT_EQ(frames.size(), static_cast<std::size_t>(count));
        for (int k = 0; k < count; ++k) {
            // The last face stays a second longer: the pause after the roll.
            const sf::Time pause = k == count - 1 ? sf::seconds(1) : sf::Time::Zero;
            EXPECT_EQ(frames[k].time, sf::milliseconds(7 * k) + pause) << "frame " << k;
            EXPECT_EQ(frames[k].faceLeft, 9 * ((k + 1) % 6)) << "frame " << k;
        }
        EXPECT_EQ(test.game->diceState, idleDie);
    }
}

TEST(Turn, EventsDuringATurnWaitForItButEndingTheGameDoesNot) {
    TestGame test({1, 1});
    Game& game = *test.game;
    test.seat({0});
    sf::Event plus{};
    plus.type = sf::Event::TextEntered;
    plus.text.unicode = '+';
    test.arrivals = {keyPress(sf::Keyboard::W), keyPress(sf::Keyboard::Add), plus};
    test.press(sf::Keyboard::W);
    // After the turn, one event per update, in the order they came: a second turn, then
    // one player more (the numpad's typed twin adds none).
    const struct {
        std::size_t rolls;
        int players;
    } afterEachUpdate[] = {{1, 1}, {2, 1}, {2, 2}, {2, 2}};
    for (const auto& [rolls, players] : afterEachUpdate) {
        EXPECT_EQ(test.next, rolls);
        EXPECT_EQ(game.playerCount, players);
        game.update();
    }

    test.arrivals = {keyPress(sf::Keyboard::Add), keyPress(sf::Keyboard::Escape),
                     keyPress(sf::Keyboard::W)};
    const int field = game.players[0].position;
    test.press(sf::Keyboard::W);
    EXPECT_FALSE(game.isOpen());
    EXPECT_EQ(game.players[0].position, field) << "the roll is abandoned";
    EXPECT_EQ(test.arrivals.size(), 1u) << "nothing is read after Escape";
    game.update();
    EXPECT_EQ(game.playerCount, 2) << "nor handled";
}

TEST(Turn, TheRealDieIsFair) {
    TestGame test;
    Game& game = *test.game;
    test.seat({0});
    std::array<int, 6> counts{};
    for (int roll = 0; roll < 30000; ++roll) {
        test.press(sf::Keyboard::W);
        ++counts.at(static_cast<std::size_t>(game.diceRect.left / 9));
    }
    // Chi-square with 5 degrees of freedom; 20.52 is its critical value at p = 0.001.
    double chiSquare = 0;
    for (const int count : counts) {
        chiSquare += (count - 5000.0) * (count - 5000.0) / 5000.0;
    }
    EXPECT_LT(chiSquare, 20.52);
}

// Random play, with the game's invariants checked after every event.
TEST(Turn, TenThousandRandomEventsKeepTheGameConsistent) {
    std::mt19937 random(4242u);
    TestGame test(std::vector<int>(20000));
    for (int& value : test.values) {
        value = std::uniform_int_distribution<int>(1, 6)(random);
    }
    Game& game = *test.game;
    const sf::Keyboard::Key keys[] = {sf::Keyboard::Add, sf::Keyboard::Add, sf::Keyboard::Subtract,
                                      sf::Keyboard::W,   sf::Keyboard::W,   sf::Keyboard::A};
    for (int step = 0; step < 10000; ++step) {
        test.press(keys[std::uniform_int_distribution<int>(0, 5)(random)]);
        game.render();

        ASSERT_EQ(game.playerCount, static_cast<int>(game.players.size())) << "step " << step;
        ASSERT_LE(game.playerCount, 9);
        ASSERT_TRUE(game.currentPlayer == 0 || game.currentPlayer < game.playerCount);
        for (const Player& player : game.players) {
            ASSERT_TRUE(player.position >= 0 && player.position <= goalField) << "step " << step;
            ASSERT_TRUE(player.turnsToWait >= 0 && player.turnsToWait <= 2) << "step " << step;
        }
        ASSERT_EQ(game.diceState, idleDie);
    }
    EXPECT_GT(test.next, 1000u) << "enough turns were played";
}

// The whole frame of a busy game against its reference picture in tests/golden, pixel for
// pixel: nine players, two sharing the start, three on the goal, two waiting, one task of
// six lines reaching over the rows below, the marker at the fifth row and the die mid-roll.
// KRAXELBRETT_RECORD=1 writes the reference instead.
TEST(Frame, ABusyGameLooksAsItsReferencePicture) {
    TestGame test;
    Game& game = *test.game;
    test.seat({0, 0, 17, 22, 22, 66, 101, 112, 112});
    game.players[5].startWaiting();
    game.players[6].startWaiting();
    game.players[6].consumeWaitTurn();
    game.players[3].setField(22, game.fieldTexts[110].text);
    game.currentPlayerMarker.setPosition(1070.f, 440.f);
    game.diceState = rollingDie;
    game.diceSprite.setTextureRect({27, 0, 9, 9});

    sf::RenderTexture canvas;
    ASSERT_TRUE(canvas.create(1920, 1080));
    game.drawFrame(canvas);
    canvas.display();
    const sf::Image frame = canvas.getTexture().copyToImage();

    const std::string reference = KRAXELBRETT_GOLDEN "/busy-game.png";
    if (std::getenv("KRAXELBRETT_RECORD") != nullptr) {
        ASSERT_TRUE(frame.saveToFile(reference));
    }
    sf::Image expected;
    ASSERT_TRUE(expected.loadFromFile(reference));
    ASSERT_EQ(expected.getSize(), frame.getSize());
    int differing = 0;
    for (unsigned int y = 0; y < 1080; ++y) {
        for (unsigned int x = 0; x < 1920; ++x) {
            differing += frame.getPixel(x, y) == expected.getPixel(x, y) ? 0 : 1;
        }
    }
    if (differing != 0) {
        frame.saveToFile("failed-busy-game.png");
    }
    EXPECT_EQ(differing, 0) << "see failed-busy-game.png in the build folder";
}
