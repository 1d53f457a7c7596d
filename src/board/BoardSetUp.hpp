#pragma once

#include "board/Field.hpp"
#include "board/FieldText.hpp"

#include <SFML/Graphics/Font.hpp>

/// Numbers, squares and labels of all fields along the spiral. Every field sends nowhere
/// yet; the labels use the font, which must outlive the fields.
void layOutFields(Fields& fields, const FieldTexts& texts, const sf::Font& font);

/// Sets the targets of the ladders, teleports and steps.
void applyJumps(Fields& fields);
