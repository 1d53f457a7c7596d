#pragma once

#include "players/Player.hpp"

#include <SFML/System/Vector2.hpp>

#include <vector>

constexpr float loneTokenRadius = 30.f;
constexpr float sharedTokenRadius = 15.f;
constexpr int tokenGridColumns = 3;
constexpr int tokenGridSpacing = 30;

/// One easing step of a token from where it is shown towards its waypoint: a fifth of the
/// remaining way, snapping onto the waypoint once closer than a pixel on both axes.
sf::Vector2f easeTowards(sf::Vector2f shown, sf::Vector2f waypoint);

/// Top-left corner of the k-th token (in list order) of `count` tokens on a square whose
/// top-left corner is `square`: alone in the middle, several in a grid of three columns.
sf::Vector2f tokenPlace(sf::Vector2f square, int k, int count);

/// Radius of each of `count` tokens sharing a field.
float tokenRadius(int count);

/// Gives every player standing on the field a waypoint at its place on the field's square,
/// whose top-left corner is `square`, and the token size that goes with it.
void arrangeTokensOn(std::vector<Player>& players, int field, sf::Vector2f square);
