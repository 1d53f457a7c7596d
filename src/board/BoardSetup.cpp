#include "board/BoardGeometry.hpp"
#include "board/BoardTables.hpp"
#include "board/Die.hpp"
#include "board/TextEncoding.hpp"
#include "core/Game.hpp"
#include "core/Layout.hpp"
#include "players/StatusPanel.hpp"

#include <chrono>

namespace {
const char* const dieImagePath = "assets/dice.png";
const sf::Vector2f markerSize{20.f, 20.f};
} // namespace

void Game::setUpBoard() {
    setUpDie();
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    randomEngine.seed(options.seed.value_or(static_cast<std::uint32_t>(now)));
    layOutFields();
    for (const Jump& jump : initializeJumps()) {
        fields[jump.field].target = jump.target;
    }
    boardDrawing.build(fields);

    currentPlayerMarker.setFillColor(sf::Color::White);
    currentPlayerMarker.setSize(markerSize);
    currentPlayerMarker.setPosition(markerPosition(0));
}

void Game::setUpDie() {
    diceTexture.loadFromFile(dieImagePath);
    diceRect = dieFaceRect(0);
    diceSprite.setTexture(diceTexture);
    diceSprite.setTextureRect(diceRect);
    diceSprite.setScale(dieScale, dieScale);
    const sf::FloatRect bounds = diceSprite.getGlobalBounds();
    diceSprite.setPosition((layoutSize.x - bounds.width) / 2.f,
                           (layoutSize.y - bounds.height) / 2.f);
}

void Game::layOutFields() {
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
        field.text.setCharacterSize(fieldTexts[i].characterSize);
        field.text.setFillColor(sf::Color::Black);
        field.text.setString(toDisplayString(fieldLabel(i, fieldTexts[i].text)));
    }
}
