#include "core/Redraw.hpp"

#include <gtest/gtest.h>

TEST(Redraw, AFrameIsDrawnWhileItChangesOnceMoreAfterAndAtLeastOnceASecond) {
    const sf::Time settled = sf::milliseconds(990);
    const struct {
        const char* what;
        FrameState state;
        bool needed, changes;
    } cases[] = {
        {"settled", {false, false, false, false, settled}, false, false},
        {"token moving", {true, false, false, false, settled}, true, true},
        {"die shown", {false, true, false, false, sf::Time::Zero}, true, true},
        {"event handled", {false, false, true, false, sf::Time::Zero}, true, true},
        {"once more after the last change", {false, false, false, true, settled}, true, false},
        {"safety interval passed", {false, false, false, false, sf::seconds(1)}, true, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(frameNeeded(c.state), c.needed) << c.what;
        EXPECT_EQ(frameChanges(c.state), c.changes) << c.what;
    }
}
