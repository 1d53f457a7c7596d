#pragma once

#include "players/Player.hpp"

#include <vector>

/// The first frame count of a roll; a roll shows this many frames plus the value minus one.
constexpr int minimumDieFrames = 30;
constexpr int maximumDieFrames = minimumDieFrames + 5;

/// Advances passed over finished players before one of them rolls all the same.
constexpr int rollerSearchBudget = 20;

/// Face the die shows after `frames` animation frames, starting from face 0 and stepping
/// once per frame; the value rolled is the face plus one.
int dieFaceAfter(int frames);

/// Whether a move of `steps` from `field` goes past the goal.
bool overshootsGoal(int field, int steps);

/// Field a move of `steps` from `field` ends on: past the goal it bounces back as far as
/// it went beyond.
int moveTarget(int field, int steps);

/// The player after `current` in list order, wrapping to the first.
int nextPlayer(int current, int playerCount);

/// Field whose task a player is shown after landing on `landed` and jumping to `target`:
/// for two fields that send to each other the landed field's, otherwise the target's.
int taskFieldAfterJump(int landed, int target, int targetOfTarget);

/// Finds who rolls, from `current` onwards: a waiting player spends a turn and is passed
/// over; a finished player is passed over while the search budget lasts. Returns the roller.
int findRoller(std::vector<Player>& players, int current);

/// Who would roll if a turn were played now, as `findRoller` finds it, without spending
/// anyone's waits.
int whoWouldRoll(std::vector<Player> players, int current);
