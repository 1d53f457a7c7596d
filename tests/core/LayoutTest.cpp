#include "core/Layout.hpp"

#include <gtest/gtest.h>

TEST(Layout, LetterboxShowsTheWholeLayoutScaledAndCentred) {
    const struct {
        sf::Vector2u window;
        sf::FloatRect viewport;
    } cases[] = {
        {{1920, 1080}, {0, 0, 1, 1}},
        {{3840, 2160}, {0, 0, 1, 1}},
        {{1280, 960}, {0, 0.125f, 1, 0.75f}},  // 4:3, bars above and below
        {{2560, 1080}, {0.125f, 0, 0.75f, 1}}, // wide, bars at the sides
        {{0, 1080}, {0, 0, 1, 1}},
        {{1920, 0}, {0, 0, 1, 1}},
    };
    for (const auto& c : cases) {
        const sf::View view = letterboxView(c.window);
        EXPECT_EQ(view.getSize(), layoutSize);
        EXPECT_EQ(view.getCenter(), layoutSize / 2.f);
        const sf::FloatRect viewport = view.getViewport();
        EXPECT_NEAR(viewport.left, c.viewport.left, 1e-6) << c.window.x << "x" << c.window.y;
        EXPECT_NEAR(viewport.top, c.viewport.top, 1e-6) << c.window.x << "x" << c.window.y;
        EXPECT_NEAR(viewport.width, c.viewport.width, 1e-6);
        EXPECT_NEAR(viewport.height, c.viewport.height, 1e-6);
    }
}
