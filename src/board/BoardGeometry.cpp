#include "board/BoardGeometry.hpp"

std::array<sf::Vector2f, fieldCount> fieldPositions() {
    static const sf::Vector2f directions[] = {
        {cellPitch, 0.f}, {0.f, cellPitch}, {-cellPitch, 0.f}, {0.f, -cellPitch}};

    std::array<sf::Vector2f, fieldCount> positions{};
    sf::Vector2f cursor = boardOrigin;
    int run = firstRun;
    int turns = 0;

    // Every second turn the stretches get one cell shorter, which winds the walk inwards.
    for (int field = 0; field < fieldCount; ++field) {
        if (run == 0) {
            run = firstRun - turns / 2;
            ++turns;
        }
        positions[field] = cursor;
        cursor += directions[turns % 4];
        --run;
    }
    return positions;
}

float fieldSide(int field) {
    return field == goalField ? goalSide : cellPitch;
}

sf::Color fieldColour(int field) {
    if (field == goalField) {
        return {255, 140, 0};
    }
    const auto red = static_cast<sf::Uint8>(255 * field / fieldCount);
    return {red, 126, static_cast<sf::Uint8>(255 - red)};
}

std::string fieldLabel(int field, const std::string& task) {
    if (field == startField || field == goalField) {
        return task;
    }
    return std::to_string(field) + ".\n" + task;
}
