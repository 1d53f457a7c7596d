#include "players/TokenMark.hpp"
#include "players/StatusPanel.hpp"

#include <gtest/gtest.h>

#include <set>

// Each token carries a mark no other token has: a keyboard player their slot's number, a phone's
// player as much of their name as tells it from the others', counted in letters with what
// combines with them, else the initial and the slot's number.
TEST(TokenMark, EveryTokenCarriesAMarkOfItsOwn) {
    const struct {
        std::vector<std::string> names;
        std::vector<std::string> marks;
    } cases[] = {
        {{"Anna", "", "Bob"}, {"A", "2", "B"}},
        {{"Anna", "Andi", "Bea"}, {"Ann", "And", "B"}},
        {{"Ölaf", "Olga", "O\xcc\x88mer", "Öz"}, {"Öl", "O", "O\xcc\x88", "Öz"}},
        {{"X", "Xaver", "", "x"}, {"X", "Xa", "3", "x"}},
        {{"Anna", "Anne", "Anna"}, {"A1", "A2", "A3"}},
        {{"", "1", "Jörg", "Jürgen", "Jo"}, {"1", "12", "Jö", "Jü", "Jo"}},
        {{"Wolfgang Amadeus", "Wolfram"}, {"W1", "W2"}},
    };
    for (const auto& c : cases) {
        const std::vector<sf::String> marks = tokenMarks(c.names);
        std::vector<std::string> shown;
        for (const sf::String& mark : marks) {
            const auto bytes = mark.toUtf8();
            shown.emplace_back(bytes.begin(), bytes.end());
        }
        EXPECT_EQ(shown, c.marks) << c.names.front();
        EXPECT_EQ(std::set<sf::String>(marks.begin(), marks.end()).size(), marks.size());
    }
}

// The mark's ink is black or white as reads better on each slot's colour.
TEST(TokenMark, InkContrastsWithTheSlotsColour) {
    const bool white[] = {false, false, true, false, false, true, false, false, false};
    for (int slot = 0; slot < 9; ++slot)
        EXPECT_EQ(textColourOn(slotColour(slot)), white[slot] ? sf::Color::White : sf::Color::Black)
            << slot;
}
