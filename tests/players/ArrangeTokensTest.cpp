#include "TestGame.hpp"
#include "players/StatusPanel.hpp"

#include <gtest/gtest.h>

namespace {
const sf::Vector2f field0{50.f, 10.f};
} // namespace

TEST(ArrangeTokens, NewPlayersJoinOnTheStartInTheGridInListOrder) {
    TestGame test;
    Game& game = *test.game;

    test.press(sf::Keyboard::Add);
    ASSERT_EQ(game.playerCount, 1);
    const Player& first = game.players[0];
    EXPECT_EQ(first.position, 0);
    EXPECT_EQ(first.taskText.getString(), "START");
    EXPECT_EQ(first.shownPosition, field0) << "put down at the corner";
    EXPECT_EQ(first.token.getRadius(), 30.f);
    ASSERT_EQ(first.path.size(), 1u);
    EXPECT_EQ(first.path.front(), field0 + sf::Vector2f(15.f, 15.f));

    for (int i = 1; i < 10; ++i) {
        test.press(sf::Keyboard::Add);
    }
    EXPECT_EQ(game.playerCount, 9) << "a tenth is refused";
    EXPECT_EQ(game.players.size(), 9u);
    test.settle();
    for (int k = 0; k < 9; ++k) {
        const Player& player = game.players[static_cast<std::size_t>(k)];
        const int column = k % 3;
        const int row = k / 3;
        EXPECT_EQ(player.token.getPosition(), field0 + sf::Vector2f(static_cast<float>(30 * column),
                                                                    static_cast<float>(30 * row)));
        EXPECT_EQ(player.token.getRadius(), 15.f);
        EXPECT_EQ(player.token.getFillColor(), slotColour(k));
        EXPECT_EQ(player.statusRow.getPosition().y, static_cast<float>(100 * k));
    }
    EXPECT_EQ(game.currentPlayerMarker.getPosition(), sf::Vector2f(1070.f, 40.f));
}

TEST(ArrangeTokens, OrderFollowsTheListNotArrivalAndOnlyThePathMovesTokens) {
    TestGame test;
    Game& game = *test.game;
    for (int i = 0; i < 3; ++i) {
        test.press(sf::Keyboard::Add);
    }
    test.settle();

    // The third player arrives on field 5 first, the first player after it.
    const sf::Vector2f field5 = game.fields[5].rect.getPosition();
    game.players[2].setField(5, "");
    game.arrangeTokens(5);
    EXPECT_EQ(game.players[2].token.getRadius(), 30.f);
    game.players[0].setField(5, "");
    game.arrangeTokens(5);
    EXPECT_EQ(game.players[2].token.getRadius(), 15.f) << "shrinks at once";
    EXPECT_EQ(game.players[2].token.getPosition(), game.players[2].shownPosition)
        << "but does not jump";
    test.settle();
    EXPECT_EQ(game.players[0].token.getPosition(), field5);
    EXPECT_EQ(game.players[2].token.getPosition(), field5 + sf::Vector2f(30.f, 0.f));

    // Nobody there: nothing happens.
    game.arrangeTokens(77);
    EXPECT_TRUE(game.players[1].path.empty());
}

TEST(ArrangeTokens, RemovingAPlayerLeavesTheOthersAsTheyWereArranged) {
    TestGame test;
    Game& game = *test.game;
    test.press(sf::Keyboard::Add);
    test.press(sf::Keyboard::Add);
    test.settle();
    game.currentPlayer = 1;

    test.press(sf::Keyboard::Subtract);
    EXPECT_EQ(game.playerCount, 1);
    EXPECT_EQ(game.currentPlayer, 0);
    test.settle();
    EXPECT_EQ(game.players[0].token.getPosition(), field0) << "stays small in its corner";
    EXPECT_EQ(game.players[0].token.getRadius(), 15.f);

    // A newcomer takes the freed slot and its colour.
    test.press(sf::Keyboard::Add);
    EXPECT_EQ(game.players[1].statusRow.getFillColor(), sf::Color::Magenta);
    EXPECT_EQ(game.players[1].statusRow.getPosition().y, 100.f);

    test.press(sf::Keyboard::Subtract);
    test.press(sf::Keyboard::Subtract);
    test.press(sf::Keyboard::Subtract);
    EXPECT_EQ(game.playerCount, 0) << "minus with nobody left does nothing";
}
