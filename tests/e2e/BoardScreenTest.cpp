#include "e2e/GameScreen.hpp"

#include <X11/keysym.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {
const sf::Color black{0, 0, 0};
} // namespace

using BoardScreen = GameScreenTest;

TEST_F(BoardScreen, FirstFrameIsTheBoardAloneAndEscapeEndsTheGame) {
    GameProcess& game = start();

    for (const int field : {0, 1, 10, 20, 30, 39, 56, 57, 66, 100, 101, 102, 111}) {
        const sf::Vector2i fill = fillPoint(field);
        EXPECT_EQ(screen.pixel(fill.x, fill.y), fieldColour(field)) << "field " << field;
        // The grey outline lies one pixel inside the bottom edge.
        EXPECT_EQ(screen.pixel(fill.x - 43, fill.y + 1), fieldOutlineColour) << "field " << field;
    }
    EXPECT_EQ(screen.pixel(410 + 200, 370 + 200), fieldColour(goalField));
    EXPECT_EQ(screen.pixel(410 + 200, 370 + 269), fieldOutlineColour);
    EXPECT_EQ(screen.pixel(410 + 269, 370 + 200), fieldOutlineColour);

    EXPECT_GT(startLabelPixels(screen), 50) << "labels are drawn";

    // Nothing but the board: no marker, no die, no status panel.
    EXPECT_EQ(screen.pixel(1075, 45), black);
    EXPECT_EQ(screen.pixel(1045, 540), black);
    EXPECT_EQ(screen.pixel(1500, 45), black);
    EXPECT_EQ(screen.pixel(1919, 1079), black);

    // While nothing moves, frames stay the same.
    XScreen later;
    std::this_thread::sleep_for(300ms);
    later.capture();
    int differing = 0;
    for (int y = 0; y < 1080; y += 3) {
        for (int x = 0; x < 1920; x += 3) {
            differing += screen.pixel(x, y) == later.pixel(x, y) ? 0 : 1;
        }
    }
    EXPECT_EQ(differing, 0);

    screen.tap(XK_Escape);
    EXPECT_EQ(game.waitForExit(10s), std::optional<int>(0));
}

TEST_F(BoardScreen, StartsWithoutItsAssetsAndEscapeStillEndsIt) {
    const std::filesystem::path empty = std::filesystem::temp_directory_path() /
                                        ("kraxelbrett-no-assets-" + std::to_string(getpid()));
    std::filesystem::create_directories(empty);
    {
        GameProcess game(KRAXELBRETT_BINARY, empty.string());
        EXPECT_TRUE(screen.waitFor(boardShown, 15s));
        screen.tap(XK_Escape);
        EXPECT_EQ(game.waitForExit(10s), std::optional<int>(0));
    }
    std::filesystem::remove_all(empty);
}
