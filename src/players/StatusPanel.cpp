#include "players/StatusPanel.hpp"

namespace {
const float rowLeft = 1100.f;
const float markerLeft = 1070.f;
const float markerTop = 40.f;
} // namespace

RowPlaces rowPlaces(int slot) {
    const auto top = static_cast<float>(slotPitch * slot);
    return {{rowLeft, top},
            {rowLeft + 100.f, top + 30.f},
            {rowLeft + 50.f, top + 50.f},
            {rowLeft + 60.f, top + 60.f}};
}

sf::Color slotColour(int slot) {
    switch (slot) {
    case 0: return sf::Color::Green;
    case 1: return sf::Color::Magenta;
    case 2: return sf::Color::Blue;
    case 3: return sf::Color::Red;
    case 4: return sf::Color::Yellow;
    case 5: return {100, 100, 100};
    case 6: return {25, 200, 160};
    case 7: return sf::Color::White;
    default: return sf::Color::Cyan;
    }
}

sf::Vector2f markerPosition(int slot) {
    return {markerLeft, static_cast<float>(slotPitch * slot) + markerTop};
}
