#include "board/BoardTables.hpp"
#include "board/TextEncoding.hpp"
#include "core/Game.hpp"

#include <gtest/gtest.h>

#include <map>

namespace {
GameOptions withoutWindow() {
    GameOptions options;
    options.openWindow = false;
    return options;
}
} // namespace

TEST(BoardSetup, FieldsAreNumberedInPlaceAndSentOnByTheJumpTableOnly) {
    const Game game(withoutWindow());
    std::map<int, int> jumps;
    for (const Jump& jump : initializeJumps()) {
        jumps[jump.field] = jump.target;
    }
    const auto positions = fieldPositions();
    for (int i = 0; i < fieldCount; ++i) {
        const Field& field = game.fields[i];
        EXPECT_EQ(field.index, i);
        EXPECT_EQ(field.target, jumps.count(i) != 0 ? jumps[i] : i) << "field " << i;
        EXPECT_EQ(field.rect.getPosition(), positions[i]);
        EXPECT_EQ(field.text.getString(), toDisplayString(fieldLabel(i, game.fieldTexts[i].text)));
    }
}

TEST(BoardSetup, DieAndMarkerWaitInTheirPlaces) {
    const Game game(withoutWindow());
    const sf::FloatRect die = game.diceSprite.getGlobalBounds();
    EXPECT_EQ(die, sf::FloatRect(870.f, 450.f, 180.f, 180.f));
    EXPECT_EQ(game.diceSprite.getTextureRect(), sf::IntRect(0, 0, 9, 9));
    EXPECT_EQ(game.diceState, idleDie);

    EXPECT_EQ(game.currentPlayerMarker.getPosition(), sf::Vector2f(1070.f, 40.f));
    EXPECT_EQ(game.currentPlayerMarker.getSize(), sf::Vector2f(20.f, 20.f));
    EXPECT_EQ(game.currentPlayerMarker.getFillColor(), sf::Color::White);
    EXPECT_EQ(game.currentPlayerMarker.getOutlineThickness(), 0.f);
    EXPECT_EQ(game.playerCount, 0);
    EXPECT_EQ(game.currentPlayer, 0);
}
