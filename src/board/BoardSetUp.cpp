#include "board/BoardSetUp.hpp"

#include "board/BoardTables.hpp"
#include "board/TextEncoding.hpp"

void layOutFields(Fields& fields, const FieldTexts& texts, const sf::Font& font) {
    const auto positions = fieldPositions();
    for (int i = 0; i < fieldCount; ++i) {
        Field& field = fields[i];
        field.index = i;
        field.target = i;

        const float side = fieldSide(i);
        field.rect.setSize({side, side});
        field.rect.setFillColor(fieldColour(i));
        field.rect.setOutlineColor(fieldOutlineColour);
        field.rect.setOutlineThickness(-1.f);
        field.rect.setPosition(positions[i]);

        field.text.setFont(font);
        field.text.setPosition(positions[i]);
        field.text.setCharacterSize(texts[i].characterSize);
        field.text.setFillColor(sf::Color::Black);
        field.text.setString(toDisplayString(fieldLabel(i, texts[i].text)));
    }
}

void applyJumps(Fields& fields) {
    for (const Jump& jump : initializeJumps()) {
        fields[jump.field].target = jump.target;
    }
}
