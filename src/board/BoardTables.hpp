#pragma once

#include "board/BoardGeometry.hpp"
#include "board/FieldText.hpp"

#include <array>

constexpr unsigned int startLabelSize = 30;
constexpr unsigned int goalLabelSize = 60;
constexpr unsigned int taskLabelSize = 12;

/// The field that makes a player sit out two turns.
constexpr int waitingField = 66;

/// A field that sends a token landing on it on to another field.
struct Jump {
    int field;
    int target;
};
constexpr int jumpCount = 13;

/// Task text and label size of every field, indexed by field number.
std::array<FieldText, fieldCount> initializeFieldTexts();

/// The ladders, teleports and steps of the board.
std::array<Jump, jumpCount> initializeJumps();
