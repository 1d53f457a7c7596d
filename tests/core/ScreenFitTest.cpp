#include "core/ScreenFit.hpp"

#include <gtest/gtest.h>

#include <cmath>

// The view shows the whole layout, scaled evenly and centred on whole pixels; a label's glyphs land
// one to one on whole pixels where it stood, also after a fit to another window size.
TEST(Layout, LetterboxShowsTheWholeLayoutScaledAndCentred) {
    const struct {
        sf::Vector2u window;
        sf::Vector2f scale, offset; // in whole window pixels
        unsigned int labelSize;     // of a 12-pixel label
    } cases[] = {
        {{1920, 1080}, {1, 1}, {0, 0}, 12},
        {{1280, 960}, {1280 / 1920.f, 720 / 1080.f}, {0, 120}, 8},
        {{2560, 1080}, {1, 1}, {320, 0}, 12},
        {{1366, 768}, {1365 / 1920.f, 768 / 1080.f}, {0, 0}, 9},
        {{0, 1080}, {1, 1}, {0, 0}, 12},
    };
    for (const auto& c : cases) {
        const sf::View view = letterboxView(c.window);
        EXPECT_EQ(view.getSize(), layoutSize);
        EXPECT_EQ(view.getCenter(), layoutSize / 2.f);
        const ScreenFit fit = fitToScreen(c.window);
        EXPECT_EQ(fit.scale, c.scale) << c.window.x << "x" << c.window.y;
        EXPECT_EQ(fit.offset, c.offset) << c.window.x << "x" << c.window.y;

        sf::Text label;
        label.setPosition(140.f, 10.5f);
        fitText(label, 12, fitToScreen({1024, 768}));
        fitText(label, 12, fit);
        EXPECT_EQ(label.getCharacterSize(), c.labelSize) << c.window.x << "x" << c.window.y;
        const bool asItIs = fit.scale == sf::Vector2f(1, 1);
        EXPECT_EQ(label.getScale(),
                  asItIs ? fit.scale : sf::Vector2f(1 / fit.scale.x, 1 / fit.scale.y));
        const sf::Vector2f pixel =
            fit.offset + sf::Vector2f(fit.scale.x * 140.f, fit.scale.y * 10.5f);
        const sf::Vector2f glyphs = pixel - label.getOrigin();
        EXPECT_EQ(asItIs ? pixel : sf::Vector2f(std::round(glyphs.x), std::round(glyphs.y)), glyphs)
            << c.window.x << "x" << c.window.y;
    }
}
