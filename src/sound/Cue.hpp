#pragma once

#include <array>

/// A sound the game makes, named after what it tells the group.
enum class Cue {
    /// The die shows its next face.
    rattle,
    /// The die stops on its value.
    knock,
    /// A jump sends the token on: a ladder up, steps forward, a teleport up.
    jumpForward,
    /// A jump sends the token back: a ladder down, steps back, back to the start.
    jumpBack,
    /// The player has to sit out turns.
    sitOut,
    /// The player reached the goal.
    fanfare,
    /// A player joined, or sound came back.
    join,
    /// A player left.
    leave,
};

constexpr std::array<Cue, 8> allCues = {Cue::rattle, Cue::knock,   Cue::jumpForward, Cue::jumpBack,
                                        Cue::sitOut, Cue::fanfare, Cue::join,        Cue::leave};
