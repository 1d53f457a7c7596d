#include "players/TokenPath.hpp"

namespace {
const float easingDivisor = 5.f;
const sf::Vector2f loneTokenOffset{15.f, 15.f};

bool withinSnap(float distance) {
    return -1.f < distance && distance < 1.f;
}
} // namespace

sf::Vector2f easeTowards(sf::Vector2f shown, sf::Vector2f waypoint) {
    shown.x += (waypoint.x - shown.x) / easingDivisor;
    shown.y += (waypoint.y - shown.y) / easingDivisor;
    if (withinSnap(shown.x - waypoint.x) && withinSnap(shown.y - waypoint.y)) {
        return waypoint;
    }
    return shown;
}

sf::Vector2f tokenPlace(sf::Vector2f square, int k, int count) {
    if (count == 1) {
        return square + loneTokenOffset;
    }
    const int column = k % tokenGridColumns;
    const int row = k / tokenGridColumns;
    return {square.x + static_cast<float>(tokenGridSpacing * column),
            square.y + static_cast<float>(tokenGridSpacing * row)};
}

float tokenRadius(int count) {
    return count == 1 ? loneTokenRadius : sharedTokenRadius;
}

void arrangeTokensOn(std::vector<Player>& players, int field, sf::Vector2f square) {
    int count = 0;
    for (const Player& player : players) {
        count += player.position == field ? 1 : 0;
    }

    // A token changes size at once but moves only through its path, so that it glides.
    int k = 0;
    for (Player& player : players) {
        if (player.position == field) {
            player.path.push_back(tokenPlace(square, k, count));
            player.token.setRadius(tokenRadius(count));
            ++k;
        }
    }
}
