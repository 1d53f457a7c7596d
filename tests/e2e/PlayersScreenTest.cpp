#include "e2e/GameScreen.hpp"
#include "players/StatusPanel.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

using namespace std::chrono_literals;

using PlayersScreen = GameScreenTest;

namespace {
const sf::Color black{0, 0, 0};
const sf::Color white{255, 255, 255};

// The middle of the k-th of nine tokens on field 0, and a point of the k-th status row that
// no text reaches.
sf::Vector2i tokenCentre(int k) {
    return {50 + 30 * (k % 3) + 15, 10 + 30 * (k / 3) + 15};
}
sf::Vector2i rowPoint(int slot) {
    return {1900, slotPitch * slot + 5};
}

bool nineTokensSettled(const XScreen& screen) {
    for (int k = 0; k < maxPlayers; ++k) {
        const sf::Vector2i centre = tokenCentre(k);
        // The black outline lies just inside the token's edge, which is exactly on the
        // grid only once the glide is over.
        if (screen.pixel(centre.x, centre.y) != slotColour(k) ||
            screen.pixel(centre.x - 14, centre.y) != black ||
            screen.pixel(centre.x, centre.y - 14) != black) {
            return false;
        }
    }
    return true;
}

bool plainBoard(const XScreen& screen) {
    return screen.pixel(1075, 45) == black && screen.pixel(rowPoint(0).x, rowPoint(0).y) == black &&
           screen.pixel(75, 75) == fieldColour(startField);
}
} // namespace

TEST_F(PlayersScreen, NinePlayersJoinOnTheStartAndLeaveAgain) {
    GameProcess& running = start();

    for (int press = 0; press < 10; ++press) {
        screen.tap(XK_KP_Add);
    }
    ASSERT_TRUE(screen.waitFor(nineTokensSettled, 10s));

    for (int k = 0; k < maxPlayers; ++k) {
        const sf::Vector2i row = rowPoint(k);
        EXPECT_EQ(screen.pixel(row.x, row.y), slotColour(k)) << "row " << k;
    }
    EXPECT_EQ(screen.pixel(1900, 905), black) << "no tenth row";
    EXPECT_EQ(screen.pixel(1080, 50), white) << "marker beside the first row";
    EXPECT_EQ(screen.pixel(1080, 150), black);
    EXPECT_EQ(screen.pixel(1175, 75), slotColour(0)) << "no waiting badge";

    for (int press = 0; press < maxPlayers; ++press) {
        screen.tap(XK_KP_Subtract);
    }
    EXPECT_TRUE(screen.waitFor(plainBoard, 10s));

    screen.tap(XK_Escape);
    EXPECT_EQ(running.waitForExit(10s), std::optional<int>(0));
}
