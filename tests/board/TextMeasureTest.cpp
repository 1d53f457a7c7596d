#include "board/TextMeasure.hpp"
#include "board/Deck.hpp"
#include "board/TextEncoding.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/Text.hpp>
#include <gtest/gtest.h>

#include <filesystem>

// Decks are measured without a display, and drawn by SFML: both must give the same bounds,
// for every label of every shipped deck, at every size a label may shrink to.
TEST(TextMeasure, MeasuresLabelsAsSfmlDrawsThem) {
    const char* const font = "assets/SmallMemory.ttf";
    const TextMeasure measure(font);
    sf::Font drawn;
    ASSERT_TRUE(measure.loaded() && drawn.loadFromFile(font));
    for (const auto& deck : std::filesystem::directory_iterator("decks")) {
        std::vector<DeckProblem> problems;
        const DeckFile file = readDeckFile(deck.path().string(), problems);
        for (int field = 0; field < fieldCount; ++field) {
            const std::string& task = file.texts[field];
            if (task.empty())
                continue;
            const sf::String label = toDisplayString(fieldLabel(field, task));
            for (const unsigned int size : {smallestLabelSize, 11u, 12u, 30u}) {
                const sf::Text text(label, drawn, size);
                ASSERT_EQ(measure.bounds(label, size), text.getLocalBounds())
                    << deck << " field " << field << " at " << size << " px";
            }
        }
    }
    EXPECT_TRUE(measure.hasGlyph(U'Ж'));
    EXPECT_FALSE(measure.hasGlyph(0x1F600));
}
