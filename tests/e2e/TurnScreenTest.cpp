#include "e2e/GameScreen.hpp"
#include "players/StatusPanel.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

using TurnScreen = GameScreenTest;

namespace {
// A texel of the die's face, just inside its rim, enlarged twenty times: never a colour of
// the board beneath.
const sf::Vector2i dieFacePoint{870 + 30, 450 + 30};

bool dieShown(const XScreen& screen) {
    const sf::Color colour = screen.pixel(dieFacePoint.x, dieFacePoint.y);
    return colour.r > 200 && colour.g > 200 && colour.b > 200;
}

sf::Vector2i loneTokenCentre(int field) {
    const sf::Vector2f corner = fieldPositions()[field];
    return {static_cast<int>(corner.x) + 45, static_cast<int>(corner.y) + 45};
}

/// The field from 1 to 6 where the first player's token stands alone, or -1.
int tokenField(const XScreen& screen) {
    for (int field = 1; field <= 6; ++field) {
        const sf::Vector2i centre = loneTokenCentre(field);
        if (screen.pixel(centre.x, centre.y) == slotColour(0) &&
            screen.pixel(centre.x - 29, centre.y) == sf::Color::Black) {
            return field;
        }
    }
    return -1;
}
} // namespace

TEST_F(TurnScreen, WRollsTheDieAndMovesTheTokenOneLegalRoll) {
    GameProcess& running = start();
    screen.tap(XK_KP_Add);
    EXPECT_TRUE(
        screen.waitFor([](const XScreen& s) { return s.pixel(1900, 5) == slotColour(0); }, 5s));
    EXPECT_FALSE(dieShown(screen));

    screen.tap(XK_w);
    ASSERT_TRUE(screen.waitFor(dieShown, 5s)) << "the die appears";
    // Its dark rim spans exactly x 870 to 1049 across the middle of the die.
    const sf::Color rim{40, 40, 40};
    EXPECT_EQ(screen.pixel(870, 540), rim);
    EXPECT_EQ(screen.pixel(1049, 540), rim);
    EXPECT_NE(screen.pixel(869, 540), rim);
    EXPECT_NE(screen.pixel(1050, 540), rim);
    EXPECT_EQ(screen.pixel(900, 450), rim) << "top edge";
    EXPECT_NE(screen.pixel(900, 449), rim);
    EXPECT_TRUE(screen.waitFor([](const XScreen& s) { return !dieShown(s); }, 10s))
        << "and is gone after the roll";

    EXPECT_TRUE(screen.waitFor([](const XScreen& s) { return tokenField(s) != -1; }, 5s))
        << "the token stands alone on a field from 1 to 6";
    EXPECT_EQ(screen.pixel(loneTokenCentre(0).x, loneTokenCentre(0).y), fieldColour(0));

    screen.tap(XK_Escape);
    EXPECT_EQ(running.waitForExit(10s), std::optional<int>(0));
}
