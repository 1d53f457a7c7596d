#include "players/StatusPanel.hpp"

#include <gtest/gtest.h>

TEST(StatusPanel, SlotsStackRowsAHundredPixelsApartInTheirColours) {
    const struct {
        int slot;
        float top;
        sf::Color colour;
    } cases[] = {
        {0, 0, sf::Color::Green},          {1, 100, sf::Color::Magenta},
        {2, 200, sf::Color::Blue},         {3, 300, sf::Color::Red},
        {4, 400, sf::Color::Yellow},       {5, 500, sf::Color(100, 100, 100)},
        {6, 600, sf::Color(25, 200, 160)}, {7, 700, sf::Color::White},
        {8, 800, sf::Color::Cyan},
    };
    for (const auto& c : cases) {
        const SlotLayout layout = slotLayout(c.slot);
        EXPECT_EQ(layout.row, sf::Vector2f(1100.f, c.top)) << "slot " << c.slot;
        EXPECT_EQ(layout.taskText, sf::Vector2f(1200.f, c.top + 30.f));
        EXPECT_EQ(layout.waitBadge, sf::Vector2f(1150.f, c.top + 50.f));
        EXPECT_EQ(layout.waitText, sf::Vector2f(1160.f, c.top + 60.f));
        EXPECT_EQ(slotColour(c.slot), c.colour) << "slot " << c.slot;
        EXPECT_EQ(markerPosition(c.slot), sf::Vector2f(1070.f, c.top + 40.f));
    }
    EXPECT_EQ(slotColour(9), sf::Color::Cyan);
    EXPECT_EQ(slotColour(-1), sf::Color::Cyan);
}
