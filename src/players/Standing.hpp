#pragma once

#include <vector>

/// The most players a game has: a player's index in the list, 0 to 8, is their slot, and the
/// phones' seat.
constexpr int maxPlayers = 9;

/// Turns a player sits out after landing on the waiting field.
constexpr int turnsToWaitOnWaitingField = 2;

/// Where a player stands in the race: what the turn rules read and write, what a saved game
/// keeps and what a player's phone is shown. Plain numbers, without the drawing.
struct Standing {
    /// The field they stand on, 0 to 112.
    int field = 0;
    /// The field whose task their row shows: after a jump between two fields that send to
    /// each other, the one landed on, not the one stood on.
    int taskField = 0;
    /// Own turns still to sit out, 0 to 2.
    int turnsToWait = 0;
    /// Reached the goal; passed over by the turns until everyone has.
    bool finished = false;

    bool operator==(const Standing& other) const {
        return field == other.field && taskField == other.taskField &&
               turnsToWait == other.turnsToWait && finished == other.finished;
    }
};

/// Every player's standing, in order of joining.
using Standings = std::vector<Standing>;
