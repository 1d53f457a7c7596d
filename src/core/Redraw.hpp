#pragma once

#include <SFML/System/Time.hpp>

/// The longest the screen goes without being drawn again, in case something the game is not
/// told about (another window, the display server) spoiled what it shows.
const sf::Time redrawInterval = sf::seconds(1.f);

/// What the game knows, before a frame, about how it would differ from the one on screen.
struct FrameState {
    /// A token still has waypoints, so the frame moves it one step.
    bool tokenMoving = false;
    /// The die is shown: every frame of its animation is drawn.
    bool dieShown = false;
    /// The game took an event for this frame: a key, the focus, a new size, anything.
    bool eventHandled = false;
    /// The frame on screen showed a change.
    bool changedLastFrame = false;
    /// Time since the frame on screen was drawn.
    sf::Time sinceDrawn;
};

/// Whether the frame shows a change of its own, which earns it one more frame after it.
bool frameChanges(const FrameState& state);

/// Whether the frame is to be drawn: when it changes, once more after the last change, and
/// at least once every redrawInterval.
bool frameNeeded(const FrameState& state);
