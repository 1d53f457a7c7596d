#include "core/Layout.hpp"

#include <gtest/gtest.h>

TEST(Letterbox, ShowsTheWholeLayoutScaledAndCentred) {
    const struct {
        sf::Vector2u window;
        sf::FloatRect viewport;
    } cases[] = {
        {{1920, 1080}, {0.f, 0.f, 1.f, 1.f}},
        {{3840, 2160}, {0.f, 0.f, 1.f, 1.f}},
        {{1280, 960}, {0.f, 0.125f, 1.f, 0.75f}},  // 4:3 screen: bars above and below
        {{2560, 1080}, {0.125f, 0.f, 0.75f, 1.f}}, // wide screen: bars at the sides
    };
    for (const auto& c : cases) {
        const sf::View view = letterboxView(c.window);
        EXPECT_EQ(view.getSize(), layoutSize);
        EXPECT_EQ(view.getCenter(), layoutSize / 2.f);
        const sf::FloatRect viewport = view.getViewport();
        EXPECT_NEAR(viewport.left, c.viewport.left, 1e-6);
        EXPECT_NEAR(viewport.top, c.viewport.top, 1e-6);
        EXPECT_NEAR(viewport.width, c.viewport.width, 1e-6);
        EXPECT_NEAR(viewport.height, c.viewport.height, 1e-6);
    }
}
