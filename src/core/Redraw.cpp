#include "core/Redraw.hpp"

bool frameChanges(const FrameState& state) {
    return state.tokenMoving || state.dieShown || state.eventHandled;
}

bool frameNeeded(const FrameState& state) {
    // The frame after the last change is drawn too, so that the end of a change is shown:
    // once a roll is over the die goes from the screen, even if no token moves.
    return frameChanges(state) || state.changedLastFrame || state.sinceDrawn >= redrawInterval;
}
