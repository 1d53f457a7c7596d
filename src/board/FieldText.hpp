#pragma once

#include "board/BoardGeometry.hpp"

#include <array>
#include <string>

/// One entry of the board's text table: the task of a field and the size of its label.
struct FieldText {
    /// The task in UTF-8, lines separated by '\n'.
    std::string text;
    /// Character size of the label on the field's square, in pixels.
    unsigned int characterSize = 0;
};

/// The task and label size of every field, indexed by field number.
using FieldTexts = std::array<FieldText, fieldCount>;
