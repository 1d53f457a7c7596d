#include "board/BoardGeometry.hpp"
#include "board/BoardTables.hpp"
#include "board/TextEncoding.hpp"

#include <SFML/Graphics/Font.hpp>
#include <SFML/Graphics/RenderTexture.hpp>
#include <SFML/Graphics/Text.hpp>
#include <gtest/gtest.h>

// Every label must stay inside its own square, checked on the pixels the label really covers,
// with room around the square to catch anything that spills over. The one exception is the
// font's negative side bearing (a "W" at the start of a line): its antialiased edge reaches
// a single pixel column to the left of the square, onto the neighbour's outline.
TEST(LabelFit, EveryLabelFitsItsSquareWithTheShippedFont) {
    sf::Font font;
    ASSERT_TRUE(font.loadFromFile(KRAXELBRETT_ASSETS "/SmallMemory.ttf"));
    const auto texts = initializeFieldTexts();
    const unsigned int margin = 10;

    float widest = 0.f;
    float tallest = 0.f;
    for (int field = 0; field < fieldCount; ++field) {
        sf::Text label(toDisplayString(fieldLabel(field, texts[field].text)), font,
                       texts[field].characterSize);
        const sf::FloatRect bounds = label.getLocalBounds();
        widest = std::max(widest, bounds.left + bounds.width);
        tallest = std::max(tallest, bounds.top + bounds.height);

        const auto side = static_cast<unsigned int>(fieldSide(field));
        sf::RenderTexture canvas;
        ASSERT_TRUE(canvas.create(side + 2 * margin, side + 2 * margin));
        canvas.clear(sf::Color::Transparent);
        label.setPosition(static_cast<float>(margin), static_cast<float>(margin));
        canvas.draw(label);
        canvas.display();
        const sf::Image image = canvas.getTexture().copyToImage();

        int outside = 0;
        int leftFringe = 0;
        int inside = 0;
        for (unsigned int y = 0; y < image.getSize().y; ++y) {
            for (unsigned int x = 0; x < image.getSize().x; ++x) {
                const bool within =
                    x >= margin && x < margin + side && y >= margin && y < margin + side;
                const bool fringe = x == margin - 1 && y >= margin && y < margin + side;
                const bool covered = image.getPixel(x, y).a != 0;
                (within ? inside : fringe ? leftFringe : outside) += covered ? 1 : 0;
            }
        }
        EXPECT_EQ(outside, 0) << "field " << field;
        EXPECT_LE(leftFringe, 4) << "field " << field;
        EXPECT_GT(inside, 0) << "field " << field;
    }
    // Room is tight: the widest labels fill their squares.
    EXPECT_GT(widest, 80.f);
    EXPECT_GT(tallest, 70.f);
}
