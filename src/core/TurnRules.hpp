#pragma once

#include "board/Field.hpp"
#include "players/Standing.hpp"

#include <vector>

/// The first frame count of a roll; a roll shows this many frames plus the value minus one.
constexpr int minimumDieFrames = 30;
constexpr int maximumDieFrames = minimumDieFrames + 5;

/// Advances passed over finished players before one of them rolls all the same.
constexpr int rollerSearchBudget = 20;

/// The player after `current` in list order, wrapping to the first.
int nextPlayer(int current, int playerCount);

/// Finds who rolls, from `current` onwards: a waiting player spends a turn (in `standings`)
/// and is passed over; a finished player is passed over while the search budget lasts.
/// Returns the roller; there must be at least one player.
int findRoller(Standings& standings, int current);

/// Who would roll if a turn were played now, without spending anyone's waits; -1 without
/// players.
int whoWouldRoll(Standings standings, int current);

/// Where a roll takes its roller, stop by stop.
struct Move {
    /// The move went past the goal: the token touches it before it bounces back.
    bool bounces = false;
    /// Where the roll itself ends, after the bounce.
    int reached = 0;
    /// Where the roller ends: the reached field's jump target, taken once, or the field reached.
    int end = 0;
    /// The field whose task the row shows: for two fields that send to each other the one
    /// landed on, otherwise the one the roller ends on.
    int taskField = 0;
    /// The roll reached the waiting field: the roller sits out the next two turns.
    bool sitsOut = false;
};

/// The move of a roll of `steps` from `field` over the board's fields and their jumps.
Move moveOf(int field, int steps, const Fields& fields);

/// The goal mark after a move that ends on `end`: ending exactly on the goal flips it (a
/// finished player who lands there again is no longer finished); a bounce never does.
bool finishedAfter(bool finished, int end);

/// Keeps the order in which players reached the goal, by index, as a player's goal mark
/// changes: one who finishes joins its end, one no longer finished leaves it.
void noteFinish(std::vector<int>& order, int player, bool finished);

/// Whether every player has reached the goal, so the round is over.
bool roundOver(const Standings& standings);
