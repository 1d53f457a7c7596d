#include "TestGame.hpp"

#include <gtest/gtest.h>

#include <random>

// Random play through the turn controller, with the state checked after every event.
TEST(TurnSoak, TenThousandRandomEventsKeepTheGameConsistent) {
    std::mt19937 random(4242u);
    std::uniform_int_distribution<int> dieValue(1, 6);
    TestGame test(std::vector<int>(20000));
    for (int& value : test.values) {
        value = dieValue(random);
    }
    Game& game = *test.game;

    const sf::Keyboard::Key keys[] = {sf::Keyboard::Add, sf::Keyboard::Add,  sf::Keyboard::Subtract,
                                      sf::Keyboard::W,   sf::Keyboard::W,    sf::Keyboard::W,
                                      sf::Keyboard::A,   sf::Keyboard::Space};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(keys)));
    int closes = 0;
    for (int step = 0; step < 10000; ++step) {
        const int choice = pick(random);
        sf::Event event{};
        if (choice == static_cast<int>(std::size(keys))) {
            event.type = sf::Event::Closed;
            ++closes;
        } else {
            event.type = sf::Event::KeyPressed;
            event.key.code = keys[choice];
        }
        game.handleEvent(event);
        game.render();

        ASSERT_EQ(game.playerCount, static_cast<int>(game.players.size())) << "step " << step;
        ASSERT_LE(game.playerCount, 9);
        if (game.playerCount == 0) {
            ASSERT_EQ(game.currentPlayer, 0);
        } else {
            ASSERT_GE(game.currentPlayer, 0);
            ASSERT_LT(game.currentPlayer, game.playerCount);
        }
        for (const Player& player : game.players) {
            ASSERT_GE(player.position, 0);
            ASSERT_LE(player.position, goalField);
            ASSERT_GE(player.turnsToWait, 0);
            ASSERT_LE(player.turnsToWait, 2);
        }
        ASSERT_EQ(game.diceState, idleDie);
    }
    EXPECT_GT(test.next, 1000u) << "enough turns were played";
    EXPECT_EQ(game.isOpen(), closes == 0);
}
