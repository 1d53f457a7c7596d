#pragma once

#include "board/BoardGeometry.hpp"
#include "e2e/GameProcess.hpp"
#include "e2e/XScreen.hpp"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>

/// A test that starts the real game and looks at the real screen.
class GameScreenTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(screen.connected()) << "no X display";
        ASSERT_EQ(screen.width(), 1920);
        ASSERT_EQ(screen.height(), 1080);
    }

    /// A point inside a field's square below its label: labels are never taller than 84
    /// pixels.
    static sf::Vector2i fillPoint(int field) {
        const sf::Vector2f corner = fieldPositions()[field];
        return {static_cast<int>(corner.x) + 88, static_cast<int>(corner.y) + 88};
    }

    static bool boardShown(const XScreen& screen) {
        const sf::Vector2i point = fillPoint(startField);
        return screen.pixel(point.x, point.y) == fieldColour(startField);
    }

    /// Pixels of field 0's square that its label "START" darkens.
    static int startLabelPixels(const XScreen& screen) {
        int dark = 0;
        for (int y = 10; y < 60; ++y) {
            for (int x = 50; x < 140; ++x) {
                dark += screen.pixel(x, y).r + screen.pixel(x, y).g < 60 ? 1 : 0;
            }
        }
        return dark;
    }

    /// Starts the game in the build folder and waits for its board.
    GameProcess& start() {
        game = std::make_unique<GameProcess>(KRAXELBRETT_BINARY, KRAXELBRETT_BUILD_DIR);
        EXPECT_TRUE(screen.waitFor(boardShown, std::chrono::seconds(15)));
        return *game;
    }

    XScreen screen;
    std::unique_ptr<GameProcess> game;
};
